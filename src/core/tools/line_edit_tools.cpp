#include "tools/line_edit_tools.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "io/line_reader.h"
#include "text/utf8.h"

namespace orvex {

namespace {

// The plain letter for each accented letter the tool removes, by its
// Windows-1252 code, which is also the second byte of its UTF-8 form after 0xC3.
ByteMap buildAccentMap() {
  ByteMap map = identityByteMap();
  const struct {
    unsigned char code;
    char plain;
  } letters[] = {{224, 'a'}, {226, 'a'}, {228, 'a'}, {232, 'e'}, {233, 'e'}, {234, 'e'}, {235, 'e'}, {238, 'i'},
                 {239, 'i'}, {244, 'o'}, {246, 'o'}, {249, 'u'}, {251, 'u'}, {252, 'u'}, {255, 'y'}};
  for (const auto& letter : letters) map[letter.code] = static_cast<unsigned char>(letter.plain);
  return map;
}

const ByteMap& accentMap() {
  static const ByteMap map = buildAccentMap();
  return map;
}

// Writes at most line.size() bytes at `out` and returns how many. U+00C0 to U+00FF
// are 0xC3 followed by the Windows-1252 code minus 0x40, so one table serves both.
// With `check`, a malformed character raises NotUtf8.
std::size_t removeUtf8Accents(std::string_view line, char* out, bool check) {
  const ByteMap& map = accentMap();
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  const std::size_t n = line.size();
  std::size_t i = 0;
  std::size_t w = 0;
  while (i < n) {
    // Copy the ASCII run up to the next byte of 0x80 or more, sixteen bytes at a time.
#ifdef __SSE2__
    if (i + 16 <= n) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + w), block);
      const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block));
      const unsigned run = high ? static_cast<unsigned>(__builtin_ctz(high)) : 16u;
      i += run;
      w += run;
      if (run == 16) continue;
    }
#endif
    const unsigned char c = in[i];
    if (c < 0x80) {
      dest[w++] = c;
      ++i;
      continue;
    }
    std::size_t length = utf8SequenceLength(c);
    if (check && (length == 0 || i + length > n || !isWellFormedUtf8Sequence(in + i, length))) throw NotUtf8{};
    if (length == 0) length = 1;
    if (i + 4 <= n) {
      // Copy four bytes whatever the character's length, then keep what it needs:
      // no branch on the character, whose kind changes unpredictably in text.
      std::memcpy(dest + w, in + i, 4);
      const auto code = static_cast<unsigned char>(in[i + 1] + 0x40);
      const bool accent = (c == 0xC3) & (map[code] != code);
      dest[w] = accent ? map[code] : c;
      w += accent ? 1 : length;
      i += length;
      continue;
    }
    if (c == 0xC3 && i + 1 < n) {
      const auto code = static_cast<unsigned char>(in[i + 1] + 0x40);
      if (map[code] != code) {
        dest[w++] = map[code];
        i += 2;
        continue;
      }
    }
    for (const std::size_t stop = i + (check ? length : 1); i < stop; ++i) dest[w++] = in[i];
  }
  return w;
}

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

// Copies eight bytes at a time and looks up only the words that hold a byte of
// 0x80 or more, since the accented letters all lie there.
static void removeWindows1252Accents(std::string_view line, char* out) {
  const ByteMap& map = accentMap();
  const auto* in = reinterpret_cast<const unsigned char*>(line.data());
  auto* dest = reinterpret_cast<unsigned char*>(out);
  std::size_t i = 0;
  for (; i + 8 <= line.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, in + i, 8);
    std::memcpy(dest + i, &word, 8);
    if (word & 0x8080808080808080ULL)
      for (std::size_t k = i; k < i + 8; ++k) dest[k] = map[in[k]];
  }
  for (; i < line.size(); ++i) dest[i] = map[in[i]];
}

