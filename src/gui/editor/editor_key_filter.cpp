#include "editor/editor_key_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace orvex::gui {

namespace {

// A character typed with Ctrl or Alt held (Ctrl+=, Ctrl+0, Alt+W...) is a command
// the program does not have, not text. AltGr is no Alt: X11 reports it as the
// group switch, other systems as no modifier at all, and its character (€, @, [
// on a French keyboard) is typed as any other.
bool isCommandCharacter(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier)) || (modifiers & Qt::GroupSwitchModifier)) return false;
  const QString text = key.text();
  return !text.isEmpty() && text.front().isPrint();
}

}  // namespace

bool isPlainEditingKey(int combined) {
  if (combined == 0) return false;
  const int key = combined & ~static_cast<int>(Qt::KeyboardModifierMask);
  const auto modifiers = Qt::KeyboardModifiers::fromInt(combined & static_cast<int>(Qt::KeyboardModifierMask));
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return !(modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier));
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter: return modifiers == Qt::NoModifier;
    case Qt::Key_Delete: return modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
    case Qt::Key_Insert: return modifiers == Qt::ShiftModifier || modifiers == Qt::ControlModifier;
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V: return modifiers == Qt::ControlModifier;
  }
  return false;
}

KeyAction keyAction(const QKeyEvent& key, bool forceCapitals, const std::function<bool(int)>& boundToControl) {
  // The control's own bindings (Ctrl+V...) still run; otherwise it would type the
  // character.
  if (isCommandCharacter(key) && !boundToControl(key.key() | static_cast<int>(key.modifiers())))
    return KeyAction::Swallow;
  const QString text = key.text();
  const bool command = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  // Shift+Tab is a Tab too: the control's own back-tab would remove leading blanks.
  if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) && !command) return KeyAction::TypeTabBlanks;
  const bool lowerLetter = text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z');
  return forceCapitals && lowerLetter ? KeyAction::TypeCapital : KeyAction::PassOn;
}

EditorKeyFilter::EditorKeyFilter(QWidget* control, Hooks hooks, QObject* parent)
    : QObject(parent), m_control(control), m_hooks(std::move(hooks)) {
  m_control->installEventFilter(this);
}

bool EditorKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_control || m_resending || event->type() != QEvent::KeyPress) return false;
  const auto& key = *static_cast<QKeyEvent*>(event);
  emit keyPressed();
  const KeyAction action = keyAction(key, m_forceCapitals, m_hooks.boundToControl);
  if (action == KeyAction::PassOn) return false;
  if (action != KeyAction::Swallow) resend(key, action);
  return true;
}

void EditorKeyFilter::resend(const QKeyEvent& key, KeyAction action) {
  const bool tab = action == KeyAction::TypeTabBlanks;
  QString text = key.text().toUpper();
  int keyCode = key.key();
  if (tab) {
    // A Tab becomes four blanks, one undo step: three put at the caret, then the
    // typed blank.
    m_hooks.beginUndoAction();
    m_hooks.insertBeforeSelection("   ");
    text = QStringLiteral(" ");
    keyCode = Qt::Key_Space;
  }
  QKeyEvent replacement(QEvent::KeyPress, keyCode, key.modifiers() & ~Qt::ShiftModifier, text);
  m_resending = true;
  QApplication::sendEvent(m_control, &replacement);
  m_resending = false;
  if (tab) m_hooks.endUndoAction();
}

}  // namespace orvex::gui
