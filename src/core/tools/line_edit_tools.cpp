#include "tools/line_edit_tools.h"

#include "io/line_reader.h"
#include "text/utf8.h"
#include "tools/accent_removal.h"

namespace orvex {

namespace {

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

void removeAccents(std::string_view line, Encoding encoding, std::string& out) {
  if (encoding == Encoding::Windows1252) {
    out.resize(line.size());
    removeWindows1252Accents(line, out.data());
  } else {
    // The blocks may run past the line: both ends get room for them.
    std::string padded(line);
    padded.resize(line.size() + kAccentSlack);
    out.resize(line.size() + kAccentSlack);
    out.resize(removeUtf8Accents(std::string_view(padded.data(), line.size()), out.data(), false));
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

static_assert(LineReader::kSlack >= kAccentSlack && LineWriter::kSlack >= kAccentSlack);

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
