// The command being performed and the primitives of change.
#include <algorithm>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/undo.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

CommandState gCommand;

// The operators typed by the last command and by this one. Kept as selection
// records so that the disposal watch clears an operand that goes away.
std::vector<Selection> gPreviousOperators;
std::vector<Selection> gCurrentOperators;

void WatchOperatorLists() {
  static PendingSelections previous(gPreviousOperators);
  static PendingSelections current(gCurrentOperators);
}

Handle OwningProposition(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (IsPropositionType(ObjType(h))) return h;
  return nullptr;
}

// Editing an expression of a conclusion leaves the conclusion as it was
// derived: the statement being edited moves into a new Assumption after the
// conclusion's outline group, and the conclusion gets a copy back.
void SplitConclusion(Handle conclusion) {
  Handle copy = DupObj(conclusion);
  ConclusionToAssumption(copy);
  SetWorkingBit(copy, false);
  InsertAfter(copy, conclusion);
  if (gCommand.recording) UndoSaveSlot(conclusion, 0);
  Handle edited = TakeSlot(conclusion, 0);
  Handle untouched = TakeSlot(copy, 0);
  PutSlot(conclusion, 0, untouched);
  PutSlot(copy, 0, edited);
  if (!gCommand.suppress) {
    gEncodeHooks.relayout(conclusion);
    gNotebookDisplay.redraw(conclusion);
  }
}

void Redisplay(Handle obj) {
  if (gCommand.suppress || obj == nullptr) return;
  Handle prop = OwningProposition(obj);
  if (gCommand.immediate) {
    gEncodeHooks.relayout(obj);
    if (prop != nullptr) gNotebookDisplay.redraw(prop);
  } else {
    gEncodeHooks.invalidateSizes(obj);
    gCommand.refresh = true;
  }
}

}  // namespace

int ClassOfCode(CommandCode code) {
  if (code > 0xFF) return kCharOther;
  const auto c = static_cast<uint8_t>(code);
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return kCharLetter;
  if (c >= '0' && c <= '9') return kCharDigit;
  switch (c) {
    case 0x81:
    case 0x8C:
    case 0x8D:
    case 0xA0:
    case 0xA1:
    case 0xA7:
    case 0xA8:
    case 0xA9:
    case 0xB0:
    case 0xBD:
    case 0xCE:
    case 0xCF:
    case 0xD7:
    case 0xE7:
      return kCharLetter;
    case '!':
    case '#':
    case '$':
    case '(':
    case '*':
    case '+':
    case ',':
    case '-':
    case '.':
    case '/':
    case ';':
    case '<':
    case '=':
    case '>':
    case '@':
    case '[':
    case '\\':
    case '^':
    case '_':
    case '{':
    case '|':
    case 0xAD:
    case 0xB2:
    case 0xB3:
      return kCharOperator;
    case ')':
    case ']':
    case '}':
      return kCharClosing;
    default:
      break;
  }
  if ((c >= 0xB4 && c <= 0xBA) || (c >= 0xC2 && c <= 0xC6) || (c >= 0xE3 && c <= 0xE5) ||
      (c >= 0xE9 && c <= 0xF1) || (c >= 0xF3 && c <= 0xF6) || (c >= 0xFA && c <= 0xFC))
    return kCharLetter;
  if ((c >= 0xA2 && c <= 0xA6) || (c >= 0xD0 && c <= 0xD3)) return kCharOperator;
  return kCharOther;
}

bool IsDeleteCode(CommandCode code) {
  return code == kCmdBackspace || code == kCmdClear || code == kCmdCut || code == 8;
}

bool TypesSomething(CommandCode code) {
  if (code < 0x100) return code >= 0x20 && code != 0x7F;
  if (code >= kCmdSymbolCharBase && code <= kCmdSymbolCharBase + 0xFF) return true;
  if (code >= 0x4000 && code <= 0x4FFF) return true;
  const CommandCode family = code & 0xFF00;
  return family == kCmdMatrixBase || family == kCmdSpecialCharBase || family == kCmdWildcardBase ||
         family == kCmdPaletteNameBase || family == kCmdPaletteFunctionBase;
}

int FewestSlots(TypeCode type) {
  switch (type) {
    case kIntegral:
      return 1;
    case kEvalAt:
    case kSummation:
      return 2;
    case kPiProduct:
      return 3;
    default:
      return 0;
  }
}

CommandState& Command() {
  return gCommand;
}

