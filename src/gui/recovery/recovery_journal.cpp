#include "recovery/recovery_journal.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "editor/document_editor.h"

namespace orvex::gui {

namespace {

// A slice takes a few milliseconds to write: the window answers between two. Larger
// slices cost more than in proportion (8 MB: about 20 ms, up to 70 ms while the
// system writes back, against 2-5 ms for 2 MB).
constexpr std::size_t kSliceBytes = std::size_t{2} << 20;
// An update that edits keep sending back is finished at once after this long.
constexpr qint64 kLongestUpdateMs = 1000;
constexpr std::uint64_t kNoRewind = std::numeric_limits<std::uint64_t>::max();

QList<RecoveryJournal*>& allJournals() {
  static QList<RecoveryJournal*> journals;
  return journals;
}

}  // namespace

RecoveryJournal::RecoveryJournal(const DocumentEditor& editor, std::filesystem::path programDirectory,
                                 Describe describe, Report report, QObject* parent)
    : QObject(parent),
      m_editor(editor),
      m_programDirectory(std::move(programDirectory)),
      m_describe(std::move(describe)),
      m_report(std::move(report)),
      m_rewindTo(kNoRewind) {
  m_timer.setSingleShot(true);
  m_timer.setInterval(kDelayMs);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    if (beginUpdate()) writeSlice();
  });
  m_sliceTimer.setSingleShot(true);
  m_sliceTimer.setInterval(0);
  connect(&m_sliceTimer, &QTimer::timeout, this, &RecoveryJournal::writeSlice);
  allJournals().append(this);
}

RecoveryJournal::~RecoveryJournal() {
  allJournals().removeAll(this);
  waitForCommit();
}

void RecoveryJournal::flushAll() {
  for (RecoveryJournal* journal : allJournals()) journal->flushNow();
}

std::optional<std::filesystem::path> RecoveryJournal::path() const {
  if (!m_directory || !m_slot) return std::nullopt;
  return m_directory->journalPath(*m_slot);
}

void RecoveryJournal::documentChanged(qint64 position) {
  if (!m_editor.isModified()) {
    discard();
    return;
  }
  m_dirty = true;
  if (m_update) m_rewindTo = std::min(m_rewindTo, static_cast<std::uint64_t>(std::max<qint64>(position, 0)));
  if (!m_timer.isActive() && !m_update && !m_committing) m_timer.start();
}

bool RecoveryJournal::ensureSlot() {
  if (!m_directory) {
    Result<JournalDirectory> opened = JournalDirectory::open(m_programDirectory);
    if (!opened.ok()) {
      fail(opened.error());
      return false;
    }
    m_directory.emplace(std::move(opened.value()));
  }
  if (!m_slot) {
    Result<JournalSlot> created = m_directory->createSlot();
    if (!created.ok()) {
      fail(created.error());
      return false;
    }
    m_slot.emplace(std::move(created.value()));
  }
  return true;
}

bool RecoveryJournal::beginUpdate() {
  m_update.reset();
  if (!m_editor.isModified() || !ensureSlot()) return false;
  Result<JournalUpdate> started = JournalUpdate::start(*m_directory, *m_slot, m_describe());
  if (!started.ok()) {
    fail(started.error());
    return false;
  }
  m_update.emplace(std::move(started.value()));
  m_rewindTo = kNoRewind;
  m_updateAge.start();
  return true;
}

bool RecoveryJournal::writeText(std::size_t limit) {
  const std::string_view text = m_editor.editorText();
  const std::uint64_t keep = std::min<std::uint64_t>(m_rewindTo, text.size());
  m_rewindTo = kNoRewind;
  if (const Status rewound = m_update->rewind(keep); !rewound.ok()) {
    fail(rewound.error);
    return false;
  }
  const auto from = static_cast<std::size_t>(m_update->written());
  if (const Status appended = m_update->append(text.substr(from, limit)); !appended.ok()) {
    fail(appended.error);
    return false;
  }
  return m_update->written() == text.size();
}

void RecoveryJournal::writeSlice() {
  if (!m_update) return;
  const bool late = m_updateAge.elapsed() > kLongestUpdateMs;
  if (!writeText(late ? std::string_view::npos : kSliceBytes)) {
    if (m_update) m_sliceTimer.start();
    return;
  }
  // A new name or format during the writing: the head would not match the text.
  if (!(m_update->record() == m_describe())) {
    if (beginUpdate()) m_sliceTimer.start();
    return;
  }
  m_dirty = false;
  commitInBackground();
}

void RecoveryJournal::commitInBackground() {
  auto update = std::make_shared<JournalUpdate>(std::move(*m_update));
  m_update.reset();
  m_committing = true;
  m_committer = std::thread([this, update, generation = m_generation] {
    const Status status = update->commit();
    QMetaObject::invokeMethod(
        this, [this, status, generation] { committed(status, generation); }, Qt::QueuedConnection);
  });
}

void RecoveryJournal::committed(const Status& status, unsigned generation) {
  if (generation != m_generation) return;
  waitForCommit();
  if (!status.ok()) {
    fail(status.error);
    m_dirty = true;
  } else {
    m_failed = false;
  }
  if (m_dirty && m_editor.isModified()) m_timer.start();
}

void RecoveryJournal::waitForCommit() {
  if (m_committer.joinable()) m_committer.join();
  if (m_committing) ++m_generation;
  m_committing = false;
}

void RecoveryJournal::flushNow() {
  if (!m_editor.isModified()) {
    discard();
    return;
  }
  waitForCommit();
  if (!m_dirty && !m_update) return;
  m_timer.stop();
  m_sliceTimer.stop();
  if (!m_update && !beginUpdate()) return;
  if (!(m_update->record() == m_describe()) && !beginUpdate()) return;
  if (!writeText(std::string_view::npos)) return;
  auto update = std::move(*m_update);
  m_update.reset();
  m_dirty = false;
  if (const Status status = update.commit(); !status.ok()) {
    fail(status.error);
    m_dirty = true;
  }
}

void RecoveryJournal::stop() {
  m_timer.stop();
  m_sliceTimer.stop();
  m_update.reset();
  waitForCommit();
  m_dirty = false;
}

void RecoveryJournal::discard() {
  stop();
  // Whether the load that empties the text kept it is known only once it ends.
  if (!m_loading && m_directory && m_slot) m_directory->removeJournal(*m_slot);
}

void RecoveryJournal::loadStarting() {
  flushNow();
  m_loading = true;
}

void RecoveryJournal::loadFinished(bool textLost) {
  m_loading = false;
  if (textLost) {
    stop();
    // Its lock let go, the journal belongs to no window: the next start offers it.
    m_slot.reset();
  }
  documentChanged(std::numeric_limits<qint64>::max());
}

void RecoveryJournal::end() {
  discard();
  if (m_directory && m_slot) m_directory->release(*m_slot);
  m_slot.reset();
}

void RecoveryJournal::adopt(JournalSlot slot) {
  end();
  m_timer.stop();
  m_dirty = false;
  if (!m_directory) {
    Result<JournalDirectory> opened = JournalDirectory::open(m_programDirectory);
    if (!opened.ok()) return;
    m_directory.emplace(std::move(opened.value()));
  }
  m_slot.emplace(std::move(slot));
}

void RecoveryJournal::fail(const std::string& error) {
  m_update.reset();
  // Said once, not every few seconds, until a write succeeds again.
  if (m_failed) return;
  m_failed = true;
  m_report(error);
}

}  // namespace orvex::gui
