// The menus as data: ids, order, states and the items added at run time.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "shell/messages.h"
#include "shell/routing_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::RoutingTest;

std::string TextOf(MenuCommandId id) {
  const MenuItem* item = FindMenuItem(id);
  return item ? item->text : "<none>";
}

TEST_F(RoutingTest, ItemIdsAreMenuNumberAndPosition) {
  for (const Menu& menu : AllMenus()) {
    int first = menu.number == kMenuHelp ? 0xF0 : 1;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
      EXPECT_EQ(MenuCommandOf(menu.number, first + static_cast<int>(i)), menu.items[i].id)
          << menu.title << " item " << i;
    }
  }
  struct Case {
    MenuCommandId id;
    const char* text;
  } cases[] = {
      {257, "New Notebook"},
      {262, "Save as..."},
      {270, "Exit"},
      {513, "Undo"},
      {518, "Copy HTML Tag"},
      {525, "Comment Font..."},
      {769, "Plain"},
      {773, "Underline"},
      {1025, "White"},
      {1030, "Red"},
      {1039, "Camel"},
      {1040, "Brown"},
      {1042, "Other..."},
      {1283, "Enter Key..."},
      {1537, "Clarify"},
      {1546, "Lock Proposition"},
      {1549, "Make Working Stmt"},
      {1553, "Get Info..."},
      {1556, "Notebook Font..."},
      {1793, "Palette"},
      {2049, "Row/Column Number..."},
      {2056, "Independence Decl."},
      {2305, "1 digit"},
      {2312, "8 digits"},
      {2313, "10 digits"},
      {2314, "15 digits"},
      {2563, "Show Steps"},
      {2818, "Unless Printing"},
      {3073, "Calculate"},
      {3081, "Apply"},
      {3082, "Transform"},
      {3085, "Find Graph Root"},
      {3089, "Always ReManipulate"},
      {3092, "Divert Cascade"},
      {3332, "Substitute"},
      {3334, "Int. by Parts"},
      {3337, "Move Over"},
      {3587, "Integrate Differential Equation..."},
      {3590, "Inverse Fourier Transform"},
      {3843, "Auto Collapsar"},
      {3846, "Numeric Integration..."},
      {4104, "Generate EPS File..."},
      {4108, "Redraw Now"},
      {4111, "Drawing &Prefs..."},
      {4353, "Linear"},
      {4359, "Complex 3D"},
      {4609, "Density 2D"},
      {4615, "Cylindrical 3D"},
      {4868, "f(x, y) = g(x, y) Implicit"},
      {5125, "Polar"},
      {5127, "3D"},
      {5380, "Add Implicit Plot"},
      {5383, "Add Grid Lines"},
      {5385, "with blank slots"},
      {5634, "Stop"},
      {13808, "Contents"},
      {13809, "Search for help on..."},
      {13811, "&About Lemmabox..."},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, TextOf(c.id)) << c.id;
  // The gaps of the numbering are separators, which carry no command.
  for (MenuCommandId gap :
       {260,  265,  269,  514,  521,  524,  770,  1029, 1038, 1041, 1547, 2050,
        2052, 3076, 3079, 3331, 3586, 3844, 4103, 4358, 4611, 4867, 5126, 5384}) {
    EXPECT_EQ(nullptr, FindMenuItem(gap)) << gap;
  }
}

TEST_F(RoutingTest, EveryMenuHangsFromTheMenuBarOnce) {
  EXPECT_EQ((std::vector<int>{kMenuFile, kMenuEdit, kMenuNotebook, kMenuManipulate, kMenuGraph,
                              kMenuHelp}),
            MenuBar());
  std::map<int, int> reached;
  for (int number : MenuBar()) ++reached[number];
  std::map<int, std::string> titles;
  for (const Menu& menu : AllMenus()) {
    titles[menu.number] = menu.title;
    for (const MenuItem& item : menu.items) {
      if (item.submenu != 0) ++reached[item.submenu];
    }
  }
  ASSERT_EQ(23u, AllMenus().size());
  for (const Menu& menu : AllMenus()) EXPECT_EQ(1, reached[menu.number]) << menu.title;
  for (const Menu& menu : AllMenus()) {
    for (const MenuItem& item : menu.items) {
      if (item.submenu != 0) {
        EXPECT_EQ(titles[item.submenu], item.text);
      }
    }
  }
  // The Notebook menu opens its submenus in numbering order.
  std::vector<int> notebookSubmenus;
  for (const MenuItem& item : FindMenu(kMenuNotebook)->items) {
    if (item.submenu != 0) notebookSubmenus.push_back(item.submenu);
  }
  EXPECT_EQ(
      (std::vector<int>{kMenuWindows, kMenuInsert, kMenuDisplayPrecision, kMenuNotebookPrefs}),
      notebookSubmenus);
  EXPECT_EQ("Show Icons", TextOf(2562));
}

