#include "config/menu_config.h"

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {

namespace {

bool contains(std::string_view line, std::string_view key) { return line.find(key) != std::string_view::npos; }

struct LineKeys {
  bool title = false;
  bool label = false;
  bool program = false;
  bool parameters = false;
};

LineKeys keysOf(std::string_view line) {
  LineKeys keys;
  if (line.starts_with(kMenuTitleKey)) {
    keys.title = true;
  } else if (line.starts_with(kToolLabelKey)) {
    keys.label = true;
  } else if (line.starts_with(kToolProgramKey)) {
    keys.program = true;
  } else if (line.starts_with(kToolParametersKey)) {
    keys.parameters = true;
  } else {
    keys = {contains(line, kMenuTitleKey), contains(line, kToolLabelKey), contains(line, kToolProgramKey),
            contains(line, kToolParametersKey)};
  }
  return keys;
}

std::string withoutLineBreaks(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  return value;
}

bool isBlank(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) > 32) return false;
  return true;
}

// The lines in Windows-1252 when they all fit and would not read back as UTF-8
// (the reader takes a file that is valid UTF-8 for UTF-8); otherwise unchanged.
std::vector<std::string> windows1252LinesOrUtf8(std::vector<std::string> lines) {
  std::vector<std::string> encoded;
  bool readsAsUtf8 = true;
  for (const auto& line : lines) {
    if (!fitsWindows1252(line)) return lines;
    encoded.push_back(encodeWindows1252(line));
    if (!isValidUtf8(encoded.back())) readsAsUtf8 = false;
  }
  bool ascii = true;
  for (const auto& line : lines)
    for (const char c : line)
      if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  return readsAsUtf8 && !ascii ? lines : encoded;
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

MenuFile readMenuFile(const std::filesystem::path& path) {
  LineReader reader(path, true, LinkPolicy::OwnLinksOnly);
  MenuFile file;
  std::string_view line;
  while (reader.next(line)) {
    file.lines.emplace_back(line);
    if (file.encoding == Encoding::Utf8 && !isValidUtf8(line)) file.encoding = Encoding::Windows1252;
  }
  if (file.encoding == Encoding::Windows1252) {
    for (auto& text : file.lines) {
      std::string converted;
      appendWindows1252AsUtf8(text, converted);
      text = std::move(converted);
    }
  }
  return file;
}

ToolList loadToolList(const std::vector<std::string>& lines) {
  ToolList list;
  for (const auto& line : lines) {
    const LineKeys keys = keysOf(line);
    if (keys.title) {
      list.title = valueOf(line);
    } else if (keys.label) {
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
    // The two rules are independent: a hand-written line holding both keys opens a
    // menu and adds an item to it.
    const LineKeys keys = keysOf(line);
    if (keys.title) menus.push_back({std::string(valueOf(line)), {}});
    if (keys.label) {
      if (menus.empty()) menus.push_back({std::nullopt, {}});
      menus.back().labels.emplace_back(valueOf(line));
    }
  }
  return menus;
}

ToolListSave saveToolList(const std::filesystem::path& path, const std::string& title,
                          const std::vector<std::string>& entries, Encoding encoding, Status& status) {
  status = {};
  if (isBlank(title)) return isExistingFile(path) ? ToolListSave::TitleMissing : ToolListSave::NotWritten;
  if (entries.empty()) return ToolListSave::NotWritten;
  std::vector<std::string> lines{std::string(kMenuTitleKey) + withoutLineBreaks(title)};
  for (const auto& entry : entries) {
    const ToolEntry tool = splitToolEntry(entry);
    lines.push_back(std::string(kToolLabelKey) + withoutLineBreaks(tool.label));
    lines.push_back(std::string(kToolProgramKey) + withoutLineBreaks(tool.program));
    lines.push_back(std::string(kToolParametersKey) + withoutLineBreaks(tool.parameters));
  }
  if (encoding == Encoding::Windows1252) lines = windows1252LinesOrUtf8(std::move(lines));
  try {
    AtomicFile file(path, std::nullopt, LinkPolicy::OwnLinksOnly);
    LineWriter writer(file.fd(), TextFormat{Encoding::Utf8, false, LineBreak::CrLf, true});
    for (const auto& line : lines) writer.put(line);
    writer.finish();
    file.commit();
    return ToolListSave::Written;
  } catch (const IoFailure& failure) {
    status = Status::failure(failure.what());
    return ToolListSave::NotWritten;
  }
}

ToolLaunch findTool(const std::vector<std::string>& lines, std::string_view label) {
  ToolLaunch launch;
  bool found = false;
  for (const auto& line : lines) {
    const LineKeys keys = keysOf(line);
    if (keys.label && valueOf(line) == label) found = true;
    if (!found) continue;
    if (keys.program) launch.program = valueOf(line);
    if (keys.parameters) {
      launch.parameters = valueOf(line);
      break;
    }
  }
  return launch;
}

}  // namespace orvex
