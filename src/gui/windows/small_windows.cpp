#include "windows/small_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

#include "components/background.h"
#include "components/gradient_panel.h"
#include "services/ui_services.h"
#include "version.h"
#include "windows/app_icon.h"

namespace orvex::gui {

namespace {

QLabel* placeLabel(QWidget* parent, const QString& text, int x, int y, const QColor& colour, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->setStyleSheet(QStringLiteral("color: %1; background: transparent").arg(colour.name()));
  label->adjustSize();
  // A font wider than the window was drawn for moves the label left rather than
  // cut it.
  label->move(std::max(0, std::min(x, parent->width() - label->width() - 2)), y);
  return label;
}

QFont timesFont(int pixelSize, bool bold, bool italic) {
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QFont smallFont(bool bold) {
  QFont font = QApplication::font();
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

QLabel* placeIcon(QWidget* parent, int x, int y) {
  auto* icon = new QLabel(parent);
  icon->setPixmap(orvexIcon().pixmap(32, 32));
  icon->setStyleSheet(QStringLiteral("background: transparent"));
  icon->setGeometry(x, y, 32, 32);
  return icon;
}

}  // namespace

SplashWindow::SplashWindow(bool show, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_wantsToShow(show),
      m_panel(new GradientPanel(this)) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Accueil"));
  setFixedSize(230, 179);
  m_panel->setGeometry(rect());
  m_panel->setStartColour(QColor(0, 255, 255));
  m_panel->setDirection(GradientDirection::Vertical);
  placeIcon(m_panel, 16, 48);
  placeLabel(m_panel, QStringLiteral("Orvex"), 52, 48, QColor(0, 128, 128), timesFont(29, true, false));
  placeLabel(m_panel, QStringLiteral("Orvex"), 54, 46, QColor(0, 255, 0), timesFont(29, true, false));
  placeLabel(m_panel, QStringLiteral("v ") + QString::fromLatin1(kVersion), 184, 72, Qt::red, smallFont(true));
  placeLabel(m_panel, QStringLiteral("Éditeur de textes"), 48, 96, QColor(192, 192, 192), smallFont(false));
  placeLabel(m_panel, QStringLiteral("Logiciel libre, fait par Velmora"), 21, 120, QColor(192, 192, 192),
             smallFont(false));
  placeLabel(m_panel, QStringLiteral("Chargement en cours"), 30, 152, Qt::white, timesFont(19, true, true));
}

void SplashWindow::showPainted() {
  show();
  QElapsedTimer waited;
  waited.start();
  while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 1000)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

const QStringList& TipsWindow::tips() {
  static const QStringList list = {
      QStringLiteral("Orvex est un éditeur de fichiers textes simple et puissant."),
      QStringLiteral("Il peut s'intégrer au gestionnaire de fichiers en ajoutant au menu contextuel la "
                     "commande \"Ourvir avec Orvex\".\n\rVous pouvez ainsi ouvrir n'importe quel type de fichier."),
      QStringLiteral("Orvex dispose d'un panel d'outils standard très pratique pour modifier vos fichiers textes."),
      QStringLiteral("Vous pouvez également ajouter dans le menu de Orvex, des liens vers d'autres applications."),
      QStringLiteral("Vous pouvez sélectionner un bloc dans un fichier puis le coller ailleurs dans le fichier ou "
                     "dans un autre fichier."),
      QStringLiteral("Vous avez la possibilité de concaténer, trier, remplir (avec incrémentation ou non), supprimer "
                     "les doublons et bien d'autres fonctionnalités à découvrir."),
      QStringLiteral("La sécurité n'est pas en reste puisque Orvex intègre une fonction de cryptage/décryptage des "
                     "fichiers textes."),
      QStringLiteral("L'interface claire et intuitive, permet de disposer des outils à tout moment : par le menu, par "
                     "les boutons de raccourcis, par clic droit ou bien encore par des raccourcis claviers."),
      QStringLiteral("Le mode Batch vous permet d'utiliser des fonctionnalités de Orvex dans un traitement de masse "
                     "(exemple dans un script shell)."),
  };
  return list;
}

TipsWindow::TipsWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("Astuces"));
  setFixedSize(339, 204);

  auto* side = new QFrame(this);
  side->setGeometry(8, 8, 81, 161);
  paintBackground(side, QColor(128, 128, 128));
  placeIcon(side, 24, 16);

  auto* heading = new QLabel(QStringLiteral("Le saviez vous ?"), this);
  heading->setFont(timesFont(19, true, false));
  heading->setGeometry(97, 8, 233, 24);

