#pragma once
// The private scratch directory of a running copy of the program: the two work files
// of the text tools and the undo history live there. Each copy holds a lock on a
// file inside its own directory for as long as it runs, so that the next start can
// tell the directory of a killed copy (up to gigabytes of undo files) from a live
// one and remove it.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "io/file_lock.h"
#include "io/status.h"

namespace orvex {

// The directories temporary files may go in, best first: $TMPDIR when it names an
// absolute path, then /tmp (a $TMPDIR the user cannot write is passed over).
std::vector<std::filesystem::path> temporaryBases();

// A directory of its own in the first temporary base that takes it, locked, and
// removed with its content when the object is destroyed.
class ScratchDirectory {
 public:
  ScratchDirectory();  // throws IoFailure
  // The same for a caller outside the engine: the failure as a value.
  static Result<std::unique_ptr<ScratchDirectory>> create();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory();

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path firstFile() const { return m_path / "temp.txt"; }
  std::filesystem::path secondFile() const { return m_path / "temp2.txt"; }

 private:
  std::filesystem::path m_path;
  std::optional<FileLock> m_lock;
};

// Removes, in every temporary base, the scratch directories whose copy of the
// program is gone: only real directories (never a link) of the user's own, named as
// this program names them, whose lock nobody holds. Nothing is followed through a
// link while removing.
void removeAbandonedScratchDirectories();
void removeAbandonedScratchDirectories(const std::filesystem::path& base);

}  // namespace orvex
