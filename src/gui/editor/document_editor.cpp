#include "editor/document_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <QVBoxLayout>
#include <utility>

#include "editor/document_editor_impl.h"
#include "editor/editor_key_filter.h"
#include "editor/file_drop_filter.h"
#include "editor/line_commands.h"
#include "io/atomic_file.h"
#include "io/document_file.h"
#include "io/file_handle.h"
#include "io/status.h"
#include "text/longest_line.h"
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

}  // namespace

// The control as the tool-undo glue sees it.
class DocumentEditor::UndoGlue final : public ToolUndo::Control {
 public:
  explicit UndoGlue(DocumentEditor& editor) : m_editor(editor) {}

  bool canUndo() const override { return m_editor.m_impl->sci->isUndoAvailable(); }
  void undo() override { m_editor.m_impl->sci->undo(); }
  void redo() override { m_editor.m_impl->sci->redo(); }
  void addUndoAction(int token) override {
    send(QsciScintillaBase::SCI_ADDUNDOACTION, static_cast<unsigned long>(token), 0);
  }
  void emptyUndoBuffer() override { send(QsciScintillaBase::SCI_EMPTYUNDOBUFFER); }
  void setSavePoint() override { send(QsciScintillaBase::SCI_SETSAVEPOINT); }
  bool leftSavePoint() const override { return send(QsciScintillaBase::SCI_GETMODIFY) != 0; }
  const TextFormat& format() const override { return m_editor.m_encoding.format(); }
  Reload reload(const Snapshot& text) override {
    return m_editor.loadFromFile(text.file, text.documentEncoding, text.bytesEncoding, false, false).outcome;
  }
  ViewPosition viewPosition() const override { return m_editor.viewPosition(); }
  void restoreViewPosition(const ViewPosition& where) override { m_editor.restoreViewPosition(where); }
  void modifiedChanged(bool modified) override { emit m_editor.modifiedChanged(modified); }

 private:
  DocumentEditor& m_editor;

  long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
    return m_editor.m_impl->send(message, wParam, lParam);
  }
};

DocumentEditor::DocumentEditor(const std::filesystem::path& historyDirectory, QWidget* parent)
    : QWidget(parent),
      m_impl(std::make_unique<Impl>(this)),
      m_blockHighlight(*m_impl, *m_impl),
      m_undoGlue(std::make_unique<UndoGlue>(*this)),
      m_toolUndo(historyDirectory, *m_undoGlue) {
  setObjectName(QStringLiteral("editeur"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_impl->sci);
  setUpControl();
  m_keyFilter = new EditorKeyFilter(m_impl->sci, keyHooks(), this);
  connect(m_keyFilter, &EditorKeyFilter::keyPressed, this, &DocumentEditor::keyPressed);
  auto* drops = new FileDropFilter(m_impl->sci->viewport(), this);
  connect(drops, &FileDropFilter::fileDropped, this, &DocumentEditor::fileDropped);
  connectControl();
  connect(this, &DocumentEditor::formatChanged, this,
          [this] { m_impl->setInsertionsReported(m_encoding.shown() == Encoding::Windows1252); });
  setFocusProxy(m_impl->sci);
  newDocument();
}

void DocumentEditor::setUpControl() {
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
  applyFont();
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
  // The marked block: a translucent box under the text, which stays readable and
  // keeps its own colours whatever the editor's colours are.
  const auto block = static_cast<unsigned long>(Impl::kBlockIndicator);
  sci->SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, block, QsciScintillaBase::INDIC_STRAIGHTBOX);
  sci->SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, block, QColor(0x30, 0x80, 0xE0));
  sci->SendScintilla(QsciScintillaBase::SCI_INDICSETALPHA, block, 70);
  sci->SendScintilla(QsciScintillaBase::SCI_INDICSETOUTLINEALPHA, block, 160);
  sci->SendScintilla(QsciScintillaBase::SCI_INDICSETUNDER, block, 1);
}

