#pragma once
// Byte-for-byte translation tables: the case tools, the Windows-1252 accent removal
// and the cipher each map every byte of a line through one table.

#include <array>
#include <string>
#include <string_view>

namespace orvex {

using ByteMap = std::array<unsigned char, 256>;

ByteMap identityByteMap();

// out := every byte of `line` through `map`.
void mapBytes(std::string_view line, const ByteMap& map, std::string& out);
std::string mapBytes(std::string_view line, const ByteMap& map);

}  // namespace orvex
