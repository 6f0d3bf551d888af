#pragma once
// Turns the command table into Qt actions: one QAction for each placement of a
// command (the places name their actions differently), each running the command's
// handler through `run`.

#include <QKeySequence>
#include <QList>
#include <functional>
#include <vector>

#include "mainwindow/command_table.h"

class QMainWindow;
class QMenu;
class QToolBar;

namespace orvex::gui {

using RunCommand = std::function<void(Handler)>;

// The main menu in `window`'s menu bar; hidden items are added to the window itself,
// where their shortcuts still work.
void addMainMenu(QMainWindow* window, const RunCommand& run);
// The entries of depth 1 and more under `root` (the pop-up menu).
void addMenuEntries(QMenu* root, const std::vector<MenuEntry>& entries, const RunCommand& run);
void addButtons(QToolBar* bar, const std::vector<ButtonEntry>& buttons, const RunCommand& run);
// The shortcuts of the main menu, which the editor leaves to the menus.
QList<QKeySequence> mainMenuShortcuts();

}  // namespace orvex::gui
