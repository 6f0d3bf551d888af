#pragma once
// The Windows-1252 code page as a one-to-one map onto Unicode: Latin-1 plus the
// printable characters it puts at 0x80 to 0x9F (€, ‚, œ, ’, …), its five unassigned
// bytes (0x81 0x8D 0x8F 0x90 0x9D) standing for the control characters of the same
// code. So a Windows-1252 text can be held as UTF-8 and turned back into exactly
// its bytes.

#include <string>
#include <string_view>

#include "text/text_format.h"

namespace orvex {

// The character a byte stands for.
char32_t decodeWindows1252(unsigned char byte);

// Appends the UTF-8 form of Windows-1252 bytes to `out`. Each byte maps on its
// own, so a text may be converted piece by piece, cut anywhere.
void appendWindows1252AsUtf8(std::string_view bytes, std::string& out);
// The size of that UTF-8 form.
std::size_t utf8SizeOfWindows1252(std::string_view bytes);

// Whether every character of a UTF-8 text has a byte in the code page.
bool fitsWindows1252(std::string_view utf8);

// The bytes for a text given as UTF-8; a character the code page lacks (see
// fitsWindows1252) becomes "?".
std::string encodeWindows1252(std::string_view utf8);

// The encoding of a document once a UTF-8 text (typed, replaced) comes into it: a
// Windows-1252 document stays so when the text fits the code page, and turns UTF-8
// otherwise.
Encoding encodingWithText(Encoding document, std::string_view utf8);

}  // namespace orvex
