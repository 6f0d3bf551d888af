#include "mainwindow/command_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "components/command_icons.h"

namespace orvex::gui {

namespace {

QAction* makeAction(const char* name, const char* text, const Command& command, QObject* owner, const RunCommand& run) {
  auto* action = new QAction(QString::fromUtf8(text), owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setIcon(commandIcon(command.icon));
  QObject::connect(action, &QAction::triggered, action, [run, handler = command.handler] { run(handler); });
  return action;
}

QMenu* addSubmenu(QMenu* parent, const MenuEntry& entry) {
  QMenu* submenu = parent->addMenu(commandIcon(entry.icon), QString::fromUtf8(entry.text));
  submenu->setObjectName(QString::fromLatin1(entry.name));
  submenu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
  return submenu;
}

// A main-menu item carries its command's shortcut and check state; a hidden one
// is added to `window` instead of its menu.
void addCommandItem(QMenu* parent, QWidget* window, const MenuEntry& entry, const RunCommand& run) {
  const Command& command = *findCommand(entry.command);
  QAction* action = makeAction(entry.name, menuText(entry), command, parent, run);
  if (!window) {
    parent->addAction(action);
    return;
  }
  if (command.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
  action->setCheckable(command.flags & kCheckable);
  action->setChecked(command.flags & kChecked);
  if (command.flags & kHidden)
    window->addAction(action);
  else
    parent->addAction(action);
}

// `stack` holds the open menus, the one of depth d at index d - 1; `window` is
// null outside the main menu.
void addEntries(std::vector<QMenu*> stack, QMainWindow* window, const std::vector<MenuEntry>& entries,
                const RunCommand& run) {
  for (const MenuEntry& entry : entries) {
    if (entry.depth == 0) {
      QMenu* menu = window->menuBar()->addMenu(QString::fromUtf8(entry.text));
      menu->setObjectName(QString::fromLatin1(entry.name));
      menu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
      stack = {menu};
      continue;
    }
    stack.resize(static_cast<std::size_t>(entry.depth));
    QMenu* parent = stack.back();
    switch (entry.kind) {
      case MenuItemKind::Separator: parent->addSeparator(); break;
      case MenuItemKind::Submenu: stack.push_back(addSubmenu(parent, entry)); break;
      case MenuItemKind::Command: addCommandItem(parent, window, entry, run); break;
    }
  }
}

}  // namespace

void addMainMenu(QMainWindow* window, const RunCommand& run) { addEntries({}, window, mainMenuEntries(), run); }

void addMenuEntries(QMenu* root, const std::vector<MenuEntry>& entries, const RunCommand& run) {
  addEntries({root}, nullptr, entries, run);
}

void addButtons(QToolBar* bar, const std::vector<ButtonEntry>& buttons, const RunCommand& run) {
  for (const ButtonEntry& button : buttons) {
    if (button.gapBefore) bar->addSeparator();
    QAction* action = makeAction(button.name, button.hint, *findCommand(button.command), bar, run);
    action->setToolTip(QString::fromUtf8(button.hint));
    bar->addAction(action);
    bar->widgetForAction(action)->setObjectName(QString::fromLatin1(button.name));
  }
}

QList<QKeySequence> mainMenuShortcuts() {
  QList<QKeySequence> keys;
  for (const MenuEntry& entry : mainMenuEntries())
    if (entry.kind == MenuItemKind::Command)
      if (const char* shortcut = findCommand(entry.command)->shortcut)
        keys << QKeySequence(QString::fromLatin1(shortcut));
  return keys;
}

}  // namespace orvex::gui