TEST_F(RoutingTest, AboutNamesTheProgram) {
  BuildMenus("Formulary");
  EXPECT_EQ("&About Formulary...", TextOf(kMenuAbout));
}

class StateLog : public MenuObserver {
 public:
  void MenuCommandStateChanged(MenuCommandId id) override { states.push_back(id); }
  void MenuItemsChanged(int menuNumber) override { menus.push_back(menuNumber); }
  std::vector<MenuCommandId> states;
  std::vector<int> menus;
};

TEST_F(RoutingTest, CommandStatesStartFromTheInitialListAndReportChanges) {
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPalette));
  EXPECT_FALSE(IsMenuCommandChecked(kMenuApply));
  EXPECT_TRUE(IsMenuCommandEnabled(kMenuAnimationStop));

  StateLog log;
  SetMenuObserver(&log);
  CheckMenuCommand(kMenuApply, true);
  CheckMenuCommand(kMenuApply, true);  // no change, no report
  EnableMenuCommand(kMenuAddImplicitPlot, false);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuApply));
  EXPECT_FALSE(IsMenuCommandEnabled(kMenuAddImplicitPlot));
  EXPECT_EQ((std::vector<MenuCommandId>{kMenuApply, kMenuAddImplicitPlot}), log.states);

  // A new notebook window applies the initial states again; other marks stay.
  CheckMenuCommand(kMenuPalette, false);
  ApplyInitialMenuStates();
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPalette));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuApply));
  SetMenuObserver(nullptr);
}

void Ignore(void*) {}
void AlsoIgnore(void*) {}

TEST_F(RoutingTest, RunTimeItemsTakeTheIdAfterTheLastItem) {
  int a = 0, b = 0, c = 0;
  StateLog log;
  SetMenuObserver(&log);
  // The Windows menu ends in a separator: the first item takes the id after Palette.
  EXPECT_EQ(1794, AddAdHocMenuItem(kMenuWindows, "one", Ignore, &a));
  EXPECT_EQ(1795, AddAdHocMenuItem(kMenuWindows, "two", Ignore, &b));
  EXPECT_EQ(3591, AddAdHocMenuItem(kMenuTable, "table", Ignore, &c));
  EXPECT_EQ(1796, AddAdHocMenuItem(kMenuWindows, "three", Ignore, &c));
  EXPECT_EQ(13812, AddAdHocMenuItem(kMenuHelp, "help", Ignore, &a));
  EXPECT_EQ((std::vector<int>{kMenuWindows, kMenuWindows, kMenuTable, kMenuWindows, kMenuHelp}),
            log.menus);

  std::vector<std::string> order;
  for (const AdHocMenuItem& item : AdHocMenuItems()) order.push_back(item.title);
  EXPECT_EQ((std::vector<std::string>{"one", "two", "table", "three", "help"}), order);

  RemoveAdHocMenuItem(kMenuWindows, &b);
  EXPECT_EQ(nullptr, FindAdHocMenuItem(1795));
  EXPECT_EQ(1797, AddAdHocMenuItem(kMenuWindows, "four", Ignore, &b));
  const Menu* windows = FindMenu(kMenuWindows);
  std::vector<std::string> texts;
  for (const MenuItem& item : windows->items) texts.push_back(item.text);
  EXPECT_EQ((std::vector<std::string>{"Palette", "", "one", "three", "four"}), texts);

  // A separator and a run-time item may share an id; the run-time item wins.
  EXPECT_EQ("one", TextOf(1794));

  // Titles keep at most 127 characters; a multi-byte character counts once.
  std::string longTitle;
  for (int i = 0; i < 130; ++i) longTitle += "\xC3\xA9";  // é
  MenuCommandId id = AddAdHocMenuItem(kMenuTable, longTitle, Ignore, &a);
  EXPECT_EQ(longTitle.substr(0, 254), FindAdHocMenuItem(id)->title);
  SetMenuObserver(nullptr);
}

