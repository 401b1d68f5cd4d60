// Operator insertion: a typed operator finds its place by climbing from the
// selection until the binding strengths, the brackets shown or a bracket
// boundary stop it, and there joins an operand list of its own kind or wraps
// what it reached.
#include "editor/editing.h"
#include "editor/positions.h"
#include "editor/undo.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/expression_writer.h"
#include "shell/charset.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

// The object type an operator keystroke inserts.
TypeCode TypedOperatorType(uint8_t typed) {
  switch (typed) {
    case kCharLessEqual:
      return kLessEqual;
    case kCharNotEqual:
      return kNotEqual;
    case kCharGreaterEqual:
      return kGreaterEqual;
    case kCharPartial:
      return kPartial;
    case '\\':
      return kSqrt;
    case '{':
    case '[':
      return kParens;
    case '@':
      return kSummation;
    case '#':
      return kPiProduct;
    case '$':
    case 0xA2:
      return kIntegral;
    case '.':
      return kRange;
    case ';':
    case ',':
      return kMatrix;
    case kCharBullet:
      return kDot;
    case kCharTimes:
      return kCross;
    case 0xA3:
      return kAdjoint;
    case 0xD2:
      return kEvalAt;
    case 0xD3:
      return kConditional;
    case '-':
    case 0xD1:
      return kSum;
    case 0xD0:
      return kNegation;
    default:
      return typed;
  }
}

// ';' a new row, '-' a negated term, 0xA2 a definite integral.
bool IsVariant(uint8_t typed) {
  return typed == ';' || typed == '-' || typed == 0xD1 || typed == 0xA2;
}

bool IsPostfix(TypeCode op) {
  return op == kFactorial || op == kAdjoint || op == kEvalAt;
}

bool IsPrefix(TypeCode op) {
  switch (op) {
    case kNegation:
    case kSqrt:
    case kAbs:
    case kParens:
    case kSummation:
    case kPiProduct:
    case kIntegral:
    case kPartial:
    case kConditional:
      return true;
    default:
      return false;
  }
}

bool Joins(TypeCode op) {
  return op == kProduct || op == kSum || op == kMatrix;
}

// The slot an operand wrapped by a prefix operator goes into: the body of an
// iterated product or an integral, the last slot of the others.
int OperandSlot(TypeCode op, int count) {
  return op == kPiProduct || op == kIntegral ? 0 : count - 1;
}

// A new operator object as typing makes it, its slots empty.
Handle MakeOperator(TypeCode op, bool variant) {
  if (op == kMatrix) return variant ? NewMatrix(2, 1) : NewMatrix(1, 2);
  if (op == kSum) return NewObjN(kSum, 2);
  if (op == kIntegral) return NewObjN(kIntegral, variant ? 3 : 1);
  return NewObjN(op, NNEwSubObjs(op));
}

void FillQuestionMarks(Handle obj) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (ObjSlot(obj, i) == nullptr) PutSlot(obj, i, NewQuestionMark());
}

Handle FirstQuestionMark(Handle obj) {
  if (obj == nullptr) return nullptr;
  if (ObjType(obj) == kQuestion) return obj;
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (Handle found = FirstQuestionMark(ObjSlot(obj, i))) return found;
  return nullptr;
}

// ',' and ';' inside a matrix move to the next cell of the row or the first
// of the next row, adding a column or a row at the edge; typed before a cell
// they open a column or row there.
CaretPlace MoveInMatrix(Handle m, int k, bool nextRow, bool before) {
  const int cols = MatrixCols(m);
  const int rows = MatrixRows(m);
  CheckRoomFor(m, nextRow ? cols : rows);
  SaveForUndo(m);
  int r = k / cols;
  int c = k % cols;
  if (nextRow) {
    if (before) {
      MatrixInsertRow(m, r);
    } else {
      if (r == rows - 1) MatrixAppendRow(m);
      ++r;
    }
    c = 0;
  } else if (before) {
    MatrixInsertColumn(m, c);
  } else {
    if (c == cols - 1) MatrixAppendColumn(m);
    ++c;
  }
  FillQuestionMarks(m);
  Changed(m);
  return {MatrixElement(m, r, c), kPosWhole};
}

