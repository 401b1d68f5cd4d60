#include "shell/menus.h"

#include <algorithm>
#include <map>

#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

using A = CommandAction;
using T = NotebookToggle;

// One item of a menu's definition. Separators and submenu entries carry no
// text of their own (a submenu entry shows the submenu's title). `id` is the
// id the item's position must give; building checks it, so that the named ids
// of menu_ids.h and the order here cannot drift apart.
struct ItemDef {
  const char* text = nullptr;
  CommandAction action = A::kNone;
  int32_t param = 0;
  int submenu = 0;
  MenuCommandId id = 0;
};

ItemDef Sep() {
  return {};
}
ItemDef Sub(int number) {
  return {nullptr, A::kNone, 0, number, 0};
}
ItemDef Code(MenuCommandId id, const char* text, CommandCode code) {
  return {text, A::kPerformCode, static_cast<int32_t>(code), 0, id};
}
ItemDef Act(MenuCommandId id, const char* text, CommandAction action, int32_t param = 0) {
  return {text, action, param, 0, id};
}
ItemDef Toggle(MenuCommandId id, const char* text, NotebookToggle which) {
  return {text, A::kToggle, static_cast<int32_t>(which), 0, id};
}
ItemDef Manipulation(MenuCommandId id, const char* text, int number) {
  return {text, A::kManipulate, number, 0, id};
}
constexpr int32_t Rgb(int red, int green, int blue) {
  return red * 65536 + green * 256 + blue;
}

struct MenuDef {
  int number;
  const char* title;
  int firstItem;
  std::vector<ItemDef> items;
};

