// The "Outils de l'utilisateur" tab: the list of tools is a working copy of
// menu.cfg, reloaded at each showing and written by "&Ok".

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "config/configuration_dialog.h"
#include "config/menu_config.h"
#include "io/file_handle.h"
#include "services/ui_services.h"

namespace orvex::gui {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The list shows "label || program || parameters"; each field is kept in the item
// as typed, since a value may hold the separator and the text cannot be split back.
constexpr int kLabelRole = Qt::UserRole;
constexpr int kProgramRole = Qt::UserRole + 1;
constexpr int kParametersRole = Qt::UserRole + 2;

void setTool(QListWidgetItem& item, const ToolEntry& tool) {
  item.setText(fromUtf8(joinToolEntry(tool)));
  item.setData(kLabelRole, fromUtf8(tool.label));
  item.setData(kProgramRole, fromUtf8(tool.program));
  item.setData(kParametersRole, fromUtf8(tool.parameters));
}

ToolEntry toolOf(const QListWidgetItem& item) {
  return {item.data(kLabelRole).toString().toStdString(), item.data(kProgramRole).toString().toStdString(),
          item.data(kParametersRole).toString().toStdString()};
}

void appendToolItem(QListWidget& list, const ToolEntry& tool) {
  auto* item = new QListWidgetItem(&list);
  setTool(*item, tool);
}

QToolButton* browseButton(const char* name, const char* hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QStringLiteral("->"));
  button->setToolTip(QString::fromUtf8(hint));
  return button;
}

}  // namespace

QWidget* ConfigurationDialog::buildToolsPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet2"));
  auto* grid = new QGridLayout(page);

  m_toolList = new QListWidget(page);
  m_toolList->setObjectName(QStringLiteral("ListBox1"));
  m_toolList->setFrameShape(QFrame::NoFrame);
  m_toolList->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->addWidget(m_toolList, 0, 0, 1, 3);

  auto box = [&](int row, const char* label, const char* name) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), page), row, 0);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    grid->addWidget(edit, row, 1);
    return edit;
  };
  m_label = box(1, "Libellé :", "Libelle");
  m_program = box(2, "Exécutable :", "Executable");
  auto* browse = browseButton("Parcourir", "Parcourir", page);
  grid->addWidget(browse, 2, 2);
  m_parameters = box(3, "Paramètres :", "Parametres");
  auto* variables = browseButton("Variables", "Définition de paramètres variables", page);
  grid->addWidget(variables, 3, 2);
  grid->setRowMinimumHeight(4, 8);
  m_menuTitle = box(5, "Menu principal :", "MenuPrincipal");
  grid->setRowStretch(0, 1);

  auto* buttons = new QVBoxLayout();
  auto button = [&](const char* text, const char* name, const char* hint, void (ConfigurationDialog::*click)()) {
    auto* pushButton = new QPushButton(QString::fromUtf8(text), page);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setToolTip(QString::fromUtf8(hint));
    pushButton->setAutoDefault(false);
    connect(pushButton, &QPushButton::clicked, this, click);
    buttons->addWidget(pushButton);
  };
  button("&Ajouter", "Ajouter", "Ajouter un outil", &ConfigurationDialog::addTool);
  button("&Supprimer", "Supprimer", "Supprimer l'outil sélectionné", &ConfigurationDialog::removeTool);
  button("Tout supprimer", "ToutSupprimer", "Supprimer tous les liens vers les outils",
         &ConfigurationDialog::removeAllTools);
  button("&Valider", "Valider", "Valider les modifications", &ConfigurationDialog::updateTool);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 3, 6, 1);

  // The boxes follow the selection, not the current item: the list makes its first
  // item current when it gets the keyboard, which selects nothing.
  connect(m_toolList, &QListWidget::itemSelectionChanged, this, &ConfigurationDialog::showSelectedTool);
  connect(browse, &QToolButton::clicked, this, &ConfigurationDialog::browseProgram);
  connect(variables, &QToolButton::clicked, this, &ConfigurationDialog::insertVariable);
  return page;
}

