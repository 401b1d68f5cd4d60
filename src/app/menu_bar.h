// The menu bars of the notebook windows, built from the shell's menu table.
//
// Every notebook window carries a bar with every menu and item of the
// table, in order, with its separators and submenus; the keystroke that
// performs an item is shown beside it as text (the keys themselves travel
// through the keyboard map, not through menu shortcuts). The check marks and
// enabled states are the shell's: the mirror hears every change and brings
// every bar in step. A chosen item goes to DispatchMenuCommand.
#pragma once

#include <QPointer>
#include <map>
#include <vector>

#include "shell/menus.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace lemmabox {

class MenuBarMirror : public MenuObserver {
 public:
  static MenuBarMirror& Instance();

  // Hears the shell's menu changes from now on.
  void Install();
  void Uninstall();

  // A new bar for a notebook window, kept in step until it is destroyed.
  QMenuBar* BuildMenuBar(QWidget* parent);

  void MenuCommandStateChanged(MenuCommandId id) override;
  void MenuItemsChanged(int menuNumber) override;

  // The actions of every bar for an id (tests look at them).
  std::vector<QAction*> ActionsFor(MenuCommandId id);

  // The text a menu item shows: its words and, after a tab, its keystroke.
  static QString ItemText(const MenuItem& item);

 private:
  struct Bar {
    QPointer<QMenuBar> bar;
    std::map<int, QPointer<QMenu>> menus;
  };

  void Fill(Bar& bar, QMenu* menu, int number);
  void Prune();

  std::vector<Bar> bars_;
};

}  // namespace lemmabox