void DocumentEditor::connectControl() {
  QsciScintilla* sci = m_impl->sci;
  connect(sci, &QsciScintilla::cursorPositionChanged, this, [this](int, int) { emit selectionMoved(); });
  connect(sci, &QsciScintilla::selectionChanged, this, &DocumentEditor::selectionMoved);
  connect(sci, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] { m_toolUndo.refreshModified(); });
  connect(sci, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] { m_toolUndo.refreshModified(); });
  connect(sci, &QsciScintillaBase::SCN_ZOOM, this, [this] {
    refreshMargin();
    emit zoomChanged();
  });
  // A tool's step in the undo history is an action of our own: Scintilla only
  // reports passing over it, and the text is restored once its undo or redo returns.
  // Edits are heard just before they happen (see kReportedChanges).
  connect(sci, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char* text, int length, int, int, int, int, int token, int) {
            if (type & QsciScintillaBase::SC_MOD_CONTAINER) m_toolUndo.passedOver(token);
            if (type & QsciScintillaBase::SC_MOD_BEFOREINSERT) {
              // The control gives no text with this event, and a break typed at a line's
              // end or start adds a line: the lines are counted again once it is done.
              textChanging(position, true);
            } else if (type & QsciScintillaBase::SC_MOD_BEFOREDELETE) {
              textChanging(position, m_impl->lineOf(position) != m_impl->lineOf(position + length));
            } else if ((type & QsciScintillaBase::SC_MOD_INSERTTEXT) && text && length > 0) {
              checkInsertedText(std::string_view(text, static_cast<std::size_t>(length)));
            }
          });
  connect(sci, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
    m_blockHighlight.viewUpdating((updated & QsciScintillaBase::SC_UPDATE_V_SCROLL) != 0);
  });
  connect(sci, &QsciScintillaBase::SCN_ZOOM, this, [this] { m_blockHighlight.refresh(); });
  // The control keeps only the keys of plain editing; the menus bring the rest.
  // Undo and redo, in particular, go through undo() and redo(), which complete a
  // tool's step.
  for (QsciCommand* command : sci->standardCommands()->commands()) {
    if (!isPlainEditingKey(command->key())) command->setKey(0);
    if (!isPlainEditingKey(command->alternateKey())) command->setAlternateKey(0);
  }
}

DocumentEditor::~DocumentEditor() = default;

void DocumentEditor::newDocument() { loadBytes({}, TextFormat{}); }

void DocumentEditor::loadBytes(std::string_view bytes, const TextFormat& format) {
  const Encoding shown = format.encoding == Encoding::Utf8 ? textEncoding(bytes) : Encoding::Windows1252;
  std::string converted;
  if (shown == Encoding::Windows1252) {
    appendWindows1252AsUtf8(bytes, converted);
    bytes = converted;
  }
  m_blockHighlight.hide();
  TextFormat own = format;
  own.encoding = shown;
  m_encoding.set(own, shown);
  m_impl->send(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(eolMode(format.lineBreak)));
  {
    const Impl::QuietChange quiet(*m_impl);
    m_impl->send(QsciScintillaBase::SCI_CLEARALL);
    showLongestLine(bytes.size() > kLongLine ? longestLineOf(bytes) : 0);
    if (!bytes.empty())
      m_impl->sci->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()),
                                 bytes.data());
  }
  forgetHistory(HistoryEnd::FreshDocument);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, 0);
  refreshMargin();
  emit formatChanged();
  emit textChangesFrom(0);
}

DocumentEditor::FileLoad DocumentEditor::loadFile(const std::filesystem::path& path, const TextFormat& format,
                                                  Encoding shown) {
  const DocumentEncoding previous = m_encoding;
  m_encoding.set(format, m_encoding.shown());
  FileLoad load = loadFromFile(path, format.encoding, shown, format.bom, true);
  switch (load.outcome) {
    case LoadOutcome::Done: m_impl->send(QsciScintillaBase::SCI_GOTOPOS, 0); break;
    case LoadOutcome::Untouched: m_encoding = previous; break;
    // Half a file is no document: what is left is a new, empty one.
    case LoadOutcome::Broken: newDocument(); break;
  }
  return load;
}

