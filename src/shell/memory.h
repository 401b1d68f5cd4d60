// Handle memory: tracked blocks and object blocks.
//
// Tracked blocks are plain memory for the records, strings and tables of every
// part of the program; each is remembered in one list so that shutdown can
// free whatever is left.
//
// Object blocks come from a heap of our own: 16 KB chunks carved locally into
// blocks that carry an 8-byte header {size, reference count}. Math objects
// (through the handles of mathobj/handles.h), the plain data blocks they own
// and the library's panes, ports and streams live here. Blocks never move by
// themselves; there is no compaction.
//
// Every routine raises a failure instead of returning an error: a request the
// platform cannot supply raises 13128 ("Not enough memory to continue!").
#pragma once

#include <cstddef>
#include <cstdint>

namespace lemmabox {

// --- Tracked blocks ---

// A block of at least bytes + 1 bytes, zero-filled; null for 0 bytes.
void* AllocTracked(size_t bytes);
// Frees a block; one that is not in the list is freed all the same.
void ReleaseTracked(void* block);
// At shutdown: frees every block still in the list.
void ReleaseAllTracked();
size_t TrackedBlockCount();

// --- Object blocks ---

constexpr size_t kObjBlockHeaderSize = 8;
constexpr uint32_t kChunkSize = 16384;
// A request of this size or more gets a chunk of kChunkSize plus the request.
constexpr uint32_t kLargeRequest = 8192;
// A block whose count is this stays for good.
constexpr int kPermanentCount = 255;
// The largest request an object block can satisfy.
constexpr size_t kMaxObjBlockBytes = 0x7FFF0000;

// Start-up: creates the first chunk (allocation does it too when none exists).
void InitObjectHeap();
// A block with count 1. Its data is whatever the free space held: zero,
// except where the headers of merged neighbours once stood.
void* AllocObjBlock(size_t bytes);
// A block with count 1 and all data bytes zero.
void* AllocClearedObjBlock(size_t bytes);
// Lowers the count (255 stays); at 0 the data is zeroed and the block is free.
// Releasing a free block does nothing.
void ReleaseObjBlock(void* data);
// The verifying release used by the handle layer: internal error
// "pDisposeObjBlock" for a block that is already free, "bad obj free" for an
// address that lies in no chunk.
void DisposeObjBlock(void* data);
// One more holder; a block that runs out of counts becomes permanent.
void RetainObjBlock(void* data);
void MakeObjBlockPermanent(void* data);
// A new block of the same size holding a byte copy.
void* CloneObjBlock(const void* data);
// At shutdown: returns every chunk to the platform. Existing blocks are not
// destroyed one by one; the next allocation starts a fresh heap.
void FreeAllChunks();

// The size word of a block: its number of data bytes (at least what was asked).
inline uint32_t ObjBlockSize(const void* data) {
  return reinterpret_cast<const uint32_t*>(data)[-2];
}
int ObjBlockCount(const void* data);

// For tests: sets the object heap aside and starts an empty one, until the
// end call frees the chunks of the interim heap and puts the first one back.
// Blocks of the heap set aside must not be released in between.
void BeginIsolatedObjectHeap();
void EndIsolatedObjectHeap();

// Inspection for tests and benchmarks. Chunks are numbered in creation order.
int ObjHeapChunkCount();
size_t ObjHeapChunkSize(int index);
int ObjBlockChunkIndex(const void* data);

}  // namespace lemmabox
