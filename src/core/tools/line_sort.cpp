#include "tools/line_sort.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#include "tools/case_tool.h"

namespace orvex {

namespace {

// A line in the arena with its first eight (folded) bytes as a big-endian number,
// so that most comparisons need neither the arena nor the folding table. Offset
// and length share one word to keep an entry at 16 bytes; a line too long for the
// length field keeps its length in a side table.
struct SortEntry {
  std::uint64_t prefix;
  std::uint64_t place;

  static constexpr unsigned kLengthBits = 24;
  static constexpr std::uint64_t kLongLine = (std::uint64_t(1) << kLengthBits) - 1;
  std::uint64_t offset() const { return place >> kLengthBits; }
  std::uint64_t storedLength() const { return place & kLongLine; }
};

// The arena of retained lines, end to end, and the lengths of very long lines.
struct LineArena {
  std::string bytes;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> longLines;  // offset, length; by offset

  std::size_t length(const SortEntry& entry) const {
    const std::uint64_t stored = entry.storedLength();
    if (stored != SortEntry::kLongLine) return stored;
    const auto hit =
        std::lower_bound(longLines.begin(), longLines.end(), std::make_pair(entry.offset(), std::uint64_t(0)));
    return hit->second;
  }
  std::string_view line(const SortEntry& entry) const {
    return std::string_view(bytes.data() + entry.offset(), length(entry));
  }
};

class EntryComparer {
 public:
  EntryComparer(const LineArena& arena, bool respectCase)
      : m_arena(arena), m_fold(respectCase ? identityMap() : caseMap(LetterCase::Upper)) {}

  std::uint64_t prefixOf(const SortEntry& entry) const {
    const std::string_view line = m_arena.line(entry);
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
      prefix = (prefix << 8) | (i < line.size() ? m_fold[static_cast<unsigned char>(line[i])] : 0);
    return prefix;
  }

  bool less(const SortEntry& a, const SortEntry& b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    // Equal prefixes: the first min(8, lengths) folded bytes agree.
    const std::string_view la = m_arena.line(a);
    const std::string_view lb = m_arena.line(b);
    const std::size_t shorter = la.size() < lb.size() ? la.size() : lb.size();
    for (std::size_t i = shorter < 8 ? shorter : 8; i < shorter; ++i) {
      const unsigned char ca = m_fold[static_cast<unsigned char>(la[i])];
      const unsigned char cb = m_fold[static_cast<unsigned char>(lb[i])];
      if (ca != cb) return ca < cb;
    }
    return la.size() < lb.size();
  }

 private:
  static const ByteMap& identityMap() {
    static const ByteMap map = identityByteMap();
    return map;
  }

