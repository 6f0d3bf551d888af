#pragma once
// A panel painted with a colour gradient, optionally framed by a black border and a
// 3D bevel, with an icon at its left and a one-line caption. Each band moves every
// colour channel one steps-th of the remaining distance towards the end colour,
// rounded up, so the colour approaches the end ever more slowly.

#include <QColor>
#include <QIcon>
#include <QWidget>

namespace orvex::gui {

enum class BevelStyle { Flat, Lowered, Raised, Spaced };
enum class GradientDirection { Horizontal, Vertical };

class GradientPanel : public QWidget {
  Q_OBJECT

 public:
  explicit GradientPanel(QWidget* parent = nullptr);

  QIcon icon() const { return m_icon; }
  void setIcon(const QIcon& icon, const QSize& size = QSize(32, 32));
  BevelStyle bevelStyle() const { return m_bevel; }
  void setBevelStyle(BevelStyle style);
  bool hasBorder() const { return m_border; }
  void setBorder(bool border);
  int steps() const { return m_steps; }
  void setSteps(int steps);
  QColor startColour() const { return m_start; }
  void setStartColour(const QColor& colour);
  QColor endColour() const { return m_end; }
  void setEndColour(const QColor& colour);
  GradientDirection direction() const { return m_direction; }
  void setDirection(GradientDirection direction);
  QString caption() const { return m_caption; }
  void setCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintGradient(QPainter& painter, const QRect& area) const;

  QIcon m_icon;
  QSize m_iconSize{32, 32};
  BevelStyle m_bevel = BevelStyle::Flat;
  bool m_border = false;
  int m_steps = 128;
  QColor m_start{0, 0, 128};  // navy
  QColor m_end{0, 0, 255};    // blue
  GradientDirection m_direction = GradientDirection::Horizontal;
  QString m_caption;
};

}  // namespace orvex::gui
