#include "shell/memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// ---------------------------------------------------------------------------
// Tracked blocks: a doubly linked list in allocation order, with an index from
// block address to node so that releasing one block does not walk the list.

struct TrackedNode {
  void* block;
  TrackedNode* prev;
  TrackedNode* next;
};

struct TrackedList {
  TrackedNode* head = nullptr;
  TrackedNode* tail = nullptr;
  size_t count = 0;
  std::unordered_map<void*, TrackedNode*> index;
};

TrackedList& Tracked() {
  static TrackedList list;
  return list;
}

void Unlink(TrackedList& list, TrackedNode* node) {
  (node->prev ? node->prev->next : list.head) = node->next;
  (node->next ? node->next->prev : list.tail) = node->prev;
  --list.count;
}

}  // namespace

void* AllocTracked(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes > (SIZE_MAX >> 2)) Raise(kMsgNotEnoughMemory);
  size_t rounded = (bytes + 16) & ~size_t{15};  // at least one byte more than asked
  void* block = std::calloc(1, rounded);
  if (block == nullptr) Raise(kMsgNotEnoughMemory);
  // When even the node cannot be had, the block is handed out untracked.
  auto* node = static_cast<TrackedNode*>(std::malloc(sizeof(TrackedNode)));
  if (node == nullptr) return block;
  TrackedList& list = Tracked();
  try {
    list.index.emplace(block, node);
  } catch (const std::bad_alloc&) {
    std::free(node);
    return block;
  }
  *node = {block, list.tail, nullptr};
  (list.tail ? list.tail->next : list.head) = node;
  list.tail = node;
  ++list.count;
  return block;
}

void ReleaseTracked(void* block) {
  if (block == nullptr) return;
  TrackedList& list = Tracked();
  auto found = list.index.find(block);
  if (found != list.index.end()) {
    Unlink(list, found->second);
    std::free(found->second);
    list.index.erase(found);
  }
  std::free(block);
}

void ReleaseAllTracked() {
  TrackedList& list = Tracked();
  for (TrackedNode* node = list.head; node != nullptr;) {
    TrackedNode* next = node->next;
    std::free(node->block);
    std::free(node);
    node = next;
  }
  list.head = list.tail = nullptr;
  list.count = 0;
  list.index.clear();
}

size_t TrackedBlockCount() {
  return Tracked().count;
}

// ---------------------------------------------------------------------------
// Object blocks.
//
// A chunk is one zero-filled region laid out as
//   chunk header (24 bytes) | blocks, back to back | end marker | 8 spare bytes
// and a block is an 8-byte header {size, tag} followed by `size` data bytes.
// On a 64-bit machine data must be 8-byte aligned: the chunk header is 24
// bytes, so the first block header sits at offset 24 and its data at 32, and
// every size is a multiple of 8, so every later header and data address stays
// aligned. The end marker (size 0, count 0) sits 16 bytes before the end of
// the chunk, which keeps the familiar figures: a fresh 16384-byte chunk offers
// one free block of 16336 bytes.
//
// The tag keeps the reference count in its low byte (0 free, 1..254 holders,
// 255 permanent) and the creation index of the block's chunk in the upper 24
// bits, so a release finds its chunk without a search.
//
// The chunk header's counters let a search skip what cannot fit without
// changing which block it finds: the offset of the first block that may be
// free (every block before it is in use, so a search starting there meets the
// same blocks as one from the start), the total free space, and an upper
// bound on the largest free block even after merging. A max tree over the
// chunks' bounds finds the next chunk in list order that might have room
// without visiting the full ones between, so a heap of many full chunks costs
// nothing per allocation.

struct BlockHeader {
  uint32_t size;
  uint32_t tag;
};
static_assert(sizeof(BlockHeader) == kObjBlockHeaderSize);

