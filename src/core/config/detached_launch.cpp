#include "config/detached_launch.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "io/file_handle.h"

namespace orvex {

bool startDetachedProcess(const std::vector<std::string>& command, const std::string& directory) {
  if (command.empty() || command.front().empty()) return false;
  // Everything the children need is made before the fork: between fork and exec
  // only system calls are safe in a program with threads.
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  const char* where = directory.empty() ? nullptr : directory.c_str();

  // The exec failure's errno comes back through a pipe that a successful exec closes.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  FileHandle reading(report[0]);
  FileHandle writing(report[1]);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // The intermediate child ends at once, so the program is adopted by init and
    // never waits as a zombie for this process.
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    int error = 0;
    if (where && ::chdir(where) != 0) error = errno;
    if (error == 0) {
      ::execv(argv[0], argv.data());
      error = errno;
    }
    [[maybe_unused]] const ssize_t ignored = ::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  writing.close();
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  while ((got = ::read(reading.get(), &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return got == 0;
}

}  // namespace orvex
