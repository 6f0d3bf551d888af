#include "config/tool_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/detached_launch.h"
#include "io/status.h"
#include "paths/scratch_directory.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {

FileHandle createAnonymousFile(const std::vector<std::filesystem::path>& directories) {
  for (const std::filesystem::path& directory : directories) {
    if (directory.empty()) continue;
    const int unnamed = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (unnamed >= 0) return FileHandle(unnamed);
    // Only a file system without unnamed files is worth the named way; any other
    // failure (no such directory, no right to write) would fail there too.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) continue;
    std::string name = (directory / ".orvex-sortie-XXXXXX").native();
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named < 0) continue;
    FileHandle file(named);
    if (::unlink(name.c_str()) == 0) return file;
  }
  return {};
}

std::string ToolRun::output(std::size_t limit) const {
  struct stat info {};
  if (!m_output.isOpen() || ::fstat(m_output.get(), &info) != 0 || info.st_size <= 0) return {};
  std::string bytes(std::min(limit, static_cast<std::size_t>(info.st_size)), '\0');
  try {
    // Read at an offset: the tool's children may still write through the same
    // open file, whose position must stay theirs.
    bytes.erase(readFull(m_output.get(), bytes.data(), bytes.size(), off_t{0}));
  } catch (const IoFailure&) {
    return {};
  }
  // A limit that cuts a UTF-8 character leaves the text UTF-8 still.
  if (static_cast<std::size_t>(info.st_size) > bytes.size() && !isValidUtf8(bytes))
    for (std::size_t cut = 1; cut <= 3 && cut < bytes.size(); ++cut)
      if (isValidUtf8(std::string_view(bytes.data(), bytes.size() - cut))) {
        bytes.erase(bytes.size() - cut);
        break;
      }
  if (isValidUtf8(bytes)) return bytes;
  return outputText(bytes);
}

std::optional<ToolRun> startToolWithOutput(const std::vector<std::string>& command, const std::string& directory,
                                           const std::filesystem::path& outputDirectory) {
  std::vector<std::filesystem::path> directories{outputDirectory};
  for (const std::filesystem::path& base : temporaryBases()) directories.push_back(base);
  FileHandle output = createAnonymousFile(directories);
  // With nowhere to keep it, the output is thrown away rather than mixed into the
  // program's own.
  if (!output.isOpen()) output = FileHandle(::open("/dev/null", O_WRONLY | O_CLOEXEC));
  std::optional<FileHandle> end = startWatchedProcess(command, directory, output.get());
  if (!end) return std::nullopt;
  return ToolRun(std::move(output), std::move(*end));
}

std::string outputText(std::string_view bytes) {
  std::string text;
  if (isValidUtf8(bytes)) return text.assign(bytes.data(), bytes.size());
  appendWindows1252AsUtf8(bytes, text);
  return text;
}

}  // namespace orvex
