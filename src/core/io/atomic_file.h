#pragma once
// Replaces a file safely: the new content goes to a temporary file, which is flushed
// to disk and takes the target's place only once it is complete. Until commit() the
// old file stays whole; a destroyed, uncommitted AtomicFile leaves nothing behind.
//
// The temporary file has no name while it is written (where the file system allows
// it), so a killed program leaves nothing; it gets a short one just before the
// rename, whatever the length of the target's name. It takes the target's
// permissions, owner (when allowed) and extended attributes (ACLs among them).
//
// A target with several hard links, or one the user may write but not replace (a
// file of another user in a sticky directory), is written in place once the whole
// new content exists and is flushed: the links stay, and a full disk or an I/O
// error still leaves the old content whole (only a kill during that copy cannot).

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <optional>

#include "io/file_handle.h"

namespace orvex {

// What tells one state of a file from another: a file replaced or written since
// differs in one of these.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  bool operator==(const FileIdentity& other) const;
};

// The file's identity now; empty when it cannot be examined.
std::optional<FileIdentity> identifyFile(const std::filesystem::path& path);

class AtomicFile {
 public:
  // Throws IoFailure("Impossible de créer le fichier <target>") when the target is a
  // directory, is read-only, is in a read-only directory, or no temporary file can
  // be made. With `expected`, the
  // commit refuses to replace a target that is no longer in that state.
  explicit AtomicFile(const std::filesystem::path& target, std::optional<FileIdentity> expected = std::nullopt,
                      LinkPolicy links = LinkPolicy::Follow);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  int fd() const { return m_file.get(); }
  const std::filesystem::path& target() const { return m_target; }

  // Flushes and puts the new content in the target's place. Throws IoFailure; the
  // target is then unchanged. Returns the identity of the file written.
  FileIdentity commit();

 private:
  void createTemporary(const std::filesystem::path& directory, mode_t mode);
  void replaceByRename();
  void copyInPlace();

  std::filesystem::path m_target;
  std::filesystem::path m_directory;
  std::optional<FileIdentity> m_expected;
  std::filesystem::path m_named;  // the temporary file's name, when it has one
  FileHandle m_file;
  bool m_inPlace = false;
  bool m_committed = false;
};

// Replaces `target` with `bytes` through an AtomicFile; throws IoFailure.
FileIdentity writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                 LinkPolicy links = LinkPolicy::Follow);

}  // namespace orvex
