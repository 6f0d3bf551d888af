#pragma once
// The splash window shown while the program starts, the tips dialog and the about
// box.

#include <QDialog>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QToolButton;

namespace orvex::gui {

class GradientPanel;
class UiServices;

// The splash "Accueil": borderless, on top, painted at once.
class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  // `show` is the settings' EcranBienvenue (true without config.dat).
  explicit SplashWindow(bool show, QWidget* parent = nullptr);
  bool wantsToShow() const { return m_wantsToShow; }
  GradientPanel* panel() const { return m_panel; }
  // Shows the splash and paints it at once, before the event loop runs: it waits
  // (a second at most) for the window system to put the window on screen, since a
  // window is drawn only once it is there.
  void showPainted();

 private:
  bool m_wantsToShow;
  GradientPanel* m_panel;
};

// The tips dialog "Astuces": one tip at a time, and the start-up check box.
class TipsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TipsWindow(QWidget* parent = nullptr);

  static const QStringList& tips();
  int tipIndex() const { return m_index; }
  QString shownTip() const;
  bool showAtStart() const;

  void nextTip();
  void previousTip();

 private:
  void showTip();
  void addArrows();

  int m_index = 0;
  QLabel* m_text;
  QToolButton* m_previous;
  QToolButton* m_next;
  QCheckBox* m_showAtStart;
};

// The about box "A propos...".
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  AboutBox(UiServices& ui, QWidget* parent = nullptr);
  GradientPanel* panel() const { return m_panel; }
  void openWebPage();

 private:
  UiServices& m_ui;
  GradientPanel* m_panel;
};

inline const QString kWebPageAddress = QStringLiteral("https://orvex.velmora.fr");

}  // namespace orvex::gui
