// The menu bar as data: every menu and item in order, the check marks and
// enabled states of the commands, and the items added at run time.
//
// The desktop builds its menu bar from MenuBar()/FindMenu(), shows the
// accelerator texts beside the items (the keys themselves travel through the
// keyboard map, not through menu shortcuts), mirrors the states kept here,
// and sends every chosen item to DispatchMenuCommand. A MenuObserver hears of
// every change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <span>
#include <string>
#include <vector>

#include "shell/commands.h"
#include "shell/menu_ids.h"

namespace lemmabox {

struct MenuItem {
  MenuCommandId id = 0;  // (menu << 8) | item, for separators and submenu entries too
  std::string text;      // "" for a separator
  CommandAction action = CommandAction::kNone;
  int32_t param = 0;
  int submenu = 0;  // the menu number this entry opens, 0 for a command
  bool separator = false;
  bool adHoc = false;  // added at run time
};

struct Menu {
  int number = 0;
  std::string title;
  std::vector<MenuItem> items;
};

// (Re)builds every menu from the program's definition: run-time items are
// dropped, every command is enabled and unchecked, and the initial states are
// applied. The About item names the program (string 342 unless told
// otherwise). The menus are built on first use.
void BuildMenus();
void BuildMenus(const std::string& programName);

// Every menu in numbering order, submenus included.
const std::vector<Menu>& AllMenus();
// The menus of the menu bar, left to right (File, Edit, Notebook, Manipulate,
// Graph, Help).
std::vector<int> MenuBar();
const Menu* FindMenu(int number);
const MenuItem* FindMenuItem(MenuCommandId id);

// --- States -------------------------------------------------------------------

void CheckMenuCommand(MenuCommandId id, bool on);
void EnableMenuCommand(MenuCommandId id, bool on);
bool IsMenuCommandChecked(MenuCommandId id);
bool IsMenuCommandEnabled(MenuCommandId id);

// The states a menu-bearing window starts with.
struct InitialMenuState {
  MenuCommandId id;
  bool enabled;
  bool checked;
};
std::span<const InitialMenuState> InitialMenuStates();
// Called when a notebook window is created: the listed commands that start
// disabled are disabled and those that start checked are checked.
void ApplyInitialMenuStates();

class MenuObserver {
 public:
  virtual ~MenuObserver() = default;
  virtual void MenuCommandStateChanged(MenuCommandId id) { (void)id; }
  // Items were added to, removed from or renamed in this menu.
  virtual void MenuItemsChanged(int menuNumber) { (void)menuNumber; }
};
void SetMenuObserver(MenuObserver* observer);

// --- Run-time items ------------------------------------------------------------

using AdHocCallback = void (*)(void* argument);
constexpr std::size_t kMaxAdHocTitleLength = 127;  // characters

struct AdHocMenuItem {
  int menuNumber = 0;
  MenuCommandId id = 0;
  std::string title;
  AdHocCallback callback = nullptr;
  void* argument = nullptr;
};

// Appends an item at the end of a menu and returns its id: the id of the
// menu's last item plus 1 (of the item before it when the last is a
// separator). Titles longer than 127 characters are cut. An unknown menu is the
// internal error "AddAdHocListItem"; a menu whose 255 item numbers are all in
// use raises 13121.
MenuCommandId AddAdHocMenuItem(int menuNumber, const std::string& title, AdHocCallback callback,
                               void* argument);
// Removes the item with this argument; an unknown one is the internal error
// "DeleteAdHocListItem".
void RemoveAdHocMenuItem(int menuNumber, void* argument);
// Checks or unchecks an item; an unknown one is the internal error
// "pSetCheckMenuItem".
void CheckAdHocMenuItem(int menuNumber, AdHocCallback callback, void* argument, bool on);
// Gives an item a new title; an unknown one is the internal error
// "RenameAdHocListItem".
void RenameAdHocMenuItem(int menuNumber, void* argument, const std::string& title);
// Every run-time item, in the order added.
const std::list<AdHocMenuItem>& AdHocMenuItems();
// The run-time item with this id in its own menu, or nullptr.
const AdHocMenuItem* FindAdHocMenuItem(MenuCommandId id);

// --- The Windows menu: one item per open notebook window --------------------------

// What choosing a window's item does; the desktop brings that window to the front.
void SetBringWindowToFront(void (*bringToFront)(void* window));
MenuCommandId AddWindowsMenuEntry(const std::string& title, void* window);
void RemoveWindowsMenuEntry(void* window);
void RenameWindowsMenuEntry(void* window, const std::string& title);
// Checks the front window's item and unchecks the others.
void MarkFrontWindowsMenuEntry(void* window);

}  // namespace lemmabox
