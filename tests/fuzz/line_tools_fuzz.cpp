// The per-line tools against plain versions of them: case, accents in both
// encodings, blanks, and the cipher, which must always give the line back.

#include <cstdint>

#include "fuzz_support.h"
#include "text/utf8.h"
#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/line_edit_tools.h"

using namespace orvex;

namespace {

constexpr unsigned char kAccented[] = {224, 226, 228, 232, 233, 234, 235, 238, 239, 244, 246, 249, 251, 252, 255};
constexpr char kPlain[] = "aaaeeeeiioouuuy";

char plainLetter(unsigned char code) {
  for (std::size_t k = 0; k < sizeof kAccented; ++k)
    if (kAccented[k] == code) return kPlain[k];
  return 0;
}

std::string naiveAccents1252(std::string_view line) {
  std::string out;
  for (const char c : line) {
    const char plain = plainLetter(static_cast<unsigned char>(c));
    out.push_back(plain ? plain : c);
  }
  return out;
}

// For valid UTF-8: each accented letter (0xC3 then its code minus 0x40) becomes its plain letter.
std::string naiveAccentsUtf8(std::string_view line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == 0xC3 && i + 1 < line.size()) {
      const char plain = plainLetter(static_cast<unsigned char>(static_cast<unsigned char>(line[i + 1]) + 0x40));
      if (plain) {
        out.push_back(plain);
        ++i;
        continue;
      }
    }
    out.push_back(line[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A line never holds a line break.
  std::string bytes(fuzz::asText(data, size));
  std::erase_if(bytes, [](char c) { return c == '\n' || c == '\r'; });
  const std::string_view line = bytes;
  std::string upper(line), lower(line);
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  fuzz::require(changeCase(line, LetterCase::Upper) == upper, "upper case");
  fuzz::require(changeCase(line, LetterCase::Lower) == lower, "lower case");

  fuzz::require(removeAccents(line, Encoding::Windows1252) == naiveAccents1252(line), "accents, Windows-1252");
  if (isValidUtf8(line)) fuzz::require(removeAccents(line, Encoding::Utf8) == naiveAccentsUtf8(line), "accents, UTF-8");

  const std::string blanks = removeBlanks(line);
  fuzz::require(blanks.find(' ') == std::string::npos, "no blank left");
  std::size_t at = 0;
  for (const char c : blanks) {
    at = line.find(c, at);
    fuzz::require(at != std::string_view::npos, "blank removal only removes");
    ++at;
  }

  const std::string encrypted = cipher(line, CipherDirection::Encrypt);
  fuzz::require(encrypted.size() == line.size(), "the cipher keeps the length");
  fuzz::require(encrypted.find_first_of("\r\n") == std::string::npos, "the cipher never makes a line break");
  fuzz::require(cipher(encrypted, CipherDirection::Decrypt) == line, "decryption gives the line back");
  return 0;
}
