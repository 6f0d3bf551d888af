#include "paths/tree_removal.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvex {

namespace {

// The fixed part of the kernel's linux_dirent64; the entry's name follows it.
struct DirentHeader {
  std::uint64_t d_ino;
  std::int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
};
constexpr std::size_t kNameOffset = offsetof(DirentHeader, d_type) + 1;

// No allocation and no library directory walk, so the entries are read with
// getdents64, and the directory read again until a pass removes nothing (removing
// entries while reading may hide some).
bool removeTreeAt(int parent, const char* name, int depth) {
  if (::unlinkat(parent, name, 0) == 0) return true;
  if (depth > 8) return false;
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  alignas(DirentHeader) char buffer[4096];
  for (bool removed = true; removed;) {
    removed = false;
    ::lseek(fd, 0, SEEK_SET);
    long got;
    while ((got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
      for (long at = 0; at < got;) {
        const auto* entry = reinterpret_cast<const DirentHeader*>(buffer + at);
        const char* entryName = buffer + at + kNameOffset;
        at += entry->d_reclen;
        if (std::strcmp(entryName, ".") == 0 || std::strcmp(entryName, "..") == 0) continue;
        removed = removeTreeAt(fd, entryName, depth + 1) || removed;
      }
    }
  }
  ::close(fd);
  return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

}  // namespace

bool removeTree(int parent, const char* name) { return removeTreeAt(parent, name, 0); }

}  // namespace orvex
