#pragma once
// The Windows-1252 code page: Latin-1 plus the printable characters it puts at
// 0x80 to 0x9F (€, ‚, œ, ’, …), for typing into and showing documents in it.

#include <string>
#include <string_view>

namespace orvex {

// The character a byte stands for; the five unassigned bytes stand for themselves.
char32_t decodeWindows1252(unsigned char byte);

// The bytes for a text given as UTF-8; a character the code page lacks becomes "?".
std::string encodeWindows1252(std::string_view utf8);

}  // namespace orvex