DocumentEditor::FileLoad DocumentEditor::loadFromFile(const std::filesystem::path& path, Encoding own, Encoding shown,
                                                      bool skipBom, bool freshHistory, const GrowingFile* growing) {
  PieceReader::Options options;
  options.pieceSize = kLoadPiece;
  options.skipBom = skipBom;
  options.fromWindows1252 = shown == Encoding::Windows1252;
  if (growing) options.writerFinished = growing->writerFinished;
  Result<PieceReader> opened = PieceReader::open(path, options);
  if (!opened.ok()) return {LoadOutcome::Untouched, opened.error()};
  PieceReader& reader = opened.value();
  if (reader.size() > kMaxBytes) return {LoadOutcome::Untouched, tooLargeMessage(path.string())};

  if (freshHistory) m_blockHighlight.hide();
  m_encoding.setEncodings(own, shown);
  m_impl->send(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(eolMode(m_encoding.format().lineBreak)));
  std::string error;
  try {
    error = appendPieces(reader, path, growing ? growing->expectedSize : reader.size(), freshHistory);
  } catch (const std::bad_alloc&) {
    error = outOfMemoryMessage();
  }
  if (!error.empty()) return {LoadOutcome::Broken, error};
  if (freshHistory) forgetHistory(HistoryEnd::FreshDocument);
  // The load reported no change of the text: the box is drawn again here.
  m_blockHighlight.refresh();
  refreshMargin();
  emit formatChanged();
  emit textChangesFrom(0);
  return {};
}

std::string DocumentEditor::loadRecovered(int fd, std::uint64_t length, const TextFormat& format, Encoding shown) {
  m_blockHighlight.hide();
  m_encoding.set(format, shown);
  m_impl->send(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(eolMode(format.lineBreak)));
  std::string error;
  if (length > kMaxBytes) {
    error = tooLargeMessage("");
  } else {
    PieceReader::Options options;
    options.pieceSize = kLoadPiece;
    PieceReader reader(fd, options);
    try {
      error = appendPieces(reader, {}, length, true);
    } catch (const std::bad_alloc&) {
      error = outOfMemoryMessage();
    }
    if (error.empty() && static_cast<std::uint64_t>(m_impl->length()) != length) error = "incomplete";
  }
  if (!error.empty()) {
    newDocument();
    return error;
  }
  forgetHistory(HistoryEnd::FreshDocument);
  forgetHistory(HistoryEnd::StepLost);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, 0);
  emit formatChanged();
  emit textChangesFrom(0);
  return {};
}

void DocumentEditor::showLongestLine(std::size_t bytes) { m_impl->setLongLines(bytes > kLongLine); }

std::string DocumentEditor::tooLargeMessage(const std::string& path) {
  return "Le fichier " + path +
         " est trop volumineux pour l'éditeur (plus de 2 Go).\n\r"
         "Le mode batch le traite : orvex FICHIER OPTIONS.";
}

std::string_view DocumentEditor::editorText() const { return m_impl->text(); }

std::string DocumentEditor::bytes() const {
  const std::string_view text = editorText();
  return m_encoding.bytes(text);
}

Result<FileIdentity> DocumentEditor::saveFile(const std::filesystem::path& path) const {
  if (m_encoding.showsUtf8()) return saveDocument(path, editorText(), m_encoding.format());
  return saveDocument(path, m_encoding.bytes(editorText()), m_encoding.format());
}

std::size_t DocumentEditor::lineCount() const { return lines::documentLines(*m_impl); }

int DocumentEditor::caretLine() const { return static_cast<int>(m_impl->lineOf(m_impl->selectionEnd())); }
int DocumentEditor::caretColumn() const { return m_impl->columnOf(m_impl->selectionEnd()); }
int DocumentEditor::selectionStartLine() const { return static_cast<int>(m_impl->lineOf(m_impl->selectionStart())); }
int DocumentEditor::selectionStartColumn() const { return m_impl->columnOf(m_impl->selectionStart()); }