  m_text = new QLabel(this);
  m_text->setObjectName(QStringLiteral("TipText"));
  m_text->setGeometry(97, 36, 233, 121);
  m_text->setWordWrap(true);
  m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_text->setStyleSheet(QStringLiteral("color: navy; background: white; padding: 4px"));

  addArrows();

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, 172, 323, 2);

  m_showAtStart = new QCheckBox(QStringLiteral("Afficher la fenêtre des astuces au démarrage"), this);
  m_showAtStart->setObjectName(QStringLiteral("CheckBox1"));
  m_showAtStart->setChecked(true);
  m_showAtStart->setFont(smallFont(false));
  m_showAtStart->adjustSize();
  m_showAtStart->move(8, 178);

  // The check box keeps its whole text: a wider font widens the window.
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setDefault(true);
  const int okLeft = std::max(274, m_showAtStart->geometry().right() + 6);
  ok->setGeometry(okLeft, 177, 57, 24);
  setFixedSize(okLeft + 57 + 8, 204);
  const int widened = width() - 339;
  m_text->resize(m_text->width() + widened, m_text->height());
  m_previous->move(m_previous->x() + widened, m_previous->y());
  m_next->move(m_next->x() + widened, m_next->y());
  line->resize(line->width() + widened, line->height());
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  showTip();
}

void TipsWindow::addArrows() {
  m_previous = new QToolButton(this);
  m_previous->setObjectName(QStringLiteral("AstucePrecedente"));
  m_previous->setArrowType(Qt::LeftArrow);
  m_previous->setToolTip(QStringLiteral("Astuce précédente"));
  m_previous->setGeometry(288, 138, 18, 18);
  m_previous->setEnabled(false);
  m_next = new QToolButton(this);
  m_next->setObjectName(QStringLiteral("AstuceSuivante"));
  m_next->setArrowType(Qt::RightArrow);
  m_next->setToolTip(QStringLiteral("Astuce suivante"));
  m_next->setGeometry(308, 138, 18, 18);
  connect(m_previous, &QToolButton::clicked, this, &TipsWindow::previousTip);
  connect(m_next, &QToolButton::clicked, this, &TipsWindow::nextTip);
}

QString TipsWindow::shownTip() const { return m_text->text(); }
bool TipsWindow::showAtStart() const { return m_showAtStart->isChecked(); }

void TipsWindow::showTip() { m_text->setText(displayText(tips().at(m_index))); }

void TipsWindow::nextTip() {
  if (m_index < tips().size() - 1) ++m_index;
  if (m_index == tips().size() - 1) m_next->setEnabled(false);
  m_previous->setEnabled(true);
  showTip();
}

void TipsWindow::previousTip() {
  if (m_index > 0) --m_index;
  if (m_index == 0) m_previous->setEnabled(false);
  m_next->setEnabled(true);
  showTip();
}

AboutBox::AboutBox(UiServices& ui, QWidget* parent) : QDialog(parent), m_ui(ui), m_panel(new GradientPanel(this)) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("A propos..."));
  setFixedSize(241, 105);
  m_panel->setGeometry(rect());
  m_panel->setStartColour(QColor(0, 0, 128));
  m_panel->setEndColour(Qt::black);
  placeIcon(m_panel, 0, 0);
  placeLabel(m_panel, QStringLiteral("Orvex "), 47, 1, Qt::white, timesFont(37, true, true));
  placeLabel(m_panel, QStringLiteral("Orvex "), 48, 0, QColor(0, 128, 128), timesFont(37, true, true));
  placeLabel(m_panel, QStringLiteral("Version ") + QString::fromLatin1(kVersion), 176, 32, Qt::red, smallFont(true));
  QLabel* address = placeLabel(m_panel, kWebPageAddress, 38, 48, QColor(0, 255, 255), smallFont(false));
  address->setObjectName(QStringLiteral("WebPageLabel"));
  address->setCursor(Qt::PointingHandCursor);
  placeLabel(m_panel, QStringLiteral("Velmora"), 176, 64, Qt::white, smallFont(false));
  auto* ok = new QPushButton(QStringLiteral("&Ok"), m_panel);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setDefault(true);
  ok->setGeometry(83, 68, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(address, &QLabel::linkActivated, this, &AboutBox::openWebPage);
  address->setText(QStringLiteral("<a href=\"%1\" style=\"color: aqua\">%1</a>").arg(kWebPageAddress));
  address->adjustSize();
}

void AboutBox::openWebPage() { m_ui.openWithDesktop(kWebPageAddress); }

}  // namespace orvex::gui
