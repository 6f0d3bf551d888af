#pragma once
// The file manager's "Ouvrir avec Orvex": a freedesktop desktop entry that offers
// the running executable for text files, written where the user's own application
// entries live.

#include <filesystem>
#include <optional>
#include <string>

#include "io/status.h"

namespace orvex {

// $XDG_DATA_HOME/applications, by default ~/.local/share/applications; empty when
// neither variable gives an absolute path.
std::filesystem::path desktopEntryDirectory();

inline constexpr const char* kDesktopEntryName = "orvex-ouvrir-avec.desktop";

// The path of the running executable as the system has it, bytes unchanged; none
// when it cannot be read.
std::optional<std::string> runningExecutable();

// The entry's text for `executable` (UTF-8), quoted as the desktop entry format
// wants. It is declared for text/plain, which the desktop's lookups extend to
// every text type.
std::string desktopEntryText(const std::string& executable);

// Writes the entry (replacing an earlier one) into `directory`, created when needed.
// An executable path that is not UTF-8 cannot be named by an entry: nothing is
// written. On failure the message to show is given back.
Status declareDesktopEntry(const std::filesystem::path& directory, const std::string& executable);

// Removes the entry; nothing happens when there is none.
void removeDesktopEntry(const std::filesystem::path& directory);

}  // namespace orvex
