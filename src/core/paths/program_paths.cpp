#include "paths/program_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "text/messages.h"

namespace orvex {

std::filesystem::path resolveProgramDirectory(const std::filesystem::path& executableDirectory) {
  if (!executableDirectory.empty() && ::access(executableDirectory.c_str(), W_OK) == 0)
    return executableDirectory;
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::filesystem::path(home) / ".config";
  else
    base = std::filesystem::temp_directory_path();
  const auto directory = base / "orvex";
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
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
