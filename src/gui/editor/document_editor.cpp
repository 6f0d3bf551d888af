#include "editor/document_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QVBoxLayout>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "io/atomic_file.h"
#include "io/document_file.h"
#include "io/file_handle.h"
#include "io/file_probes.h"
#include "io/piece_reader.h"
#include "io/status.h"
#include "paths/file_names.h"
#include "text/messages.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex::gui {

namespace {

int eolMode(LineBreak lineBreak) {
  switch (lineBreak) {
    case LineBreak::CrLf: return QsciScintillaBase::SC_EOL_CRLF;
    case LineBreak::Cr: return QsciScintillaBase::SC_EOL_CR;
    case LineBreak::Lf: break;
  }
  return QsciScintillaBase::SC_EOL_LF;
}

// Typing, Backspace, Delete, Return, the navigation and selection keys (arrows,
// Home, End, Page Up and Down, with Shift and Ctrl) and the clipboard keys.
bool isPlainEditingKey(int combined) {
  if (combined == 0) return false;
  const int key = combined & ~static_cast<int>(Qt::KeyboardModifierMask);
  const auto modifiers = Qt::KeyboardModifiers::fromInt(combined & static_cast<int>(Qt::KeyboardModifierMask));
  switch (key) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
      return !(modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier));
    case Qt::Key_Backspace: case Qt::Key_Return: case Qt::Key_Enter:
      return modifiers == Qt::NoModifier;
    case Qt::Key_Delete:
      return modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
    case Qt::Key_Insert:
      return modifiers == Qt::ShiftModifier || modifiers == Qt::ControlModifier;
    case Qt::Key_C: case Qt::Key_X: case Qt::Key_V:
      return modifiers == Qt::ControlModifier;
  }
  return false;
}

// A character typed with Ctrl or Alt held (Ctrl+=, Ctrl+0, Alt+W...) is a command
// the program does not have, not text. AltGr is no Alt: X11 reports it as the
// group switch, other systems as no modifier at all, and its character (€, @, [
// on a French keyboard) is typed as any other.
bool isCommandCharacter(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier)) || (modifiers & Qt::GroupSwitchModifier)) return false;
  const QString text = key.text();
  return !text.isEmpty() && text.front().isPrint();
}

}  // namespace

namespace {

// A failed load that has not touched the editor yet.
struct StillWhole : IoFailure {
  using IoFailure::IoFailure;
};

}  // namespace

// Counts the pages a print run lays out.
class CountingPrinter : public QsciPrinter {
 public:
  void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override {
    QsciPrinter::formatPage(painter, drawing, area, pageNumber);
    if (drawing) ++pages;
  }
  int pages = 0;
};

class DocumentEditor::Impl {
 public:
  explicit Impl(QWidget* parent) : sci(new QsciScintilla(parent)) {}

  long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
    return sci->SendScintilla(message, wParam, lParam);
  }
  long position() const { return send(QsciScintillaBase::SCI_GETCURRENTPOS); }
  long selectionStart() const { return send(QsciScintillaBase::SCI_GETSELECTIONSTART); }
  long selectionEnd() const { return send(QsciScintillaBase::SCI_GETSELECTIONEND); }
  int lineOf(long pos) const { return static_cast<int>(send(QsciScintillaBase::SCI_LINEFROMPOSITION, pos)); }
  int columnOf(long pos) const {
    const long start = send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lineOf(pos)));
    return static_cast<int>(send(QsciScintillaBase::SCI_COUNTCHARACTERS, static_cast<unsigned long>(start), pos));
  }

  class QuietChange;

  QsciScintilla* sci;
  CountingPrinter printer;
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
    m_impl.send(QsciScintillaBase::SCI_SETMODEVENTMASK, QsciScintillaBase::SC_MODEVENTMASKALL);
    m_impl.send(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
  }

 private:
  const Impl& m_impl;
};

