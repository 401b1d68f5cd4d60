// Command routing: from a menu command or a command code to the action that
// carries it out.
//
// Every menu item and every command code that the program itself handles
// stands for one action (with a parameter for families such as "new graph of
// kind K"). The folders that own an action register its handler at start-up;
// an action still without a handler answers "Sorry, that feature is
// unimplemented". The shell itself carries out the notebook preference
// toggles, the display precision and the icon mode, through the front
// notebook's preferences (FrontNotebookPrefs). Command codes that no action
// takes go to the editor through the hook it sets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/command_codes.h"
#include "shell/keystroke_table.h"

namespace lemmabox {

// What a menu item or a program-level command code does. The parameter that
// travels with it is given in brackets.
enum class CommandAction : uint8_t {
  kNone,                 // separators, submenu entries, unlisted ids: nothing
  kPerformCode,          // [command code] hand the code to PerformCommandCode
  kToggle,               // [NotebookToggle] flip a preference of the front notebook
  kSetDisplayPrecision,  // [digits]
  kSetIconMode,          // [3 always, 2 unless printing, 0 never]
  // Actions registered by the folders that own them.
  kNewNotebook,
  kOpenNotebook,
  kCloseNotebook,
  kSaveNotebook,
  kSaveNotebookAs,
  kRevertToSaved,
  kPrinterSetup,
  kPrintNotebook,
  kPrintingPrefs,
  kExit,
  kUndo,
  kCopyHtmlTag,
  kSetCommentColor,     // [red * 65536 + green * 256 + blue]
  kChooseCommentColor,  // the colour chooser, "Choose Other Color:"
  kEnterKeyPrefs,
  kClarify,
  kExpose,
  kExposeAll,
  kCollapse,
  kCollapseAll,
  kLockProposition,
  kMakeWorkingStmt,
  kStopWorkingStmt,
  kGetInfo,
  kNotebookFont,
  kTogglePalette,
  kInsertPageBreak,
  kInsertCaseTheory,
  kInsertTransformRule,
  kInsertNameDecl,
  kInsertIndependenceDecl,
  kCommentRulers,
  kManipulate,  // [manipulation number]
  kFindGraphRoot,
  kGenerateTable,
  kIntegrateDifferentialEquation,
  kFourierTransform,
  kInverseFourierTransform,
  kReManipulateNow,
  kBreakCascadeAbove,
  kBreakCascadeBelow,
  kDivertCascade,
  kArbitraryConstants,
  kNumericIntegration,
  kNewGraph,  // [graph kind]
  kAddPlot,   // [plot kind]
  kAnimationStart,
  kAnimationStop,
  kGenerateGraphicsFile,  // ['E' for EPS, 'P' for a metafile]
  kGenerateVrmlFile,
  kRedrawGraphs,
  kGraphCreationPrefs,
  kGraphDrawingPrefs,
  kHelpContents,
  kHelpSearch,
  kHelpOnHelp,
  kAbout,
  kCount
};

// The action's name as issues and logs spell it ("NewGraph", "SaveNotebookAs").
const char* CommandActionName(CommandAction action);

// The per-notebook on/off preferences that menu items toggle.
enum class NotebookToggle : uint8_t {
  kAutoSave,
  kFortranish,
  kPaletteAutoToggle,
  kRippleChangesImmediately,
  kGuessWorkingStmts,
  kShowSteps,
  kAlwaysReManipulate,
  kAutoSimplify,
  kAutoCasing,
  kAutoCollapsar,
  kAlwaysRedraw,
  kWithBlankSlots,
};

// The front notebook's preferences as the menus see them. The notebook folder
// implements this; setters store the value (and do what follows from it, such
// as mirroring Auto Simplify into the process-wide setting or laying the
// notebook out again), the shell marks the notebook changed and refreshes the
// menus.
class FrontNotebookPrefs {
 public:
  virtual ~FrontNotebookPrefs() = default;
  // Whether a notebook is in front; nothing else is asked when it is not.
  virtual bool HasFrontNotebook() = 0;
  virtual bool Toggle(NotebookToggle which) = 0;
  virtual void SetToggle(NotebookToggle which, bool on) = 0;
  virtual int DisplayPrecision() = 0;
  virtual void SetDisplayPrecision(int digits) = 0;
  virtual int IconMode() = 0;
  virtual void SetIconMode(int mode) = 0;
  virtual EnterKeyCommands EnterKeys() = 0;
  virtual void MarkChanged() = 0;
};
void SetFrontNotebookPrefs(FrontNotebookPrefs* prefs);

// --- Registration --------------------------------------------------------------

using CommandHandler = std::function<void(int32_t param)>;
// Installs the handler of an action (replacing an earlier one). The shell's
// own actions (kNone, kPerformCode, kToggle, kSetDisplayPrecision,
// kSetIconMode) cannot be registered: an internal error "RegisterCommand".
void RegisterCommand(CommandAction action, CommandHandler handler);
void UnregisterCommand(CommandAction action);
bool IsCommandRegistered(CommandAction action);

// Where an action is reached from, for the list of what remains unregistered.
struct UnregisteredCommand {
  CommandAction action;
  const char* name;
  std::vector<MenuCommandId> menuIds;
  std::vector<CommandCode> codes;
};
// Every action without a handler, in the order of the CommandAction list.
std::vector<UnregisteredCommand> UnregisteredCommands();

// The editor's entry for every command code that the program-level handler
// does not take. It is the editor's business to ignore codes when no notebook
// is open.
using EditorCommandHook = std::function<void(CommandCode)>;
void SetEditorCommandHook(EditorCommandHook hook);

// --- Dispatch ------------------------------------------------------------------

// The action of a program-level command code; kNone for the codes that go to
// the editor.
struct ProgramCommand {
  CommandAction action = CommandAction::kNone;
  int32_t param = 0;
  friend bool operator==(const ProgramCommand&, const ProgramCommand&) = default;
};
ProgramCommand ProgramLevelCommand(CommandCode code);

// The single entry through which keys, palette buttons and menu commands reach
// the notebook. Runs in its own failure frame: a failure shows its alert and
// ends the command.
void PerformCommandCode(CommandCode code);

// The keystroke table's command for a keystroke code (or a single byte of
// typed text), performed; false when the table has none. A notebook window's
// key operation.
bool PerformKeystroke(KeystrokeCode code);

enum class CommandSource { kMenu, kAccelerator, kControl };
// A menu command. From a menu or an accelerator the run-time items are tried
// first; then the item's action runs. Ids with no item (separators, unknown
// ids) do nothing; an action with no handler shows message 13147. Runs in its
// own failure frame.
void DispatchMenuCommand(MenuCommandId id, CommandSource source = CommandSource::kMenu);

// Brings the check marks and enabled states of the preference items, and the
// four Enter-key bindings, up to date with the front notebook. Does nothing when
// no notebook is in front.
void RefreshMenus();

// The keystroke shown beside a menu item ("Ctrl+Z"); "" when no key performs it.
std::string MenuAcceleratorText(MenuCommandId id);

}  // namespace lemmabox
