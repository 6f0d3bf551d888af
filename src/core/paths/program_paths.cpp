#include "paths/program_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cstdlib>
#include <string>
#include <system_error>

#include "text/messages.h"

namespace orvex {

namespace {

bool isSystemDirectory(const std::filesystem::path& directory) {
  const std::filesystem::path normal = directory.lexically_normal();
  for (const char* name : {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/opt", "/etc"}) {
    const std::filesystem::path system(name);
    const auto [end, unused] = std::mismatch(system.begin(), system.end(), normal.begin(), normal.end());
    if (end == system.end()) return true;
  }
  return false;
}

// A directory (not a link to one) that the user owns.
bool isOwnDirectory(const std::filesystem::path& directory, struct stat& info) {
  return ::lstat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

}  // namespace

std::optional<std::filesystem::path> resolveProgramDirectory(const std::filesystem::path& executableDirectory) {
  struct stat info {};
  // An installed copy (bin with share/orvex beside it, as under ~/.local) keeps its
  // settings in the user's configuration directory, as a system-wide one does.
  std::error_code error;
  const bool installed = std::filesystem::is_directory(executableDirectory / ".." / "share" / "orvex", error);
  if (!executableDirectory.empty() && !installed && !isSystemDirectory(executableDirectory) &&
      isOwnDirectory(executableDirectory, info) && (info.st_mode & S_IWUSR) != 0 &&
      ::access(executableDirectory.c_str(), W_OK) == 0)
    return executableDirectory;

  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home == '/')
    base = std::filesystem::path(home) / ".config";
  else
    return std::nullopt;
  std::error_code ignored;
  std::filesystem::create_directories(base, ignored);
  const auto directory = base / "orvex";
  ::mkdir(directory.c_str(), 0700);
  if (!isOwnDirectory(directory, info) || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return std::nullopt;
  return directory;
}

std::filesystem::path runningExecutableDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path(error) : self.parent_path();
}

ScratchDirectory::ScratchDirectory() {
  std::error_code error;
  auto base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "orvex-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw IoFailure(cannotCreateMessage(pattern));
  m_path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace orvex
