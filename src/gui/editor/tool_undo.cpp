#include "editor/tool_undo.h"

#include <new>
#include <optional>
#include <utility>

namespace orvex::gui {

ToolUndo::ToolUndo(const std::filesystem::path& directory, Control& control)
    : m_control(control), m_history(directory) {}

void ToolUndo::record(const std::filesystem::path& before, const Snapshot& after) {
  try {
    Snapshot earlier = m_beforeTool;
    earlier.file = before;
    const int step = m_history.add(earlier, after);
    m_control.addUndoAction(step);
    refreshModified();
  } catch (const std::bad_alloc&) {
    // Without its step the history no longer fits the text.
    forget(HistoryEnd::StepLost);
  }
}

bool ToolUndo::undoTool() {
  if (!m_control.canUndo() || m_history.steps() == 0) return false;
  return step(true) == Step::Tool;
}

ToolUndo::Step ToolUndo::step(bool backwards) {
  const ViewPosition where = m_control.viewPosition();
  m_pendingStep = 0;
  if (backwards)
    m_control.undo();
  else
    m_control.redo();
  const int step = std::exchange(m_pendingStep, 0);
  if (step == 0) {
    refreshModified();
    return Step::Plain;
  }
  if (!reloadAcross(step, backwards)) {
    // The control has passed over the step but the text is still the other side of
    // it: the steps beyond would no longer fit the text.
    forget(HistoryEnd::StepLost);
    return Step::ToolLost;
  }
  m_control.restoreViewPosition(where);
  refreshModified();
  return Step::Tool;
}

bool ToolUndo::reloadAcross(int step, bool backwards) {
  const std::optional<Snapshot> text = backwards ? m_history.before(step) : m_history.after(step);
  if (!text) return false;
  const Control::Reload result = m_control.reload(*text);
  if (result == Control::Reload::Broken) {
    // Half a text is in the control: the one it had is brought back before the
    // history, which holds it, is let go.
    const std::optional<Snapshot> current = backwards ? m_history.after(step) : m_history.before(step);
    if (current) m_control.reload(*current);
  }
  return result == Control::Reload::Done;
}

void ToolUndo::forget(HistoryEnd end) {
  m_control.emptyUndoBuffer();
  m_history.clear();
  m_pendingStep = 0;
  if (end == HistoryEnd::FreshDocument) {
    m_control.setSavePoint();
    m_savedFormat = m_control.format();
    m_historyLost = false;
  } else {
    m_historyLost = true;
  }
  refreshModified();
}

bool ToolUndo::isModified() const {
  const TextFormat& format = m_control.format();
  const bool formatChanged = format.encoding != m_savedFormat.encoding || format.bom != m_savedFormat.bom ||
                             format.lineBreak != m_savedFormat.lineBreak;
  return m_historyLost || formatChanged || m_control.leftSavePoint();
}

void ToolUndo::markSaved() {
  m_control.setSavePoint();
  m_savedFormat = m_control.format();
  m_historyLost = false;
  refreshModified();
}

void ToolUndo::refreshModified() {
  const bool modified = isModified();
  if (modified == m_reportedModified) return;
  m_reportedModified = modified;
  m_control.modifiedChanged(modified);
}

}  // namespace orvex::gui
