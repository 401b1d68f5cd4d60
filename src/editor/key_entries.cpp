// The Key operation: what a command code does to a selection, by the type of
// the selected object. Codes an entry does not take go on to generic typing.
#include <cctype>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/notebook_edits.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

// --- Expressions with a fixed number of operands ---

void KeyComposite(KeyContext& context) {
  if (!IsDeleteCode(context.code)) {
    GenericTyping(context);
    return;
  }
  Handle question = ReplaceObj(context.selection.obj, NewQuestionMark());
  Caret(question, kPosWhole);
}

// --- Operand lists ---

void DeleteOperandRange(const Selection& selection) {
  Handle list = selection.obj;
  const int count = ObjCount(list);
  Range range = RangeOf(list, selection.position);
  if (range.Empty()) {
    // A caret deletes the operand before it (the first one at the start).
    if (count == 0) {
      Caret(list, selection.position);
      return;
    }
    range = range.start > 0 ? Range{range.start - 1, range.start} : Range{0, 1};
  }
  if (range.start == 0 && range.end == count) {
    Caret(ReplaceObj(list, NewQuestionMark()), kPosWhole);
    return;
  }
  if (count - (range.end - range.start) == 1) {
    const int kept = range.start == 0 ? count - 1 : 0;
    Handle remaining = ReplaceByOperand(list, kept);
    Caret(remaining, range.start == 0 ? kPosCaretBefore : kPosCaretAfter);
    return;
  }
  DeleteOperands(list, range.start, range.end);
  Caret(list, PackRange(range.start, range.start));
}

void KeyOperandList(KeyContext& context) {
  if (IsDeleteCode(context.code)) {
    DeleteOperandRange(context.selection);
    return;
  }
  GenericTyping(context);
}

// --- Matrices ---

void KeyMatrix(KeyContext& context) {
  const Selection selection = context.selection;
  Handle m = selection.obj;
  if (IsDeleteCode(context.code)) {
    DeleteMatrixBlock(selection);
    return;
  }
  if (IsBlockPosition(m, selection.position)) {
    Block block = BlockOf(m, selection.position);
    if (block.Cells() == 1 && TypesSomething(context.code)) {
      // Typing into one cell is typing into that cell.
      context.selection = {MatrixElement(m, block.row0, block.col0), kPosWhole};
      if (context.selection.obj != nullptr) {
        gKeyTable.Entry(ObjType(context.selection.obj))(context);
        return;
      }
      context.selection = selection;
    } else if (block.Cells() >= 2 && TypeIntoBlock(context)) {
      return;
    }
  }
  GenericTyping(context);
}

// --- Question marks ---

// The position of a question mark that is itself being typed: its text
// selected, or a caret after it.
bool BeingTyped(const Selection& selection) {
  if (!IsRangePosition(selection.position)) return false;
  Range range = RangeOf(selection.obj, selection.position);
  return range.end == 1;
}

void KeyQuestion(KeyContext& context) {
  const Selection selection = context.selection;
  Handle question = selection.obj;
  const CommandCode code = context.code;
  if (IsDeleteCode(code)) {
    DeleteQuestionMark(question);
    return;
  }
  if (code == '.' && CompletesPair(selection, '.')) {
    InsertOperator(context);
    return;
  }
  if (code == '.' && !IsRangePosition(selection.position)) {
    // A placeholder filled with a number that starts with its point.
    Caret(ReplaceObj(question, NewNumberText("0.")), PackRange(2, 2));
    return;
  }
  if (code == '?') {
    // Its "?" counts as typed: a letter now makes a wildcard, an operator
    // goes after it.
    Caret(question, PackRange(1, 1));
    return;
  }
  if (code < 0x80 && std::islower(static_cast<int>(code)) && BeingTyped(selection)) {
    Handle wildcard = ReplaceObj(question, NewWildcard(static_cast<char>(code)));
    Caret(wildcard, PackRange(1, 1));
    return;
  }
  GenericTyping(context);
}

// --- Names, numbers and wildcards ---

void KeyName(KeyContext& context) {
  if (ObjType(context.selection.obj) == kName) MakeEditableText(context);
  if (!EditText(context)) GenericTyping(context);
}

bool TurnsNumberIntoText(CommandCode code) {
  return IsDeleteCode(code) || (code >= '0' && code <= '9') || code == '.' || code == 'e' ||
         code == 'E';
}

void KeyNumber(KeyContext& context) {
  const TypeCode type = ObjType(context.selection.obj);
  if (type != kNumberText) {
    if (!TurnsNumberIntoText(context.code)) {
      GenericTyping(context);
      return;
    }
    MakeEditableText(context);
  }
  if (!EditText(context)) GenericTyping(context);
}

void KeyWildcard(KeyContext& context) {
  if (IsDeleteCode(context.code)) {
    Caret(ReplaceObj(context.selection.obj, NewQuestionMark()), kPosWhole);
    return;
  }
  if (!EditText(context)) GenericTyping(context);
}

// --- Notebook entries ---

void KeyEntry(KeyContext& context) {
  const Selection selection = context.selection;
  Handle entry = selection.obj;
  const TypeCode type = ObjType(entry);
  const CommandCode code = context.code;
  if (IsDeleteCode(code)) {
    const bool declaration = type == kDeclaration;
    Handle props[] = {entry};
    DeletePropositions(props);
    if (declaration) gEditorHooks.paletteNamesChanged();
    return;
  }
  if (Navigate(context)) return;
  if (IsAssumptionOrConclusion(type) && ObjCount(entry) >= 1 && TypesSomething(code)) {
    Handle statement = ObjSlot(entry, 0);
    if (statement == nullptr || ObjType(statement) != '?') {
      // Typing over a whole proposition edits a copy of its statement in a
      // new Assumption; the proposition stays as it was.
      Handle copy = NewAssumption(statement ? DupObj(statement) : nullptr);
      InsertAfter(copy, entry);
      statement = ObjSlot(copy, 0);
    }
    context.selection = {statement, kPosWhole};
    gKeyTable.Entry(ObjType(statement))(context);
    return;
  }
  if (type == kComment) {
    gCommentEditor.begin(entry, code);
    Caret(entry, kPosWhole);
    return;
  }
  Caret(entry, selection.position);
}

}  // namespace

void RegisterKeyEntries() {
  OpTable<KeyFn>& t = gKeyTable;
  for (TypeCode type : {'!', '#', '%', '(', ')', '-', '/', ':', ';', '<', '=', '>', '[', '\\',
                        ']', '^', '_', 'a', 'c', 'd', 'f', 'j', 'l', 'p', 's', 'x', '{', '|'})
    t.Set(type, &KeyComposite);
  for (TypeCode type : {'*', '+', ','}) t.Set(type, &KeyOperandList);
  t.Set(kMatrix, &KeyMatrix);
  t.Set(kQuestion, &KeyQuestion);
  t.Set(kUndeclaredName, &KeyName);
  t.Set(kName, &KeyName);
  for (TypeCode type : {kNumberText, kInteger, kReal}) t.Set(type, &KeyNumber);
  t.Set(kWildcard, &KeyWildcard);
  for (TypeCode type : {'A', 'B', 'C', 'D', 'G', 'H', 'I', 'L', 'M', 'N', 'O', 'P', 'Q', 'R', 'S',
                        'T', 'V', 'X', 'Z'})
    t.Set(type, &KeyEntry);
}

}  // namespace lemmabox
