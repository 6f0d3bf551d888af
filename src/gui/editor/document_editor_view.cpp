// How the editor shows its text: the font and its zoom, the line-number margin and
// the word wrap.

#include <algorithm>
#include <string>

#include "editor/document_editor.h"
#include "editor/document_editor_impl.h"

namespace orvex::gui {

namespace {

const QColor kMarginBackground(0xE4, 0xE4, 0xE4);
const QColor kMarginText(0x60, 0x60, 0x60);
// The margin never narrows below three digits, so that it does not jump while a
// short document grows.
constexpr int kFewestDigits = 3;

}  // namespace

QFont DocumentEditor::editorFont() {
  // Courier at 8 points: 11 pixels high at 96 dots per inch.
  QFont font(QStringLiteral("Courier"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(8.25);
  return font;
}

QWidget* DocumentEditor::textArea() const { return m_impl->sci; }

void DocumentEditor::applyFont() {
  QsciScintilla* sci = m_impl->sci;
  sci->setFont(m_font);
  sci->SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, QsciScintillaBase::STYLE_DEFAULT,
                     m_font.family().toUtf8().constData());
  sci->SendScintilla(
      QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, QsciScintillaBase::STYLE_DEFAULT,
      static_cast<long>(m_font.pointSizeF() * static_cast<double>(QsciScintillaBase::SC_FONT_SIZE_MULTIPLIER)));
  sci->SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
  styleMargin();
}

void DocumentEditor::setTextFont(const QFont& font) {
  m_font = font;
  applyFont();
  refreshMargin();
  emit fontChanged();
}

int DocumentEditor::zoom() const { return static_cast<int>(m_impl->send(QsciScintillaBase::SCI_GETZOOM)); }

void DocumentEditor::setZoom(int zoom) {
  m_impl->send(QsciScintillaBase::SCI_SETZOOM, static_cast<unsigned long>(static_cast<long>(zoom)));
}

QFont DocumentEditor::zoomedFont() const {
  // The control adds the zoom to every font's size and never goes below 2 points.
  QFont font = m_font;
  font.setPointSizeF(std::max(font.pointSizeF() + zoom(), 2.0));
  return font;
}

int DocumentEditor::textWidth(int count) const {
  const std::string text(static_cast<std::size_t>(count), '.');
  return static_cast<int>(m_impl->sci->SendScintilla(
      QsciScintillaBase::SCI_TEXTWIDTH, static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT), text.c_str()));
}

void DocumentEditor::styleMargin() {
  m_impl->sci->setMarginsBackgroundColor(kMarginBackground);
  m_impl->sci->setMarginsForegroundColor(kMarginText);
}

void DocumentEditor::setLineNumbersShown(bool shown) {
  m_lineNumbers = shown;
  m_impl->sci->setMarginLineNumbers(0, shown);
  refreshMargin();
}

int DocumentEditor::marginWidth() const { return m_impl->sci->marginWidth(0); }

void DocumentEditor::refreshMargin() {
  int width = 0;
  if (m_lineNumbers) {
    int digits = 1;
    for (long lines = m_impl->lineCount(); lines >= 10; lines /= 10) ++digits;
    // One digit more than the largest number: a little room on both sides.
    const std::string nines(static_cast<std::size_t>(std::max(digits, kFewestDigits) + 1), '9');
    width = static_cast<int>(m_impl->sci->SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                                                        static_cast<unsigned long>(QsciScintillaBase::STYLE_LINENUMBER),
                                                        nines.c_str()));
  }
  if (width == marginWidth()) return;
  m_impl->sci->setMarginWidth(0, width);
  emit marginWidthChanged();
}

void DocumentEditor::setWordWrap(bool wrap) {
  m_impl->sci->setWrapMode(wrap ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
  // Wrapped lines never reach past the window (a word longer than the window is
  // cut where it reaches the edge): no horizontal bar.
  m_impl->sci->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

bool DocumentEditor::wordWraps() const { return m_impl->sci->wrapMode() != QsciScintilla::WrapNone; }

}  // namespace orvex::gui
