#include "io/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>

namespace orvex {

std::optional<FileLock> FileLock::tryTake(const std::filesystem::path& path, bool create) {
  return tryTakeAt(AT_FDCWD, path.c_str(), create);
}

std::optional<FileLock> FileLock::tryTakeAt(int directory, const char* name, bool create) {
  FileHandle file(::openat(directory, name, O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0600));
  if (!file.isOpen()) return std::nullopt;
  while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
    if (errno != EINTR) return std::nullopt;
  return FileLock(std::move(file));
}

bool FileLock::stillNamed() const {
  struct stat info {};
  return ::fstat(m_file.get(), &info) == 0 && info.st_nlink > 0;
}

bool isLockFree(const std::filesystem::path& path) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!file.isOpen()) return errno == ENOENT;
  while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
    if (errno != EINTR) return false;
  return true;
}

}  // namespace orvex
