#pragma once
// The status bar's panels that follow the document: the line count and selection,
// "Modifié", the caret's place and the format. They follow the editor's signals;
// the window asks for a refresh after the changes that send none.

#include <QObject>

namespace orvex::gui {

class DocumentEditor;
class StatusBar;

class DocumentStatus : public QObject {
  Q_OBJECT

 public:
  DocumentStatus(DocumentEditor& editor, StatusBar& panels, QObject* parent = nullptr);

  void refreshModified();
  void refreshCaret();
  void refreshLineCount();
  // The document's encoding and line break.
  void refreshFormat();
  void refreshAll();

 private:
  DocumentEditor& m_editor;
  StatusBar& m_panels;
};

}  // namespace orvex::gui
