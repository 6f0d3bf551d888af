// A file's text streamed into the control. The control keeps the start of every line
// in an array that it grows step by step as lines come in, each step a new array
// made while the old one still lives; at the last steps of a large text the two sit
// beside the whole text. Grown first, while the document is still empty, the array
// needs no step during the load: a 100 MB text of short lines peaks some 4 MB lower.

#include <Qsci/qsciscintilla.h>
#include <malloc.h>

#include <algorithm>
#include <string>

#include "editor/document_editor.h"
#include "editor/document_editor_impl.h"
#include "text/longest_line.h"

namespace orvex::gui {

namespace {
// Below this many lines the array is small beside the text: no reservation.
constexpr std::size_t kReservedLinesFrom = 100'000;
// A reservation assumes lines of at least this many bytes on average: a start of the
// file far denser in lines than the rest must not reserve more than the text weighs.
constexpr std::size_t kShortestAverageLine = 8;
}  // namespace

bool DocumentEditor::reserveLineIndex(std::size_t lines) {
  if (lines < kReservedLinesFrom) return false;
  // In one call: the control then grows its text once, to a block it gives back
  // whole when the text's buffer is allocated, where many steps would leave holes.
  const std::string breaks(lines, '\n');
  m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(lines), breaks.data());
  // Not all of them: a document emptied whole gets a fresh, small array.
  m_impl->send(QsciScintillaBase::SCI_DELETERANGE, 0, static_cast<long>(lines - 1));
  return true;
}

std::string DocumentEditor::appendPieces(PieceReader& reader, const std::filesystem::path& path,
                                         std::size_t expectedSize, bool sizeLineIndex) {
  // In large pieces read with read(): a file mapped into memory would kill the
  // program if it shrank during the load, while read() simply gives what is there.
  const Impl::QuietChange quiet(*m_impl);
  m_impl->send(QsciScintillaBase::SCI_CLEARALL);
  const std::size_t textSize = std::min(expectedSize, kMaxBytes);
  std::string_view piece;
  bool more = reader.next(piece);
  const bool reserved =
      more && sizeLineIndex &&
      reserveLineIndex(std::min(estimatedLineCount(piece, textSize), textSize / kShortestAverageLine));
  // The old text's buffer and the freed blocks go back to the system before the new
  // text takes its place: the peak is the text plus what is kept.
  ::malloc_trim(0);
  // Room beyond the text, so that the first keys do not move the whole buffer.
  m_impl->send(QsciScintillaBase::SCI_ALLOCATE, textSize + kRoomForTyping);
  std::size_t total = 0;
  LongestLine longest;
  for (; more; more = reader.next(piece)) {
    if (total + piece.size() > kMaxBytes) return tooLargeMessage(path.string());
    longest.feed(piece);
    if (reserved) {
      // Before the reservation's line break, where the last piece ended.
      m_impl->send(QsciScintillaBase::SCI_SETTARGETRANGE, total, static_cast<long>(total));
      m_impl->sci->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(piece.size()),
                                 piece.data());
    } else {
      m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(piece.size()),
                                 piece.data());
    }
    total += piece.size();
  }
  if (reserved) m_impl->send(QsciScintillaBase::SCI_DELETERANGE, total, 1);
  showLongestLine(longest.bytes());
  return reader.error();
}

}  // namespace orvex::gui
