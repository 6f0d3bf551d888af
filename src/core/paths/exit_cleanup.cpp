#include "paths/exit_cleanup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <string>

#include "paths/tree_removal.h"

namespace orvex {

namespace {

// Set with the signals blocked, only read inside the handlers.
char g_directory[PATH_MAX];
char g_file[PATH_MAX];
bool g_installed = false;

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Copies `path` into a slot the handlers read, with the signals blocked so that a
// handler never sees half a path.
void setSlot(char (&slot)[PATH_MAX], const std::filesystem::path& path) {
  const std::string text = path.string();
  sigset_t block;
  sigset_t previous;
  sigemptyset(&block);
  for (const int signal : kSignals) sigaddset(&block, signal);
  ::pthread_sigmask(SIG_BLOCK, &block, &previous);
  if (text.size() < sizeof slot)
    std::memcpy(slot, text.c_str(), text.size() + 1);
  else
    slot[0] = '\0';
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

extern "C" void removeAndEnd(int signal) {
  if (g_file[0] != '\0') ::unlink(g_file);
  if (g_directory[0] != '\0') removeTree(AT_FDCWD, g_directory);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void installExitCleanup() {
  if (g_installed) return;
  g_installed = true;
  struct sigaction action {};
  action.sa_handler = removeAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

void removeDirectoryOnExitSignal(const std::filesystem::path& directory) { setSlot(g_directory, directory); }

void removeFileOnExitSignal(const std::filesystem::path& file) { setSlot(g_file, file); }

}  // namespace orvex
