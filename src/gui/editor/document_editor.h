#pragma once
// The editor `m_editor`: the document's bytes in a QScintilla control, with the
// positions and selection the main window needs. This is the only class that talks
// to QScintilla; it also serves as the document holder of the text tools' pipeline.
// Its collaborators next to it reach the control only through what it hands them:
// the key filter and the file drops (hooks), the tool undo and modified state
// (ToolUndo::Control), the line commands (TextControl).

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QList>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editing/block_operations.h"
#include "editor/block_highlight.h"
#include "editor/document_encoding.h"
#include "editor/editor_key_filter.h"
#include "editor/tool_undo.h"
#include "editor/view_position.h"
#include "history/tool_history.h"
#include "io/atomic_file.h"
#include "io/piece_reader.h"
#include "io/status.h"
#include "pipeline/line_pipeline.h"
#include "text/text_format.h"

class QPrinter;

namespace orvex::gui {

class DocumentEditor : public QWidget, public DocumentPort {
  Q_OBJECT

 public:
  // The most text the editor holds: its positions are 32-bit. Batch mode has no limit.
  static constexpr std::size_t kMaxBytes = (std::size_t{1} << 31) - 1;
  // What the editor says of a file larger than that.
  static std::string tooLargeMessage(const std::string& path);

  // The text before and after each whole-document tool is kept for undo in files
  // under `historyDirectory`.
  explicit DocumentEditor(const std::filesystem::path& historyDirectory, QWidget* parent = nullptr);
  ~DocumentEditor() override;

  // Replaces the document with `bytes` (without byte-order mark) laid out as
  // `format`; bytes that are not valid UTF-8 make it a Windows-1252 document. The
  // undo history starts afresh.
  void loadBytes(std::string_view bytes, const TextFormat& format);
  // Replaces the document with a file's content (its byte-order mark left out),
  // streamed in without a copy of the whole file; `shown` is the encoding the file
  // is valid in, `format.encoding` the document's own. The undo history starts
  // afresh. A file that cannot be opened or is too large leaves the document as it
  // was (Untouched); one whose reading fails half-way leaves a new, empty document
  // (Broken).
  using LoadOutcome = ToolUndo::Control::Reload;
  struct FileLoad {
    LoadOutcome outcome = LoadOutcome::Done;
    std::string error;
  };
  FileLoad loadFile(const std::filesystem::path& path, const TextFormat& format, Encoding shown);
  // Replaces the document with `length` bytes of text read from `fd` at its current
  // position, as the editor holds text (UTF-8, a Windows-1252 document's characters
  // converted), the document then having `format` and being shown in `shown`. The
  // undo history starts afresh and cannot reach a saved text: the document is
  // modified until it is saved. The error of a read that failed (the document is
  // then a new, empty one).
  std::string loadRecovered(int fd, std::uint64_t length, const TextFormat& format, Encoding shown);
  // Writes the document to a file: its byte-order mark, its line break everywhere
  // and its bytes. Returns the identity of the file written; after a failure the
  // old file is unchanged.
  Result<FileIdentity> saveFile(const std::filesystem::path& path) const;
  // The document's bytes in its encoding, without byte-order mark: what saving
  // writes. The editor itself holds the text as UTF-8.
  std::string bytes() const;
  // The text as the editor holds and shows it, in UTF-8.
  std::string_view editorText() const;
  // The format the document was opened or created with; its encoding turns to
  // UTF-8 once the text holds a character Windows-1252 lacks.
  const TextFormat& format() const { return m_encoding.format(); }
  // The encoding the document's bytes are in and shown from: the document's own,
  // except while a tool has left bytes that are not valid UTF-8 in a UTF-8 document
  // (an encrypted text): Windows-1252 then, until they are valid again.
  Encoding shownEncoding() const { return m_encoding.shown(); }
  // A new, empty document.
  void newDocument();

  // Whether the text differs from what was last opened, created or saved: the
  // control's save point, or a history that lost a step or a format that changed
  // since then (either makes the save point meaningless until the next save).
  bool isModified() const;
  // The text as it stands is what is on disk now.
  void markSaved();

