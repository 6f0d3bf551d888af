#pragma once
// The byte work of accent removal over one line, in UTF-8 and in Windows-1252:
// fifteen lower-case accented letters become plain letters (à â ä è é ê ë î ï ô ö
// ù û ü ÿ); every other character, capitals and ç included, stays.

#include <cstddef>
#include <string_view>

namespace orvex {

// How many bytes past the end of the line removeUtf8Accents() may read, and past
// out + line.size() it may write: it works on 16-byte blocks and sets aside what
// lies past the line.
inline constexpr std::size_t kAccentSlack = 16;

// Writes the line without its accents at `out` and returns how many bytes: at most
// line.size(). With `check`, raises NotUtf8 at the first malformed character; without,
// a malformed sequence is copied as it is.
std::size_t removeUtf8Accents(std::string_view line, char* out, bool check);

// The same by the blocks every x86-64 processor handles, which removeUtf8Accents()
// uses where SSSE3 is missing; elsewhere one character at a time.
std::size_t removeUtf8AccentsPortably(std::string_view line, char* out, bool check);

// Writes line.size() bytes at `out`.
void removeWindows1252Accents(std::string_view line, char* out);

}  // namespace orvex
