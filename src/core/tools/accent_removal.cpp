#include "tools/accent_removal.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#include <tmmintrin.h>
#endif

#include "text/utf8.h"
#include "tools/byte_map.h"
#include "tools/document_tool.h"

namespace orvex {

namespace {

// The accented letters by their Windows-1252 code, which is also the second byte of
// their UTF-8 form after 0xC3 plus 0x40: U+00C0 to U+00FF are 0xC3 followed by the
// code minus 0x40, so one table serves both encodings.
struct AccentLetter {
  unsigned char code;
  char plain;
};
constexpr AccentLetter kLetters[] = {{224, 'a'}, {226, 'a'}, {228, 'a'}, {232, 'e'}, {233, 'e'},
                                     {234, 'e'}, {235, 'e'}, {238, 'i'}, {239, 'i'}, {244, 'o'},
                                     {246, 'o'}, {249, 'u'}, {251, 'u'}, {252, 'u'}, {255, 'y'}};

constexpr ByteMap kAccentMap = [] {
  ByteMap map{};
  for (std::size_t b = 0; b < map.size(); ++b) map[b] = static_cast<unsigned char>(b);
  for (const auto& letter : kLetters) map[letter.code] = static_cast<unsigned char>(letter.plain);
  return map;
}();

// Bit (b - 0xA0) is set for each second byte b that follows 0xC3 in an accented letter.
constexpr std::uint32_t accentSecondBytes() {
  std::uint32_t bits = 0;
  for (const auto& letter : kLetters) bits |= std::uint32_t{1} << (letter.code - 0xE0);
  return bits;
}

bool isAccentSecondByte(unsigned char byte) {
  return byte >= 0xA0 && byte <= 0xBF && ((accentSecondBytes() >> (byte - 0xA0)) & 1) != 0;
}

// One character from a byte of 0x80 or more at in[i]. Without `check`, a lead byte
// takes as many bytes as its kind says when four bytes are left in the line, and
// only itself nearer the end, whatever follows it.
void characterStep(const unsigned char* in, std::size_t n, std::size_t& i, unsigned char* dest, std::size_t& w,
                   bool check) {
  const unsigned char c = in[i];
  std::size_t length = utf8SequenceLength(c);
  if (check && (length == 0 || i + length > n || !isWellFormedUtf8Sequence(in + i, length))) throw NotUtf8{};
  if (length == 0) length = 1;
  const bool accent = c == 0xC3 && i + 1 < n && isAccentSecondByte(in[i + 1]);
  if (i + 4 <= n) {
    // Copy four bytes whatever the character's length, then keep what it needs:
    // no branch on the character, whose kind changes unpredictably in text.
    std::memcpy(dest + w, in + i, 4);
    dest[w] = accent ? kAccentMap[in[i + 1] + 0x40] : c;
    w += accent ? 1 : length;
    i += length;
    return;
  }
  if (accent) {
    dest[w++] = kAccentMap[in[i + 1] + 0x40];
    i += 2;
    return;
  }
  for (const std::size_t stop = i + (check ? length : 1); i < stop; ++i) dest[w++] = in[i];
}

// Characters one at a time from in[i] until `stop` or the end of the line.
void characterSteps(const unsigned char* in, std::size_t n, std::size_t& i, std::size_t stop, unsigned char* dest,
                    std::size_t& w, bool check) {
  while (i < stop && i < n) {
    if (in[i] < 0x80)
      dest[w++] = in[i++];
    else
      characterStep(in, n, i, dest, w, check);
  }
}

#ifdef __SSE2__
// The 16 bytes at in[i], where a block starts: the blocks follow one another 16
// bytes apart, so that where the next one starts never waits for this one's bytes.
struct Block {
  __m128i bytes;
  std::size_t size;     // how many lie in the line
  unsigned char after;  // the byte after the block when it lies in the line, else 0
  unsigned skipped;     // 1 when the block before took the first byte as the end of its last character
  unsigned pairs;       // the lead bytes of the block's two-byte characters
};

// Reads the block and tells whether its bytes in the line hold only ASCII and
// well-formed two-byte characters, the last of which may end on the byte after it.
[[gnu::always_inline]] inline bool readBlock(const unsigned char* in, std::size_t n, std::size_t i, bool carried,
                                             Block& block) {
  block.bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
  block.size = n - i < 16 ? n - i : 16;
  block.after = n - i > 16 ? in[i + 16] : 0;
  block.skipped = carried ? 1 : 0;
  const unsigned inLine = (1u << block.size) - 1;
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block.bytes)) & inLine;
  // As signed bytes, continuations (0x80-0xBF) lie below -64 and two-byte leads
  // (0xC2-0xDF) between -63 and -32.
  const __m128i continuations = _mm_cmplt_epi8(block.bytes, _mm_set1_epi8(-64));
  const __m128i leads =
      _mm_and_si128(_mm_cmpgt_epi8(block.bytes, _mm_set1_epi8(-63)), _mm_cmplt_epi8(block.bytes, _mm_set1_epi8(-32)));
  const unsigned cont = (static_cast<unsigned>(_mm_movemask_epi8(continuations)) & inLine) |
                        static_cast<unsigned>(isUtf8Continuation(block.after)) << 16;
  block.pairs = static_cast<unsigned>(_mm_movemask_epi8(leads)) & (cont >> 1);
  return (high & ~(block.pairs | block.pairs << 1 | block.skipped)) == 0;
}

