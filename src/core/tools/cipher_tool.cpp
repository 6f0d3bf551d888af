#include "tools/cipher_tool.h"

namespace orvex {

namespace {

constexpr unsigned char shifted(int byte, int by) { return static_cast<unsigned char>((byte + by + 256) % 256); }

ByteMap buildEncryption() {
  static_assert(kCipherKey != 0 && kCipherKey != 3 && kCipherKey != 253,
                "the key must keep LF, CR and their shifted values apart");
  ByteMap map{};
  for (int b = 0; b < 256; ++b) map[static_cast<std::size_t>(b)] = shifted(b, kCipherKey);
  map['\n'] = '\n';
  map['\r'] = '\r';
  map[shifted('\n', -kCipherKey)] = shifted('\n', kCipherKey);
  map[shifted('\r', -kCipherKey)] = shifted('\r', kCipherKey);
  return map;
}

ByteMap inverse(const ByteMap& map) {
  ByteMap result{};
  for (int b = 0; b < 256; ++b) result[map[static_cast<std::size_t>(b)]] = static_cast<unsigned char>(b);
  return result;
}

}  // namespace

const ByteMap& cipherMap(CipherDirection direction) {
  static const ByteMap encryption = buildEncryption();
  static const ByteMap decryption = inverse(encryption);
  return direction == CipherDirection::Encrypt ? encryption : decryption;
}

std::string cipher(std::string_view line, CipherDirection direction) {
  return mapBytes(line, cipherMap(direction));
}

}  // namespace orvex