DocumentEditor::DocumentEditor(const std::filesystem::path& historyDirectory, QWidget* parent)
    : QWidget(parent), m_impl(std::make_unique<Impl>(this)), m_history(historyDirectory) {
  setObjectName(QStringLiteral("editeur"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_impl->sci);
  QsciScintilla* sci = m_impl->sci;
  sci->setFrameShape(QFrame::NoFrame);
  // Every document is held as UTF-8: a Windows-1252 one is converted when it comes
  // in and goes out, so that € œ ’ show as themselves.
  sci->setUtf8(true);
  // Plain text needs no style byte per character: a document without styles takes
  // half the memory and loads faster.
  const long document = sci->SendScintilla(QsciScintillaBase::SCI_CREATEDOCUMENT, 0UL,
                                           static_cast<long>(QsciScintillaBase::SC_DOCUMENTOPTION_STYLES_NONE));
  sci->SendScintilla(QsciScintillaBase::SCI_SETDOCPOINTER, 0UL, document);
  sci->SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, document);
  const QFont font = editorFont();
  sci->setFont(font);
  sci->SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, QsciScintillaBase::STYLE_DEFAULT,
                     font.family().toUtf8().constData());
  sci->SendScintilla(QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, QsciScintillaBase::STYLE_DEFAULT,
                     static_cast<long>(font.pointSizeF() * static_cast<double>(QsciScintillaBase::SC_FONT_SIZE_MULTIPLIER)));
  sci->SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
  sci->setMarginWidth(0, 0);
  sci->setMarginWidth(1, 0);
  sci->setWrapMode(QsciScintilla::WrapNone);
  sci->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sci->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sci->setAutoIndent(false);
  sci->setTabWidth(8);
  sci->setIndentationsUseTabs(true);
  sci->setContextMenuPolicy(Qt::NoContextMenu);
  sci->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, 1);
  sci->installEventFilter(this);
  sci->viewport()->installEventFilter(this);
  connect(sci, &QsciScintilla::cursorPositionChanged, this, [this](int, int) { emit selectionMoved(); });
  connect(sci, &QsciScintilla::selectionChanged, this, &DocumentEditor::selectionMoved);
  connect(sci, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, &DocumentEditor::refreshModified);
  connect(sci, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, &DocumentEditor::refreshModified);
  connect(sci, &QsciScintillaBase::SCN_ZOOM, this, &DocumentEditor::zoomChanged);
  // A tool's step in the undo history is an action of our own: Scintilla only
  // reports passing over it, and the text is restored once its undo or redo returns.
  connect(sci, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int, int type, const char* text, int length, int, int, int, int, int token, int) {
            if (type & QsciScintillaBase::SC_MOD_CONTAINER) m_pendingStep = token;
            if ((type & QsciScintillaBase::SC_MOD_INSERTTEXT) && text && length > 0)
              checkInsertedText(std::string_view(text, static_cast<std::size_t>(length)));
          });
  // The control keeps only the keys of plain editing; the menus bring the rest.
  // Undo and redo, in particular, go through undo() and redo(), which complete a
  // tool's step.
  for (QsciCommand* command : sci->standardCommands()->commands()) {
    if (!isPlainEditingKey(command->key())) command->setKey(0);
    if (!isPlainEditingKey(command->alternateKey())) command->setAlternateKey(0);
  }
  setFocusProxy(sci);
  newDocument();
}

DocumentEditor::~DocumentEditor() = default;

QFont DocumentEditor::editorFont() {
  // Courier at 8 points: 11 pixels high at 96 dots per inch.
  QFont font(QStringLiteral("Courier"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(8.25);
  return font;
}

QWidget* DocumentEditor::textArea() const { return m_impl->sci; }

int DocumentEditor::zoom() const { return static_cast<int>(m_impl->send(QsciScintillaBase::SCI_GETZOOM)); }

QFont DocumentEditor::zoomedFont() const {
  // The control adds the zoom to every font's size and never goes below 2 points.
  QFont font = editorFont();
  font.setPointSizeF(std::max(font.pointSizeF() + zoom(), 2.0));
  return font;
}

int DocumentEditor::textWidth(int count) const {
  const std::string text(static_cast<std::size_t>(count), '.');
  return static_cast<int>(m_impl->sci->SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                                                      static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT),
                                                      text.c_str()));
}

void DocumentEditor::newDocument() { loadBytes({}, TextFormat{}); }

