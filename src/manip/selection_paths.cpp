#include "manip/selection_paths.h"

#include <algorithm>
#include <cstdlib>

#include "editor/positions.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/numbers.h"
#include "mathobj/slots.h"
#include "notebook/names.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int32_t kSpecialLow = -8;
// Child counts at or above this are taken as they are (no remapping).
constexpr int kRemapLimit = 200;

bool IsSpecialPosition(int32_t position) {
  return position >= kSpecialLow && position <= -1;
}

int32_t HighHalf(int32_t position) {
  return static_cast<int16_t>(static_cast<uint32_t>(position) >> 16);
}
int32_t LowHalf(int32_t position) {
  return static_cast<int16_t>(static_cast<uint32_t>(position) & 0xFFFF);
}
int32_t JoinHalves(int32_t high, int32_t low) {
  return static_cast<int32_t>((static_cast<uint32_t>(high) << 16) |
                              (static_cast<uint32_t>(low) & 0xFFFF));
}

// A number standing alone as a term or factor: what Simplify folds into one
// numeric coefficient, so that such a child appearing or going away is the
// cheapest change a sum or product can undergo.
bool IsNumericLiteral(Handle obj) {
  if (obj != nullptr && ObjType(obj) == kNegation && ObjCount(obj) == 1) obj = ObjSlot(obj, 0);
  return obj != nullptr && IsNumberType(ObjType(obj));
}

[[noreturn]] void Lost(Handle at) {
  RaiseAtObject(kMsgSelectionUnavailable, at);
}

// The proportional mapping of an index from a list of `from` children onto
// one of `to` children, rounded as the path scores expect.
int32_t ScaleIndex(int32_t index, int32_t from, int32_t to) {
  return (from / 2 + index * to) / from;
}

// The index of child in one step down the path, or the examined child when
// a sum or product has gained or lost one operand.
int32_t RemapIndex(Handle obj, int32_t index, int32_t recorded, int& score) {
  const int32_t count = ObjCount(obj);
  if (count >= kRemapLimit || (count & 0xFF) == recorded) return index;
  const TypeCode type = ObjType(obj);
  const int32_t difference = count - recorded;
  if ((type == kSum || type == kProduct) && std::abs(difference) == 1 && count > 0) {
    // A product keeps its numeric coefficient first, a sum its numeric term
    // last: one such child more or fewer shifts a product's factors by one
    // and leaves a sum's terms where they were.
    Handle examined = ObjSlot(obj, type == kProduct ? 0 : count - 1);
    const bool numeric = IsNumericLiteral(examined);
    if ((difference == 1 && numeric) || (difference == -1 && !numeric)) {
      score += difference == 1 ? 2 : 8;
      return type == kProduct ? std::clamp(index + difference, 0, count) : index;
    }
  }
  if (recorded <= 0) Lost(obj);
  const int32_t mapped = ScaleIndex(index, recorded, count);
  score += (count - mapped) * mapped / 4 + 4;
  return mapped;
}

// The recorded position word made to fit the object found.
int32_t AdaptPosition(Handle obj, int32_t position, int32_t recorded, int& score) {
  if (IsSpecialPosition(position)) return position;
  const TypeCode type = ObjType(obj);
  if (type == kMatrix) {
    const auto u = static_cast<uint32_t>(position);
    const int row1 = static_cast<int>((u >> 8) & 0xFF);
    const int col1 = static_cast<int>(u & 0xFF);
    const int row0 = static_cast<int>(u >> 24);
    const int col0 = static_cast<int>((u >> 16) & 0xFF);
    if (row0 > row1 || col0 > col1 || row1 > MatrixRows(obj) || col1 > MatrixCols(obj)) Lost(obj);
    return position;
  }
  if (!IsOperandListType(type)) return position;
  const int32_t count = ObjCount(obj);
  int32_t first = RangeStart(position);
  int32_t end = RangeEnd(position);
  if ((count & 0xFF) != recorded && count < kRemapLimit) {
    if (recorded <= 0) Lost(obj);
    first = ScaleIndex(first, recorded, count);
    end = ScaleIndex(end, recorded, count);
    score += ((count - first) * first + (count - end) * end) / 4 + 8;
  }
  if (first < 0 || end < 0 || first > count || end > count) Lost(obj);
  return PackRange(first, end);
}

void ChildPath(std::vector<int32_t>& out, Handle statement, Handle obj) {
  if (obj == statement) {
    out.push_back(PathCodeWord(obj));
    return;
  }
  Handle parent = ObjParent(obj);
  if (parent == nullptr) InternalError("RememberPath");
  ChildPath(out, statement, parent);
  out.push_back(ObjSlotIndex(obj));
  out.push_back(PathCodeWord(obj));
}

}  // namespace

int32_t PathCodeWord(Handle obj) {
  return (static_cast<int32_t>(ObjType(obj)) << 8) | (ObjCount(obj) & 0xFF);
}

int32_t NormalisePosition(Handle obj, int32_t position) {
  if (IsSpecialPosition(position) || obj == nullptr) return position;
  const TypeCode type = ObjType(obj);
  if (IsOperandListType(type)) {
    const int32_t count = ObjCount(obj);
    if (RangeStart(position) == 0 && RangeEnd(position) == count && count > 0) return kPosWhole;
    return position;
  }
  if (type == kMatrix) return CoversWhole({obj, position}) ? kPosWhole : position;
  if (IsTextType(type)) return position & ~kSpaceSplitMark;
  return position;
}