// Joins or wraps at slot k of level, with operand placed before or after the
// occupant of that slot.
CaretPlace JoinOrWrap(Handle level, int k, TypeCode op, bool variant, Handle operand, bool before) {
  const bool entry = IsPropositionType(ObjType(level));
  if (!entry && ObjType(level) == op && (op == kProduct || op == kSum)) {
    CheckRoomFor(level, 1);
    Handle term = op == kSum && variant ? NewNegation(operand) : operand;
    InsertOperand(level, before ? k : k + 1, term);
    return {operand, kPosWhole, true};
  }
  if (!entry && op == kMatrix && ObjType(level) == kMatrix) {
    const CaretPlace place = MoveInMatrix(level, k, variant, before);
    DisposeObj(operand);
    return place;
  }
  Handle occupant = ObjSlot(level, k);
  if (occupant != nullptr) {
    SaveForUndo(occupant);
    // An edited conclusion may have handed the occupant to a new assumption.
    level = ObjParent(occupant);
    k = ObjSlotIndex(occupant);
  } else {
    PrepareChange(level);
    if (Command().recording) UndoSaveSlot(level, k);
  }
  Handle wrapper = MakeOperator(op, variant);
  const int n = ObjCount(wrapper);
  Handle placed = op == kSum && variant ? NewNegation(operand) : operand;
  Handle held = TakeSlot(level, k);
  bool used = n >= 2;
  if (before) {
    PutSlot(wrapper, n - 1, held);
    if (used) PutSlot(wrapper, n - 2, placed);
  } else {
    PutSlot(wrapper, 0, held);
    if (used) PutSlot(wrapper, 1, placed);
  }
  FillQuestionMarks(wrapper);
  SetFlag(wrapper, kFlagFresh);
  PutSlot(level, k, wrapper);
  Changed(wrapper);
  if (used) return {operand, kPosWhole, true};
  // A one-operand operator (n!) has no room for it: the caret goes after it.
  DisposeObj(placed);
  return {wrapper, kPosCaretAfter};
}

// Slots from..to-1 of an operand list gathered into a list of their own,
// which takes their place; returns it (the slot itself for a single one).
Handle GroupOperands(Handle list, int from, int to) {
  if (to - from == 1) return ObjSlot(list, from);
  SaveForUndo(list);
  Handle group = NewObjN(ObjType(list), to - from);
  for (int i = from; i < to; ++i) PutSlot(group, i - from, TakeSlot(list, i));
  DeleteSlots(list, from + 1, to);
  PutSlot(list, from, group);
  Changed(list);
  return group;
}

// An infix operator at a slot range in the middle of an operand list.
CaretPlace AttachInList(const Selection& selection, TypeCode op, bool variant, Handle operand) {
  Handle list = selection.obj;
  const Range range = RangeOf(list, selection.position);
  if (range.Empty()) {
    if (range.start > 0) return JoinOrWrap(list, range.start - 1, op, variant, operand, false);
    return JoinOrWrap(list, 0, op, variant, operand, true);
  }
  Handle group = GroupOperands(list, range.start, range.end);
  return JoinOrWrap(ObjParent(group), ObjSlotIndex(group), op, variant, operand, false);
}

// A prefix operator wrapping obj: obj goes into its operand slot, question
// marks fill the others. The first of those gets the caret (unless obj is a
// question mark in the first slot); with none, obj stays selected, so that
// typing replaces it.
CaretPlace Wrap(Handle obj, TypeCode op, bool variant) {
  SaveForUndo(obj);
  Handle level = ObjParent(obj);
  const int k = ObjSlotIndex(obj);
  Handle wrapper = MakeOperator(op, variant);
  Handle held = TakeSlot(level, k);
  PutSlot(wrapper, OperandSlot(op, ObjCount(wrapper)), held);
  FillQuestionMarks(wrapper);
  SetFlag(wrapper, kFlagFresh);
  PutSlot(level, k, wrapper);
  Changed(wrapper);
  // A question mark wrapped as the first operand is still what to fill in first.
  if (held != nullptr && ObjType(held) == kQuestion && ObjSlotIndex(held) == 0)
    return {held, kPosWhole};
  for (int i = 0; i < ObjCount(wrapper); ++i) {
    Handle slot = ObjSlot(wrapper, i);
    if (slot != held && slot != nullptr && ObjType(slot) == kQuestion) return {slot, kPosWhole};
  }
  return {held, kPosWhole};
}

