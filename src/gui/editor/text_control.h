#pragma once
// The few calls on the text control that the editing commands need, in byte offsets
// into the UTF-8 text held by the control. The editor implements it over its
// control, so that the commands built on it include no header of the control.

#include <string_view>

namespace orvex::gui {

class TextControl {
 public:
  // Lines as the control counts them: a last empty line counts.
  virtual long lineCount() const = 0;
  virtual long length() const = 0;
  virtual std::string_view text() const = 0;
  virtual long lineStart(long line) const = 0;
  // The end of a line's text, before its line break.
  virtual long lineEnd(long line) const = 0;
  virtual long lineOf(long position) const = 0;
  virtual long selectionStart() const = 0;
  virtual long selectionEnd() const = 0;
  virtual long countCharacters(long start, long end) const = 0;
  // The position `characters` characters after `start`.
  virtual long positionRelative(long start, long characters) const = 0;
  virtual long firstVisibleLine() const = 0;

  virtual void insert(long position, std::string_view text) = 0;
  virtual void remove(long start, long length) = 0;
  virtual void append(std::string_view text) = 0;
  // The caret at `position`, nothing selected.
  virtual void goTo(long position) = 0;
  // The caret at the start of `line`, brought into view.
  virtual void goToLine(long line) = 0;
  virtual void select(long anchor, long caret) = 0;
  virtual void setFirstVisibleLine(long line) = 0;
  // Everything changed between the two calls is one undo step.
  virtual void beginUndoAction() = 0;
  virtual void endUndoAction() = 0;

 protected:
  ~TextControl() = default;
};

}  // namespace orvex::gui
