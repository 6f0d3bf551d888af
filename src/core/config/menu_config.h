#pragma once
// The user tools file menu.cfg: one "MENU-GENERAL=" line with the menu title, then
// "MENU=", "CHEMIN=" and "PARAMETRE=" lines for each tool. Keys are found anywhere
// in a line and a value is everything after the line's first "=".

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "text/messages.h"

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

// "label || program || parameters", and back: the label is the text before the
// first separator, the program the text up to the second, the parameters the rest.
std::string joinToolEntry(const ToolEntry& entry);
ToolEntry splitToolEntry(std::string_view entry);

// The text after the line's first "=".
std::string_view valueOf(std::string_view line);

// The lines of menu.cfg, with CR LF or LF endings. Throws IoFailure.
std::vector<std::string> readMenuLines(const std::filesystem::path& path);

// What the configuration list loads: the menu title and one joined entry per tool.
struct ToolList {
  std::string title;
  std::vector<std::string> entries;
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

// Saves the configuration list: nothing is written without a title (TitleMissing
// when a file exists, so the caller shows "Vous devez saisir un nom pour le menu
// général.") or without entries; otherwise the file is replaced.
ToolListSave saveToolList(const std::filesystem::path& path, const std::string& title,
                          const std::vector<std::string>& entries, Status& status);

// The program and parameters of the tool clicked under `caption`: the first "&" of
// the caption is dropped and the first line containing "MENU=" + label starts the
// search. An empty program means nothing to launch.
struct ToolLaunch {
  std::string program;
  std::string parameters;
};
ToolLaunch findTool(const std::vector<std::string>& lines, std::string_view caption);

// Replaces the first "$NomFic", then the first "$CheminFic", then the first
// "$Selection" of `parameters`. The directory ends with "/"; both are empty for a
// document without file.
std::string substituteToolVariables(std::string parameters, const std::string& currentFileName,
                                    const std::string& selection);

}  // namespace orvex