TEST_F(RoutingTest, UnknownRunTimeItemsAreInternalErrors) {
  int a = 0, b = 0;
  AddAdHocMenuItem(kMenuWindows, "one", Ignore, &a);
  EXPECT_INTERNAL_ERROR("DeleteAdHocListItem", RemoveAdHocMenuItem(kMenuWindows, &b));
  EXPECT_INTERNAL_ERROR("DeleteAdHocListItem", RemoveAdHocMenuItem(kMenuTable, &a));
  EXPECT_INTERNAL_ERROR("pSetCheckMenuItem", CheckAdHocMenuItem(kMenuWindows, Ignore, &b, true));
  EXPECT_INTERNAL_ERROR("pSetCheckMenuItem",
                        CheckAdHocMenuItem(kMenuWindows, AlsoIgnore, &a, true));
  EXPECT_INTERNAL_ERROR("AddAdHocListItem", AddAdHocMenuItem(99, "nowhere", Ignore, &a));
  EXPECT_INTERNAL_ERROR("RenameAdHocListItem", RenameAdHocMenuItem(kMenuWindows, &b, "x"));

  CheckAdHocMenuItem(kMenuWindows, Ignore, &a, true);
  EXPECT_TRUE(IsMenuCommandChecked(1794));
  RemoveAdHocMenuItem(kMenuWindows, &a);
  EXPECT_FALSE(IsMenuCommandChecked(1794));
  EXPECT_INTERNAL_ERROR("DeleteAdHocListItem", RemoveAdHocMenuItem(kMenuWindows, &a));
}

TEST_F(RoutingTest, RunTimeIdsNeverSpillIntoTheNextMenu) {
  static int windows[300];
  // Item numbers 2..255 of the Windows menu.
  for (int i = 0; i < 254; ++i) {
    MenuCommandId id = AddAdHocMenuItem(kMenuWindows, "w", Ignore, &windows[i]);
    ASSERT_EQ(kMenuWindows, MenuNumberOf(id));
  }
  EXPECT_RAISES(kMsgOutOfMemory, AddAdHocMenuItem(kMenuWindows, "full", Ignore, &windows[254]));
  RemoveAdHocMenuItem(kMenuWindows, &windows[100]);  // item number 102
  EXPECT_EQ(MenuCommandOf(kMenuWindows, 102),
            AddAdHocMenuItem(kMenuWindows, "again", Ignore, &windows[255]));
  EXPECT_EQ(nullptr, FindAdHocMenuItem(MenuCommandOf(kMenuInsert, 0)));
}

void* gFront = nullptr;
void BringToFront(void* window) {
  gFront = window;
}

TEST_F(RoutingTest, WindowsMenuListsTheOpenNotebooks) {
  int first = 0, second = 0;
  gFront = nullptr;
  SetBringWindowToFront(BringToFront);
  MenuCommandId firstId = AddWindowsMenuEntry("UNTITL1.AXN", &first);
  MenuCommandId secondId = AddWindowsMenuEntry("Notes.axn", &second);
  MarkFrontWindowsMenuEntry(&second);
  EXPECT_FALSE(IsMenuCommandChecked(firstId));
  EXPECT_TRUE(IsMenuCommandChecked(secondId));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPalette)) << "Palette is not a window entry";

  DispatchMenuCommand(firstId);
  EXPECT_EQ(&first, gFront);
  MarkFrontWindowsMenuEntry(&first);
  EXPECT_TRUE(IsMenuCommandChecked(firstId));
  EXPECT_FALSE(IsMenuCommandChecked(secondId));

  RenameWindowsMenuEntry(&first, "Saved.axn");
  EXPECT_EQ("Saved.axn", TextOf(firstId));
  RemoveWindowsMenuEntry(&first);
  EXPECT_EQ(nullptr, FindAdHocMenuItem(firstId));
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace lemmabox
