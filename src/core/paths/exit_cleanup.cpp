#include "paths/exit_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <pthread.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <csignal>
#include <cstring>
#include <string>

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

// The fixed part of the kernel's linux_dirent64; the entry's name follows it.
struct DirentHeader {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
};
constexpr std::size_t kNameOffset = offsetof(DirentHeader, d_type) + 1;

// Removes `name` under the directory `parent` and, for a directory, all it holds;
// true when it is gone. A signal handler may only make system calls that are
// async-signal-safe: no allocation and no library directory walk, so the entries
// are read with getdents64, and the directory read again until a pass removes
// nothing (removing entries while reading may hide some).
bool removeTree(int parent, const char* name, int depth) {
  if (::unlinkat(parent, name, 0) == 0) return true;
  if (depth > 8) return false;
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  alignas(DirentHeader) char buffer[4096];
  for (bool removed = true; removed;) {
    removed = false;
    ::lseek(fd, 0, SEEK_SET);
    long got;
    while ((got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
      for (long at = 0; at < got;) {
        const auto* entry = reinterpret_cast<const DirentHeader*>(buffer + at);
        const char* name = buffer + at + kNameOffset;
        at += entry->d_reclen;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        removed = removeTree(fd, name, depth + 1) || removed;
      }
    }
  }
  ::close(fd);
  return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

extern "C" void removeAndEnd(int signal) {
  if (g_file[0] != '\0') ::unlink(g_file);
  if (g_directory[0] != '\0') removeTree(AT_FDCWD, g_directory, 0);
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
