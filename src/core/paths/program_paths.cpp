#include "paths/program_paths.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <system_error>

#include "text/messages.h"

namespace orvex {

namespace {

bool isSystemDirectory(const std::filesystem::path& directory) {
  const std::filesystem::path normal = directory.lexically_normal();
  for (const char* name : {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/opt", "/etc"}) {
    const std::filesystem::path system(name);
    const auto [end, unused] = std::mismatch(system.begin(), system.end(), normal.begin(), normal.end());
    if (end == system.end()) return true;
  }
  return false;
}

// A directory (not a link to one) that the user owns.
bool isOwnDirectory(const std::filesystem::path& directory, struct stat& info) {
  return ::lstat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

// The POSIX ACL as the kernel stores it in system.posix_acl_access: a 4-byte version,
// then 8-byte entries (tag, permissions, id), little-endian.
constexpr std::uint16_t kAclUser = 0x02;
constexpr std::uint16_t kAclGroupObject = 0x04;
constexpr std::uint16_t kAclGroup = 0x08;
constexpr std::uint16_t kAclMask = 0x10;
constexpr std::uint16_t kAclOther = 0x20;
constexpr std::uint16_t kAclWrite = 0x02;

std::uint32_t littleEndian(const unsigned char* bytes, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// Whether the directory's access ACL lets anybody but its owner write it: a named
// user or group, or the owning group, with write permission that the mask lets
// through, or others. Without an ACL (or ACL support) the mode bits say it all.
bool aclGrantsWriteToOthers(const std::filesystem::path& directory, uid_t owner) {
  unsigned char acl[4096];
  const ssize_t size = ::getxattr(directory.c_str(), "system.posix_acl_access", acl, sizeof acl);
  if (size < 0) return errno == ERANGE;  // too many entries to read: not trusted
  // Named entries and the owning group reach only what the mask lets through;
  // others' entry is the mode's own and never masked.
  bool maskWrites = true;
  bool maskedWriters = false;
  for (ssize_t at = 4; at + 8 <= size; at += 8) {
    const auto tag = static_cast<std::uint16_t>(littleEndian(acl + at, 2));
    const bool writes = (littleEndian(acl + at + 2, 2) & kAclWrite) != 0;
    const std::uint32_t id = littleEndian(acl + at + 4, 4);
    if (tag == kAclMask)
      maskWrites = writes;
    else if (tag == kAclOther && writes)
      return true;
    else if (tag == kAclUser)
      maskedWriters = maskedWriters || (writes && id != owner);
    else if (tag == kAclGroup || tag == kAclGroupObject)
      maskedWriters = maskedWriters || writes;
  }
  return maskedWriters && maskWrites;
}

// Whether a user other than the owner may add, remove or rename entries: the group
// or others may write it (a sticky bit does not help, another user may still put
// a menu.cfg of his own there), or its ACL lets another user write.
bool othersMayWrite(const std::filesystem::path& directory, const struct stat& info) {
  return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 || aclGrantsWriteToOthers(directory, info.st_uid);
}

}  // namespace

std::optional<std::filesystem::path> resolveProgramDirectory(const std::filesystem::path& executableDirectory) {
  struct stat info {};
  // An installed copy (bin with share/orvex beside it, as under ~/.local) keeps its
  // settings in the user's configuration directory, as a system-wide one does.
  std::error_code error;
  const bool installed = std::filesystem::is_directory(executableDirectory / ".." / "share" / "orvex", error);
  if (!executableDirectory.empty() && !installed && !isSystemDirectory(executableDirectory) &&
      isOwnDirectory(executableDirectory, info) && (info.st_mode & S_IWUSR) != 0 &&
      !othersMayWrite(executableDirectory, info) && ::access(executableDirectory.c_str(), W_OK) == 0)
    return executableDirectory;

  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home == '/')
    base = std::filesystem::path(home) / ".config";
  else
    return std::nullopt;
  std::error_code ignored;
  std::filesystem::create_directories(base, ignored);
  const auto directory = base / "orvex";
  ::mkdir(directory.c_str(), 0700);
  if (!isOwnDirectory(directory, info) || othersMayWrite(directory, info)) return std::nullopt;
  return directory;
}

std::filesystem::path runningExecutableDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path(error) : self.parent_path();
}

}  // namespace orvex