  const LineArena& m_arena;
  const ByteMap& m_fold;
};

// Whether two neighbours of a sorted range compare equal although their bytes
// differ: then the order between them is the sorting scheme's own.
bool hasDifferingTies(const SortEntry* items, std::ptrdiff_t lo, std::ptrdiff_t hi, const EntryComparer& comparer,
                      const LineArena& arena) {
  for (std::ptrdiff_t k = lo; k < hi; ++k)
    if (!comparer.less(items[k], items[k + 1]) && arena.line(items[k]) != arena.line(items[k + 1])) return true;
  return false;
}

struct SortContext {
  const EntryComparer& comparer;
  const LineArena& arena;
};

// The partition sort: i and j move towards each other around the value of the
// middle element, exchanging what stands on the wrong side. The two ranges left
// are independent, so sorting the smaller one by recursion and the larger one in
// the loop gives the same order as the plain recursive scheme with a stack depth of
// at most log2(n); near the top the smaller range is handed to a second thread
// when one can be had.
//
// A crafted input makes this scheme quadratic. Past `levels` partitions on one path
// the range is sorted by an O(n log n) sort instead, which gives the very same order
// whenever no two of its lines compare equal while their bytes differ; when some
// do, the range goes back as it was and the partition scheme finishes it.
void partitionSort(SortEntry* items, std::ptrdiff_t lo, std::ptrdiff_t hi, const SortContext& context, int threadDepth,
                   int levels) {
  const EntryComparer& comparer = context.comparer;
  bool bounded = true;
  while (lo < hi) {
    if (bounded && levels-- <= 0) {
      bounded = false;
      std::vector<SortEntry> before(items + lo, items + hi + 1);
      std::sort(items + lo, items + hi + 1,
                [&](const SortEntry& a, const SortEntry& b) { return comparer.less(a, b); });
      if (!hasDifferingTies(items, lo, hi, comparer, context.arena)) return;
      std::copy(before.begin(), before.end(), items + lo);
    }
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    const SortEntry pivot = items[lo + (hi - lo) / 2];
    do {
      while (comparer.less(items[i], pivot)) ++i;
      while (comparer.less(pivot, items[j])) --j;
      if (i <= j) {
        std::swap(items[i], items[j]);
        ++i;
        --j;
      }
    } while (i <= j);

    std::ptrdiff_t smallLo = lo, smallHi = j;
    if (j - lo > hi - i) {
      smallLo = i;
      smallHi = hi;
      hi = j;
    } else {
      lo = i;
    }
    if (smallLo >= smallHi) continue;
    const int smallLevels = bounded ? levels : std::numeric_limits<int>::max();
    if (threadDepth > 0 && smallHi - smallLo > 100000) {
      try {
        std::thread helper(partitionSort, items, smallLo, smallHi, std::cref(context), threadDepth - 1, smallLevels);
        partitionSort(items, lo, hi, context, threadDepth - 1, bounded ? levels : std::numeric_limits<int>::max());
        helper.join();
        return;
      } catch (const std::system_error&) {
        // No thread to be had (a process limit): this one sorts both ranges.
        threadDepth = 0;
      }
    }
    partitionSort(items, smallLo, smallHi, context, 0, smallLevels);
  }
}

bool hasVisibleByte(std::string_view line) {
  for (const char c : line)
    if (static_cast<unsigned char>(c) > 32) return true;
  return false;
}

int threadBudget() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores >= 4 ? 2 : (cores >= 2 ? 1 : 0);
}

// The retained lines, stored end to end, and their order.
class SortedLines {
 public:
  explicit SortedLines(const SortOptions& options) : m_options(options) {}

  void reserve(std::size_t bytes, std::size_t lines) {
    m_arena.bytes.reserve(bytes);
    m_entries.reserve(lines);
  }

  void add(std::string_view line) {
    if (m_options.dropBlankLines && !hasVisibleByte(line)) return;
    const std::uint64_t offset = m_arena.bytes.size();
    std::uint64_t stored = line.size();
    if (stored >= SortEntry::kLongLine) {
      m_arena.longLines.emplace_back(offset, line.size());
      stored = SortEntry::kLongLine;
    }
    m_entries.push_back({0, offset << SortEntry::kLengthBits | stored});
    m_arena.bytes.append(line);
  }

  void sort(int threadDepth) {
    const EntryComparer comparer(m_arena, m_options.respectCase);
    for (auto& entry : m_entries) entry.prefix = comparer.prefixOf(entry);
    // With no line the middle index does not exist: the sort is not entered.
    if (!m_entries.empty()) {
      const int levels = 2 * static_cast<int>(std::bit_width(m_entries.size())) + 4;
      const SortContext context{comparer, m_arena};
      partitionSort(m_entries.data(), 0, static_cast<std::ptrdiff_t>(m_entries.size()) - 1, context, threadDepth,
                    levels);
    }
    if (m_options.order == SortOrder::Descending) std::reverse(m_entries.begin(), m_entries.end());
  }

  template <typename Visit>
  void forEach(Visit visit) const {
    for (const auto& entry : m_entries) visit(m_arena.line(entry));
  }

 private:
  SortOptions m_options;
  LineArena m_arena;
  std::vector<SortEntry> m_entries;
};

}  // namespace

void sortLines(LineReader& reader, LineWriter& writer, const SortOptions& options) {
  // Counting the lines first lets both arrays be allocated once, at their size.
  std::size_t count = 0;
  std::size_t bytes = 0;
  std::string_view line;
  while (reader.next(line)) {
    ++count;
    bytes += line.size();
  }
  reader.rewind();
  SortedLines lines(options);
  lines.reserve(bytes, count);
  while (reader.next(line)) lines.add(line);
  lines.sort(threadBudget());
  lines.forEach([&](std::string_view sorted) { writer.put(sorted); });
}

std::vector<std::string> sortLines(const std::vector<std::string>& input, const SortOptions& options) {
  SortedLines lines(options);
  for (const auto& line : input) lines.add(line);
  lines.sort(0);
  std::vector<std::string> sorted;
  lines.forEach([&](std::string_view line) { sorted.emplace_back(line); });
  return sorted;
}

}  // namespace orvex
