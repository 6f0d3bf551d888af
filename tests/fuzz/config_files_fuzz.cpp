// The program's own files read back from any bytes: config.dat, menu.cfg and the
// block clipboard bloc.txt. Nothing may crash, and what is written reads back.

#include <cstdint>

#include "config/menu_config.h"
#include "config/tool_command.h"
#include "editing/block_operations.h"
#include "fuzz_support.h"
#include "settings/settings_record.h"
#include "tools/progress.h"

using namespace orvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::asText(data, size);

  const auto settings = fuzz::scratchFile("config.dat");
  writeWholeFile(settings, text);
  const SettingsReadResult read = readSettings(settings);
  if (read.record) {
    fuzz::require(writeSettings(settings, *read.record).ok(), "settings written");
    const SettingsReadResult again = readSettings(settings);
    fuzz::require(again.record && again.record->toBytes() == read.record->toBytes(), "settings read back");
  }

  const auto menu = fuzz::scratchFile("menu.cfg");
  writeWholeFile(menu, text);
  const Result<MenuFile> menuRead = readMenuFile(menu);
  fuzz::require(menuRead.ok(), "menu.cfg read");
  const MenuFile& file = menuRead.value();
  const std::vector<std::string>& lines = file.lines;
  buildToolMenus(lines);
  const ToolList list = loadToolList(lines);
  for (const ToolEntry& tool : list.entries) {
    toolArguments(tool.parameters, "/tmp/doc.txt", "sélection");
    fuzz::require(findTool(lines, tool.label).has_value(), "listed tool found");
  }
  Status status;
  if (saveToolList(menu, list.title.value_or(""), list.entries, file.encoding, status) == ToolListSave::Written) {
    const ToolList again = loadToolList(readMenuFile(menu).value().lines);
    fuzz::require(again.title == list.title, "menu title read back");
    fuzz::require(again.entries.size() == list.entries.size(), "every tool read back");
  }

  const auto document = fuzz::scratchFile("document.txt");
  const auto clipboard = fuzz::scratchFile("bloc.txt");
  writeWholeFile(document, text);
  BlockAnchor anchor;
  if (size >= 4) {
    anchor.startColumn = data[0] % 16;
    anchor.startLine = data[1] % 16;
    anchor.endColumn = data[2] % 16;
    anchor.endLine = data[3] % 16;
  }
  Progress progress;
  copyBlock(document, TextFormat{}, anchor, clipboard, progress);
  return 0;
}
