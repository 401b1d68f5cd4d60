#include "editor/positions.h"

#include <algorithm>
#include <cstring>

#include "editor/editor_hooks.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/names.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

std::string FieldText(Handle obj) {
  const char* text = ObjText(obj);
  return std::string(text, strnlen(text, kTextFieldSize));
}

// A factor that applies to the rest of its product.
bool IsDLinearFactor(Handle obj) {
  if (obj == nullptr) return false;
  if (ObjType(obj) == kPartial) return true;
  if (ObjType(obj) != kName) return false;
  Handle decl = DeclOfName(obj);
  return decl != nullptr && DeclRecordOf(decl) != nullptr &&
         DeclClass(decl) == kNameDLinearOperator;
}

Handle ExtractText(Handle obj, Range range) {
  std::string text = EditableText(obj);
  std::string part = text.substr(range.start, range.end - range.start);
  if (ObjType(obj) == kWildcard) return part.empty() ? nullptr : DupObj(obj);
  if (IsNumberType(ObjType(obj))) return NewNumberText(part.c_str());
  return NewUndeclaredName(part.c_str());
}

Handle ExtractBlock(Handle m, Block block) {
  Handle copy = NewMatrix(block.row1 - block.row0, block.col1 - block.col0);
  for (int r = block.row0; r < block.row1; ++r) {
    for (int c = block.col0; c < block.col1; ++c) {
      Handle cell = MatrixElement(m, r, c);
      PutSlot(copy, (r - block.row0) * (block.col1 - block.col0) + (c - block.col0),
              cell ? DupObj(cell) : NewQuestionMark());
    }
  }
  return copy;
}

}  // namespace

bool IsTextType(TypeCode type) {
  switch (type) {
    case kUndeclaredName:
    case kNumberText:
    case kInteger:
    case kReal:
    case kName:
    case kWildcard:
      return true;
    default:
      return false;
  }
}

std::string EditableText(Handle obj) {
  switch (ObjType(obj)) {
    case kUndeclaredName:
    case kNumberText:
      return FieldText(obj);
    case kName: {
      Handle decl = DeclOfName(obj);
      const char* text =
          decl != nullptr && ObjType(decl) == kDeclaration ? DeclNameText(decl) : nullptr;
      return text != nullptr ? std::string(text) : std::string();
    }
    case kInteger:
    case kReal:
      return gEditorHooks.numberText(obj);
    case kWildcard:
      return std::string(1, WildcardKind(obj));
    default:
      return std::string();
  }
}

int SelectionLength(Handle obj) {
  if (IsTextType(ObjType(obj))) return static_cast<int>(EditableText(obj).size());
  if (ObjType(obj) == kQuestion) return 1;  // its "?" can be selected as text
  return ObjCount(obj);
}

Range RangeOf(Handle obj, int32_t position) {
  const int length = SelectionLength(obj);
  switch (position) {
    case kPosWhole:
    case kPosWholeOperand:
      return {0, length};
    case kPosCaretBefore:
      return {0, 0};
    case kPosCaretAfter:
      return {length, length};
    default:
      break;
  }
  if (!IsRangePosition(position)) return {0, length};
  const int mask = IsTextType(ObjType(obj)) ? 0x7FFF : 0xFFFF;
  int start = std::clamp(RangeStart(position), 0, length);
  int end = std::clamp(static_cast<int>(RangeEnd(position) & mask), 0, length);
  if (end < start) std::swap(start, end);
  return {start, end};
}

Block BlockOf(Handle matrix, int32_t position) {
  const int rows = MatrixRows(matrix);
  const int cols = MatrixCols(matrix);
  if (!IsRangePosition(position)) return {0, 0, rows, cols};
  auto u = static_cast<uint32_t>(position);
  Block b{static_cast<int>(u >> 24), static_cast<int>((u >> 16) & 0xFF),
          static_cast<int>((u >> 8) & 0xFF), static_cast<int>(u & 0xFF)};
  b.row0 = std::clamp(b.row0, 0, rows);
  b.row1 = std::clamp(b.row1, b.row0, rows);
  b.col0 = std::clamp(b.col0, 0, cols);
  b.col1 = std::clamp(b.col1, b.col0, cols);
  return b;
}

