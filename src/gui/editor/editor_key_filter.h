#pragma once
// What the keys typed in the text do before the control sees them: Tab types four
// blanks, letters turn capital while capitals are forced, and a character typed with
// Ctrl or Alt held types nothing. It reaches the control only through the hooks the
// editor gives it.

#include <QObject>
#include <functional>
#include <string_view>

class QKeyEvent;
class QWidget;

namespace orvex::gui {

// Whether a key of the control's own bindings belongs to plain editing: typing,
// Backspace, Delete, Return, the navigation and selection keys and the clipboard
// keys. `combined` is a key code with its modifiers, as the control stores it.
bool isPlainEditingKey(int combined);

// What becomes of a key press in the text.
enum class KeyAction {
  PassOn,         // the control handles it as it is
  Swallow,        // a command the program does not have: nothing happens
  TypeTabBlanks,  // four blanks, one undo step
  TypeCapital,    // the letter as a capital
};
// `boundToControl` tells whether the control has a binding of its own for a key
// code with its modifiers; it is only asked about Ctrl and Alt characters.
KeyAction keyAction(const QKeyEvent& key, bool forceCapitals, const std::function<bool(int)>& boundToControl);

class EditorKeyFilter : public QObject {
  Q_OBJECT

 public:
  // What the filter needs of the control besides its widget.
  struct Hooks {
    std::function<bool(int combined)> boundToControl;
    std::function<void()> beginUndoAction;
    std::function<void()> endUndoAction;
    // Inserts `text` before the selection, which moves along with its text.
    std::function<void(std::string_view text)> insertBeforeSelection;
  };

  // Watches the key presses sent to `control`.
  EditorKeyFilter(QWidget* control, Hooks hooks, QObject* parent = nullptr);

  void setForceCapitals(bool on) { m_forceCapitals = on; }
  bool forceCapitals() const { return m_forceCapitals; }

 signals:
  // Every key that reaches the control, before the control acts on it.
  void keyPressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_control;
  Hooks m_hooks;
  bool m_forceCapitals = false;
  bool m_resending = false;  // the replacement key is on its way to the control

  void resend(const QKeyEvent& key, KeyAction action);
};

}  // namespace orvex::gui
