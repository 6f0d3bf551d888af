#pragma once
// The open dialog behind the "->" button beside "Exécutable :": it lists the folders
// and the files the user may run, and nothing else.

#include <QFileDialog>
#include <QFileInfo>
#include <memory>

namespace orvex::gui {

// Whether the dialog lists `entry`: a folder to go through, or a file the user may
// run (a link counts as what it points to).
bool isProgramChoice(const QFileInfo& entry);

// The dialog, opening in `directory`, under the filter name "Exécutables".
std::unique_ptr<QFileDialog> createProgramDialog(QWidget* parent, const QString& directory);

}  // namespace orvex::gui
