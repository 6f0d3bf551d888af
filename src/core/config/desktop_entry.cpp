#include "config/desktop_entry.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "text/utf8.h"

namespace orvex {

namespace {

// An argument of the Exec key: in double quotes, with ", `, $ and \ escaped by a
// backslash, and % doubled since it introduces the field codes.
std::string quotedArgument(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// The command line of the entry, before the value's own escaping. GIO checks that
// the program exists before it turns "%%" back into "%", so it drops an entry
// whose program path holds a "%". Such a path goes to the shell as an argument
// instead (never as shell text), and the shell runs it with the file.
std::string execLine(const std::string& executable) {
  if (executable.find('%') == std::string::npos) return quotedArgument(executable) + " %f";
  return "/bin/sh -c " + quotedArgument("exec \"$0\" \"$@\"") + " " + quotedArgument(executable) + " %f";
}

// A value of a desktop entry cannot hold a line break or a backslash as such.
std::string escapedValue(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\')
      escaped += "\\\\";
    else if (c == '\n')
      escaped += "\\n";
    else if (c == '\r')
      escaped += "\\r";
    else
      escaped += c;
  }
  return escaped;
}

}  // namespace

std::filesystem::path desktopEntryDirectory() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
    return std::filesystem::path(data) / "applications";
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return std::filesystem::path(home) / ".local" / "share" / "applications";
  return {};
}

std::optional<std::string> runningExecutable() {
  std::string path(256, '\0');
  while (true) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return std::nullopt;
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      return path;
    }
    // Possibly cut short: try again with more room.
    path.resize(path.size() * 2);
  }
}

std::string desktopEntryText(const std::string& executable) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Ouvrir avec Orvex\n"
         "Exec=" +
         escapedValue(execLine(executable)) +
         "\n"
         "MimeType=text/plain;\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

Status declareDesktopEntry(const std::filesystem::path& directory, const std::string& executable) {
  if (!isValidUtf8(executable))
    return Status::failure(
        "Impossible de déclarer Orvex dans le gestionnaire de fichiers : le chemin du "
        "programme n'est pas en UTF-8.");
  const auto failed = [] { return Status::failure("Echec à la définition des données pour ''"); };
  if (directory.empty()) return failed();
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  try {
    writeFileAtomically(directory / kDesktopEntryName, desktopEntryText(executable), LinkPolicy::OwnLinksOnly);
  } catch (const IoFailure&) {
    return failed();
  }
  return {};
}

void removeDesktopEntry(const std::filesystem::path& directory) {
  if (!directory.empty()) removeQuietly(directory / kDesktopEntryName);
}

}  // namespace orvex
