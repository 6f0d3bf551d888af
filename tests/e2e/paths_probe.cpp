// Run by the two-user tests as an unprivileged user: says what the program would
// decide and read there, one line per question, with the program's own functions.
//   orvex_paths_probe directory EXE_DIR   the program directory for that executable
//   orvex_paths_probe read DIR            config.dat, menu.cfg and bloc.txt as read there
//   orvex_paths_probe scratch             the directory a scratch directory goes in
//   orvex_paths_probe journals DIR        the orphaned journals of DIR/recuperation as a
//                                         start treats them: read, set aside unread, or
//                                         kept in place when they cannot be set aside

#include <cstring>
#include <iostream>

#include "config/menu_config.h"
#include "editing/block_operations.h"
#include "io/file_handle.h"
#include "paths/program_paths.h"
#include "recovery/journal_directory.h"
#include "recovery/journal_format.h"
#include "settings/settings_record.h"
#include "tool_runner.h"

using namespace orvex;

namespace {

void readAll(const std::filesystem::path& directory) {
  const ProgramPaths paths(directory);
  const SettingsReadResult settings = readSettings(paths.configFile());
  std::cout << "config.dat: " << (settings.record ? "lu" : settings.error.empty() ? "absent" : settings.error) << '\n';
  std::cout << "menu.cfg: ";
  const Result<MenuFile> menu = readMenuFile(paths.menuFile());
  if (menu.ok())
    std::cout << menu.value().lines.size() << " lignes\n";
  else
    std::cout << menu.error() << '\n';
  std::cout << "bloc.txt: ";
  try {
    ColumnInsertTool paste(paths.blockClipboardFile(), 0, -1, Encoding::Utf8, LinkPolicy::OwnLinksOnly);
    const std::size_t lines = test::runTool(paste, {}).lines.size();
    std::cout << lines << " lignes\n";
  } catch (const IoFailure& failure) {
    std::cout << failure.what() << '\n';
  }
}

int recoverAll(const std::filesystem::path& directory) {
  Result<JournalDirectory> journals = JournalDirectory::open(directory);
  if (!journals.ok()) {
    std::cout << "refusé: " << journals.error() << '\n';
    return 1;
  }
  for (const JournalSlot& slot : journals.value().takeOrphans()) {
    Result<FileHandle> file = journals.value().openJournal(slot);
    Result<JournalLayout> layout =
        file.ok() ? readJournalForRecovery(file.value().get()) : Status::failure(file.error());
    if (layout.ok()) {
      std::string text(layout.value().textLength, '\0');
      readFull(file.value().get(), text.data(), text.size(), static_cast<off_t>(layout.value().textOffset));
      std::cout << "lu: " << text << '\n';
      journals.value().release(slot);
    } else if (const Result<std::string> aside = journals.value().setAside(slot); aside.ok()) {
      std::cout << "mis de côté: " << aside.value() << '\n';
    } else {
      std::cout << "gardé: " << slot.journalName() << '\n';
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "directory") == 0) {
    std::cout << resolveProgramDirectory(argv[2]).value_or("aucun").string() << '\n';
  } else if (argc == 3 && std::strcmp(argv[1], "read") == 0) {
    readAll(argv[2]);
  } else if (argc == 3 && std::strcmp(argv[1], "journals") == 0) {
    return recoverAll(argv[2]);
  } else if (argc == 2 && std::strcmp(argv[1], "scratch") == 0) {
    try {
      const ScratchDirectory scratch;
      std::cout << scratch.path().parent_path().string() << '\n';
    } catch (const IoFailure& failure) {
      std::cout << failure.what() << '\n';
      return 1;
    }
  } else {
    return 2;
  }
  return 0;
}
