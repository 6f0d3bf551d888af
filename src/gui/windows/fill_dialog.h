#pragma once
// The fill dialog `FillDialog` ("Remplir"): the text to insert, its column, the range of
// lines and the running number. It only gathers the parameters; the fill itself is
// the engine's fill tool.

#include <QDialog>

#include "tools/fill_tool.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace orvex::gui {

class FillDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FillDialog(QWidget* parent = nullptr);

  // A normal opening: the column at the caret, every line, no length limit, the
  // column and line controls enabled. The column goes up to the larger of 32767 and
  // one past the longest line, the lines up to the document's count.
  void prepareFill(std::int64_t caretColumn, std::int64_t lineCount, std::int64_t longestLine);
  // The fill of a block: column and lines fixed to the block's, the text held to the
  // block's width (and padded to it on "&Ok").
  void prepareBlockFill(std::int64_t startColumn, std::int64_t startLine, std::int64_t endLine, std::int64_t width);

  // "&Ok" closed the dialog the last time it was shown.
  bool accepted() const { return m_accepted; }
  FillParameters parameters() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void accept() override;
  void setRangeControlsEnabled(bool enabled);
  QWidget* insertionBox();
  QWidget* numberingBox();
  QLayout* buttonRow();

  QLineEdit* m_text;
  QSpinBox* m_column;     // column
  QSpinBox* m_firstLine;  // first line
  QSpinBox* m_lastLine;   // last line
  QCheckBox* m_increment;
  QSpinBox* m_start;  // start number
  QSpinBox* m_step;   // increment
  int m_blockWidth = 0;
  bool m_accepted = false;  // 0: no block fill
};

}  // namespace orvex::gui
