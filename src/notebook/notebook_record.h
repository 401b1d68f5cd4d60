// The notebook record: the per-notebook state that lives in the Main
// Theory's second data slot as a plain block (not a math object).
//
// It holds what the document model keeps between commands (the to-do queue
// of conclusions waiting to be derived again, the declarations-changed and
// pending-edits marks, the changed mark), the notebook's preferences as the
// menus toggle them and the file stores them, and the notebook style record
// that layout reads its fonts and display settings from.
#pragma once

#include <cstdint>

#include "shell/keystroke_table.h"
#include "shell/types.h"

namespace lemmabox {

// Icon modes (the "Show Icons" submenu).
constexpr int kIconsNever = 0;
constexpr int kIconsUnlessPrinting = 2;
constexpr int kIconsAlways = 3;

constexpr int kFontFamilyBytes = 32;
constexpr int kBaseTextBytes = 32;
constexpr int kPrefsTextBytes = 64;
// Arbitrary-name serial numbers wrap here.
constexpr int32_t kArbitrarySerialLimit = 1000000000;

// The notebook's fonts and display settings. Layout reads them when the
// notebook's font settings are installed; the preferences that are also
// display settings (icon mode, display precision, Auto Collapsar) live here
// and nowhere else.
struct NotebookStyle {
  char fontFamily[kFontFamilyBytes];  // NUL-terminated; "Times"
  int32_t mainSize;                   // point sizes of the three size levels
  int32_t smallerSize;
  int32_t smallestSize;
  uint8_t useItalics;           // single-letter names and question marks in italics
  uint8_t digitsBelowBaseline;  // set by layout: the main font's digits descend
  // Icons are drawn when this is above 1: kIconsAlways or kIconsUnlessPrinting.
  int32_t iconMode;
  // An indefinite integral of zero is not equivalent to another one (each
  // stands for its own arbitrary constant).
  uint8_t zeroIntegralsDiffer;
  // Significant digits shown for real numbers (the display precision).
  int32_t significantDigits;
  // Oversized results are collapsed automatically ("Auto Collapsar").
  uint8_t autoCollapse;
  // Handed to the output ports' font descriptors with the family name and
  // the main size.
  int32_t portFontWord;
  // The font sets layout builds from these settings: symbol, main, single
  // letter, question mark, one font per size level. Layout's own cache; not
  // saved, cleared when the record is copied.
  uintptr_t fontSets[4][3];
};

// Values of the preferences record that the file carries and that belong to
// other folders' settings (the palette, the comment editor, graphs). They are
// kept exactly as read, in the order the record is written, so that a
// notebook reads back as it was saved.
struct CarriedPreferences {
  int16_t headerWords[3];             // the three values of the record's first line
  char leadingText[kPrefsTextBytes];  // the quoted text field
  uint8_t flagAfterText;              // the boolean after the three defaults that follow it
  uint8_t flagBeforeAlwaysRedraw;
  uint8_t byteAfterAlwaysRedraw;
  int16_t wordAfterVariableBase;  // ends the line of the arbitrary-name texts
  int16_t wordBeforeShowSteps;
  uint8_t bytesAfterAlwaysReManipulate[3];
  uint8_t byteBeforeLineEnd;
  int16_t wordBeforeLineEnd;
  uint8_t colour[3];  // written packed as first * 65536 + second * 256 + third
  int16_t wordAfterAutoSave;
  uint8_t flagAfterAutoSave;
  int16_t wordAfterBlankSlots;
  int16_t words[4];  // the four values before Guess Working Stmts
};

// Bases of the arbitrary names that manipulations make up (integration
// constants, the integer of a periodic solution, a new variable). Each new
// name is a base subscripted with the serial number.
enum class ArbitraryKind { kConstant, kInteger, kVariable };

struct NotebookPrefs {
  uint8_t paletteShown;
  uint8_t autoSimplify;
  uint8_t autoCasing;
  uint8_t fortranish;
  uint8_t paletteAutoToggle;
  uint8_t alwaysRedraw;
  uint8_t showSteps;
  // The stored byte; any non-zero value means on.
  uint8_t alwaysReManipulate;
  uint8_t autoSave;
  uint8_t withBlankSlots;
  uint8_t guessWorkingStmts;
  uint8_t rippleChangesImmediately;
  EnterKeyCommands enterKeys;
  char constantBase[kBaseTextBytes];  // real or complex constants
  char integerBase[kBaseTextBytes];   // integer constants
  char variableBase[kBaseTextBytes];  // new variables
  int32_t arbitrarySerial;
  CarriedPreferences carried;
};

struct NotebookRecord {
  // Head of the to-do queue: plain blocks {next, conclusion}, newest first.
  Handle toDoHead;
  // Set whenever a declaration is inserted; the follow-up after the next
  // edit runs the declaration pass and clears it.
  uint8_t declarationsChanged;
  // Names were left undeclared by an interpretation that did not ask; the
  // idle pass interprets the notebook again.
  uint8_t pendingEdits;
  // The notebook differs from its file.
  uint8_t changed;
  NotebookPrefs prefs;
  NotebookStyle style;
};

// The settings of a new notebook.
NotebookPrefs DefaultNotebookPrefs();
NotebookStyle DefaultNotebookStyle();

// Gives a new Main Theory a record with the default settings (stored in its
// second data slot).
void GiveNotebookRecord(Handle mainTheory);

// The record of a Main Theory. A copy of a Main Theory made by DupObj first
// gets a record of its own (a copy of the original's, with an empty queue).
// Internal error "NotebookRecord" when mainTheory is not a Main Theory; use
// NotebookRecordFor to ask without failing.
NotebookRecord& NotebookRecordOf(Handle mainTheory);
// The record of the notebook that obj lies in, or null when obj's tree has
// no Main Theory at its root.
NotebookRecord* NotebookRecordFor(Handle obj);
// The Main Theory at the root of obj's tree, or null.
Handle MainTheoryOf(Handle obj);

// Releases a Main Theory's record when the theory goes away (its queue too);
// a copy that never claimed a record of its own releases nothing.
void ReleaseNotebookRecord(Handle mainTheory);

// --- The to-do queue of the cascade ---

void ToDoPush(Handle mainTheory, Handle conclusion);
// The conclusion at the head, or null when the queue is empty.
Handle ToDoFront(Handle mainTheory);
void ToDoPopFront(Handle mainTheory);
// Removes every node of conclusion.
void ToDoRemove(Handle mainTheory, Handle conclusion);
int ToDoCount(Handle mainTheory);
// Removes conclusion from the queue of every notebook (it is going away, or
// is no longer a conclusion).
void ForgetQueuedConclusion(Handle conclusion);

}  // namespace lemmabox
