#include "mathobj/handles.h"

#include <cstring>

#include "shell/failure.h"
#include "shell/memory.h"

namespace lemmabox {
namespace {

// A free master pointer holds the address of the next free one.
using MasterPointer = Obj*;

MasterPointer* gFreeList = nullptr;
size_t gFreeCount = 0;
size_t gBlockCount = 0;
uint64_t gAllocations = 0;

MasterPointer* NextFree(MasterPointer* mp) {
  return reinterpret_cast<MasterPointer*>(*mp);
}
void SetNextFree(MasterPointer* mp, MasterPointer* next) {
  *mp = reinterpret_cast<Obj*>(next);
}

void CarveMasterPointers() {
  auto* block =
      static_cast<MasterPointer*>(AllocTracked(kMasterPointersPerBlock * sizeof(MasterPointer)));
  for (int i = 0; i < kMasterPointersPerBlock - 1; ++i) SetNextFree(&block[i], &block[i + 1]);
  SetNextFree(&block[kMasterPointersPerBlock - 1], gFreeList);
  gFreeList = block;
  gFreeCount += kMasterPointersPerBlock;
  ++gBlockCount;
}

// Takes a master pointer for a block. The block is allocated first: when it
// cannot be had, no master pointer is lost.
Handle HandleFor(void* data) {
  if (gFreeList == nullptr) CarveMasterPointers();
  MasterPointer* mp = gFreeList;
  gFreeList = NextFree(mp);
  --gFreeCount;
  *mp = static_cast<Obj*>(data);
  ++gAllocations;
  return mp;
}

}  // namespace

Handle AllocObjHandle(size_t bytes) {
  if (bytes >= kMaxHandleBytes) InternalError("AllocObjHandle");
  return HandleFor(AllocClearedObjBlock(bytes));
}

size_t ResizeObjHandle(Handle h, size_t bytes) {
  if (bytes >= kMaxHandleBytes) InternalError("ResizeObjHandle");
  size_t current = ObjBlockSize(*h);
  if (bytes <= current) return current;
  void* data = AllocClearedObjBlock(bytes);
  std::memcpy(data, *h, current);
  DisposeObjBlock(*h);
  *h = static_cast<Obj*>(data);
  return ObjBlockSize(data);
}

size_t ObjHandleSize(Handle h) {
  return ObjBlockSize(*h);
}

Handle CopyObjHandle(Handle h) {
  if (h == nullptr) return nullptr;
  size_t size = ObjHandleSize(h);
  // Every byte is written, so the block need not be cleared first.
  void* data = AllocObjBlock(size);
  std::memcpy(data, *h, size);
  std::memset(static_cast<uint8_t*>(data) + size, 0, ObjBlockSize(data) - size);
  return HandleFor(data);
}

void ReleaseObjHandle(Handle h) {
  if (h == nullptr) return;
  DisposeObjBlock(*h);
  SetNextFree(h, gFreeList);
  gFreeList = h;
  ++gFreeCount;
}

uint64_t ObjHandleAllocations() {
  return gAllocations;
}
size_t FreeMasterPointerCount() {
  return gFreeCount;
}
size_t MasterPointerBlockCount() {
  return gBlockCount;
}

}  // namespace lemmabox
