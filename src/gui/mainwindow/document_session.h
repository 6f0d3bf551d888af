#pragma once
// The document's life in the window: its file (the name as the system has it, and
// the file's identity at the last open or save), open, save, save as, the save
// question and the open dialog's memory. The text itself is the editor's; whether
// it is modified is the editor's save point.

#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>

#include "io/atomic_file.h"
#include "recovery/journal_format.h"

namespace orvex::gui {

class CommandContext;

class DocumentSession : public QObject {
  Q_OBJECT

 public:
  DocumentSession(const CommandContext& context, QObject* parent);

  // Empty for a new document.
  const std::filesystem::path& path() const { return m_path; }
  void setPath(std::filesystem::path path);
  // How the window names the document: "Orvex" or "Orvex - " and its file.
  QString caption() const;

  // Reads `path` into the editor with the busy cursor; false (and said) when it
  // could not be read, the document then as it was.
  bool load(const std::filesystem::path& path);
  // Replaces the document by the file: load, then the name.
  void open(const std::filesystem::path& path);
  // Reads the document's file again, the caret kept on its line and column as far
  // as the new text allows; the undo history starts afresh. False (and said) when
  // it could not be read.
  bool reload();
  // Replaces the document with a recovery journal's text (`fd` at its start),
  // named and laid out as `record` says, and modified; says so when the file
  // changed on disk since. The error when the text could not be read.
  std::string recover(int fd, std::uint64_t length, const JournalRecord& record);
  // The document's file as it was at the last open, reload or save; empty for a
  // document without file.
  const std::optional<FileIdentity>& fileIdentity() const { return m_fileIdentity; }
  // The file of the command line: load, then the name; false when it could not be read.
  bool openNamed(const std::filesystem::path& path);
  // "&Ouvrir...": the save question, the open dialog, the file.
  void openChosenFile();
  // A new, empty document after the save question.
  void startNewDocument();
  // "&Enregistrer" and "Enregistrer &sous..."; false when nothing was saved.
  bool save();
  bool saveAs();
  // The save question; false when the user cancelled or the save failed.
  bool settleUnsavedChanges();
  // The release notes as a nameless, unmodified document after the question
  // captioned "Attention"; `notes` is empty when there are none.
  void showReleaseNotes(const std::filesystem::path& notes);
  // The open dialog of "&Ouvrir...", concatenation and file insertion: it starts on
  // the file last chosen in it, or in the document's directory before any choice.
  std::optional<std::filesystem::path> chooseFileToOpen();

 signals:
  // The document's file was named or renamed: the caption follows.
  void pathChanged();
  // The editor holds another text: the status panels follow.
  void documentReplaced();
  // A file is about to replace the text, and it has; `textLost` when its reading
  // failed half-way, leaving a new, empty document in place of the text.
  void loadStarting();
  void loadFinished(bool textLost);
  // A long-running load has begun; `text` is for the status bar.
  void notice(const QString& text);
  // The document's file was opened or saved under this name.
  void fileUsed(const std::filesystem::path& file);

 private:
  bool read(const std::filesystem::path& path);
  bool write(const std::filesystem::path& path);
  // The name a file dialog returned, as the bytes the system has; nothing (and
  // said so) when two files of its directory show alike.
  std::optional<std::filesystem::path> fileFromDialog(const QString& chosen);
  // The same file as the document's at its last open or save (hard links included).
  bool isDocumentFile(const std::filesystem::path& path) const;
  // Asks before replacing a document file that another program changed since.
  bool mayOverwriteDocumentFile();
  // The save dialog, asking before another existing file is replaced.
  std::optional<std::filesystem::path> chooseSaveName();
  // No file, not modified, caption "Orvex".
  void forgetFile();

  const CommandContext& m_context;
  std::filesystem::path m_path;
  std::optional<FileIdentity> m_fileIdentity;
  std::filesystem::path m_openDialogName;
  std::filesystem::path m_saveDialogName;
};

}  // namespace orvex::gui
