// The string table: every user-visible word and message of the program, by id.
//
// Ids below 400 are words of the user interface (captions, templates of the
// declaration and plot sentences, pointer help, file-name patterns); ids from
// 13120 are the alert texts raised as message numbers (shell/messages.h).
// Texts are in the program's own 8-bit character set (shell/charset.h); a
// "\n" inside a text is a line break.
//
// Code that shows a text fetches it through the string cache
// (shell/string_cache.h), not from here directly.
#pragma once

#include "shell/types.h"

namespace lemmabox {

// Captions and words.
constexpr int kStrInformation = 2;            // "Information": caption of information alerts
constexpr int kStrSaveFileQuestion = 6;       // "Save the file %s ?"
constexpr int kStrVersion = 46;               // the program's version
constexpr int kStrLanguageName = 48;          // "English"
constexpr int kStrCannotReManipulate = 52;    // prefix of a conclusion's error text
constexpr int kStrDefaultPrintHeader = 62;    // "?n             page ?p?a"
constexpr int kStrLim = 74;                   // "lim" of the limit operator
constexpr int kStrUntitledPattern = 323;      // "UNTITL%d.AXN"
constexpr int kStrStartupPattern = 324;       // "NOTEBK%d.AXN"
constexpr int kStrNewNotebookTemplate = 325;  // "NEWNOTE.AXN"
constexpr int kStrProgramName = 342;          // "Lemmabox": caption of alerts

// Sentence templates ("&" slot number, then i icon, p popup, t expression).
constexpr int kStrNameDeclarationSentence = 130;
constexpr int kStrIndependenceSentence = 131;
constexpr int kStrTransformationRuleSentence = 132;
constexpr int kStrLinePlotSentence = 133;
constexpr int kStrAxisPlotSentence = 134;
constexpr int kStrGridPlotSentence = 135;
constexpr int kStrContourPlotSentence = 136;
constexpr int kStrSurfacePlotSentence = 137;
constexpr int kStrDensityPlotSentence = 138;  // a surface plot seen flat in a 2D graph
// The second sentence of a surface plot, by colouring kind 1, 2, 3, 5, 6.
constexpr int kStrSolidColoringSentence = 139;
constexpr int kStrColorRangeSentence = 140;
constexpr int kStrColorSchemeSentence = 141;
constexpr int kStrBrightnessHueSentence = 142;
constexpr int kStrColorComponentsSentence = 143;
constexpr int kStrScatterPlotSentence = 144;
// The bounds lines of a graph's details and its animation line.
constexpr int kStrHorizontalBoundsLine = 145;
constexpr int kStrVerticalBoundsLine = 146;
constexpr int kStrEastWestBoundsLine = 147;
constexpr int kStrSouthNorthBoundsLine = 148;
constexpr int kStrLensBoundsLine = 149;
constexpr int kStrAnimationLine = 150;

// Pointer help texts, shown as tips over the object under the mouse.
constexpr int kStrHelpOperator = 152;
constexpr int kStrHelpEquation = 153;
constexpr int kStrHelpInequality = 154;
constexpr int kStrHelpSum = 155;
constexpr int kStrHelpIntegral = 156;
constexpr int kStrHelpSummation = 157;
constexpr int kStrHelpIteratedProduct = 158;
constexpr int kStrHelpNegation = 159;
constexpr int kStrHelpQuestionMark = 160;
constexpr int kStrHelpConditional = 161;
constexpr int kStrHelpWildcard = 162;
constexpr int kStrHelpEvaluateAt = 163;
constexpr int kStrHelpForAll = 164;
constexpr int kStrHelpLimit = 165;
constexpr int kStrHelpMatrix = 166;
constexpr int kStrHelpUndeclaredName = 167;
constexpr int kStrHelpNameBeingDeclared = 168;
constexpr int kStrHelpConstant = 169;
constexpr int kStrHelpVariable = 170;
constexpr int kStrHelpOperatorName = 171;
constexpr int kStrHelpFunction = 172;
constexpr int kStrHelpTableFunction = 173;
constexpr int kStrHelpTableName = 174;
constexpr int kStrHelpPredefinedName = 175;
constexpr int kStrHelpPredefinedFunction = 176;
constexpr int kStrHelpNumber = 177;
constexpr int kStrHelpIcon = 178;
constexpr int kStrHelpAssumption = 179;
constexpr int kStrHelpConclusion = 180;
constexpr int kStrHelpConclusionSteps = 181;
constexpr int kStrHelpWorkingStatement = 182;
constexpr int kStrHelpPageBreak = 183;
constexpr int kStrHelpCaseTheory = 184;
constexpr int kStrHelpPredefinedDeclaration = 185;
constexpr int kStrHelpNameDeclaration = 186;
constexpr int kStrHelpIndependence = 187;
constexpr int kStrHelpTransformationRule = 188;
constexpr int kStrHelpTable = 189;
constexpr int kStrHelpComment = 190;
constexpr int kStrHelpSurfacePlot = 191;
constexpr int kStrHelpContourPlot = 192;
constexpr int kStrHelpScatterPlot = 193;
constexpr int kStrHelpLinePlot = 194;
constexpr int kStrHelpAxisPlot = 195;
constexpr int kStrHelpGridPlot = 196;
constexpr int kStrHelp2DGraph = 197;
constexpr int kStrHelp3DGraph = 198;
constexpr int kStrHelpSelectedExpression = 209;
constexpr int kStrHelpSelectedProposition = 210;

// The text of string id, or nullptr when the table has no such string.
const char* StringTableText(int id);

// The version text given out as string 46. The start-up sets it once, before
// anything fetches that string.
void SetVersionText(const char* version);

}  // namespace lemmabox
