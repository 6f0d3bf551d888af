#pragma once
// What the line commands and insertions need besides the editor: the line number
// typed in "Aller à la ligne", and the texts of the date, time, file name and
// directory insertions.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// A signed 32-bit integer as the input box takes it: leading blanks, an optional
// sign, then decimal digits, or hexadecimal digits after "$", "x", "X" or "0x";
// nothing may follow. Empty when the text is not such a number.
std::optional<std::int32_t> parseLineNumber(std::string_view text);

// "dd/mm/yyyy" and "hh:mm" (hours 00 to 23).
std::string dateText(const std::tm& when);
std::string timeText(const std::tm& when);

// The file name of a path (after its last "/") and its directory (up to and
// including the last "/"); both empty for an empty path.
std::string fileNamePart(std::string_view path);
std::string directoryPart(std::string_view path);

}  // namespace orvex
