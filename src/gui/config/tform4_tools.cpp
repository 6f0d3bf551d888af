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

#include "config/menu_config.h"
#include "config/tform4.h"
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

void addTool(QListWidget& list, const ToolEntry& tool) {
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

QWidget* TForm4::buildToolsPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet2"));
  auto* grid = new QGridLayout(page);

  ListBox1 = new QListWidget(page);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setFrameShape(QFrame::NoFrame);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->addWidget(ListBox1, 0, 0, 1, 3);

  auto box = [&](int row, const char* label, const char* name) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), page), row, 0);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    grid->addWidget(edit, row, 1);
    return edit;
  };
  Libelle = box(1, "Libellé :", "Libelle");
  Executable = box(2, "Exécutable :", "Executable");
  auto* browse = browseButton("Parcourir", "Parcourir", page);
  grid->addWidget(browse, 2, 2);
  Parametres = box(3, "Paramètres :", "Parametres");
  auto* variables = browseButton("Variables", "Définition de paramètres variables", page);
  grid->addWidget(variables, 3, 2);
  grid->setRowMinimumHeight(4, 8);
  MenuPrincipal = box(5, "Menu principal :", "MenuPrincipal");
  grid->setRowStretch(0, 1);

  auto* buttons = new QVBoxLayout();
  auto button = [&](const char* text, const char* name, const char* hint, void (TForm4::*click)()) {
    auto* pushButton = new QPushButton(QString::fromUtf8(text), page);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setToolTip(QString::fromUtf8(hint));
    pushButton->setAutoDefault(false);
    connect(pushButton, &QPushButton::clicked, this, click);
    buttons->addWidget(pushButton);
  };
  button("&Ajouter", "Ajouter", "Ajouter un outil", &TForm4::AjouterClick);
  button("&Supprimer", "Supprimer", "Supprimer l'outil sélectionné", &TForm4::SupprimerClick);
  button("Tout supprimer", "ToutSupprimer", "Supprimer tous les liens vers les outils", &TForm4::ToutSupprimerClick);
  button("&Valider", "Valider", "Valider les modifications", &TForm4::ValiderClick);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 3, 6, 1);

  // The boxes follow the selection, not the current item: the list makes its first
  // item current when it gets the keyboard, which selects nothing.
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TForm4::ListBox1Click);
  connect(browse, &QToolButton::clicked, this, &TForm4::ParcourirClick);
  connect(variables, &QToolButton::clicked, this, &TForm4::VariablesClick);
  return page;
}

void TForm4::loadToolList() {
  ListBox1->clear();
  m_menuEncoding = Encoding::Utf8;
  const auto file = m_paths.menuFile();
  if (!isExistingFile(file)) return;
  try {
    const MenuFile menu = readMenuFile(file);
    m_menuEncoding = menu.encoding;
    const ToolList list = orvex::loadToolList(menu.lines);
    if (list.title) MenuPrincipal->setText(fromUtf8(*list.title));
    for (const ToolEntry& tool : list.entries) addTool(*ListBox1, tool);
  } catch (const IoFailure& failure) {
    reportError(failure.what());
  }
}

bool TForm4::saveToolList() {
  if (!m_paths.available()) return true;
  std::vector<ToolEntry> entries;
  for (int row = 0; row < ListBox1->count(); ++row) entries.push_back(toolOf(*ListBox1->item(row)));
  Status status;
  switch (orvex::saveToolList(m_paths.menuFile(), MenuPrincipal->text().toStdString(), entries, m_menuEncoding,
                              status)) {
    case ToolListSave::TitleMissing:
      m_ui.showMessage(QStringLiteral("Erreur"), QStringLiteral("Vous devez saisir un nom pour le menu général."),
                       MessageIcon::Stop);
      return true;
    case ToolListSave::NotWritten:
      if (status.ok()) return true;
      reportError(status.error);
      return false;
    case ToolListSave::Written:
      return true;
  }
  return true;
}

QListWidgetItem* TForm4::selectedTool() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  return selected.isEmpty() ? nullptr : selected.constFirst();
}

void TForm4::ListBox1Click() {
  const QListWidgetItem* item = selectedTool();
  if (!item) return;
  const ToolEntry tool = toolOf(*item);
  Libelle->setText(fromUtf8(tool.label));
  Executable->setText(fromUtf8(tool.program));
  Parametres->setText(fromUtf8(tool.parameters));
}

void TForm4::AjouterClick() {
  addTool(*ListBox1, {"Nouveau ", "Outils", ""});
  // Selecting the new entry fills the boxes from it.
  ListBox1->setCurrentRow(ListBox1->count() - 1, QItemSelectionModel::ClearAndSelect);
  Libelle->setFocus();
}

void TForm4::SupprimerClick() {
  QListWidgetItem* item = selectedTool();
  if (!item) return;
  delete ListBox1->takeItem(ListBox1->row(item));
  // The list would select the next entry, which the emptied boxes do not show.
  ListBox1->clearSelection();
  Libelle->clear();
  Executable->clear();
  Parametres->clear();
  ListBox1->setFocus();
}

void TForm4::ValiderClick() {
  QListWidgetItem* item = selectedTool();
  if (!item) return;
  setTool(*item, {Libelle->text().toStdString(), Executable->text().toStdString(), Parametres->text().toStdString()});
}

void TForm4::ToutSupprimerClick() {
  if (!removeExistingFile(m_paths.menuFile())) return;
  for (QLineEdit* edit : {Libelle, Executable, Parametres, MenuPrincipal}) edit->clear();
  FormShow();
  PageControl1->setCurrentIndex(1);
}

void TForm4::ParcourirClick() {
  const QString directory = QFileInfo(Executable->text()).path();
  if (const auto program = m_ui.chooseProgram(directory)) Executable->setText(*program);
}

void TForm4::VariablesClick() {
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
  Parametres->setText(Parametres->text() + variable);
}

}  // namespace orvex::gui
