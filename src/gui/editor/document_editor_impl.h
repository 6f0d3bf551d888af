#pragma once
// The editor adapter's view of the QScintilla control: the text-control interface
// the line commands use, the indicator that boxes the marked block, the quiet loads,
// and the printer that counts its pages.
// Private to the adapter: only its own files (document_editor*.cpp) include it, and Qsci/.

#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/block_highlight.h"
#include "editor/document_editor.h"
#include "editor/plain_accessible.h"
#include "editor/text_control.h"

namespace orvex::gui {

// Counts the pages a print run lays out.
class CountingPrinter : public QsciPrinter {
 public:
  void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override {
    QsciPrinter::formatPage(painter, drawing, area, pageNumber);
    if (drawing) ++pages;
  }
  int pages = 0;
};

class DocumentEditor::Impl final : public TextControl, public BlockHighlight::Control {
 public:
  // The first of the indicators Scintilla leaves to applications; the editor draws
  // no other.
  static constexpr int kBlockIndicator = 8;

  // The changes the control reports: those about to happen, and the steps of the
  // tools in the history. For every change reported once made, the control's
  // accessibility code counts the characters from the start of the text up to it:
  // half a second for a key near the end of a 100 MB text.
  static constexpr unsigned long kReportedChanges = QsciScintillaBase::SC_MOD_BEFOREINSERT |
                                                    QsciScintillaBase::SC_MOD_BEFOREDELETE |
                                                    QsciScintillaBase::SC_MOD_CONTAINER;

  // Insertions are also reported once made, with their text, while that text must be
  // checked: in a document shown in Windows-1252, which a character outside the code
  // page turns UTF-8.
  void setInsertionsReported(bool reported) {
    m_reportedChanges =
        kReportedChanges | (reported ? static_cast<unsigned long>(QsciScintillaBase::SC_MOD_INSERTTEXT) : 0UL);
    send(QsciScintillaBase::SCI_SETMODEVENTMASK, m_reportedChanges);
  }
  unsigned long reportedChanges() const { return m_reportedChanges; }

  // A caret that blinks on a line of millions of characters has the whole line drawn
  // again each time, which keeps a core busy: on such a text it stays lit.
  void setLongLines(bool longLines) {
    if (m_caretPeriod < 0) m_caretPeriod = send(QsciScintillaBase::SCI_GETCARETPERIOD);
    send(QsciScintillaBase::SCI_SETCARETPERIOD, longLines ? 0UL : static_cast<unsigned long>(m_caretPeriod));
  }

  explicit Impl(QWidget* parent) : sci(createControl(parent)) {}

  long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
    return sci->SendScintilla(message, wParam, lParam);
  }
  // The messages that hand back an address of the control's buffer as their integer result.
  const char* sendForPointer(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
    return reinterpret_cast<const char*>(send(message, wParam, lParam));  // NOLINT(performance-no-int-to-ptr)
  }
  static unsigned long at(long position) { return static_cast<unsigned long>(position); }
  // Text with its length, which may hold NUL bytes.
  void sendText(unsigned int message, std::string_view text) const {
    sci->SendScintilla(message, static_cast<unsigned long>(text.size()), text.data());
  }
  int columnOf(long position) const { return static_cast<int>(countCharacters(lineStart(lineOf(position)), position)); }

