#pragma once
// The encodings of the document the editor holds as UTF-8: the document's own, in
// its format with the byte-order mark and the line break, and the one its bytes are
// shown from. The two differ while a tool has left bytes that are not valid UTF-8 in
// a UTF-8 document (an encrypted text): they are shown as Windows-1252 until they
// are valid again.

#include <filesystem>
#include <string>
#include <string_view>

#include "history/tool_history.h"
#include "io/status.h"
#include "text/text_format.h"

namespace orvex::gui {

class DocumentEncoding {
 public:
  const TextFormat& format() const { return m_format; }
  Encoding shown() const { return m_shown; }
  bool showsUtf8() const { return m_shown == Encoding::Utf8; }
  // `format.encoding` is the document's own.
  void set(const TextFormat& format, Encoding shown) {
    m_format = format;
    m_shown = shown;
  }
  void setEncodings(Encoding own, Encoding shown) {
    m_format.encoding = own;
    m_shown = shown;
  }

  // The editor's UTF-8 text as the document's bytes.
  std::string bytes(std::string_view text) const;
  // How a dump of `text` for a tool is laid out: no byte-order mark, the bytes'
  // encoding, and a final break when the text ends with one.
  TextFormat dumpFormat(std::string_view text) const;
  Snapshot snapshot(const std::filesystem::path& file) const { return {file, m_format.encoding, m_shown}; }

  // The encodings a tool's output is reloaded with. `written` is the one the tool
  // wrote in: the document's, or UTF-8 when a tool turned a Windows-1252 text into
  // UTF-8 (a concatenation). Fails when the output cannot be read.
  struct Reload {
    Encoding own;
    Encoding shown;
    bool turnsUtf8;
  };
  Result<Reload> forToolOutput(Encoding written, const std::filesystem::path& output, bool keptUtf8) const;

  // Typed or pasted text: a Windows-1252 document that receives a character the code
  // page lacks is UTF-8 from now on. True when it turned.
  bool receive(std::string_view utf8);

 private:
  TextFormat m_format;
  Encoding m_shown = Encoding::Utf8;
};

}  // namespace orvex::gui
