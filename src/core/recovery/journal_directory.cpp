#include "recovery/journal_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <utility>

#include "text/messages.h"

namespace orvex {

namespace {

constexpr std::string_view kJournalSuffix = ".journal";
constexpr std::string_view kLockSuffix = ".verrou";

std::string randomName() {
  static std::mt19937_64 random{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = "fenetre-";
  for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

// The names in the directory that end with `suffix`, the suffix cut off.
std::vector<std::string> namesEndingWith(int directory, std::string_view suffix) {
  std::vector<std::string> names;
  const int copy = ::dup(directory);
  if (copy < 0) return names;
  DIR* listing = ::fdopendir(copy);
  if (listing == nullptr) {
    ::close(copy);
    return names;
  }
  ::rewinddir(listing);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name.size() > suffix.size() && name.ends_with(suffix) && name.front() != '.')
      names.emplace_back(name.substr(0, name.size() - suffix.size()));
  }
  ::closedir(listing);
  return names;
}

bool exists(int directory, const std::string& name) {
  return ::faccessat(directory, name.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
}

// The file `name` stands for, to tell it from another put in its place.
struct Identity {
  dev_t device;
  ino_t inode;
  bool operator==(const Identity&) const = default;
};

std::optional<Identity> identityOf(int directory, const std::string& name) {
  struct stat info {};
  if (::fstatat(directory, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return Identity{info.st_dev, info.st_ino};
}

// The time the journal was last written, to offer the oldest first.
std::int64_t writtenAt(int directory, const std::string& name) {
  struct stat info {};
  if (::fstatat(directory, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return 0;
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

}  // namespace

Result<JournalDirectory> JournalDirectory::open(const std::filesystem::path& programDirectory) {
  const std::filesystem::path path = programDirectory / "recuperation";
  if (programDirectory.empty()) return Status::failure(cannotCreateMessage(path.string()));
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return Status::failure(cannotCreateMessage(path.string()));
  FileHandle fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info {};
  if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || info.st_uid != ::geteuid())
    return Status::failure(cannotOpenMessage(path.string()));
  // A directory of the user's own that others could enter is closed to them.
  if ((info.st_mode & 077) != 0 && ::fchmod(fd.get(), 0700) != 0)
    return Status::failure(cannotOpenMessage(path.string()));
  return JournalDirectory(std::move(fd), path);
}

Result<JournalSlot> JournalDirectory::createSlot() const {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = randomName();
    const std::string lockName = name + std::string(kLockSuffix);
    FileHandle created(::openat(fd(), lockName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!created.isOpen()) {
      if (errno == EEXIST) continue;
      break;
    }
    std::optional<FileLock> lock = FileLock::tryTakeAt(fd(), lockName.c_str(), false);
    if (lock && lock->stillNamed()) return JournalSlot(name, std::move(*lock));
  }
  return Status::failure(cannotCreateMessage((m_path / "verrou").string()));
}

std::optional<JournalSlot> JournalDirectory::takeSlot(const std::string& name) const {
  if (name.empty() || name.find('/') != std::string::npos || name.front() == '.') return std::nullopt;
  const std::string lockName = name + std::string(kLockSuffix);
  std::optional<FileLock> lock = FileLock::tryTakeAt(fd(), lockName.c_str(), true);
  // A lock file removed by another start between its open and its lock guards nothing.
  if (!lock || !lock->stillNamed()) return std::nullopt;
  return JournalSlot(name, std::move(*lock));
}

std::vector<JournalSlot> JournalDirectory::takeOrphans() const {
  std::vector<JournalSlot> orphans;
  for (const std::string& name : namesEndingWith(fd(), kJournalSuffix)) {
    const std::string journal = name + std::string(kJournalSuffix);
    const std::optional<Identity> listed = identityOf(fd(), journal);
    if (!listed) continue;
    std::optional<JournalSlot> slot = takeSlot(name);
    if (!slot) continue;
    // Another start may have taken it since it was listed, and let it go at once:
    // moved aside or removed, it is no longer an orphan, and its lock goes unused.
    if (identityOf(fd(), journal) != listed) continue;
    orphans.push_back(std::move(*slot));
  }
  // What a window that is gone left without a journal.
  for (const std::string& name : namesEndingWith(fd(), kLockSuffix)) {
    if (exists(fd(), name + std::string(kJournalSuffix))) continue;
    if (const std::optional<JournalSlot> slot = takeSlot(name)) release(*slot);
  }
  std::sort(orphans.begin(), orphans.end(), [this](const JournalSlot& a, const JournalSlot& b) {
    return writtenAt(fd(), a.journalName()) < writtenAt(fd(), b.journalName());
  });
  return orphans;
}

Result<FileHandle> JournalDirectory::openJournal(const JournalSlot& slot) const {
  const std::string shown = journalPath(slot).string();
  FileHandle file(::openat(fd(), slot.journalName().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!file.isOpen() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
    return Status::failure(cannotOpenMessage(shown));
  return file;
}

Result<std::string> JournalDirectory::setAside(const JournalSlot& slot) const {
  for (int number = 1; number < 1000; ++number) {
    const std::string aside = slot.name() + ".illisible-" + std::to_string(number);
    if (exists(fd(), aside)) continue;
    if (::renameat(fd(), slot.journalName().c_str(), fd(), aside.c_str()) != 0) break;
    ::fsync(fd());
    // Only now that the text is safe under its new name.
    release(slot);
    return aside;
  }
  return Status::failure(cannotCreateMessage(journalPath(slot).string()));
}

void JournalDirectory::removeJournal(const JournalSlot& slot) const {
  ::unlinkat(fd(), slot.journalName().c_str(), 0);
  ::unlinkat(fd(), slot.temporaryName().c_str(), 0);
}

void JournalDirectory::release(const JournalSlot& slot) const {
  removeJournal(slot);
  // Removed while still held, so that no other start takes a lock on it half gone.
  ::unlinkat(fd(), slot.lockName().c_str(), 0);
}

}  // namespace orvex
