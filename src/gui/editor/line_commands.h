#pragma once
// The line commands and the view kept across a whole-document change, over the
// text control. Lines are those of the control (a last empty line counts); the
// caret line is the line of the end of the selection. Each change is one undo step.

#include <cstdint>
#include <string_view>

#include "editor/text_control.h"
#include "editor/view_position.h"

namespace orvex::gui::lines {

// Puts the caret at the start of line `number` (1-based) and brings it into view;
// on the line just past a last line that is not empty, appends `lineBreak` first.
// False when the number names no line: nothing moves.
bool goToLine(TextControl& control, long number, std::string_view lineBreak);
// Selects the caret line without its line break.
void selectLine(TextControl& control);
// Inserts a copy of the caret line above it; the caret goes to the lower copy.
void duplicateLine(TextControl& control, std::string_view lineBreak);
// Deletes the caret line with its line break (the last line: only its text).
void deleteLine(TextControl& control);
// Inserts an empty line above the caret line and puts the caret on it.
void insertLine(TextControl& control, std::string_view lineBreak);
// Inserts `text` at the end of the selection and puts the caret `advance`
// characters after the selection's start.
void insertAtCaret(TextControl& control, std::string_view text, long advance);

// Lines, not counting a last empty line.
std::size_t documentLines(const TextControl& control);
// Characters in the longest line of a UTF-8 text.
std::int64_t longestLineLength(std::string_view text);

ViewPosition viewPosition(const TextControl& control);
// The caret back on its line and column, each clamped to the text, with nothing
// selected, and the view back on its first line.
void restoreViewPosition(TextControl& control, const ViewPosition& where);

}  // namespace orvex::gui::lines
