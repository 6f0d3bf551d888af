#pragma once
// Leaves nothing behind when a signal ends the program: on SIGTERM, SIGINT or
// SIGHUP the registered scratch directory is removed with everything in it, and the
// registered temporary file, then the program ends as the signal would have ended it.

#include <filesystem>

namespace orvex {

// Installs the handlers; calling it again changes nothing.
void installExitCleanup();
// The directory to remove (the last one registered); an empty path: none.
void removeDirectoryOnExitSignal(const std::filesystem::path& directory);
// The file to remove, a temporary file that has a name for a moment; empty: none.
void removeFileOnExitSignal(const std::filesystem::path& file);

}  // namespace orvex
