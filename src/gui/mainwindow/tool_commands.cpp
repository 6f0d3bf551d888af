// The text-tool commands: each runs an engine tool over the document through the
// scratch files, with the busy cursor and the progress bar.

#include "mainwindow/tool_commands.h"

#include "components/busy_cursor.h"
#include "editor/document_editor.h"
#include "mainwindow/command_context.h"
#include "mainwindow/document_session.h"
#include "paths/program_paths.h"
#include "pipeline/line_pipeline.h"
#include "services/ui_services.h"
#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/concatenation.h"
#include "tools/fill_tool.h"
#include "tools/line_edit_tools.h"
#include "tools/sort_tool.h"
#include "windows/fill_dialog.h"

namespace orvex::gui {

namespace {
const QString kDuplicateWarning = QStringLiteral(
    "Cette fonction permet de supprimer les lignes consécutives équivalantes.\n\r"
    "Par conséquent, en fonction de vos besoins, si vous souhaitez enlever tous \n\r"
    "les doublons du fichier, veuillez au préalable trier le fichier.");
}  // namespace

ToolCommands::ToolCommands(const CommandContext& context, const ScratchDirectory& scratch, ProgressListener& progress,
                           std::function<FillDialog&()> fillDialog, DocumentSession& session, QObject* parent)
    : QObject(parent),
      m_context(context),
      m_scratch(scratch),
      m_progress(progress),
      m_fillDialog(std::move(fillDialog)),
      m_session(session) {}

bool ToolCommands::run(DocumentTool& tool) {
  emit aboutToRun();
  Status status;
  {
    const BusyCursor busy;
    const ViewPosition where = m_context.editor().viewPosition();
    status = runLinePipeline(m_context.editor(), tool, m_scratch, &m_progress);
    m_context.editor().restoreViewPosition(where);
  }
  if (!status.ok()) {
    m_context.reportError(status.error);
    return false;
  }
  if (tool.variation().rewritesLineCount) emit lineCountChanged();
  return true;
}

void ToolCommands::toUpperCase() {
  CaseTool tool(LetterCase::Upper);
  run(tool);
}

void ToolCommands::toLowerCase() {
  CaseTool tool(LetterCase::Lower);
  run(tool);
}

void ToolCommands::sortAscending() {
  SortTool tool(SortOrder::Ascending);
  run(tool);
}

void ToolCommands::sortDescending() {
  SortTool tool(SortOrder::Descending);
  run(tool);
}

void ToolCommands::removeDuplicates() {
  m_context.ui().showMessage(QStringLiteral("Avertissement"), kDuplicateWarning, MessageIcon::Warning);
  DuplicateTool tool;
  run(tool);
}

void ToolCommands::concatenateFile() {
  const std::optional<std::filesystem::path> chosen = m_session.chooseFileToOpen();
  if (!chosen) return;
  ConcatenationTool tool(*chosen, m_context.editor().shownEncoding());
  run(tool);
}

void ToolCommands::removeAccents() {
  AccentTool tool(m_context.editor().shownEncoding());
  run(tool);
}

void ToolCommands::removeBlanks() {
  BlankTool tool;
  run(tool);
}

void ToolCommands::padLines() {
  PaddingTool tool(m_context.editor().shownEncoding());
  run(tool);
}

void ToolCommands::encrypt() {
  CipherTool tool(CipherDirection::Encrypt);
  run(tool);
}

void ToolCommands::decrypt() {
  CipherTool tool(CipherDirection::Decrypt);
  run(tool);
}

std::optional<FillParameters> ToolCommands::askFill() {
  FillDialog& dialog = m_fillDialog();
  m_context.ui().runModal(dialog);
  if (!dialog.accepted()) return std::nullopt;
  return dialog.parameters();
}

void ToolCommands::fill() {
  m_fillDialog().prepareFill(m_context.editor().caretColumn(),
                             static_cast<std::int64_t>(m_context.editor().lineCount()),
                             m_context.editor().longestLineLength());
  std::optional<FillParameters> parameters = askFill();
  if (!parameters) return;
  FillTool tool(std::move(*parameters), m_context.editor().shownEncoding());
  run(tool);
}

void ToolCommands::reverseSelection() {
  const std::string selected = m_context.editor().selectedText();
  if (!isReversible(selected)) return;
  const BusyCursor busy;
  m_context.editor().replaceSelection(reverseText(selected, Encoding::Utf8));
}

}  // namespace orvex::gui