struct ChunkHeader {
  uint32_t usable;     // chunk size - 32
  uint32_t freeBytes;  // sum of (size + 8) over the free blocks
  uint32_t hint;       // offset of the first block that may be free
  uint32_t largest;    // no free block, merged or not, is larger than this
  uint32_t index;      // creation order; the chunk list runs newest first
  uint32_t spare;
};
static_assert(sizeof(ChunkHeader) == 24);

namespace {

constexpr uint32_t kFirstBlock = sizeof(ChunkHeader);
constexpr uint32_t kEndMarkerFromEnd = 16;
constexpr uint32_t kCountMask = 0xFF;
constexpr int kIndexShift = 8;
constexpr uint32_t kMaxChunks = 1u << (32 - kIndexShift);

uint32_t ChunkBytes(const ChunkHeader* c) {
  return c->usable + 32;
}
uint32_t EndMarkerOffset(const ChunkHeader* c) {
  return ChunkBytes(c) - kEndMarkerFromEnd;
}
uint32_t RoomLeft(const ChunkHeader* c) {
  return c->freeBytes >= 8 ? c->freeBytes - 8 : 0;
}

BlockHeader* HeaderAt(ChunkHeader* c, uint32_t offset) {
  return reinterpret_cast<BlockHeader*>(reinterpret_cast<uint8_t*>(c) + offset);
}
BlockHeader* HeaderOf(const void* data) {
  return reinterpret_cast<BlockHeader*>(const_cast<uint8_t*>(static_cast<const uint8_t*>(data)) -
                                        kObjBlockHeaderSize);
}
void* DataOf(BlockHeader* b) {
  return reinterpret_cast<uint8_t*>(b) + kObjBlockHeaderSize;
}
uint32_t OffsetOf(ChunkHeader* c, BlockHeader* b) {
  return static_cast<uint32_t>(reinterpret_cast<uint8_t*>(b) - reinterpret_cast<uint8_t*>(c));
}
uint32_t CountOf(const BlockHeader* b) {
  return b->tag & kCountMask;
}
uint32_t FreeTag(const ChunkHeader* c) {
  return c->index << kIndexShift;
}

// Upper bounds of the chunks' largest free blocks as a max tree. Internal nodes
// are always the maximum of their children; a leaf may be higher than its
// chunk's real bound (allocations lower the bound without telling the tree),
// never lower, so a chunk the tree passes over cannot have room.
class ChunkRoomTree {
 public:
  void Clear() {
    nodes_.clear();
    capacity_ = 0;
  }

  void Append(int index, uint32_t value) {
    if (static_cast<size_t>(index) >= capacity_) Grow();
    Set(index, value);
  }

  // The chunk's bound went up: the leaf and its ancestors follow.
  void Raise(int index, uint32_t value) {
    size_t node = capacity_ + index;
    if (nodes_[node] >= value) return;
    nodes_[node] = value;
    for (node /= 2; node >= 1 && nodes_[node] < value; node /= 2) nodes_[node] = value;
  }

  // The chunk's bound is known exactly: the leaf takes it, ancestors are recomputed.
  void Set(int index, uint32_t value) {
    size_t node = capacity_ + index;
    nodes_[node] = value;
    for (node /= 2; node >= 1; node /= 2) {
      uint32_t high = std::max(nodes_[2 * node], nodes_[2 * node + 1]);
      if (nodes_[node] == high) break;
      nodes_[node] = high;
    }
  }

  // The highest chunk index in lo..hi whose leaf admits a request of r bytes, or -1.
  int FindLast(int lo, int hi, uint32_t r) const {
    if (lo > hi || capacity_ == 0) return -1;
    return Find(1, 0, static_cast<int>(capacity_) - 1, lo, hi, r);
  }

 private:
  int Find(size_t node, int nodeLo, int nodeHi, int lo, int hi, uint32_t r) const {
    if (nodeHi < lo || nodeLo > hi || nodes_[node] < r) return -1;
    if (nodeLo == nodeHi) return nodeLo;
    int mid = nodeLo + (nodeHi - nodeLo) / 2;
    int found = Find(2 * node + 1, mid + 1, nodeHi, lo, hi, r);
    return found >= 0 ? found : Find(2 * node, nodeLo, mid, lo, hi, r);
  }

