#include "io/encoding_meeting.h"

#include "io/file_probes.h"
#include "io/line_reader.h"
#include "text/windows1252.h"

namespace orvex {

namespace {

bool fileFitsWindows1252(const std::filesystem::path& path, LinkPolicy links) {
  LineReader reader(path, true, links);
  std::string_view line;
  while (reader.next(line))
    if (!fitsWindows1252(line)) return false;
  return true;
}

std::string_view convert(std::string_view line, Encoding from, Encoding to, std::string& buffer) {
  if (from == to) return line;
  buffer.clear();
  if (to == Encoding::Utf8)
    appendWindows1252AsUtf8(line, buffer);
  else
    buffer = encodeWindows1252(line);
  return buffer;
}

}  // namespace

EncodingMeeting::EncodingMeeting(Encoding document, const std::filesystem::path& other, LinkPolicy links)
    : m_document(document), m_other(detectFileEncoding(other, links)), m_result(document) {
  if (m_document == Encoding::Windows1252 && m_other == Encoding::Utf8 && !fileFitsWindows1252(other, links))
    m_result = Encoding::Utf8;
}

std::string_view EncodingMeeting::documentLine(std::string_view line) {
  return convert(line, m_document, m_result, m_documentBuffer);
}

std::string_view EncodingMeeting::otherLine(std::string_view line) {
  return convert(line, m_other, m_result, m_otherBuffer);
}

}  // namespace orvex
