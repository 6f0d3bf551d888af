#pragma once
// Keeps the recovery journal of a window's document up to date: while the text is
// modified, no change is older than kDelayMs plus one write when the journal
// misses it, also while the user types without a pause (a single-shot timer starts
// at the first change after a write and later changes never restart it). An
// unmodified document has no journal.
//
// The text is copied from the editor's own buffer straight into the file, in slices
// written between two events of the window, so that typing stays smooth on a large
// document; an edit before the part already written sends the writing back to it.
// The head, the flush to disk and the rename then run on a thread of their own,
// which touches only the file. Before a tool and on an ending signal the journal is
// brought up to date at once.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "recovery/journal_directory.h"
#include "recovery/journal_update.h"

namespace orvex::gui {

class DocumentEditor;

class RecoveryJournal : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDelayMs = 1500;
  // Describes the document besides its text; reports a failure to write.
  using Describe = std::function<JournalRecord()>;
  using Report = std::function<void(const std::string&)>;

  RecoveryJournal(const DocumentEditor& editor, std::filesystem::path programDirectory, Describe describe,
                  Report report, QObject* parent);
  // The journal stays: only end() removes it.
  ~RecoveryJournal() override;

  // The text, its format or its file changed; `position` is the first byte of the
  // text that changed (past the end for a change of the format or name).
  void documentChanged(qint64 position);
  // Brings the journal up to date at once.
  void flushNow();
  // Every journal of the program, at once.
  static void flushAll();
  // The document ends normally: its journal and lock go.
  void end();
  // A file is about to replace the text: the journal is brought up to date and kept
  // until the load ends. When the load lost the text (its reading failed half-way),
  // the journal is left to the next start, which offers it back.
  void loadStarting();
  void loadFinished(bool textLost);
  // Takes over the slot of a journal that already holds the document as it is.
  void adopt(JournalSlot slot);

  // The journal's path once it has one.
  std::optional<std::filesystem::path> path() const;
  void setDelay(int milliseconds) { m_timer.setInterval(milliseconds); }

 private:
  bool ensureSlot();
  bool beginUpdate();
  // Writes the text not yet written, at most `limit` bytes; true once it is all in.
  bool writeText(std::size_t limit);
  void writeSlice();
  void commitInBackground();
  void committed(const Status& status, unsigned generation);
  void waitForCommit();
  void discard();
  // Stops writing without removing the journal.
  void stop();
  void fail(const std::string& error);

  const DocumentEditor& m_editor;
  std::filesystem::path m_programDirectory;
  Describe m_describe;
  Report m_report;
  std::optional<JournalDirectory> m_directory;
  std::optional<JournalSlot> m_slot;
  std::optional<JournalUpdate> m_update;
  QTimer m_timer;
  QTimer m_sliceTimer;
  QElapsedTimer m_updateAge;
  std::uint64_t m_rewindTo = 0;
  bool m_dirty = false;
  bool m_failed = false;
  bool m_loading = false;
  std::thread m_committer;
  bool m_committing = false;
  unsigned m_generation = 0;
};

}  // namespace orvex::gui
