#include "app/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "app/entry_guard.h"
#include "shell/charset.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

// Items whose check mark the shell keeps: toggles, the choices of a group,
// and the windows of the Windows menu.
bool IsCheckable(const MenuItem& item) {
  switch (item.action) {
    case CommandAction::kToggle:
    case CommandAction::kSetDisplayPrecision:
    case CommandAction::kSetIconMode:
    case CommandAction::kTogglePalette:
      return true;
    case CommandAction::kPerformCode:
      return ProgramLevelCommand(static_cast<CommandCode>(item.param)).action ==
             CommandAction::kToggle;
    default:
      return item.adHoc || IsMenuCommandChecked(item.id);
  }
}

// Ampersands in run-time titles (file names) are shown, not mnemonics.
QString Escaped(const QString& text) {
  QString escaped = text;
  escaped.replace("&", "&&");
  return escaped;
}

void Choose(MenuCommandId id) {
  RunCommand([id] { DispatchMenuCommand(id, CommandSource::kMenu); });
}

}  // namespace

MenuBarMirror& MenuBarMirror::Instance() {
  static MenuBarMirror mirror;
  return mirror;
}

void MenuBarMirror::Install() {
  SetMenuObserver(this);
}

void MenuBarMirror::Uninstall() {
  SetMenuObserver(nullptr);
  bars_.clear();
}

QString MenuBarMirror::ItemText(const MenuItem& item) {
  QString text = QString::fromStdString(ProgramTextToUtf8(item.text));
  if (item.adHoc) text = Escaped(text);
  const std::string accelerator = MenuAcceleratorText(item.id);
  if (!accelerator.empty()) text += "\t" + QString::fromStdString(accelerator);
  return text;
}

void MenuBarMirror::Fill(Bar& bar, QMenu* menu, int number) {
  const Menu* definition = FindMenu(number);
  if (!definition) return;
  bar.menus[number] = menu;
  for (const MenuItem& item : definition->items) {
    if (item.separator) {
      menu->addSeparator();
      continue;
    }
    if (item.submenu != 0) {
      const Menu* sub = FindMenu(item.submenu);
      QMenu* child = menu->addMenu(QString::fromStdString(sub ? sub->title : item.text));
      child->setObjectName(QString("menu%1").arg(item.submenu));
      Fill(bar, child, item.submenu);
      continue;
    }
    QAction* action = menu->addAction(ItemText(item));
    action->setData(int(item.id));
    action->setCheckable(IsCheckable(item));
    action->setChecked(IsMenuCommandChecked(item.id));
    action->setEnabled(IsMenuCommandEnabled(item.id));
    const MenuCommandId id = item.id;
    QObject::connect(action, &QAction::triggered, [id] {
      Choose(id);
      // The shell decides the mark, not the click.
      for (QAction* each : MenuBarMirror::Instance().ActionsFor(id)) {
        each->setChecked(IsMenuCommandChecked(id));
      }
    });
  }
}

QMenuBar* MenuBarMirror::BuildMenuBar(QWidget* parent) {
  Prune();
  auto* menuBar = new QMenuBar(parent);
  menuBar->setNativeMenuBar(false);
  Bar bar;
  bar.bar = menuBar;
  for (int number : MenuBar()) {
    const Menu* definition = FindMenu(number);
    if (!definition) continue;
    QMenu* menu = menuBar->addMenu(QString::fromStdString(definition->title));
    menu->setObjectName(QString("menu%1").arg(number));
    Fill(bar, menu, number);
  }
  bars_.push_back(std::move(bar));
  return menuBar;
}

void MenuBarMirror::Prune() {
  bars_.erase(std::remove_if(bars_.begin(), bars_.end(), [](const Bar& bar) { return !bar.bar; }),
              bars_.end());
}

std::vector<QAction*> MenuBarMirror::ActionsFor(MenuCommandId id) {
  Prune();
  std::vector<QAction*> actions;
  const int number = MenuNumberOf(id);
  for (Bar& bar : bars_) {
    auto found = bar.menus.find(number);
    if (found == bar.menus.end() || !found->second) continue;
    for (QAction* action : found->second->actions()) {
      if (!action->isSeparator() && !action->menu() && action->data().toInt() == int(id)) {
        actions.push_back(action);
      }
    }
  }
  return actions;
}

void MenuBarMirror::MenuCommandStateChanged(MenuCommandId id) {
  const bool checked = IsMenuCommandChecked(id);
  const bool enabled = IsMenuCommandEnabled(id);
  for (QAction* action : ActionsFor(id)) {
    if (checked && !action->isCheckable()) action->setCheckable(true);
    action->setChecked(checked);
    action->setEnabled(enabled);
  }
}

void MenuBarMirror::MenuItemsChanged(int menuNumber) {
  Prune();
  for (Bar& bar : bars_) {
    auto found = bar.menus.find(menuNumber);
    if (found == bar.menus.end() || !found->second) continue;
    QMenu* menu = found->second;
    // The submenus inside are rebuilt with it.
    for (QAction* action : menu->actions()) {
      if (QMenu* sub = action->menu()) sub->deleteLater();
    }
    menu->clear();
    Fill(bar, menu, menuNumber);
  }
}

}  // namespace lemmabox
