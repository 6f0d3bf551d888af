#include "mainwindow/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "components/background.h"
#include "components/busy_cursor.h"
#include "components/status_bar.h"
#include "components/stored_colour.h"
#include "components/styled_menu_style.h"
#include "config/configuration_dialog.h"
#include "editor/document_editor.h"
#include "mainwindow/block_commands.h"
#include "mainwindow/command_actions.h"
#include "mainwindow/command_context.h"
#include "mainwindow/disk_change_check.h"
#include "mainwindow/document_session.h"
#include "mainwindow/document_status.h"
#include "mainwindow/line_commands.h"
#include "mainwindow/progress_bar_listener.h"
#include "mainwindow/recent_files_menu.h"
#include "mainwindow/search_commands.h"
#include "mainwindow/tool_commands.h"
#include "mainwindow/user_tool_menus.h"
#include "mainwindow/window_commands.h"
#include "mainwindow/window_preferences.h"
#include "paths/file_names.h"
#include "recovery/recovery_journal.h"
#include "services/ui_services.h"
#include "settings/preferences.h"
#include "text/messages.h"
#include "version.h"
#include "windows/fill_dialog.h"

namespace orvex::gui {

namespace {

// The journal that keeps the document's unsaved text, told of every change.
void createJournal(CommandContext& context, const ProgramPaths& paths, DocumentSession& session, ToolCommands& tools,
                   QObject& window) {
  DocumentEditor& editor = context.editor();
  const auto describe = [&session, &editor] {
    return JournalRecord{session.path().native(), session.fileIdentity(), editor.format(), editor.shownEncoding()};
  };
  auto* journal = new RecoveryJournal(
      editor, paths.directory(), describe, [&context](const std::string& error) { context.reportError(error); },
      &window);
  // Past any text: a change of the name or format sends no writing back.
  const auto changed = [journal] { journal->documentChanged(std::numeric_limits<qint64>::max()); };
  QObject::connect(&editor, &DocumentEditor::textChangesFrom, journal, &RecoveryJournal::documentChanged);
  QObject::connect(&editor, &DocumentEditor::modifiedChanged, journal, changed);
  QObject::connect(&editor, &DocumentEditor::formatChanged, journal, changed);
  QObject::connect(&session, &DocumentSession::pathChanged, journal, changed);
  QObject::connect(&session, &DocumentSession::documentReplaced, journal, changed);
  QObject::connect(&tools, &ToolCommands::aboutToRun, journal, &RecoveryJournal::flushNow);
  QObject::connect(&session, &DocumentSession::loadStarting, journal, &RecoveryJournal::loadStarting);
  QObject::connect(&session, &DocumentSession::loadFinished, journal, &RecoveryJournal::loadFinished);
}

void setBarVisible(QWidget* bar, QAction* item, bool visible) {
  bar->setVisible(visible);
  if (item) item->setChecked(visible);
}

const QString kRulerText = QStringLiteral(
    "1...5....1....5....2....5....3....5....4....5....5....5....6....5....7....5....8....5....9....5....1");
constexpr std::uint32_t kBuiltInRulerColour = 0x00BBFFFF;
const QString kUnreadablePreferences =
    QStringLiteral("Le fichier de préférences %1 est illisible ; les préférences ne seront pas enregistrées.");
const QString kBecameUtf8 = QStringLiteral(
    "Le document contient désormais des caractères que Windows-1252 ne peut pas représenter.\n\r"
    "Il sera enregistré en UTF-8.");

}  // namespace

MainWindow::MainWindow(UiServices& ui, ProgramPaths paths, const ScratchDirectory& scratch,
                       std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_paths(std::move(paths)), m_scratch(scratch), m_arguments(std::move(arguments)) {
  setObjectName(QStringLiteral("Form1"));
  resize(600, 480);
  setWindowTitle(QStringLiteral("Orvex"));
  buildLayout();
  buildCommands();
  m_menuStyle = new StyledMenuStyle(this);
  m_progress = std::make_unique<ProgressBarListener>(m_progressBar);
  createCollaborators();

  connect(m_editor, &DocumentEditor::fileDropped, this, [this](const std::filesystem::path& path) {
    if (!m_session->settleUnsavedChanges()) return;
    m_session->open(path);
    m_editor->setFocus();
  });
  // The ruler follows the text's font, zoom and margin, so that its columns stay
  // over the text's.
  connect(m_editor, &DocumentEditor::zoomChanged, this, &MainWindow::refreshRuler);
  connect(m_editor, &DocumentEditor::fontChanged, this, &MainWindow::refreshRuler);
  connect(m_editor, &DocumentEditor::marginWidthChanged, this, &MainWindow::refreshRuler);
  connect(m_editor, &DocumentEditor::becameUtf8, this,
          [this] { m_ui.showMessage(QStringLiteral("Information"), kBecameUtf8, MessageIcon::Information); });

  // Creation step: the built-in state, then config.dat when there is one.
  const SettingsReadResult settings = readSettings(m_paths.configFile());
  if (!settings.error.empty())
    m_context->reportError(settings.error);
  else if (settings.record)
    applySettings(*settings.record);
  // Then what orvex.conf keeps beyond config.dat; the maximised start of the
  // configuration wins over the stored state.
  m_windowPreferences->apply(settings.record && settings.record->PleinEcran);
  m_status->refreshAll();
}

void MainWindow::createCollaborators() {
  m_context = std::make_unique<CommandContext>(m_ui, *m_editor, *this);
  m_status = new DocumentStatus(*m_editor, *m_statusBar, this);
  // The preferences file is read before the collaborators that use it are made.
  m_preferences = std::make_unique<Preferences>(m_paths.preferencesFile());
  m_preferences->setUnreadableHandler([this] {
    m_ui.showMessage(windowTitle(),
                     kUnreadablePreferences.arg(QString::fromStdString(shownName(m_paths.preferencesFile().native()))),
                     MessageIcon::Warning);
  });
  m_preferences->reload();
  m_session = new DocumentSession(*m_context, this);
  const auto fill = [this]() -> FillDialog& { return *fillDialog(); };
  m_tools = new ToolCommands(*m_context, m_scratch, *m_progress, fill, *m_session, this);
  m_blocks = new BlockCommands(
      *m_context, m_paths, m_scratch, *m_progress, *m_tools, fill, *m_session, *m_blockStartLabel, *m_blockEndLabel,
      [this] { setBarVisible(m_blockPanel, findChild<QAction*>(QStringLiteral("OutilsBloc1")), true); }, this);
  m_search = new SearchCommands(*m_context, *m_tools, *this);
  m_lines = std::make_unique<LineCommands>(*m_context, *m_session);
  m_userTools = std::make_unique<UserToolMenus>(*m_context, m_paths, *m_session, *this, m_scratch.path());
  m_commands = std::make_unique<WindowCommands>(*this);
  m_windowPreferences = new WindowPreferences(*m_preferences, m_ui, *m_editor, *this);
  new RecentFilesMenu(*m_context, *m_preferences, *m_session, *findChild<QMenu*>(QStringLiteral("FichiersRecents1")),
                      this);
  m_diskChanges = std::make_unique<DiskChangeCheck>(*m_context, *m_session, *this);
  // The application title always equals the caption, so the window title serves as
  // both (error reports and print jobs use it).
  connect(m_session, &DocumentSession::pathChanged, this, [this] { setWindowTitle(m_session->caption()); });
  connect(m_session, &DocumentSession::documentReplaced, this, [this] {
    m_status->refreshLineCount();
    m_status->refreshModified();
  });
  connect(m_session, &DocumentSession::notice, this, [this](const QString& text) {
    m_statusBar->setPanelText(0, text);
    m_statusBar->repaint();
  });
  connect(m_tools, &ToolCommands::lineCountChanged, m_status, &DocumentStatus::refreshLineCount);
  if (m_paths.available()) createJournal(*m_context, m_paths, *m_session, *m_tools, *this);
}

std::string MainWindow::recoverDocument(int fd, std::uint64_t length, const JournalRecord& record) {
  std::string error = m_session->recover(fd, length, record);
  m_status->refreshLineCount();
  m_status->refreshCaret();
  m_status->refreshModified();
  return error;
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout() {
  m_editBar = addToolBar(QStringLiteral("Barre d'édition"));
  m_editBar->setObjectName(QStringLiteral("ToolBar1"));
  m_editBar->setMovable(false);
  m_editBar->setIconSize(QSize(16, 16));

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  m_toolsPanel = new QWidget(central);
  m_toolsPanel->setObjectName(QStringLiteral("Panel1"));
  m_toolsPanel->setFixedWidth(25);
  auto* tools = new QVBoxLayout(m_toolsPanel);
  tools->setContentsMargins(0, 0, 0, 0);
  tools->setSpacing(0);
  tools->addSpacing(17);
  m_toolsBar = new QToolBar(m_toolsPanel);
  m_toolsBar->setObjectName(QStringLiteral("ToolBar2"));
  m_toolsBar->setOrientation(Qt::Vertical);
  m_toolsBar->setIconSize(QSize(16, 16));
  tools->addWidget(m_toolsBar);
  tools->addStretch();
  row->addWidget(m_toolsPanel);

  auto* column = new QVBoxLayout();
  column->setSpacing(0);
  m_ruler = new QLabel(kRulerText, central);
  m_ruler->setObjectName(QStringLiteral("Panel9"));
  m_ruler->setFixedHeight(17);
  m_ruler->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The ruler's text is longer than the window is wide: it is cut, never widens it.
  m_ruler->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  paintBackground(m_ruler, fromStoredColour(kBuiltInRulerColour));
  column->addWidget(m_ruler);

  m_editor = new DocumentEditor(m_scratch.path() / "annulations", central);
  m_ruler->setFont(DocumentEditor::editorFont());
  column->addWidget(m_editor, 1);

  m_blockPanel = buildBlockPanel(central);
  column->addWidget(m_blockPanel);
  row->addLayout(column, 1);
  setCentralWidget(central);
  buildStatusBar();
  buildPopupMenu();
}

QWidget* MainWindow::buildBlockPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QStringLiteral("Panel2"));
  auto* block = new QHBoxLayout(panel);
  block->setContentsMargins(0, 0, 0, 0);
  m_blockBar = new QToolBar(panel);
  m_blockBar->setObjectName(QStringLiteral("ToolBar3"));
  m_blockBar->setIconSize(QSize(18, 18));
  block->addWidget(m_blockBar, 1);
  auto* Panel4 = new QWidget(panel);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  auto* labels = new QVBoxLayout(Panel4);
  labels->setContentsMargins(2, 0, 2, 0);
  labels->setSpacing(0);
  m_blockStartLabel = new QLabel(Panel4);
  m_blockStartLabel->setObjectName(QStringLiteral("Label1"));
  m_blockEndLabel = new QLabel(Panel4);
  m_blockEndLabel->setObjectName(QStringLiteral("Label2"));
  for (QLabel* label : {m_blockStartLabel, m_blockEndLabel}) {
    label->setStyleSheet(QStringLiteral("color: blue; font-size: 8pt"));
    labels->addWidget(label);
  }
  block->addWidget(Panel4);
  panel->hide();
  return panel;
}

void MainWindow::buildStatusBar() {
  m_statusBar = new StatusBar({150, 150, 75, 100, 110, 0}, this);
  m_statusBar->setObjectName(QStringLiteral("StatusBar2"));
  setStatusBar(m_statusBar);
  m_statusBar->setPanelText(2, QStringLiteral("Non modifié"));
  m_statusBar->setPanelText(3, QStringLiteral("lg:      col:      "));
  m_statusBar->setPanelText(4, QStringLiteral("Orvex ") + QString::fromLatin1(kVersion));
  m_progressBar = new QProgressBar();
  m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
  m_progressBar->setRange(0, 100);
  m_progressBar->setValue(0);
  m_progressBar->setTextVisible(false);
  m_statusBar->placeOverPanel(m_progressBar, 1);
}

void MainWindow::buildPopupMenu() {
  m_popupMenu = new QMenu(this);
  m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
  m_editor->textArea()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_editor->textArea(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { m_popupMenu->exec(m_editor->textArea()->mapToGlobal(at)); });
}

void MainWindow::buildCommands() {
  // Every command gives the keyboard back to the editor, after its dialogs too.
  const RunCommand run = [this](Handler handler) {
    (m_commands.get()->*handler)();
    m_editor->setFocus();
  };
  addMainMenu(this, run);
  m_editor->releaseKeys(mainMenuShortcuts());
  addMenuEntries(m_popupMenu, popupMenuEntries(), run);
  addButtons(m_editBar, editBarButtons(), run);
  addButtons(m_toolsBar, toolsBarButtons(), run);
  addButtons(m_blockBar, blockBarButtons(), run);
}

void MainWindow::applySettings(const SettingsRecord& record) {
  setWindowState(record.PleinEcran ? Qt::WindowMaximized : Qt::WindowNoState);
  applyLook(record);
  // Gradient menus are switched by the activation step.
  m_menuStyle->setGradient(false);
}

void MainWindow::applyLook(const SettingsRecord& record) {
  m_menuStyle->setGradient(record.MenusDegrade);
  m_menuStyle->setFlatMenu(record.MenusPlats);
  m_editor->setColours(fromStoredColour(record.CouleurEditeur), fromStoredColour(record.CouleurPolice));
  setBarVisible(m_editBar, findChild<QAction*>(QStringLiteral("Barreddition1")), record.BarreEdition);
  setBarVisible(m_statusBar, findChild<QAction*>(QStringLiteral("Barredestatut1")), record.BarreStatut);
  setBarVisible(m_toolsPanel, findChild<QAction*>(QStringLiteral("Barredoutils1")), record.BarreOutils);
  setBarVisible(m_ruler, findChild<QAction*>(QStringLiteral("Echelle1")), record.Echelle);
  setBarVisible(m_blockPanel, findChild<QAction*>(QStringLiteral("OutilsBloc1")), record.BarreOutilsBloc);
  paintBackground(m_ruler, fromStoredColour(record.CouleurEchelle));
  m_editor->setForceCapitals(record.ForcerCapitale);
}

bool MainWindow::isModified() const { return m_editor->isModified(); }

void MainWindow::stepHistory(bool (DocumentEditor::*step)()) {
  bool complete = false;
  {
    const BusyCursor busy;
    complete = (m_editor->*step)();
  }
  m_status->refreshModified();
  m_status->refreshCaret();
  if (!complete)
    m_ui.showMessage(windowTitle(), QStringLiteral("Les modifications plus anciennes ne peuvent plus être annulées."),
                     MessageIcon::Information);
}

void MainWindow::toggleBar(const char* itemName, QWidget* bar) {
  setBarVisible(bar, nullptr, findChild<QAction*>(QString::fromLatin1(itemName))->isChecked());
}

void MainWindow::refreshRuler() {
  m_ruler->setFont(m_editor->zoomedFont());
  m_ruler->setFixedHeight(std::max(17, QFontMetrics(m_ruler->font()).height() + 4));
  m_ruler->setContentsMargins(m_editor->marginWidth(), 0, 0, 0);
}

bool MainWindow::placeRestored() const { return m_windowPreferences->placeRestored(); }

const std::filesystem::path& MainWindow::documentPath() const { return m_session->path(); }
void MainWindow::setDocumentPath(std::filesystem::path path) { m_session->setPath(std::move(path)); }
bool MainWindow::loadDocument(const std::filesystem::path& path) { return m_session->load(path); }
const BlockAnchor& MainWindow::blockAnchor() const { return m_blocks->anchor(); }

QDialog* MainWindow::aboutBox() {
  if (!m_about && m_makeAbout) m_about = m_makeAbout();
  return m_about;
}

FillDialog* MainWindow::fillDialog() {
  if (!m_fillDialog) m_fillDialog = new FillDialog(this);
  return m_fillDialog;
}

ConfigurationDialog* MainWindow::configurationDialog() {
  if (!m_configurationDialog) m_configurationDialog = new ConfigurationDialog(m_ui, m_paths, this);
  return m_configurationDialog;
}

FindDialog* MainWindow::findDialog() const { return m_search->findDialog(); }
ReplaceDialog* MainWindow::replaceDialog() const { return m_search->replaceDialog(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_session->settleUnsavedChanges()) {
    event->ignore();
    return;
  }
  m_windowPreferences->storePlace();
  // A normal end: the text the journal kept was saved or given up.
  if (auto* journal = findChild<RecoveryJournal*>()) journal->end();
  event->accept();
}

}  // namespace orvex::gui
