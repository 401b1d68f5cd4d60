#include "mathobj/dup_dispose.h"

#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox {
namespace {

// Bit of a graph's state word (data slot 8) that marks a copy.
constexpr SlotWord kGraphCopiedBit = 0x04;

Handle& HandleSlot(Handle obj, int i) {
  return reinterpret_cast<Handle&>(DataSlot(obj, i));
}

// A copy of the whole block, detached.
Handle ByteCopy(Handle obj) {
  Handle copy = CopyObjHandle(obj);
  Obj& o = Hdr(copy);
  o.parent = nullptr;
  o.slotIndex = -1;
  return copy;
}

// --- Dup entries ---

Handle DupBytes(Handle obj) {
  return ByteCopy(obj);
}

Handle DupDeep(Handle obj) {
  if (ObjCount(obj) > 1) CheckInterrupt();
  Handle copy = ByteCopy(obj);
  DupObjectSlots(obj, copy);
  return copy;
}

// The knowledge table in slot 0 belongs to the original; the copy gets its own
// when the notebook next rebuilds the tables.
Handle DupTheory(Handle obj) {
  Handle copy = ByteCopy(obj);
  DataSlot(copy, 0) = 0;
  DupObjectSlots(obj, copy);
  return copy;
}

Handle DupGraph(Handle obj) {
  Handle copy = ByteCopy(obj);
  DataSlot(copy, 0) = 0;
  HandleSlot(copy, 1) = nullptr;
  DupObjectSlots(obj, copy);
  HandleSlot(copy, 1) = CopyObjHandle(HandleSlot(obj, 1));
  DataSlot(copy, 8) |= kGraphCopiedBit;
  return copy;
}

Handle DupConclusion(Handle obj) {
  Handle copy = ByteCopy(obj);
  ObjSlots(copy)[0] = nullptr;
  gObjStoreHooks.copyDerivation(obj, copy);
  if (Handle statement = ObjSlot(obj, 0)) PutSlot(copy, 0, DupObj(statement));
  return copy;
}

Handle DupComment(Handle obj) {
  Handle copy = ByteCopy(obj);
  gObjStoreHooks.copyComment(obj, copy);
  return copy;
}

Handle DupPicture(Handle obj) {
  Handle copy = ByteCopy(obj);
  gObjStoreHooks.copyPicture(obj, copy);
  return copy;
}

Handle DupPlot(Handle obj) {
  Handle copy = ByteCopy(obj);
  HandleSlot(copy, 0) = nullptr;
  DupObjectSlots(obj, copy);
  HandleSlot(copy, 0) = CopyObjHandle(HandleSlot(obj, 0));
  return copy;
}

Handle DupGridPlot(Handle obj) {
  Handle copy = DupPlot(obj);
  gObjStoreHooks.copyGridData(obj, copy);
  return copy;
}

// --- Dispose entries ---

// Disposes slots from..count-1, each taken out of its slot first.
void DisposeSlotsFrom(Handle obj, int from) {
  for (int i = from; i < ObjCount(obj); ++i) {
    if (ObjSlot(obj, i) != nullptr) DisposeObj(TakeSlot(obj, i));
  }
}

void DisposeExpression(Handle obj) {
  int count = ObjCount(obj);
  DisposeSlotsFrom(obj, 0);
  ReleaseObjHandle(obj);
  if (count > 1) CheckInterrupt();
}

// A table is disposed like an expression, but it is drawn from the image cache
// too, and its cached image must not outlive it.
void DisposeTable(Handle obj) {
  gObjStoreHooks.dropCachedImage(obj);
  DisposeExpression(obj);
}

void ReleaseDataBlock(Handle obj, int i) {
  ReleaseObjHandle(HandleSlot(obj, i));
  HandleSlot(obj, i) = nullptr;
}

void DisposeEntry(Handle obj) {
  const ObjStoreHooks& hooks = gObjStoreHooks;
  TypeCode type = ObjType(obj);
  switch (type) {
    case kPicture:
      hooks.freePicture(obj);
      break;
    case kSurfacePlot:
    case kLinePlot:
    case kContourPlot:
    case kScatterPlot:
    case kAxisPlot:
      ReleaseDataBlock(obj, 0);
      break;
    case kGridPlot:
      hooks.freeGridData(obj);
      ReleaseDataBlock(obj, 0);
      break;
    case kComment:
      hooks.freeComment(obj);
      break;
    case kMainTheory:
    case kCaseTheory:
      hooks.theoryGoesAway(obj);
      break;
    case kGraph2D:
    case kGraph3D:
      hooks.graphGoesAway(obj);
      ReleaseDataBlock(obj, 1);
      hooks.theoryGoesAway(obj);
      break;
    case kConclusion:
      hooks.freeDerivation(obj);
      break;
    default:
      break;
  }
  if (ClassBits(type) & kClassCachedImage) hooks.dropCachedImage(obj);
  DisposeSlotsFrom(obj, FirstObjSlot(obj));
  ReleaseObjHandle(obj);
}

DupFn DupEntryFor(TypeCode type) {
  switch (type) {
    case kMainTheory:
    case kCaseTheory:
      return &DupTheory;
    case kGraph2D:
    case kGraph3D:
      return &DupGraph;
    case kConclusion:
      return &DupConclusion;
    case kComment:
      return &DupComment;
    case kPicture:
      return &DupPicture;
    case kSurfacePlot:
    case kLinePlot:
    case kContourPlot:
    case kScatterPlot:
    case kAxisPlot:
      return &DupPlot;
    case kGridPlot:
      return &DupGridPlot;
    default:
      return IsLeafType(type) ? &DupBytes : &DupDeep;
  }
}

DisposeFn DisposeEntryFor(TypeCode type) {
  if (type == kTable) return &DisposeTable;
  return IsPropositionType(type) ? &DisposeEntry : &DisposeExpression;
}

}  // namespace

void DupObjectSlots(Handle source, Handle copy) {
  int first = FirstObjSlot(copy);
  int count = ObjCount(copy);
  // Until each is replaced the copy must not claim the source's sub-objects,
  // or a copy abandoned halfway would dispose them.
  for (int i = first; i < count; ++i) ObjSlots(copy)[i] = nullptr;
  for (int i = first; i < count; ++i) {
    if (Handle occupant = ObjSlot(source, i)) PutSlot(copy, i, DupObj(occupant));
  }
}

Handle DupObj(Handle obj) {
  if (obj == nullptr || !IsTypeCode(ObjType(obj))) InternalError("DupObj");
  Handle copy = gDupTable.Entry(ObjType(obj))(obj);
  ClearFlag(copy, kFlagSizeValid | kFlagDrawn);
  return copy;
}

void DisposeObj(Handle obj) {
  if (obj == nullptr) return;
  CheckInterrupt();
  if (ObjParent(obj) != nullptr) InternalError("DisposeObj");
  if (!IsTypeCode(ObjType(obj))) InternalError("DisposeObj");
  gDisposeTable.Entry(ObjType(obj))(obj);
}

void RegisterDupDispose() {
  // Every code of the type list gets both entries; the others keep "UnDup"
  // and "UnDispose".
#define LEMMABOX_REGISTER_TYPE(name, code, ...) \
  gDupTable.Set(code, DupEntryFor(code));       \
  gDisposeTable.Set(code, DisposeEntryFor(code));
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
