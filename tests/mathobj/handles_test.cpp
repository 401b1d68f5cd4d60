#include "mathobj/handles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mathobj_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using HandleTest = testing::MathObjTest;

bool AllZero(Handle h) {
  auto* p = reinterpret_cast<const uint8_t*>(*h);
  for (size_t i = 0; i < ObjHandleSize(h); ++i)
    if (p[i] != 0) return false;
  return true;
}

TEST_F(HandleTest, AllocationGivesZeroFilledBlocksAndCountsThem) {
  uint64_t before = ObjHandleAllocations();
  Handle h = AllocObjHandle(100);
  EXPECT_GE(ObjHandleSize(h), 100u);
  EXPECT_TRUE(AllZero(h));
  EXPECT_EQ(before + 1, ObjHandleAllocations());
  ReleaseObjHandle(h);
  EXPECT_INTERNAL_ERROR("AllocObjHandle", AllocObjHandle(kMaxHandleBytes));
}

TEST_F(HandleTest, ResizeOnlyGrows) {
  Handle h = AllocObjHandle(64);
  std::memset(reinterpret_cast<uint8_t*>(*h), 0x5A, 64);
  Obj* block = *h;
  size_t size = ObjHandleSize(h);
  // Not larger: nothing happens, the current size comes back.
  EXPECT_EQ(size, ResizeObjHandle(h, 10));
  EXPECT_EQ(size, ResizeObjHandle(h, size));
  EXPECT_EQ(block, *h);

  EXPECT_GE(ResizeObjHandle(h, 1000), 1000u);
  EXPECT_NE(block, *h) << "the block moved; the handle followed";
  auto* bytes = reinterpret_cast<uint8_t*>(*h);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(0x5A, bytes[i]);
  for (size_t i = 64; i < 1000; ++i) ASSERT_EQ(0, bytes[i]) << "grown bytes are zero";
  EXPECT_INTERNAL_ERROR("ResizeObjHandle", ResizeObjHandle(h, size_t{1} << 28));
  ReleaseObjHandle(h);
}

TEST_F(HandleTest, CopyIsAnIndependentByteCopy) {
  Handle h = AllocObjHandle(40);
  std::memcpy(reinterpret_cast<char*>(*h), "plain data block", 17);
  Handle copy = CopyObjHandle(h);
  EXPECT_NE(h, copy);
  EXPECT_NE(*h, *copy);
  EXPECT_EQ(ObjHandleSize(h), ObjHandleSize(copy));
  EXPECT_STREQ("plain data block", reinterpret_cast<char*>(*copy));
  ReleaseObjHandle(h);
  EXPECT_STREQ("plain data block", reinterpret_cast<char*>(*copy));
  ReleaseObjHandle(copy);
  EXPECT_EQ(nullptr, CopyObjHandle(nullptr));
  ReleaseObjHandle(nullptr);  // ignored
}

TEST_F(HandleTest, MasterPointersArePooled) {
  // A released master pointer is the next one handed out.
  Handle a = AllocObjHandle(8);
  ReleaseObjHandle(a);
  Handle b = AllocObjHandle(8);
  EXPECT_EQ(a, b);
  ReleaseObjHandle(b);

  // Using up the free list carves exactly one new block of 200.
  std::vector<Handle> held;
  size_t blocks = MasterPointerBlockCount();
  size_t free = FreeMasterPointerCount();
  for (size_t i = 0; i < free; ++i) held.push_back(AllocObjHandle(8));
  EXPECT_EQ(0u, FreeMasterPointerCount());
  EXPECT_EQ(blocks, MasterPointerBlockCount());
  held.push_back(AllocObjHandle(8));
  EXPECT_EQ(blocks + 1, MasterPointerBlockCount());
  EXPECT_EQ(size_t(kMasterPointersPerBlock - 1), FreeMasterPointerCount());
  for (Handle h : held) ReleaseObjHandle(h);
  EXPECT_EQ(free + kMasterPointersPerBlock, FreeMasterPointerCount());
}

}  // namespace
}  // namespace lemmabox
