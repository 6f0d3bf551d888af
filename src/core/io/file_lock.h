#pragma once
// An exclusive lock (flock) held on a file for as long as the object lives: the mark
// of a running process. The system drops it by itself when the process ends, however
// it ends, so a free lock always means that its holder is gone; a process id would
// not, since the system gives it to another process later.

#include <filesystem>
#include <optional>

#include "io/file_handle.h"

namespace orvex {

class FileLock {
 public:
  // Opens the file without following a symbolic link (creating it, 0600, with
  // `create`) and takes its lock. Empty when another process holds the lock or the
  // file cannot be opened. The descriptor is not passed on to programs started later.
  static std::optional<FileLock> tryTake(const std::filesystem::path& path, bool create = true);
  // The same for the file `name` of the directory open as `directory`.
  static std::optional<FileLock> tryTakeAt(int directory, const char* name, bool create);

  // Whether the locked file still has a name: a lock on a file removed since it was
  // opened guards nothing.
  bool stillNamed() const;

 private:
  explicit FileLock(FileHandle file) : m_file(std::move(file)) {}

  FileHandle m_file;
};

// Whether nobody holds the lock of `path`. A missing file is free too: its holder
// never got that far. A file that cannot be opened counts as held.
bool isLockFree(const std::filesystem::path& path);

}  // namespace orvex
