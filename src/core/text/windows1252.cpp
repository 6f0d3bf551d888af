#include "text/windows1252.h"

#include <array>

namespace orvex {

namespace {

// 0x80 to 0x9F; 0 marks the bytes the code page leaves unassigned, which stand for
// the control characters of the same code.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte for a character, or -1 when the code page has none.
int byteFor(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  if (c <= 0x9F) return kHighControls[c - 0x80] == 0 ? static_cast<int>(c) : -1;
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// The UTF-8 form of every byte, built once.
struct Utf8Table {
  std::array<std::array<char, 3>, 256> bytes{};
  std::array<unsigned char, 256> size{};
  Utf8Table() {
    for (int b = 0; b < 256; ++b) {
      const char32_t c = decodeWindows1252(static_cast<unsigned char>(b));
      auto& out = bytes[static_cast<std::size_t>(b)];
      auto& n = size[static_cast<std::size_t>(b)];
      if (c < 0x80) {
        out[0] = static_cast<char>(c);
        n = 1;
      } else if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        n = 2;
      } else {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        n = 3;
      }
    }
  }
};

const Utf8Table& utf8Table() {
  static const Utf8Table table;
  return table;
}

// Calls `take(character)` for each character of a UTF-8 text; a malformed sequence
// counts as one character per byte, which no code page byte stands for.
template <typename Take>
void forEachCharacter(std::string_view utf8, Take take) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char lead = p[i];
    if (lead < 0x80) {
      take(lead);
      ++i;
      continue;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > n) {
      take(char32_t{0xFFFFFFFF});
      ++i;
      continue;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (p[i + k] & 0x3F);
    take(c);
    i += length;
  }
}

}  // namespace

char32_t decodeWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) return kHighControls[byte - 0x80];
  return byte;
}

void appendWindows1252AsUtf8(std::string_view bytes, std::string& out) {
  const Utf8Table& table = utf8Table();
  const std::size_t start = out.size();
  out.resize(start + utf8SizeOfWindows1252(bytes));
  char* to = out.data() + start;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      *to++ = c;
      continue;
    }
    const auto& utf8 = table.bytes[b];
    for (unsigned k = 0; k < table.size[b]; ++k) *to++ = utf8[k];
  }
}

std::size_t utf8SizeOfWindows1252(std::string_view bytes) {
  const Utf8Table& table = utf8Table();
  std::size_t size = 0;
  for (const char c : bytes) size += table.size[static_cast<unsigned char>(c)];
  return size;
}

bool fitsWindows1252(std::string_view utf8) {
  bool fits = true;
  forEachCharacter(utf8, [&](char32_t c) { fits = fits && byteFor(c) >= 0; });
  return fits;
}

std::string encodeWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  forEachCharacter(utf8, [&](char32_t c) {
    const int b = byteFor(c);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  });
  return out;
}

Encoding encodingWithText(Encoding document, std::string_view utf8) {
  return document == Encoding::Windows1252 && fitsWindows1252(utf8) ? Encoding::Windows1252 : Encoding::Utf8;
}

}  // namespace orvex
