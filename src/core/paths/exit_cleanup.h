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
// The pipe deferExitSignals writes to, made non-blocking and closed on exec.
class ExitSignalPipe {
 public:
  ExitSignalPipe();
  ExitSignalPipe(const ExitSignalPipe&) = delete;
  ExitSignalPipe& operator=(const ExitSignalPipe&) = delete;
  ~ExitSignalPipe();
  // -1 when the pipe could not be made.
  int readEnd() const { return m_ends[0]; }
  int writeEnd() const { return m_ends[1]; }
  // The number of a signal written to the pipe, or 0 when there is none.
  int takeSignal() const;

 private:
  int m_ends[2] = {-1, -1};
};
// Removes what the handlers would remove and ends the program as `signal` does.
[[noreturn]] void endBySignal(int signal);
// The file to remove, a temporary file that has a name for a moment; empty: none.
void removeFileOnExitSignal(const std::filesystem::path& file);

}  // namespace orvex
