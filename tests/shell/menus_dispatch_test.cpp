// Menu commands and command codes reaching their actions, the editor, the
// front notebook's preferences, or the "unimplemented" alert.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/routing_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::AlertTextOf;
using testing::FakePrefs;
using testing::RoutingTest;
using A = CommandAction;
using T = NotebookToggle;

constexpr int32_t Rgb(int r, int g, int b) {
  return r * 65536 + g * 256 + b;
}

TEST_F(RoutingTest, MenuCommandsReachTheirActions) {
  RecordEveryAction();
  struct Case {
    MenuCommandId id;
    CommandAction action;
    int32_t param;
  } cases[] = {
      {257, A::kNewNotebook, 0},
      {258, A::kOpenNotebook, 0},
      {262, A::kSaveNotebookAs, 0},
      {267, A::kPrintNotebook, 0},
      {270, A::kExit, 0},
      {513, A::kUndo, 0},
      {518, A::kCopyHtmlTag, 0},
      {1026, A::kSetCommentColor, Rgb(182, 182, 182)},
      {1035, A::kSetCommentColor, Rgb(0, 0, 255)},
      {1042, A::kChooseCommentColor, 0},
      {1283, A::kEnterKeyPrefs, 0},
      {1537, A::kClarify, 0},
      {1540, A::kExpose, 0},
      {1543, A::kCollapseAll, 0},
      {1549, A::kMakeWorkingStmt, 0},
      {1550, A::kStopWorkingStmt, 0},
      {1793, A::kTogglePalette, 0},
      {2051, A::kInsertPageBreak, 0},
      {2054, A::kInsertTransformRule, 0},
      {2056, A::kInsertIndependenceDecl, 0},
      {3073, A::kManipulate, 4},
      {3074, A::kManipulate, 1},
      {3080, A::kManipulate, 9},
      {3081, A::kManipulate, 13},
      {3329, A::kManipulate, 14},
      {3334, A::kManipulate, 15},
      {3337, A::kManipulate, 10},
      {3085, A::kFindGraphRoot, 0},
      {3088, A::kReManipulateNow, 0},
      {3092, A::kDivertCascade, 0},
      {3587, A::kIntegrateDifferentialEquation, 0},
      {4104, A::kGenerateGraphicsFile, 'E'},
      {4105, A::kGenerateVrmlFile, 0},
      {4106, A::kGenerateGraphicsFile, 'P'},
      {4108, A::kRedrawGraphs, 0},
      {4353, A::kNewGraph, 129},
      {4354, A::kNewGraph, 642},
      {4357, A::kNewGraph, 1157},
      {4359, A::kNewGraph, 196},
      {4609, A::kNewGraph, 21},
      {4612, A::kNewGraph, 216},
      {4615, A::kNewGraph, 1115},
      {4866, A::kNewGraph, 242},
      {4868, A::kNewGraph, 180},
      {5121, A::kNewGraph, 161},
      {5124, A::kNewGraph, 932},
      {5127, A::kNewGraph, 230},
      {5377, A::kAddPlot, 3},
      {5380, A::kAddPlot, 95},
      {5381, A::kAddPlot, 6},
      {5383, A::kAddPlot, 8},
      {5633, A::kAnimationStart, 0},
      {5634, A::kAnimationStop, 0},
      {13808, A::kHelpContents, 0},
      {13810, A::kHelpOnHelp, 0},
      {13811, A::kAbout, 0},
  };
  for (const Case& c : cases) {
    actions.clear();
    DispatchMenuCommand(c.id);
    ASSERT_EQ(1u, actions.size()) << c.id;
    EXPECT_EQ(c.action, actions[0].first) << c.id << " " << CommandActionName(actions[0].first);
    EXPECT_EQ(c.param, actions[0].second) << c.id;
  }
  EXPECT_TRUE(editorCodes.empty());
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(RoutingTest, ProgramLevelCodesNeverReachTheEditor) {
  RecordEveryAction();
  struct Case {
    CommandCode code;
    CommandAction action;
    int32_t param;
  } cases[] = {
      {kCmdUndo, A::kUndo, 0},
      {kCmdCalculate, A::kManipulate, 4},
      {kCmdIntegrateByParts, A::kManipulate, 15},
      {0x7404, A::kNewGraph, 196},
      {0x740A, A::kNewGraph, 180},
      {0x7421, A::kAddPlot, 3},
      {0x7424, A::kAddPlot, 6},
      {0x7441, A::kRedrawGraphs, 0},
      {0x7502, A::kClarify, 0},
      {0x750B, A::kCollapse, 0},
      {0x7521, A::kIntegrateDifferentialEquation, 0},
      {0x7565, A::kExit, 0},
  };
  for (const Case& c : cases) {
    actions.clear();
    PerformCommandCode(c.code);
    ASSERT_EQ(1u, actions.size()) << std::hex << c.code;
    EXPECT_EQ(c.action, actions[0].first) << std::hex << c.code;
    EXPECT_EQ(c.param, actions[0].second) << std::hex << c.code;
  }
  EXPECT_TRUE(editorCodes.empty());
}

TEST_F(RoutingTest, EditingCodesGoToTheEditor) {
  RecordEveryAction();
  DispatchMenuCommand(kMenuCut);
  DispatchMenuCommand(kMenuStyleBold);
  DispatchMenuCommand(kMenuSelectIn);
  DispatchMenuCommand(kMenuRowColumnNumber);
  DispatchMenuCommand(kMenuCommentFont);
  PerformCommandCode(TypeCharCommand('x'));
  PerformCommandCode(0x7008);  // no manipulation 8
  PerformCommandCode(0x7000);
  EXPECT_EQ((std::vector<CommandCode>{kCmdCut, kCmdStyleBold, kCmdSelectIn, kCmdRowColumnNumber,
                                      kCmdCommentFont, 0x0F78, 0x7008, 0x7000}),
            editorCodes);
  EXPECT_TRUE(actions.empty());

  SetEditorCommandHook(nullptr);  // no notebook editor yet: quietly nothing
  PerformCommandCode(kCmdCut);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(RoutingTest, ActionsWithoutHandlerSayUnimplemented) {
  const std::string unimplemented = AlertTextOf(kMsgUnimplemented);
  DispatchMenuCommand(kMenuSaveAs);
  PerformCommandCode(kCmdNewNotebook);
  DispatchMenuCommand(kMenuGraphSemiLog, CommandSource::kAccelerator);
  EXPECT_EQ((std::vector<std::string>{unimplemented, unimplemented, unimplemented}),
            platform.BoxTexts());
  EXPECT_EQ(0, FailureDepth());

  platform.boxes.clear();
  DispatchMenuCommand(260);                              // a separator
  DispatchMenuCommand(MenuCommandOf(kMenuNotebook, 2));  // the Windows submenu entry
  DispatchMenuCommand(0x1F01);                           // no such menu
  DispatchMenuCommand(MenuCommandOf(kMenuFile, 0x40));   // no such item
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_TRUE(editorCodes.empty());
}

TEST_F(RoutingTest, AFailingCommandShowsItsAlertAndTheLoopGoesOn) {
  RegisterCommand(A::kGetInfo, [](int32_t) { Raise(kMsgGetInfoNeedsSelection); });
  SetEditorCommandHook([](CommandCode) { Raise(kMsgQuestionMarksTooClose); });
  DispatchMenuCommand(kMenuGetInfo);
  PerformCommandCode(kCmdClear);
  EXPECT_EQ((std::vector<std::string>{AlertTextOf(kMsgGetInfoNeedsSelection),
                                      AlertTextOf(kMsgQuestionMarksTooClose)}),
            platform.BoxTexts());
  EXPECT_EQ(0, FailureDepth());

  RegisterCommand(A::kAbout, [](int32_t) { InternalError("AboutBox"); });
  EXPECT_INTERNAL_ERROR("AboutBox", DispatchMenuCommand(kMenuAbout));
  EXPECT_EQ(0, FailureDepth());
  EXPECT_INTERNAL_ERROR("RegisterCommand", RegisterCommand(A::kToggle, [](int32_t) {}));
}

TEST_F(RoutingTest, UnregisteredListSaysWhereEachActionIsReached) {
  auto find = [](CommandAction action) -> const UnregisteredCommand* {
    static std::vector<UnregisteredCommand> list;
    list = UnregisteredCommands();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const UnregisteredCommand& u) { return u.action == action; });
    return it == list.end() ? nullptr : &*it;
  };
  const UnregisteredCommand* newGraph = find(A::kNewGraph);
  ASSERT_NE(nullptr, newGraph);
  EXPECT_STREQ("NewGraph", newGraph->name);
  EXPECT_EQ(21u, newGraph->menuIds.size()) << "the kinds of the four graph menus";
  EXPECT_EQ(11u, newGraph->codes.size());
  const UnregisteredCommand* undo = find(A::kUndo);
  ASSERT_NE(nullptr, undo);
  EXPECT_EQ((std::vector<MenuCommandId>{kMenuUndo}), undo->menuIds);
  EXPECT_EQ((std::vector<CommandCode>{kCmdUndo}), undo->codes);
  EXPECT_EQ(nullptr, find(A::kToggle)) << "the shell's own";

  RegisterCommand(A::kNewGraph, [](int32_t) {});
  EXPECT_EQ(nullptr, find(A::kNewGraph));
  UnregisterCommand(A::kNewGraph);
  EXPECT_NE(nullptr, find(A::kNewGraph));

  // Every menu command is either carried out by the shell, sent to the editor,
  // or waiting in the list.
  std::size_t listed = 0;
  for (const UnregisteredCommand& u : UnregisteredCommands()) listed += u.menuIds.size();
  std::size_t routed = 0;
  for (const Menu& menu : AllMenus()) {
    for (const MenuItem& item : menu.items) {
      if (item.separator || item.submenu || item.action == A::kToggle ||
          item.action == A::kSetDisplayPrecision || item.action == A::kSetIconMode) {
        continue;
      }
      if (item.action == A::kPerformCode) {
        ProgramCommand program = ProgramLevelCommand(static_cast<CommandCode>(item.param));
        if (program.action == A::kNone || program.action == A::kToggle ||
            program.action == A::kSetDisplayPrecision) {
          continue;
        }
      }
      ++routed;
    }
  }
  EXPECT_EQ(routed, listed);
}

