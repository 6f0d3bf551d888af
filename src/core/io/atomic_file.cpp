#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "io/status.h"
#include "paths/exit_cleanup.h"
#include "text/messages.h"

namespace orvex {

namespace {

// Write permission in the sense a user expects: the mode allows writing, and the
// system agrees for this user. Root passes access() for everything, so the mode
// bits are checked too.
bool isWritable(const std::filesystem::path& path, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Whether the user may put another file in the target's place: a sticky directory
// (such as /tmp) lets only the owners of the file or of the directory do that.
bool mayReplace(const struct stat& file, const struct stat& directory) {
  if ((directory.st_mode & S_ISVTX) == 0 || ::geteuid() == 0) return true;
  return file.st_uid == ::geteuid() || directory.st_uid == ::geteuid();
}

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

FileIdentity identityOf(const struct stat& info) { return {info.st_dev, info.st_ino, info.st_size, info.st_mtim}; }

// Best effort, like the owner: attributes the file system or the user's rights
// refuse are left out.
void copyExtendedAttributes(const std::filesystem::path& from, int to) {
  const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  if (got <= 0) return;
  std::vector<char> value;
  for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
    const char* name = names.data() + at;
    at += std::char_traits<char>::length(name) + 1;
    const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    value.resize(static_cast<std::size_t>(length));
    if (::getxattr(from.c_str(), name, value.data(), value.size()) != length) continue;
    [[maybe_unused]] const int ignored = ::fsetxattr(to, name, value.data(), value.size(), 0);
  }
}

// A short name of its own in `directory`, whatever the length of the target's name.
std::filesystem::path temporaryName(const std::filesystem::path& directory) {
  static std::mt19937_64 random{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = ".orvex-";
  for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return directory / name;
}

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return identityOf(info);
}

AtomicFile::AtomicFile(const std::filesystem::path& target, std::optional<FileIdentity> expected, LinkPolicy links)
    : m_target(target), m_expected(expected) {
  const std::string shown = target.string();
  if (target.empty()) throw IoFailure(cannotCreateMessage(shown));
  struct stat link {};
  if (::lstat(m_target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (links == LinkPolicy::OwnLinksOnly && link.st_uid != ::geteuid()) throw IoFailure(cannotCreateMessage(shown));
    // Saving through a symbolic link replaces the file it points to, not the link.
    std::error_code error;
    const auto resolved = std::filesystem::weakly_canonical(m_target, error);
    if (!error) m_target = resolved;
  }
  m_directory = m_target.parent_path();
  if (m_directory.empty()) m_directory = ".";

  struct stat info {};
  const bool exists = ::stat(m_target.c_str(), &info) == 0;
  if (exists && (!S_ISREG(info.st_mode) || !isWritable(m_target, info))) throw IoFailure(cannotCreateMessage(shown));
  struct stat dirInfo {};
  const bool directoryWritable =
      ::stat(m_directory.c_str(), &dirInfo) == 0 && S_ISDIR(dirInfo.st_mode) && isWritable(m_directory, dirInfo);
  if (!directoryWritable) throw IoFailure(cannotCreateMessage(shown));
  m_inPlace = exists && (info.st_nlink > 1 || !mayReplace(info, dirInfo));
  createTemporary(m_directory, exists ? (info.st_mode & 07777) : (0666 & ~currentUmask()));
  if (!m_file.isOpen()) throw IoFailure(cannotCreateMessage(shown));
  if (exists && !m_inPlace) {
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
      // Keeping the owner is best effort: only a privileged user may give files away.
      [[maybe_unused]] const int ignored = ::fchown(m_file.get(), info.st_uid, info.st_gid);
    }
    copyExtendedAttributes(m_target, m_file.get());
  }
}

void AtomicFile::createTemporary(const std::filesystem::path& directory, mode_t mode) {
  // A file without a name cannot be left behind, even by a kill.
  const int unnamed = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
  if (unnamed >= 0) {
    m_file = FileHandle(unnamed);
  } else {
    std::string pattern = (directory / ".orvex-XXXXXX").string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return;
    m_file = FileHandle(fd);
    m_named = pattern;
    removeFileOnExitSignal(m_named);
  }
  // O_TMPFILE applies the umask to the mode: the target's own mode is set again.
  if (::fchmod(m_file.get(), mode) != 0) {
    if (!m_named.empty()) ::unlink(m_named.c_str());
    removeFileOnExitSignal({});
    m_file = FileHandle();
  }
}

AtomicFile::~AtomicFile() {
  if (!m_named.empty() && !(m_committed && !m_inPlace)) ::unlink(m_named.c_str());
  if (!m_named.empty()) removeFileOnExitSignal({});
}

FileIdentity AtomicFile::commit() {
  if (::fsync(m_file.get()) != 0) throw IoFailure(messageForErrno(errno));
  if (m_expected && identifyFile(m_target) != m_expected) throw IoFailure(changedDuringRunMessage(m_target.string()));
  if (m_inPlace)
    copyInPlace();
  else
    replaceByRename();
  m_committed = true;
  const std::optional<FileIdentity> written = identifyFile(m_target);
  if (!written) throw IoFailure(cannotOpenMessage(m_target.string()));
  return *written;
}

void AtomicFile::replaceByRename() {
  if (m_named.empty()) {
    // The unnamed file gets a name in the target's directory just before the rename.
    const std::string self = "/proc/self/fd/" + std::to_string(m_file.get());
    for (int attempt = 0; attempt < 16 && m_named.empty(); ++attempt) {
      const auto name = temporaryName(m_directory);
      removeFileOnExitSignal(name);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        m_named = name;
      } else if (errno != EEXIST) {
        removeFileOnExitSignal({});
        throw IoFailure(cannotCreateMessage(m_target.string()));
      }
    }
    if (m_named.empty()) throw IoFailure(cannotCreateMessage(m_target.string()));
  }
  m_file.close();
  if (::rename(m_named.c_str(), m_target.c_str()) != 0) throw IoFailure(cannotCreateMessage(m_target.string()));
  removeFileOnExitSignal({});
  // Makes the rename itself durable; a directory that refuses fsync loses nothing.
  FileHandle dir(::open(m_directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.isOpen()) ::fsync(dir.get());
}

void AtomicFile::copyInPlace() {
  const off_t size = ::lseek(m_file.get(), 0, SEEK_END);
  if (size < 0) throw IoFailure(messageForErrno(errno));
  FileHandle target(::open(m_target.c_str(), O_WRONLY | O_CLOEXEC));
  if (!target.isOpen()) throw IoFailure(cannotCreateMessage(m_target.string()));
  struct stat info {};
  if (::fstat(target.get(), &info) != 0) throw IoFailure(messageForErrno(errno));
  // The space is taken before the first byte is overwritten: a full disk then
  // stops the save with the old content whole.
  if (size > info.st_size) {
    const int result = ::posix_fallocate(target.get(), 0, size);
    if (result != 0 && result != EOPNOTSUPP && result != EINVAL) throw IoFailure(messageForErrno(result));
  }
  std::vector<char> buffer(std::size_t{1} << 20);
  for (off_t at = 0; at < size;) {
    const ssize_t got = ::pread(m_file.get(), buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw IoFailure(messageForErrno(got < 0 ? errno : EIO));
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::pwrite(target.get(), buffer.data() + done, static_cast<std::size_t>(got - done), at + done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) throw IoFailure(messageForErrno(put < 0 ? errno : EIO));
      done += put;
    }
    at += got;
  }
  if (::ftruncate(target.get(), size) != 0 || ::fsync(target.get()) != 0) throw IoFailure(messageForErrno(errno));
  target.close();
}

FileIdentity writeFileAtomically(const std::filesystem::path& target, std::string_view bytes, LinkPolicy links) {
  AtomicFile file(target, std::nullopt, links);
  writeAll(file.fd(), bytes);
  return file.commit();
}

}  // namespace orvex
