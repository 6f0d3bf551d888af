#include "config/configuration_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <span>
#include <system_error>

#include "components/background.h"
#include "components/busy_cursor.h"
#include "components/stored_colour.h"
#include "io/file_handle.h"
#include "io/status.h"
#include "services/ui_services.h"
#include "text/messages.h"
#include "windows/small_windows.h"

namespace orvex::gui {

// A small framed rectangle in its colour; a click chooses another.
class ColourSwatch : public QFrame {
 public:
  ColourSwatch(const QColor& colour, std::function<void(ColourSwatch*)> onClick, QWidget* parent)
      : QFrame(parent), m_onClick(std::move(onClick)) {
    setFrameShape(QFrame::Box);
    setFixedSize(33, 17);
    setCursor(Qt::PointingHandCursor);
    setColour(colour);
  }
  QColor colour() const { return palette().color(QPalette::Window); }
  void setColour(const QColor& colour) { paintBackground(this, colour); }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) m_onClick(this);
  }

 private:
  std::function<void(ColourSwatch*)> m_onClick;
};

namespace {

// The product name as a shadowed logo: grey behind, teal in front.
class ShadowedLogo : public QWidget {
 public:
  explicit ShadowedLogo(QWidget* parent) : QWidget(parent) {
    m_font.setFamilies(
        {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"), QStringLiteral("serif")});
    m_font.setPixelSize(40);
    m_font.setBold(true);
    m_font.setItalic(true);
    const QFontMetrics metrics(m_font);
    setFixedSize(metrics.horizontalAdvance(kText) + 8, metrics.height() + 4);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(m_font);
    const int baseline = QFontMetrics(m_font).ascent();
    painter.setPen(Qt::gray);
    painter.drawText(4, baseline + 3, kText);
    painter.setPen(QColor(0, 128, 128));
    painter.drawText(0, baseline, kText);
  }

 private:
  inline static const QString kText = QStringLiteral("Orvex ");
  QFont m_font;
};

const QColor kLightYellow = fromStoredColour(0x00BBFFFF);

// The check boxes of the "Général" tab, each with its settings field.
struct FlagBox {
  const char* field;
  const char* text;
  bool SettingsRecord::*member;
};

const FlagBox kStartFlags[] = {
    {"EcranBienvenue", "Ecran de bienvenue", &SettingsRecord::EcranBienvenue},
    {"BoiteAstuces", "Boîte à astuces", &SettingsRecord::BoiteAstuces},
    {"PleinEcran", "Démarrage en plein écran", &SettingsRecord::PleinEcran},
    {"MenusDegrade", "Menus en dégradé", &SettingsRecord::MenusDegrade},
    {"MenusPlats", "Menus plats", &SettingsRecord::MenusPlats},
    {"ForcerCapitale", "Forcer en capitale", &SettingsRecord::ForcerCapitale},
};
const FlagBox kBarFlags[] = {
    {"BarreEdition", "Barre d'édition", &SettingsRecord::BarreEdition},
    {"BarreOutils", "Barre d'outils", &SettingsRecord::BarreOutils},
    {"BarreOutilsBloc", "Barre d'outils bloc", &SettingsRecord::BarreOutilsBloc},
    {"BarreStatut", "Barre de statut", &SettingsRecord::BarreStatut},
    {"Echelle", "Echelle", &SettingsRecord::Echelle},
};

}  // namespace

ConfigurationDialog::ConfigurationDialog(UiServices& ui, ProgramPaths paths, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_paths(std::move(paths)) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Configuration"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PageControl1"));
  m_pages->setDocumentMode(true);
  m_pages->addTab(buildGeneralPage(), QStringLiteral("Général"));
  m_pages->addTab(buildToolsPage(), QStringLiteral("Outils de l'utilisateur"));
  m_pages->addTab(createBatchHelpPage(this), QStringLiteral("Mode Batch"));
  column->addWidget(m_pages);

