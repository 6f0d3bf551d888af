#include "editor/document_encoding.h"

#include "io/file_probes.h"
#include "text/windows1252.h"

namespace orvex::gui {

std::string DocumentEncoding::bytes(std::string_view text) const {
  return showsUtf8() ? std::string(text) : encodeWindows1252(text);
}

TextFormat DocumentEncoding::dumpFormat(std::string_view text) const {
  TextFormat format = m_format;
  format.bom = false;
  format.encoding = m_shown;
  format.finalBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  return format;
}

Result<DocumentEncoding::Reload> DocumentEncoding::forToolOutput(Encoding written, const std::filesystem::path& output,
                                                                 bool keptUtf8) const {
  const bool turnsUtf8 = written == Encoding::Utf8 && m_format.encoding == Encoding::Windows1252;
  const Encoding own = turnsUtf8 ? Encoding::Utf8 : m_format.encoding;
  if (own == Encoding::Windows1252) return Reload{own, Encoding::Windows1252, turnsUtf8};
  // Reading 100 MB again only to find it valid is a sixth of a tool's time.
  if (keptUtf8 && m_shown == Encoding::Utf8) return Reload{own, Encoding::Utf8, turnsUtf8};
  const Result<Encoding> shown = probeEncoding(output);
  if (!shown.ok()) return Status::failure(shown.error());
  return Reload{own, shown.value(), turnsUtf8};
}

bool DocumentEncoding::receive(std::string_view utf8) {
  if (m_shown != Encoding::Windows1252 || fitsWindows1252(utf8)) return false;
  setEncodings(Encoding::Utf8, Encoding::Utf8);
  return true;
}

}  // namespace orvex::gui
