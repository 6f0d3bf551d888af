#pragma once
// The editor's font dialog "Police de l'éditeur": the families with the monospaced
// ones first (the ruler and the column blocks count on characters of one width),
// the size and a sample.

#include <QDialog>
#include <QFont>
#include <QStringList>

class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace orvex::gui {

class FontDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FontDialog(const QFont& initial, QWidget* parent = nullptr);

  // The installed families, the monospaced ones first, each group in name order.
  static QStringList familiesMonospacedFirst();
  QFont chosenFont() const;

 private:
  void showSample();

  QListWidget* m_families;
  QDoubleSpinBox* m_size;
  QLabel* m_sample;
  QFont m_initial;
};

}  // namespace orvex::gui
