#include "shell/commands.h"

#include <array>
#include <utility>

#include "shell/alerts.h"
#include "shell/failure.h"
#include "shell/menus.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

using A = CommandAction;

constexpr std::size_t kActionCount = static_cast<std::size_t>(A::kCount);

constexpr const char* kActionNames[] = {
    "None",
    "PerformCode",
    "Toggle",
    "SetDisplayPrecision",
    "SetIconMode",
    "NewNotebook",
    "OpenNotebook",
    "CloseNotebook",
    "SaveNotebook",
    "SaveNotebookAs",
    "RevertToSaved",
    "PrinterSetup",
    "PrintNotebook",
    "PrintingPrefs",
    "Exit",
    "Undo",
    "CopyHtmlTag",
    "SetCommentColor",
    "ChooseCommentColor",
    "EnterKeyPrefs",
    "Clarify",
    "Expose",
    "ExposeAll",
    "Collapse",
    "CollapseAll",
    "LockProposition",
    "MakeWorkingStmt",
    "StopWorkingStmt",
    "GetInfo",
    "NotebookFont",
    "TogglePalette",
    "InsertPageBreak",
    "InsertCaseTheory",
    "InsertTransformRule",
    "InsertNameDecl",
    "InsertIndependenceDecl",
    "CommentRulers",
    "Manipulate",
    "FindGraphRoot",
    "GenerateTable",
    "IntegrateDifferentialEquation",
    "FourierTransform",
    "InverseFourierTransform",
    "ReManipulateNow",
    "BreakCascadeAbove",
    "BreakCascadeBelow",
    "DivertCascade",
    "ArbitraryConstants",
    "NumericIntegration",
    "NewGraph",
    "AddPlot",
    "AnimationStart",
    "AnimationStop",
    "GenerateGraphicsFile",
    "GenerateVrmlFile",
    "RedrawGraphs",
    "GraphCreationPrefs",
    "GraphDrawingPrefs",
    "HelpContents",
    "HelpSearch",
    "HelpOnHelp",
    "About",
};
static_assert(std::size(kActionNames) == kActionCount, "one name per action");

// The actions the shell carries out itself.
bool IsShellAction(CommandAction action) {
  return action == A::kNone || action == A::kPerformCode || action == A::kToggle ||
         action == A::kSetDisplayPrecision || action == A::kSetIconMode;
}

struct CodeBinding {
  CommandCode code;
  CommandAction action;
  int32_t param;
};

constexpr int32_t ToggleParam(NotebookToggle which) {
  return static_cast<int32_t>(which);
}

// The codes the program-level handler takes, besides 0x7540 + n (display
// precision n). The manipulation codes are what the function keys send.
constexpr CodeBinding kProgramCodes[] = {
    {kCmdUndo, A::kUndo, 0},
    {kCmdSimplify, A::kManipulate, 1},
    {kCmdExpand, A::kManipulate, 2},
    {kCmdTransform, A::kManipulate, 3},
    {kCmdCalculate, A::kManipulate, 4},
    {kCmdMiniExpand, A::kManipulate, 5},
    {kCmdCollect, A::kManipulate, 6},
    {kCmdFactor, A::kManipulate, 7},
    {kCmdIsolate, A::kManipulate, 9},
    {kCmdMoveOver, A::kManipulate, 10},
    {kCmdCommute, A::kManipulate, 11},
    {kCmdTaylorSeries, A::kManipulate, 12},
    {kCmdApply, A::kManipulate, 13},
    {kCmdUnCalculate, A::kManipulate, 14},
    {kCmdIntegrateByParts, A::kManipulate, 15},
    {kCmdSubstitute, A::kManipulate, 16},
    {kCmdNewLinearGraph, A::kNewGraph, 129},
    {kCmdNewColor3DGraph, A::kNewGraph, 216},
    {kCmdNewScatterGraph, A::kNewGraph, 161},
    {kCmdNewContourGraph, A::kNewGraph, 22},
    {kCmdNewComplex3DGraph, A::kNewGraph, 196},
    {kCmdNewIllum3DGraph, A::kNewGraph, 217},
    {kCmdNewSphericalGraph, A::kNewGraph, 1114},
    {kCmdNewCylindricalGraph, A::kNewGraph, 1115},
    {kCmdNewParametricGraph, A::kNewGraph, 177},
    {kCmdNewSpaceCurveGraph, A::kNewGraph, 242},
    {kCmdNewImplicitGraph, A::kNewGraph, 180},
    {kCmdAddLinePlot, A::kAddPlot, 3},
    {kCmdAddScatterPlot, A::kAddPlot, 6},
    {kCmdAnimationStart, A::kAnimationStart, 0},
    {kCmdRedrawGraphs, A::kRedrawGraphs, 0},
    {kCmdClarify, A::kClarify, 0},
    {kCmdTogglePalette, A::kTogglePalette, 0},
    {kCmdInsertPageBreak, A::kInsertPageBreak, 0},
    {kCmdInsertCaseTheory, A::kInsertCaseTheory, 0},
    {kCmdStopWorkingStmt, A::kStopWorkingStmt, 0},
    {kCmdGetInfo, A::kGetInfo, 0},
    {kCmdNotebookFont, A::kNotebookFont, 0},
    {kCmdExpose, A::kExpose, 0},
    {kCmdCollapse, A::kCollapse, 0},
    {kCmdInsertTransformRule, A::kInsertTransformRule, 0},
    {kCmdMakeWorkingStmt, A::kMakeWorkingStmt, 0},
    {kCmdGenerateTable, A::kGenerateTable, 0},
    {kCmdIntegrateDifferentialEquation, A::kIntegrateDifferentialEquation, 0},
    {kCmdReManipulateNow, A::kReManipulateNow, 0},
    {kCmdToggleAutoSimplify, A::kToggle, ToggleParam(NotebookToggle::kAutoSimplify)},
    {kCmdToggleAutoCasing, A::kToggle, ToggleParam(NotebookToggle::kAutoCasing)},
    {kCmdNewNotebook, A::kNewNotebook, 0},
    {kCmdOpenNotebook, A::kOpenNotebook, 0},
    {kCmdCloseNotebook, A::kCloseNotebook, 0},
    {kCmdSaveNotebook, A::kSaveNotebook, 0},
    {kCmdPrintNotebook, A::kPrintNotebook, 0},
    {kCmdExit, A::kExit, 0},
};

