#include "mathobj/slots.h"

#include <algorithm>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

void Link(Handle obj, int i, Handle child) {
  ObjSlots(obj)[i] = child;
  if (child != nullptr) {
    Obj& c = Hdr(child);
    c.parent = obj;
    c.slotIndex = i;
  }
}

void Unlink(Handle child) {
  Obj& c = Hdr(child);
  c.parent = nullptr;
  c.slotIndex = -1;
}

// Words stored after the slots that move with them: a matrix's dimension word.
int TrailingWords(Handle obj) {
  return ObjType(obj) == kMatrix ? 1 : 0;
}

// Makes room for `extra` more slots (plus the trailing words). Long operand
// lists get room to spare, so building one slot by slot does not copy the
// whole list at every step.
void GrowForSlots(Handle obj, int extra) {
  int count = ObjCount(obj);
  size_t needed = kObjHeaderSize + (count + extra + TrailingWords(obj)) * sizeof(Handle);
  if (needed <= ObjHandleSize(obj)) return;
  size_t spare = count >= 8 ? (count / 2) * sizeof(Handle) : 0;
  // (Too large a block is refused by the resize itself.)
  ResizeObjHandle(obj, needed + spare < kMaxHandleBytes ? needed + spare : needed);
}

int Clamp(int value, int count) {
  return std::clamp(value, 0, count);
}

}  // namespace

Handle TakeSlot(Handle obj, int i) {
  if (i < 0 || i >= ObjCount(obj)) InternalError("TakeSlot");
  Handle child = ObjSlots(obj)[i];
  ObjSlots(obj)[i] = nullptr;
  if (child != nullptr) Unlink(child);
  return child;
}

void PutSlot(Handle obj, int i, Handle child) {
  if (i < 0 || i >= ObjCount(obj)) InternalError("PutSlot");
  Handle old = ObjSlots(obj)[i];
  if (child != nullptr && ObjParent(child) != nullptr) {
    if (old == child) return;
    // One object in two slots would be disposed twice.
    InternalError("PutSlot");
  }
  if (old != nullptr) {
    ObjSlots(obj)[i] = nullptr;
    Unlink(old);
    DisposeObj(old);
  }
  Link(obj, i, child);
}

void ReplaceInParent(Handle obj, Handle replacement) {
  Handle parent = ObjParent(obj);
  if (parent == nullptr) InternalError("ReplaceInParent");
  PutSlot(parent, ObjSlotIndex(obj), replacement);
}

Handle DetachFromParent(Handle obj) {
  Handle parent = ObjParent(obj);
  if (parent == nullptr) return obj;
  return TakeSlot(parent, ObjSlotIndex(obj));
}

void InsertSlot(Handle obj, int i, Handle child) {
  int count = ObjCount(obj);
  if (i < 0 || i > count) InternalError("InsertSlot");
  GrowForSlots(obj, 1);
  Handle* slots = ObjSlots(obj);
  int trailing = TrailingWords(obj);
  std::memmove(&slots[count + 1], &slots[count], trailing * sizeof(Handle));
  for (int k = count; k > i; --k) Link(obj, k, slots[k - 1]);
  slots[i] = nullptr;
  Hdr(obj).count = count + 1;
  PutSlot(obj, i, child);
}

void DeleteSlots(Handle obj, int from, int to) {
  int count = ObjCount(obj);
  from = Clamp(from, count);
  to = Clamp(to, count);
  if (from >= to) return;
  for (int k = from; k < to; ++k) DisposeObj(TakeSlot(obj, k));
  Handle* slots = ObjSlots(obj);
  int gap = to - from;
  for (int k = to; k < count; ++k) {
    Link(obj, k - gap, slots[k]);
    slots[k] = nullptr;
  }
  std::memmove(&slots[count - gap], &slots[count], TrailingWords(obj) * sizeof(Handle));
  Hdr(obj).count = count - gap;
}

Handle CopySlotRange(Handle obj, int from, int to) {
  int count = ObjCount(obj);
  from = Clamp(from, count);
  to = Clamp(to, count);
  if (from >= to) return nullptr;
  if (to - from == 1) {
    Handle only = ObjSlot(obj, from);
    return only ? DupObj(only) : nullptr;
  }
  Handle copy = NewObjN(ObjType(obj), to - from);
  for (int k = from; k < to; ++k) {
    if (Handle source = ObjSlot(obj, k)) PutSlot(copy, k - from, DupObj(source));
  }
  return copy;
}

