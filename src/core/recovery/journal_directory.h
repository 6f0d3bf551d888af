#pragma once
// The directory of the recovery journals, recuperation/ in the program directory:
// one journal per window (NAME.journal), written through a temporary file
// (NAME.tmp) and renamed over it. Each window holds the lock of its own lock file
// (NAME.verrou) for as long as it runs; the lock stays on that file while the
// journal beside it is replaced, so a journal whose lock can be taken belongs to no
// running window. Nothing here is ever opened through a link, and only the user's
// own regular files are read.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/file_handle.h"
#include "io/file_lock.h"
#include "io/status.h"

namespace orvex {

// A journal's name in the directory, with its lock held by this process.
class JournalSlot {
 public:
  JournalSlot(std::string name, FileLock lock) : m_name(std::move(name)), m_lock(std::move(lock)) {}
  const std::string& name() const { return m_name; }
  std::string journalName() const { return m_name + ".journal"; }
  std::string temporaryName() const { return m_name + ".tmp"; }
  std::string lockName() const { return m_name + ".verrou"; }

 private:
  std::string m_name;
  FileLock m_lock;
};

class JournalDirectory {
 public:
  // Opens recuperation/ under `programDirectory`, creating it 0700; a link, another
  // user's directory or one that others may enter is refused.
  static Result<JournalDirectory> open(const std::filesystem::path& programDirectory);

  const std::filesystem::path& path() const { return m_path; }
  int fd() const { return m_fd.get(); }
  std::filesystem::path journalPath(const JournalSlot& slot) const { return m_path / slot.journalName(); }

  // A slot of its own for a new window, its lock taken.
  Result<JournalSlot> createSlot() const;
  // The slot `name` when no running window holds it, now held by this process.
  std::optional<JournalSlot> takeSlot(const std::string& name) const;
  // The journals no running window holds, each taken, oldest first; one that another
  // start took and let go between the listing and the lock is left out. Lock files
  // and temporary files left without a journal by a window that is gone are removed.
  std::vector<JournalSlot> takeOrphans() const;

  // The slot's journal open for reading: a regular file of the user's own.
  Result<FileHandle> openJournal(const JournalSlot& slot) const;
  // Moves an unreadable journal out of the way, then removes the slot's temporary
  // and lock files; its new name. A journal that cannot be moved keeps its place and
  // its slot's files, for the next start to find again.
  Result<std::string> setAside(const JournalSlot& slot) const;
  // Removes the journal and its temporary file; the slot stays held.
  void removeJournal(const JournalSlot& slot) const;
  // Removes the journal, its temporary file and its lock file.
  void release(const JournalSlot& slot) const;

 private:
  JournalDirectory(FileHandle fd, std::filesystem::path path) : m_fd(std::move(fd)), m_path(std::move(path)) {}

  FileHandle m_fd;
  std::filesystem::path m_path;
};

}  // namespace orvex
