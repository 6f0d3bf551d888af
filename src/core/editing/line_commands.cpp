#include "editing/line_commands.h"

#include <cstdio>
#include <limits>

namespace orvex {

std::optional<std::int32_t> parseLineNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  int base = 10;
  if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
    base = 16;
    ++at;
  } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
    base = 16;
    at += 2;
  }
  if (at == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * base + digit;
    if (value > std::int64_t{std::numeric_limits<std::uint32_t>::max()}) return std::nullopt;
  }
  if (negative) value = -value;
  // Hexadecimal spells the 32 bits, so $FFFFFFFF is -1.
  if (base == 16 && value > std::numeric_limits<std::int32_t>::max()) value -= std::int64_t{1} << 32;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string dateText(const std::tm& when) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", when.tm_mday, when.tm_mon + 1, when.tm_year + 1900);
  return text;
}

std::string timeText(const std::tm& when) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", when.tm_hour, when.tm_min);
  return text;
}

std::string fileNamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string directoryPart(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace orvex
