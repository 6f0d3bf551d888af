#pragma once
// Byte-for-byte translation tables, for the accent letters and the sort's case folding.

#include <array>

namespace orvex {

using ByteMap = std::array<unsigned char, 256>;

ByteMap identityByteMap();

}  // namespace orvex
