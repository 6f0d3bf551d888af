#include "recovery/journal_recovery.h"

#include <QString>
#include <cstdlib>
#include <optional>

#include "config/desktop_entry.h"
#include "io/file_handle.h"
#include "mainwindow/main_window.h"
#include "paths/file_names.h"
#include "recovery/journal_directory.h"
#include "recovery/journal_format.h"
#include "recovery/recovery_journal.h"
#include "services/ui_services.h"

namespace orvex::gui {

namespace {

const QString kCaption = QStringLiteral("Orvex");
const QString kQuestion = QStringLiteral(
    "Orvex a été interrompu alors que le document %1 n'était pas enregistré.\nVoulez-vous récupérer les "
    "modifications ?");
const QString kUnreadable =
    QStringLiteral("Le fichier de récupération %1 est illisible ; il a été mis de côté sous le nom %2.");
const QString kKept =
    QStringLiteral("Le fichier de récupération %1 est illisible et n'a pas pu être mis de côté ; il reste à sa place.");

struct OpenedJournal {
  FileHandle file;
  JournalLayout layout;
};

QString shownDocument(const std::string& fileName) {
  return fileName.empty() ? QStringLiteral("sans nom") : QString::fromStdString(shownName(fileName));
}

// Moves the journal aside, its slot's files going with it, and says so once: the
// name it gets is never offered again. A journal that cannot be moved keeps its
// place and its files, for the next start; that is said too.
void setAside(UiServices& ui, const JournalDirectory& directory, const JournalSlot& slot) {
  const Result<std::string> aside = directory.setAside(slot);
  const QString journal = QString::fromStdString(directory.journalPath(slot).string());
  if (!aside.ok()) {
    ui.showMessage(kCaption, kKept.arg(journal), MessageIcon::Warning);
    return;
  }
  ui.showMessage(kCaption,
                 kUnreadable.arg(journal, QString::fromStdString((directory.path() / aside.value()).string())),
                 MessageIcon::Warning);
}

std::optional<OpenedJournal> openJournal(UiServices& ui, const JournalDirectory& directory, const JournalSlot& slot) {
  Result<FileHandle> file = directory.openJournal(slot);
  if (file.ok()) {
    Result<JournalLayout> layout = readJournalForRecovery(file.value().get());
    if (layout.ok()) return OpenedJournal{std::move(file.value()), std::move(layout.value())};
  }
  setAside(ui, directory, slot);
  return std::nullopt;
}

// The text into the window, which takes the journal over.
void recoverInto(UiServices& ui, MainWindow& window, const JournalDirectory& directory, JournalSlot slot,
                 const OpenedJournal& journal) {
  const std::string error =
      window.recoverDocument(journal.file.get(), journal.layout.textLength, journal.layout.record);
  if (!error.empty()) {
    setAside(ui, directory, slot);
    return;
  }
  if (auto* kept = window.findChild<RecoveryJournal*>()) kept->adopt(std::move(slot));
}

// The window started without a file, or with the journal's own file.
bool fitsWindow(const std::vector<std::string>& arguments, const JournalRecord& record) {
  if (arguments.empty()) return true;
  if (arguments.size() != 1 || record.fileName.empty()) return false;
  if (arguments.front() == record.fileName) return true;
  const std::optional<FileIdentity> argument = identifyFile(arguments.front());
  const std::optional<FileIdentity> journal = identifyFile(record.fileName);
  return argument && journal && argument->device == journal->device && argument->inode == journal->inode;
}

// A new window, started as "Nouvelle fenêtre" starts one, takes the journal over.
void handOver(UiServices& ui, JournalSlot slot) {
  const std::string name = slot.name();
  {
    // Its lock is let go for the new window to take.
    const JournalSlot released = std::move(slot);
  }
  const std::optional<std::string> program = runningExecutable();
  if (!program) return;
  ::setenv(kRecoveryVariable, name.c_str(), 1);
  ui.startDetached({*program}, {});
  ::unsetenv(kRecoveryVariable);
}

}  // namespace

void offerRecovery(UiServices& ui, MainWindow& window, const std::filesystem::path& programDirectory,
                   const std::vector<std::string>& arguments) {
  std::error_code error;
  if (programDirectory.empty() || !std::filesystem::is_directory(programDirectory / "recuperation", error)) return;
  Result<JournalDirectory> directory = JournalDirectory::open(programDirectory);
  if (!directory.ok()) return;
  bool firstRecovered = true;
  for (JournalSlot& slot : directory.value().takeOrphans()) {
    const std::optional<OpenedJournal> journal = openJournal(ui, directory.value(), slot);
    if (!journal) continue;
    if (!ui.confirmYesByDefault(kCaption, kQuestion.arg(shownDocument(journal->layout.record.fileName)))) {
      directory.value().release(slot);
      continue;
    }
    if (firstRecovered && fitsWindow(arguments, journal->layout.record))
      recoverInto(ui, window, directory.value(), std::move(slot), *journal);
    else
      handOver(ui, std::move(slot));
    firstRecovered = false;
  }
}

void recoverHandedOver(UiServices& ui, MainWindow& window, const std::filesystem::path& programDirectory,
                       const std::string& name) {
  if (programDirectory.empty()) return;
  Result<JournalDirectory> directory = JournalDirectory::open(programDirectory);
  if (!directory.ok()) return;
  // Another start may have taken it in the meantime: it offers it itself.
  std::optional<JournalSlot> slot = directory.value().takeSlot(name);
  if (!slot) return;
  if (const std::optional<OpenedJournal> journal = openJournal(ui, directory.value(), *slot))
    recoverInto(ui, window, directory.value(), std::move(*slot), *journal);
}

}  // namespace orvex::gui