  void Grow() {
    size_t newCapacity = capacity_ == 0 ? 64 : capacity_ * 2;
    std::vector<uint32_t> nodes(2 * newCapacity, 0);
    for (size_t i = 0; i < capacity_; ++i) nodes[newCapacity + i] = nodes_[capacity_ + i];
    for (size_t node = newCapacity - 1; node >= 1; --node)
      nodes[node] = std::max(nodes[2 * node], nodes[2 * node + 1]);
    nodes_.swap(nodes);
    capacity_ = newCapacity;
  }

  std::vector<uint32_t> nodes_;
  size_t capacity_ = 0;
};

struct ObjectHeap {
  std::vector<ChunkHeader*> chunks;  // by creation index
  int current = -1;                  // where the next search starts
  ChunkRoomTree tree;
};

// Constant-initialized (no guard on the hot path) and never destroyed, so
// blocks may still be released while the program exits.
union HeapStorage {
  constexpr HeapStorage() : heap() {}
  ~HeapStorage() {}
  ObjectHeap heap;
};
constinit HeapStorage gHeapStorage;

ObjectHeap& Heap() {
  return gHeapStorage.heap;
}

uint32_t RoundRequest(size_t bytes) {
  if (bytes > kMaxObjBlockBytes) Raise(kMsgNotEnoughMemory);
  // Zero-byte blocks are not handed out: a free block of size 0 would look
  // like the end marker and hide the rest of its chunk.
  return std::max<uint32_t>(8, static_cast<uint32_t>((bytes + 7) & ~size_t{7}));
}

// Creates a chunk for a request of r bytes and makes it the head of the list.
int CreateChunk(uint32_t r) {
  ObjectHeap& heap = Heap();
  if (heap.chunks.size() >= kMaxChunks) Raise(kMsgNotEnoughMemory);
  uint32_t bytes = kChunkSize + (r >= kLargeRequest ? r : 0);
  auto* c = static_cast<ChunkHeader*>(std::calloc(1, bytes));
  if (c == nullptr) Raise(kMsgNotEnoughMemory);
  int index = static_cast<int>(heap.chunks.size());
  try {
    heap.chunks.push_back(c);
  } catch (const std::bad_alloc&) {
    std::free(c);
    Raise(kMsgNotEnoughMemory);
  }
  c->usable = bytes - 32;
  c->index = static_cast<uint32_t>(index);
  BlockHeader* first = HeaderAt(c, kFirstBlock);
  first->size = EndMarkerOffset(c) - kFirstBlock - kObjBlockHeaderSize;
  first->tag = FreeTag(c);
  c->freeBytes = first->size + kObjBlockHeaderSize;
  c->hint = kFirstBlock;
  c->largest = first->size;
  // The end marker (size 0, count 0) is already there: the chunk is zero-filled.
  heap.tree.Append(index, c->largest);
  // A long run of allocations stays cancellable.
  CheckInterrupt();
  return index;
}

// Marks the free block at offset as in use for a request of r bytes, splitting
// off the rest as a free block when more than a header's worth is left over.
void* TakeBlock(ChunkHeader* c, uint32_t offset, BlockHeader* b, uint32_t r) {
  uint32_t size = b->size;
  c->freeBytes -= size + kObjBlockHeaderSize;
  if (size > r + kObjBlockHeaderSize) {
    b->size = r;
    BlockHeader* rest = HeaderAt(c, offset + kObjBlockHeaderSize + r);
    rest->size = size - r - kObjBlockHeaderSize;
    rest->tag = FreeTag(c);
    c->freeBytes += rest->size + kObjBlockHeaderSize;
  }
  b->tag = FreeTag(c) | 1;
  if (offset == c->hint) c->hint = offset + kObjBlockHeaderSize + b->size;
  c->largest = std::min(c->largest, RoomLeft(c));
  return DataOf(b);
}

// First fit with lazy merging inside one chunk, starting at its hint: skip
// blocks in use; take a free block that is large enough; merge a free block
// that is too small with the free block after it and look again. When nothing
// fits, every free run has been merged on the way and the chunk's bound
// becomes exact.
void* FindInChunk(ChunkHeader* c, uint32_t r) {
  uint32_t offset = c->hint;
  bool freeSeen = false;
  uint32_t largest = 0;
  for (;;) {
    BlockHeader* b = HeaderAt(c, offset);
    if (CountOf(b) != 0) {
      offset += kObjBlockHeaderSize + b->size;
      continue;
    }
    if (b->size == 0) break;  // the end marker
    if (!freeSeen) {
      freeSeen = true;
      c->hint = offset;
    }
    for (;;) {
      if (r <= b->size) return TakeBlock(c, offset, b, r);
      BlockHeader* next = HeaderAt(c, offset + kObjBlockHeaderSize + b->size);
      if (CountOf(next) != 0 || next->size == 0) break;
      b->size += next->size + kObjBlockHeaderSize;  // merge the free neighbour
    }
    largest = std::max(largest, b->size);
    offset += kObjBlockHeaderSize + b->size;
  }
  if (!freeSeen) c->hint = offset;
  c->largest = largest;
  return nullptr;
}

void* TryChunk(int index, uint32_t r) {
  ObjectHeap& heap = Heap();
  ChunkHeader* c = heap.chunks[index];
  if (c->largest >= r) {
    if (void* data = FindInChunk(c, r)) {
      heap.current = index;
      return data;
    }
  }
  heap.tree.Set(index, c->largest);
  return nullptr;
}

void* FindBlock(uint32_t r) {
  ObjectHeap& heap = Heap();
  if (heap.chunks.empty()) heap.current = CreateChunk(0);
  int start = heap.current;
  if (void* data = TryChunk(start, r)) return data;
  // The list runs newest first, that is by falling index, and wraps around.
  for (int hi = start - 1; hi >= 0;) {
    int j = heap.tree.FindLast(0, hi, r);
    if (j < 0) break;
    if (void* data = TryChunk(j, r)) return data;
    hi = j - 1;
  }
  for (int hi = static_cast<int>(heap.chunks.size()) - 1; hi > start;) {
    int j = heap.tree.FindLast(start + 1, hi, r);
    if (j < 0) break;
    if (void* data = TryChunk(j, r)) return data;
    hi = j - 1;
  }
  int fresh = CreateChunk(r);
  heap.current = fresh;
  void* data = TryChunk(fresh, r);
  if (data == nullptr) InternalError("FindBlock");
  return data;
}

// The chunk that holds a block, or null when the address lies in none.
ChunkHeader* ChunkOf(const BlockHeader* b) {
  ObjectHeap& heap = Heap();
  uint32_t index = b->tag >> kIndexShift;
  if (index >= heap.chunks.size()) return nullptr;
  ChunkHeader* c = heap.chunks[index];
  auto address = reinterpret_cast<uintptr_t>(b);
  auto base = reinterpret_cast<uintptr_t>(c);
  if (address < base) return nullptr;
  uintptr_t offset = address - base;
  if (offset < kFirstBlock || offset % 8 != 0 ||
      offset + kObjBlockHeaderSize + b->size > EndMarkerOffset(c))
    return nullptr;
  return c;
}

void FreeBlock(ChunkHeader* c, BlockHeader* b) {
  std::memset(DataOf(b), 0, b->size);
  b->tag = FreeTag(c);
  c->freeBytes += b->size + kObjBlockHeaderSize;
  c->hint = std::min(c->hint, OffsetOf(c, b));
  // The block may join a free run on either side, each no larger than the old bound.
  uint64_t joined = 2ull * c->largest + b->size + 2 * kObjBlockHeaderSize;
  auto bound = static_cast<uint32_t>(std::min<uint64_t>(joined, RoomLeft(c)));
  if (bound > c->largest) {
    c->largest = bound;
    Heap().tree.Raise(static_cast<int>(c->index), bound);
  }
}

void LowerCount(ChunkHeader* c, BlockHeader* b) {
  uint32_t count = CountOf(b);
  if (count == kPermanentCount) return;
  if (count > 1) {
    b->tag -= 1;
    return;
  }
  FreeBlock(c, b);
}

}  // namespace