TEST_F(RoutingTest, TogglesFlipTheFrontNotebookPreference) {
  FakePrefs prefs;
  SetFrontNotebookPrefs(&prefs);
  int reDerived = 0;
  RegisterCommand(A::kReManipulateNow, [&](int32_t) { ++reDerived; });

  DispatchMenuCommand(kMenuFortranish);
  EXPECT_TRUE(prefs.toggles[T::kFortranish]);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuFortranish));
  DispatchMenuCommand(kMenuFortranish);
  EXPECT_FALSE(prefs.toggles[T::kFortranish]);
  EXPECT_FALSE(IsMenuCommandChecked(kMenuFortranish));
  EXPECT_EQ(2, prefs.changes);

  // F2 sends the Auto Simplify code; its menu item shows the new state.
  SetFrontKeyHandler(PerformKeystroke);
  EXPECT_TRUE(HandleKeyDown({FunctionKey(2), {}}));
  EXPECT_TRUE(prefs.toggles[T::kAutoSimplify]);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuAutoSimplify));
  DispatchMenuCommand(kMenuAutoCasing);
  EXPECT_TRUE(prefs.toggles[T::kAutoCasing]);

  // Turning Always ReManipulate on re-derives at once; turning it off does not.
  DispatchMenuCommand(kMenuAlwaysReManipulate);
  EXPECT_EQ(1, reDerived);
  DispatchMenuCommand(kMenuAlwaysReManipulate);
  EXPECT_EQ(1, reDerived);

  // With blank slots on, Add Implicit Plot is unavailable.
  DispatchMenuCommand(kMenuWithBlankSlots);
  EXPECT_FALSE(IsMenuCommandEnabled(kMenuAddImplicitPlot));
  DispatchMenuCommand(kMenuWithBlankSlots);
  EXPECT_TRUE(IsMenuCommandEnabled(kMenuAddImplicitPlot));
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_TRUE(editorCodes.empty());
}

