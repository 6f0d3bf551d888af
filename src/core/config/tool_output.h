#pragma once
// A user tool started with its standard output and error captured: they go to a
// file without a name (so nothing is left behind, whatever happens), which is read
// once the tool has ended. The tool runs in a session of its own and outlives the
// program; if the program ends first, the output is simply dropped.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/file_handle.h"

namespace orvex {

// A file without a name, open for reading and writing by its owner only, in the
// first of `directories` that takes one: made unnamed from the start where the file
// system allows it, else created and removed at once. Not open when none could.
FileHandle createAnonymousFile(const std::vector<std::filesystem::path>& directories);

class ToolRun {
 public:
  // A run with nothing to watch (nothing will be shown).
  ToolRun() = default;
  ToolRun(FileHandle output, FileHandle end) : m_output(std::move(output)), m_end(std::move(end)) {}

  // Whether the tool's end can be waited for.
  bool isWatched() const { return m_end.isOpen() && m_output.isOpen(); }
  // Becomes readable when the tool has ended.
  int endDescriptor() const { return m_end.get(); }
  // What the tool wrote, as UTF-8 text (see outputText), at most `limit` bytes of
  // it; empty when it wrote nothing or the file cannot be read.
  std::string output(std::size_t limit) const;

 private:
  FileHandle m_output;
  FileHandle m_end;
};

// Starts `command` in `directory`, its output going to an unnamed file in
// `outputDirectory` or, failing that, the temporary directories (nowhere when none
// takes it). Nothing when the tool could not be started.
std::optional<ToolRun> startToolWithOutput(const std::vector<std::string>& command, const std::string& directory,
                                           const std::filesystem::path& outputDirectory);

// A tool's output as UTF-8: unchanged when it is valid UTF-8, read as Windows-1252
// otherwise.
std::string outputText(std::string_view bytes);

}  // namespace orvex