  // Lines, not counting a last empty line; 0 for an empty document.
  std::size_t lineCount() const override;
  // 0-based line and character column of the end of the selection (the caret).
  int caretLine() const;
  int caretColumn() const;
  // 0-based line and character column of the lower end of the selection.
  int selectionStartLine() const;
  int selectionStartColumn() const;
  // Characters selected, a line break counting as its characters.
  qint64 selectionLength() const;
  // The selection as byte offsets into editorText(), and selecting such a range
  // (brought into view).
  std::pair<std::size_t, std::size_t> selectionOffsets() const;
  void selectOffsets(std::size_t start, std::size_t end);
  // The selected text and its replacement, as UTF-8.
  std::string selectedText() const;
  void replaceSelection(std::string_view text);

  // Undo and redo one step: typing, a command, or a whole tool. False when the step
  // was a tool whose text the bounded history no longer holds: the text then stays
  // as it is and the history is emptied, since older steps no longer fit it.
  bool undo();
  bool redo();
  // Undoes the tool that has just run, and only that: false (nothing done) when the
  // last step is not a tool whose text the history still holds.
  bool undoTool();
  void setHistoryLimits(ToolHistory::Limits limits) { m_toolUndo.setLimits(limits); }
  const ToolHistory& toolHistory() const { return m_toolUndo.history(); }

  ViewPosition viewPosition() const;
  // Puts the caret back on its line and column, each clamped to the text, with
  // nothing selected, and scrolls the view back to its first line.
  void restoreViewPosition(const ViewPosition& where);

  // The line commands, each one undo step. Lines are those of the control: a last
  // empty line counts. The caret line is the line of the end of the selection.
  // Puts the caret at the start of line `number` (1-based) and brings it into view;
  // on the line just past a last line that is not empty, appends an empty line
  // first. False when the number names no line: nothing moves.
  bool goToLine(long number);
  // Selects the caret line without its line break.
  void selectLine();
  // Inserts a copy of the caret line above it; the caret goes to the lower copy.
  void duplicateLine();
  // Deletes the caret line with its line break (the last line: only its text).
  void deleteLine();
  // Inserts an empty line above the caret line and puts the caret on it.
  void insertLine();
  // Inserts `text` at the end of the selection, which stays in the text, and puts
  // the caret `advance` characters after the selection's start.
  void insertAtCaret(std::string_view text, long advance);

  // Characters in the longest line.
  std::int64_t longestLineLength() const;

  // Boxes the cells of the marked block once both its ends are marked, found again
  // from the marks after every change of the text, until the next call or until a
  // new or opened document replaces the text.
  void showBlock(const BlockAnchor& anchor);
  // The boxed cells, as byte offsets into editorText(), in order.
  std::vector<std::pair<std::size_t, std::size_t>> shownBlockCells() const;

  void copy();
  void cut();
  void paste();
  void selectAll();

  void setColours(const QColor& background, const QColor& text);
  void setForceCapitals(bool on);
  // Leaves these keys to the window's menus: the editor's own bindings for some of
  // them (Ctrl+L, Ctrl+T, Ctrl+D, Ctrl+Y...) would do something else.
  void releaseKeys(const QList<QKeySequence>& keys);
  bool forceCapitals() const;

  // The printer of the print commands; the set-up dialog changes it.
  QPrinter& printer();
  // Prints the whole document as a job titled `title`; returns the pages printed.
  int print(const QString& title);

  // DocumentPort, for the text tools.
  Result<TextFormat> saveTo(const std::filesystem::path& path) override;
  void clear() override;
  Status loadFrom(const std::filesystem::path& path, const TextFormat& format, bool keptUtf8) override;
  bool followsGrowingResult() const override;
  Status loadGrowing(const std::filesystem::path& path, const TextFormat& format, const GrowingFile& growing) override;
  void recordChange(const std::filesystem::path& before, const std::filesystem::path& after) override;
  void reloadFailed() override { forgetHistory(HistoryEnd::StepLost); }

  QWidget* textArea() const;
  // The editor's font at the start, monospaced; the ruler shares the editor's font.
  static QFont editorFont();
  QFont textFont() const { return m_font; }
  void setTextFont(const QFont& font);
  // Ctrl+mouse wheel zooms the text by whole points; the font as it is drawn at
  // the present zoom.
  int zoom() const;
  void setZoom(int zoom);
  QFont zoomedFont() const;
  // The width the editor gives `count` characters of its font, in pixels.
  int textWidth(int count) const;

