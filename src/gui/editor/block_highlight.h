#pragma once
// Shows the marked column block in the editor: the cells the block commands would
// take, boxed under the text. The cells belong to the marks, not to the text: after
// every change they are found again from the marks, so typing inside the block
// leaves the box on the same columns. Only the block's lines near the view are
// drawn, so a block over millions of lines costs no more than a screenful.

#include <optional>
#include <string_view>
#include <utility>

#include "editing/block_operations.h"
#include "editor/text_control.h"

namespace orvex::gui {

class BlockHighlight {
 public:
  // What the highlight needs of the control beyond its text, in byte offsets.
  class Control {
   public:
    // The bytes from `start` to `end` without a copy of the whole text.
    virtual std::string_view textRange(long start, long end) const = 0;
    // The first and last lines in view (0-based).
    virtual std::pair<long, long> linesInView() const = 0;
    virtual void clearHighlight() = 0;
    virtual void highlight(long start, long length) = 0;

   protected:
    ~Control() = default;
  };

  // Lines drawn beyond the view on each side, so that a scroll shows the box at
  // once, before it is drawn again for the new view.
  static constexpr long kLinesBeyondView = 200;

  BlockHighlight(const TextControl& text, Control& control) : m_text(text), m_control(control) {}

  // Boxes `anchor`'s block once both its ends are marked; none before.
  void show(const BlockAnchor& anchor);
  void hide();
  // Draws the box again from the marks, for the lines now near the view.
  void refresh();
  // The text changed: the box is drawn again at the next update of the view, once
  // the change is complete.
  void textChanged() { m_stale = m_anchor.has_value(); }
  // The control is about to show a change of its text or a scroll.
  void viewUpdating(bool scrolled) {
    if (m_stale || (scrolled && m_anchor)) refresh();
  }

 private:
  const TextControl& m_text;
  Control& m_control;
  std::optional<BlockAnchor> m_anchor;
  bool m_drawn = false;
  bool m_stale = false;
};

}  // namespace orvex::gui