void DocumentEditor::loadBytes(std::string_view bytes, const TextFormat& format) {
  const Encoding shown = format.encoding == Encoding::Utf8 ? textEncoding(bytes) : Encoding::Windows1252;
  std::string converted;
  if (shown == Encoding::Windows1252) {
    appendWindows1252AsUtf8(bytes, converted);
    bytes = converted;
  }
  m_format = format;
  m_format.encoding = shown;
  m_shownEncoding = shown;
  m_impl->send(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(eolMode(format.lineBreak)));
  {
    const Impl::QuietChange quiet(*m_impl);
    m_impl->send(QsciScintillaBase::SCI_CLEARALL);
    if (!bytes.empty())
      m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()),
                                 bytes.data());
  }
  forgetHistory(HistoryEnd::FreshDocument);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, 0);
  emit formatChanged();
}

void DocumentEditor::loadFile(const std::filesystem::path& path, const TextFormat& format, Encoding shown) {
  const TextFormat previous = m_format;
  m_format = format;
  try {
    loadFromFile(path, format.encoding, shown, format.bom, true);
  } catch (const StillWhole&) {
    m_format = previous;
    throw;
  } catch (const IoFailure& failure) {
    // Half a file is no document: what is left is a new, empty one.
    newDocument();
    throw DocumentLost(failure.what());
  } catch (const std::bad_alloc&) {
    newDocument();
    throw DocumentLost(outOfMemoryMessage());
  }
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, 0);
}

void DocumentEditor::loadFromFile(const std::filesystem::path& path, Encoding own, Encoding shown, bool skipBom,
                                  bool freshHistory) {
  FileHandle file;
  struct stat info {};
  try {
    file = openForReading(path);
    if (::fstat(file.get(), &info) != 0) throw IoFailure(messageForErrno(errno));
  } catch (const IoFailure& failure) {
    throw StillWhole(failure.what());
  }
  const auto expected = static_cast<std::size_t>(info.st_size);
  if (expected > kMaxBytes) throw StillWhole(tooLargeMessage(path.string()));

  m_format.encoding = own;
  m_shownEncoding = shown;
  m_impl->send(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(eolMode(m_format.lineBreak)));
  // In large pieces read with read(): a file mapped into memory would kill the
  // program if it shrank during the load, while read() simply gives what is there.
  const Impl::QuietChange quiet(*m_impl);
  m_impl->send(QsciScintillaBase::SCI_CLEARALL);
  m_impl->send(QsciScintillaBase::SCI_ALLOCATE, expected + 1);
  PieceReader::Options options;
  options.skipBom = skipBom;
  options.fromWindows1252 = shown == Encoding::Windows1252;
  PieceReader reader(file.get(), options);
  std::size_t total = 0;
  std::string_view piece;
  while (reader.next(piece)) {
    total += piece.size();
    if (total > kMaxBytes) throw IoFailure(tooLargeMessage(path.string()));
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(piece.size()),
                               piece.data());
  }
  if (freshHistory) forgetHistory(HistoryEnd::FreshDocument);
  emit formatChanged();
}

