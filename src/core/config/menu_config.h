#pragma once
// The user tools file menu.cfg: one "MENU-GENERAL=" line with the menu title, then
// "MENU=", "CHEMIN=" and "PARAMETRE=" lines for each tool. A value is everything
// after the line's first "=". A line that starts with a key is that key's line
// alone, so a path or a label holding another key stays where it was written; in
// other (hand-written) lines the keys are found anywhere.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/status.h"
#include "text/text_format.h"

namespace orvex {

inline constexpr std::string_view kMenuTitleKey = "MENU-GENERAL=";
inline constexpr std::string_view kToolLabelKey = "MENU=";
inline constexpr std::string_view kToolProgramKey = "CHEMIN=";
inline constexpr std::string_view kToolParametersKey = "PARAMETRE=";
inline constexpr std::string_view kEntrySeparator = " || ";

// A tool as the configuration list holds it: label, program and parameters.
struct ToolEntry {
  std::string label;
  std::string program;
  std::string parameters;
  bool operator==(const ToolEntry&) const = default;
};

// "label || program || parameters", as the configuration list shows a tool. Only
// shown: a value may hold the separator itself, so the text is never split again.
std::string joinToolEntry(const ToolEntry& entry);

// The text after the line's first "=".
std::string_view valueOf(std::string_view line);

// menu.cfg as UTF-8 lines, CR LF or LF ended, and the encoding the file was in:
// UTF-8 when it is valid UTF-8, otherwise Windows-1252.
struct MenuFile {
  std::vector<std::string> lines;
  Encoding encoding = Encoding::Utf8;
};
// A symbolic link another user owns is never followed: a failure, as for an unreadable file.
Result<MenuFile> readMenuFile(const std::filesystem::path& path);

// What the configuration list loads: the menu title and the tools. A tool's
// program and parameters are its own "CHEMIN=" and "PARAMETRE=" lines: those
// before the next "MENU=" or title line; a missing line gives an empty value.
struct ToolList {
  std::optional<std::string> title;  // none without a title line
  std::vector<ToolEntry> entries;
};
ToolList loadToolList(const std::vector<std::string>& lines);

// The menus the main window builds: one per title line, holding the labels that
// follow it. Labels before any title line go to a group without title, which the
// window adds to its "&Affichage" menu.
struct ToolMenu {
  std::optional<std::string> title;
  std::vector<std::string> labels;
};
std::vector<ToolMenu> buildToolMenus(const std::vector<std::string>& lines);

enum class ToolListSave { Written, NotWritten, TitleMissing };

// Saves the configuration list (UTF-8 text) in `encoding`, or in UTF-8 when the
// text does not fit Windows-1252. Nothing is written without a title (TitleMissing
// when a file exists, so the caller shows "Vous devez saisir un nom pour le menu
// général.") or without entries; otherwise the file is replaced. Every value is
// written whole after its key, whatever it holds; only a line break inside a value
// becomes a blank, since it would split the value into a line of its own.
ToolListSave saveToolList(const std::filesystem::path& path, const std::string& title,
                          const std::vector<ToolEntry>& entries, Encoding encoding, Status& status);

// The program and parameters of the tool whose label is exactly `label`, from the
// first line naming it and, like the list, only up to the next tool or title.
// None when no line names the tool; no program when the tool has no "CHEMIN="
// line (it must be configured again); an empty program means nothing to launch.
struct ToolLaunch {
  std::optional<std::string> program;
  std::string parameters;
};
std::optional<ToolLaunch> findTool(const std::vector<std::string>& lines, std::string_view label);

}  // namespace orvex