// The menu resource, menus in numbering order.
std::vector<MenuDef> MenuDefinitions() {
  return {
      {kMenuFile,
       "&File",
       1,
       {Code(kMenuNewNotebook, "New Notebook", kCmdNewNotebook),
        Code(kMenuOpenNotebook, "Open Notebook...", kCmdOpenNotebook),
        Code(kMenuCloseNotebook, "Close Notebook", kCmdCloseNotebook), Sep(),
        Code(kMenuSaveNotebook, "Save Notebook", kCmdSaveNotebook),
        Act(kMenuSaveAs, "Save as...", A::kSaveNotebookAs),
        Toggle(kMenuAutoSave, "AutoSave", T::kAutoSave),
        Act(kMenuRevertToSaved, "Revert to Saved", A::kRevertToSaved), Sep(),
        Act(kMenuPrinterSetup, "Printer Setup...", A::kPrinterSetup),
        Code(kMenuPrintNotebook, "Print Notebook...", kCmdPrintNotebook),
        Act(kMenuPrintingPrefs, "Printing Prefs...", A::kPrintingPrefs), Sep(),
        Code(kMenuExit, "Exit", kCmdExit)}},
      {kMenuEdit,
       "&Edit",
       1,
       {Code(kMenuUndo, "Undo", kCmdUndo), Sep(), Code(kMenuCut, "Cut", kCmdCut),
        Code(kMenuCopy, "Copy", kCmdCopy),
        Code(kMenuCopyAsPicture, "Copy as Picture", kCmdCopyAsPicture),
        Act(kMenuCopyHtmlTag, "Copy HTML Tag", A::kCopyHtmlTag),
        Code(kMenuPaste, "Paste", kCmdPaste), Code(kMenuClear, "Clear", kCmdClear), Sep(),
        Code(kMenuSelectIn, "Select In", kCmdSelectIn),
        Code(kMenuSelectOut, "Select Out", kCmdSelectOut), Sep(),
        Code(kMenuCommentFont, "Comment Font...", kCmdCommentFont), Sub(kMenuCommentStyle),
        Sub(kMenuCommentColor), Sep(), Sub(kMenuEditingPrefs)}},
      {kMenuCommentStyle,
       "Comment Style",
       1,
       {Code(kMenuStylePlain, "Plain", kCmdStylePlain), Sep(),
        Code(kMenuStyleBold, "Bold", kCmdStyleBold),
        Code(kMenuStyleItalic, "Italic", kCmdStyleItalic),
        Code(kMenuStyleUnderline, "Underline", kCmdStyleUnderline)}},
      // Greys, hues, then the browns; the last choice opens the colour chooser.
      {kMenuCommentColor,
       "Comment Color",
       1,
       {Act(kMenuColorWhite, "White", A::kSetCommentColor, Rgb(255, 255, 255)),
        Act(0, "Light Gray", A::kSetCommentColor, Rgb(182, 182, 182)),
        Act(0, "Dark Gray", A::kSetCommentColor, Rgb(73, 73, 73)),
        Act(0, "Black", A::kSetCommentColor, Rgb(0, 0, 0)), Sep(),
        Act(0, "Red", A::kSetCommentColor, Rgb(255, 0, 0)),
        Act(0, "Orange", A::kSetCommentColor, Rgb(255, 109, 0)),
        Act(0, "Yellow", A::kSetCommentColor, Rgb(255, 255, 0)),
        Act(0, "Green", A::kSetCommentColor, Rgb(0, 255, 0)),
        Act(0, "Cyan", A::kSetCommentColor, Rgb(0, 255, 255)),
        Act(0, "Blue", A::kSetCommentColor, Rgb(0, 0, 255)),
        Act(0, "Purple", A::kSetCommentColor, Rgb(145, 0, 255)),
        Act(0, "Magenta", A::kSetCommentColor, Rgb(255, 0, 255)), Sep(),
        Act(0, "Camel", A::kSetCommentColor, Rgb(255, 182, 36)),
        Act(kMenuColorBrown, "Brown", A::kSetCommentColor, Rgb(109, 36, 0)), Sep(),
        Act(kMenuColorOther, "Other...", A::kChooseCommentColor)}},
      {kMenuEditingPrefs,
       "Editing Prefs",
       1,
       {Toggle(kMenuFortranish, "Fortranish", T::kFortranish),
        Toggle(kMenuPaletteAutoToggle, "Palette AutoToggle", T::kPaletteAutoToggle),
        Act(kMenuEnterKey, "Enter Key...", A::kEnterKeyPrefs),
        Toggle(kMenuRippleChanges, "Ripple Changes Immediately", T::kRippleChangesImmediately)}},
      {kMenuNotebook,
       "&Notebook",
       1,
       {Act(kMenuClarify, "Clarify", A::kClarify),
        Sub(kMenuWindows),
        Sub(kMenuInsert),
        Code(kMenuExpose, "Expose", kCmdExpose),
        Act(kMenuExposeAll, "Expose All", A::kExposeAll),
        Code(kMenuCollapse, "Collapse", kCmdCollapse),
        Act(kMenuCollapseAll, "Collapse All", A::kCollapseAll),
        Code(kMenuIndentLeft, "Indent Left", kCmdIndentLeft),
        Code(kMenuIndentRight, "Indent Right", kCmdIndentRight),
        Act(kMenuLockProposition, "Lock Proposition", A::kLockProposition),
        Sep(),
        Sub(kMenuDisplayPrecision),
        Code(kMenuMakeWorkingStmt, "Make Working Stmt", kCmdMakeWorkingStmt),
        Act(kMenuStopWorkingStmt, "Stop Working Stmt", A::kStopWorkingStmt),
        Toggle(kMenuGuessWorkingStmts, "Guess Working Stmts", T::kGuessWorkingStmts),
        Sep(),
        Act(kMenuGetInfo, "Get Info...", A::kGetInfo),
        Sep(),
        Sub(kMenuNotebookPrefs),
        Act(kMenuNotebookFont, "Notebook Font...", A::kNotebookFont)}},
      // The open notebook windows are added after the separator at run time.
      {kMenuWindows, "Windows", 1, {Act(kMenuPalette, "Palette", A::kTogglePalette), Sep()}},
      {kMenuInsert,
       "Insert",
       1,
       {Code(kMenuRowColumnNumber, "Row/Column Number...", kCmdRowColumnNumber), Sep(),
        Act(kMenuPageBreak, "Page Break", A::kInsertPageBreak), Sep(),
        Act(kMenuCaseTheory, "Case Theory", A::kInsertCaseTheory),
        Code(kMenuTransformRule, "Transform Rule", kCmdInsertTransformRule),
        Act(kMenuNameDecl, "Name Decl.", A::kInsertNameDecl),
        Act(kMenuIndependenceDecl, "Independence Decl.", A::kInsertIndependenceDecl)}},
      {kMenuDisplayPrecision,
       "Display Precision",
       1,
       {Act(kMenuPrecisionFirst, "1 digit", A::kSetDisplayPrecision, 1),
        Act(0, "2 digits", A::kSetDisplayPrecision, 2),
        Act(0, "3 digits", A::kSetDisplayPrecision, 3),
        Act(0, "4 digits", A::kSetDisplayPrecision, 4),
        Act(0, "5 digits", A::kSetDisplayPrecision, 5),
        Act(0, "6 digits", A::kSetDisplayPrecision, 6),
        Act(0, "7 digits", A::kSetDisplayPrecision, 7),
        Act(0, "8 digits", A::kSetDisplayPrecision, 8),
        Act(0, "10 digits", A::kSetDisplayPrecision, 10),
        Act(kMenuPrecisionLast, "15 digits", A::kSetDisplayPrecision, 15)}},
      {kMenuNotebookPrefs,
       "Notebook Prefs",
       1,
       {Act(kMenuCommentRulers, "Comment Rulers...", A::kCommentRulers), Sub(kMenuShowIcons),
        Toggle(kMenuShowSteps, "Show Steps", T::kShowSteps)}},
      {kMenuShowIcons,
       "Show Icons",
       1,
       {Act(kMenuIconsAlways, "Always", A::kSetIconMode, 3),
        Act(kMenuIconsUnlessPrinting, "Unless Printing", A::kSetIconMode, 2),
        Act(kMenuIconsNever, "Never", A::kSetIconMode, 0)}},
      {kMenuManipulate,
       "&Manipulate",
       1,
       {Manipulation(kMenuCalculate, "Calculate", 4),
        Manipulation(kMenuSimplify, "Simplify", 1),
        Manipulation(kMenuExpand, "Expand", 2),
        Sep(),
        Manipulation(kMenuCollect, "Collect", 6),
        Manipulation(kMenuFactor, "Factor", 7),
        Sep(),
        Manipulation(kMenuIsolate, "Isolate", 9),
        Manipulation(kMenuApply, "Apply", 13),
        Manipulation(kMenuTransform, "Transform", 3),
        Sub(kMenuManipulateOther),
        Sep(),
        Act(kMenuFindGraphRoot, "Find Graph Root", A::kFindGraphRoot),
        Sub(kMenuTable),
        Sep(),
        Code(kMenuReManipulateNow, "ReManipulate Now", kCmdReManipulateNow),
        Toggle(kMenuAlwaysReManipulate, "Always ReManipulate", T::kAlwaysReManipulate),
        Act(kMenuBreakCascadeAbove, "Break Cascade Above", A::kBreakCascadeAbove),
        Act(kMenuBreakCascadeBelow, "Break Cascade Below", A::kBreakCascadeBelow),
        Act(kMenuDivertCascade, "Divert Cascade", A::kDivertCascade),
        Sep(),
        Sub(kMenuManipulationPrefs)}},
      {kMenuManipulateOther,
       "Other",
       1,
       {Manipulation(kMenuUnCalculate, "UnCalculate", 14),
        Manipulation(kMenuMiniExpand, "MiniExpand", 5), Sep(),
        Manipulation(kMenuSubstitute, "Substitute", 16),
        Manipulation(kMenuTaylorSeries, "Taylor Series", 12),
        Manipulation(kMenuIntByParts, "Int. by Parts", 15), Sep(),
        Manipulation(kMenuCommute, "Commute", 11), Manipulation(kMenuMoveOver, "Move Over", 10)}},
      {kMenuTable,
       "Table",
       1,
       {Act(kMenuGenerateTable, "Generate...", A::kGenerateTable), Sep(),
        Act(kMenuIntegrateDifferentialEquation, "Integrate Differential Equation...",
            A::kIntegrateDifferentialEquation),
        Sep(), Act(kMenuFourierTransform, "Fourier Transform", A::kFourierTransform),
        Act(kMenuInverseFourierTransform, "Inverse Fourier Transform",
            A::kInverseFourierTransform)}},
      {kMenuManipulationPrefs,
       "Manipulation Prefs",
       1,
       {Code(kMenuAutoSimplify, "Auto Simplify", kCmdToggleAutoSimplify),
        Code(kMenuAutoCasing, "Auto Casing", kCmdToggleAutoCasing),
        Toggle(kMenuAutoCollapsar, "Auto Collapsar", T::kAutoCollapsar), Sep(),
        Act(kMenuArbitraryConstants, "Arbitrary Constants...", A::kArbitraryConstants),
        Act(kMenuNumericIntegration, "Numeric Integration...", A::kNumericIntegration)}},
      {kMenuGraph,
       "&Graph",
       1,
       {Sub(kMenuGraphYOfX), Sub(kMenuGraphZOfXY), Sub(kMenuGraphOther), Sub(kMenuGraphScatter),
        Sub(kMenuGraphAdditional), Sub(kMenuGraphAnimation), Sep(),
        Act(kMenuGenerateEps, "Generate EPS File...", A::kGenerateGraphicsFile, 'E'),
        Act(kMenuGenerateVrml, "Generate VRML File...", A::kGenerateVrmlFile),
        Act(kMenuGenerateMetafile, "Generate MetaFile...", A::kGenerateGraphicsFile, 'P'), Sep(),
        Code(kMenuRedrawNow, "Redraw Now", kCmdRedrawGraphs),
        Toggle(kMenuAlwaysRedraw, "Always Redraw", T::kAlwaysRedraw),
        Act(kMenuGraphCreationPrefs, "Creation &Prefs...", A::kGraphCreationPrefs),
        Act(kMenuGraphDrawingPrefs, "Drawing &Prefs...", A::kGraphDrawingPrefs)}},
      {kMenuGraphYOfX,
       "y = f(x)",
       1,
       {Act(kMenuGraphLinear, "Linear", A::kNewGraph, 129),
        Act(kMenuGraphSemiLog, "SemiLog", A::kNewGraph, 642),
        Act(kMenuGraphSemiLogX, "SemiLog-X", A::kNewGraph, 387),
        Act(kMenuGraphLogLog, "Log-Log", A::kNewGraph, 900),
        Act(kMenuGraphPolar, "Polar", A::kNewGraph, 1157), Sep(),
        Act(kMenuGraphComplex3D, "Complex 3D", A::kNewGraph, 196)}},
      {kMenuGraphZOfXY,
       "z = f(x, y)",
       1,
       {Act(kMenuGraphDensity2D, "Density 2D", A::kNewGraph, 21),
        Act(kMenuGraphContour2D, "Contour 2D", A::kNewGraph, 22), Sep(),
        Act(kMenuGraphColor3D, "Color 3D", A::kNewGraph, 216),
        Act(kMenuGraphIllum3D, "Illum. 3D", A::kNewGraph, 217),
        Act(kMenuGraphSpherical3D, "Spherical 3D", A::kNewGraph, 1114),
        Act(kMenuGraphCylindrical3D, "Cylindrical 3D", A::kNewGraph, 1115)}},
      {kMenuGraphOther,
       "Other",
       1,
       {Act(kMenuGraphParametric, "x = f(t), y = g(t) Parametric", A::kNewGraph, 177),
        Act(kMenuGraphSpaceCurve, "x = f(t), y = g(t), z = h(t) Space Curve", A::kNewGraph, 242),
        Sep(), Act(kMenuGraphImplicit, "f(x, y) = g(x, y) Implicit", A::kNewGraph, 180)}},
      {kMenuGraphScatter,
       "Scatter",
       1,
       {Act(kMenuScatterLinear, "Linear", A::kNewGraph, 161),
        Act(kMenuScatterSemilog, "Semilog", A::kNewGraph, 674),
        Act(kMenuScatterSemilogX, "Semilog-X", A::kNewGraph, 419),
        Act(kMenuScatterLogLog, "Log-Log", A::kNewGraph, 932),
        Act(kMenuScatterPolar, "Polar", A::kNewGraph, 1189), Sep(),
        Act(kMenuScatter3D, "3D", A::kNewGraph, 230)}},
      {kMenuGraphAdditional,
       "Additional",
       1,
       {Act(kMenuAddLinePlot, "Add Line Plot", A::kAddPlot, 3),
        Act(kMenuAddSurfacePlot, "Add Surface Plot", A::kAddPlot, 4),
        Act(kMenuAddContourPlot, "Add Contour Plot", A::kAddPlot, 5),
        Act(kMenuAddImplicitPlot, "Add Implicit Plot", A::kAddPlot, 95),
        Act(kMenuAddScatterPlot, "Add Scatter Plot", A::kAddPlot, 6),
        Act(kMenuAddAxes, "Add Axes", A::kAddPlot, 7),
        Act(kMenuAddGridLines, "Add Grid Lines", A::kAddPlot, 8), Sep(),
        Toggle(kMenuWithBlankSlots, "with blank slots", T::kWithBlankSlots)}},
      {kMenuGraphAnimation,
       "Animation",
       1,
       {Act(kMenuAnimationStart, "Start", A::kAnimationStart),
        Act(kMenuAnimationStop, "Stop", A::kAnimationStop)}},
      {kMenuHelp,
       "&Help",
       MenuItemNumberOf(kMenuHelpContents),
       {Act(kMenuHelpContents, "Contents", A::kHelpContents),
        Act(kMenuHelpSearch, "Search for help on...", A::kHelpSearch),
        Act(kMenuHelpOnHelp, "Using Help", A::kHelpOnHelp),
        Act(kMenuAbout, "&About %s...", A::kAbout)}},
  };
}

