#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "text/messages.h"

namespace orvex {

namespace {

// Write permission in the sense a user expects: the mode allows writing, and the
// system agrees for this user. Root passes access() for everything, so the mode
// bits are checked too.
bool isWritable(const std::filesystem::path& path, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : m_target(target) {
  const std::string shown = target.string();
  std::error_code error;
  // Saving through a symbolic link replaces the file it points to, not the link.
  if (std::filesystem::is_symlink(m_target, error)) {
    const auto resolved = std::filesystem::weakly_canonical(m_target, error);
    if (!error) m_target = resolved;
  }
  auto directory = m_target.parent_path();
  if (directory.empty()) directory = ".";

  struct stat info {};
  const bool exists = ::stat(m_target.c_str(), &info) == 0;
  if (exists && (!S_ISREG(info.st_mode) || !isWritable(m_target, info)))
    throw IoFailure(cannotCreateMessage(shown));
  struct stat dirInfo {};
  if (::stat(directory.c_str(), &dirInfo) != 0 || !S_ISDIR(dirInfo.st_mode) ||
      !isWritable(directory, dirInfo))
    throw IoFailure(cannotCreateMessage(shown));

  std::string name(1, '.');
  name.append(m_target.filename().string()).append(".orvex-XXXXXX");
  std::string pattern = (directory / name).string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) throw IoFailure(cannotCreateMessage(shown));
  m_file = FileHandle(fd);
  m_temporary = pattern;

  const mode_t mode = exists ? (info.st_mode & 07777) : (0666 & ~currentUmask());
  if (::fchmod(fd, mode) != 0) {
    // The destructor does not run for a constructor that throws.
    ::unlink(m_temporary.c_str());
    throw IoFailure(cannotCreateMessage(shown));
  }
  if (exists && (info.st_uid != ::geteuid() || info.st_gid != ::getegid())) {
    // Keeping the owner is best effort: only a privileged user may give files away.
    [[maybe_unused]] const int ignored = ::fchown(fd, info.st_uid, info.st_gid);
  }
}

AtomicFile::~AtomicFile() {
  if (!m_committed && !m_temporary.empty()) ::unlink(m_temporary.c_str());
}

void AtomicFile::commit() {
  if (::fsync(m_file.get()) != 0) throw IoFailure(messageForErrno(errno));
  m_file.close();
  if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
    throw IoFailure(cannotCreateMessage(m_target.string()));
  m_committed = true;
  auto directory = m_target.parent_path();
  if (directory.empty()) directory = ".";
  // Makes the rename itself durable; a directory that refuses fsync loses nothing.
  FileHandle dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.isOpen()) ::fsync(dir.get());
}

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  AtomicFile file(target);
  writeAll(file.fd(), bytes);
  file.commit();
}

}  // namespace orvex