void WalkObj(Handle obj, WalkFn before, WalkFn after, void* context) {
  if (obj == nullptr) return;
  if (before) before(obj, context);
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    WalkObj(ObjSlot(obj, i), before, after, context);
  if (after) after(obj, context);
}

Handle GetObjProp(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (IsPropositionType(ObjType(h))) return h;
  InternalError("GetObjProp detached");
}

Handle OwningScope(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
    if (IsPropositionType(ObjType(h))) {
      if (Handle theory = ObjParent(h)) return theory;
      break;
    }
  }
  return gObjStoreHooks.currentScope();
}

SlotWord RootValue(Handle obj) {
  Handle top = obj;
  while (ObjParent(top) != nullptr) top = ObjParent(top);
  return ObjType(top) == kMainTheory ? DataSlot(top, 1) : 0;
}

Handle CorrespondingObj(Handle root, Handle obj, Handle otherRoot) {
  if (obj == root) return otherRoot;
  Handle parent = ObjParent(obj);
  if (parent == nullptr) InternalError("InsideObj");
  Handle other = CorrespondingObj(root, parent, otherRoot);
  int i = ObjSlotIndex(obj);
  if (other == nullptr || i >= ObjCount(other)) InternalError("InsideObj");
  return ObjSlot(other, i);
}

// --- Matrices ---

namespace {

SlotWord& DimWord(Handle m) {
  return reinterpret_cast<SlotWord*>(ObjSlots(m))[ObjCount(m)];
}

}  // namespace

int MatrixRows(Handle m) {
  return static_cast<int>((DimWord(m) >> 16) & 0xFFFF);
}
int MatrixCols(Handle m) {
  return static_cast<int>(DimWord(m) & 0xFFFF);
}

void SetMatrixDims(Handle m, int rows, int cols) {
  DimWord(m) = (static_cast<SlotWord>(rows & 0xFFFF) << 16) | (cols & 0xFFFF);
}

void MatrixInsertRow(Handle m, int r) {
  int rows = MatrixRows(m);
  int cols = MatrixCols(m);
  if (r < 0 || r > rows || rows >= 0xFFFF) InternalError("MatrixInsertRow");
  GrowForSlots(m, cols);
  Handle* slots = ObjSlots(m);
  int count = rows * cols;
  // Elements of rows r.. move down one row, last first.
  for (int k = count - 1; k >= r * cols; --k) {
    Link(m, k + cols, slots[k]);
  }
  // The new row's slots may still hold a moved element or the old dimension word.
  for (int k = r * cols; k < (r + 1) * cols; ++k) slots[k] = nullptr;
  Hdr(m).count = count + cols;
  SetMatrixDims(m, rows + 1, cols);
}

void MatrixInsertColumn(Handle m, int c) {
  int rows = MatrixRows(m);
  int cols = MatrixCols(m);
  if (c < 0 || c > cols || cols >= 0xFFFF) InternalError("MatrixInsertColumn");
  GrowForSlots(m, rows);
  Handle* slots = ObjSlots(m);
  // From the last element back, each moves right by one slot per inserted
  // element before it: its row number, plus one when it lies at or past c.
  for (int k = rows * cols - 1; k >= 0; --k) {
    int row = k / cols;
    int to = k + row + (k % cols >= c ? 1 : 0);
    if (to != k) Link(m, to, slots[k]);
  }
  // The new column's slots may still hold a moved element or the old dimension word.
  for (int row = 0; row < rows; ++row) slots[row * (cols + 1) + c] = nullptr;
  Hdr(m).count = rows * (cols + 1);
  SetMatrixDims(m, rows, cols + 1);
}

void MatrixAppendRow(Handle m) {
  int rows = MatrixRows(m);
  int cols = MatrixCols(m);
  MatrixInsertRow(m, rows);
  for (int col = 0; col < cols; ++col) PutSlot(m, rows * cols + col, NewQuestionMark());
}

void MatrixAppendColumn(Handle m) {
  int rows = MatrixRows(m);
  int cols = MatrixCols(m);
  MatrixInsertColumn(m, cols);
  for (int row = 0; row < rows; ++row) PutSlot(m, row * (cols + 1) + cols, NewQuestionMark());
}

}  // namespace lemmabox
