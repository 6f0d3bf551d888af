#include "io/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "io/status.h"
#include "text/messages.h"

namespace orvex {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.release();
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (m_fd >= 0) ::close(m_fd);
}

int FileHandle::release() {
  const int fd = m_fd;
  m_fd = -1;
  return fd;
}

void FileHandle::close() {
  const int fd = release();
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) throw IoFailure(messageForErrno(errno));
}

namespace {

// Where a chain of symbolic links ends when every link in it is the user's own;
// empty when one belongs to another user (or the chain loops).
std::optional<std::filesystem::path> followOwnLinks(std::filesystem::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    if (link.st_uid != ::geteuid()) return std::nullopt;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

}  // namespace

FileHandle openForReading(const std::filesystem::path& path, LinkPolicy links) {
  // Non-blocking, so that a named pipe or a device is refused instead of waited on.
  int openFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
  std::filesystem::path opened = path;
  if (links == LinkPolicy::OwnLinksOnly) {
    const std::optional<std::filesystem::path> end = followOwnLinks(path);
    if (!end) throw IoFailure(cannotOpenMessage(path.string()));
    opened = *end;
    // A link put in its place since the check is not followed either.
    openFlags |= O_NOFOLLOW;
  }
  FileHandle file(::open(opened.c_str(), openFlags));
  struct stat info {};
  if (!file.isOpen() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
    throw IoFailure(cannotOpenMessage(path.string()));
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags >= 0) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
  return file;
}

FileHandle createForWriting(const std::filesystem::path& path) {
  FileHandle file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file.isOpen()) throw IoFailure(cannotCreateMessage(path.string()));
  return file;
}

void writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, p, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw IoFailure(messageForErrno(errno));
    }
    if (written == 0) throw IoFailure(diskFullMessage());
    p += written;
    left -= static_cast<std::size_t>(written);
  }
}

std::size_t readFull(int fd, char* into, std::size_t size, std::optional<off_t> offset) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = offset ? ::pread(fd, into + got, size - got, *offset + static_cast<off_t>(got))
                             : ::read(fd, into + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoFailure(messageForErrno(errno));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

std::string readWholeFile(const std::filesystem::path& path) {
  FileHandle file = openForReading(path);
  struct stat info {};
  std::size_t capacity = 1 << 16;
  if (::fstat(file.get(), &info) == 0 && info.st_size > 0) capacity = static_cast<std::size_t>(info.st_size) + 1;
  std::string content(capacity, '\0');
  std::size_t size = 0;
  for (;;) {
    if (size == content.size()) content.resize(content.size() * 2);
    const std::size_t room = content.size() - size;
    const std::size_t got = readFull(file.get(), content.data() + size, room);
    size += got;
    if (got < room) break;
  }
  content.resize(size);
  file.close();
  return content;
}

void writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  FileHandle file = createForWriting(path);
  writeAll(file.get(), bytes);
  file.close();
}

bool isExistingFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace orvex