int SideOf(const Selection& selection) {
  const int32_t position = selection.position;
  if (position == kPosCaretBefore) return -1;
  if (position == kPosCaretAfter) return +1;
  if (IsWholePosition(position) || !IsRangePosition(position)) return 0;
  Handle obj = selection.obj;
  if (ObjType(obj) == kMatrix) return BlockOf(obj, position).col0 == 0 ? -1 : 0;
  const Range range = RangeOf(obj, position);
  const int length = SelectionLength(obj);
  if (range.Empty() && range.start == 0) return -1;
  if (range.start == length) return +1;
  return 0;
}

bool CoversWhole(const Selection& selection) {
  const int32_t position = selection.position;
  if (IsWholePosition(position)) return true;
  if (IsCaretPosition(position) || !IsRangePosition(position)) return false;
  Handle obj = selection.obj;
  if (ObjType(obj) == kMatrix) {
    Block b = BlockOf(obj, position);
    return b.row0 == 0 && b.col0 == 0 && b.row1 == MatrixRows(obj) && b.col1 == MatrixCols(obj);
  }
  const Range range = RangeOf(obj, position);
  return range.start == 0 && range.end == SelectionLength(obj) && !range.Empty();
}

Handle ExtractSelection(const Selection& selection, bool check) {
  Handle obj = selection.obj;
  const int32_t position = selection.position;
  if (obj == nullptr || IsCaretPosition(position)) return nullptr;
  if (IsWholePosition(position) || !IsRangePosition(position)) return DupObj(obj);
  const TypeCode type = ObjType(obj);
  if (type == kMatrix) return ExtractBlock(obj, BlockOf(obj, position));
  const Range range = RangeOf(obj, position);
  if (range.Empty()) return nullptr;
  if (IsTextType(type)) return ExtractText(obj, range);
  if (!IsOperandListType(type)) return DupObj(obj);
  if (check && type == kProduct && range.end < ObjCount(obj)) {
    for (int i = range.start; i < range.end; ++i)
      if (IsDLinearFactor(ObjSlot(obj, i))) Raise(kMsgDLinearNotToEnd);
  }
  return CopySlotRange(obj, range.start, range.end);
}

Handle ReplaceSelection(const Selection& selection, Handle replacement) {
  Handle obj = selection.obj;
  const int32_t position = selection.position;
  Handle parent = ObjParent(obj);
  const int slot = ObjSlotIndex(obj);
  auto requireParent = [parent] {
    if (parent == nullptr) InternalError("ReplaceSelection");
  };
  if (position == kPosCaretBefore || position == kPosCaretAfter) {
    requireParent();
    // A caret beside an object is an implicit multiplication.
    Handle held = TakeSlot(parent, slot);
    Handle product =
        position == kPosCaretBefore ? NewProduct(replacement, held) : NewProduct(held, replacement);
    PutSlot(parent, slot, product);
    return product;
  }
  const TypeCode type = ObjType(obj);
  if (IsRangePosition(position) && type == kMatrix) {
    Block b = BlockOf(obj, position);
    const bool isMatrix = replacement != nullptr && ObjType(replacement) == kMatrix;
    for (int r = b.row0; r < b.row1; ++r) {
      for (int c = b.col0; c < b.col1; ++c) {
        Handle cell = nullptr;
        const int i = r - b.row0;
        const int j = c - b.col0;
        if (isMatrix && i < MatrixRows(replacement) && j < MatrixCols(replacement)) {
          Handle element = MatrixElement(replacement, i, j);
          cell = element ? DupObj(element) : NewQuestionMark();
        } else if (!isMatrix && replacement != nullptr) {
          cell = DupObj(replacement);
        } else {
          cell = NewQuestionMark();
        }
        PutSlot(obj, r * MatrixCols(obj) + c, cell);
      }
    }
    DisposeObj(replacement);
    return obj;
  }
  if (IsRangePosition(position) && IsOperandListType(type)) {
    const Range range = RangeOf(obj, position);
    if (range.start == 0 && range.end == ObjCount(obj)) {
      requireParent();
      PutSlot(parent, slot, replacement);
      return replacement;
    }
    DeleteSlots(obj, range.start, range.end);
    InsertSlot(obj, range.start, replacement);
    return obj;
  }
  requireParent();
  PutSlot(parent, slot, replacement);
  return replacement;
}

}  // namespace lemmabox