std::vector<Selection>& PreviousOperators() {
  WatchOperatorLists();
  return gPreviousOperators;
}

void NoteTypedOperator(Handle operand, uint8_t typed) {
  WatchOperatorLists();
  if (operand != nullptr) gCurrentOperators.push_back({operand, typed});
}

void StartOperatorTracking() {
  WatchOperatorLists();
  gPreviousOperators.swap(gCurrentOperators);
  gCurrentOperators.clear();
}

void MarkEdited(Handle obj) {
  NotebookView* view = gCommand.view;
  Handle prop = OwningProposition(obj);
  if (view == nullptr || prop == nullptr || IsContainerType(ObjType(prop))) return;
  if (std::find(view->edited.begin(), view->edited.end(), prop) == view->edited.end())
    view->edited.push_back(prop);
}

void PrepareChange(Handle obj) {
  if (obj == nullptr || ObjParent(obj) == nullptr) return;
  CheckNotLocked(obj);
  Handle prop = OwningProposition(obj);
  if (prop != nullptr && prop != obj && ObjType(prop) == kConclusion && !gCommand.replay)
    SplitConclusion(prop);
  if (Handle main = MainTheoryOf(obj)) MarkNotebookChanged(main);
  MarkEdited(obj);
}

void SaveForUndo(Handle obj) {
  if (obj == nullptr || ObjParent(obj) == nullptr) return;
  PrepareChange(obj);
  if (gCommand.recording && !gCommand.suppress) UndoSaveObj(obj);
}

void Changed(Handle obj) {
  if (obj == nullptr) return;
  Handle prop = OwningProposition(obj);
  if (prop != nullptr && !gCommand.suppress && !IsContainerType(ObjType(prop)))
    gEditorHooks.propositionChanged(prop);
  Redisplay(obj);
}

Handle ReplaceObj(Handle old, Handle replacement) {
  try {
    SaveForUndo(old);
  } catch (...) {
    DisposeIfDetached(replacement);
    throw;
  }
  ReplaceInParent(old, replacement);
  Changed(replacement);
  return replacement;
}

Handle ReplaceByOperand(Handle obj, int index) {
  SaveForUndo(obj);
  Handle kept = TakeSlot(obj, index);
  if (kept == nullptr) kept = NewQuestionMark();
  ReplaceInParent(obj, kept);
  Changed(kept);
  return kept;
}

void CheckRoomFor(Handle obj, int more) {
  if (ObjCount(obj) + more > kMaxOperands) Raise(kMsgExpressionTooLarge);
}

void InsertOperand(Handle obj, int index, Handle child) {
  CheckRoomFor(obj, 1);
  PrepareChange(obj);
  InsertSlot(obj, index, child);
  if (gCommand.recording && !gCommand.suppress) UndoRegisterInsertion(child);
  Changed(obj);
}

void DeleteOperands(Handle obj, int from, int to) {
  from = std::clamp(from, 0, ObjCount(obj));
  to = std::clamp(to, from, ObjCount(obj));
  if (from == to) return;
  PrepareChange(obj);
  if (gCommand.recording && !gCommand.suppress) {
    for (int i = from; i < to; ++i)
      if (Handle operand = ObjSlot(obj, i)) UndoRegisterDeletion(operand);
  }
  DeleteSlots(obj, from, to);
  Changed(obj);
}

void DisposeIfDetached(Handle obj) {
  if (obj == nullptr) return;
  Handle top = obj;
  while (ObjParent(top) != nullptr) top = ObjParent(top);
  if (ObjType(top) == kMainTheory) return;
  try {
    DisposeObj(top);
  } catch (...) {
    // Only while another failure unwinds; that one is reported.
  }
}

void Caret(Handle obj, int32_t position) {
  AppendSelection(obj, position);
}

void CommitEdits(NotebookView& view, bool all) {
  // The list may change while names are declared; work on a copy.
  std::vector<Handle> edited = view.edited;
  std::vector<Selection> pending;
  for (Handle prop : edited) pending.push_back({prop, kPosWhole});
  PendingSelections watch(pending);
  NameIndexScope names;
  for (const Selection& entry : pending) {
    Handle prop = entry.obj;
    if (prop == nullptr) continue;
    if (!all && SelectionInside(view, prop)) continue;
    std::erase(view.edited, prop);
    if (ObjParent(prop) == nullptr) continue;
    EncodeCommit(prop, true);
  }
}

}  // namespace lemmabox