qint64 DocumentEditor::selectionLength() const {
  return m_impl->countCharacters(m_impl->selectionStart(), m_impl->selectionEnd());
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
  m_impl->sendText(QsciScintillaBase::SCI_REPLACETARGET, replacement);
  m_impl->send(QsciScintillaBase::SCI_ENDUNDOACTION);
  m_impl->send(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start) + replacement.size());
}

bool DocumentEditor::undo() { return m_toolUndo.step(true) != ToolUndo::Step::ToolLost; }
bool DocumentEditor::redo() { return m_toolUndo.step(false) != ToolUndo::Step::ToolLost; }
bool DocumentEditor::undoTool() { return m_toolUndo.undoTool(); }
bool DocumentEditor::isModified() const { return m_toolUndo.isModified(); }
void DocumentEditor::markSaved() { m_toolUndo.markSaved(); }

ViewPosition DocumentEditor::viewPosition() const { return lines::viewPosition(*m_impl); }
void DocumentEditor::restoreViewPosition(const ViewPosition& where) { lines::restoreViewPosition(*m_impl, where); }

bool DocumentEditor::goToLine(long number) {
  return lines::goToLine(*m_impl, number, lineBreakBytes(m_encoding.format().lineBreak));
}
void DocumentEditor::selectLine() { lines::selectLine(*m_impl); }
void DocumentEditor::duplicateLine() { lines::duplicateLine(*m_impl, lineBreakBytes(m_encoding.format().lineBreak)); }
void DocumentEditor::deleteLine() { lines::deleteLine(*m_impl); }
void DocumentEditor::insertLine() { lines::insertLine(*m_impl, lineBreakBytes(m_encoding.format().lineBreak)); }
void DocumentEditor::insertAtCaret(std::string_view text, long advance) {
  lines::insertAtCaret(*m_impl, text, advance);
}
std::int64_t DocumentEditor::longestLineLength() const { return lines::longestLineLength(editorText()); }

void DocumentEditor::showBlock(const BlockAnchor& anchor) { m_blockHighlight.show(anchor); }
std::vector<std::pair<std::size_t, std::size_t>> DocumentEditor::shownBlockCells() const {
  return m_impl->highlighted();
}

void DocumentEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_blockHighlight.refresh();
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
  styleMargin();
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

void DocumentEditor::setForceCapitals(bool on) { m_keyFilter->setForceCapitals(on); }
bool DocumentEditor::forceCapitals() const { return m_keyFilter->forceCapitals(); }

EditorKeyFilter::Hooks DocumentEditor::keyHooks() {
  return {
      [this](int combined) { return m_impl->sci->standardCommands()->boundTo(combined) != nullptr; },
      [this] { m_impl->beginUndoAction(); },
      [this] { m_impl->endUndoAction(); },
      [this](std::string_view text) {
        const long start = m_impl->selectionStart();
        const long end = m_impl->selectionEnd();
        m_impl->insert(start, text);
        const auto length = static_cast<long>(text.size());
        m_impl->select(start + length, end + length);
      },
  };
}

QPrinter& DocumentEditor::printer() { return m_impl->printer(); }

int DocumentEditor::print(const QString& title) {
  CountingPrinter& printer = m_impl->printer();
  printer.setDocName(title);
  printer.setFullPage(true);
  printer.setWrapMode(QsciScintilla::WrapWord);
  printer.pages = 0;
  return printer.printRange(m_impl->sci) ? printer.pages : 0;
}

void DocumentEditor::textChanging(long position, bool linesChange) {
  m_blockHighlight.textChanged();
  emit textChangesFrom(position);
  if (linesChange && m_lineNumbers && !m_marginRefreshQueued) {
    m_marginRefreshQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_marginRefreshQueued = false;
          refreshMargin();
        },
        Qt::QueuedConnection);
  }
}

void DocumentEditor::checkInsertedText(std::string_view utf8) {
  if (!m_encoding.receive(utf8)) return;
  emit formatChanged();
  m_toolUndo.refreshModified();
  // Said once the editor has finished the change it is reporting.
  QMetaObject::invokeMethod(this, &DocumentEditor::becameUtf8, Qt::QueuedConnection);
}

}  // namespace orvex::gui
