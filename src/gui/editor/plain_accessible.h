#pragma once
// How the editing control presents itself to assistive technologies.

namespace orvex::gui {

// The control's own accessible interface tells of every caret move with the caret's
// offset in characters, counted from the start of the text each time: a key near
// the end of a 100 MB document then costs half a second. Unless a screen reader is
// running when an editor is created, the control is presented as a plain editable
// widget instead. To be called before the first control is created, since the first
// interface offered for a class is the one used.
void preferPlainEditorAccessible();

}  // namespace orvex::gui
