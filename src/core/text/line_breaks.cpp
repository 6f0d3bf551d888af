#include "text/line_breaks.h"

namespace orvex {

namespace {

bool usesOnly(std::string_view text, LineBreak lineBreak) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      if (lineBreak != LineBreak::Lf) return false;
    } else if (text[i] == '\r') {
      const bool pair = i + 1 < text.size() && text[i + 1] == '\n';
      if (pair != (lineBreak == LineBreak::CrLf)) return false;
      i += pair;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> unifyLineBreaks(std::string_view text, LineBreak lineBreak) {
  if (usesOnly(text, lineBreak)) return std::nullopt;
  const std::string_view newBreak = lineBreakBytes(lineBreak);
  std::string unified;
  unified.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      unified.append(newBreak);
    } else {
      unified.push_back(c);
    }
  }
  return unified;
}

}  // namespace orvex
