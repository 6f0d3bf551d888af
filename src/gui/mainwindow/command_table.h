#pragma once
// The main window's commands as data: every menu item, pop-up item and tool-bar
// button with its object name, caption or hint, shortcut, handler and icon. Only
// menus and submenus have no handler.

#include <vector>

namespace orvex::gui {

class MainWindow;
using Handler = void (MainWindow::*)();

enum ItemFlags : unsigned {
  kPlain = 0,
  kSubmenu = 1,     // opens the entries of the next depth that follow it
  kCheckable = 2,
  kChecked = 4,
  kHidden = 8,      // not shown, but its shortcut works
  kSeparator = 16,
};

struct MenuEntry {
  int depth;  // 0: a top-level menu; 1: its item; 2: an item of a submenu
  const char* name;
  const char* caption;
  const char* shortcut;
  Handler handler;
  unsigned flags;
  const char* icon;  // a theme icon's name, or one of our own (":/icons/...")
};

struct ButtonEntry {
  const char* name;
  const char* hint;
  const char* icon;  // as for the menus
  Handler handler;
  bool gapBefore;
};

const std::vector<MenuEntry>& mainMenuEntries();
const std::vector<MenuEntry>& popupMenuEntries();
const std::vector<ButtonEntry>& editBarButtons();
const std::vector<ButtonEntry>& toolsBarButtons();
const std::vector<ButtonEntry>& blockBarButtons();

}  // namespace orvex::gui
