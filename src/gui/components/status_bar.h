#pragma once
// A status bar of text panels that can also hold controls of its own over a panel
// (the progress bar of the text tools sits over panel 1). Each panel is as wide as
// its text needs with the current font, never narrower than its given width; the
// last panel takes what room is left and is the one that yields in a narrow window:
// it hides when its text does not fit.

#include <QStatusBar>
#include <QVector>

class QLabel;

namespace orvex::gui {

class StatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusBar(const QVector<int>& panelWidths, QWidget* parent = nullptr);

  int panelCount() const { return m_panels.size(); }
  QLabel* panel(int index) const { return m_panels.at(index); }
  QString panelText(int index) const;
  void setPanelText(int index, const QString& text);
  // Makes `control` a child of the panel, covering it.
  void placeOverPanel(QWidget* control, int index);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int neededWidth(int index) const;
  void layOutPanels();

  QVector<QLabel*> m_panels;
  QVector<int> m_minimumWidths;
};

}  // namespace orvex::gui
