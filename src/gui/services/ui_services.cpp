#include "services/ui_services.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "config/detached_launch.h"
#include "services/program_dialog.h"
#include "windows/font_dialog.h"

namespace orvex::gui {

namespace {

const QString kAllFilesFilter = QStringLiteral("Tous les fichiers (*)");

QMessageBox::Icon toQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Stop:
    case MessageIcon::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// The box keeps the lines of the text as they are written: the toolkit would wrap
// them again at a width of its own, and a three-line warning would show as five.
void keepLines(QMessageBox& box, const QString& text) {
  box.setTextFormat(Qt::RichText);
  box.setText(QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(displayText(text).toHtmlEscaped()));
}

// The window manager writes the caption in its own title font, usually bold, beside
// the frame's icon and buttons; the toolkit sizes the box by its text alone, and a
// short text ("\"x\" pas trouvé.") would leave "Avertissement" cut.
void fitCaption(QMessageBox& box, const QString& caption) {
  constexpr int kFrameControls = 120;  // the frame's icon and its three buttons
  QFont title = box.font();
  title.setBold(true);
  const int width = QFontMetrics(title).horizontalAdvance(caption) + kFrameControls;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

QString displayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  return shown;
}

void QtUiServices::showMessage(const QString& caption, const QString& text, MessageIcon icon) {
  const DialogScope open(*this);
  QMessageBox box(toQtIcon(icon), caption, displayText(text), QMessageBox::Ok, m_parent);
  keepLines(box, text);
  fitCaption(box, caption);
  box.exec();
}

Answer QtUiServices::ask(const QString& caption, const QString& text) {
  const DialogScope open(*this);
  QMessageBox box(QMessageBox::Information, caption, displayText(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
  keepLines(box, text);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

bool QtUiServices::confirm(const QString& caption, const QString& text) {
  const DialogScope open(*this);
  QMessageBox box(QMessageBox::Warning, caption, displayText(text), QMessageBox::Yes | QMessageBox::No, m_parent);
  keepLines(box, text);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool QtUiServices::confirmYesByDefault(const QString& caption, const QString& text) {
  const DialogScope open(*this);
  QMessageBox box(QMessageBox::Question, caption, displayText(text), QMessageBox::Yes | QMessageBox::No, m_parent);
  keepLines(box, text);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtUiServices::chooseFileToOpen(const QString& startName) {
  const DialogScope open(*this);
  const QString name = QFileDialog::getOpenFileName(m_parent, QString(), startName, kAllFilesFilter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtUiServices::chooseFileToSave(const QString& startName) {
  const DialogScope open(*this);
  const QString name = QFileDialog::getSaveFileName(m_parent, QString(), startName, kAllFilesFilter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtUiServices::inputText(const QString& caption, const QString& prompt, const QString& value) {
  const DialogScope open(*this);
  bool accepted = false;
  const QString text = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, value, &accepted);
  if (!accepted) return std::nullopt;
  return text;
}

std::optional<QString> QtUiServices::chooseProgram(const QString& directory) {
  const DialogScope open(*this);
  const auto dialog = createProgramDialog(m_parent, directory);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().constFirst();
}

std::optional<QColor> QtUiServices::chooseColour(const QColor& initial) {
  const DialogScope open(*this);
  const QColor colour = QColorDialog::getColor(initial, m_parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

std::optional<QFont> QtUiServices::chooseFont(const QFont& initial) {
  FontDialog dialog(initial, m_parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosenFont();
}

bool QtUiServices::setUpPrinter(QPrinter& printer) {
  const DialogScope open(*this);
  QPrintDialog dialog(&printer, m_parent);
  return dialog.exec() == QDialog::Accepted;
}

void QtUiServices::runModal(QDialog& dialog) {
  const DialogScope open(*this);
  dialog.exec();
}

QAction* QtUiServices::popUp(QMenu& menu, const QPoint& at) {
  const DialogScope open(*this);
  return menu.exec(at);
}

bool QtUiServices::startDetached(const std::vector<std::string>& command, const std::string& directory) {
  return startDetachedProcess(command, directory);
}

bool QtUiServices::openWithDesktop(const QString& target) {
  return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

std::optional<ToolRun> QtUiServices::startTool(const std::vector<std::string>& command, const std::string& directory,
                                               const std::filesystem::path& outputDirectory) {
  return startToolWithOutput(command, directory, outputDirectory);
}

}  // namespace orvex::gui
