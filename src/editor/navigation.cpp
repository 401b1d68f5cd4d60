// Moving the selection: Tab to the next question mark, ':' to the next slot,
// Return and Enter to new propositions, Select In/Out/First/All, End, the
// arrows, and a closing bracket leaving its group.
#include <cstdlib>
#include <vector>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/positions.h"
#include "editor/undo.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/expression_writer.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsEntry(Handle obj) {
  return IsPropositionType(ObjType(obj));
}

Handle FirstChild(Handle obj) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (Handle child = ObjSlot(obj, i)) return child;
  return nullptr;
}

// --- Tab ---

// The question marks of a tree in reading order (depth first, slot order):
// all of them, and those after the selected object (not inside it).
struct QuestionMarks {
  Handle selected = nullptr;
  bool passed = false;
  std::vector<Handle> all;
  std::vector<Handle> after;
};

void CollectQuestionMarks(Handle obj, bool inside, QuestionMarks& found) {
  if (obj == nullptr) return;
  const bool here = obj == found.selected;
  if (ObjType(obj) == kQuestion) {
    found.all.push_back(obj);
    if (found.passed && !inside && !here) found.after.push_back(obj);
  }
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    CollectQuestionMarks(ObjSlot(obj, i), inside || here, found);
  if (here) found.passed = true;
}

bool NextSlot(const Selection& selection);

void NextQuestionMark(const Selection& selection) {
  Handle prop = GetObjProp(selection.obj);
  QuestionMarks found;
  found.selected = selection.obj;
  found.passed = selection.obj == prop;
  for (int i = FirstObjSlot(prop); i < ObjCount(prop); ++i)
    CollectQuestionMarks(ObjSlot(prop, i), false, found);
  if (!found.after.empty()) {
    Caret(found.after.front(), kPosWhole);
  } else if (!found.all.empty()) {
    Caret(found.all.front(), kPosWhole);
  } else if (!NextSlot(selection)) {
    Caret(selection.obj, selection.position);
  }
}

// --- ':' ---

// Objects with a varying number of slots grow their limits when ':' is typed
// after their last slot.
int GrowsTo(TypeCode type) {
  switch (type) {
    case kIntegral:
    case kEvalAt:
    case kSummation:
      return 3;
    case kPiProduct:
      return 4;
    default:
      return 0;
  }
}

bool NextSlot(const Selection& selection) {
  Handle child = selection.obj;
  for (Handle level = ObjParent(child); level != nullptr; child = level, level = ObjParent(level)) {
    const TypeCode type = ObjType(level);
    if (IsOperandListType(type) || type == kParens || type == kMatrix) continue;
    const int k = ObjSlotIndex(child);
    int end = ObjCount(level);
    if (IsContainerType(type)) end = FirstProp(level);  // settings only, not propositions
    if (k + 1 >= end && k + 1 < GrowsTo(type) && k + 1 == ObjCount(level)) {
      InsertOperand(level, k + 1, NewQuestionMark());
      end = ObjCount(level);
    }
    if (k + 1 < end && ObjSlot(level, k + 1) != nullptr) {
      Caret(ObjSlot(level, k + 1), kPosWhole);
      return true;
    }
    if (IsEntry(level)) return false;
  }
  return false;
}

// --- Select In, Select Out ---

