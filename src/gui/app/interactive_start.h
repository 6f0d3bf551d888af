#pragma once
// The interactive start-up: splash, windows, event loop.

#include <string>
#include <vector>

namespace orvex::gui {

// Runs the editor until its main window closes; `arguments` follow the program's
// name as the system gave them (none, or one file to open, whose name may not be UTF-8).
int runInteractive(int& argc, char** argv, const std::vector<std::string>& arguments);

}  // namespace orvex::gui
