#include "shell/memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

bool AllZero(const void* data, size_t n) {
  auto* p = static_cast<const uint8_t*>(data);
  return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

// Each test has an object heap of its own, empty at the start.
class ObjectHeapTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    BeginIsolatedObjectHeap();
  }
  void TearDown() override {
    EndIsolatedObjectHeap();
    HeadlessTest::TearDown();
  }
};

TEST_F(HeadlessTest, TrackedBlocksAreListedUntilReleased) {
  size_t before = TrackedBlockCount();
  EXPECT_EQ(nullptr, AllocTracked(0));
  EXPECT_EQ(before, TrackedBlockCount());

  void* a = AllocTracked(10);
  void* b = AllocTracked(3000);
  ASSERT_NE(nullptr, a);
  ASSERT_NE(nullptr, b);
  EXPECT_TRUE(AllZero(b, 3001)) << "at least one byte more than asked, zero-filled";
  EXPECT_EQ(before + 2, TrackedBlockCount());
  ReleaseTracked(a);
  EXPECT_EQ(before + 1, TrackedBlockCount());
  ReleaseTracked(b);
  EXPECT_EQ(before, TrackedBlockCount());
}

TEST_F(HeadlessTest, TrackedAllocationBeyondAnyHeapRaises13128) {
  EXPECT_RAISES(kMsgNotEnoughMemory, AllocTracked(SIZE_MAX - 8));
}

TEST_F(ObjectHeapTest, ChunkSizesFollowTheRequest) {
  struct Case {
    size_t request;
    int chunks;          // after the allocation, the first chunk included
    size_t newestChunk;  // size of the chunk created last
  };
  const Case cases[] = {
      {16000, 1, 16384},          // fits the first chunk
      {16336, 1, 16384},          // exactly what a fresh chunk offers
      {16337, 2, 16384 + 16344},  // rounded up, gets a chunk of its own
      {8191, 1, 16384},           // below the large-request size
      {20000, 2, 16384 + 20000},
  };
  for (const Case& c : cases) {
    FreeAllChunks();
    void* block = AllocObjBlock(c.request);
    EXPECT_EQ(c.chunks, ObjHeapChunkCount()) << c.request;
    EXPECT_EQ(c.newestChunk, ObjHeapChunkSize(ObjHeapChunkCount() - 1)) << c.request;
    EXPECT_EQ(c.chunks - 1, ObjBlockChunkIndex(block)) << c.request;
    EXPECT_GE(ObjBlockSize(block), c.request);
  }
}

TEST_F(ObjectHeapTest, BlocksAreAlignedAndSizedInWholeWords) {
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    size_t request = random() % 300;
    void* block = AllocObjBlock(request);
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(block) % 8);
    EXPECT_EQ(0u, ObjBlockSize(block) % 8);
    EXPECT_GE(ObjBlockSize(block), std::max<size_t>(request, 8));
    EXPECT_EQ(1, ObjBlockCount(block));
  }
}

TEST_F(ObjectHeapTest, SplitLeavesTheRestFreeOnlyWhenMoreThanAHeaderRemains) {
  void* a = AllocObjBlock(64);
  void* fence = AllocObjBlock(8);
  ReleaseObjBlock(a);
  // 64 bytes free: a request of 56 would leave exactly 8, too little to split.
  void* whole = AllocObjBlock(56);
  EXPECT_EQ(a, whole);
  EXPECT_EQ(64u, ObjBlockSize(whole));
  ReleaseObjBlock(whole);
  void* part = AllocObjBlock(48);
  EXPECT_EQ(a, part);
  EXPECT_EQ(48u, ObjBlockSize(part));
  // The 8-byte rest is a block of its own, handed out next.
  EXPECT_EQ(static_cast<uint8_t*>(a) + 56, AllocObjBlock(8));
  (void)fence;
}

TEST_F(ObjectHeapTest, AdjacentFreedBlocksMergeOnTheNextSearch) {
  void* a = AllocObjBlock(64);
  void* b = AllocObjBlock(96);
  void* fence = AllocObjBlock(8);
  std::memset(a, 0xAB, 64);
  std::memset(b, 0xCD, 96);
  ReleaseObjBlock(a);
  ReleaseObjBlock(b);
  EXPECT_TRUE(AllZero(a, 64)) << "freed data is zeroed at once";
  void* merged = AllocClearedObjBlock(64 + 96 + 8);
  EXPECT_EQ(a, merged);
  EXPECT_TRUE(AllZero(merged, ObjBlockSize(merged))) << "also where b's header stood";
  EXPECT_EQ(1, ObjHeapChunkCount());
  (void)fence;
}

TEST_F(ObjectHeapTest, FirstFitReusesTheEarliestHoleThatFits) {
  std::vector<void*> blocks;
  for (int i = 0; i < 20; ++i) blocks.push_back(AllocObjBlock(40));
  ReleaseObjBlock(blocks[3]);
  ReleaseObjBlock(blocks[10]);
  ReleaseObjBlock(blocks[11]);
  EXPECT_EQ(blocks[10], AllocObjBlock(80)) << "hole 3 is too small; 10 and 11 merge";
  EXPECT_EQ(blocks[3], AllocObjBlock(40));
}

