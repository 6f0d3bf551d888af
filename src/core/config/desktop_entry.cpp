#include "config/desktop_entry.h"

#include <cstdlib>
#include <system_error>

#include "io/atomic_file.h"
#include "io/file_handle.h"

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

std::string desktopEntryText(const std::filesystem::path& executable) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Ouvrir avec Orvex\n"
         "Exec=" + escapedValue(quotedArgument(executable.string())) + " %f\n"
         "MimeType=application/octet-stream;\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

Status declareDesktopEntry(const std::filesystem::path& directory, const std::filesystem::path& executable) {
  const Status failed = Status::failure("Echec à la définition des données pour ''");
  if (directory.empty()) return failed;
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  try {
    writeFileAtomically(directory / kDesktopEntryName, desktopEntryText(executable), LinkPolicy::OwnLinksOnly);
  } catch (const IoFailure&) {
    return failed;
  }
  return {};
}

void removeDesktopEntry(const std::filesystem::path& directory) {
  if (!directory.empty()) removeQuietly(directory / kDesktopEntryName);
}

}  // namespace orvex
