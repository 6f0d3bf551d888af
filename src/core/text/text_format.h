#pragma once
// How a document's bytes are laid out in its file: encoding, byte-order mark and
// line breaks. A document keeps the format it was read with when it is saved.

#include <cstddef>
#include <string_view>

namespace orvex {

enum class Encoding { Utf8, Windows1252 };
enum class LineBreak { Lf, CrLf, Cr };

struct TextFormat {
  Encoding encoding = Encoding::Utf8;
  bool bom = false;  // a UTF-8 byte-order mark leads the file
  LineBreak lineBreak = LineBreak::Lf;
  bool finalBreak = false;  // the last line ends with a line break
};

std::string_view lineBreakBytes(LineBreak lineBreak);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace orvex
