// The menu bar of a notebook window against the shell's menu table: every
// menu, item, separator and submenu in order, the keys shown beside items,
// the states mirrored both ways, and the Windows menu.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/documents.h"
#include "app/menu_bar.h"
#include "app/notebook_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "shell/menus.h"

namespace lemmabox::testing {
namespace {

// Compares a Qt menu with the shell's menu of that number, submenus
// included; returns "" or a description of the first difference.
QString Compare(QMenu* menu, int number) {
  const Menu* definition = FindMenu(number);
  if (!definition) return QString("no menu %1").arg(number);
  const QList<QAction*> actions = menu->actions();
  if (actions.size() != int(definition->items.size())) {
    return QString("menu %1 has %2 entries, the table %3")
        .arg(number)
        .arg(actions.size())
        .arg(definition->items.size());
  }
  for (int i = 0; i < actions.size(); ++i) {
    const MenuItem& item = definition->items[size_t(i)];
    QAction* action = actions[i];
    const QString where = QString("menu %1 item %2").arg(number).arg(i + 1);
    if (item.separator != action->isSeparator()) return where + ": separator";
    if (item.separator) continue;
    if (item.submenu != 0) {
      if (!action->menu()) return where + ": not a submenu";
      if (action->text() != QString::fromStdString(FindMenu(item.submenu)->title)) {
        return where + ": submenu title " + action->text();
      }
      const QString inner = Compare(action->menu(), item.submenu);
      if (!inner.isEmpty()) return inner;
      continue;
    }
    if (action->data().toInt() != item.id) return where + ": id";
    if (action->text() != MenuBarMirror::ItemText(item)) return where + ": text " + action->text();
    if (action->isEnabled() != IsMenuCommandEnabled(item.id)) return where + ": enabled";
    if (action->isChecked() != IsMenuCommandChecked(item.id)) return where + ": checked";
  }
  return QString();
}

class MenuTest : public QObject {
  Q_OBJECT

 private slots:
  void barMatchesTable() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    QMenuBar* bar = FrontNotebookWindow()->menuBar();
    const QList<QAction*> menus = bar->actions();
    const std::vector<int> numbers = MenuBar();
    QCOMPARE(menus.size(), int(numbers.size()));
    for (int i = 0; i < menus.size(); ++i) {
      QCOMPARE(menus[i]->text(), QString::fromStdString(FindMenu(numbers[size_t(i)])->title));
      const QString difference = Compare(menus[i]->menu(), numbers[size_t(i)]);
      QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    QCOMPARE(menus.last()->text(), QString("&Help"));
  }

  // The keys shown beside items come from the keystroke table.
  void acceleratorTexts_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("undo") << int(kMenuUndo) << "Undo\tCtrl+Z";
    QTest::newRow("exit") << int(kMenuExit) << "Exit\tAlt+F4";
    QTest::newRow("simplify") << int(kMenuSimplify) << "Simplify\tF11";
    QTest::newRow("no key") << int(kMenuRevertToSaved) << "Revert to Saved";
    QTest::newRow("about") << int(kMenuAbout) << "&About Lemmabox...";
  }
  void acceleratorTexts() {
    QFETCH(int, id);
    QFETCH(QString, text);
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    const std::vector<QAction*> actions = MenuBarMirror::Instance().ActionsFor(MenuCommandId(id));
    QCOMPARE(actions.size(), size_t(1));
    QCOMPARE(actions[0]->text(), text);
  }

  // States set by the shell show in every bar; a toggle chosen from the menu
  // flips the front notebook's preference and its mark follows.
  void statesMirrored() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "a.axn"), MakeNotebookFile(dir, "b.axn")}));
    EnableMenuCommand(kMenuFindGraphRoot, false);
    for (QAction* action : MenuBarMirror::Instance().ActionsFor(kMenuFindGraphRoot)) {
      QVERIFY(!action->isEnabled());
    }
    EnableMenuCommand(kMenuFindGraphRoot, true);
    NotebookRecord& record = NotebookRecordOf(FrontNotebookWindow()->Root());
    const bool before = record.prefs.autoSimplify != 0;
    std::vector<QAction*> actions = MenuBarMirror::Instance().ActionsFor(kMenuAutoSimplify);
    QCOMPARE(actions.size(), size_t(2));
    QCOMPARE(actions[0]->isChecked(), before);
    actions[1]->trigger();
    QCOMPARE(record.prefs.autoSimplify != 0, !before);
    for (QAction* action : actions) QCOMPARE(action->isChecked(), !before);
    QVERIFY(record.changed != 0);
  }

  // One Windows menu entry per notebook window, the front one checked;
  // choosing an entry brings its window to the front.
  void windowsMenu() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "a&b.axn"), MakeNotebookFile(dir, "c.axn")}));
    QMenu* windows = FrontNotebookWindow()->menuBar()->findChild<QMenu*>("menu7");
    QVERIFY(windows);
    QStringList titles;
    QAction* first = nullptr;
    for (QAction* action : windows->actions()) {
      if (action->isSeparator() || action->data().toInt() == kMenuPalette) continue;
      titles << action->text();
      if (!first) first = action;
    }
    QCOMPARE(titles, (QStringList{"a&&b.axn", "c.axn"}));
    QVERIFY(FrontNotebookWindow()->windowTitle() == "c.axn");
    first->trigger();
    QCOMPARE(FrontNotebookWindow()->windowTitle(), QString("a&b.axn"));
    QVERIFY(first->isChecked());
  }
};

}  // namespace

std::unique_ptr<QObject> MakeMenuTest() {
  return std::make_unique<MenuTest>();
}

}  // namespace lemmabox::testing

#include "menu_test.moc"