void DocumentEditor::forgetHistory(HistoryEnd end) {
  m_impl->send(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  m_history.clear();
  m_pendingStep = 0;
  if (end == HistoryEnd::FreshDocument) {
    m_impl->send(QsciScintillaBase::SCI_SETSAVEPOINT);
    m_savedFormat = m_format;
    m_historyLost = false;
  } else {
    m_historyLost = true;
  }
  refreshModified();
}

bool DocumentEditor::isModified() const {
  const bool formatChanged = m_format.encoding != m_savedFormat.encoding || m_format.bom != m_savedFormat.bom ||
                             m_format.lineBreak != m_savedFormat.lineBreak;
  return m_historyLost || formatChanged || m_impl->send(QsciScintillaBase::SCI_GETMODIFY) != 0;
}

void DocumentEditor::markSaved() {
  m_impl->send(QsciScintillaBase::SCI_SETSAVEPOINT);
  m_savedFormat = m_format;
  m_historyLost = false;
  refreshModified();
}

void DocumentEditor::refreshModified() {
  const bool modified = isModified();
  if (modified == m_reportedModified) return;
  m_reportedModified = modified;
  emit modifiedChanged(modified);
}

std::string DocumentEditor::tooLargeMessage(const std::string& path) {
  return "Le fichier " + path + " est trop volumineux pour l'éditeur (plus de 2 Go).\n\r"
         "Le mode batch le traite : orvex FICHIER OPTIONS.";
}

std::string_view DocumentEditor::editorText() const {
  const long length = m_impl->send(QsciScintillaBase::SCI_GETLENGTH);
  const auto* data = reinterpret_cast<const char*>(m_impl->send(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
  return std::string_view(data, static_cast<std::size_t>(length));
}

std::string DocumentEditor::bytes() const {
  const std::string_view text = editorText();
  return m_shownEncoding == Encoding::Utf8 ? std::string(text) : encodeWindows1252(text);
}

FileIdentity DocumentEditor::saveFile(const std::filesystem::path& path) const {
  if (m_shownEncoding == Encoding::Utf8) return saveDocument(path, editorText(), m_format);
  return saveDocument(path, encodeWindows1252(editorText()), m_format);
}

std::size_t DocumentEditor::lineCount() const {
  const long lines = m_impl->send(QsciScintillaBase::SCI_GETLINECOUNT);
  const long lastStart = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
  const long length = m_impl->send(QsciScintillaBase::SCI_GETLENGTH);
  return static_cast<std::size_t>(lastStart == length ? lines - 1 : lines);
}

int DocumentEditor::caretLine() const { return m_impl->lineOf(m_impl->selectionEnd()); }
int DocumentEditor::caretColumn() const { return m_impl->columnOf(m_impl->selectionEnd()); }
int DocumentEditor::selectionStartLine() const { return m_impl->lineOf(m_impl->selectionStart()); }
int DocumentEditor::selectionStartColumn() const { return m_impl->columnOf(m_impl->selectionStart()); }

qint64 DocumentEditor::selectionLength() const {
  return m_impl->send(QsciScintillaBase::SCI_COUNTCHARACTERS, static_cast<unsigned long>(m_impl->selectionStart()),
                      m_impl->selectionEnd());
}

std::pair<std::size_t, std::size_t> DocumentEditor::selectionOffsets() const {
  return {static_cast<std::size_t>(m_impl->selectionStart()), static_cast<std::size_t>(m_impl->selectionEnd())};
}

void DocumentEditor::selectOffsets(std::size_t start, std::size_t end) {
  m_impl->send(QsciScintillaBase::SCI_SETSEL, start, static_cast<long>(end));
  m_impl->send(QsciScintillaBase::SCI_SCROLLCARET);
}

std::string DocumentEditor::selectedText() const {
  const auto start = static_cast<std::size_t>(m_impl->selectionStart());
  const auto end = static_cast<std::size_t>(m_impl->selectionEnd());
  return std::string(editorText().substr(start, end - start));
}

void DocumentEditor::replaceSelection(std::string_view replacement) {
  const long start = m_impl->selectionStart();
  m_impl->send(QsciScintillaBase::SCI_BEGINUNDOACTION);
  m_impl->send(QsciScintillaBase::SCI_TARGETFROMSELECTION);
  m_impl->sci->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                             replacement.data());
  m_impl->send(QsciScintillaBase::SCI_ENDUNDOACTION);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start) + replacement.size());
}

bool DocumentEditor::undo() { return stepHistory(true) != Step::ToolLost; }
bool DocumentEditor::redo() { return stepHistory(false) != Step::ToolLost; }

bool DocumentEditor::undoTool() {
  if (!m_impl->sci->isUndoAvailable() || m_history.steps() == 0) return false;
  return stepHistory(true) == Step::Tool;
}

