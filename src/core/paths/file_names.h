#pragma once
// File names are bytes on Linux, and a name from an old Latin-1 archive is not
// UTF-8. These helpers keep the bytes of a name wherever it goes and turn it into
// text only to show it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// The name as UTF-8 text: valid UTF-8 is kept, every byte that is not part of a
// valid sequence becomes U+FFFD. Shown names compare equal to the toolkit's own
// decoding of the same bytes.
std::string shownName(std::string_view bytes);

// The local file the first entry of a text/uri-list names ("file:///..." or
// "file://localhost/..."), its %XX escapes decoded to the bytes they stand for;
// nothing for any other kind of address.
std::optional<std::filesystem::path> localFileFromUriList(std::string_view uriList);

// A file dialog returns the shown name of what the user picked: the bytes are found
// again, component by component, among the directories' entries. A component that
// no entry shows as (a new file to save) is taken as UTF-8. `ambiguous` when two
// entries of one directory show alike: the name then picks none of them.
struct NameLookup {
  std::filesystem::path path;
  bool ambiguous = false;
};
NameLookup findShownPath(std::string_view shown);

}  // namespace orvex