  // Line numbers in a margin at the left, as wide as the largest number needs;
  // marginWidth() is where the text's first column starts (0 without them).
  void setLineNumbersShown(bool shown);
  bool lineNumbersShown() const { return m_lineNumbers; }
  int marginWidth() const;
  // Long lines wrapped at the window's width, at word ends.
  void setWordWrap(bool wrap);
  bool wordWraps() const;

 signals:
  // Every key that reaches the editor, before the editor acts on it.
  void keyPressed();
  void selectionMoved();
  // The document's encoding or line break changed, or the encoding it is shown in.
  void formatChanged();
  // A Windows-1252 document received a character the code page lacks (typed,
  // pasted, or from a concatenated file): it is UTF-8 from now on.
  void becameUtf8();
  // A file was dropped on the editor from the file manager.
  void fileDropped(const std::filesystem::path& path);
  void zoomChanged();
  void fontChanged();
  void marginWidthChanged();
  // isModified() changed.
  void modifiedChanged(bool modified);
  // The text from byte `position` of editorText() on changes: said just before an
  // edit of the control's own (typing, pasting, undo) and after a load (with 0).
  void textChangesFrom(qint64 position);

 protected:
  // A taller view shows lines the block's box may not reach yet.
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Impl;
  std::unique_ptr<Impl> m_impl;
  BlockHighlight m_blockHighlight;
  DocumentEncoding m_encoding;
  EditorKeyFilter* m_keyFilter = nullptr;
  class UndoGlue;
  std::unique_ptr<UndoGlue> m_undoGlue;
  ToolUndo m_toolUndo;
  QFont m_font = editorFont();
  bool m_lineNumbers = false;
  bool m_marginRefreshQueued = false;
  // A loaded text's buffer leaves this much room after it: without it, one of the
  // first keys typed would copy a large document's whole buffer to grow it.
  static constexpr std::size_t kRoomForTyping = std::size_t{64} << 10;
  // Pieces of the file handed to the control: larger ones only add to the peak
  // memory of an open.
  static constexpr std::size_t kLoadPiece = std::size_t{1} << 20;
  // A line longer than this, in bytes, is drawn at a cost that shows.
  static constexpr std::size_t kLongLine = 100'000;

  // Replaces the text with a file's bytes, shown in `shown`, the document then
  // having `own` as its encoding. With `freshHistory` the undo history starts afresh;
  // otherwise it is kept (a tool's result, an undone tool), which is right because
  // the text is then exactly the one the history's steps expect.
  // With `growing`, the file is a tool's result still being written.
  FileLoad loadFromFile(const std::filesystem::path& path, Encoding own, Encoding shown, bool skipBom,
                        bool freshHistory, const GrowingFile* growing = nullptr);
  Status loadToolResult(const std::filesystem::path& path, const TextFormat& format, bool keptUtf8,
                        const GrowingFile* growing);
  // Streams the reader's pieces into the emptied control; the error of a read that
  // failed half-way. With `sizeLineIndex`, the control's line index is grown first
  // (an open, where the peak counts; a tool's result comes back quicker without).
  std::string appendPieces(PieceReader& reader, const std::filesystem::path& path, std::size_t expectedSize,
                           bool sizeLineIndex);
  // Grows the control's index of line starts to hold `lines` lines while the text is
  // still empty, and leaves one line break in it, which the load inserts before and
  // removes at its end; false, and nothing done, for a text of few lines.
  bool reserveLineIndex(std::size_t lines);
  // How the control draws a text whose longest line has `bytes` bytes.
  void showLongestLine(std::size_t bytes);
  using HistoryEnd = ToolUndo::HistoryEnd;
  void forgetHistory(HistoryEnd end) { m_toolUndo.forget(end); }
  void setUpControl();
  // The control's default style takes m_font; every other style copies it.
  void applyFont();
  // The line-number margin's colours, which the styles' reset takes back.
  void styleMargin();
  // Sizes the line-number margin for the present line count and zoom.
  void refreshMargin();
  void connectControl();
  EditorKeyFilter::Hooks keyHooks();
  // The control is about to change its text from `position` on; `linesChange` when
  // lines are added or removed, which may widen or narrow the line numbers.
  void textChanging(long position, bool linesChange);
  // Text about to be inserted: a Windows-1252 document that receives a character the
  // code page lacks turns UTF-8.
  void checkInsertedText(std::string_view utf8);
};

}  // namespace orvex::gui
