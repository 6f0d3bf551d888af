#include "config/detached_launch.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace orvex {

namespace {

constexpr int kInherited = -1;

template <typename Value>
ssize_t readValue(int fd, Value& value) {
  ssize_t got;
  while ((got = ::read(fd, &value, sizeof value)) < 0 && errno == EINTR) {
  }
  return got;
}

// The descriptors shared with the children: `report` carries the program's process
// id (when watched) and the exec failure's errno, which a successful exec closes;
// `go` holds the program back until its end is being watched.
struct LaunchPipes {
  FileHandle reportRead, reportWrite, goRead, goWrite;
};

bool makePipe(FileHandle& reading, FileHandle& writing) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  reading = FileHandle(ends[0]);
  writing = FileHandle(ends[1]);
  return true;
}

// The children's side, between fork and exec: only system calls, which are safe in
// a program with threads.
[[noreturn]] void runChild(char* const* argv, const char* where, int output, const LaunchPipes& pipes, bool watched) {
  // The intermediate child ends at once, so the program is adopted by init and
  // never waits as a zombie for this process.
  ::setsid();
  const pid_t program = ::fork();
  if (program != 0) {
    if (program > 0 && watched) [[maybe_unused]]
      const ssize_t sent = ::write(pipes.reportWrite.get(), &program, sizeof program);
    ::_exit(program < 0 ? 1 : 0);
  }
  if (watched) {
    ::close(pipes.goWrite.get());
    char byte;
    while (::read(pipes.goRead.get(), &byte, 1) < 0 && errno == EINTR) {
    }
  }
  if (output != kInherited) {
    // A descriptor duplicated onto itself keeps its close-on-exec flag.
    if (output <= STDERR_FILENO) ::fcntl(output, F_SETFD, 0);
    ::dup2(output, STDOUT_FILENO);
    ::dup2(output, STDERR_FILENO);
  }
  int error = 0;
  if (where && ::chdir(where) != 0) error = errno;
  if (error == 0) {
    ::execv(argv[0], argv);
    error = errno;
  }
  [[maybe_unused]] const ssize_t ignored = ::write(pipes.reportWrite.get(), &error, sizeof error);
  ::_exit(127);
}

// Starts the program; with `end`, the program waits until its end is watched there.
bool launch(const std::vector<std::string>& command, const std::string& directory, int output, FileHandle* end) {
  if (command.empty() || command.front().empty()) return false;
  // Everything the children need is made before the fork.
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  const char* where = directory.empty() ? nullptr : directory.c_str();
  LaunchPipes pipes;
  if (!makePipe(pipes.reportRead, pipes.reportWrite)) return false;
  if (end && !makePipe(pipes.goRead, pipes.goWrite)) return false;

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) runChild(argv.data(), where, output, pipes, end != nullptr);
  pipes.reportWrite = FileHandle();
  pipes.goRead = FileHandle();
  bool started = true;
  if (end) {
    pid_t program = 0;
    started = readValue(pipes.reportRead.get(), program) == static_cast<ssize_t>(sizeof program);
    // The program is alive, held back by `go`, so its id cannot name another yet.
    if (started) *end = FileHandle(static_cast<int>(::syscall(SYS_pidfd_open, program, 0)));
    pipes.goWrite = FileHandle();
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  return started && readValue(pipes.reportRead.get(), error) == 0;
}

}  // namespace

bool startDetachedProcess(const std::vector<std::string>& command, const std::string& directory) {
  return launch(command, directory, kInherited, nullptr);
}

std::optional<FileHandle> startWatchedProcess(const std::vector<std::string>& command, const std::string& directory,
                                              int output) {
  FileHandle end;
  if (!launch(command, directory, output, &end)) return std::nullopt;
  return end;
}

}  // namespace orvex
