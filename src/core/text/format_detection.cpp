#include "text/format_detection.h"

#include <cstring>

#include "text/utf8.h"

namespace orvex {

namespace {

bool endsWithBreak(std::string_view content) {
  return !content.empty() && (content.back() == '\n' || content.back() == '\r');
}

}  // namespace

std::optional<LineBreak> firstLineBreak(std::string_view content, bool complete) {
  const void* lf = std::memchr(content.data(), '\n', content.size());
  const void* cr = std::memchr(content.data(), '\r', content.size());
  if (!cr) return lf ? std::optional(LineBreak::Lf) : std::nullopt;
  if (lf && lf < cr) return LineBreak::Lf;
  const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - content.data());
  if (at + 1 < content.size()) return content[at + 1] == '\n' ? LineBreak::CrLf : LineBreak::Cr;
  return complete ? std::optional(LineBreak::Cr) : std::nullopt;
}

TextFormat detectFormat(std::string_view content) {
  TextFormat format;
  format.bom = content.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  const std::string_view text = format.bom ? content.substr(kUtf8Bom.size()) : content;
  format.lineBreak = firstLineBreak(text, true).value_or(LineBreak::Lf);
  format.finalBreak = endsWithBreak(text);
  format.encoding = textEncoding(text);
  return format;
}

}  // namespace orvex
