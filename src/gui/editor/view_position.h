#pragma once

namespace orvex::gui {

// Where the caret and the view stand, kept across a whole-document change.
struct ViewPosition {
  int line = 0;
  int column = 0;  // in characters
  int firstVisibleLine = 0;
};

}  // namespace orvex::gui
