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
// Hands the first ending signal to the program instead of ending it: the signal's
// number is written to `fd` (a pipe the event loop watches), and the program calls
// endBySignal() once it has put its affairs in order. A second signal, or a program
// that has not ended within a few seconds, ends it as before. -1: none.
void deferExitSignals(int fd);
// Removes what the handlers would remove and ends the program as `signal` does.
[[noreturn]] void endBySignal(int signal);
// The file to remove, a temporary file that has a name for a moment; empty: none.
void removeFileOnExitSignal(const std::filesystem::path& file);

}  // namespace orvex