constexpr int kMenuBarMenus[] = {kMenuFile,       kMenuEdit,  kMenuNotebook,
                                 kMenuManipulate, kMenuGraph, kMenuHelp};

// Only the palette is shown when the first notebook window opens; the
// notebook-dependent marks follow from RefreshMenus.
constexpr InitialMenuState kInitialStates[] = {
    {kMenuPalette, true, true},
};

struct CommandState {
  bool enabled = true;
  bool checked = false;
};

struct MenuModel {
  bool built = false;
  std::vector<Menu> menus;
  std::list<AdHocMenuItem> adHoc;
  std::map<MenuCommandId, CommandState> states;
  MenuObserver* observer = nullptr;
  void (*bringToFront)(void*) = nullptr;
};

MenuModel& RawModel() {
  static MenuModel model;
  return model;
}

MenuModel& Model() {
  MenuModel& model = RawModel();
  if (!model.built) BuildMenus();
  return model;
}

Menu* MutableMenu(int number) {
  for (Menu& menu : Model().menus) {
    if (menu.number == number) return &menu;
  }
  return nullptr;
}

void NotifyItems(int menuNumber) {
  if (MenuObserver* observer = RawModel().observer) observer->MenuItemsChanged(menuNumber);
}

void NotifyState(MenuCommandId id) {
  if (MenuObserver* observer = RawModel().observer) observer->MenuCommandStateChanged(id);
}

