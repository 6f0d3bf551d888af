#include "tools/accent_removal.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
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
// Works on the 16 bytes at in[i] when those in the line hold only ASCII and
// well-formed two-byte characters, the last of which may end on the byte after the
// block; returns false, having written nothing, otherwise. `carried` tells that the
// block before took the first byte as the end of its last character, and is set to
// whether this one took the byte after it. The block is copied whole, then each
// accented letter is written over its lead byte and the rest of the block is stored
// again one byte to the left. The blocks follow one another 16 bytes apart, so that
// where the next one starts never waits for this one's bytes.
bool blockStep(const unsigned char* in, std::size_t n, std::size_t i, unsigned char* dest, std::size_t& w,
               bool& carried) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
  const std::size_t left = n - i;
  const unsigned inLine = left >= 16 ? 0xFFFFu : (1u << left) - 1;
  const unsigned char after = left > 16 ? in[i + 16] : 0;
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block)) & inLine;
  // As signed bytes, continuations (0x80-0xBF) lie below -64 and two-byte leads
  // (0xC2-0xDF) between -63 and -32.
  const __m128i continuations = _mm_cmplt_epi8(block, _mm_set1_epi8(-64));
  const __m128i leads =
      _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(-63)), _mm_cmplt_epi8(block, _mm_set1_epi8(-32)));
  const unsigned cont = (static_cast<unsigned>(_mm_movemask_epi8(continuations)) & inLine) |
                        static_cast<unsigned>(isUtf8Continuation(after)) << 16;
  const unsigned pairs = static_cast<unsigned>(_mm_movemask_epi8(leads)) & (cont >> 1);
  const unsigned skipped = carried ? 1u : 0u;
  if ((high & ~(pairs | pairs << 1 | skipped)) != 0) return false;

  _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + w),
                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + skipped)));
  dest[w + 16 - skipped] = after;
  std::size_t removed = skipped;
  const __m128i c3 = _mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(0xC3)));
  unsigned candidates = static_cast<unsigned>(_mm_movemask_epi8(c3)) & pairs;
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
  carried = (pairs >> 15) & 1;
  w += (left < 16 ? left : 16) + (carried ? 1 : 0) - removed;
  return true;
}
#endif

}  // namespace

std::size_t removeUtf8Accents(std::string_view line, char* out, bool check) {
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  const std::size_t n = line.size();
  std::size_t i = 0;
  std::size_t w = 0;
#ifdef __SSE2__
  bool carried = false;
  while (i < n) {
    if (blockStep(in, n, i, dest, w, carried)) {
      i += 16;
      continue;
    }
    // This block goes one character at a time, after the byte the block before took.
    i += carried ? 1 : 0;
    carried = false;
    characterSteps(in, n, i, i + 16, dest, w, check);
  }
#else
  characterSteps(in, n, i, n, dest, w, check);
#endif
  return w;
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
