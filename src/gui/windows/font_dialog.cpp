#include "windows/font_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvex::gui {

FontDialog::FontDialog(const QFont& initial, QWidget* parent) : QDialog(parent), m_initial(initial) {
  setObjectName(QStringLiteral("PoliceEditeur"));
  setWindowTitle(QStringLiteral("Police de l'éditeur"));
  m_families = new QListWidget(this);
  m_families->setObjectName(QStringLiteral("Polices"));
  const QStringList families = familiesMonospacedFirst();
  for (const QString& family : families) {
    auto* item = new QListWidgetItem(family, m_families);
    // The monospaced families in bold: the ones whose columns stay under the ruler.
    QFont look = item->font();
    look.setBold(QFontDatabase::isFixedPitch(family));
    item->setFont(look);
  }
  const QList<QListWidgetItem*> current = m_families->findItems(initial.family(), Qt::MatchExactly);
  if (!current.isEmpty()) m_families->setCurrentItem(current.front());

  m_size = new QDoubleSpinBox(this);
  m_size->setObjectName(QStringLiteral("Taille"));
  m_size->setRange(4, 72);
  m_size->setDecimals(2);
  m_size->setValue(initial.pointSizeF());
  m_sample = new QLabel(QStringLiteral("1...5....1  AaBbYyZz  éèàç €"), this);
  m_sample->setMinimumHeight(48);
  m_sample->setFrameShape(QFrame::StyledPanel);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_families, &QListWidget::currentRowChanged, this, &FontDialog::showSample);
  connect(m_size, &QDoubleSpinBox::valueChanged, this, &FontDialog::showSample);

  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("&Taille :"), m_size);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_families, 1);
  layout->addLayout(form);
  layout->addWidget(m_sample);
  layout->addWidget(buttons);
  resize(340, 380);
  showSample();
}

QStringList FontDialog::familiesMonospacedFirst() {
  QStringList monospaced;
  QStringList others;
  for (const QString& family : QFontDatabase::families())
    (QFontDatabase::isFixedPitch(family) ? monospaced : others) << family;
  return monospaced + others;
}

QFont FontDialog::chosenFont() const {
  QFont font = m_initial;
  if (const QListWidgetItem* item = m_families->currentItem()) font.setFamily(item->text());
  font.setPointSizeF(m_size->value());
  return font;
}

void FontDialog::showSample() { m_sample->setFont(chosenFont()); }

}  // namespace orvex::gui
