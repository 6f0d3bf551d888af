#pragma once
// Shared by the fuzz targets: a private scratch file for inputs that must be files,
// and a check that aborts (which libFuzzer reports) with a message.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "io/file_handle.h"

namespace orvex::fuzz {

inline void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "mismatch: %s\n", what);
  std::abort();
}

// A file of this process's own, rewritten for each input.
inline std::filesystem::path scratchFile(const char* name) {
  static const std::filesystem::path directory = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return std::filesystem::path(pattern);
  }();
  return directory / name;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace orvex::fuzz
