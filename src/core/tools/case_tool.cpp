#include "tools/case_tool.h"

namespace orvex {

namespace {

ByteMap buildCaseMap(LetterCase letterCase) {
  ByteMap map = identityByteMap();
  const unsigned char from = letterCase == LetterCase::Upper ? 'a' : 'A';
  const int shift = letterCase == LetterCase::Upper ? -32 : 32;
  for (unsigned char c = from; c < from + 26; ++c) map[c] = static_cast<unsigned char>(c + shift);
  return map;
}

}  // namespace

const ByteMap& caseMap(LetterCase letterCase) {
  static const ByteMap upper = buildCaseMap(LetterCase::Upper);
  static const ByteMap lower = buildCaseMap(LetterCase::Lower);
  return letterCase == LetterCase::Upper ? upper : lower;
}

// Plain arithmetic rather than a table, so that the compiler can vectorise it.
void changeCase(std::string_view line, LetterCase letterCase, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  const unsigned char first = letterCase == LetterCase::Upper ? 'a' : 'A';
  const unsigned char shift = letterCase == LetterCase::Upper ? static_cast<unsigned char>(-32) : 32;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = in[i];
    dest[i] = static_cast<unsigned char>(c - first) < 26 ? static_cast<unsigned char>(c + shift) : c;
  }
}

std::string changeCase(std::string_view line, LetterCase letterCase) {
  std::string out(line.size(), '\0');
  changeCase(line, letterCase, out.data());
  return out;
}

}  // namespace orvex
