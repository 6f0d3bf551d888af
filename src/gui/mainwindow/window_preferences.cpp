#include "mainwindow/window_preferences.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

#include "editor/document_editor.h"
#include "services/ui_services.h"
#include "settings/preferences.h"

namespace orvex::gui {

namespace {

const std::string kLineNumbers = "Affichage/NumerosDeLigne";
const std::string kWordWrap = "Affichage/RetourALaLigne";
const std::string kFontFamily = "Affichage/Police";
const std::string kFontSize = "Affichage/TaillePolice";
const std::string kZoom = "Affichage/Zoom";
const std::string kLeft = "Fenetre/X";
const std::string kTop = "Fenetre/Y";
const std::string kWidth = "Fenetre/Largeur";
const std::string kHeight = "Fenetre/Hauteur";
const std::string kMaximised = "Fenetre/Agrandie";
// The control's own limits for its zoom, in points.
constexpr int kZoomOut = -10;
constexpr int kZoomIn = 20;

}  // namespace

WindowPreferences::WindowPreferences(Preferences& store, UiServices& ui, DocumentEditor& editor, QMainWindow& window)
    : QObject(&window), m_store(store), m_ui(ui), m_editor(editor), m_window(window) {}

void WindowPreferences::apply(bool maximisedStart) {
  const bool lineNumbers = m_store.flag(kLineNumbers, false);
  const bool wrap = m_store.flag(kWordWrap, false);
  m_editor.setLineNumbersShown(lineNumbers);
  m_editor.setWordWrap(wrap);
  check("NumerosDeLigne1", lineNumbers);
  check("RetourALaLigne1", wrap);
  const std::optional<std::string> family = m_store.text(kFontFamily);
  const double size = m_store.decimal(kFontSize, 0);
  if (family && !family->empty() && size >= 1 && size <= 400) {
    QFont font = DocumentEditor::editorFont();
    font.setFamily(QString::fromStdString(*family));
    font.setPointSizeF(size);
    m_editor.setTextFont(font);
  }
  m_editor.setZoom(std::clamp(m_store.number(kZoom, 0), kZoomOut, kZoomIn));
  // Connected once the stored zoom is in: only the user's zooming is written.
  connect(&m_editor, &DocumentEditor::zoomChanged, this,
          [this] { m_store.storeNumber(kZoom, static_cast<double>(m_editor.zoom())); });
  restorePlace(maximisedStart);
}

void WindowPreferences::restorePlace(bool maximisedStart) {
  const QRect stored(m_store.number(kLeft, 0), m_store.number(kTop, 0), m_store.number(kWidth, 0),
                     m_store.number(kHeight, 0));
  // A place on a screen that is gone since (or a size larger than the screen) is
  // not kept: the window then starts as it always has.
  const QScreen* screen = stored.isValid() ? QGuiApplication::screenAt(stored.center()) : nullptr;
  if (screen && screen->availableGeometry().size().expandedTo(stored.size()) == screen->availableGeometry().size()) {
    m_window.setGeometry(stored);
    m_placeRestored = true;
  }
  if (maximisedStart || m_store.flag(kMaximised, false)) {
    m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
    m_placeRestored = true;
  }
}

void WindowPreferences::storePlace() {
  const bool maximised = m_window.isMaximized();
  // A maximised window keeps the place it comes back to.
  const QRect place = maximised || m_window.isMinimized() ? m_window.normalGeometry() : m_window.geometry();
  Preferences::Changes changes{{kMaximised, Preferences::flagValue(maximised)}};
  if (place.isValid()) {
    changes.insert(changes.end(), {{kLeft, Preferences::numberValue(place.x())},
                                   {kTop, Preferences::numberValue(place.y())},
                                   {kWidth, Preferences::numberValue(place.width())},
                                   {kHeight, Preferences::numberValue(place.height())}});
  }
  m_store.store(changes);
}

void WindowPreferences::showLineNumbers(bool shown) {
  m_editor.setLineNumbersShown(shown);
  m_store.storeFlag(kLineNumbers, shown);
}

void WindowPreferences::wrapWords(bool wrap) {
  m_editor.setWordWrap(wrap);
  m_store.storeFlag(kWordWrap, wrap);
}

void WindowPreferences::chooseFont() {
  const std::optional<QFont> chosen = m_ui.chooseFont(m_editor.textFont());
  if (!chosen) return;
  m_editor.setTextFont(*chosen);
  m_store.store({{kFontFamily, Preferences::textValue(chosen->family().toStdString())},
                 {kFontSize, Preferences::numberValue(chosen->pointSizeF())}});
}

void WindowPreferences::check(const char* itemName, bool checked) {
  if (auto* item = m_window.findChild<QAction*>(QString::fromLatin1(itemName))) item->setChecked(checked);
}

}  // namespace orvex::gui
