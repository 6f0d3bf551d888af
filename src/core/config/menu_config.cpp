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

// The tool whose "MENU=" line is lines[first]: its keys are read from that line up
// to its "PARAMETRE=" line, stopping early at the next tool or title line, so a
// tool never takes another tool's program. Of several "CHEMIN=" lines, the last
// one before the parameters counts.
struct ToolKeys {
  ToolEntry entry;
  bool programGiven = false;
};

ToolKeys toolKeysAt(const std::vector<std::string>& lines, std::size_t first) {
  ToolKeys tool;
  tool.entry.label = valueOf(lines[first]);
  for (std::size_t i = first; i < lines.size(); ++i) {
    const LineKeys keys = keysOf(lines[i]);
    if (i > first && (keys.label || keys.title)) break;
    if (keys.program) {
      tool.entry.program = valueOf(lines[i]);
      tool.programGiven = true;
    }
    if (keys.parameters) {
      tool.entry.parameters = valueOf(lines[i]);
      break;
    }
  }
  return tool;
}

MenuFile readMenuLines(const std::filesystem::path& path) {
  LineReader reader(path, true, LinkPolicy::OwnLinksOnly);
  MenuFile file;
  std::string_view line;
  while (reader.next(line)) {
    file.lines.emplace_back(line);
    if (file.encoding == Encoding::Utf8) file.encoding = textEncoding(line);
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

}  // namespace

std::string joinToolEntry(const ToolEntry& entry) {
  std::string joined = entry.label;
  joined.append(kEntrySeparator).append(entry.program).append(kEntrySeparator).append(entry.parameters);
  return joined;
}

std::string_view valueOf(std::string_view line) {
  const auto equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
}

Result<MenuFile> readMenuFile(const std::filesystem::path& path) {
  return resultOf([&path] { return readMenuLines(path); });
}

ToolList loadToolList(const std::vector<std::string>& lines) {
  ToolList list;
  // A program or parameter line before any tool belongs to no tool.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const LineKeys keys = keysOf(lines[i]);
    if (keys.title)
      list.title = valueOf(lines[i]);
    else if (keys.label)
      list.entries.push_back(toolKeysAt(lines, i).entry);
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
                          const std::vector<ToolEntry>& entries, Encoding encoding, Status& status) {
  status = {};
  if (isBlank(title)) return isExistingFile(path) ? ToolListSave::TitleMissing : ToolListSave::NotWritten;
  if (entries.empty()) return ToolListSave::NotWritten;
  std::vector<std::string> lines{std::string(kMenuTitleKey) + withoutLineBreaks(title)};
  for (const ToolEntry& tool : entries) {
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

std::optional<ToolLaunch> findTool(const std::vector<std::string>& lines, std::string_view label) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!keysOf(lines[i]).label || valueOf(lines[i]) != label) continue;
    ToolKeys tool = toolKeysAt(lines, i);
    ToolLaunch launch;
    if (tool.programGiven) launch.program = std::move(tool.entry.program);
    launch.parameters = std::move(tool.entry.parameters);
    return launch;
  }
  return std::nullopt;
}

}  // namespace orvex
