#pragma once
// Where the program keeps its files: the program directory (config.dat, menu.cfg,
// bloc.txt) and a private scratch directory for the two work files of the text
// tools, so that two running copies never share them.

#include <filesystem>

namespace orvex {

class ProgramPaths {
 public:
  explicit ProgramPaths(std::filesystem::path directory) : m_directory(std::move(directory)) {}

  const std::filesystem::path& directory() const { return m_directory; }
  std::filesystem::path configFile() const { return m_directory / "config.dat"; }
  std::filesystem::path menuFile() const { return m_directory / "menu.cfg"; }
  std::filesystem::path blockClipboardFile() const { return m_directory / "bloc.txt"; }
  std::filesystem::path releaseNotesFile() const { return m_directory / "nouveautes.txt"; }

 private:
  std::filesystem::path m_directory;
};

// The executable's directory when it is writable (a build tree, a portable copy);
// otherwise $XDG_CONFIG_HOME/orvex (default ~/.config/orvex), created when needed.
std::filesystem::path resolveProgramDirectory(const std::filesystem::path& executableDirectory);

// The directory of the running executable.
std::filesystem::path runningExecutableDirectory();

// A directory of its own in the system's temporary directory, removed with its
// content when the object is destroyed.
class ScratchDirectory {
 public:
  ScratchDirectory();  // throws IoFailure
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory();

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path firstFile() const { return m_path / "temp.txt"; }
  std::filesystem::path secondFile() const { return m_path / "temp2.txt"; }

 private:
  std::filesystem::path m_path;
};

}  // namespace orvex