DocumentEditor::Step DocumentEditor::stepHistory(bool backwards) {
  const ViewPosition where = viewPosition();
  m_pendingStep = 0;
  if (backwards)
    m_impl->sci->undo();
  else
    m_impl->sci->redo();
  const int step = std::exchange(m_pendingStep, 0);
  if (step == 0) {
    refreshModified();
    return Step::Plain;
  }
  const std::optional<Snapshot> text = backwards ? m_history.before(step) : m_history.after(step);
  const std::optional<Snapshot> current = backwards ? m_history.after(step) : m_history.before(step);
  bool restored = false;
  if (text) {
    try {
      loadFromFile(text->file, text->documentEncoding, text->bytesEncoding, false, false);
      restored = true;
    } catch (const StillWhole&) {
    } catch (const IoFailure&) {
      // Half a text is in the editor: the one it had is brought back before the
      // history, which holds it, is let go.
      if (current) {
        try {
          loadFromFile(current->file, current->documentEncoding, current->bytesEncoding, false, false);
        } catch (const IoFailure&) {
        }
      }
    }
  }
  if (!restored) {
    // Scintilla has passed over the step but the text is still the other side of
    // it: the steps beyond would no longer fit the text.
    forgetHistory(HistoryEnd::StepLost);
    return Step::ToolLost;
  }
  restoreViewPosition(where);
  refreshModified();
  return Step::Tool;
}

ViewPosition DocumentEditor::viewPosition() const {
  return {caretLine(), caretColumn(), static_cast<int>(m_impl->send(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE))};
}

void DocumentEditor::restoreViewPosition(const ViewPosition& where) {
  const long lines = m_impl->send(QsciScintillaBase::SCI_GETLINECOUNT);
  const auto line = static_cast<unsigned long>(std::clamp<long>(where.line, 0, lines - 1));
  const long start = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  const long end = m_impl->send(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
  const long available = m_impl->send(QsciScintillaBase::SCI_COUNTCHARACTERS, static_cast<unsigned long>(start), end);
  const long column = std::clamp<long>(where.column, 0, available);
  const long position =
      m_impl->send(QsciScintillaBase::SCI_POSITIONRELATIVE, static_cast<unsigned long>(start), column);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(position));
  m_impl->send(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0, where.firstVisibleLine)));
}

namespace {

// One undo step for everything a command changes.
class UndoStep {
 public:
  explicit UndoStep(QsciScintilla* sci) : m_sci(sci) { m_sci->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION); }
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;
  ~UndoStep() { m_sci->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION); }

 private:
  QsciScintilla* m_sci;
};

}  // namespace

bool DocumentEditor::goToLine(long number) {
  const long lines = m_impl->send(QsciScintillaBase::SCI_GETLINECOUNT);
  if (number < 1 || number > lines + 1) return false;
  if (number == lines + 1) {
    // Past a last line that is empty there is nothing; past one with text, the
    // new empty line the user asked for.
    const long length = m_impl->send(QsciScintillaBase::SCI_GETLENGTH);
    const long lastStart = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
    if (lastStart == length) return false;
    const std::string_view lineBreak = lineBreakBytes(m_format.lineBreak);
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(lineBreak.size()),
                               lineBreak.data());
  }
  // The control's own call scrolls the line into view: no edit, no undo step.
  m_impl->send(QsciScintillaBase::SCI_GOTOLINE, static_cast<unsigned long>(number - 1));
  return true;
}

void DocumentEditor::selectLine() {
  const auto line = static_cast<unsigned long>(caretLine());
  const long start = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  const long end = m_impl->send(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
  m_impl->send(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), end);
}

void DocumentEditor::duplicateLine() {
  const auto line = static_cast<unsigned long>(caretLine());
  const long start = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  const long end = m_impl->send(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
  std::string copy(editorText().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
  copy.append(lineBreakBytes(m_format.lineBreak));
  {
    const UndoStep step(m_impl->sci);
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(start), copy.c_str());
  }
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start + static_cast<long>(copy.size())));
}

void DocumentEditor::deleteLine() {
  const auto line = static_cast<unsigned long>(caretLine());
  const long start = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  const long next = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
  const long lines = m_impl->send(QsciScintillaBase::SCI_GETLINECOUNT);
  // The last line has no break of its own: only its text goes.
  const long end = static_cast<long>(line) + 1 < lines ? next : m_impl->send(QsciScintillaBase::SCI_GETLENGTH);
  {
    const UndoStep step(m_impl->sci);
    m_impl->send(QsciScintillaBase::SCI_DELETERANGE, static_cast<unsigned long>(start), end - start);
  }
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start));
}

void DocumentEditor::insertLine() {
  const auto line = static_cast<unsigned long>(caretLine());
  const long start = m_impl->send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  const std::string lineBreak(lineBreakBytes(m_format.lineBreak));
  {
    const UndoStep step(m_impl->sci);
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(start), lineBreak.c_str());
  }
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start));
}

