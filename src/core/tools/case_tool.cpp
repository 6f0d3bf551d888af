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

std::string changeCase(std::string_view line, LetterCase letterCase) {
  return mapBytes(line, caseMap(letterCase));
}

}  // namespace orvex