void SelectIn(const Selection& selection, bool firstOnly) {
  Handle obj = selection.obj;
  const int32_t position = selection.position;
  if (IsCaretPosition(position)) {
    Caret(obj, position);
    return;
  }
  const TypeCode type = ObjType(obj);
  if (type == kComment) {
    gCommentEditor.begin(obj, 0);
    Caret(obj, position);
    return;
  }
  std::vector<Handle> parts;
  if (type == kMatrix && IsRangePosition(position)) {
    const Block b = BlockOf(obj, position);
    for (int r = b.row0; r < b.row1; ++r)
      for (int c = b.col0; c < b.col1; ++c) parts.push_back(MatrixElement(obj, r, c));
  } else if (IsOperandListType(type) && IsRangePosition(position)) {
    const Range range = RangeOf(obj, position);
    for (int i = range.start; i < range.end; ++i) parts.push_back(ObjSlot(obj, i));
  } else {
    for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) parts.push_back(ObjSlot(obj, i));
  }
  bool any = false;
  for (Handle part : parts) {
    if (part == nullptr || HasFlag(part, kFlagHidden)) continue;
    // A bracket object is stepped into.
    while (ObjType(part) == kParens && ObjCount(part) == 1 && ObjSlot(part, 0) != nullptr)
      part = ObjSlot(part, 0);
    Caret(part, kPosWhole);
    any = true;
    if (firstOnly) break;
  }
  if (!any) Caret(obj, position);
}

void SelectOut(const Selection& selection) {
  Handle obj = selection.obj;
  if (!CoversWhole(selection)) {
    Caret(obj, kPosWholeOperand);
    return;
  }
  Handle parent = ObjParent(obj);
  while (parent != nullptr && ObjType(parent) == kParens) parent = ObjParent(parent);
  if (parent == nullptr || ObjType(parent) == kMainTheory) {
    Caret(obj, selection.position);
    return;
  }
  Caret(parent, kPosWholeOperand);
}

// Every proposition of the theory the selection lies in (the notebook's
// Main Theory with nothing selected).
void SelectEverything(Handle obj) {
  Handle theory = nullptr;
  if (obj != nullptr) {
    theory = IsContainerType(ObjType(obj)) ? obj : OwningScope(obj);
  } else if (NotebookView* view = Command().view) {
    theory = view->notebook;
  }
  if (theory == nullptr || !IsContainerType(ObjType(theory))) return;
  for (int i = FirstProp(theory); i < ObjCount(theory); ++i)
    if (Handle prop = ObjSlot(theory, i)) AppendSelection(prop, kPosWhole);
}

// --- End ---

void CaretAfterOperand(const Selection& selection) {
  Handle obj = selection.obj;
  if (IsEntry(obj)) {
    Handle child = FirstChild(obj);
    Caret(child != nullptr && !IsEntry(child) ? child : obj, kPosWhole);
    return;
  }
  // Already at the end of its object: End goes on from the level above.
  Handle parent = ObjParent(obj);
  if (SideOf(selection) > 0 && parent != nullptr && !IsEntry(parent)) obj = parent;
  const bool boundaries = !Command().fortranish;
  for (Handle up = ObjParent(obj);
       up != nullptr && !IsEntry(up) && !(boundaries && IsBracketBoundary(ObjType(up)));
       up = ObjParent(up))
    obj = up;
  const bool drag = Command().view != nullptr && Command().view->dragSelect;
  Caret(obj, drag ? kPosWholeOperand : kPosCaretAfter);
}

// --- Arrows ---

enum class Direction { kLeft, kRight, kUp, kDown };