  auto* strip = new QHBoxLayout();
  strip->setContentsMargins(8, 8, 8, 8);
  strip->addStretch();
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("Ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
  cancel->setObjectName(QStringLiteral("Annuler"));
  strip->addWidget(ok);
  strip->addWidget(cancel);
  column->addLayout(strip);
  connect(ok, &QPushButton::clicked, this, &ConfigurationDialog::confirm);
  connect(cancel, &QPushButton::clicked, this, &ConfigurationDialog::cancel);

  // A fixed border, at least as large as the layout asks for with the system font.
  setFixedSize(sizeHint().expandedTo(QSize(479, 284)));
}

QWidget* ConfigurationDialog::buildGeneralPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet1"));
  auto* column = new QVBoxLayout(page);

  auto* groups = new QHBoxLayout();
  auto flagGroup = [&](const auto& flags) {
    auto* group = new QGroupBox(page);
    auto* boxes = new QVBoxLayout(group);
    for (const FlagBox& flag : flags) {
      auto* box = new QCheckBox(QString::fromUtf8(flag.text), group);
      box->setObjectName(QString::fromLatin1(flag.field));
      boxes->addWidget(box);
      m_flags[flag.field] = box;
    }
    boxes->addStretch();
    return group;
  };
  auto* left = new QVBoxLayout();
  left->addWidget(flagGroup(kStartFlags));
  auto* reset = new QPushButton(QStringLiteral("Défaut"), page);
  reset->setObjectName(QStringLiteral("Defaut"));
  connect(reset, &QPushButton::clicked, this, &ConfigurationDialog::restoreDefaults);
  left->addWidget(reset, 0, Qt::AlignLeft);
  groups->addLayout(left);
  groups->addWidget(flagGroup(kBarFlags), 0, Qt::AlignTop);

  auto* colours = buildColourBox(page);
  auto* right = new QVBoxLayout();
  right->addWidget(colours);
  right->addWidget(new ShadowedLogo(page), 0, Qt::AlignCenter);
  right->addStretch();
  groups->addLayout(right);
  column->addLayout(groups);

  column->addWidget(buildNotice(page));

  const SettingsRecord design;
  setControls(design);
  return page;
}

QGroupBox* ConfigurationDialog::buildColourBox(QWidget* page) {
  auto* colours = new QGroupBox(page);
  auto* swatches = new QGridLayout(colours);
  const auto choose = [this](ColourSwatch* swatch) { chooseSwatchColour(swatch); };
  auto swatchRow = [&](int row, const char* text, const char* name, std::uint32_t colour) {
    swatches->addWidget(new QLabel(QString::fromUtf8(text), colours), row, 0);
    auto* swatch = new ColourSwatch(fromStoredColour(colour), choose, colours);
    swatch->setObjectName(QString::fromLatin1(name));
    swatches->addWidget(swatch, row, 1);
    return swatch;
  };
  const SettingsRecord defaults;
  m_editorSwatch = swatchRow(0, "Couleur de l'éditeur :", "CouleurEditeur", defaults.CouleurEditeur);
  m_fontSwatch = swatchRow(1, "Couleur de la police :", "CouleurPolice", defaults.CouleurPolice);
  m_rulerSwatch = swatchRow(2, "Couleur de l'échelle :", "CouleurEchelle", defaults.CouleurEchelle);
  swatches->setRowStretch(3, 1);
  return colours;
}

QWidget* ConfigurationDialog::buildNotice(QWidget* page) {
  auto* notice = new QFrame(page);
  paintBackground(notice, kLightYellow);
  auto* noticeLines = new QVBoxLayout(notice);
  noticeLines->setContentsMargins(6, 3, 6, 3);
  noticeLines->setSpacing(1);
  auto* free = new QLabel(
      QStringLiteral("Orvex est un logiciel gratuit. Retrouvez ses nouvelles versions sur notre site :"), notice);
  free->setStyleSheet(QStringLiteral("color: red"));
  free->setWordWrap(true);
  auto* address = new QLabel(kWebPageAddress, notice);
  address->setObjectName(QStringLiteral("WebPageLabel"));
  address->setStyleSheet(QStringLiteral("color: blue; font-weight: bold; font-style: italic"));
  address->setCursor(Qt::PointingHandCursor);
  address->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  address->setText(
      QStringLiteral("<a href=\"%1\" style=\"color: blue; text-decoration: none\">%1</a>").arg(kWebPageAddress));
  connect(address, &QLabel::linkActivated, this, [this] { m_ui.openWithDesktop(kWebPageAddress); });
  noticeLines->addWidget(free);
  noticeLines->addWidget(address);
  return notice;
}

