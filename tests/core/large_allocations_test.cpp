// The program's operator new: every size gives a usable, aligned block, and a large
// block lies on huge pages once written, where the kernel offers them on request.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The kilobytes of huge pages in the mapping that holds `address`.
std::size_t hugeKilobytesAround(const void* address) {
  std::ifstream maps("/proc/self/smaps");
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::string line;
  bool inside = false;
  while (std::getline(maps, line)) {
    std::uintptr_t from = 0;
    std::uintptr_t to = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> from >> dash >> to && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("AnonHugePages:", 0) == 0) {
      return std::stoul(line.substr(14));
    }
  }
  return 0;
}

bool hugePagesOnRequest() {
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string text;
  std::getline(mode, text);
  return text.find("[never]") == std::string::npos && !text.empty();
}

TEST(LargeAllocations, EveryBlockIsUsableAndAligned) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, (std::size_t{8} << 20) - 1,
                                 std::size_t{8} << 20, (std::size_t{24} << 20) + 3}) {
    SCOPED_TRACE(size);
    const std::unique_ptr<char[]> block(new char[size + 1]);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % __STDCPP_DEFAULT_NEW_ALIGNMENT__, 0U);
    std::memset(block.get(), 'x', size + 1);
    EXPECT_EQ(block[size], 'x');
  }
}

TEST(LargeAllocations, ALargeBlockLiesOnHugePages) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer keeps its own operator new";
#endif
  if (!hugePagesOnRequest()) GTEST_SKIP() << "the kernel offers no huge pages";
  constexpr std::size_t kSize = std::size_t{64} << 20;
  const std::unique_ptr<char[]> block(new char[kSize]);
  std::memset(block.get(), 1, kSize);
  EXPECT_GT(hugeKilobytesAround(block.get() + kSize / 2), 0U);
}

}  // namespace
