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

// A line by its first eight folded bytes, as a big-endian number, and its place in
// the arena: most comparisons need neither the arena nor the folding table. Offset
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

// The arena holds what the entries do not: for each line, one byte telling which of
// its first eight bytes the folding changed, then its bytes past the eighth. Both
// ends of the line come back from there, and comparing past the prefix reads the
// arena alone. The folding only takes lower-case ASCII letters to capitals.
struct LineArena {
  static constexpr std::size_t kPrefixBytes = 8;

  std::string bytes;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> longLines;  // offset, length; by offset

  static std::size_t footprint(std::size_t length) { return 1 + (length > kPrefixBytes ? length - kPrefixBytes : 0); }
  std::size_t length(const SortEntry& entry) const {
    const std::uint64_t stored = entry.storedLength();
    if (stored != SortEntry::kLongLine) return stored;
    const auto hit =
        std::lower_bound(longLines.begin(), longLines.end(), std::make_pair(entry.offset(), std::uint64_t(0)));
    return hit->second;
  }
  unsigned char changed(const SortEntry& entry) const { return static_cast<unsigned char>(bytes[entry.offset()]); }
  // The bytes past the prefix.
  std::string_view tail(const SortEntry& entry, std::size_t length) const {
    return std::string_view(bytes.data() + entry.offset() + 1, length > kPrefixBytes ? length - kPrefixBytes : 0);
  }
  // Writes the line's `length` bytes at `out`. A changed byte is a capital the
  // folding made from the lower-case letter 0x20 above it.
  void restore(const SortEntry& entry, std::size_t length, char* out) const {
    const unsigned flags = changed(entry);
    char head[kPrefixBytes];
    for (std::size_t k = 0; k < kPrefixBytes; ++k)
      head[k] = static_cast<char>((entry.prefix >> (8 * (kPrefixBytes - 1 - k))) | (((flags >> k) & 1) << 5));
    std::memcpy(out, head, length < kPrefixBytes ? length : kPrefixBytes);
    const std::string_view rest = tail(entry, length);
    if (!rest.empty()) std::memcpy(out + kPrefixBytes, rest.data(), rest.size());
  }
  bool sameBytes(const SortEntry& a, const SortEntry& b) const {
    const std::size_t la = length(a);
    return a.prefix == b.prefix && la == length(b) && changed(a) == changed(b) && tail(a, la) == tail(b, la);
  }
};

class EntryComparer {
 public:
  EntryComparer(const LineArena& arena, bool respectCase)
      : m_arena(arena), m_fold(respectCase ? identityMap() : caseMap(LetterCase::Upper)) {}

  const ByteMap& fold() const { return m_fold; }

  bool less(const SortEntry& a, const SortEntry& b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    // Equal prefixes: the first min(8, lengths) folded bytes agree.
    const std::size_t la = m_arena.length(a);
    const std::size_t lb = m_arena.length(b);
    const std::string_view ta = m_arena.tail(a, la);
    const std::string_view tb = m_arena.tail(b, lb);
    const std::size_t shorter = ta.size() < tb.size() ? ta.size() : tb.size();
    for (std::size_t i = 0; i < shorter; ++i) {
      const unsigned char ca = m_fold[static_cast<unsigned char>(ta[i])];
      const unsigned char cb = m_fold[static_cast<unsigned char>(tb[i])];
      if (ca != cb) return ca < cb;
    }
    return la < lb;
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
    if (!comparer.less(items[k], items[k + 1]) && !arena.sameBytes(items[k], items[k + 1])) return true;
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

  void reserve(std::size_t arenaBytes, std::size_t lines) {
    m_arena.bytes.reserve(arenaBytes);
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
    std::uint64_t prefix = 0;
    unsigned char changed = 0;
    for (std::size_t k = 0; k < LineArena::kPrefixBytes; ++k) {
      const auto byte = k < line.size() ? static_cast<unsigned char>(line[k]) : 0;
      const unsigned char folded = m_comparer.fold()[byte];
      prefix = prefix << 8 | folded;
      changed |= static_cast<unsigned char>((folded != byte) << k);
    }
    m_entries.push_back({prefix, offset << SortEntry::kLengthBits | stored});
    m_arena.bytes.push_back(static_cast<char>(changed));
    if (line.size() > LineArena::kPrefixBytes) m_arena.bytes.append(line.substr(LineArena::kPrefixBytes));
  }

  void sort(int threadDepth) {
    // With no line the middle index does not exist: the sort is not entered.
    if (!m_entries.empty()) {
      const int levels = 2 * static_cast<int>(std::bit_width(m_entries.size())) + 4;
      const SortContext context{m_comparer, m_arena};
      partitionSort(m_entries.data(), 0, static_cast<std::ptrdiff_t>(m_entries.size()) - 1, context, threadDepth,
                    levels);
    }
    if (m_options.order == SortOrder::Descending) std::reverse(m_entries.begin(), m_entries.end());
  }

  // Calls place(length) for each line in order, which gives where its bytes go.
  template <typename Place>
  void forEach(Place place) const {
    // The arena is read in no order: asking for the lines ahead early lets their
    // memory arrive while this one is written.
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
      if (k + kAhead < m_entries.size()) __builtin_prefetch(m_arena.bytes.data() + m_entries[k + kAhead].offset());
      const std::size_t length = m_arena.length(m_entries[k]);
      m_arena.restore(m_entries[k], length, place(length));
    }
  }

 private:
  SortOptions m_options;
  LineArena m_arena;
  EntryComparer m_comparer{m_arena, m_options.respectCase};
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
    bytes += LineArena::footprint(line.size());
  }
  reader.rewind();
  SortedLines lines(options);
  lines.reserve(bytes, count);
  while (reader.next(line)) lines.add(line);
  lines.sort(threadBudget());
  lines.forEach([&](std::size_t length) { return writer.putUninitialized(length); });
}

std::vector<std::string> sortLines(const std::vector<std::string>& input, const SortOptions& options) {
  SortedLines lines(options);
  for (const auto& line : input) lines.add(line);
  lines.sort(0);
  std::vector<std::string> sorted;
  lines.forEach([&](std::size_t length) { return sorted.emplace_back(length, '\0').data(); });
  return sorted;
}

}  // namespace orvex
