#pragma once
// Replaces a file safely: the new content goes to a temporary file in the target's
// directory, which is flushed to disk and renamed over the target only once it is
// complete. Until commit() the old file stays whole; a destroyed, uncommitted
// AtomicFile removes its temporary file.

#include <filesystem>

#include "io/file_handle.h"

namespace orvex {

class AtomicFile {
 public:
  // Throws IoFailure("Impossible de créer le fichier <target>") when the target is a
  // directory, is read-only, or its directory cannot take a new file.
  explicit AtomicFile(const std::filesystem::path& target);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  int fd() const { return m_file.get(); }
  const std::filesystem::path& target() const { return m_target; }

  // Flushes, gives the new file the target's permissions and renames it over the
  // target. Throws IoFailure; the target is then unchanged.
  void commit();

 private:
  std::filesystem::path m_target;
  std::filesystem::path m_temporary;
  FileHandle m_file;
  bool m_committed = false;
};

// Replaces `target` with `bytes` through an AtomicFile; throws IoFailure.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace orvex
