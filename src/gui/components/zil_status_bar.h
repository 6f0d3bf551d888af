#pragma once
// A status bar of fixed-width text panels that can also hold controls of its own
// over a panel (the progress bar of the text tools sits over panel 1).

#include <QStatusBar>
#include <QVector>

class QLabel;

namespace orvex::gui {

class TZilStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit TZilStatusBar(const QVector<int>& panelWidths, QWidget* parent = nullptr);

  int panelCount() const { return m_panels.size(); }
  QLabel* panel(int index) const { return m_panels.at(index); }
  QString panelText(int index) const;
  void setPanelText(int index, const QString& text);
  // Makes `control` a child of the panel, covering it.
  void placeOverPanel(QWidget* control, int index);

 private:
  QVector<QLabel*> m_panels;
};

}  // namespace orvex::gui