std::string FormatAbout(const char* pattern, const std::string& programName) {
  std::string text = pattern;
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, programName);
  return text;
}

// Cuts a UTF-8 title to at most kMaxAdHocTitleLength characters.
std::string CutTitle(const std::string& title) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < title.size(); ++i) {
    bool startsCharacter = (static_cast<unsigned char>(title[i]) & 0xC0) != 0x80;
    if (startsCharacter && ++characters > kMaxAdHocTitleLength) return title.substr(0, i);
  }
  return title;
}

// The id for a new item at the end of the menu: one past the last item (past
// the item before a trailing separator). When the item numbers run out at 255,
// the lowest number after the menu's own items that no run-time item holds is
// reused, so that an id never spills into the next menu's numbers.
MenuCommandId NextAdHocId(const Menu& menu) {
  const std::vector<MenuItem>& items = menu.items;
  int next = 1;
  if (!items.empty()) {
    std::size_t last = items.size() - 1;
    if (items[last].separator && last > 0) --last;
    next = MenuItemNumberOf(items[last].id) + 1;
  }
  if (next <= 0xFF) return MenuCommandOf(menu.number, next);
  int firstFree = 1;
  for (const MenuItem& item : items) {
    if (!item.adHoc) firstFree = std::max(firstFree, MenuItemNumberOf(item.id) + 1);
  }
  for (int number = firstFree; number <= 0xFF; ++number) {
    MenuCommandId id = MenuCommandOf(menu.number, number);
    bool used = std::any_of(items.begin(), items.end(),
                            [&](const MenuItem& item) { return item.id == id; });
    if (!used) return id;
  }
  // As when a window cannot be made: there is no room for another one.
  Raise(kMsgOutOfMemory);
}

