#pragma once
// The file manager's "Ouvrir avec Orvex": a freedesktop desktop entry that offers
// the running executable for every file type, written where the user's own
// application entries live.

#include <filesystem>
#include <string>

#include "text/messages.h"

namespace orvex {

// $XDG_DATA_HOME/applications, by default ~/.local/share/applications; empty when
// neither variable gives an absolute path.
std::filesystem::path desktopEntryDirectory();

inline constexpr const char* kDesktopEntryName = "orvex-ouvrir-avec.desktop";

// The entry's text for `executable`, quoted as the desktop entry format wants.
std::string desktopEntryText(const std::filesystem::path& executable);

// Writes the entry (replacing an earlier one) into `directory`, created when needed.
// On failure the message is "Echec à la définition des données pour ''".
Status declareDesktopEntry(const std::filesystem::path& directory, const std::filesystem::path& executable);

// Removes the entry; nothing happens when there is none.
void removeDesktopEntry(const std::filesystem::path& directory);

}  // namespace orvex