// Where the output goes on after the block; `dropped` counts the bytes of the block
// and the one after it left out of the output.
std::size_t afterBlock(const Block& block, std::size_t w, std::size_t dropped) {
  return w + block.size + (block.pairs >> 15) - dropped;
}

// Works on the block at in[i] when readBlock() accepts it, and returns false having
// written nothing otherwise. `carried` tells that the block before took the first
// byte, and is set to whether this one took the byte after it. The block is copied
// whole, then each accented letter is written over its lead byte and the rest of
// the block is stored again one byte to the left.
inline bool storingBlockStep(const unsigned char* in, std::size_t n, std::size_t i, unsigned char* dest, std::size_t& w,
                             bool& carried) {
  Block block;
  if (!readBlock(in, n, i, carried, block)) return false;
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + w),
                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + block.skipped)));
  dest[w + 16 - block.skipped] = block.after;
  std::size_t removed = block.skipped;
  const __m128i c3 = _mm_cmpeq_epi8(block.bytes, _mm_set1_epi8(static_cast<char>(0xC3)));
  unsigned candidates = static_cast<unsigned>(_mm_movemask_epi8(c3)) & block.pairs;
  while (candidates != 0) {
    const auto at = static_cast<std::size_t>(__builtin_ctz(candidates));
    candidates &= candidates - 1;
    const unsigned char second = in[i + at + 1];
    if (!isAccentSecondByte(second)) continue;
    dest[w + at - removed] = kAccentMap[second + 0x40];
    ++removed;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + w + at + 2 - removed),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + at + 2)));
  }
  carried = (block.pairs >> 15) != 0;
  w = afterBlock(block, w, removed);
  return true;
}

// For each set of dropped bytes among eight: the positions of the kept ones, then
// 0x80, which a shuffle turns into zero, and how many are kept.
struct Compaction {
  unsigned char order[256][8];
  unsigned char kept[256];
};
constexpr Compaction kCompaction = [] {
  Compaction table{};
  for (unsigned dropped = 0; dropped < 256; ++dropped) {
    unsigned char kept = 0;
    for (unsigned char b = 0; b < 8; ++b)
      if (((dropped >> b) & 1) == 0) table.order[dropped][kept++] = b;
    table.kept[dropped] = kept;
    for (unsigned char b = kept; b < 8; ++b) table.order[dropped][b] = 0x80;
  }
  return table;
}();