constexpr int kPrecisionCodes = 16;

// Every program-level code with its action, the display precisions included.
template <class Visit>
void ForEachProgramCode(Visit&& visit) {
  for (const CodeBinding& binding : kProgramCodes) {
    visit(binding.code, ProgramCommand{binding.action, binding.param});
  }
  for (int n = 0; n < kPrecisionCodes; ++n) {
    visit(kCmdDisplayPrecisionBase + n, ProgramCommand{A::kSetDisplayPrecision, n});
  }
}

struct Router {
  std::array<CommandHandler, kActionCount> handlers;
  EditorCommandHook editor;
  FrontNotebookPrefs* prefs = nullptr;
};

Router& TheRouter() {
  static Router router;
  return router;
}

// A menu item's action, with a code that the program-level handler takes
// replaced by that code's action.
ProgramCommand EffectiveCommand(const MenuItem& item) {
  if (item.action == A::kPerformCode) {
    ProgramCommand program = ProgramLevelCommand(static_cast<CommandCode>(item.param));
    if (program.action != A::kNone) return program;
  }
  return {item.action, item.param};
}

FrontNotebookPrefs* FrontPrefs() {
  FrontNotebookPrefs* prefs = TheRouter().prefs;
  return prefs && prefs->HasFrontNotebook() ? prefs : nullptr;
}

void RunAction(CommandAction action, int32_t param);

void ToggleFrontNotebook(NotebookToggle which) {
  FrontNotebookPrefs* prefs = FrontPrefs();
  if (!prefs) return;
  bool on = !prefs->Toggle(which);
  prefs->SetToggle(which, on);
  prefs->MarkChanged();
  RefreshMenus();
  // Turning Always ReManipulate on brings every conclusion up to date at once.
  if (which == NotebookToggle::kAlwaysReManipulate && on) RunAction(A::kReManipulateNow, 0);
}

void SetFrontDisplayPrecision(int digits) {
  FrontNotebookPrefs* prefs = FrontPrefs();
  if (!prefs) return;
  if (prefs->DisplayPrecision() != digits) {
    prefs->SetDisplayPrecision(digits);
    prefs->MarkChanged();
  }
  RefreshMenus();
}

void SetFrontIconMode(int mode) {
  FrontNotebookPrefs* prefs = FrontPrefs();
  if (!prefs) return;
  if (prefs->IconMode() != mode) {
    prefs->SetIconMode(mode);
    prefs->MarkChanged();
  }
  RefreshMenus();
}

void RunAction(CommandAction action, int32_t param) {
  switch (action) {
    case A::kNone:
    case A::kCount:
      return;
    case A::kPerformCode:
      PerformCommandCode(static_cast<CommandCode>(param));
      return;
    case A::kToggle:
      ToggleFrontNotebook(static_cast<NotebookToggle>(param));
      return;
    case A::kSetDisplayPrecision:
      SetFrontDisplayPrecision(param);
      return;
    case A::kSetIconMode:
      SetFrontIconMode(param);
      return;
    default:
      break;
  }
  // A copy, so that a handler may replace or remove itself while it runs.
  CommandHandler handler = TheRouter().handlers[static_cast<std::size_t>(action)];
  if (!handler) Raise(kMsgUnimplemented);
  handler(param);
}

}  // namespace

const char* CommandActionName(CommandAction action) {
  auto index = static_cast<std::size_t>(action);
  return index < kActionCount ? kActionNames[index] : "?";
}

void SetFrontNotebookPrefs(FrontNotebookPrefs* prefs) {
  TheRouter().prefs = prefs;
}