void DocumentEditor::insertAtCaret(std::string_view text, long advance) {
  const long start = m_impl->selectionStart();
  const long end = m_impl->selectionEnd();
  if (!text.empty()) {
    const UndoStep step(m_impl->sci);
    const std::string inserted(text);
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(end), inserted.c_str());
  }
  // The advance counts characters from the selection's start, whatever was inserted.
  const long length = m_impl->send(QsciScintillaBase::SCI_GETLENGTH);
  const long available = m_impl->send(QsciScintillaBase::SCI_COUNTCHARACTERS, static_cast<unsigned long>(start), length);
  const long position = m_impl->send(QsciScintillaBase::SCI_POSITIONRELATIVE, static_cast<unsigned long>(start),
                                     std::min(advance, available));
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(position));
}

std::int64_t DocumentEditor::longestLineLength() const {
  const std::string_view text = editorText();
  std::int64_t longest = 0;
  std::int64_t current = 0;
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      longest = std::max(longest, current);
      current = 0;
    } else if (!isUtf8Continuation(static_cast<unsigned char>(c))) {
      ++current;
    }
  }
  return std::max(longest, current);
}

void DocumentEditor::copy() { m_impl->sci->copy(); }
void DocumentEditor::cut() { m_impl->sci->cut(); }
void DocumentEditor::paste() { m_impl->sci->paste(); }
void DocumentEditor::selectAll() { m_impl->sci->selectAll(true); }

void DocumentEditor::setColours(const QColor& background, const QColor& text) {
  QsciScintilla* sci = m_impl->sci;
  sci->setPaper(background);
  sci->setColor(text);
  sci->SendScintilla(QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_DEFAULT, background);
  sci->SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, QsciScintillaBase::STYLE_DEFAULT, text);
  sci->SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
  sci->setCaretForegroundColor(text);
}

void DocumentEditor::releaseKeys(const QList<QKeySequence>& keys) {
  for (QsciCommand* command : m_impl->sci->standardCommands()->commands()) {
    for (const QKeySequence& key : keys) {
      const int combined = key[0].toCombined();
      if (command->key() == combined) command->setKey(0);
      if (command->alternateKey() == combined) command->setAlternateKey(0);
    }
  }
}

QPrinter& DocumentEditor::printer() { return m_impl->printer; }

int DocumentEditor::print(const QString& title) {
  CountingPrinter& printer = m_impl->printer;
  printer.setDocName(title);
  printer.setFullPage(true);
  printer.setWrapMode(QsciScintilla::WrapWord);
  printer.pages = 0;
  return printer.printRange(m_impl->sci) ? printer.pages : 0;
}

TextFormat DocumentEditor::saveTo(const std::filesystem::path& path) {
  const std::string_view text = editorText();
  if (m_shownEncoding == Encoding::Utf8)
    writeWholeFile(path, text);
  else
    writeWholeFile(path, encodeWindows1252(text));
  m_beforeTool = {path, m_format.encoding, m_shownEncoding};
  TextFormat format = m_format;
  format.bom = false;
  format.encoding = m_shownEncoding;
  format.finalBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  return format;
}

void DocumentEditor::clear() {
  // Emptied for a reload; the tool's step in the history brings the old text back.
  const Impl::QuietChange quiet(*m_impl);
  m_impl->send(QsciScintillaBase::SCI_CLEARALL);
}

void DocumentEditor::loadFrom(const std::filesystem::path& path, const TextFormat& format) {
  // `format.encoding` is the one the tool wrote in: the document's, or UTF-8 when a
  // tool turned a Windows-1252 text into UTF-8 (a concatenation). A UTF-8 document
  // whose bytes are no longer valid UTF-8 (an encrypted text) shows them as
  // Windows-1252 until they are valid again.
  const bool turnsUtf8 = format.encoding == Encoding::Utf8 && m_format.encoding == Encoding::Windows1252;
  const Encoding own = turnsUtf8 ? Encoding::Utf8 : m_format.encoding;
  const Encoding shown = own == Encoding::Utf8 ? detectFileEncoding(path) : Encoding::Windows1252;
  // A failed reload keeps the document's encodings for the reload that gives the
  // text back.
  const TextFormat previous = m_format;
  const Encoding previousShown = m_shownEncoding;
  try {
    loadFromFile(path, own, shown, false, false);
  } catch (...) {
    m_format = previous;
    m_shownEncoding = previousShown;
    throw;
  }
  if (turnsUtf8) emit becameUtf8();
}

