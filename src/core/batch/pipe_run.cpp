#include "batch/pipe_run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "io/file_handle.h"
#include "io/status.h"
#include "paths/exit_cleanup.h"
#include "paths/scratch_directory.h"
#include "text/messages.h"

namespace orvex {

namespace {

// Large enough that the copies cost few system calls, small beside the batch run's
// own buffers.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// The run's scratch directory, which a signal ending the program removes too: it is
// named to the signal handlers from its creation until it is gone.
class SignalSafeScratch {
 public:
  SignalSafeScratch() : m_directory(std::make_unique<ScratchDirectory>()) {
    removeDirectoryOnExitSignal(m_directory->path());
  }
  SignalSafeScratch(const SignalSafeScratch&) = delete;
  SignalSafeScratch& operator=(const SignalSafeScratch&) = delete;
  ~SignalSafeScratch() {
    m_directory.reset();
    removeDirectoryOnExitSignal({});
  }

  std::filesystem::path file() const { return m_directory->firstFile(); }

 private:
  std::unique_ptr<ScratchDirectory> m_directory;
};

// Whether a failed read or write is only to be tried again: interrupted, or a
// descriptor its creator left non-blocking that is not ready yet (then waited for).
bool retryable(int fd, short event) {
  if (errno == EINTR) return true;
  if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
  pollfd ready{fd, event, 0};
  return ::poll(&ready, 1, -1) >= 0 || errno == EINTR;
}

// Reads what is there; 0 at the end. Throws IoFailure.
std::size_t readSome(int fd, char* into, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (!retryable(fd, POLLIN)) throw IoFailure(messageForErrno(errno));
  }
}

// Writes every byte to `to`; false when its reader has gone. Throws IoFailure.
bool writeToReader(int to, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(to, bytes, size);
    if (written < 0) {
      if (errno == EPIPE) return false;
      if (retryable(to, POLLOUT)) continue;
      throw IoFailure(messageForErrno(errno));
    }
    if (written == 0) throw IoFailure(diskFullMessage());
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Moves bytes inside the kernel, without a copy through this process: splice out
// of a pipe, sendfile out of anything else. What was moved; 0 at the end.
ssize_t moveInKernel(int from, int to, bool fromPipe) {
  return fromPipe ? ::splice(from, nullptr, to, nullptr, kChunk, SPLICE_F_MOVE) : ::sendfile(to, from, nullptr, kChunk);
}

// Copies `from` to its end into `to`, as it arrives; false when the reader of `to`
// has gone. Throws IoFailure.
bool copyAll(int from, int to) {
  struct stat info {};
  const bool fromPipe = ::fstat(from, &info) == 0 && S_ISFIFO(info.st_mode);
  for (;;) {
    const ssize_t moved = moveInKernel(from, to, fromPipe);
    if (moved == 0) return true;
    if (moved > 0 || errno == EINTR) continue;
    if (errno == EPIPE) return false;
    // Descriptors the kernel cannot join (a terminal, a directory, an appending
    // file...) or a non-blocking one not ready: the rest goes through a buffer.
    if (errno == EINVAL || errno == ENOSYS || errno == EAGAIN || errno == EWOULDBLOCK) break;
    throw IoFailure(messageForErrno(errno));
  }
  const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
  while (const std::size_t got = readSome(from, buffer.get(), kChunk))
    if (!writeToReader(to, buffer.get(), got)) return false;
  return true;
}

// Refuses a standard descriptor that is closed or open the wrong way before any file
// is made: a file opened later would take its number, and the result would go into
// a scratch file and be lost. Throws IoFailure.
void requireOpen(int fd, int unusable) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || (flags & O_ACCMODE) == unusable) throw IoFailure(messageForErrno(EBADF));
}

}  // namespace

int runPipe(std::span<const std::string> options, int input, int output, std::ostream& errors) {
  bool readerGone = false;
  const int exit = reportBatchFailures(errors, [&] {
    requireOpen(input, O_WRONLY);
    requireOpen(output, O_RDONLY);
    const SignalSafeScratch scratch;
    FileHandle copy = createForWriting(scratch.file());
    copyAll(input, copy.get());
    copy.close();
    applyBatchOptions(scratch.file(), options);
    readerGone = !copyAll(openForReading(scratch.file()).get(), output);
  });
  return readerGone ? kBatchIoError : exit;
}

}  // namespace orvex