void RegisterCommand(CommandAction action, CommandHandler handler) {
  if (IsShellAction(action) || action >= A::kCount) InternalError("RegisterCommand");
  TheRouter().handlers[static_cast<std::size_t>(action)] = std::move(handler);
}

void UnregisterCommand(CommandAction action) {
  if (action >= A::kCount) return;
  TheRouter().handlers[static_cast<std::size_t>(action)] = nullptr;
}

bool IsCommandRegistered(CommandAction action) {
  return action < A::kCount && TheRouter().handlers[static_cast<std::size_t>(action)] != nullptr;
}

std::vector<UnregisteredCommand> UnregisteredCommands() {
  std::vector<UnregisteredCommand> list;
  for (std::size_t i = 0; i < kActionCount; ++i) {
    auto action = static_cast<CommandAction>(i);
    if (IsShellAction(action) || IsCommandRegistered(action)) continue;
    UnregisteredCommand entry{action, kActionNames[i], {}, {}};
    for (const Menu& menu : AllMenus()) {
      for (const MenuItem& item : menu.items) {
        if (!item.separator && EffectiveCommand(item).action == action) {
          entry.menuIds.push_back(item.id);
        }
      }
    }
    ForEachProgramCode([&](CommandCode code, ProgramCommand command) {
      if (command.action == action) entry.codes.push_back(code);
    });
    list.push_back(std::move(entry));
  }
  return list;
}

void SetEditorCommandHook(EditorCommandHook hook) {
  TheRouter().editor = std::move(hook);
}

ProgramCommand ProgramLevelCommand(CommandCode code) {
  if (code >= kCmdDisplayPrecisionBase && code < kCmdDisplayPrecisionBase + kPrecisionCodes) {
    return {A::kSetDisplayPrecision, static_cast<int32_t>(code - kCmdDisplayPrecisionBase)};
  }
  for (const CodeBinding& binding : kProgramCodes) {
    if (binding.code == code) return {binding.action, binding.param};
  }
  return {};
}

void PerformCommandCode(CommandCode code) {
  MessageNumber failure = CatchFailure([&] {
    ProgramCommand program = ProgramLevelCommand(code);
    if (program.action != A::kNone) {
      RunAction(program.action, program.param);
      return;
    }
    EditorCommandHook hook = TheRouter().editor;
    if (hook) hook(code);
  });
  if (failure != 0) Alert(failure);
}

bool PerformKeystroke(KeystrokeCode code) {
  CommandCode command = CurrentKeystrokeTable().Command(code);
  if (command == 0) return false;
  PerformCommandCode(command);
  return true;
}

void DispatchMenuCommand(MenuCommandId id, CommandSource source) {
  MessageNumber failure = CatchFailure([&] {
    if (source != CommandSource::kControl) {
      if (const AdHocMenuItem* adHoc = FindAdHocMenuItem(id)) {
        AdHocCallback callback = adHoc->callback;
        void* argument = adHoc->argument;
        if (callback) callback(argument);
        return;
      }
    }
    const MenuItem* item = FindMenuItem(id);
    if (!item || item->submenu != 0) return;
    // Copied out: the action may rebuild the menus under the item.
    CommandAction action = item->action;
    int32_t param = item->param;
    RunAction(action, param);
  });
  if (failure != 0) Alert(failure);
}

void RefreshMenus() {
  FrontNotebookPrefs* prefs = FrontPrefs();
  if (!prefs) return;
  std::vector<std::pair<MenuCommandId, bool>> checks;
  for (const Menu& menu : AllMenus()) {
    for (const MenuItem& item : menu.items) {
      if (item.separator || item.adHoc) continue;
      ProgramCommand command = EffectiveCommand(item);
      if (command.action == A::kToggle) {
        checks.emplace_back(item.id, prefs->Toggle(static_cast<NotebookToggle>(command.param)));
      } else if (command.action == A::kSetDisplayPrecision) {
        checks.emplace_back(item.id, prefs->DisplayPrecision() == command.param);
      } else if (command.action == A::kSetIconMode) {
        checks.emplace_back(item.id, prefs->IconMode() == command.param);
      }
    }
  }
  for (const auto& [id, on] : checks) CheckMenuCommand(id, on);
  // While plots are added with blank slots, Add Implicit Plot is not offered.
  EnableMenuCommand(kMenuAddImplicitPlot, !prefs->Toggle(NotebookToggle::kWithBlankSlots));
  ApplyEnterKeyCommands(prefs->EnterKeys());
}

std::string MenuAcceleratorText(MenuCommandId id) {
  const MenuItem* item = FindMenuItem(id);
  if (!item || item->submenu != 0 || item->adHoc) return "";
  if (item->action == A::kPerformCode) {
    return AcceleratorTextFor(static_cast<CommandCode>(item->param));
  }
  ProgramCommand wanted = EffectiveCommand(*item);
  std::string text;
  ForEachProgramCode([&](CommandCode code, ProgramCommand command) {
    if (text.empty() && command == wanted) text = AcceleratorTextFor(code);
  });
  return text;
}

}  // namespace lemmabox
