// Menu numbers and menu command ids.
//
// Menus are numbered in the order they are declared, submenus included; items
// are numbered from 1 within their menu, separators and submenu entries
// counted. A command id is (menu number << 8) | item number, so the id alone
// tells which menu an item lives in. The Help menu numbers its items from 0xF0.
#pragma once

#include "shell/command_codes.h"

namespace lemmabox {

constexpr MenuCommandId MenuCommandOf(int menu, int item) {
  return static_cast<MenuCommandId>((menu << 8) | item);
}
constexpr int MenuNumberOf(MenuCommandId id) {
  return id >> 8;
}
constexpr int MenuItemNumberOf(MenuCommandId id) {
  return id & 0xFF;
}

// --- Menu numbers ------------------------------------------------------------
constexpr int kMenuFile = 1;
constexpr int kMenuEdit = 2;
constexpr int kMenuCommentStyle = 3;
constexpr int kMenuCommentColor = 4;
constexpr int kMenuEditingPrefs = 5;
constexpr int kMenuNotebook = 6;
constexpr int kMenuWindows = 7;
constexpr int kMenuInsert = 8;
constexpr int kMenuDisplayPrecision = 9;
constexpr int kMenuNotebookPrefs = 10;
constexpr int kMenuShowIcons = 11;
constexpr int kMenuManipulate = 12;
constexpr int kMenuManipulateOther = 13;
constexpr int kMenuTable = 14;
constexpr int kMenuManipulationPrefs = 15;
constexpr int kMenuGraph = 16;
constexpr int kMenuGraphYOfX = 17;
constexpr int kMenuGraphZOfXY = 18;
constexpr int kMenuGraphOther = 19;
constexpr int kMenuGraphScatter = 20;
constexpr int kMenuGraphAdditional = 21;
constexpr int kMenuGraphAnimation = 22;
constexpr int kMenuHelp = 0x35;

// --- File ---------------------------------------------------------------------
constexpr MenuCommandId kMenuNewNotebook = 257;
constexpr MenuCommandId kMenuOpenNotebook = 258;
constexpr MenuCommandId kMenuCloseNotebook = 259;
constexpr MenuCommandId kMenuSaveNotebook = 261;
constexpr MenuCommandId kMenuSaveAs = 262;
constexpr MenuCommandId kMenuAutoSave = 263;
constexpr MenuCommandId kMenuRevertToSaved = 264;
constexpr MenuCommandId kMenuPrinterSetup = 266;
constexpr MenuCommandId kMenuPrintNotebook = 267;
constexpr MenuCommandId kMenuPrintingPrefs = 268;
constexpr MenuCommandId kMenuExit = 270;

// --- Edit ---------------------------------------------------------------------
constexpr MenuCommandId kMenuUndo = 513;
constexpr MenuCommandId kMenuCut = 515;
constexpr MenuCommandId kMenuCopy = 516;
constexpr MenuCommandId kMenuCopyAsPicture = 517;
constexpr MenuCommandId kMenuCopyHtmlTag = 518;
constexpr MenuCommandId kMenuPaste = 519;
constexpr MenuCommandId kMenuClear = 520;
constexpr MenuCommandId kMenuSelectIn = 522;
constexpr MenuCommandId kMenuSelectOut = 523;
constexpr MenuCommandId kMenuCommentFont = 525;

// --- Edit > Comment Style -------------------------------------------------------
constexpr MenuCommandId kMenuStylePlain = 769;
constexpr MenuCommandId kMenuStyleBold = 771;
constexpr MenuCommandId kMenuStyleItalic = 772;
constexpr MenuCommandId kMenuStyleUnderline = 773;

// --- Edit > Comment Color: fourteen colours in three groups, then Other... ---------
constexpr MenuCommandId kMenuColorWhite = 1025;
constexpr MenuCommandId kMenuColorBrown = 1040;
constexpr MenuCommandId kMenuColorOther = 1042;

// --- Edit > Editing Prefs -----------------------------------------------------------
constexpr MenuCommandId kMenuFortranish = 1281;
constexpr MenuCommandId kMenuPaletteAutoToggle = 1282;
constexpr MenuCommandId kMenuEnterKey = 1283;
constexpr MenuCommandId kMenuRippleChanges = 1284;

// --- Notebook ---------------------------------------------------------------------
constexpr MenuCommandId kMenuClarify = 1537;
constexpr MenuCommandId kMenuExpose = 1540;
constexpr MenuCommandId kMenuExposeAll = 1541;
constexpr MenuCommandId kMenuCollapse = 1542;
constexpr MenuCommandId kMenuCollapseAll = 1543;
constexpr MenuCommandId kMenuIndentLeft = 1544;
constexpr MenuCommandId kMenuIndentRight = 1545;
constexpr MenuCommandId kMenuLockProposition = 1546;
constexpr MenuCommandId kMenuMakeWorkingStmt = 1549;
constexpr MenuCommandId kMenuStopWorkingStmt = 1550;
constexpr MenuCommandId kMenuGuessWorkingStmts = 1551;
constexpr MenuCommandId kMenuGetInfo = 1553;
constexpr MenuCommandId kMenuNotebookFont = 1556;

// --- Notebook > Windows (the open notebooks follow the separator) ---------------------
constexpr MenuCommandId kMenuPalette = 1793;

// --- Notebook > Insert -------------------------------------------------------------------
constexpr MenuCommandId kMenuRowColumnNumber = 2049;
constexpr MenuCommandId kMenuPageBreak = 2051;
constexpr MenuCommandId kMenuCaseTheory = 2053;
constexpr MenuCommandId kMenuTransformRule = 2054;
constexpr MenuCommandId kMenuNameDecl = 2055;
constexpr MenuCommandId kMenuIndependenceDecl = 2056;

// --- Notebook > Display Precision: 1..8, 10 and 15 digits -----------------------------
constexpr MenuCommandId kMenuPrecisionFirst = 2305;
constexpr MenuCommandId kMenuPrecisionLast = 2314;

// --- Notebook > Notebook Prefs, and its Show Icons submenu --------------------------------
constexpr MenuCommandId kMenuCommentRulers = 2561;
constexpr MenuCommandId kMenuShowSteps = 2563;
constexpr MenuCommandId kMenuIconsAlways = 2817;
constexpr MenuCommandId kMenuIconsUnlessPrinting = 2818;
constexpr MenuCommandId kMenuIconsNever = 2819;

// --- Manipulate -----------------------------------------------------------------------------
constexpr MenuCommandId kMenuCalculate = 3073;
constexpr MenuCommandId kMenuSimplify = 3074;
constexpr MenuCommandId kMenuExpand = 3075;
constexpr MenuCommandId kMenuCollect = 3077;
constexpr MenuCommandId kMenuFactor = 3078;
constexpr MenuCommandId kMenuIsolate = 3080;
constexpr MenuCommandId kMenuApply = 3081;
constexpr MenuCommandId kMenuTransform = 3082;
constexpr MenuCommandId kMenuFindGraphRoot = 3085;
constexpr MenuCommandId kMenuReManipulateNow = 3088;
constexpr MenuCommandId kMenuAlwaysReManipulate = 3089;
constexpr MenuCommandId kMenuBreakCascadeAbove = 3090;
constexpr MenuCommandId kMenuBreakCascadeBelow = 3091;
constexpr MenuCommandId kMenuDivertCascade = 3092;

// --- Manipulate > Other ------------------------------------------------------------------------
constexpr MenuCommandId kMenuUnCalculate = 3329;
constexpr MenuCommandId kMenuMiniExpand = 3330;
constexpr MenuCommandId kMenuSubstitute = 3332;
constexpr MenuCommandId kMenuTaylorSeries = 3333;
constexpr MenuCommandId kMenuIntByParts = 3334;
constexpr MenuCommandId kMenuCommute = 3336;
constexpr MenuCommandId kMenuMoveOver = 3337;

// --- Manipulate > Table
// ---------------------------------------------------------------------------
constexpr MenuCommandId kMenuGenerateTable = 3585;
constexpr MenuCommandId kMenuIntegrateDifferentialEquation = 3587;
constexpr MenuCommandId kMenuFourierTransform = 3589;
constexpr MenuCommandId kMenuInverseFourierTransform = 3590;

// --- Manipulate > Manipulation Prefs
// -----------------------------------------------------------------
constexpr MenuCommandId kMenuAutoSimplify = 3841;
constexpr MenuCommandId kMenuAutoCasing = 3842;
constexpr MenuCommandId kMenuAutoCollapsar = 3843;
constexpr MenuCommandId kMenuArbitraryConstants = 3845;
constexpr MenuCommandId kMenuNumericIntegration = 3846;

// --- Graph
// -------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuGenerateEps = 4104;
constexpr MenuCommandId kMenuGenerateVrml = 4105;
constexpr MenuCommandId kMenuGenerateMetafile = 4106;
constexpr MenuCommandId kMenuRedrawNow = 4108;
constexpr MenuCommandId kMenuAlwaysRedraw = 4109;
constexpr MenuCommandId kMenuGraphCreationPrefs = 4110;
constexpr MenuCommandId kMenuGraphDrawingPrefs = 4111;

// --- Graph > y = f(x)
// ----------------------------------------------------------------------------------
constexpr MenuCommandId kMenuGraphLinear = 4353;
constexpr MenuCommandId kMenuGraphSemiLog = 4354;
constexpr MenuCommandId kMenuGraphSemiLogX = 4355;
constexpr MenuCommandId kMenuGraphLogLog = 4356;
constexpr MenuCommandId kMenuGraphPolar = 4357;
constexpr MenuCommandId kMenuGraphComplex3D = 4359;

// --- Graph > z = f(x, y)
// -----------------------------------------------------------------------------------
constexpr MenuCommandId kMenuGraphDensity2D = 4609;
constexpr MenuCommandId kMenuGraphContour2D = 4610;
constexpr MenuCommandId kMenuGraphColor3D = 4612;
constexpr MenuCommandId kMenuGraphIllum3D = 4613;
constexpr MenuCommandId kMenuGraphSpherical3D = 4614;
constexpr MenuCommandId kMenuGraphCylindrical3D = 4615;

// --- Graph > Other
// ---------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuGraphParametric = 4865;
constexpr MenuCommandId kMenuGraphSpaceCurve = 4866;
constexpr MenuCommandId kMenuGraphImplicit = 4868;

// --- Graph > Scatter
// ---------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuScatterLinear = 5121;
constexpr MenuCommandId kMenuScatterSemilog = 5122;
constexpr MenuCommandId kMenuScatterSemilogX = 5123;
constexpr MenuCommandId kMenuScatterLogLog = 5124;
constexpr MenuCommandId kMenuScatterPolar = 5125;
constexpr MenuCommandId kMenuScatter3D = 5127;

// --- Graph > Additional
// ---------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuAddLinePlot = 5377;
constexpr MenuCommandId kMenuAddSurfacePlot = 5378;
constexpr MenuCommandId kMenuAddContourPlot = 5379;
constexpr MenuCommandId kMenuAddImplicitPlot = 5380;
constexpr MenuCommandId kMenuAddScatterPlot = 5381;
constexpr MenuCommandId kMenuAddAxes = 5382;
constexpr MenuCommandId kMenuAddGridLines = 5383;
constexpr MenuCommandId kMenuWithBlankSlots = 5385;

// --- Graph > Animation
// ------------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuAnimationStart = 5633;
constexpr MenuCommandId kMenuAnimationStop = 5634;

// --- Help
// ---------------------------------------------------------------------------------------------------------------
constexpr MenuCommandId kMenuHelpContents = 13808;
constexpr MenuCommandId kMenuHelpSearch = 13809;
constexpr MenuCommandId kMenuHelpOnHelp = 13810;
constexpr MenuCommandId kMenuAbout = 13811;

}  // namespace lemmabox