struct Centre {
  int32_t x;
  int32_t y;
};
Centre CentreOf(Handle obj) {
  const Rect& box = Hdr(obj).box;
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

bool Horizontal(Direction d) {
  return d == Direction::kLeft || d == Direction::kRight;
}

// The place an arrow lands on when it arrives at obj: a composite is entered
// at its first (moving right or down) or last (moving left or up) text
// position.
void Arrive(Handle obj, Direction d) {
  const bool forward = d == Direction::kRight || d == Direction::kDown;
  while (!IsTextType(ObjType(obj)) && ObjType(obj) != kQuestion) {
    Handle next = nullptr;
    if (forward) {
      for (int i = FirstObjSlot(obj); i < ObjCount(obj) && next == nullptr; ++i) {
        Handle child = ObjSlot(obj, i);
        if (child != nullptr && !HasFlag(child, kFlagHidden)) next = child;
      }
    } else {
      for (int i = ObjCount(obj) - 1; i >= FirstObjSlot(obj) && next == nullptr; --i) {
        Handle child = ObjSlot(obj, i);
        if (child != nullptr && !HasFlag(child, kFlagHidden)) next = child;
      }
    }
    if (next == nullptr) break;
    obj = next;
  }
  if (ObjType(obj) == kQuestion) {
    Caret(obj, kPosWhole);
  } else if (IsTextType(ObjType(obj))) {
    const int at = forward ? 0 : SelectionLength(obj);
    Caret(obj, PackRange(at, at));
  } else {
    Caret(obj, forward ? kPosCaretBefore : kPosCaretAfter);
  }
}

// The sibling of obj the arrow points at, by the centres of their boxes.
Handle Neighbour(Handle obj, Direction d) {
  Handle parent = ObjParent(obj);
  if (parent == nullptr) return nullptr;
  const Centre from = CentreOf(obj);
  Handle best = nullptr;
  Centre bestAt{};
  for (int i = FirstObjSlot(parent); i < ObjCount(parent); ++i) {
    Handle candidate = ObjSlot(parent, i);
    if (candidate == nullptr || candidate == obj || HasFlag(candidate, kFlagHidden) ||
        ObjType(candidate) == kParens)
      continue;
    const Centre at = CentreOf(candidate);
    const int32_t dx = at.x - from.x;
    const int32_t dy = at.y - from.y;
    bool fits = false;
    switch (d) {
      case Direction::kLeft:
        fits = dx < 0 && std::abs(dy) < 10;
        break;
      case Direction::kRight:
        fits = dx > 0 && std::abs(dy) < 10;
        break;
      case Direction::kUp:
        fits = dy < -3;
        break;
      case Direction::kDown:
        fits = dy > 3;
        break;
    }
    if (!fits) continue;
    const bool closer = best == nullptr || (std::abs(dx) <= std::abs(bestAt.x - from.x) &&
                                            std::abs(dy) <= std::abs(bestAt.y - from.y));
    if (closer) {
      best = candidate;
      bestAt = at;
    }
  }
  return best;
}

bool LandsBesideOnLeaving(TypeCode type, Direction d) {
  if (type == kParens || type == kAbs) return Horizontal(d);
  return type == kIntegral && d == Direction::kLeft;
}

void MoveGeometrically(Handle obj, int32_t position, Direction d) {
  for (Handle current = obj; current != nullptr && !IsEntry(current);) {
    if (Handle target = Neighbour(current, d)) {
      Arrive(target, d);
      return;
    }
    Handle parent = ObjParent(current);
    if (parent == nullptr || IsEntry(parent)) break;
    if (LandsBesideOnLeaving(ObjType(parent), d)) {
      Caret(parent, d == Direction::kLeft ? kPosCaretBefore : kPosCaretAfter);
      return;
    }
    current = parent;
  }
  Caret(obj, position);
}

void Arrow(const Selection& selection, Direction d) {
  Handle obj = selection.obj;
  const int32_t position = selection.position;
  if (IsTextType(ObjType(obj)) && Horizontal(d)) {
    const Range range = RangeOf(obj, position);
    const int length = SelectionLength(obj);
    if (d == Direction::kLeft) {
      if (!range.Empty() || range.start > 0) {
        const int at = range.Empty() ? range.start - 1 : range.start;
        Caret(obj, PackRange(at, at));
        return;
      }
    } else if (!range.Empty() || range.end < length) {
      const int at = range.Empty() ? range.end + 1 : range.end;
      Caret(obj, PackRange(at, at));
      return;
    }
  } else if (IsBlockPosition(obj, position)) {
    Block b = BlockOf(obj, position);
    const int dr = d == Direction::kUp ? -1 : d == Direction::kDown ? 1 : 0;
    const int dc = d == Direction::kLeft ? -1 : d == Direction::kRight ? 1 : 0;
    if (b.row0 + dr >= 0 && b.row1 + dr <= MatrixRows(obj) && b.col0 + dc >= 0 &&
        b.col1 + dc <= MatrixCols(obj)) {
      Caret(obj, PackBlock(b.row0 + dr, b.col0 + dc, b.row1 + dr, b.col1 + dc));
      return;
    }
  }
  MoveGeometrically(obj, position, d);
}

// --- New propositions ---

void StartNewComment(Handle anchor) {
  Handle comment = gCommentEditor.newComment();
  InsertAfter(comment, anchor);
  Caret(comment, kPosWhole);
  gCommentEditor.begin(comment, 0);
  Command().scroll = true;
}

}  // namespace

