#include "tools/byte_map.h"

namespace orvex {

ByteMap identityByteMap() {
  ByteMap map{};
  for (int i = 0; i < 256; ++i) map[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
  return map;
}

}  // namespace orvex