void PrefixOperator(const Selection& selection, TypeCode op, bool variant, uint8_t typed) {
  Handle obj = selection.obj;
  const int side = SideOf(selection);
  const bool postfix = IsPostfix(op);
  if ((side == -1 && (postfix || op == kPartial)) || (side == +1 && !postfix)) {
    // At a caret the operator comes in whole, beside what is there.
    Handle wrapper = MakeOperator(op, variant);
    FillQuestionMarks(wrapper);
    Handle question = FirstQuestionMark(wrapper);
    InsertAtSelection(wrapper, selection, question, kPosWhole);
    NoteTypedOperator(question, typed);
    return;
  }
  const bool list = IsOperandListType(ObjType(obj)) && IsRangePosition(selection.position);
  if (list && !CoversWhole(selection)) {
    const Range range = RangeOf(obj, selection.position);
    if (!range.Empty()) {
      Handle group = GroupOperands(obj, range.start, range.end);
      Wrap(group, op, variant);
      Caret(group, kPosWhole);
      return;
    }
  }
  if (CoversWhole(selection)) {
    Handle parent = ObjParent(obj);
    if (op == kNegation && ObjType(obj) == kNegation) {
      Caret(ReplaceByOperand(obj, 0), kPosWhole);
      return;
    }
    if (op == kNegation && parent != nullptr && ObjType(parent) == kNegation) {
      Caret(ReplaceByOperand(parent, ObjSlotIndex(obj)), kPosWhole);
      return;
    }
    CaretPlace place = Wrap(obj, op, variant);
    Caret(place.obj, place.position);
    NoteTypedOperator(place.obj, typed);
    return;
  }
  Handle operand = NewQuestionMark();
  CaretPlace place;
  try {
    place = ClimbAndAttach(selection, op, variant, operand, side == -1);
  } catch (...) {
    DisposeIfDetached(operand);
    throw;
  }
  Caret(place.obj, place.position);
  NoteTypedOperator(place.obj, typed);
}

// --- Two-character operators ---

bool ChangeType(Handle obj, TypeCode type, Handle operand) {
  SaveForUndo(obj);
  Hdr(obj).type = type;
  ClearFlag(obj, kFlagSizeValid);
  Changed(obj);
  Caret(operand, kPosWhole);
  return true;
}

// The last two factors (k - 1 and k) of a product become a two-operand object.
bool PairInProduct(Handle product, int k, TypeCode type, Handle operand) {
  if (ObjCount(product) == 2) return ChangeType(product, type, operand);
  SaveForUndo(product);
  Handle left = TakeSlot(product, k - 1);
  Handle right = TakeSlot(product, k);
  DeleteSlots(product, k, k + 1);
  PutSlot(product, k - 1, NewObj2(type, left, right));
  Changed(product);
  Caret(operand, kPosWhole);
  return true;
}

}  // namespace

bool CompletesPair(const Selection& selection, uint8_t typed) {
  if (selection.position != kPosWhole || selection.obj == nullptr) return false;
  for (const Selection& entry : PreviousOperators())
    if (entry.obj == selection.obj && entry.position == '.' && typed == '.') return true;
  return false;
}

namespace {

bool CompletePair(const Selection& selection, uint8_t typed) {
  if (selection.position != kPosWhole) return false;
  Handle operand = selection.obj;
  int previous = -1;
  for (const Selection& entry : PreviousOperators())
    if (entry.obj == operand) previous = entry.position;
  Handle parent = ObjParent(operand);
  if (previous < 0 || parent == nullptr) return false;
  const TypeCode type = ObjType(parent);
  const int k = ObjSlotIndex(operand);
  if (previous == '<' && type == kLess && typed == '=')
    return ChangeType(parent, kLessEqual, operand);
  if (previous == '>' && type == kGreater && typed == '=')
    return ChangeType(parent, kGreaterEqual, operand);
  if (previous == '<' && type == kLess && typed == '>')
    return ChangeType(parent, kNotEqual, operand);
  if (previous == '.' && type == kRange && typed == '.') {
    // The dots of a range: the second and third keep it as it is.
    Caret(operand, kPosWhole);
    NoteTypedOperator(operand, '.');
    return true;
  }
  if (previous == '*' && type == kProduct && k >= 1) {
    if (typed == '*') return PairInProduct(parent, k, kPower, operand);
    if (typed == '@') return PairInProduct(parent, k, kDot, operand);
    if (typed == '#') return PairInProduct(parent, k, kCross, operand);
  }
  if (previous == '^' && type == kPower && typed == '*' && k == 1) {
    // x^* is the adjoint of x: the exponent goes.
    SaveForUndo(parent);
    Handle adjoint = NewObj1(kAdjoint, TakeSlot(parent, 0));
    ReplaceInParent(parent, adjoint);
    Changed(adjoint);
    Caret(adjoint, kPosCaretAfter);
    return true;
  }
  return false;
}

}  // namespace

