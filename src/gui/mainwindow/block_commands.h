#pragma once
// The column block commands: the block marked by its start and end (the two labels
// that show them and the box the editor draws on its cells), copy, cut, paste and
// delete through the block clipboard bloc.txt, a file inserted as a column, the fill
// of a block and the indents. Each change of the text is a text tool, so one undo
// step.

#include <QObject>
#include <filesystem>
#include <functional>

#include "editing/block_operations.h"
#include "io/file_handle.h"
#include "paths/program_paths.h"

class QLabel;

namespace orvex {
class ProgressListener;
}

namespace orvex::gui {

class CommandContext;
class DocumentSession;
class FillDialog;
class ToolCommands;

class BlockCommands : public QObject {
  Q_OBJECT

 public:
  // `showBlockBar` brings the block bar into view, as marking a block does.
  BlockCommands(const CommandContext& context, const ProgramPaths& paths, const ScratchDirectory& scratch,
                ProgressListener& progress, ToolCommands& tools, std::function<FillDialog&()> fillDialog,
                DocumentSession& session, QLabel& startLabel, QLabel& endLabel, std::function<void()> showBlockBar,
                QObject* parent);

  const BlockAnchor& anchor() const { return m_anchor; }

  void markStart();
  void markEnd();
  void copyToClipboard();
  void cut();
  void paste();
  void remove();
  void insertFile();
  void fill();
  void indentLeft();
  void indentRight();

 private:
  // Says so when no block is marked.
  bool requireBlock();
  void insertColumn(const std::filesystem::path& source, LinkPolicy links);
  void indent(IndentDirection direction);

  const CommandContext& m_context;
  const ProgramPaths& m_paths;
  const ScratchDirectory& m_scratch;
  ProgressListener& m_progress;
  ToolCommands& m_tools;
  std::function<FillDialog&()> m_fillDialog;  // made on first use
  DocumentSession& m_session;
  QLabel& m_startLabel;
  QLabel& m_endLabel;
  std::function<void()> m_showBlockBar;
  BlockAnchor m_anchor;
};

}  // namespace orvex::gui
