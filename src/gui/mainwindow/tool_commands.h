#pragma once
// The whole-document text tools: each runs an engine tool over the document through
// the line pipeline and the scratch files, with the busy cursor, the progress bar
// and the caret and view kept where they were. Also the fill dialog's questions,
// which the block fill shares.

#include <QObject>
#include <functional>
#include <optional>

#include "tools/fill_tool.h"

namespace orvex {
class DocumentTool;
class ScratchDirectory;
class ProgressListener;
}  // namespace orvex

namespace orvex::gui {

class CommandContext;
class DocumentSession;
class FillDialog;

class ToolCommands : public QObject {
  Q_OBJECT

 public:
  ToolCommands(const CommandContext& context, const ScratchDirectory& scratch, ProgressListener& progress,
               std::function<FillDialog&()> fillDialog, DocumentSession& session, QObject* parent);

  // Runs a text tool over the document; false when it failed (and said so).
  bool run(DocumentTool& tool);
  // The fill dialog, prepared by the caller; its parameters once accepted (the text
  // in UTF-8: the fill tools convert it to the document's encoding).
  std::optional<FillParameters> askFill();

  void toUpperCase();
  void toLowerCase();
  void sortAscending();
  void sortDescending();
  void removeDuplicates();
  void concatenateFile();
  void removeAccents();
  void removeBlanks();
  void padLines();
  void encrypt();
  void decrypt();
  void fill();
  void reverseSelection();

 signals:
  // A tool is about to change the document.
  void aboutToRun();
  // A tool has changed the number of lines.
  void lineCountChanged();

 private:
  const CommandContext& m_context;
  const ScratchDirectory& m_scratch;
  ProgressListener& m_progress;
  std::function<FillDialog&()> m_fillDialog;  // made on first use
  DocumentSession& m_session;
};

}  // namespace orvex::gui