TEST_F(RoutingTest, TogglesWithoutANotebookDoNothing) {
  DispatchMenuCommand(kMenuAutoSave);  // no preferences installed at all
  PerformCommandCode(kCmdToggleAutoSimplify);
  FakePrefs prefs;
  prefs.hasNotebook = false;
  SetFrontNotebookPrefs(&prefs);
  DispatchMenuCommand(kMenuShowSteps);
  DispatchMenuCommand(kMenuIconsNever);
  PerformCommandCode(kCmdDisplayPrecisionBase + 3);
  EXPECT_TRUE(prefs.toggles.empty());
  EXPECT_EQ(6, prefs.precision);
  EXPECT_EQ(3, prefs.iconMode);
  EXPECT_EQ(0, prefs.changes);
  EXPECT_FALSE(IsMenuCommandChecked(kMenuShowSteps));
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(RoutingTest, PrecisionAndIconModeCheckTheirChoice) {
  FakePrefs prefs;
  SetFrontNotebookPrefs(&prefs);
  DispatchMenuCommand(kMenuPrecisionLast - 1);  // 10 digits
  EXPECT_EQ(10, prefs.precision);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPrecisionLast - 1));
  PerformCommandCode(kCmdDisplayPrecisionBase + 4);
  EXPECT_EQ(4, prefs.precision);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPrecisionFirst + 3));
  EXPECT_FALSE(IsMenuCommandChecked(kMenuPrecisionLast - 1));
  PerformCommandCode(kCmdDisplayPrecisionBase + 12);  // no menu item shows 12
  EXPECT_EQ(12, prefs.precision);
  for (MenuCommandId id = kMenuPrecisionFirst; id <= kMenuPrecisionLast; ++id) {
    EXPECT_FALSE(IsMenuCommandChecked(id)) << id;
  }
  EXPECT_EQ(3, prefs.changes);

  DispatchMenuCommand(kMenuIconsUnlessPrinting);
  EXPECT_EQ(2, prefs.iconMode);
  DispatchMenuCommand(kMenuIconsUnlessPrinting);  // unchanged: not marked again
  EXPECT_EQ(4, prefs.changes);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuIconsUnlessPrinting));
  EXPECT_FALSE(IsMenuCommandChecked(kMenuIconsAlways));
}

