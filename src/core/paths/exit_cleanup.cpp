#include "paths/exit_cleanup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "paths/tree_removal.h"

namespace orvex {

namespace {

// Set with the signals blocked, only read inside the handlers.
char g_directory[PATH_MAX];
char g_file[PATH_MAX];
bool g_installed = false;
// Where a deferred signal's number goes, and the signal deferred; see deferExitSignals().
volatile sig_atomic_t g_deferTo = -1;
volatile sig_atomic_t g_pendingSignal = 0;
// How long the program has to end by itself once a signal was deferred.
constexpr unsigned kGraceSeconds = 5;

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

extern "C" void onExitSignal(int signal) {
  if (g_deferTo >= 0 && g_pendingSignal == 0) {
    const int saved = errno;
    g_pendingSignal = signal;
    const auto number = static_cast<unsigned char>(signal);
    if (::write(g_deferTo, &number, 1) == 1) {
      ::alarm(kGraceSeconds);
      errno = saved;
      return;
    }
  }
  removeAndEnd(signal);
}

extern "C" void onGraceOver(int) { removeAndEnd(g_pendingSignal != 0 ? g_pendingSignal : SIGTERM); }

}  // namespace

void installExitCleanup() {
  if (g_installed) return;
  g_installed = true;
  struct sigaction action {};
  action.sa_handler = onExitSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  sigaddset(&action.sa_mask, SIGALRM);
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

void deferExitSignals(int fd) {
  struct sigaction action {};
  action.sa_handler = onGraceOver;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  ::sigaction(SIGALRM, &action, nullptr);
  g_deferTo = fd;
}

void endBySignal(int signal) {
  sigset_t block;
  sigemptyset(&block);
  for (const int blocked : kSignals) sigaddset(&block, blocked);
  sigaddset(&block, SIGALRM);
  ::pthread_sigmask(SIG_BLOCK, &block, nullptr);
  if (g_file[0] != '\0') ::unlink(g_file);
  if (g_directory[0] != '\0') removeTree(AT_FDCWD, g_directory);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  sigset_t deliver;
  sigemptyset(&deliver);
  sigaddset(&deliver, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &deliver, nullptr);
  std::_Exit(128 + signal);
}

void removeDirectoryOnExitSignal(const std::filesystem::path& directory) { setSlot(g_directory, directory); }

void removeFileOnExitSignal(const std::filesystem::path& file) { setSlot(g_file, file); }

ExitSignalPipe::ExitSignalPipe() {
  if (::pipe2(m_ends, O_CLOEXEC | O_NONBLOCK) != 0) m_ends[0] = m_ends[1] = -1;
}

ExitSignalPipe::~ExitSignalPipe() {
  for (const int fd : m_ends)
    if (fd >= 0) ::close(fd);
}

int ExitSignalPipe::takeSignal() const {
  unsigned char number = 0;
  return m_ends[0] >= 0 && ::read(m_ends[0], &number, 1) == 1 ? number : 0;
}

}  // namespace orvex
