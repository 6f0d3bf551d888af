#include "mainwindow/document_session.h"

#include "components/busy_cursor.h"
#include "editor/document_editor.h"
#include "io/file_probes.h"
#include "mainwindow/command_context.h"
#include "paths/file_names.h"
#include "services/ui_services.h"
#include "text/messages.h"

namespace orvex::gui {

namespace {

constexpr std::uintmax_t kLayoutNoticeSize = std::uintmax_t{4} << 20;
const QString kSaveQuestionCaption = QStringLiteral("Avant de quitter");
const QString kSaveQuestion =
    QStringLiteral("Le document a été modifié.\n\rSouhaitez vous enregistrer les modifications ?");
const QString kChangedOnDiskQuestion =
    QStringLiteral("Le fichier %1 a été modifié par un autre programme.\nVoulez-vous le remplacer ?");
const QString kChangedSinceSave =
    QStringLiteral("Le fichier %1 a été modifié sur le disque depuis la dernière sauvegarde.");
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

DocumentSession::DocumentSession(const CommandContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

void DocumentSession::setPath(std::filesystem::path path) {
  m_path = std::move(path);
  emit pathChanged();
}

QString DocumentSession::caption() const {
  return m_path.empty() ? QStringLiteral("Orvex") : QStringLiteral("Orvex - ") + shown(m_path);
}

bool DocumentSession::load(const std::filesystem::path& path) {
  // The editor control lays out a whole line before it shows any of it: a file with
  // lines of megabytes takes seconds, which the cursor and the status bar say.
  const BusyCursor busy;
  return read(path);
}

bool DocumentSession::read(const std::filesystem::path& path) {
  std::error_code sizeError;
  const auto size = std::filesystem::file_size(path, sizeError);
  if (!sizeError && size > DocumentEditor::kMaxBytes) {
    m_context.reportError(DocumentEditor::tooLargeMessage(shownName(path.native())));
    return false;
  }
  if (!sizeError && size >= kLayoutNoticeSize)
    emit notice(QStringLiteral("Ouverture et mise en page du fichier en cours..."));
  // The layout and encoding are found first, so that a file that cannot be read
  // leaves the document as it was.
  const Result<FileProbe> probe = probeFile(path);
  if (!probe.ok()) {
    m_context.reportError(cannotOpenMessage(shownName(path.native())));
    return false;
  }
  TextFormat format = probe.value().layout;
  const Encoding encoding = probe.value().encoding;
  // A byte-order mark says UTF-8 even when the bytes are not (yet) valid UTF-8, as in
  // an encrypted text: it is shown as Windows-1252 until it is decrypted.
  format.encoding = format.bom ? Encoding::Utf8 : encoding;
  // Taken before the load: a change made while it reads is then a change too.
  const std::optional<FileIdentity> identity = identifyFile(path);
  emit loadStarting();
  const DocumentEditor::FileLoad load = m_context.editor().loadFile(path, format, encoding);
  emit loadFinished(load.outcome == DocumentEditor::LoadOutcome::Broken);
  if (load.outcome == DocumentEditor::LoadOutcome::Broken) forgetFile();
  if (!load.error.empty()) {
    m_context.reportError(load.error);
    return false;
  }
  m_fileIdentity = identity;
  return true;
}

bool DocumentSession::write(const std::filesystem::path& path) {
  const Result<FileIdentity> saved = m_context.editor().saveFile(path);
  if (!saved.ok()) {
    m_context.reportError(saved.error());
    return false;
  }
  m_fileIdentity = saved.value();
  m_context.editor().markSaved();
  return true;
}

bool DocumentSession::isDocumentFile(const std::filesystem::path& path) const {
  const std::optional<FileIdentity> identity = identifyFile(path);
  return identity && m_fileIdentity && identity->device == m_fileIdentity->device &&
         identity->inode == m_fileIdentity->inode;
}

bool DocumentSession::mayOverwriteDocumentFile() {
  return !m_fileIdentity || identifyFile(m_path) == m_fileIdentity ||
         m_context.ui().confirm(QStringLiteral("Enregistrer"), kChangedOnDiskQuestion.arg(shown(m_path)));
}

bool DocumentSession::save() {
  if (isBlank(m_path)) return saveAs();
  if (!mayOverwriteDocumentFile()) return false;
  if (!write(m_path)) return false;
  emit fileUsed(m_path);
  return true;
}

std::optional<std::filesystem::path> DocumentSession::chooseSaveName() {
  // The dialog starts on the document's own file, else on the name last chosen.
  std::filesystem::path start = isBlank(m_path) ? m_saveDialogName : m_path;
  for (;;) {
    const std::optional<QString> answer = m_context.ui().chooseFileToSave(shown(start));
    if (!answer) return std::nullopt;
    std::optional<std::filesystem::path> chosen = fileFromDialog(*answer);
    if (!chosen) return std::nullopt;
    m_saveDialogName = *chosen;
    // The document's own file is saved without the question, as "Enregistrer" does.
    std::error_code error;
    if (!std::filesystem::exists(*chosen, error) || isDocumentFile(*chosen) ||
        m_context.ui().confirm(QStringLiteral("Enregistrer sous"), kReplaceQuestion.arg(shown(*chosen))))
      return chosen;
    start = *chosen;
  }
}

bool DocumentSession::saveAs() {
  const std::optional<std::filesystem::path> chosen = chooseSaveName();
  // A cancelled dialog saves nothing, and the command that asked for the save stops
  // too rather than drop the unsaved text.
  if (!chosen) return false;
  if (isDocumentFile(*chosen) && !mayOverwriteDocumentFile()) return false;
  if (!write(*chosen)) return false;
  setPath(*chosen);
  emit fileUsed(m_path);
  return true;
}

bool DocumentSession::settleUnsavedChanges() {
  if (!m_context.editor().isModified()) return true;
  switch (m_context.ui().ask(kSaveQuestionCaption, kSaveQuestion)) {
    case Answer::Yes: return save();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

void DocumentSession::startNewDocument() {
  if (!settleUnsavedChanges()) return;
  m_context.editor().newDocument();
  forgetFile();
}

void DocumentSession::forgetFile() {
  m_fileIdentity.reset();
  setPath({});
  emit documentReplaced();
}

std::optional<std::filesystem::path> DocumentSession::fileFromDialog(const QString& chosen) {
  const NameLookup lookup = findShownPath(chosen.toStdString());
  if (!lookup.ambiguous) return lookup.path;
  m_context.ui().showMessage(m_context.windowTitle(), kAmbiguousName.arg(chosen), MessageIcon::Warning);
  return std::nullopt;
}

std::optional<std::filesystem::path> DocumentSession::chooseFileToOpen() {
  std::filesystem::path start = m_openDialogName;
  if (start.empty()) {
    std::error_code error;
    start =
        isBlank(m_path) ? std::filesystem::current_path(error) : std::filesystem::absolute(m_path, error).parent_path();
  }
  const std::optional<QString> answer = m_context.ui().chooseFileToOpen(shown(start));
  if (!answer) return std::nullopt;
  std::optional<std::filesystem::path> chosen = fileFromDialog(*answer);
  if (chosen) m_openDialogName = *chosen;
  return chosen;
}

void DocumentSession::openChosenFile() {
  if (!settleUnsavedChanges()) return;
  if (const std::optional<std::filesystem::path> chosen = chooseFileToOpen()) open(*chosen);
}

void DocumentSession::open(const std::filesystem::path& path) {
  openNamed(path);
  emit documentReplaced();
}

std::string DocumentSession::recover(int fd, std::uint64_t length, const JournalRecord& record) {
  std::string error;
  {
    const BusyCursor busy;
    error = m_context.editor().loadRecovered(fd, length, record.format, record.shown);
  }
  if (!error.empty()) {
    forgetFile();
    return error;
  }
  m_fileIdentity = record.identity;
  setPath(record.fileName);
  emit documentReplaced();
  // The save then asks before replacing it, as for any other program's change.
  if (m_fileIdentity && identifyFile(m_path) != m_fileIdentity)
    m_context.ui().showMessage(m_context.windowTitle(), kChangedSinceSave.arg(shown(m_path)), MessageIcon::Warning);
  return {};
}

bool DocumentSession::reload() {
  const ViewPosition where = m_context.editor().viewPosition();
  if (!load(m_path)) return false;
  m_context.editor().restoreViewPosition(where);
  emit documentReplaced();
  return true;
}

bool DocumentSession::openNamed(const std::filesystem::path& path) {
  if (!load(path)) return false;
  setPath(path);
  emit fileUsed(path);
  return true;
}

void DocumentSession::showReleaseNotes(const std::filesystem::path& notes) {
  if (m_context.editor().isModified()) {
    switch (m_context.ui().ask(QStringLiteral("Attention"), kSaveQuestion)) {
      case Answer::Yes:
        if (!save()) return;
        break;
      case Answer::No: break;
      case Answer::Cancel: return;
    }
  }
  m_context.editor().newDocument();
  forgetFile();
  if (notes.empty()) {
    m_context.ui().showMessage(QStringLiteral("Nouveautés"),
                               QStringLiteral("Le fichier \"nouveautes.txt\" est absent.\n\r"
                                              "Vous devrez découvrir les nouveautés par vous même..."),
                               MessageIcon::Information);
    return;
  }
  // The notes become a nameless document, as a new one, not modified.
  if (load(notes)) {
    m_fileIdentity.reset();
    emit documentReplaced();
  }
}

}  // namespace orvex::gui
