#include "tools/byte_map.h"

namespace orvex {

ByteMap identityByteMap() {
  ByteMap map{};
  for (int i = 0; i < 256; ++i) map[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
  return map;
}

void mapBytes(std::string_view line, const ByteMap& map, std::string& out) {
  out.resize(line.size());
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out.data());
  for (std::size_t i = 0; i < line.size(); ++i) dest[i] = map[in[i]];
}

std::string mapBytes(std::string_view line, const ByteMap& map) {
  std::string out;
  mapBytes(line, map, out);
  return out;
}

}  // namespace orvex