// The same work without a branch on the letters: the accented letters are found and
// written with byte shuffles, then each half of the block is packed by a shuffle
// from a table.
[[gnu::target("ssse3")]] inline bool shufflingBlockStep(const unsigned char* in, std::size_t n, std::size_t i,
                                                        unsigned char* dest, std::size_t& w, bool& carried) {
  Block block;
  if (!readBlock(in, n, i, carried, block)) return false;
  // The byte after each one: for an accented letter, 0xA0-0xBF, whose low half picks
  // the plain letter in its row's table.
  const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 1));
  const __m128i low = _mm_and_si128(seconds, _mm_set1_epi8(0x0F));
  const __m128i row = _mm_and_si128(seconds, _mm_set1_epi8(static_cast<char>(0xF0)));
  const __m128i rowA =
      _mm_shuffle_epi8(_mm_setr_epi8('a', 0, 'a', 0, 'a', 0, 0, 0, 'e', 'e', 'e', 'e', 0, 0, 'i', 'i'), low);
  const __m128i rowB = _mm_shuffle_epi8(_mm_setr_epi8(0, 0, 0, 0, 'o', 0, 'o', 0, 0, 'u', 0, 'u', 'u', 0, 0, 'y'), low);
  const __m128i letter = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(row, _mm_set1_epi8(static_cast<char>(0xA0))), rowA),
                                      _mm_and_si128(_mm_cmpeq_epi8(row, _mm_set1_epi8(static_cast<char>(0xB0))), rowB));
  const __m128i c3 = _mm_cmpeq_epi8(block.bytes, _mm_set1_epi8(static_cast<char>(0xC3)));
  const __m128i accent = _mm_andnot_si128(_mm_cmpeq_epi8(letter, _mm_setzero_si128()), c3);
  const __m128i bytes = _mm_or_si128(_mm_andnot_si128(accent, block.bytes), _mm_and_si128(accent, letter));
  const unsigned accents = static_cast<unsigned>(_mm_movemask_epi8(accent)) & block.pairs;
  // The second bytes go, and the first when the block before took it; that of a
  // letter ending in the next block goes with that block's first byte.
  const unsigned drop = (accents << 1 | block.skipped) & 0xFFFF;
  const unsigned char* low8 = kCompaction.order[drop & 0xFF];
  const unsigned char* high8 = kCompaction.order[drop >> 8];
  const __m128i lowOrder = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(low8));
  const __m128i highOrder = _mm_add_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(high8)), _mm_set1_epi8(8));
  const std::size_t keptLow = kCompaction.kept[drop & 0xFF];
  const std::size_t kept = keptLow + kCompaction.kept[drop >> 8];
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dest + w), _mm_shuffle_epi8(bytes, lowOrder));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dest + w + keptLow), _mm_shuffle_epi8(bytes, highOrder));
  dest[w + kept] = block.after;
  carried = (block.pairs >> 15) != 0;
  w = afterBlock(block, w, 16 - kept + (accents >> 15));
  return true;
}

// The block after one that readBlock() refused goes one character at a time, from
// the first byte the block before did not take.
void characterBlock(const unsigned char* in, std::size_t n, std::size_t& i, unsigned char* dest, std::size_t& w,
                    bool check, bool& carried) {
  i += carried ? 1 : 0;
  carried = false;
  characterSteps(in, n, i, i + 16, dest, w, check);
}

// The line by blocks of each kind: the same loop, written once for each so that the
// block's work is inlined with the instructions it may use.
std::size_t removeByStoringBlocks(const unsigned char* in, std::size_t n, unsigned char* dest, bool check) {
  std::size_t i = 0;
  std::size_t w = 0;
  bool carried = false;
  while (i < n) {
    if (storingBlockStep(in, n, i, dest, w, carried))
      i += 16;
    else
      characterBlock(in, n, i, dest, w, check, carried);
  }
  return w;
}

[[gnu::target("ssse3")]] std::size_t removeByShufflingBlocks(const unsigned char* in, std::size_t n,
                                                             unsigned char* dest, bool check) {
  std::size_t i = 0;
  std::size_t w = 0;
  bool carried = false;
  while (i < n) {
    if (shufflingBlockStep(in, n, i, dest, w, carried))
      i += 16;
    else
      characterBlock(in, n, i, dest, w, check, carried);
  }
  return w;
}

// Set among the static constructors, which may run before the processor is probed.
const bool kShuffles = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3") != 0;
}();
#endif

}  // namespace

std::size_t removeUtf8Accents(std::string_view line, char* out, bool check) {
#ifdef __SSE2__
  if (kShuffles)
    return removeByShufflingBlocks(reinterpret_cast<const unsigned char*>(line.data()), line.size(),
                                   reinterpret_cast<unsigned char*>(out), check);
#endif
  return removeUtf8AccentsPortably(line, out, check);
}

std::size_t removeUtf8AccentsPortably(std::string_view line, char* out, bool check) {
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
#ifdef __SSE2__
  return removeByStoringBlocks(in, line.size(), dest, check);
#else
  std::size_t i = 0;
  std::size_t w = 0;
  characterSteps(in, line.size(), i, line.size(), dest, w, check);
  return w;
#endif
}

// Copies eight bytes at a time and looks up only the words that hold a byte of
// 0x80 or more, since the accented letters all lie there.
void removeWindows1252Accents(std::string_view line, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  std::size_t i = 0;
  for (; i + 8 <= line.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, in + i, 8);
    std::memcpy(dest + i, &word, 8);
    if (word & 0x8080808080808080ULL)
      for (std::size_t k = i; k < i + 8; ++k) dest[k] = kAccentMap[in[k]];
  }
  for (; i < line.size(); ++i) dest[i] = kAccentMap[in[i]];
}

}  // namespace orvex