void removeAccents(std::string_view line, Encoding encoding, std::string& out) {
  if (encoding == Encoding::Windows1252) {
    out.resize(line.size());
    removeWindows1252Accents(line, out.data());
  } else {
    out.resize(line.size());
    out.resize(removeUtf8Accents(line, out.data(), false));
  }
}

std::string removeAccents(std::string_view line, Encoding encoding) {
  std::string out;
  removeAccents(line, encoding, out);
  return out;
}

// Equivalent to repeating, while the line holds a space: take the head up to and
// including the first space, trim characters of code 32 or less from both of its
// ends, and put the trimmed head back in front of the rest. The kept head never
// starts or ends with such a character, so each piece between two spaces is trimmed
// once, in one pass: at its end always, at its start while nothing is kept yet.
// Writes at most line.size() bytes at `out` and returns how many.
static std::size_t removeBlanks(std::string_view line, char* out) {
  const char* in = line.data();
  const std::size_t n = line.size();
  // Without control characters the trimming can only take spaces: dropping every
  // space is the whole job, done here without branches.
  std::size_t w = 0;
  bool control = false;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = in[i];
    out[w] = c;
    w += c != ' ';
    control |= static_cast<unsigned char>(c) < 32;
  }
  if (!control) return w;
  w = 0;
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (in[i] != ' ') continue;
    std::size_t begin = pieceStart;
    std::size_t end = i;
    if (w == 0)
      while (begin < end && isBlankOrControl(in[begin])) ++begin;
    while (end > begin && isBlankOrControl(in[end - 1])) --end;
    for (std::size_t k = begin; k < end; ++k) out[w++] = in[k];
    pieceStart = i + 1;
  }
  for (std::size_t k = pieceStart; k < n; ++k) out[w++] = in[k];
  return w;
}

void removeBlanks(std::string_view line, std::string& out) {
  out.resize(line.size());
  out.resize(removeBlanks(line, out.data()));
}

std::string removeBlanks(std::string_view line) {
  std::string out;
  removeBlanks(line, out);
  return out;
}

void AccentTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (m_encoding == Encoding::Windows1252) {
    removeWindows1252Accents(line, output.putUninitialized(line.size()));
    return;
  }
  char* out = output.putUninitialized(line.size());
  output.shortenLastLine(line.size() - removeUtf8Accents(line, out, !m_encoding.has_value()));
}

void BlankTool::transform(std::string_view line, LineWriter& output, Progress&) {
  char* out = output.putUninitialized(line.size());
  output.shortenLastLine(line.size() - removeBlanks(line, out));
}

void DuplicateTool::transform(std::string_view line, LineWriter& output, Progress& progress) {
  if (line == m_previous) return;
  output.put(line);
  m_previous.assign(line);
  progress.advance();
}

void PaddingTool::run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
                      Progress& progress) {
  LineReader reader(input, format.bom);
  std::string_view line;
  std::size_t longestBytes = 0;
  std::size_t longestCharacters = 0;
  Utf8Validator validator;
  const bool detect = !m_encoding.has_value();
  bool valid = true;
  while (reader.next(line)) {
    if (line.size() > longestBytes) longestBytes = line.size();
    if (m_encoding == Encoding::Windows1252) continue;
    const std::size_t characters = charCount(line, Encoding::Utf8);
    if (characters > longestCharacters) longestCharacters = characters;
    // A character cut by a line break is malformed: each line must end complete.
    if (detect && valid) {
      validator.feed(line);
      valid = validator.valid();
    }
  }
  if (detect) m_encoding = textEncoding(valid);
  const Encoding encoding = *m_encoding;
  const std::size_t longest = encoding == Encoding::Utf8 ? longestCharacters : longestBytes;
  reader.rewind();
  std::string padded;
  while (reader.next(line)) {
    const std::size_t length = charCount(line, encoding);
    if (length == longest) {
      output.put(line);
    } else {
      padded.assign(line);
      padded.append(longest - length, ' ');
      output.put(padded);
    }
    progress.advance();
  }
}

}  // namespace orvex
