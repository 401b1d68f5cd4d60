// The three code spaces through which every user command travels.
//
// A key press becomes a keystroke code (16 bits: the character or special-key
// number in the low byte, 0x100 for a special key, 0x200 Alt, 0x400 Ctrl);
// the keystroke table turns it into a command code. A menu item is known by
// its menu command id, (menu number << 8) | item number (menu_ids.h), and its
// action usually performs a command code too. Palette buttons send command
// codes directly.
//
// Command codes are grouped in families by value. This header names every
// code the program itself binds or handles; the editor gives the rest their
// meaning inside an expression, and ignores the codes it does not know.
#pragma once

#include <cstdint>

namespace lemmabox {

using KeystrokeCode = uint16_t;
using CommandCode = uint32_t;
using MenuCommandId = uint16_t;

// --- Keystroke code bits -----------------------------------------------------
constexpr KeystrokeCode kKeySpecial = 0x100;        // a non-character key
constexpr KeystrokeCode kKeySpecialShifted = 0x40;  // in a special key's low byte: with Shift
constexpr KeystrokeCode kKeyAlt = 0x200;
constexpr KeystrokeCode kKeyCtrl = 0x400;

// --- Typed characters: 0x0F00 + character ------------------------------------
constexpr CommandCode kCmdTypeCharBase = 0x0F00;
constexpr CommandCode TypeCharCommand(uint8_t c) {
  return kCmdTypeCharBase + c;
}

// --- Symbol-font characters: 0x1200 + character -------------------------------
constexpr CommandCode kCmdSymbolCharBase = 0x1200;
constexpr CommandCode SymbolCharCommand(uint8_t c) {
  return kCmdSymbolCharBase + c;
}

// --- Templates (palette buttons and a few keys), 0x40xx..0x48xx ----------------
constexpr CommandCode kCmdTemplateParentheses = 0x4001;    // as typing '('
constexpr CommandCode kCmdTemplateAbsoluteValue = 0x4004;  // |S|
constexpr CommandCode kCmdTemplatePower = 0x4202;          // S^?
constexpr CommandCode kCmdTemplateSubscript = 0x4203;      // S_?
constexpr CommandCode kCmdTemplateQuotient = 0x4301;       // S/?
constexpr CommandCode kCmdTemplateQuotientAlt = 0x4302;
constexpr CommandCode kCmdTemplateSquareRoot = 0x4303;
constexpr CommandCode kCmdTemplateSquareRootAlt = 0x4304;
constexpr CommandCode kCmdTemplateDefiniteIntegral = 0x4600;  // integral with limits
constexpr CommandCode kCmdTemplateEvaluateAt = 0x4608;
// 0x4700 + c types the character c.
constexpr CommandCode kCmdTemplateTypedCharBase = 0x4700;
constexpr CommandCode kCmdTemplateIndefiniteIntegral = 0x4800;
constexpr CommandCode kCmdTemplateConditional = 0x4801;
constexpr CommandCode kCmdTemplateGreaterOrEqual = 0x4802;
constexpr CommandCode kCmdTemplateNotEqual = 0x4803;
constexpr CommandCode kCmdTemplateLessOrEqual = 0x4804;
constexpr CommandCode kCmdTemplateCrossProduct = 0x4805;
constexpr CommandCode kCmdTemplateDotProduct = 0x4806;
constexpr CommandCode kCmdTemplateMinus = 0x4807;  // as typing '-'
constexpr CommandCode kCmdTemplateAdjoint = 0x4808;
constexpr CommandCode kCmdTemplateDerivative = 0x4809;
constexpr CommandCode kCmdTemplateSummation = 0x480A;
constexpr CommandCode kCmdTemplateIteratedProduct = 0x480B;
constexpr CommandCode kCmdTemplateNegation = 0x480C;
constexpr CommandCode kCmdTemplateDifference = 0x480D;
constexpr CommandCode kCmdTemplateLimit = 0x480E;
constexpr CommandCode kCmdTemplateFunctionReference = 0x480F;
// Palette variants of power and subscript; the editor treats them as typing ^ and _.
constexpr CommandCode kCmdTemplatePowerVariant = 0xC202;
constexpr CommandCode kCmdTemplateSubscriptVariant = 0xC203;

// --- Structures and names, 0x52xx..0x57xx --------------------------------------
// 0x52RC: a matrix of R rows and C columns (each 1..15).
constexpr CommandCode kCmdMatrixBase = 0x5200;
constexpr CommandCode MatrixCommand(int rows, int columns) {
  return kCmdMatrixBase + static_cast<CommandCode>(((rows & 0xF) << 4) | (columns & 0xF));
}
constexpr CommandCode kCmdSpecialCharBase = 0x5300;
constexpr CommandCode kCmdInsertCapitalEta = 0x5321;  // name-alphabet character 0xEE
constexpr CommandCode kCmdRowColumnNumber = 0x5401;
constexpr CommandCode kCmdWildcardBase = 0x5500;         // + wildcard kind
constexpr CommandCode kCmdPaletteNameBase = 0x5600;      // + n: the n-th declared name
constexpr CommandCode kCmdPaletteFunctionBase = 0x5700;  // + n: the n-th name applied to S

// --- Comment styles, 0x60xx: 0x6000 + style number ------------------------------
constexpr CommandCode kCmdCommentStyleBase = 0x6000;
constexpr CommandCode kCmdStylePlain = 0x6003;
constexpr CommandCode kCmdStyleBold = 0x6004;
constexpr CommandCode kCmdStyleItalic = 0x6005;
constexpr CommandCode kCmdStyleUnderline = 0x600C;

// --- Edit commands, 0x61xx ---------------------------------------------------------
constexpr CommandCode kCmdUndo = 0x6101;
constexpr CommandCode kCmdCut = 0x6103;
constexpr CommandCode kCmdCopy = 0x6104;
constexpr CommandCode kCmdPaste = 0x6105;
constexpr CommandCode kCmdClear = 0x6106;
constexpr CommandCode kCmdCopyAsPicture = 0x6114;

// --- Selection and caret movement, 0x63xx -------------------------------------------
constexpr CommandCode kCmdSelectIn = 0x6300;
constexpr CommandCode kCmdSelectOut = 0x6301;
constexpr CommandCode kCmdSelectAll = 0x6302;    // the whole proposition
constexpr CommandCode kCmdSelectFirst = 0x6303;  // the first sub-object only
constexpr CommandCode kCmdNextQuestionMark = 0x6304;
constexpr CommandCode kCmdCaretAfterOperand = 0x6305;  // End and Escape
// Bound to Ctrl+A; the editor decides how far it reaches.
constexpr CommandCode kCmdSelectEverything = 0x6306;
constexpr CommandCode kCmdMoveLeft = 0x6310;
constexpr CommandCode kCmdMoveRight = 0x6311;
constexpr CommandCode kCmdMoveUp = 0x6312;
constexpr CommandCode kCmdMoveDown = 0x6313;

// --- Fonts, 0x64xx -------------------------------------------------------------------
constexpr CommandCode kCmdCommentFont = 0x6400;

// --- Structure editing and outline, 0x66xx --------------------------------------------
constexpr CommandCode kCmdBackspace = 0x6602;
constexpr CommandCode kCmdNewMatrixRow = 0x6603;
constexpr CommandCode kCmdNewMatrixColumn = 0x6604;
constexpr CommandCode kCmdIndentLeft = 0x6631;
constexpr CommandCode kCmdIndentRight = 0x6632;
// The two actions the Enter-key preferences bind to Return and Enter.
constexpr CommandCode kCmdNewAssumption = 0x6641;
constexpr CommandCode kCmdNewComment = 0x6642;

// --- Comment colours, 0x67xx --------------------------------------------------------
constexpr CommandCode kCmdCommentColorBase = 0x6700;

// --- Manipulations, 0x7000 + manipulation number ---------------------------------------
// The function keys run the main manipulations; Ctrl+Alt with the same keys runs
// them in place (the manipulation driver looks at the Alt key).
constexpr CommandCode kCmdManipulationBase = 0x7000;
constexpr CommandCode kCmdSimplify = 0x7001;
constexpr CommandCode kCmdExpand = 0x7002;
constexpr CommandCode kCmdTransform = 0x7003;
constexpr CommandCode kCmdCalculate = 0x7004;
constexpr CommandCode kCmdMiniExpand = 0x7005;
constexpr CommandCode kCmdCollect = 0x7006;
constexpr CommandCode kCmdFactor = 0x7007;
constexpr CommandCode kCmdIsolate = 0x7009;
constexpr CommandCode kCmdMoveOver = 0x700A;
constexpr CommandCode kCmdCommute = 0x700B;
constexpr CommandCode kCmdTaylorSeries = 0x700C;
constexpr CommandCode kCmdApply = 0x700D;
constexpr CommandCode kCmdUnCalculate = 0x700E;
constexpr CommandCode kCmdIntegrateByParts = 0x700F;
constexpr CommandCode kCmdSubstitute = 0x7010;

// --- Graph commands, 0x74xx -------------------------------------------------------------
constexpr CommandCode kCmdNewLinearGraph = 0x7400;       // kind 129
constexpr CommandCode kCmdNewColor3DGraph = 0x7401;      // kind 216
constexpr CommandCode kCmdNewScatterGraph = 0x7402;      // kind 161
constexpr CommandCode kCmdNewContourGraph = 0x7403;      // kind 22
constexpr CommandCode kCmdNewComplex3DGraph = 0x7404;    // kind 196
constexpr CommandCode kCmdNewIllum3DGraph = 0x7405;      // kind 217
constexpr CommandCode kCmdNewSphericalGraph = 0x7406;    // kind 1114
constexpr CommandCode kCmdNewCylindricalGraph = 0x7407;  // kind 1115
constexpr CommandCode kCmdNewParametricGraph = 0x7408;   // kind 177
constexpr CommandCode kCmdNewSpaceCurveGraph = 0x7409;   // kind 242
constexpr CommandCode kCmdNewImplicitGraph = 0x740A;     // kind 180
constexpr CommandCode kCmdAddLinePlot = 0x7421;
constexpr CommandCode kCmdAddScatterPlot = 0x7424;
constexpr CommandCode kCmdAnimationStart = 0x7431;
constexpr CommandCode kCmdRedrawGraphs = 0x7441;

// --- Notebook commands, 0x75xx -------------------------------------------------------------
constexpr CommandCode kCmdClarify = 0x7502;
constexpr CommandCode kCmdTogglePalette = 0x7503;
constexpr CommandCode kCmdInsertPageBreak = 0x7504;
constexpr CommandCode kCmdInsertCaseTheory = 0x7505;
constexpr CommandCode kCmdStopWorkingStmt = 0x7506;
constexpr CommandCode kCmdGetInfo = 0x7507;
constexpr CommandCode kCmdNotebookFont = 0x7508;
constexpr CommandCode kCmdExpose = 0x750A;
constexpr CommandCode kCmdCollapse = 0x750B;
constexpr CommandCode kCmdInsertTransformRule = 0x750C;
constexpr CommandCode kCmdMakeWorkingStmt = 0x750D;
constexpr CommandCode kCmdGenerateTable = 0x7520;
constexpr CommandCode kCmdIntegrateDifferentialEquation = 0x7521;
constexpr CommandCode kCmdReManipulateNow = 0x7522;
constexpr CommandCode kCmdToggleAutoSimplify = 0x7523;
constexpr CommandCode kCmdToggleAutoCasing = 0x7524;
// 0x7540 + n (n = 0..15): show n significant digits.
constexpr CommandCode kCmdDisplayPrecisionBase = 0x7540;
constexpr CommandCode kCmdNewNotebook = 0x7560;
constexpr CommandCode kCmdOpenNotebook = 0x7561;
constexpr CommandCode kCmdCloseNotebook = 0x7562;
constexpr CommandCode kCmdSaveNotebook = 0x7563;
constexpr CommandCode kCmdPrintNotebook = 0x7564;
constexpr CommandCode kCmdExit = 0x7565;

}  // namespace lemmabox