TEST_F(RoutingTest, RefreshFollowsTheFrontNotebook) {
  FakePrefs prefs;
  prefs.toggles[T::kAutoSave] = true;
  prefs.toggles[T::kAlwaysRedraw] = true;
  prefs.toggles[T::kWithBlankSlots] = true;
  prefs.precision = 15;
  prefs.iconMode = 0;
  prefs.enterKeys = {kCmdNewComment, kCmdNewAssumption, kCmdNewComment, kCmdNewAssumption};

  RefreshMenus();  // no notebook yet: nothing changes
  EXPECT_FALSE(IsMenuCommandChecked(kMenuAutoSave));
  EXPECT_EQ(kCmdNewAssumption, CurrentKeystrokeTable().Command(kKeystrokeReturn));

  SetFrontNotebookPrefs(&prefs);
  RefreshMenus();
  EXPECT_TRUE(IsMenuCommandChecked(kMenuAutoSave));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuAlwaysRedraw));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuWithBlankSlots));
  EXPECT_FALSE(IsMenuCommandChecked(kMenuFortranish));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuPrecisionLast));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuIconsNever));
  EXPECT_FALSE(IsMenuCommandEnabled(kMenuAddImplicitPlot));
  EXPECT_EQ(kCmdNewComment, CurrentKeystrokeTable().Command(kKeystrokeReturn));
  EXPECT_EQ(kCmdNewAssumption, CurrentKeystrokeTable().Command(kKeystrokeShiftEnter));
  EXPECT_EQ(0, prefs.changes) << "refreshing changes nothing in the notebook";
}

void Count(void* counter) {
  ++*static_cast<int*>(counter);
}

TEST_F(RoutingTest, RunTimeItemsAnswerMenusAndAcceleratorsOnly) {
  RecordEveryAction();
  int calls = 0;
  MenuCommandId id = AddAdHocMenuItem(kMenuTable, "From a plug-in", Count, &calls);
  DispatchMenuCommand(id);
  DispatchMenuCommand(id, CommandSource::kAccelerator);
  DispatchMenuCommand(id, CommandSource::kControl);
  EXPECT_EQ(2, calls);
  EXPECT_TRUE(actions.empty());
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(RoutingTest, MenuItemsShowTheirKeys) {
  struct Case {
    MenuCommandId id;
    const char* text;
  } cases[] = {
      {kMenuUndo, "Ctrl+Z"},
      {kMenuPaste, "Ctrl+V"},
      {kMenuClear, "Del"},
      {kMenuExit, "Alt+F4"},
      {kMenuStopWorkingStmt, "Ctrl+Shift+D"},
      {kMenuCalculate, "F5"},
      {kMenuSimplify, "F11"},
      {kMenuAutoSimplify, "F2"},
      {kMenuGraphLinear, "Ctrl+G"},
      {kMenuGraphColor3D, "Ctrl+K"},
      {kMenuPageBreak, "Ctrl+Shift+P"},
      {kMenuStylePlain, "Ctrl+T"},
      {kMenuPalette, "Ctrl+Shift+B"},
      {kMenuCollapse, "Ctrl+|"},
      {kMenuExpose, ""},
      {kMenuGraphSemiLog, ""},
      {MenuCommandOf(kMenuEdit, 14), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, MenuAcceleratorText(c.id)) << c.id;
}

}  // namespace
}  // namespace lemmabox
