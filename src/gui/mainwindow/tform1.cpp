#include "mainwindow/tform1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/command_icons.h"
#include "components/background.h"
#include "components/stored_colour.h"
#include "components/txp_menu.h"
#include "components/zil_status_bar.h"
#include "editor/document_editor.h"
#include "mainwindow/command_table.h"
#include "mainwindow/progress_bar_listener.h"
#include "services/ui_services.h"
#include "windows/fill_dialog.h"
#include "config/tform4.h"
#include "text/messages.h"
#include "version.h"

namespace orvex::gui {

namespace {

const QString kRulerText = QStringLiteral(
    "1...5....1....5....2....5....3....5....4....5....5....5....6....5....7....5....8....5....9....5....1");
constexpr std::uint32_t kBuiltInRulerColour = 0x00BBFFFF;
const QString kBecameUtf8 = QStringLiteral(
    "Le document contient désormais des caractères que Windows-1252 ne peut pas représenter.\n\r"
    "Il sera enregistré en UTF-8.");

}  // namespace

TForm1::TForm1(UiServices& ui, ProgramPaths paths, const ScratchDirectory& scratch, std::vector<std::string> arguments,
               QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_paths(std::move(paths)), m_scratch(scratch), m_arguments(std::move(arguments)) {
  setObjectName(QStringLiteral("Form1"));
  resize(600, 480);
  setCaption(QStringLiteral("Orvex"));
  buildLayout();
  buildCommands();
  XPMenu1 = new TXPMenu(this);
  createSearchDialogs();
  Form2 = new TForm2(this);
  Form4 = new TForm4(m_ui, m_paths, this);
  m_progress = std::make_unique<ProgressBarListener>(ProgressBar1);

  connect(editeur, &DocumentEditor::keyPressed, this, &TForm1::editeurKeyDown);
  connect(editeur, &DocumentEditor::modifiedChanged, this, &TForm1::editeurChange);
  connect(editeur, &DocumentEditor::selectionMoved, this, &TForm1::editeurSelectionChange);
  connect(editeur, &DocumentEditor::formatChanged, this, &TForm1::refreshFormatPanel);
  connect(editeur, &DocumentEditor::fileDropped, this, &TForm1::openDroppedFile);
  // The ruler follows the text's zoom, so that its columns stay over the text's.
  connect(editeur, &DocumentEditor::zoomChanged, this, [this] {
    Panel9->setFont(editeur->zoomedFont());
    Panel9->setFixedHeight(std::max(17, QFontMetrics(Panel9->font()).height() + 4));
  });
  connect(editeur, &DocumentEditor::becameUtf8, this, [this] {
    m_ui.showMessage(QStringLiteral("Information"), kBecameUtf8, MessageIcon::Information);
  });

  // Creation step: the built-in state, then config.dat when there is one.
  const SettingsReadResult settings = readSettings(m_paths.configFile());
  if (!settings.error.empty())
    reportError(QString::fromStdString(settings.error));
  else if (settings.record)
    applySettings(*settings.record);
  editeurChange();
  editeurSelectionChange();
  refreshFormatPanel();
}

TForm1::~TForm1() = default;

void TForm1::buildLayout() {
  ToolBar1 = addToolBar(QStringLiteral("Barre d'édition"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(16, 16));

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  Panel1 = new QWidget(central);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedWidth(25);
  auto* tools = new QVBoxLayout(Panel1);
  tools->setContentsMargins(0, 0, 0, 0);
  tools->setSpacing(0);
  tools->addSpacing(17);
  ToolBar2 = new QToolBar(Panel1);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setOrientation(Qt::Vertical);
  ToolBar2->setIconSize(QSize(16, 16));
  tools->addWidget(ToolBar2);
  tools->addStretch();
  row->addWidget(Panel1);

  auto* column = new QVBoxLayout();
  column->setSpacing(0);
  Panel9 = new QLabel(kRulerText, central);
  Panel9->setObjectName(QStringLiteral("Panel9"));
  Panel9->setFixedHeight(17);
  Panel9->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The ruler's text is longer than the window is wide: it is cut, never widens it.
  Panel9->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  paintBackground(Panel9, fromStoredColour(kBuiltInRulerColour));
  column->addWidget(Panel9);

  editeur = new DocumentEditor(m_scratch.path() / "annulations", central);
  Panel9->setFont(DocumentEditor::editorFont());
  column->addWidget(editeur, 1);

  Panel2 = new QWidget(central);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  auto* block = new QHBoxLayout(Panel2);
  block->setContentsMargins(0, 0, 0, 0);
  ToolBar3 = new QToolBar(Panel2);
  ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
  ToolBar3->setIconSize(QSize(18, 18));
  block->addWidget(ToolBar3, 1);
  auto* Panel4 = new QWidget(Panel2);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  auto* labels = new QVBoxLayout(Panel4);
  labels->setContentsMargins(2, 0, 2, 0);
  labels->setSpacing(0);
  Label1 = new QLabel(Panel4);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2 = new QLabel(Panel4);
  Label2->setObjectName(QStringLiteral("Label2"));
  for (QLabel* label : {Label1, Label2}) {
    label->setStyleSheet(QStringLiteral("color: blue; font-size: 8pt"));
    labels->addWidget(label);
  }
  block->addWidget(Panel4);
  Panel2->hide();
  column->addWidget(Panel2);
  row->addLayout(column, 1);
  setCentralWidget(central);

  StatusBar2 = new TZilStatusBar({150, 150, 75, 100, 110, 0}, this);
  StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
  setStatusBar(StatusBar2);
  StatusBar2->setPanelText(2, QStringLiteral("Non modifié"));
  StatusBar2->setPanelText(3, QStringLiteral("lg:      col:      "));
  StatusBar2->setPanelText(4, QStringLiteral("Orvex ") + QString::fromLatin1(kVersion));
  ProgressBar1 = new QProgressBar();
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  StatusBar2->placeOverPanel(ProgressBar1, 1);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  editeur->textArea()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editeur->textArea(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->exec(editeur->textArea()->mapToGlobal(at)); });
}

void TForm1::buildCommands() {
  auto makeAction = [this](const char* name, const QString& text, Handler handler, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    // Every command gives the keyboard back to the editor, after its dialogs too.
    connect(action, &QAction::triggered, this, [this, handler] {
      (this->*handler)();
      editeur->setFocus();
    });
    return action;
  };
  auto fillMenu = [&](const std::vector<MenuEntry>& entries, std::vector<QMenu*> stack) {
    for (const MenuEntry& entry : entries) {
      if (entry.depth == 0) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(QString::fromLatin1(entry.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
        stack = {menu};
        continue;
      }
      stack.resize(static_cast<std::size_t>(entry.depth));
      QMenu* parent = stack.back();
      if (entry.flags & kSeparator) {
        parent->addSeparator();
      } else if (entry.flags & kSubmenu) {
        QMenu* submenu = parent->addMenu(commandIcon(entry.icon), QString::fromUtf8(entry.caption));
        submenu->setObjectName(QString::fromLatin1(entry.name));
        submenu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
        stack.push_back(submenu);
      } else {
        QAction* action = makeAction(entry.name, QString::fromUtf8(entry.caption), entry.handler, parent);
        action->setIcon(commandIcon(entry.icon));
        if (entry.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        action->setCheckable(entry.flags & kCheckable);
        action->setChecked(entry.flags & kChecked);
        if (entry.flags & kHidden)
          addAction(action);  // keeps its shortcut without showing in the menu
        else
          parent->addAction(action);
      }
    }
  };
  fillMenu(mainMenuEntries(), {});
  QList<QKeySequence> menuKeys;
  for (const MenuEntry& entry : mainMenuEntries())
    if (entry.shortcut) menuKeys << QKeySequence(QString::fromLatin1(entry.shortcut));
  editeur->releaseKeys(menuKeys);
  fillMenu(popupMenuEntries(), {PopupMenu1});

  auto fillBar = [&](QToolBar* bar, const std::vector<ButtonEntry>& buttons) {
    for (const ButtonEntry& button : buttons) {
      if (button.gapBefore) bar->addSeparator();
      QAction* action = makeAction(button.name, QString::fromUtf8(button.hint), button.handler, bar);
      action->setIcon(commandIcon(button.icon));
      action->setToolTip(QString::fromUtf8(button.hint));
      bar->addAction(action);
      bar->widgetForAction(action)->setObjectName(QString::fromLatin1(button.name));
    }
  };
  fillBar(ToolBar1, editBarButtons());
  fillBar(ToolBar2, toolsBarButtons());
  fillBar(ToolBar3, blockBarButtons());
}

void TForm1::applySettings(const SettingsRecord& record) {
  setWindowState(record.PleinEcran ? Qt::WindowMaximized : Qt::WindowNoState);
  applyLook(record);
  // Gradient menus are switched by the activation step.
  XPMenu1->Gradient = false;
}

void TForm1::applyLook(const SettingsRecord& record) {
  XPMenu1->Gradient = record.MenusDegrade;
  XPMenu1->FlatMenu = record.MenusPlats;
  editeur->setColours(fromStoredColour(record.CouleurEditeur), fromStoredColour(record.CouleurPolice));
  setBarVisible(ToolBar1, findChild<QAction*>(QStringLiteral("Barreddition1")), record.BarreEdition);
  setBarVisible(StatusBar2, findChild<QAction*>(QStringLiteral("Barredestatut1")), record.BarreStatut);
  setBarVisible(Panel1, findChild<QAction*>(QStringLiteral("Barredoutils1")), record.BarreOutils);
  setBarVisible(Panel9, findChild<QAction*>(QStringLiteral("Echelle1")), record.Echelle);
  setBarVisible(Panel2, findChild<QAction*>(QStringLiteral("OutilsBloc1")), record.BarreOutilsBloc);
  paintBackground(Panel9, fromStoredColour(record.CouleurEchelle));
  ForceCapitals = record.ForcerCapitale;
  editeur->setForceCapitals(ForceCapitals);
}

void TForm1::setBarVisible(QWidget* bar, QAction* item, bool visible) {
  bar->setVisible(visible);
  if (item) item->setChecked(visible);
}

// The application title always equals the caption, so the window title serves as
// both (error reports and print jobs use it).
void TForm1::setCaption(const QString& caption) { setWindowTitle(caption); }

void TForm1::reportError(const QString& message) {
  m_ui.showMessage(windowTitle(), QString::fromStdString(errorReportText(message.toStdString())), MessageIcon::Error);
}

bool TForm1::isModified() const { return editeur->isModified(); }

void TForm1::editeurChange() {
  StatusBar2->setPanelText(2, isModified() ? QStringLiteral("Modifié") : QStringLiteral("Non modifié"));
}

void TForm1::refreshFormatPanel() {
  const TextFormat& format = editeur->format();
  QString text = format.encoding == Encoding::Windows1252 ? QStringLiteral("Windows-1252")
                 : format.bom                             ? QStringLiteral("UTF-8 BOM")
                                                          : QStringLiteral("UTF-8");
  switch (format.lineBreak) {
    case LineBreak::Lf: text += QStringLiteral("  LF"); break;
    case LineBreak::CrLf: text += QStringLiteral("  CR LF"); break;
    case LineBreak::Cr: text += QStringLiteral("  CR"); break;
  }
  StatusBar2->setPanelText(5, text);
}

void TForm1::refreshLineCount() {
  StatusBar2->setPanelText(0, QStringLiteral("Nb lignes : %1").arg(editeur->lineCount()));
}

void TForm1::editeurSelectionChange() {
  const int line = editeur->selectionStartLine() + 1;
  const int column = editeur->selectionStartColumn() + 1;
  StatusBar2->setPanelText(3, QString::asprintf("lg: %3d col: %3d", line, column));
  QString count = QStringLiteral("Nb lignes : %1").arg(editeur->lineCount());
  if (const qint64 selected = editeur->selectionLength(); selected > 0)
    count += QStringLiteral("  Select : %1").arg(selected);
  StatusBar2->setPanelText(0, count);
  StatusBar2->setToolTip(count);
}

void TForm1::editeurKeyDown() {
  refreshLineCount();
  editeurChange();
}

void TForm1::Annuler1Click() { stepHistory(&DocumentEditor::undo); }

void TForm1::Rtablir1Click() { stepHistory(&DocumentEditor::redo); }

void TForm1::stepHistory(bool (DocumentEditor::*step)()) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool complete = (editeur->*step)();
  QApplication::restoreOverrideCursor();
  editeurChange();
  editeurSelectionChange();
  if (!complete)
    m_ui.showMessage(windowTitle(), QStringLiteral("Les modifications plus anciennes ne peuvent plus être annulées."),
                     MessageIcon::Information);
}

void TForm1::Copier1Click() { editeur->copy(); }

void TForm1::Couper1Click() {
  editeur->cut();
  editeurChange();
}

void TForm1::Coller1Click() {
  editeur->paste();
  editeurChange();
}

void TForm1::Toutselectionner1Click() { editeur->selectAll(); }

void TForm1::toggleBar(const char* itemName, QWidget* bar) {
  auto* item = findChild<QAction*>(QString::fromLatin1(itemName));
  setBarVisible(bar, item, item->isChecked());
}

void TForm1::Barreddition1Click() { toggleBar("Barreddition1", ToolBar1); }
void TForm1::Barredestatut1Click() { toggleBar("Barredestatut1", StatusBar2); }
void TForm1::Barredoutils1Click() { toggleBar("Barredoutils1", Panel1); }
void TForm1::Echelle1Click() { toggleBar("Echelle1", Panel9); }
void TForm1::OutilsBloc1Click() { toggleBar("OutilsBloc1", Panel2); }

void TForm1::Apropos1Click() {
  if (m_about) m_ui.runModal(*m_about);
}

}  // namespace orvex::gui