Handle NewAssumptionAfter(Handle anchor) {
  Handle assumption = NewAssumption(nullptr);
  InsertAfter(assumption, anchor);
  Caret(ObjSlot(assumption, 0), kPosWhole);
  Command().scroll = true;
  return assumption;
}

// An operator typed by its word (sqrt, Integral ...) holds all its operands
// inside brackets of its own.
bool IsCallForm(Handle obj) {
  return FunctionCallName(ObjType(obj)) != nullptr;
}

void LeaveBrackets(const Selection& selection) {
  Handle group = selection.obj;
  // A caret already after a closed group goes on to the group around it.
  Handle parent = ObjParent(group);
  bool closed = (selection.position == kPosWholeOperand || IsCaretPosition(selection.position)) &&
                parent != nullptr && !IsEntry(parent) &&
                (ShownInBrackets(parent, group) || IsCallForm(group));
  for (Handle up = ObjParent(group); up != nullptr && !IsEntry(up); up = ObjParent(group)) {
    if (!closed && ShownInBrackets(up, group)) break;
    closed = false;
    group = up;
    if (IsCallForm(up)) break;
  }
  // The argument's brackets close the whole application f(x), the first
  // operand's those of its operator word.
  Handle up = ObjParent(group);
  if (up != nullptr && ObjType(up) == kApply && ObjSlotIndex(group) == 1) group = up;
  if (up != nullptr && ObjType(group) == kParens && ObjSlotIndex(group) == 0 && IsCallForm(up))
    group = up;
  Caret(group, kPosCaretAfter);
}

bool Navigate(KeyContext& context) {
  const Selection selection = context.selection;
  const CommandCode code = context.code;
  Handle obj = selection.obj;
  if (obj == nullptr) {
    // An empty selection list.
    if (code == kCmdNewAssumption || code == '\n') {
      NewAssumptionAfter(nullptr);
      return true;
    }
    if (code == kCmdNewComment) {
      StartNewComment(nullptr);
      return true;
    }
    if (code == kCmdSelectEverything) {
      SelectEverything(nullptr);
      return true;
    }
    return false;
  }
  switch (code) {
    case kCmdNextQuestionMark:
    case '\t':
      NextQuestionMark(selection);
      Command().scroll = true;
      return true;
    case ':':
      if (!NextSlot(selection)) Caret(obj, selection.position);
      return true;
    case kCmdNewAssumption:
    case '\n':
      NewAssumptionAfter(obj);
      return true;
    case kCmdNewComment:
      StartNewComment(obj);
      return true;
    case kCmdSelectIn:
      SelectIn(selection, false);
      return true;
    case kCmdSelectFirst:
      SelectIn(selection, true);
      return true;
    case kCmdSelectOut:
      SelectOut(selection);
      return true;
    case kCmdSelectAll:
      Caret(GetObjProp(obj), kPosWhole);
      return true;
    case kCmdSelectEverything:
      SelectEverything(obj);
      return true;
    case kCmdCaretAfterOperand:
    case '`':
      CaretAfterOperand(selection);
      return true;
    case kCmdMoveLeft:
      Arrow(selection, Direction::kLeft);
      Command().scroll = true;
      return true;
    case kCmdMoveRight:
      Arrow(selection, Direction::kRight);
      Command().scroll = true;
      return true;
    case kCmdMoveUp:
      Arrow(selection, Direction::kUp);
      Command().scroll = true;
      return true;
    case kCmdMoveDown:
      Arrow(selection, Direction::kDown);
      Command().scroll = true;
      return true;
    default:
      return false;
  }
}

}  // namespace lemmabox
