#pragma once
// The interactive start-up: splash, windows, event loop.

#include <QStringList>

namespace orvex::gui {

// Runs the editor until its main window closes; `arguments` follow the program's
// name (none, or one file to open).
int runInteractive(int& argc, char** argv, const QStringList& arguments);

}  // namespace orvex::gui