AdHocMenuItem* FindAdHoc(int menuNumber, void* argument) {
  for (AdHocMenuItem& item : Model().adHoc) {
    if (item.menuNumber == menuNumber && item.argument == argument) return &item;
  }
  return nullptr;
}

void BringWindowToFront(void* window) {
  if (auto bring = RawModel().bringToFront) bring(window);
}

}  // namespace

void BuildMenus() {
  const char* name = ProgramName();
  BuildMenus(name ? name : "Lemmabox");
}

void BuildMenus(const std::string& programName) {
  MenuModel& model = RawModel();
  model.built = true;
  model.menus.clear();
  model.adHoc.clear();
  model.states.clear();
  std::vector<MenuDef> definitions = MenuDefinitions();
  auto titleOf = [&](int number) -> std::string {
    for (const MenuDef& def : definitions) {
      if (def.number == number) return def.title;
    }
    InternalError("BuildMenus");
  };
  for (const MenuDef& def : definitions) {
    Menu menu;
    menu.number = def.number;
    menu.title = def.title;
    int position = def.firstItem;
    for (const ItemDef& itemDef : def.items) {
      MenuItem item;
      item.id = MenuCommandOf(def.number, position++);
      if (itemDef.id != 0 && itemDef.id != item.id) InternalError("BuildMenus");
      item.action = itemDef.action;
      item.param = itemDef.param;
      item.submenu = itemDef.submenu;
      item.separator = itemDef.text == nullptr && itemDef.submenu == 0;
      if (item.submenu != 0) {
        item.text = titleOf(item.submenu);
      } else if (itemDef.text != nullptr) {
        item.text = itemDef.action == A::kAbout ? FormatAbout(itemDef.text, programName)
                                                : std::string(itemDef.text);
      }
      menu.items.push_back(std::move(item));
    }
    model.menus.push_back(std::move(menu));
  }
  ApplyInitialMenuStates();
  for (const Menu& menu : model.menus) NotifyItems(menu.number);
}

