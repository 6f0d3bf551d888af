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

class TZilDegrade;
class UiServices;

// The splash "Accueil": borderless, on top, painted at once.
class TForm6 : public QWidget {
  Q_OBJECT

 public:
  // `show` is the settings' EcranBienvenue (true without config.dat).
  explicit TForm6(bool show, QWidget* parent = nullptr);
  bool wantsToShow() const { return m_wantsToShow; }
  TZilDegrade* panel() const { return m_panel; }
  // Shows the splash and paints it at once, before the event loop runs: it waits
  // (a second at most) for the window system to put the window on screen, since a
  // window is drawn only once it is there.
  void showPainted();

 private:
  bool m_wantsToShow;
  TZilDegrade* m_panel;
};

// The tips dialog "Astuces": one tip at a time, and the start-up check box.
class TForm7 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm7(QWidget* parent = nullptr);

  static const QStringList& tips();
  int tipIndex() const { return m_index; }
  QString shownTip() const;
  bool showAtStart() const;

  void nextTip();
  void previousTip();

 private:
  void showTip();

  int m_index = 0;
  QLabel* m_text;
  QToolButton* m_previous;
  QToolButton* m_next;
  QCheckBox* m_showAtStart;
};

// The about box "A propos...".
class TForm3 : public QDialog {
  Q_OBJECT

 public:
  TForm3(UiServices& ui, QWidget* parent = nullptr);
  TZilDegrade* panel() const { return m_panel; }
  void openWebPage();

 private:
  UiServices& m_ui;
  TZilDegrade* m_panel;
};

inline const QString kWebPageAddress = QStringLiteral("https://orvex.velmora.fr");

}  // namespace orvex::gui