  long lineCount() const override { return send(QsciScintillaBase::SCI_GETLINECOUNT); }
  long length() const override { return send(QsciScintillaBase::SCI_GETLENGTH); }
  std::string_view text() const override {
    const char* data = sendForPointer(QsciScintillaBase::SCI_GETCHARACTERPOINTER);
    return std::string_view(data, static_cast<std::size_t>(length()));
  }
  long lineStart(long line) const override { return send(QsciScintillaBase::SCI_POSITIONFROMLINE, at(line)); }
  long lineEnd(long line) const override { return send(QsciScintillaBase::SCI_GETLINEENDPOSITION, at(line)); }
  long lineOf(long position) const override { return send(QsciScintillaBase::SCI_LINEFROMPOSITION, at(position)); }
  long selectionStart() const override { return send(QsciScintillaBase::SCI_GETSELECTIONSTART); }
  long selectionEnd() const override { return send(QsciScintillaBase::SCI_GETSELECTIONEND); }
  long countCharacters(long start, long end) const override {
    return send(QsciScintillaBase::SCI_COUNTCHARACTERS, at(start), end);
  }
  long positionRelative(long start, long characters) const override {
    return send(QsciScintillaBase::SCI_POSITIONRELATIVE, at(start), characters);
  }
  long firstVisibleLine() const override { return send(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE); }
  // Through the target, which takes a length: SCI_INSERTTEXT would stop at a NUL byte
  // and cut a duplicated line that holds one.
  void insert(long position, std::string_view text) override {
    send(QsciScintillaBase::SCI_SETTARGETRANGE, at(position), position);
    sendText(QsciScintillaBase::SCI_REPLACETARGET, text);
  }
  void remove(long start, long length) override { send(QsciScintillaBase::SCI_DELETERANGE, at(start), length); }
  void append(std::string_view text) override { sendText(QsciScintillaBase::SCI_APPENDTEXT, text); }
  void goTo(long position) override { send(QsciScintillaBase::SCI_GOTOPOS, at(position)); }
  void goToLine(long line) override { send(QsciScintillaBase::SCI_GOTOLINE, at(line)); }
  void select(long anchor, long caret) override { send(QsciScintillaBase::SCI_SETSEL, at(anchor), caret); }
  void setFirstVisibleLine(long line) override { send(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, at(line)); }
  void beginUndoAction() override { send(QsciScintillaBase::SCI_BEGINUNDOACTION); }
  void endUndoAction() override { send(QsciScintillaBase::SCI_ENDUNDOACTION); }

  // Through the range pointer: the character pointer of text() would first close the
  // gap of the control's buffer, moving the text after the caret at every keystroke.
  std::string_view textRange(long start, long end) const override {
    const char* data = sendForPointer(QsciScintillaBase::SCI_GETRANGEPOINTER, at(start), end - start);
    return data ? std::string_view(data, static_cast<std::size_t>(end - start)) : std::string_view();
  }
  std::pair<long, long> linesInView() const override {
    const long top = send(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long bottom = top + send(QsciScintillaBase::SCI_LINESONSCREEN);
    return {send(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, at(top)),
            send(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, at(bottom))};
  }
  void clearHighlight() override {
    send(QsciScintillaBase::SCI_SETINDICATORCURRENT, kBlockIndicator);
    send(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0, length());
  }
  void highlight(long start, long length) override {
    send(QsciScintillaBase::SCI_SETINDICATORCURRENT, kBlockIndicator);
    send(QsciScintillaBase::SCI_INDICATORFILLRANGE, at(start), length);
  }
  // The runs of the block's indicator, as byte offsets.
  std::vector<std::pair<std::size_t, std::size_t>> highlighted() const {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (long position = 0; position < length();) {
      const long end = send(QsciScintillaBase::SCI_INDICATOREND, kBlockIndicator, position);
      if (end <= position) break;
      if (send(QsciScintillaBase::SCI_INDICATORVALUEAT, kBlockIndicator, position) != 0)
        runs.emplace_back(static_cast<std::size_t>(position), static_cast<std::size_t>(end));
      position = end;
    }
    return runs;
  }

  class QuietChange;

  QsciScintilla* sci;

  // Made on first use: a printer loads the print system's plug-in and its libraries,
  // some megabytes that a window which never prints does without.
  CountingPrinter& printer() {
    if (!m_printer) m_printer = std::make_unique<CountingPrinter>();
    return *m_printer;
  }

 private:
  std::unique_ptr<CountingPrinter> m_printer;
  unsigned long m_reportedChanges = kReportedChanges;
  long m_caretPeriod = -1;

  static QsciScintilla* createControl(QWidget* parent) {
    preferPlainEditorAccessible();
    auto* control = new QsciScintilla(parent);
    control->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, kReportedChanges);
    return control;
  }
};

// Replaces text without undo collection and without reporting the change: loads and
// reloads are not edits (a tool's step in the history brings the old text back), and
// the control would otherwise count the characters up to each insertion and copy its
// text for accessibility, a pass over the whole document every time.
class DocumentEditor::Impl::QuietChange {
 public:
  explicit QuietChange(const Impl& impl) : m_impl(impl) {
    m_impl.send(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    m_impl.send(QsciScintillaBase::SCI_SETMODEVENTMASK, 0);
  }
  QuietChange(const QuietChange&) = delete;
  QuietChange& operator=(const QuietChange&) = delete;
  ~QuietChange() {
    m_impl.send(QsciScintillaBase::SCI_SETMODEVENTMASK, m_impl.reportedChanges());
    m_impl.send(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
  }

 private:
  const Impl& m_impl;
};

}  // namespace orvex::gui