bool IsBracketBoundary(TypeCode type) {
  switch (type) {
    case kPower:
    case kIndex:
    case kQuotient:
    case kFactorial:
    case kSqrt:
    case kAdjoint:
    case kIntegral:
    case kSummation:
    case kPiProduct:
    case kPartial:
    case kAbs:
    case kMatrix:
    case kEvalAt:
      return true;
    default:
      return false;
  }
}

CaretPlace ClimbAndAttach(const Selection& selection, TypeCode op, bool variant, Handle operand,
                          bool before) {
  Handle child = selection.obj;
  const int32_t position = selection.position;
  const int binding = BindingStrength(op);
  // A caret outside the brackets of its object is not held in by them.
  Handle parent = ObjParent(child);
  const bool boundaries = !Command().fortranish;
  const bool outside = (position == kPosWholeOperand || IsCaretPosition(position)) &&
                       parent != nullptr && !IsPropositionType(ObjType(parent)) &&
                       !(boundaries && IsBracketBoundary(ObjType(parent))) &&
                       ShownInBrackets(parent, child);
  for (bool first = true;; first = false) {
    Handle level = ObjParent(child);
    if (level == nullptr) InternalError("InsertOperator");
    const TypeCode type = ObjType(level);
    const int strength = BindingStrength(type);
    const bool stop = IsPropositionType(type) || strength < binding ||
                      (strength == binding && Joins(op)) ||
                      (ShownInBrackets(level, child) && !(first && outside)) ||
                      (boundaries && IsBracketBoundary(type));
    if (stop) return JoinOrWrap(level, ObjSlotIndex(child), op, variant, operand, before);
    child = level;
  }
}

void InsertOperatorAt(const Selection& selection, uint8_t typed) {
  if (CompletePair(selection, typed)) return;
  TypeCode op = TypedOperatorType(typed);
  bool variant = IsVariant(typed);
  Handle obj = selection.obj;
  const int side = SideOf(selection);
  const bool placeholder = ObjType(obj) == kQuestion && !IsRangePosition(selection.position);
  if (typed == '-' && !(side == +1 && !placeholder)) {
    // '-' after something subtracts (a typed "?" too); anywhere else, and
    // on an empty placeholder, it negates.
    op = kNegation;
    variant = false;
  }
  if (IsPrefix(op) || IsPostfix(op)) {
    PrefixOperator(selection, op, variant, typed);
    return;
  }
  const bool whole = CoversWhole(selection);
  const bool list =
      IsOperandListType(ObjType(obj)) && IsRangePosition(selection.position) && !whole;
  Handle operand = NewQuestionMark();
  CaretPlace place;
  try {
    if (side == -1) {
      place = ClimbAndAttach(selection, op, variant, operand, true);
    } else if (side == +1) {
      place = ClimbAndAttach(selection, op, variant, operand, false);
    } else if (list) {
      place = AttachInList(selection, op, variant, operand);
    } else {
      place = JoinOrWrap(ObjParent(obj), ObjSlotIndex(obj), op, variant, operand, false);
    }
  } catch (...) {
    DisposeIfDetached(operand);
    throw;
  }
  // A question mark selected whole keeps the caret: "? + ?" is filled in
  // from the left.
  if (whole && ObjType(obj) == kQuestion && place.onNewOperand) place = {obj, kPosWhole};
  Caret(place.obj, place.position);
  NoteTypedOperator(place.obj, typed);
}

void InsertOperator(KeyContext& context) {
  InsertOperatorAt(context.selection, static_cast<uint8_t>(context.code));
}

}  // namespace lemmabox
