// The key filter's decisions, without a window: which keys type blanks, capitals or
// nothing, and which of the control's own bindings count as plain editing.

#include <QKeyEvent>
#include <QTest>

#include "editor/editor_key_filter.h"

using namespace orvex::gui;

Q_DECLARE_METATYPE(KeyAction)

class KeyFilterTest : public QObject {
  Q_OBJECT

 private slots:
  void decides_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("forceCapitals");
    QTest::addColumn<bool>("bound");
    QTest::addColumn<KeyAction>("action");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int shift = Qt::ShiftModifier;
    const int altGr = Qt::ControlModifier | Qt::AltModifier | Qt::GroupSwitchModifier;
    QTest::newRow("letter") << int(Qt::Key_A) << none << "a" << false << false << KeyAction::PassOn;
    QTest::newRow("forced capital") << int(Qt::Key_A) << none << "a" << true << false << KeyAction::TypeCapital;
    QTest::newRow("accented letter stays") << int(Qt::Key_Eacute) << none << "é" << true << false
                                           << KeyAction::PassOn;
    QTest::newRow("capital already") << int(Qt::Key_A) << shift << "A" << true << false << KeyAction::PassOn;
    QTest::newRow("tab") << int(Qt::Key_Tab) << none << "\t" << false << false << KeyAction::TypeTabBlanks;
    QTest::newRow("shift tab") << int(Qt::Key_Backtab) << shift << "" << false << false << KeyAction::TypeTabBlanks;
    QTest::newRow("ctrl tab") << int(Qt::Key_Tab) << ctrl << "" << false << false << KeyAction::PassOn;
    QTest::newRow("ctrl equals") << int(Qt::Key_Equal) << ctrl << "=" << false << false << KeyAction::Swallow;
    QTest::newRow("alt w") << int(Qt::Key_W) << alt << "w" << true << false << KeyAction::Swallow;
    QTest::newRow("bound ctrl v") << int(Qt::Key_V) << ctrl << "v" << false << true << KeyAction::PassOn;
    QTest::newRow("altgr euro") << int(Qt::Key_E) << altGr << "€" << false << false << KeyAction::PassOn;
    QTest::newRow("ctrl control code") << int(Qt::Key_A) << ctrl << "\x01" << true << false << KeyAction::PassOn;
  }
  void decides() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(bool, forceCapitals);
    QFETCH(bool, bound);
    QFETCH(KeyAction, action);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers::fromInt(modifiers), text);
    QCOMPARE(keyAction(event, forceCapitals, [bound](int) { return bound; }), action);
  }

  void plainEditingKeys_data() {
    QTest::addColumn<int>("combined");
    QTest::addColumn<bool>("plain");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("ctrl shift left") << (Qt::CTRL | Qt::SHIFT | Qt::Key_Left).toCombined() << true;
    QTest::newRow("alt left") << (Qt::ALT | Qt::Key_Left).toCombined() << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << true;
    QTest::newRow("ctrl backspace") << (Qt::CTRL | Qt::Key_Backspace).toCombined() << false;
    QTest::newRow("shift delete") << (Qt::SHIFT | Qt::Key_Delete).toCombined() << true;
    QTest::newRow("insert") << int(Qt::Key_Insert) << false;
    QTest::newRow("shift insert") << (Qt::SHIFT | Qt::Key_Insert).toCombined() << true;
    QTest::newRow("ctrl v") << (Qt::CTRL | Qt::Key_V).toCombined() << true;
    QTest::newRow("ctrl shift v") << (Qt::CTRL | Qt::SHIFT | Qt::Key_V).toCombined() << false;
    QTest::newRow("ctrl l") << (Qt::CTRL | Qt::Key_L).toCombined() << false;
  }
  void plainEditingKeys() {
    QFETCH(int, combined);
    QFETCH(bool, plain);
    QCOMPARE(isPlainEditingKey(combined), plain);
  }
};

QTEST_MAIN(KeyFilterTest)
#include "key_filter_test.moc"