void ConfigurationDialog::loadToolList() {
  m_toolList->clear();
  m_menuEncoding = Encoding::Utf8;
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) return;
  const Result<MenuFile> menu = readMenuFile(file);
  if (!menu.ok()) return reportError(menu.error());
  m_menuEncoding = menu.value().encoding;
  const ToolList list = orvex::loadToolList(menu.value().lines);
  if (list.title) m_menuTitle->setText(fromUtf8(*list.title));
  for (const ToolEntry& tool : list.entries) appendToolItem(*m_toolList, tool);
}

bool ConfigurationDialog::saveToolList() {
  if (!m_paths.available()) return true;
  std::vector<ToolEntry> entries;
  entries.reserve(static_cast<std::size_t>(m_toolList->count()));
  for (int row = 0; row < m_toolList->count(); ++row) entries.push_back(toolOf(*m_toolList->item(row)));
  Status status;
  switch (orvex::saveToolList(m_paths.menuFile(), m_menuTitle->text().toStdString(), entries, m_menuEncoding, status)) {
    case ToolListSave::TitleMissing:
      m_ui.showMessage(QStringLiteral("Erreur"), QStringLiteral("Vous devez saisir un nom pour le menu général."),
                       MessageIcon::Stop);
      return true;
    case ToolListSave::NotWritten:
      if (status.ok()) return true;
      reportError(status.error);
      return false;
    case ToolListSave::Written: return true;
  }
  return true;
}

QListWidgetItem* ConfigurationDialog::selectedTool() const {
  const QList<QListWidgetItem*> selected = m_toolList->selectedItems();
  return selected.isEmpty() ? nullptr : selected.constFirst();
}

void ConfigurationDialog::showSelectedTool() {
  const QListWidgetItem* item = selectedTool();
  if (!item) return;
  const ToolEntry tool = toolOf(*item);
  m_label->setText(fromUtf8(tool.label));
  m_program->setText(fromUtf8(tool.program));
  m_parameters->setText(fromUtf8(tool.parameters));
}

void ConfigurationDialog::addTool() {
  appendToolItem(*m_toolList, {"Nouveau ", "Outils", ""});
  // Selecting the new entry fills the boxes from it.
  m_toolList->setCurrentRow(m_toolList->count() - 1, QItemSelectionModel::ClearAndSelect);
  m_label->setFocus();
}

void ConfigurationDialog::removeTool() {
  QListWidgetItem* item = selectedTool();
  if (!item) return;
  delete m_toolList->takeItem(m_toolList->row(item));
  // The list would select the next entry, which the emptied boxes do not show.
  m_toolList->clearSelection();
  m_label->clear();
  m_program->clear();
  m_parameters->clear();
  m_toolList->setFocus();
}

void ConfigurationDialog::updateTool() {
  QListWidgetItem* item = selectedTool();
  if (!item) return;
  setTool(*item, {m_label->text().toStdString(), m_program->text().toStdString(), m_parameters->text().toStdString()});
}

void ConfigurationDialog::removeAllTools() {
  if (!removeExistingFile(m_paths.menuFile())) return;
  for (QLineEdit* edit : {m_label, m_program, m_parameters, m_menuTitle}) edit->clear();
  prepareToShow();
  m_pages->setCurrentIndex(1);
}

void ConfigurationDialog::browseProgram() {
  const QString directory = QFileInfo(m_program->text()).path();
  if (const auto program = m_ui.chooseProgram(directory)) m_program->setText(*program);
}

void ConfigurationDialog::insertVariable() {
  QMenu menu(this);
  QAction* name = menu.addAction(QStringLiteral("&Nom du fichier ouvert sous Orvex"));
  QAction* directory = menu.addAction(QStringLiteral("&Chemin du fichier ouvert sous Orvex"));
  menu.addSeparator();
  QAction* selection = menu.addAction(QStringLiteral("Texte &sélectionné sous Orvex"));
  const auto* button = findChild<QToolButton*>(QStringLiteral("Variables"));
  const QAction* chosen = m_ui.popUp(menu, button->mapToGlobal(QPoint(0, button->height())));
  const QString variable = chosen == name        ? QStringLiteral("$NomFic")
                           : chosen == directory ? QStringLiteral("$CheminFic")
                           : chosen == selection ? QStringLiteral("$Selection")
                                                 : QString();
  m_parameters->setText(m_parameters->text() + variable);
}

}  // namespace orvex::gui
