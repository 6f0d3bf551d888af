#pragma once
// A panel painted with a colour gradient, optionally framed by a black border and a
// 3D bevel, with an icon at its left and a one-line caption. Each band moves every
// colour channel one NbEtapes-th of the remaining distance towards the end colour,
// rounded up, so the colour approaches the end ever more slowly.

#include <QColor>
#include <QIcon>
#include <QWidget>

namespace orvex::gui {

enum class TBevelStyle { bvNone, bvLowered, bvRaised, bvSpace };
enum class TSens { stHorizontal, stVertical };

class TZilDegrade : public QWidget {
  Q_OBJECT

 public:
  explicit TZilDegrade(QWidget* parent = nullptr);

  QIcon Icone() const { return m_icon; }
  void setIcone(const QIcon& icon, const QSize& size = QSize(32, 32));
  TBevelStyle BevelStyle() const { return m_bevel; }
  void setBevelStyle(TBevelStyle style);
  bool Border() const { return m_border; }
  void setBorder(bool border);
  int NbEtapes() const { return m_steps; }
  void setNbEtapes(int steps);
  QColor CouleurDebut() const { return m_start; }
  void setCouleurDebut(const QColor& colour);
  QColor CouleurFin() const { return m_end; }
  void setCouleurFin(const QColor& colour);
  TSens Sens() const { return m_direction; }
  void setSens(TSens direction);
  QString Caption() const { return m_caption; }
  void setCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintGradient(QPainter& painter, const QRect& area) const;

  QIcon m_icon;
  QSize m_iconSize{32, 32};
  TBevelStyle m_bevel = TBevelStyle::bvNone;
  bool m_border = false;
  int m_steps = 128;
  QColor m_start{0, 0, 128};   // navy
  QColor m_end{0, 0, 255};     // blue
  TSens m_direction = TSens::stHorizontal;
  QString m_caption;
};

}  // namespace orvex::gui