void InitObjectHeap() {
  ObjectHeap& heap = Heap();
  if (heap.chunks.empty()) heap.current = CreateChunk(0);
}

void* AllocObjBlock(size_t bytes) {
  return FindBlock(RoundRequest(bytes));
}

void* AllocClearedObjBlock(size_t bytes) {
  void* data = FindBlock(RoundRequest(bytes));
  // The whole size, slack included: a merged area still holds old headers.
  std::memset(data, 0, ObjBlockSize(data));
  return data;
}

void ReleaseObjBlock(void* data) {
  if (data == nullptr) return;
  BlockHeader* b = HeaderOf(data);
  if (CountOf(b) == 0) return;
  ChunkHeader* c = ChunkOf(b);
  if (c == nullptr) InternalError("bad obj free");
  LowerCount(c, b);
}

void DisposeObjBlock(void* data) {
  BlockHeader* b = HeaderOf(data);
  if (CountOf(b) == 0) InternalError("pDisposeObjBlock");
  // The chunk is checked before anything is written, so a stray address is
  // reported without zeroing memory that is not ours.
  ChunkHeader* c = ChunkOf(b);
  if (c == nullptr) InternalError("bad obj free");
  LowerCount(c, b);
}

void RetainObjBlock(void* data) {
  BlockHeader* b = HeaderOf(data);
  uint32_t count = CountOf(b);
  if (count == 0) InternalError("RetainObjBlock");
  // Past the last countable holder the block simply stays for good.
  if (count < kPermanentCount) b->tag += 1;
}