const std::vector<Menu>& AllMenus() {
  return Model().menus;
}

std::vector<int> MenuBar() {
  return {std::begin(kMenuBarMenus), std::end(kMenuBarMenus)};
}

const Menu* FindMenu(int number) {
  return MutableMenu(number);
}

const MenuItem* FindMenuItem(MenuCommandId id) {
  const Menu* menu = FindMenu(MenuNumberOf(id));
  if (!menu) return nullptr;
  for (const MenuItem& item : menu->items) {
    if (item.id == id && !item.separator) return &item;
  }
  return nullptr;
}

void CheckMenuCommand(MenuCommandId id, bool on) {
  CommandState& state = Model().states[id];
  if (state.checked == on) return;
  state.checked = on;
  NotifyState(id);
}

void EnableMenuCommand(MenuCommandId id, bool on) {
  CommandState& state = Model().states[id];
  if (state.enabled == on) return;
  state.enabled = on;
  NotifyState(id);
}

bool IsMenuCommandChecked(MenuCommandId id) {
  auto& states = Model().states;
  auto found = states.find(id);
  return found != states.end() && found->second.checked;
}

bool IsMenuCommandEnabled(MenuCommandId id) {
  auto& states = Model().states;
  auto found = states.find(id);
  return found == states.end() || found->second.enabled;
}

