// Slot primitives: the only way the slots of a math object change. Each keeps
// `parent` and `slotIndex` of the objects involved consistent, so an object is
// always held by exactly the slot its header names (or by nobody, when
// detached: parent null, slotIndex -1).
//
// Leading data slots (for some notebook entries) are not sub-objects; every
// generic traversal starts at FirstObjSlot.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// Detaches and returns the occupant of slot i (null if empty); the slot becomes null.
Handle TakeSlot(Handle obj, int i);
// Disposes the current occupant of slot i, then stores child (which must be
// detached) and links it. Putting an object back into the slot that already
// holds it changes nothing.
void PutSlot(Handle obj, int i, Handle child);
// Puts replacement into the slot that holds obj; this disposes obj.
void ReplaceInParent(Handle obj, Handle replacement);
// Takes obj out of its parent's slot; a detached obj is returned as it is.
Handle DetachFromParent(Handle obj);
// Grows obj by one slot at i, moving the occupants of i.. up, and puts child there.
void InsertSlot(Handle obj, int i, Handle child);
// Bounds clamped to 0..count: disposes the occupants of from..to-1, closes the gap.
void DeleteSlots(Handle obj, int from, int to);
// Bounds clamped to 0..count: null for an empty range, a copy of the single
// occupant for one slot, else a new object of obj's type holding copies.
Handle CopySlotRange(Handle obj, int from, int to);

inline int FirstObjSlot(Handle obj) {
  return LeadingDataSlots(ObjType(obj));
}

// Calls before(obj), walks every non-null sub-object from the first object
// slot on in slot order, then calls after(obj). Either function may be null.
using WalkFn = void (*)(Handle obj, void* context);
void WalkObj(Handle obj, WalkFn before, WalkFn after, void* context);

template <class Before, class After>
void WalkTree(Handle obj, Before&& before, After&& after) {
  struct Pair {
    Before& before;
    After& after;
  } pair{before, after};
  WalkObj(
      obj, [](Handle h, void* c) { static_cast<Pair*>(c)->before(h); },
      [](Handle h, void* c) { static_cast<Pair*>(c)->after(h); }, &pair);
}

// The notebook entry that holds obj (obj itself when it is one); internal
// error "GetObjProp detached" when there is none.
Handle GetObjProp(Handle obj);
// The theory that holds obj's notebook entry; for an object outside every
// attached entry, the current scope (mathobj/hooks.h).
Handle OwningScope(Handle obj);
// The second data slot of the main theory at the top of obj's tree, else 0.
SlotWord RootValue(Handle obj);
// The object of the tree below otherRoot at the same slot path as obj lies
// below root; internal error "InsideObj" when obj is not inside root or the
// other tree has no such slot.
Handle CorrespondingObj(Handle root, Handle obj, Handle otherRoot);

// Matrices ('m'): rows x cols slots in row-major order, then one word with the
// rows in its high 16 bits and the columns in its low 16 bits.
int MatrixRows(Handle m);
int MatrixCols(Handle m);
void SetMatrixDims(Handle m, int rows, int cols);
inline Handle MatrixElement(Handle m, int row, int col) {
  return ObjSlot(m, row * MatrixCols(m) + col);
}
// Inserts an empty row before row r (0..rows) / an empty column before column c.
void MatrixInsertRow(Handle m, int r);
void MatrixInsertColumn(Handle m, int c);
// Appends a row / a column of question marks.
void MatrixAppendRow(Handle m);
void MatrixAppendColumn(Handle m);

}  // namespace lemmabox
