#pragma once
// Where the program keeps its files: the program directory (config.dat, menu.cfg,
// bloc.txt, orvex.conf), and (scratch_directory.h) a private scratch directory for the two work
// files of the text tools, so that two running copies never share them.

#include <filesystem>
#include <optional>

#include "paths/scratch_directory.h"

namespace orvex {

class ProgramPaths {
 public:
  // An empty directory: no safe place was found, and the files are not written
  // (their paths are then empty too).
  explicit ProgramPaths(std::filesystem::path directory) : m_directory(std::move(directory)) {}

  bool available() const { return !m_directory.empty(); }
  const std::filesystem::path& directory() const { return m_directory; }
  std::filesystem::path configFile() const { return file("config.dat"); }
  std::filesystem::path menuFile() const { return file("menu.cfg"); }
  std::filesystem::path blockClipboardFile() const { return file("bloc.txt"); }
  std::filesystem::path releaseNotesFile() const { return file("nouveautes.txt"); }
  // The window's preferences beyond config.dat: line numbers, font, recent files...
  std::filesystem::path preferencesFile() const { return file("orvex.conf"); }

 private:
  std::filesystem::path file(const char* name) const {
    return available() ? m_directory / name : std::filesystem::path();
  }

  std::filesystem::path m_directory;
};

// The executable's directory when the user owns it, may write it, no other user may
// write it (mode bits and ACL: a directory where another user could put a menu.cfg
// is not trusted, sticky or not) and it is neither a
// system directory nor an installed copy's (a build tree, a portable copy); otherwise $XDG_CONFIG_HOME/orvex
// (default ~/.config/orvex), created 0700 when needed and used only when it is a real
// directory of the user's that nobody else may write. Never a shared temporary
// directory: without a safe place, nothing.
std::optional<std::filesystem::path> resolveProgramDirectory(const std::filesystem::path& executableDirectory);

// The directory of the running executable.
std::filesystem::path runningExecutableDirectory();

}  // namespace orvex