std::span<const InitialMenuState> InitialMenuStates() {
  return kInitialStates;
}

void ApplyInitialMenuStates() {
  for (const InitialMenuState& initial : kInitialStates) {
    if (!initial.enabled) EnableMenuCommand(initial.id, false);
    if (initial.checked) CheckMenuCommand(initial.id, true);
  }
}

void SetMenuObserver(MenuObserver* observer) {
  RawModel().observer = observer;
}

MenuCommandId AddAdHocMenuItem(int menuNumber, const std::string& title, AdHocCallback callback,
                               void* argument) {
  Menu* menu = MutableMenu(menuNumber);
  if (!menu) InternalError("AddAdHocListItem");
  AdHocMenuItem record;
  record.menuNumber = menuNumber;
  record.id = NextAdHocId(*menu);
  record.title = CutTitle(title);
  record.callback = callback;
  record.argument = argument;
  MenuItem item;
  item.id = record.id;
  item.text = record.title;
  item.adHoc = true;
  menu->items.push_back(std::move(item));
  Model().adHoc.push_back(record);
  // A reused id starts unchecked and enabled.
  Model().states.erase(record.id);
  NotifyItems(menuNumber);
  return record.id;
}

void RemoveAdHocMenuItem(int menuNumber, void* argument) {
  MenuModel& model = Model();
  auto found = std::find_if(model.adHoc.begin(), model.adHoc.end(), [&](const AdHocMenuItem& a) {
    return a.menuNumber == menuNumber && a.argument == argument;
  });
  if (found == model.adHoc.end()) InternalError("DeleteAdHocListItem");
  MenuCommandId id = found->id;
  model.adHoc.erase(found);
  if (Menu* menu = MutableMenu(menuNumber)) {
    std::erase_if(menu->items, [&](const MenuItem& item) { return item.adHoc && item.id == id; });
  }
  model.states.erase(id);
  NotifyItems(menuNumber);
}

void CheckAdHocMenuItem(int menuNumber, AdHocCallback callback, void* argument, bool on) {
  AdHocMenuItem* item = FindAdHoc(menuNumber, argument);
  if (!item || item->callback != callback) InternalError("pSetCheckMenuItem");
  CheckMenuCommand(item->id, on);
}

void RenameAdHocMenuItem(int menuNumber, void* argument, const std::string& title) {
  AdHocMenuItem* record = FindAdHoc(menuNumber, argument);
  if (!record) InternalError("RenameAdHocListItem");
  record->title = CutTitle(title);
  for (MenuItem& item : MutableMenu(menuNumber)->items) {
    if (item.adHoc && item.id == record->id) item.text = record->title;
  }
  NotifyItems(menuNumber);
}

const std::list<AdHocMenuItem>& AdHocMenuItems() {
  return Model().adHoc;
}

const AdHocMenuItem* FindAdHocMenuItem(MenuCommandId id) {
  for (const AdHocMenuItem& item : Model().adHoc) {
    if (item.menuNumber == MenuNumberOf(id) && item.id == id) return &item;
  }
  return nullptr;
}

void SetBringWindowToFront(void (*bringToFront)(void* window)) {
  RawModel().bringToFront = bringToFront;
}

MenuCommandId AddWindowsMenuEntry(const std::string& title, void* window) {
  return AddAdHocMenuItem(kMenuWindows, title, &BringWindowToFront, window);
}

void RemoveWindowsMenuEntry(void* window) {
  RemoveAdHocMenuItem(kMenuWindows, window);
}

void RenameWindowsMenuEntry(void* window, const std::string& title) {
  RenameAdHocMenuItem(kMenuWindows, window, title);
}

void MarkFrontWindowsMenuEntry(void* window) {
  for (const AdHocMenuItem& item : Model().adHoc) {
    if (item.menuNumber == kMenuWindows && item.callback == &BringWindowToFront) {
      CheckMenuCommand(item.id, item.argument == window);
    }
  }
}

}  // namespace lemmabox
