#include "config/menu_config.h"

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "io/line_reader.h"
#include "io/line_writer.h"

namespace orvex {

namespace {

bool contains(std::string_view line, std::string_view key) { return line.find(key) != std::string_view::npos; }

bool isBlank(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) > 32) return false;
  return true;
}

void replaceFirst(std::string& text, std::string_view variable, std::string_view value) {
  const auto at = text.find(variable);
  if (at != std::string::npos) text.replace(at, variable.size(), value);
}

}  // namespace

std::string joinToolEntry(const ToolEntry& entry) {
  std::string joined = entry.label;
  joined.append(kEntrySeparator).append(entry.program).append(kEntrySeparator).append(entry.parameters);
  return joined;
}

ToolEntry splitToolEntry(std::string_view entry) {
  ToolEntry tool;
  const auto first = entry.find(kEntrySeparator);
  if (first == std::string_view::npos) {
    tool.label = entry;
    return tool;
  }
  tool.label = entry.substr(0, first);
  const auto rest = entry.substr(first + kEntrySeparator.size());
  const auto second = rest.find(kEntrySeparator);
  if (second == std::string_view::npos) {
    tool.program = rest;
    return tool;
  }
  tool.program = rest.substr(0, second);
  tool.parameters = rest.substr(second + kEntrySeparator.size());
  return tool;
}

std::string_view valueOf(std::string_view line) {
  const auto equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
}

std::vector<std::string> readMenuLines(const std::filesystem::path& path) {
  LineReader reader(path, true);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) lines.emplace_back(line);
  return lines;
}

ToolList loadToolList(const std::vector<std::string>& lines) {
  ToolList list;
  for (const auto& line : lines) {
    if (contains(line, kMenuTitleKey)) {
      list.title = valueOf(line);
    } else if (contains(line, kToolLabelKey)) {
      list.entries.emplace_back(valueOf(line));
    } else if (!list.entries.empty()) {
      // A program or parameter line before any tool has no entry to extend.
      list.entries.back().append(kEntrySeparator).append(valueOf(line));
    }
  }
  return list;
}

std::vector<ToolMenu> buildToolMenus(const std::vector<std::string>& lines) {
  std::vector<ToolMenu> menus;
  for (const auto& line : lines) {
    // The two rules are independent: a line holding both keys opens a menu and
    // adds an item to it.
    if (contains(line, kMenuTitleKey)) menus.push_back({std::string(valueOf(line)), {}});
    if (contains(line, kToolLabelKey)) {
      if (menus.empty()) menus.push_back({std::nullopt, {}});
      menus.back().labels.emplace_back(valueOf(line));
    }
  }
  return menus;
}

ToolListSave saveToolList(const std::filesystem::path& path, const std::string& title,
                          const std::vector<std::string>& entries, Status& status) {
  status = {};
  if (isBlank(title)) return isExistingFile(path) ? ToolListSave::TitleMissing : ToolListSave::NotWritten;
  if (entries.empty()) return ToolListSave::NotWritten;
  try {
    AtomicFile file(path, std::nullopt, LinkPolicy::OwnLinksOnly);
    LineWriter writer(file.fd(), TextFormat{Encoding::Windows1252, false, LineBreak::CrLf, true});
    writer.put(std::string(kMenuTitleKey) + title);
    for (const auto& entry : entries) {
      const ToolEntry tool = splitToolEntry(entry);
      writer.put(std::string(kToolLabelKey) + tool.label);
      writer.put(std::string(kToolProgramKey) + tool.program);
      writer.put(std::string(kToolParametersKey) + tool.parameters);
    }
    writer.finish();
    file.commit();
    return ToolListSave::Written;
  } catch (const IoFailure& failure) {
    status = Status::failure(failure.what());
    return ToolListSave::NotWritten;
  }
}

ToolLaunch findTool(const std::vector<std::string>& lines, std::string_view caption) {
  std::string label(caption);
  if (const auto ampersand = label.find('&'); ampersand != std::string::npos) label.erase(ampersand, 1);
  const std::string key = std::string(kToolLabelKey) + label;
  ToolLaunch launch;
  bool found = false;
  for (const auto& line : lines) {
    if (contains(line, key)) found = true;
    if (!found) continue;
    if (contains(line, kToolProgramKey)) launch.program = valueOf(line);
    if (contains(line, kToolParametersKey)) {
      launch.parameters = valueOf(line);
      break;
    }
  }
  return launch;
}

std::string substituteToolVariables(std::string parameters, const std::string& currentFileName,
                                    const std::string& selection) {
  std::string name;
  std::string directory;
  if (!currentFileName.empty()) {
    const std::filesystem::path path(currentFileName);
    name = path.filename().string();
    directory = path.parent_path().string();
    if (!directory.empty() && directory.back() != '/') directory += '/';
  }
  replaceFirst(parameters, "$NomFic", name);
  replaceFirst(parameters, "$CheminFic", directory);
  replaceFirst(parameters, "$Selection", selection);
  return parameters;
}

}  // namespace orvex
