#include "tools/cipher_tool.h"

namespace orvex {

namespace {

constexpr unsigned char kLf = '\n';
constexpr unsigned char kCr = '\r';

constexpr unsigned char shifted(int byte, int by) { return static_cast<unsigned char>((byte + by + 256) % 256); }

static_assert(kCipherKey != 0 && kCipherKey != 3 && kCipherKey != 253,
              "the key must keep LF, CR and their shifted values apart");

// b + by, except that `swapA` gives `toA` and `swapB` gives `toB`, and LF and CR
// stay themselves. Selects instead of a table lookup, so the loop vectorises.
void shiftBytes(std::string_view line, char* out, unsigned char by, unsigned char swapA, unsigned char toA,
                unsigned char swapB, unsigned char toB) {
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = in[i];
    unsigned char r = static_cast<unsigned char>(c + by);
    r = c == swapA ? toA : r;
    r = c == swapB ? toB : r;
    r = c == kLf ? kLf : r;
    r = c == kCr ? kCr : r;
    dest[i] = r;
  }
}

}  // namespace

void cipher(std::string_view line, CipherDirection direction, char* out) {
  if (direction == CipherDirection::Encrypt)
    shiftBytes(line, out, kCipherKey, shifted(kLf, -kCipherKey), shifted(kLf, kCipherKey), shifted(kCr, -kCipherKey),
               shifted(kCr, kCipherKey));
  else
    shiftBytes(line, out, shifted(0, -kCipherKey), shifted(kLf, kCipherKey), shifted(kLf, -kCipherKey),
               shifted(kCr, kCipherKey), shifted(kCr, -kCipherKey));
}

std::string cipher(std::string_view line, CipherDirection direction) {
  std::string out(line.size(), '\0');
  cipher(line, direction, out.data());
  return out;
}

}  // namespace orvex
