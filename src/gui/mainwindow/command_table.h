#pragma once
// The main window's commands as data. Each command has one row: its id, the caption
// its menu item shows, shortcut, icon, handler and flags. The places where commands
// appear (the main menu, the pop-up menu and the three tool bars) name commands by
// id; each placement holds only what differs from place to place: its object name,
// and a text where the place shows another one than the command's caption (the
// buttons' hints). Menus, submenus and separators are structural entries of the
// menu trees. The shortcut and check state belong to the main menu's item: pop-up
// items and buttons only run the command.

#include <string_view>
#include <vector>

namespace orvex::gui {

class WindowCommands;
using Handler = void (WindowCommands::*)();

enum CommandFlags : unsigned {
  kPlain = 0,
  kCheckable = 1,
  kChecked = 2,
  kHidden = 4,  // kept out of the menu, but its shortcut works
};

struct Command {
  const char* id;
  const char* caption;   // the menu item's text; none for a command only on a tool bar
  const char* shortcut;  // a QKeySequence text, or none
  const char* icon;      // a theme icon's name, or one of our own (":/icons/...")
  Handler handler;
  unsigned flags;
};

enum class MenuItemKind { Command, Submenu, Separator };

struct MenuEntry {
  int depth;  // 0: a top-level menu (always a submenu); 1: its item; 2: an item of a submenu...
  MenuItemKind kind;
  const char* name;     // the object name of the item or the submenu
  const char* command;  // a command's id, for a command
  const char* text;     // a submenu's caption; for a command, none unless it differs from the caption
  const char* icon;     // a submenu's icon (a command's comes from its row)
};

struct ButtonEntry {
  const char* name;     // the object name of the action and of its tool button
  const char* command;  // a command's id
  const char* hint;     // the button's text and tool tip
  bool gapBefore;
};

const std::vector<Command>& commands();
// The command with this id, or null.
const Command* findCommand(std::string_view id);
// The text a menu entry shows: its own, or else its command's caption.
const char* menuText(const MenuEntry& entry);

const std::vector<MenuEntry>& mainMenuEntries();
const std::vector<MenuEntry>& popupMenuEntries();
const std::vector<ButtonEntry>& editBarButtons();
const std::vector<ButtonEntry>& toolsBarButtons();
const std::vector<ButtonEntry>& blockBarButtons();

}  // namespace orvex::gui
