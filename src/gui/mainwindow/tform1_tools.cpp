// The text-tool commands: each runs an engine tool over the document through the
// scratch files, with the busy cursor and the progress bar.

#include <QApplication>

#include "editor/document_editor.h"
#include "mainwindow/progress_bar_listener.h"
#include "mainwindow/tform1.h"
#include "pipeline/line_pipeline.h"
#include "services/ui_services.h"
#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/fill_tool.h"
#include "windows/fill_dialog.h"
#include "tools/concatenation.h"
#include "tools/line_edit_tools.h"
#include "tools/sort_tool.h"

namespace orvex::gui {

namespace {
const QString kDuplicateWarning = QStringLiteral(
    "Cette fonction permet de supprimer les lignes consécutives équivalantes.\n\r"
    "Par conséquent, en fonction de vos besoins, si vous souhaitez enlever tous \n\r"
    "les doublons du fichier, veuillez au préalable trier le fichier.");
}  // namespace

bool TForm1::runTool(DocumentTool& tool) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ViewPosition where = editeur->viewPosition();
  const Status status = runLinePipeline(*editeur, tool, m_scratch, m_progress.get());
  editeur->restoreViewPosition(where);
  QApplication::restoreOverrideCursor();
  if (!status.ok()) {
    reportError(QString::fromStdString(status.error));
    return false;
  }
  if (tool.variation().rewritesLineCount) refreshLineCount();
  editeurChange();
  return true;
}

void TForm1::Metteenmajuscules1Click() {
  CaseTool tool(LetterCase::Upper);
  runTool(tool);
}

void TForm1::Metteenminuscules1Click() {
  CaseTool tool(LetterCase::Lower);
  runTool(tool);
}

void TForm1::Ascendant1Click() {
  SortTool tool(TTriStyle::triCroissant);
  runTool(tool);
}

void TForm1::Descendant1Click() {
  SortTool tool(TTriStyle::triDecroissant);
  runTool(tool);
}

void TForm1::Suppressiondesdoublons1Click() {
  m_ui.showMessage(QStringLiteral("Avertissement"), kDuplicateWarning, MessageIcon::Warning);
  DuplicateTool tool;
  runTool(tool);
}

void TForm1::Concatneravecunautrefichier1Click() {
  const std::optional<std::filesystem::path> chosen = chooseFileToOpen();
  if (!chosen) return;
  ConcatenationTool tool(*chosen, editeur->shownEncoding());
  runTool(tool);
}

void TForm1::Enleverlesaccents1Click() {
  AccentTool tool(editeur->shownEncoding());
  runTool(tool);
}

void TForm1::Enleverlesblancs1Click() {
  BlankTool tool;
  runTool(tool);
}

void TForm1::Taillertouteslesligneslataillemaxi1Click() {
  PaddingTool tool(editeur->shownEncoding());
  runTool(tool);
}

void TForm1::Crypter2Click() {
  CipherTool tool(CipherDirection::Encrypt);
  runTool(tool);
}

void TForm1::Dcrypter1Click() {
  CipherTool tool(CipherDirection::Decrypt);
  runTool(tool);
}

std::optional<TForm1::FillRun> TForm1::askFill() {
  if (!BlockFillMode)
    Form2->prepareFill(editeur->caretColumn(), static_cast<std::int64_t>(editeur->lineCount()),
                       editeur->longestLineLength());
  m_ui.runModal(*Form2);
  if (!Form2->FillAccepted) return std::nullopt;
  return FillRun{Form2->parameters()};
}

void TForm1::Remplir1Click() {
  std::optional<FillRun> run = askFill();
  if (!run) return;
  FillTool tool(std::move(run->parameters), editeur->shownEncoding());
  runTool(tool);
}

void TForm1::Inverserlaselection1Click() {
  const std::string selected = editeur->selectedText();
  if (!isReversible(selected)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  editeur->replaceSelection(reverseText(selected, Encoding::Utf8));
  editeurChange();
  QApplication::restoreOverrideCursor();
}

}  // namespace orvex::gui
