#include "tools/line_edit_tools.h"

#include <cstring>

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
  } letters[] = {{224, 'a'}, {226, 'a'}, {228, 'a'}, {232, 'e'}, {233, 'e'},
                 {234, 'e'}, {235, 'e'}, {238, 'i'}, {239, 'i'}, {244, 'o'},
                 {246, 'o'}, {249, 'u'}, {251, 'u'}, {252, 'u'}, {255, 'y'}};
  for (const auto& letter : letters) map[letter.code] = static_cast<unsigned char>(letter.plain);
  return map;
}

const ByteMap& accentMap() {
  static const ByteMap map = buildAccentMap();
  return map;
}

void removeUtf8Accents(std::string_view line, std::string& out) {
  const ByteMap& map = accentMap();
  out.clear();
  std::size_t from = 0;
  while (from < line.size()) {
    const void* hit = std::memchr(line.data() + from, 0xC3, line.size() - from);
    if (!hit) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - line.data());
    if (at + 1 < line.size()) {
      // U+00C0..U+00FF are 0xC3 followed by the Latin-1 code minus 0x40.
      const unsigned char code = static_cast<unsigned char>(line[at + 1]) + 0x40;
      if (map[code] != code) {
        out.append(line, from, at - from);
        out.push_back(static_cast<char>(map[code]));
        from = at + 2;
        continue;
      }
    }
    out.append(line, from, at + 1 - from);
    from = at + 1;
  }
  out.append(line, from, std::string_view::npos);
}

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

void removeAccents(std::string_view line, Encoding encoding, std::string& out) {
  if (encoding == Encoding::Windows1252)
    mapBytes(line, accentMap(), out);
  else
    removeUtf8Accents(line, out);
}

std::string removeAccents(std::string_view line, Encoding encoding) {
  std::string out;
  removeAccents(line, encoding, out);
  return out;
}

// Equivalent to repeating, while the line holds a space: take the head up to and
// including the first space, trim characters of code 32 or less from both of its
// ends, and put the trimmed head back in front of the rest. The kept head never
// starts or ends with such a character, so each piece is trimmed once, in one pass.
void removeBlanks(std::string_view line, std::string& out) {
  out.clear();
  std::size_t position = 0;
  for (;;) {
    const std::size_t space = line.find(' ', position);
    if (space == std::string_view::npos) break;
    std::size_t begin = position;
    if (out.empty())
      while (begin < space && isBlankOrControl(line[begin])) ++begin;
    std::size_t end = space;
    while (end > begin && isBlankOrControl(line[end - 1])) --end;
    out.append(line, begin, end - begin);
    position = space + 1;
  }
  out.append(line, position, std::string_view::npos);
}

std::string removeBlanks(std::string_view line) {
  std::string out;
  removeBlanks(line, out);
  return out;
}

void AccentTool::transform(std::string_view line, LineWriter& output, Progress&) {
  removeAccents(line, m_encoding, m_line);
  output.put(m_line);
}

void BlankTool::transform(std::string_view line, LineWriter& output, Progress&) {
  if (line.find(' ') == std::string_view::npos) {
    output.put(line);
    return;
  }
  removeBlanks(line, m_line);
  output.put(m_line);
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
  std::size_t longest = 0;
  while (reader.next(line)) {
    const std::size_t length = charCount(line, m_encoding);
    if (length > longest) longest = length;
  }
  reader.rewind();
  std::string padded;
  while (reader.next(line)) {
    const std::size_t length = charCount(line, m_encoding);
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
