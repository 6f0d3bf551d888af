#pragma once
// The undo of the whole-document tools, on the control's own undo history, and the
// document's modified state, which depends on both.
//
// How a tool is undone: keeping a tool's change as ordinary undo would copy the
// removed and the inserted text, about twice the document. Instead the text before
// and after the tool lives in ToolHistory's files, and the control's history gets
// one action of our own (SCI_ADDUNDOACTION) whose token names the step. On undo or
// redo, Scintilla only reports passing over that action (SC_MOD_CONTAINER, handed
// here through passedOver()); once its undo or redo has returned, the text on the
// other side of the step is reloaded from its file with undo collection off, so the
// earlier and later steps still fit the text they were recorded on. The save point
// moves past a container action without the control saying so, so the modified
// state is read again after every command that may have moved it. A step whose
// files are gone (the bounded history dropped them, or a reload failed) cannot be
// crossed: the history is emptied, and since undo can then no longer reach the
// saved text, the document stays modified until it is saved.

#include <filesystem>

#include "editor/view_position.h"
#include "history/tool_history.h"
#include "text/text_format.h"

namespace orvex::gui {

class ToolUndo {
 public:
  // What the glue needs of the control that holds the text.
  class Control {
   public:
    // The control's own undo history and save point.
    virtual bool canUndo() const = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    virtual void addUndoAction(int token) = 0;
    virtual void emptyUndoBuffer() = 0;
    virtual void setSavePoint() = 0;
    virtual bool leftSavePoint() const = 0;
    // The format the document has now.
    virtual const TextFormat& format() const = 0;
    // Replaces the text with a snapshot's file, without undo collection and keeping
    // the history. Untouched: the file could not be opened, the text is as it was;
    // Broken: reading failed half-way.
    enum class Reload { Done, Untouched, Broken };
    virtual Reload reload(const Snapshot& text) = 0;
    virtual ViewPosition viewPosition() const = 0;
    virtual void restoreViewPosition(const ViewPosition& where) = 0;
    // isModified() changed.
    virtual void modifiedChanged(bool modified) = 0;

   protected:
    ~Control() = default;
  };

  // A fresh history belongs to a text just opened or created; any other emptying
  // leaves undo unable to reach the saved text, so the document stays modified.
  enum class HistoryEnd { FreshDocument, StepLost };
  enum class Step { Plain, Tool, ToolLost };

  // The texts of the tools' steps are kept in files under `directory`.
  ToolUndo(const std::filesystem::path& directory, Control& control);

  // The text a tool is about to change was saved as `before` (its file and
  // encodings); record() then adds the tool's step.
  void toolStarting(const Snapshot& before) { m_beforeTool = before; }
  // The tool has run: the text it started from is in the file `before`, its result
  // is `after`. Without room for the step the history is emptied.
  void record(const std::filesystem::path& before, const Snapshot& after);
  // The control's undo or redo has just passed over the tool step `token`.
  void passedOver(int token) { m_pendingStep = token; }

  // Undoes or redoes one step of the control's history, completing a tool's step.
  Step step(bool backwards);
  // Undoes the tool that has just run, and only that: false (nothing done) when the
  // last step is not a tool whose text the history still holds.
  bool undoTool();
  void forget(HistoryEnd end);

  bool isModified() const;
  void markSaved();
  // Reports isModified() when it changed since it was last reported.
  void refreshModified();

  void setLimits(ToolHistory::Limits limits) { m_history.setLimits(limits); }
  const ToolHistory& history() const { return m_history; }

 private:
  Control& m_control;
  ToolHistory m_history;
  int m_pendingStep = 0;  // the tool step an undo or redo has just passed over
  Snapshot m_beforeTool;
  TextFormat m_savedFormat;
  bool m_historyLost = false;
  bool m_reportedModified = false;

  bool reloadAcross(int step, bool backwards);
};

}  // namespace orvex::gui
