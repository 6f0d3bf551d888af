#pragma once
// The editor `editeur`: the document's bytes in a QScintilla control, with the
// positions, selection and key handling the main window needs. This is the only
// class that talks to QScintilla; it also serves as the document holder of the
// text tools' pipeline.

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QList>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "pipeline/line_pipeline.h"
#include "text/text_format.h"

class QPrinter;

namespace orvex::gui {

class DocumentEditor : public QWidget, public DocumentPort {
  Q_OBJECT

 public:
  explicit DocumentEditor(QWidget* parent = nullptr);
  ~DocumentEditor() override;

  // Replaces the document with `bytes` (without byte-order mark) laid out as `format`;
  // the undo history starts afresh.
  void loadBytes(std::string_view bytes, const TextFormat& format);
  // Replaces the document with a file's content (its byte-order mark left out),
  // streamed in without a copy of the whole file. `shown` is the encoding the bytes
  // are valid in. Throws IoFailure.
  void loadFile(const std::filesystem::path& path, const TextFormat& format, Encoding shown);
  // The document's bytes, exactly as the editor holds them.
  std::string_view bytes() const;
  // The format the document was opened or created with.
  const TextFormat& format() const { return m_format; }
  // The encoding the editor shows the bytes in: the document's own unless a tool
  // left bytes that are not valid in it (then Windows-1252 until they are again).
  Encoding shownEncoding() const { return m_shownEncoding; }
  // A new, empty document.
  void newDocument();

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
  std::string selectedBytes() const;
  void replaceSelection(std::string_view bytes);

  void undo();
  void copy();
  void cut();
  void paste();
  void selectAll();

  void setColours(const QColor& background, const QColor& text);
  void setForceCapitals(bool on) { m_forceCapitals = on; }
  // Leaves these keys to the window's menus: the editor's own bindings for some of
  // them (Ctrl+L, Ctrl+T, Ctrl+D, Ctrl+Y...) would do something else.
  void releaseKeys(const QList<QKeySequence>& keys);
  bool forceCapitals() const { return m_forceCapitals; }

  // The printer of the print commands; the set-up dialog changes it.
  QPrinter& printer();
  // Prints the whole document as a job titled `title`; returns the pages printed.
  int print(const QString& title);

  // DocumentPort, for the text tools.
  TextFormat saveTo(const std::filesystem::path& path) override;
  void clear() override;
  void loadFrom(const std::filesystem::path& path, const TextFormat& format) override;

  QWidget* textArea() const;
  // The monospaced font of the editor, which the ruler shares.
  static QFont editorFont();

 signals:
  // Every key that reaches the editor, before the editor acts on it.
  void keyPressed();
  // The text changed by any other way than a load (drag and drop, input methods...).
  void textEdited();
  void selectionMoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Impl;
  std::unique_ptr<Impl> m_impl;
  TextFormat m_format;
  Encoding m_shownEncoding = Encoding::Utf8;
  bool m_forceCapitals = false;
  bool m_resending = false;
  int m_loading = 0;  // loads in progress: their changes are not edits

  void insertTyped(const QString& text);
  void beginLoad(const TextFormat& format, Encoding shown, std::size_t size);
  void endLoad();
};

}  // namespace orvex::gui