void MakeObjBlockPermanent(void* data) {
  BlockHeader* b = HeaderOf(data);
  if (CountOf(b) == 0) InternalError("MakeObjBlockPermanent");
  b->tag |= kCountMask;
}

int ObjBlockCount(const void* data) {
  return static_cast<int>(CountOf(HeaderOf(data)));
}

void* CloneObjBlock(const void* data) {
  uint32_t size = ObjBlockSize(data);
  void* copy = AllocObjBlock(size);
  std::memcpy(copy, data, size);
  return copy;
}

void FreeAllChunks() {
  ObjectHeap& heap = Heap();
  for (ChunkHeader* c : heap.chunks) std::free(c);
  heap.chunks.clear();
  heap.current = -1;
  heap.tree.Clear();
}

namespace {
ObjectHeap* gSetAside = nullptr;
}  // namespace

void BeginIsolatedObjectHeap() {
  if (gSetAside != nullptr) InternalError("BeginIsolatedObjectHeap");
  gSetAside = new ObjectHeap(std::move(Heap()));
  Heap() = ObjectHeap();
}

void EndIsolatedObjectHeap() {
  if (gSetAside == nullptr) InternalError("EndIsolatedObjectHeap");
  FreeAllChunks();
  Heap() = std::move(*gSetAside);
  delete gSetAside;
  gSetAside = nullptr;
}

int ObjHeapChunkCount() {
  return static_cast<int>(Heap().chunks.size());
}

size_t ObjHeapChunkSize(int index) {
  return ChunkBytes(Heap().chunks.at(index));
}

int ObjBlockChunkIndex(const void* data) {
  const ChunkHeader* c = ChunkOf(HeaderOf(data));
  return c ? static_cast<int>(c->index) : -1;
}

}  // namespace lemmabox