SettingsRecord ConfigurationDialog::controlsRecord() const {
  SettingsRecord record;
  for (const auto& flags : {std::span<const FlagBox>(kStartFlags), std::span<const FlagBox>(kBarFlags)})
    for (const FlagBox& flag : flags) record.*flag.member = m_flags.at(flag.field)->isChecked();
  record.CouleurEditeur = toStoredColour(m_editorSwatch->colour());
  record.CouleurPolice = toStoredColour(m_fontSwatch->colour());
  record.CouleurEchelle = toStoredColour(m_rulerSwatch->colour());
  return record;
}

void ConfigurationDialog::setControls(const SettingsRecord& record) {
  for (const auto& flags : {std::span<const FlagBox>(kStartFlags), std::span<const FlagBox>(kBarFlags)})
    for (const FlagBox& flag : flags) m_flags.at(flag.field)->setChecked(record.*flag.member);
  m_editorSwatch->setColour(fromStoredColour(record.CouleurEditeur));
  m_fontSwatch->setColour(fromStoredColour(record.CouleurPolice));
  m_rulerSwatch->setColour(fromStoredColour(record.CouleurEchelle));
}

void ConfigurationDialog::prepareToShow() {
  loadToolList();
  m_pages->setCurrentIndex(m_startPage);
  const SettingsReadResult settings = readSettings(m_paths.configFile());
  if (!settings.error.empty())
    reportError(settings.error);
  else if (settings.record)
    setControls(*settings.record);
}

void ConfigurationDialog::confirm() {
  if (m_startPage == 2) {
    accept();
    return;
  }
  m_confirmed = true;
  if (!saveToolList()) return;
  if (m_paths.available()) {
    Status status;
    {
      const BusyCursor busy;
      status = writeSettings(m_paths.configFile(), controlsRecord());
    }
    if (!status.ok()) reportError(status.error);
  }
  accept();
}

void ConfigurationDialog::cancel() { reject(); }

// Escape, the window's close button and "&Annuler" alike: nothing is applied.
void ConfigurationDialog::reject() {
  m_confirmed = false;
  QDialog::reject();
}

bool ConfigurationDialog::removeExistingFile(const std::filesystem::path& file) {
  if (!isExistingFile(file)) return false;
  std::error_code error;
  if (std::filesystem::remove(file, error)) return true;
  reportError(messageForErrno(error.value()));
  return false;
}

void ConfigurationDialog::restoreDefaults() {
  if (!removeExistingFile(m_paths.configFile())) return;
  m_ui.showMessage(QStringLiteral("Avertissement"),
                   QStringLiteral("Vous devez quitter puis redémarrer Orvex pour prendre en compte\n\r"
                                  "la remise à défaut de l'interface."),
                   MessageIcon::Information);
  done(QDialog::Accepted);
}

void ConfigurationDialog::chooseSwatchColour(ColourSwatch* swatch) {
  const std::optional<QColor> colour = m_ui.chooseColour(m_lastColour);
  if (!colour) return;
  m_lastColour = *colour;
  swatch->setColour(*colour);
}

void ConfigurationDialog::reportError(const std::string& message) {
  const QString caption = parentWidget() ? parentWidget()->windowTitle() : QStringLiteral("Orvex");
  m_ui.showMessage(caption, QString::fromStdString(errorReportText(message)), MessageIcon::Error);
}

}  // namespace orvex::gui
