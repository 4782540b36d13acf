// The main window's command table: every menu, menu item, context-menu item
// and tool button with its caption, shortcut and hint, in display order.
// The window builds its menus and tool bar from these rows; a command whose
// subsystem is not built yet is listed in kPendingCommands and stays
// disabled, so each subsystem switches its own commands on by removing them.
#pragma once

#include <string_view>
#include <vector>

namespace tabulo::app {

struct MenuItemRow {
    std::string_view menu;      // name of the menu holding the item ("PopupMenu1" for the context menu)
    std::string_view name;      // component name, e.g. "New1"
    std::string_view caption;
    std::string_view shortcut;  // in QKeySequence portable text, empty for none
    std::string_view hint;      // status tip, empty for none
    std::string_view parent;    // submenu owner ("SJIS1", "ReOpen"), empty for a menu's own item
    bool separatorBefore = false;
};

struct MenuRow {
    std::string_view name;      // "File1"
    std::string_view caption;   // "ファイル(&F)"
    std::string_view hint;
};

struct ToolButtonRow {
    std::string_view name;      // "_New1"
    std::string_view glyph;     // the short text the button shows
    std::string_view hint;
    std::string_view command;   // the menu item it runs, or itself for buttons without one
    int group;                  // buttons of one group sit in one frame
    bool toggle = false;
};

const std::vector<MenuRow>& menuRows();
const std::vector<MenuItemRow>& menuItemRows();
const std::vector<ToolButtonRow>& toolButtonRows();

// Commands (menu items and tool buttons by name) whose subsystems are not
// built yet: present everywhere, always disabled.
const std::vector<std::string_view>& pendingCommands();
bool isPending(std::string_view name);

// Items and buttons disabled at start.
const std::vector<std::string_view>& disabledAtStart();

}  // namespace tabulo::app
