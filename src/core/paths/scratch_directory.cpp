#include "paths/scratch_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

#include "io/status.h"
#include "paths/tree_removal.h"
#include "text/messages.h"

namespace orvex {

namespace {

// mkdtemp's six characters follow the prefix.
constexpr std::string_view kPrefix = "orvex-scratch-";
constexpr std::size_t kRandomLength = 6;
constexpr const char* kLockName = "verrou";

bool isScratchName(std::string_view name) {
  if (!name.starts_with(kPrefix) || name.size() != kPrefix.size() + kRandomLength) return false;
  for (const char c : name.substr(kPrefix.size()))
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

// Takes the lock of a directory just made. Another start's clean-up may remove the
// directory before its lock is held: the lock is then on a file or in a directory
// that no longer has a name, and the caller makes another.
std::optional<FileLock> lockNewDirectory(const std::string& path) {
  FileHandle directory(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!directory.isOpen()) return std::nullopt;
  std::optional<FileLock> lock = FileLock::tryTakeAt(directory.get(), kLockName, true);
  struct stat opened {};
  struct stat named {};
  if (!lock || !lock->stillNamed() || ::fstat(directory.get(), &opened) != 0 || ::lstat(path.c_str(), &named) != 0 ||
      opened.st_ino != named.st_ino || opened.st_dev != named.st_dev)
    return std::nullopt;
  return lock;
}

}  // namespace

std::vector<std::filesystem::path> temporaryBases() {
  std::vector<std::filesystem::path> bases;
  if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && *tmpdir == '/') bases.emplace_back(tmpdir);
  if (bases.empty() || bases.front().lexically_normal() != "/tmp") bases.emplace_back("/tmp");
  return bases;
}

ScratchDirectory::ScratchDirectory() {
  std::string tried;
  for (const auto& base : temporaryBases()) {
    for (int attempt = 0; attempt < 8; ++attempt) {
      std::string pattern = (base / kPrefix).string() + std::string(kRandomLength, 'X');
      tried = pattern;
      // A base the user may not write is passed over for the next one.
      if (::mkdtemp(pattern.data()) == nullptr) break;
      if (std::optional<FileLock> lock = lockNewDirectory(pattern)) {
        m_path = pattern;
        m_lock = std::move(lock);
        return;
      }
      removeTree(AT_FDCWD, pattern.c_str());
    }
  }
  throw IoFailure(cannotCreateMessage(tried));
}

Result<std::unique_ptr<ScratchDirectory>> ScratchDirectory::create() {
  return resultOf([] { return std::make_unique<ScratchDirectory>(); });
}

ScratchDirectory::~ScratchDirectory() {
  // Removed while its lock is still held, so that no clean-up meets it half gone.
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

void removeAbandonedScratchDirectories() {
  for (const auto& base : temporaryBases()) removeAbandonedScratchDirectories(base);
}

void removeAbandonedScratchDirectories(const std::filesystem::path& base) {
  const FileHandle baseDirectory(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!baseDirectory.isOpen()) return;
  std::error_code error;
  std::vector<std::string> names;
  for (std::filesystem::directory_iterator entry(base, error), end; !error && entry != end; entry.increment(error))
    if (isScratchName(entry->path().filename().native())) names.push_back(entry->path().filename().native());
  for (const std::string& name : names) {
    // O_NOFOLLOW: a link named like a scratch directory is nobody's scratch directory.
    const FileHandle directory(
        ::openat(baseDirectory.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!directory.isOpen() || ::fstat(directory.get(), &info) != 0 || info.st_uid != ::geteuid()) continue;
    if (::faccessat(directory.get(), kLockName, F_OK, AT_SYMLINK_NOFOLLOW) != 0) {
      // Killed between making the directory and locking it: it is empty, and a copy
      // starting right now finds its directory gone and makes another.
      if (errno == ENOENT) ::unlinkat(baseDirectory.get(), name.c_str(), AT_REMOVEDIR);
      continue;
    }
    // Held while removing: a copy that made this directory a moment ago and has
    // not locked it yet cannot take it now, and makes another.
    if (const std::optional<FileLock> lock = FileLock::tryTakeAt(directory.get(), kLockName, false))
      removeTree(baseDirectory.get(), name.c_str());
  }
}

}  // namespace orvex
