#include "windows/find_dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

namespace orvex::gui {

namespace {
constexpr int kMaxText = 255;
}  // namespace

FindDialog::FindDialog(QWidget* parent) : FindDialog(parent, false) {}

FindDialog::FindDialog(QWidget* parent, bool replacing) : QDialog(parent) {
  setObjectName(replacing ? QStringLiteral("ReplaceDialog1") : QStringLiteral("FindDialog1"));
  setWindowTitle(replacing ? QStringLiteral("Remplacer") : QStringLiteral("Rechercher"));
  setModal(false);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Rechercher :"), this), 0, 0);
  m_find = new QLineEdit(this);
  m_find->setObjectName(QStringLiteral("FindText"));
  m_find->setMaxLength(kMaxText);
  m_find->setMinimumWidth(220);
  grid->addWidget(m_find, 0, 1);
  m_wholeWord = new QCheckBox(QStringLiteral("Mot entier uniquement"), this);
  m_wholeWord->setObjectName(QStringLiteral("WholeWord"));
  m_matchCase = new QCheckBox(QStringLiteral("Respecter la casse"), this);
  m_matchCase->setObjectName(QStringLiteral("MatchCase"));
  // The find dialog always ignores case and words.
  m_wholeWord->setEnabled(replacing);
  m_matchCase->setEnabled(replacing);
  grid->addWidget(m_wholeWord, 2, 0, 1, 2);
  grid->addWidget(m_matchCase, 3, 0, 1, 2);

  auto* buttons = new QVBoxLayout();
  auto* next = new QPushButton(QStringLiteral("Suivant"), this);
  next->setObjectName(QStringLiteral("Suivant"));
  next->setDefault(true);
  connect(next, &QPushButton::clicked, this, &FindDialog::findNext);
  buttons->addWidget(next);
  if (!replacing) {
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Annuler"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
  }
  buttons->addStretch();
  grid->addLayout(buttons, 0, 2, 5, 1);
}

QString FindDialog::findText() const { return m_find->text(); }
void FindDialog::setFindText(const QString& text) { m_find->setText(text.left(kMaxText)); }

void FindDialog::present() {
  show();
  raise();
  activateWindow();
  m_find->setFocus(Qt::OtherFocusReason);
  m_find->selectAll();
}

SearchOptions FindDialog::options() const {
  return {m_matchCase->isEnabled() && m_matchCase->isChecked(), m_wholeWord->isEnabled() && m_wholeWord->isChecked()};
}

ReplaceDialog::ReplaceDialog(QWidget* parent) : FindDialog(parent, true) {
  auto* grid = static_cast<QGridLayout*>(layout());
  grid->addWidget(new QLabel(QStringLiteral("Remplacer par :"), this), 1, 0);
  m_replace = new QLineEdit(this);
  m_replace->setObjectName(QStringLiteral("ReplaceText"));
  m_replace->setMaxLength(kMaxText);
  grid->addWidget(m_replace, 1, 1);
  auto* buttons = static_cast<QVBoxLayout*>(grid->itemAtPosition(0, 2)->layout());
  auto* one = new QPushButton(QStringLiteral("Remplacer"), this);
  one->setObjectName(QStringLiteral("Remplacer"));
  auto* all = new QPushButton(QStringLiteral("Remplacer tout"), this);
  all->setObjectName(QStringLiteral("RemplacerTout"));
  auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
  cancel->setObjectName(QStringLiteral("Annuler"));
  connect(one, &QPushButton::clicked, this, [this] { emit replace(false); });
  connect(all, &QPushButton::clicked, this, [this] { emit replace(true); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->insertWidget(1, one);
  buttons->insertWidget(2, all);
  buttons->insertWidget(3, cancel);
  // Tab goes down the fields as they are laid out, then to the buttons: the replace
  // text, made after the options, would otherwise come last.
  auto* next = findChild<QPushButton*>(QStringLiteral("Suivant"));
  QWidget* const order[] = {m_find, m_replace, m_wholeWord, m_matchCase, next, one, all, cancel};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

QString ReplaceDialog::replaceText() const { return m_replace->text(); }

}  // namespace orvex::gui
