#include "windows/fill_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "components/background.h"

namespace orvex::gui {

namespace {

QSpinBox* numberBox(QWidget* parent, const char* name, int minimum, int maximum) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(minimum, maximum);
  return box;
}

constexpr int kMaxColumn = 32767;

int clampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 1, INT_MAX)); }

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Remplir"));
  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSize(10);
  setFont(font);
  auto* column = new QVBoxLayout(this);

  auto* band = new QWidget(this);
  paintBackground(band, QColor(255, 255, 187));
  auto* bandLayout = new QVBoxLayout(band);
  for (const QString& text :
       {QStringLiteral("Saisissez le n° de colonne à partir de laquelle vous souhaitez insérer le texte. Puis de la "
                       "même manière, les lignes entre lesquelles vous souhaitez insérer le texte (par défaut, "
                       "l'insertion impacte toutes les lignes du fichier). "),
        QStringLiteral("Avec incrémentation, placez le caractère % à l'endroit du numéro à incrémenter.")}) {
    auto* label = new QLabel(text, band);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setItalic(true);
    label->setFont(bold);
    label->setWordWrap(true);
    bandLayout->addWidget(label);
  }
  column->addWidget(band);

  auto* insertion = new QGroupBox(this);
  auto* form = new QFormLayout(insertion);
  Edit1 = new QLineEdit(insertion);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  form->addRow(QStringLiteral("Texte à insérer :"), Edit1);
  UpDown1 = numberBox(insertion, "UpDown1", 1, INT_MAX);
  form->addRow(QStringLiteral("A partir de la colonne :"), UpDown1);
  auto* lines = new QHBoxLayout();
  UpDown2 = numberBox(insertion, "UpDown2", 1, 1);
  UpDown3 = numberBox(insertion, "UpDown3", 1, 1);
  lines->addWidget(UpDown2);
  lines->addWidget(new QLabel(QStringLiteral("et "), insertion));
  lines->addWidget(UpDown3);
  form->addRow(QStringLiteral("Entre les lignes "), lines);
  column->addWidget(insertion);

  auto* numbering = new QGroupBox(this);
  auto* numberRow = new QHBoxLayout(numbering);
  CheckBox1 = new QCheckBox(QStringLiteral("Avec incrémentation"), numbering);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  numberRow->addWidget(CheckBox1);
  numberRow->addWidget(new QLabel(QStringLiteral("N° départ :"), numbering));
  UpDown4 = numberBox(numbering, "UpDown4", 0, 100);
  numberRow->addWidget(UpDown4);
  numberRow->addWidget(new QLabel(QStringLiteral("Incrément :"), numbering));
  UpDown5 = numberBox(numbering, "UpDown5", 0, 100);
  numberRow->addWidget(UpDown5);
  column->addWidget(numbering);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
  cancel->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  column->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TForm2::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // A fixed dialog border: the window cannot be resized; its height is what the
  // wrapped band needs at its width.
  const int width = sizeHint().width() + 80;
  setFixedSize(width, hasHeightForWidth() ? heightForWidth(width) : sizeHint().height());
}

void TForm2::setRangeControlsEnabled(bool enabled) {
  for (QSpinBox* box : {UpDown1, UpDown2, UpDown3}) box->setEnabled(enabled);
}

void TForm2::prepareFill(std::int64_t caretColumn, std::int64_t lineCount, std::int64_t longestLine) {
  m_blockWidth = 0;
  setRangeControlsEnabled(true);
  Edit1->setMaxLength(32767);
  const int lines = clampToInt(lineCount);
  // Any column up to 32767, as the up-down's own range, and past the longest line
  // beyond that: a short line is first extended with blanks up to the column.
  UpDown1->setRange(1, clampToInt(std::max({std::int64_t{kMaxColumn}, longestLine + 1, caretColumn + 1})));
  UpDown1->setValue(clampToInt(caretColumn + 1));
  UpDown2->setRange(1, lines);
  UpDown2->setValue(1);
  UpDown3->setRange(1, lines);
  UpDown3->setValue(lines);
}

void TForm2::prepareBlockFill(std::int64_t startColumn, std::int64_t startLine, std::int64_t endLine,
                              std::int64_t width) {
  m_blockWidth = static_cast<int>(std::max<std::int64_t>(width, 0));
  UpDown1->setRange(1, clampToInt(startColumn));
  UpDown1->setValue(clampToInt(startColumn));
  UpDown2->setRange(1, clampToInt(startLine));
  UpDown2->setValue(clampToInt(startLine));
  UpDown3->setRange(1, clampToInt(endLine));
  UpDown3->setValue(clampToInt(endLine));
  Edit1->setMaxLength(std::max(m_blockWidth, 1));
  setRangeControlsEnabled(false);
}

void TForm2::showEvent(QShowEvent* event) {
  FillAccepted = false;
  Edit1->clear();
  QDialog::showEvent(event);
}

void TForm2::accept() {
  FillAccepted = true;
  QDialog::accept();
}

FillParameters TForm2::parameters() const {
  FillParameters parameters;
  QString text = Edit1->text();
  // A block fill replaces the block by text of its own width.
  if (m_blockWidth > 0 && text.size() < m_blockWidth) text = text.leftJustified(m_blockWidth, QLatin1Char(' '));
  parameters.text = text.toStdString();
  parameters.column = UpDown1->value();
  parameters.firstLine = UpDown2->value();
  parameters.lastLine = UpDown3->value();
  parameters.increment = CheckBox1->isChecked();
  parameters.startNumber = UpDown4->value();
  parameters.step = UpDown5->value();
  return parameters;
}

}  // namespace orvex::gui