void AppendSelectionPath(std::vector<int32_t>& out, Handle statement, Handle obj,
                         int32_t position) {
  if (statement == nullptr || obj == nullptr) InternalError("RememberPath");
  ChildPath(out, statement, obj);
  out.push_back(kPathEnd);
  const int32_t normal = NormalisePosition(obj, position);
  out.push_back(HighHalf(normal));
  out.push_back(LowHalf(normal));
}

LocatedPath LocateSelectionPath(Handle statement, std::span<const int32_t> path) {
  if (statement == nullptr || path.size() < 4) Lost(statement);
  Handle obj = statement;
  int score = 0;
  size_t i = 0;
  int32_t recorded = 0;
  for (;;) {
    if (i + 1 >= path.size()) Lost(obj);
    const int32_t code = path[i];
    const int32_t next = path[i + 1];
    const auto type = static_cast<TypeCode>((code >> 8) & 0xFF);
    recorded = code & 0xFF;
    i += 2;
    if (ObjType(obj) != type) {
      // A wrapper appeared: look for the recorded kind among the children.
      Handle found = nullptr;
      for (int k = FirstObjSlot(obj); k < ObjCount(obj) && found == nullptr; ++k) {
        Handle child = ObjSlot(obj, k);
        if (child != nullptr && ObjType(child) == type) {
          found = child;
          score += 2 * k + 2;
        }
      }
      if (found == nullptr) {
        if (next != kPathEnd) {
          // The recorded level went away: go on with the same object.
          score += 4 * next + 4;
          continue;
        }
        score += 15;
        break;
      }
      obj = found;
    }
    if (next == kPathEnd) break;
    if (next < 0) Lost(obj);
    const int32_t index = RemapIndex(obj, next, recorded, score);
    if (index < FirstObjSlot(obj) || index >= ObjCount(obj) || ObjSlot(obj, index) == nullptr)
      Lost(obj);
    obj = ObjSlot(obj, index);
  }
  // i is past the terminating pair; the position halves follow.
  if (i + 1 >= path.size()) Lost(obj);
  const int32_t position = AdaptPosition(obj, JoinHalves(path[i], path[i + 1]), recorded, score);
  if (score >= kPathScoreLimit) Lost(obj);
  return {{obj, position}, score, static_cast<int>(i + 2)};
}

Handle ExtractPart(const Selection& selection, bool check) {
  if (selection.obj == nullptr) return nullptr;
  const Selection normal{selection.obj, NormalisePosition(selection.obj, selection.position)};
  Handle part = ExtractSelection(normal, check);
  if (part == nullptr) return nullptr;
  // The characters of a name or number come out as text; they become an
  // object of the kind they were taken from.
  const TypeCode from = ObjType(selection.obj);
  if (ObjType(part) == kUndeclaredName && (from == kName || from == kUndeclaredName)) {
    ResolveName(part);
  } else if (ObjType(part) == kNumberText && (from == kInteger || from == kReal)) {
    ResolveNumberText(part);
  }
  return part;
}

SplicedPart Splice(const Selection& selection, Handle result) {
  Handle obj = selection.obj;
  const int32_t position = NormalisePosition(obj, selection.position);
  const TypeCode type = ObjType(obj);
  if (IsRangePosition(position) && IsOperandListType(type) && result != nullptr &&
      ObjType(result) == type && ObjCount(result) > 0) {
    // Operands of the same operator join the list instead of nesting in it.
    const Range range = RangeOf(obj, position);
    DeleteSlots(obj, range.start, range.end);
    const int n = ObjCount(result);
    for (int k = 0; k < n; ++k) InsertSlot(obj, range.start + k, TakeSlot(result, k));
    DisposeObj(result);
    return {obj, PackRange(range.start, range.start + n)};
  }
  if (IsRangePosition(position) && IsOperandListType(type)) {
    const Range range = RangeOf(obj, position);
    Handle stands = ReplaceSelection({obj, position}, result);
    if (stands == obj) return {obj, PackRange(range.start, range.start + 1)};
    return {stands, kPosWhole};
  }
  if (IsRangePosition(position) && type == kMatrix) {
    ReplaceSelection({obj, position}, result);
    return {obj, position};
  }
  if (position == kPosCaretBefore || position == kPosCaretAfter)
    return {ReplaceSelection({obj, position}, result), kPosWhole};
  return {ReplaceSelection({obj, kPosWhole}, result), kPosWhole};
}

Handle CorrespondingPart(Handle root, Handle obj, Handle otherRoot) {
  if (obj == nullptr || root == nullptr || otherRoot == nullptr) return nullptr;
  std::vector<int> indices;
  Handle h = obj;
  while (h != root) {
    Handle parent = ObjParent(h);
    if (parent == nullptr) return nullptr;
    indices.push_back(ObjSlotIndex(h));
    h = parent;
  }
  Handle other = otherRoot;
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
    if (*it < 0 || *it >= ObjCount(other)) return nullptr;
    other = ObjSlot(other, *it);
    if (other == nullptr) return nullptr;
  }
  return other;
}

}  // namespace lemmabox
