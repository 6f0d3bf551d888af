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

// The pale yellow band that says how to fill.
QWidget* helpBand(QWidget* parent) {
  auto* band = new QWidget(parent);
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
  return band;
}

}  // namespace

FillDialog::FillDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Remplir"));
  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSize(10);
  setFont(font);
  auto* column = new QVBoxLayout(this);
  column->addWidget(helpBand(this));
  column->addWidget(insertionBox());
  column->addWidget(numberingBox());
  column->addLayout(buttonRow());
  // A fixed dialog border: the window cannot be resized; its height is what the
  // wrapped band needs at its width.
  const int width = sizeHint().width() + 80;
  setFixedSize(width, hasHeightForWidth() ? heightForWidth(width) : sizeHint().height());
}

QWidget* FillDialog::insertionBox() {
  auto* insertion = new QGroupBox(this);
  auto* form = new QFormLayout(insertion);
  m_text = new QLineEdit(insertion);
  m_text->setObjectName(QStringLiteral("Edit1"));
  form->addRow(QStringLiteral("Texte à insérer :"), m_text);
  m_column = numberBox(insertion, "UpDown1", 1, INT_MAX);
  form->addRow(QStringLiteral("A partir de la colonne :"), m_column);
  auto* lines = new QHBoxLayout();
  m_firstLine = numberBox(insertion, "UpDown2", 1, 1);
  m_lastLine = numberBox(insertion, "UpDown3", 1, 1);
  lines->addWidget(m_firstLine);
  lines->addWidget(new QLabel(QStringLiteral("et "), insertion));
  lines->addWidget(m_lastLine);
  form->addRow(QStringLiteral("Entre les lignes "), lines);
  return insertion;
}

QWidget* FillDialog::numberingBox() {
  auto* numbering = new QGroupBox(this);
  auto* numberRow = new QHBoxLayout(numbering);
  m_increment = new QCheckBox(QStringLiteral("Avec incrémentation"), numbering);
  m_increment->setObjectName(QStringLiteral("CheckBox1"));
  numberRow->addWidget(m_increment);
  numberRow->addWidget(new QLabel(QStringLiteral("N° départ :"), numbering));
  m_start = numberBox(numbering, "UpDown4", 0, 100);
  numberRow->addWidget(m_start);
  numberRow->addWidget(new QLabel(QStringLiteral("Incrément :"), numbering));
  m_step = numberBox(numbering, "UpDown5", 0, 100);
  numberRow->addWidget(m_step);
  return numbering;
}

QLayout* FillDialog::buttonRow() {
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
  cancel->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  connect(ok, &QPushButton::clicked, this, &FillDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  return buttons;
}

void FillDialog::setRangeControlsEnabled(bool enabled) {
  for (QSpinBox* box : {m_column, m_firstLine, m_lastLine}) box->setEnabled(enabled);
}

void FillDialog::prepareFill(std::int64_t caretColumn, std::int64_t lineCount, std::int64_t longestLine) {
  m_blockWidth = 0;
  setRangeControlsEnabled(true);
  m_text->setMaxLength(32767);
  const int lines = clampToInt(lineCount);
  // Any column up to 32767, as the up-down's own range, and past the longest line
  // beyond that: a short line is first extended with blanks up to the column.
  m_column->setRange(1, clampToInt(std::max({std::int64_t{kMaxColumn}, longestLine + 1, caretColumn + 1})));
  m_column->setValue(clampToInt(caretColumn + 1));
  m_firstLine->setRange(1, lines);
  m_firstLine->setValue(1);
  m_lastLine->setRange(1, lines);
  m_lastLine->setValue(lines);
}

void FillDialog::prepareBlockFill(std::int64_t startColumn, std::int64_t startLine, std::int64_t endLine,
                                  std::int64_t width) {
  m_blockWidth = static_cast<int>(std::max<std::int64_t>(width, 0));
  m_column->setRange(1, clampToInt(startColumn));
  m_column->setValue(clampToInt(startColumn));
  m_firstLine->setRange(1, clampToInt(startLine));
  m_firstLine->setValue(clampToInt(startLine));
  m_lastLine->setRange(1, clampToInt(endLine));
  m_lastLine->setValue(clampToInt(endLine));
  m_text->setMaxLength(std::max(m_blockWidth, 1));
  setRangeControlsEnabled(false);
}

void FillDialog::showEvent(QShowEvent* event) {
  m_accepted = false;
  m_text->clear();
  QDialog::showEvent(event);
}

void FillDialog::accept() {
  m_accepted = true;
  QDialog::accept();
}

FillParameters FillDialog::parameters() const {
  FillParameters parameters;
  QString text = m_text->text();
  // A block fill replaces the block by text of its own width.
  if (m_blockWidth > 0 && text.size() < m_blockWidth) text = text.leftJustified(m_blockWidth, QLatin1Char(' '));
  parameters.text = text.toStdString();
  parameters.column = m_column->value();
  parameters.firstLine = m_firstLine->value();
  parameters.lastLine = m_lastLine->value();
  parameters.increment = m_increment->isChecked();
  parameters.startNumber = m_start->value();
  parameters.step = m_step->value();
  return parameters;
}

}  // namespace orvex::gui
