#include "editor/line_commands.h"

#include <algorithm>
#include <string>

#include "text/utf8.h"

namespace orvex::gui::lines {

namespace {

// One undo step for everything a command changes.
class UndoStep {
 public:
  explicit UndoStep(TextControl& control) : m_control(control) { m_control.beginUndoAction(); }
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;
  ~UndoStep() { m_control.endUndoAction(); }

 private:
  TextControl& m_control;
};

long caretLine(const TextControl& control) { return control.lineOf(control.selectionEnd()); }

int columnOf(const TextControl& control, long position) {
  return static_cast<int>(control.countCharacters(control.lineStart(control.lineOf(position)), position));
}

}  // namespace

bool goToLine(TextControl& control, long number, std::string_view lineBreak) {
  const long lines = control.lineCount();
  if (number < 1 || number > lines + 1) return false;
  if (number == lines + 1) {
    // Past a last line that is empty there is nothing; past one with text, the
    // new empty line the user asked for.
    if (control.lineStart(lines - 1) == control.length()) return false;
    control.append(lineBreak);
  }
  // The control's own call scrolls the line into view: no edit, no undo step.
  control.goToLine(number - 1);
  return true;
}

void selectLine(TextControl& control) {
  const long line = caretLine(control);
  control.select(control.lineStart(line), control.lineEnd(line));
}

void duplicateLine(TextControl& control, std::string_view lineBreak) {
  const long line = caretLine(control);
  const long start = control.lineStart(line);
  const long end = control.lineEnd(line);
  std::string copy(control.text().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
  copy.append(lineBreak);
  {
    const UndoStep step(control);
    control.insert(start, copy);
  }
  control.goTo(start + static_cast<long>(copy.size()));
}

void deleteLine(TextControl& control) {
  const long line = caretLine(control);
  const long start = control.lineStart(line);
  // The last line has no break of its own: only its text goes.
  const long end = line + 1 < control.lineCount() ? control.lineStart(line + 1) : control.length();
  {
    const UndoStep step(control);
    control.remove(start, end - start);
  }
  control.goTo(start);
}

void insertLine(TextControl& control, std::string_view lineBreak) {
  const long start = control.lineStart(caretLine(control));
  {
    const UndoStep step(control);
    control.insert(start, lineBreak);
  }
  control.goTo(start);
}

void insertAtCaret(TextControl& control, std::string_view text, long advance) {
  const long start = control.selectionStart();
  const long end = control.selectionEnd();
  if (!text.empty()) {
    const UndoStep step(control);
    control.insert(end, text);
  }
  // The advance counts characters from the selection's start, whatever was inserted.
  const long available = control.countCharacters(start, control.length());
  control.goTo(control.positionRelative(start, std::min(advance, available)));
}

std::size_t documentLines(const TextControl& control) {
  const long lines = control.lineCount();
  return static_cast<std::size_t>(control.lineStart(lines - 1) == control.length() ? lines - 1 : lines);
}

std::int64_t longestLineLength(std::string_view text) {
  std::int64_t longest = 0;
  std::int64_t current = 0;
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      longest = std::max(longest, current);
      current = 0;
    } else if (!isUtf8Continuation(static_cast<unsigned char>(c))) {
      ++current;
    }
  }
  return std::max(longest, current);
}

ViewPosition viewPosition(const TextControl& control) {
  const long caret = control.selectionEnd();
  return {static_cast<int>(control.lineOf(caret)), columnOf(control, caret),
          static_cast<int>(control.firstVisibleLine())};
}

void restoreViewPosition(TextControl& control, const ViewPosition& where) {
  const long line = std::clamp<long>(where.line, 0, control.lineCount() - 1);
  const long start = control.lineStart(line);
  const long column = std::clamp<long>(where.column, 0, control.countCharacters(start, control.lineEnd(line)));
  control.goTo(control.positionRelative(start, column));
  control.setFirstVisibleLine(std::max(0, where.firstVisibleLine));
}

}  // namespace orvex::gui::lines
