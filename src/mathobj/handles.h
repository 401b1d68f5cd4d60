// Handles: a math object (or a plain data block) is held through a master
// pointer that points at its object block, so the block can move when it
// grows while every holder keeps the same handle. A pointer into a block is
// valid only until the next resize of that block.
//
// Master pointers come from a pool of their own, carved 200 at a time and
// kept on a free list (a free master pointer holds the address of the next
// free one); a released one goes to the front, so it is the next handed out.
// Master-pointer blocks are never returned.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell/types.h"

namespace lemmabox {

constexpr int kMasterPointersPerBlock = 200;
// Sizes must fit in 28 bits.
constexpr size_t kMaxHandleBytes = size_t{1} << 28;

// A handle to a new zero-filled block of at least `bytes` bytes. A size of
// 2^28 or more is the internal error "AllocObjHandle".
Handle AllocObjHandle(size_t bytes);
// Grows the block to at least `bytes` (moving it; the contents are kept and
// the new bytes are zero); a size not larger than the current one changes
// nothing. Returns the block size afterwards. "ResizeObjHandle" for sizes of
// 2^28 or more.
size_t ResizeObjHandle(Handle h, size_t bytes);
// The block's byte size.
size_t ObjHandleSize(Handle h);
// A new handle to a byte copy of a plain block; null for null.
Handle CopyObjHandle(Handle h);
// Frees the block and returns the master pointer to the free list; null is ignored.
void ReleaseObjHandle(Handle h);

// How many handles have been allocated since start-up.
uint64_t ObjHandleAllocations();
// Pool figures, for tests.
size_t FreeMasterPointerCount();
size_t MasterPointerBlockCount();

}  // namespace lemmabox