void DocumentEditor::recordChange(const std::filesystem::path& before, const std::filesystem::path& after) {
  try {
    Snapshot earlier = m_beforeTool;
    earlier.file = before;
    const int step = m_history.add(earlier, {after, m_format.encoding, m_shownEncoding});
    m_impl->send(QsciScintillaBase::SCI_ADDUNDOACTION, static_cast<unsigned long>(step), 0);
    refreshModified();
  } catch (const std::exception&) {
    // Without its step the history no longer fits the text.
    forgetHistory(HistoryEnd::StepLost);
  }
}

void DocumentEditor::checkInsertedText(std::string_view utf8) {
  if (m_shownEncoding != Encoding::Windows1252 || fitsWindows1252(utf8)) return;
  m_shownEncoding = Encoding::Utf8;
  m_format.encoding = Encoding::Utf8;
  emit formatChanged();
  refreshModified();
  // Said once the editor has finished the change it is reporting.
  QMetaObject::invokeMethod(this, &DocumentEditor::becameUtf8, Qt::QueuedConnection);
}

namespace {

// The local file a drag from the file manager carries, if any. The list is read as
// bytes: decoded addresses would lose a name that is not UTF-8.
std::filesystem::path droppedFile(const QMimeData* data) {
  if (!data || !data->hasFormat(QStringLiteral("text/uri-list"))) return {};
  const QByteArray list = data->data(QStringLiteral("text/uri-list"));
  return localFileFromUriList(std::string_view(list.constData(), static_cast<std::size_t>(list.size())))
      .value_or(std::filesystem::path());
}

}  // namespace

bool DocumentEditor::filterDrop(QEvent* event) {
  // Files dragged from the file manager are opened, not inserted as text; text
  // dragged inside the editor moves as the control moves it.
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (droppedFile(drag->mimeData()).empty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::filesystem::path file = droppedFile(drop->mimeData());
      if (file.empty()) return false;
      drop->acceptProposedAction();
      // Opened once the drop is over: opening may ask questions.
      QMetaObject::invokeMethod(this, [this, file] { emit fileDropped(file); }, Qt::QueuedConnection);
      return true;
    }
    default: return false;
  }
}

bool DocumentEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_impl->sci->viewport()) return filterDrop(event);
  if (watched != m_impl->sci || m_resending || event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  emit keyPressed();
  // The control's own bindings (Ctrl+V...) still run; otherwise it would type the
  // character.
  if (isCommandCharacter(*key) &&
      !m_impl->sci->standardCommands()->boundTo(key->key() | static_cast<int>(key->modifiers())))
    return true;
  QString text = key->text();
  const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  // Shift+Tab is a Tab too: the control's own back-tab would remove leading blanks.
  const bool tab = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !command;
  const bool lowerLetter = text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z');
  if (!tab && !(m_forceCapitals && lowerLetter)) return false;

  int keyCode = key->key();
  if (tab) {
    // A Tab becomes four blanks, one undo step: three put at the caret, then the
    // typed blank.
    m_impl->send(QsciScintillaBase::SCI_BEGINUNDOACTION);
    const long start = m_impl->selectionStart();
    const long end = m_impl->selectionEnd();
    m_impl->sci->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(start), "   ");
    m_impl->send(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start + 3), end + 3);
    text = QStringLiteral(" ");
    keyCode = Qt::Key_Space;
  } else {
    text = text.toUpper();
  }
  QKeyEvent replacement(QEvent::KeyPress, keyCode, key->modifiers() & ~Qt::ShiftModifier, text);
  m_resending = true;
  QApplication::sendEvent(m_impl->sci, &replacement);
  m_resending = false;
  if (tab) m_impl->send(QsciScintillaBase::SCI_ENDUNDOACTION);
  return true;
}

}  // namespace orvex::gui