TEST_F(ObjectHeapTest, ReferenceCounts) {
  void* block = AllocObjBlock(32);
  RetainObjBlock(block);
  EXPECT_EQ(2, ObjBlockCount(block));
  ReleaseObjBlock(block);
  EXPECT_EQ(1, ObjBlockCount(block));
  ReleaseObjBlock(block);
  EXPECT_EQ(0, ObjBlockCount(block));
  ReleaseObjBlock(block);  // a free block: nothing happens
  EXPECT_EQ(0, ObjBlockCount(block));

  void* permanent = AllocObjBlock(32);
  MakeObjBlockPermanent(permanent);
  for (int i = 0; i < 1000; ++i) ReleaseObjBlock(permanent);
  DisposeObjBlock(permanent);
  EXPECT_EQ(kPermanentCount, ObjBlockCount(permanent));

  void* crowded = AllocObjBlock(8);
  for (int i = 0; i < 300; ++i) RetainObjBlock(crowded);
  EXPECT_EQ(kPermanentCount, ObjBlockCount(crowded)) << "too many holders to count: kept for good";
}

TEST_F(ObjectHeapTest, DisposeChecksTheBlock) {
  void* block = AllocObjBlock(24);
  DisposeObjBlock(block);
  EXPECT_INTERNAL_ERROR("pDisposeObjBlock", DisposeObjBlock(block));

  // A block header that claims chunk 0 but lies outside it, and one that
  // names a chunk that does not exist.
  alignas(8) uint32_t fake[6] = {16, 1, 0x11111111, 0x22222222, 0x33333333, 0x44444444};
  EXPECT_INTERNAL_ERROR("bad obj free", DisposeObjBlock(&fake[2]));
  EXPECT_EQ(0x11111111u, fake[2]) << "a stray address is reported before anything is written";
  fake[1] = 1 | (500u << 8);
  EXPECT_INTERNAL_ERROR("bad obj free", DisposeObjBlock(&fake[2]));
}

TEST_F(ObjectHeapTest, CloneCopiesTheBytes) {
  auto* source = static_cast<uint8_t*>(AllocObjBlock(100));
  for (int i = 0; i < 100; ++i) source[i] = static_cast<uint8_t>(i * 7);
  auto* copy = static_cast<uint8_t*>(CloneObjBlock(source));
  EXPECT_NE(source, copy);
  EXPECT_EQ(ObjBlockSize(source), ObjBlockSize(copy));
  EXPECT_EQ(0, std::memcmp(source, copy, ObjBlockSize(source)));
  EXPECT_EQ(1, ObjBlockCount(copy));
}

TEST_F(ObjectHeapTest, RequestsBeyondTheLimitRaise13128) {
  EXPECT_RAISES(kMsgNotEnoughMemory, AllocObjBlock(kMaxObjBlockBytes + 1));
}

// Freed space in older chunks is found again: refilling the same sizes after
// freeing everything takes no new chunk, whichever chunk the search starts in.
TEST_F(ObjectHeapTest, FreedSpaceInOlderChunksIsReused) {
  std::mt19937 random(11);
  std::vector<size_t> sizes;
  for (int i = 0; i < 5000; ++i) sizes.push_back(40 + random() % 161);
  std::vector<void*> blocks;
  for (size_t size : sizes) blocks.push_back(AllocObjBlock(size));
  int chunks = ObjHeapChunkCount();
  EXPECT_GT(chunks, 20);
  for (void* block : blocks) ReleaseObjBlock(block);
  blocks.clear();
  for (size_t size : sizes) blocks.push_back(AllocObjBlock(size));
  EXPECT_EQ(chunks, ObjHeapChunkCount());
}

// Random allocation and release against a model: live blocks never overlap,
// keep their contents, and cleared blocks come back zero.
TEST_F(ObjectHeapTest, RandomUseKeepsBlocksApartAndIntact) {
  std::mt19937 random(3);
  struct Live {
    size_t size;
    uint8_t fill;
  };
  std::map<uint8_t*, Live> live;
  for (int step = 0; step < 40000; ++step) {
    bool allocate = live.empty() || random() % 100 < 55;
    if (allocate) {
      size_t size = random() % 8 == 0 ? 1000 + random() % 9000 : 1 + random() % 250;
      bool cleared = random() % 2 == 0;
      auto* data =
          static_cast<uint8_t*>(cleared ? AllocClearedObjBlock(size) : AllocObjBlock(size));
      if (cleared) {
        ASSERT_TRUE(AllZero(data, ObjBlockSize(data)));
      }
      auto next = live.lower_bound(data);
      if (next != live.end()) {
        ASSERT_LE(data + ObjBlockSize(data), next->first);
      }
      if (next != live.begin()) {
        auto prev = std::prev(next);
        ASSERT_LE(prev->first + ObjBlockSize(prev->first), data);
      }
      auto fill = static_cast<uint8_t>(1 + random() % 255);
      std::memset(data, fill, size);
      live[data] = {size, fill};
    } else {
      auto it = live.begin();
      std::advance(it, random() % live.size());
      const uint8_t* data = it->first;
      for (size_t i = 0; i < it->second.size; ++i) ASSERT_EQ(it->second.fill, data[i]);
      if (random() % 2) {
        ReleaseObjBlock(it->first);
      } else {
        DisposeObjBlock(it->first);
      }
      live.erase(it);
    }
  }
}

}  // namespace
}  // namespace lemmabox
