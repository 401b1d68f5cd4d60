// Inside the editor: the state of the command being performed, the
// primitives through which every handler changes the notebook (so that each
// change is recorded for Undo, splits an edited conclusion, reaches the
// cascade and is redisplayed), and the handlers' entry points.
#pragma once

#include <functional>
#include <vector>

#include "editor/selection_list.h"
#include "mathobj/object.h"
#include "shell/command_codes.h"

namespace lemmabox {

// The record a Key entry acts on, and the current code, translated: a typed
// character is the character itself (below 0x100), a Symbol-font character
// its name-alphabet letter when it has one; other codes stay as they are.
// Handlers may change the code for the handlers they pass it on to.
struct KeyContext {
  Selection selection;
  CommandCode code = 0;
};

// --- Character classes ---

enum CharacterClass : int {
  kCharOther = 0,
  kCharLetter = 1,
  kCharDigit = 2,
  kCharOperator = 3,
  kCharClosing = 5,
};
// The class of a translated code; codes with bits 8..15 set are kCharOther.
int ClassOfCode(CommandCode code);
// Backspace, Clear, Cut and the typed character 8.
bool IsDeleteCode(CommandCode code);
inline bool IsCharacterCode(CommandCode code) {
  return code < 0x100;
}
// Codes that put something into the notebook (characters, templates,
// matrices, names, wildcards), as opposed to editing and moving.
bool TypesSomething(CommandCode code);

// The fewest slots of the objects whose limits are optional (an integral,
// Evaluate At, a summation, an iterated product); 0 for any other type.
int FewestSlots(TypeCode type);

// --- The command being performed ---

struct CommandState {
  NotebookView* view = nullptr;
  // Changes are saved into the Undo record.
  bool recording = false;
  // Each change is laid out and redrawn at once; otherwise the notebook is
  // drawn again when the command ends.
  bool immediate = true;
  // Saving for Undo and redisplay do nothing (edits the editor makes while
  // it replays internally).
  bool suppress = false;
  // Text is being replayed (a file read, a paste): no conclusion is split.
  bool replay = false;
  // Operators climb over the bracket boundaries (^ _ / ...), as in Fortran.
  bool fortranish = false;
  // A handler asks for the primary selection to be scrolled into view.
  bool scroll = false;
  // Something was only marked for redrawing; the notebook is drawn at the end.
  bool refresh = false;
};
CommandState& Command();

// The operators typed by the last command, each with the operand it left
// selected, so that a second character can complete a pair ("<=", "**").
struct TypedOperator {
  Handle operand = nullptr;
  int32_t typed = 0;
};
// The list the last command left (read by this one); entries whose operand
// was disposed have a null operand.
std::vector<Selection>& PreviousOperators();
void NoteTypedOperator(Handle operand, uint8_t typed);
// Rotates the lists at the start of a command.
void StartOperatorTracking();

// Runs body as one command of view: the command state set up, one Undo
// record (changes recorded when fewer than four records are selected), the
// notebook marked busy, redisplay deferred to the end with `defer` (or with
// four or more records), the primary selection scrolled into view when a
// handler asked for it.
void RunCommand(NotebookView& view, bool defer, const std::function<void()>& body);

// --- Changes ---

// Before obj changes in place or is replaced: a locked proposition refuses
// (13209); an expression inside a Conclusion is moved into a new Assumption
// first (unless text is being replayed); the proposition is marked edited.
void PrepareChange(Handle obj);
// PrepareChange, then the slot holding obj is saved for Undo.
void SaveForUndo(Handle obj);
// After obj changed: its proposition is reported to the cascade, and obj is
// laid out and redrawn (or marked, per the redisplay mode).
void Changed(Handle obj);
// Saves old, puts replacement in its slot (disposing old) and reports it.
Handle ReplaceObj(Handle old, Handle replacement);
// obj's operand at index takes obj's place (a question mark when the slot
// is empty); returns it.
Handle ReplaceByOperand(Handle obj, int index);
// 13173 when obj cannot take `more` further slots (32,000 at most).
void CheckRoomFor(Handle obj, int more);
// A new operand at index of an operand list (or any object), recorded as an
// insertion.
void InsertOperand(Handle obj, int index, Handle child);
// Removes the operands from..to-1, each recorded as a deletion.
void DeleteOperands(Handle obj, int from, int to);
// A new object that a failure left outside the notebook is disposed (with
// whatever detached object holds it).
void DisposeIfDetached(Handle obj);
// Ends the command's handling of a record with a selection where typing goes on.
void Caret(Handle obj, int32_t position);

// Interprets the edited propositions of view for good (names declared,
// numbers read, explicit parentheses dropped): all of them, or only those
// that no selection lies in any more.
void CommitEdits(NotebookView& view, bool all);
// Marks the proposition holding obj as edited.
void MarkEdited(Handle obj);

// --- Handlers ---

// Generic typing: what a type's Key entry does with a code it does not take.
void GenericTyping(KeyContext& context);
// Inserts obj at the selection, then selects (caret, position).
void InsertAtSelection(Handle obj, const Selection& selection, Handle caret, int32_t position);
// Where the caret goes after an insertion.
struct CaretPlace {
  Handle obj = nullptr;
  int32_t position = kPosWhole;
  bool onNewOperand = false;  // the caret is on the operand the operator brought
};
// Climbs from the selection as the operator op does (binding strengths,
// brackets, bracket boundaries) and joins or wraps there, with operand
// placed before or after what it reached.
CaretPlace ClimbAndAttach(const Selection& selection, TypeCode op, bool variant, Handle operand,
                          bool before);
// The typed operators that bracket boundaries stop (unless Fortranish).
bool IsBracketBoundary(TypeCode type);
// Operator insertion for the typed character in context.code.
void InsertOperator(KeyContext& context);
// Whether typing this character at the selection continues the range dots
// typed just before (the question mark Key entry asks before taking '.').
bool CompletesPair(const Selection& selection, uint8_t typed);
// Operator insertion at a selection for a given typed character.
void InsertOperatorAt(const Selection& selection, uint8_t typed);
// Name and number text editing; false when the code is not one it takes.
bool EditText(KeyContext& context);
// A declared name, integer or real turned into text for editing.
void MakeEditableText(KeyContext& context);
// Navigation and structure codes; false when the code is not one of them.
// A null selection object stands for an empty selection list.
bool Navigate(KeyContext& context);
// The caret leaves the innermost bracketed group (a closing bracket).
void LeaveBrackets(const Selection& selection);
// Row/Column Number, and the new matrix row and column codes.
bool MatrixCommand(KeyContext& context);
// The template, palette-name and wildcard codes; false for other codes.
bool InsertTemplate(KeyContext& context);
// A new Assumption holding a question mark after the proposition of anchor
// (at the end of the notebook for null); its question mark is selected.
Handle NewAssumptionAfter(Handle anchor);
// Deleting a selected question mark.
void DeleteQuestionMark(Handle question);
// Deleting a block of a matrix (Backspace, Clear, Cut).
void DeleteMatrixBlock(const Selection& selection);
// Typing into a block of two or more cells; false when the code is not taken.
bool TypeIntoBlock(KeyContext& context);

// Fills the Key table.
void RegisterKeyEntries();

}  // namespace lemmabox
