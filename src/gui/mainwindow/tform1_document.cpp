// The document's life: new, new window, open, save, save as, print and the close
// query with its save question.

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "components/zil_status_bar.h"
#include "config/desktop_entry.h"
#include "editor/document_editor.h"
#include "io/file_probes.h"
#include "io/status.h"
#include "mainwindow/tform1.h"
#include "paths/file_names.h"
#include "paths/program_paths.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/small_windows.h"

namespace orvex::gui {

namespace {

constexpr std::uintmax_t kLayoutNoticeSize = std::uintmax_t{4} << 20;
const QString kSaveQuestionCaption = QStringLiteral("Avant de quitter");
const QString kSaveQuestion =
    QStringLiteral("Le document a été modifié.\n\rSouhaitez vous enregistrer les modifications ?");
const QString kChangedOnDiskQuestion =
    QStringLiteral("Le fichier %1 a été modifié par un autre programme.\nVoulez-vous le remplacer ?");
const QString kReplaceQuestion = QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?");

const QString kAmbiguousName = QStringLiteral(
    "Plusieurs fichiers de ce dossier s'affichent sous le nom %1.\nOuvrez-le depuis la ligne de commande ou "
    "renommez-le.");

bool isBlank(const std::filesystem::path& path) {
  for (const char c : path.native())
    if (static_cast<unsigned char>(c) > 32) return false;
  return true;
}

QString shown(const std::filesystem::path& path) { return QString::fromStdString(shownName(path.native())); }

}  // namespace

void TForm1::setDocumentPath(std::filesystem::path path) {
  m_documentPath = std::move(path);
  setCaption(m_documentPath.empty() ? QStringLiteral("Orvex") : QStringLiteral("Orvex - ") + shown(m_documentPath));
}

bool TForm1::loadDocument(const std::filesystem::path& path) {
  // The editor control lays out a whole line before it shows any of it: a file with
  // lines of megabytes takes seconds, which the cursor and the status bar say.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool loaded = readDocument(path);
  QApplication::restoreOverrideCursor();
  return loaded;
}

bool TForm1::readDocument(const std::filesystem::path& path) {
  std::error_code sizeError;
  const auto size = std::filesystem::file_size(path, sizeError);
  if (!sizeError && size > DocumentEditor::kMaxBytes) {
    reportError(QString::fromStdString(DocumentEditor::tooLargeMessage(shownName(path.native()))));
    return false;
  }
  if (!sizeError && size >= kLayoutNoticeSize) {
    StatusBar2->setPanelText(0, QStringLiteral("Ouverture et mise en page du fichier en cours..."));
    StatusBar2->repaint();
  }
  // The layout and encoding are found first, so that a file that cannot be read
  // leaves the document as it was.
  TextFormat format;
  Encoding shown = Encoding::Utf8;
  try {
    format = probeFileLayout(path);
    shown = detectFileEncoding(path);
  } catch (const IoFailure&) {
    reportError(QString::fromStdString(cannotOpenMessage(shownName(path.native()))));
    return false;
  }
  // A byte-order mark says UTF-8 even when the bytes are not (yet) valid UTF-8, as in
  // an encrypted text: it is shown as Windows-1252 until it is decrypted.
  format.encoding = format.bom ? Encoding::Utf8 : shown;
  // Taken before the load: a change made while it reads is then a change too.
  const std::optional<FileIdentity> identity = identifyFile(path);
  try {
    editeur->loadFile(path, format, shown);
  } catch (const DocumentLost& failure) {
    showNewDocument();
    reportError(QString::fromStdString(failure.what()));
    return false;
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return false;
  }
  m_fileIdentity = identity;
  return true;
}

bool TForm1::writeDocument(const std::filesystem::path& path) {
  try {
    m_fileIdentity = editeur->saveFile(path);
    editeur->markSaved();
  } catch (const IoFailure& failure) {
    reportError(QString::fromStdString(failure.what()));
    return false;
  }
  return true;
}

bool TForm1::isDocumentFile(const std::filesystem::path& path) const {
  const std::optional<FileIdentity> identity = identifyFile(path);
  return identity && m_fileIdentity && identity->device == m_fileIdentity->device &&
         identity->inode == m_fileIdentity->inode;
}

bool TForm1::mayOverwriteDocumentFile() {
  // Another program's changes to the file are not replaced without a question.
  return !m_fileIdentity || identifyFile(m_documentPath) == m_fileIdentity ||
         m_ui.confirm(QStringLiteral("Enregistrer"), kChangedOnDiskQuestion.arg(shown(m_documentPath)));
}

bool TForm1::save() {
  if (isBlank(m_documentPath)) return saveAs();
  if (!mayOverwriteDocumentFile()) return false;
  return writeDocument(m_documentPath);
}

std::optional<std::filesystem::path> TForm1::chooseSaveName() {
  // The dialog starts on the document's own file, else on the name last chosen.
  std::filesystem::path start = isBlank(m_documentPath) ? m_saveDialogName : m_documentPath;
  for (;;) {
    const std::optional<QString> answer = m_ui.chooseFileToSave(shown(start));
    if (!answer) return std::nullopt;
    const std::optional<std::filesystem::path> chosen = fileFromDialog(*answer);
    if (!chosen) return std::nullopt;
    m_saveDialogName = *chosen;
    // The document's own file is saved without the question, as "Enregistrer" does.
    std::error_code error;
    if (!std::filesystem::exists(*chosen, error) || isDocumentFile(*chosen) ||
        m_ui.confirm(QStringLiteral("Enregistrer sous"), kReplaceQuestion.arg(shown(*chosen))))
      return chosen;
    start = *chosen;
  }
}

bool TForm1::saveAs() {
  const std::optional<std::filesystem::path> chosen = chooseSaveName();
  // A cancelled dialog saves nothing, and the command that asked for the save stops
  // too rather than drop the unsaved text.
  if (!chosen) return false;
  if (isDocumentFile(*chosen) && !mayOverwriteDocumentFile()) return false;
  if (!writeDocument(*chosen)) return false;
  setDocumentPath(*chosen);
  return true;
}

bool TForm1::settleUnsavedChanges() {
  if (!isModified()) return true;
  switch (m_ui.ask(kSaveQuestionCaption, kSaveQuestion)) {
    case Answer::Yes: return save();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

void TForm1::Nouveau2Click() {
  if (!settleUnsavedChanges()) return;
  editeur->newDocument();
  showNewDocument();
}

void TForm1::showNewDocument() {
  m_fileIdentity.reset();
  editeurChange();
  setDocumentPath({});
  editeurSelectionChange();
}

void TForm1::Nouveau1Click() {
  if (const std::optional<std::string> program = runningExecutable()) m_ui.startDetached({*program}, {});
}

std::optional<std::filesystem::path> TForm1::fileFromDialog(const QString& chosen) {
  const NameLookup lookup = findShownPath(chosen.toStdString());
  if (!lookup.ambiguous) return lookup.path;
  m_ui.showMessage(windowTitle(), kAmbiguousName.arg(chosen), MessageIcon::Warning);
  return std::nullopt;
}

std::optional<std::filesystem::path> TForm1::chooseFileToOpen() {
  std::filesystem::path start = m_openDialogName;
  if (start.empty()) {
    std::error_code error;
    start = isBlank(m_documentPath) ? std::filesystem::current_path(error)
                                    : std::filesystem::absolute(m_documentPath, error).parent_path();
  }
  const std::optional<QString> answer = m_ui.chooseFileToOpen(shown(start));
  if (!answer) return std::nullopt;
  const std::optional<std::filesystem::path> chosen = fileFromDialog(*answer);
  if (chosen) m_openDialogName = *chosen;
  return chosen;
}

void TForm1::Ouvrir1Click() {
  if (!settleUnsavedChanges()) return;
  if (const std::optional<std::filesystem::path> chosen = chooseFileToOpen()) openFile(*chosen);
}

void TForm1::openDroppedFile(const std::filesystem::path& path) {
  if (!settleUnsavedChanges()) return;
  openFile(path);
  editeur->setFocus();
}

void TForm1::openFile(const std::filesystem::path& path) {
  if (!loadDocument(path)) {
    refreshLineCount();
    return;
  }
  setDocumentPath(path);
  refreshLineCount();
  editeurChange();
}

void TForm1::Enregistrer2Click() { save(); }

void TForm1::Enregistrer1Click() { saveAs(); }

void TForm1::Miseenpage1Click() { m_ui.setUpPrinter(editeur->printer()); }

void TForm1::Imprimer1Click() {
  // Without a print system Qt falls back to PDF output, which needs a file name: a
  // printer is there when the system has one or when the set-up chose a file.
  const QPrinter& printer = editeur->printer();
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
    reportError(QStringLiteral("Aucune imprimante par défaut sélectionnée"));
    return;
  }
  editeur->print(windowTitle());
}

void TForm1::Quitter1Click() { close(); }

std::filesystem::path TForm1::releaseNotesFile() const {
  // Beside the program's files, beside the executable, or where it is installed.
  for (const std::filesystem::path& candidate :
       {m_paths.releaseNotesFile(), runningExecutableDirectory() / "nouveautes.txt",
        runningExecutableDirectory() / ".." / "share" / "orvex" / "nouveautes.txt"}) {
    std::error_code error;
    if (!candidate.empty() && std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

void TForm1::Nouveauts1Click() {
  if (isModified()) {
    switch (m_ui.ask(QStringLiteral("Attention"), kSaveQuestion)) {
      case Answer::Yes:
        if (!save()) return;
        break;
      case Answer::No: break;
      case Answer::Cancel: return;
    }
  }
  editeur->newDocument();
  showNewDocument();
  const std::filesystem::path notes = releaseNotesFile();
  if (notes.empty()) {
    m_ui.showMessage(QStringLiteral("Nouveautés"),
                     QStringLiteral("Le fichier \"nouveautes.txt\" est absent.\n\r"
                                    "Vous devrez découvrir les nouveautés par vous même..."),
                     MessageIcon::Information);
    return;
  }
  // The notes become a nameless document, as a new one, not modified.
  if (loadDocument(notes)) {
    m_fileIdentity.reset();
    refreshLineCount();
  }
}

void TForm1::VelmorasurInternet1Click() { m_ui.openWithDesktop(kWebPageAddress); }

void TForm1::Dclarerdanslabasederegistre1Click() {
  const std::filesystem::path directory = desktopEntryDirectory();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The path as the system has it: the toolkit's own would be decoded, and a
  // directory name that is not UTF-8 would lose its bytes.
  const std::optional<std::string> executable = runningExecutable();
  const Status status = executable ? declareDesktopEntry(directory, *executable)
                                   : Status::failure("Echec à la définition des données pour ''");
  QApplication::restoreOverrideCursor();
  if (!status.ok()) {
    reportError(QString::fromStdString(status.error));
    return;
  }
  refreshDesktopDatabase(directory);
}

void TForm1::Enleverdelabasederegistre1Click() {
  const std::filesystem::path directory = desktopEntryDirectory();
  removeDesktopEntry(directory);
  refreshDesktopDatabase(directory);
}

void TForm1::refreshDesktopDatabase(const std::filesystem::path& directory) {
  // The file managers read their cache of entries; where the tool that rebuilds it
  // is installed, it runs.
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
  if (!tool.isEmpty() && !directory.empty()) m_ui.startDetached({tool.toStdString(), directory.native()}, {});
}

void TForm1::closeEvent(QCloseEvent* event) {
  const bool batchRun = m_arguments.size() >= 2;
  if (batchRun || settleUnsavedChanges())
    event->accept();
  else
    event->ignore();
}

}  // namespace orvex::gui
