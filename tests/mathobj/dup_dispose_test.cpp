#include "mathobj/dup_dispose.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/handles.h"
#include "mathobj/slots.h"
#include "mathobj_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::Build;
using testing::CheckLinks;
using testing::CountNodes;
using testing::Show;
using DupDisposeTest = testing::MathObjTest;

TEST_F(DupDisposeTest, CopyIsDetachedDeepAndNeedsLayoutAgain) {
  Handle eq = Build("=(+(x,*(2,y)),m1x2(`a,#3))");
  Handle sum = ObjSlot(eq, 0);
  SetFlag(sum, kFlagSizeValid | kFlagDrawn | kFlagCollapsed);
  SetFlag(ObjSlot(sum, 1), kFlagSizeValid);
  Hdr(sum).box = {1, 2, 3, 4};
  Hdr(sum).aux = 1;

  Handle copy = DupObj(sum);
  EXPECT_EQ(Show(sum), Show(copy));
  EXPECT_EQ(nullptr, ObjParent(copy));
  EXPECT_EQ(-1, ObjSlotIndex(copy));
  EXPECT_EQ("", CheckLinks(copy));
  EXPECT_FALSE(HasFlag(copy, kFlagSizeValid));
  EXPECT_FALSE(HasFlag(copy, kFlagDrawn));
  EXPECT_TRUE(HasFlag(copy, kFlagCollapsed)) << "other state travels with the copy";
  EXPECT_EQ((Rect{1, 2, 3, 4}), Hdr(copy).box);
  EXPECT_EQ(1, Hdr(copy).aux);
  EXPECT_FALSE(HasFlag(ObjSlot(copy, 1), kFlagSizeValid));
  // Nothing is shared.
  for (int i = 0; i < 2; ++i) EXPECT_NE(ObjSlot(sum, i), ObjSlot(copy, i));
  EXPECT_TRUE(HasFlag(sum, kFlagSizeValid)) << "the source is untouched";
  DisposeObj(copy);
  EXPECT_EQ("=(+(x,*(2,y)),m1x2(`a,#3))", Show(eq));
  DisposeObj(eq);
}

TEST_F(DupDisposeTest, CheckedMisuse) {
  EXPECT_INTERNAL_ERROR("DupObj", DupObj(nullptr));
  DisposeObj(nullptr);  // ignored

  Handle sum = Build("+(a,b)");
  Handle a = ObjSlot(sum, 0);
  EXPECT_INTERNAL_ERROR("DisposeObj", DisposeObj(a));
  EXPECT_EQ("+(a,b)", Show(sum)) << "the tree is unchanged";
  EXPECT_EQ("", CheckLinks(sum));
  DisposeObj(sum);

  // Codes outside the catalogue have no copy or disposal.
  Handle odd = NewObj('#', 0);
  EXPECT_INTERNAL_ERROR("UnDup", DupObj(odd));
  EXPECT_INTERNAL_ERROR("UnDispose", DisposeObj(odd));
  Hdr(odd).type = 0x1F;
  EXPECT_INTERNAL_ERROR("DupObj", DupObj(odd));
  ReleaseObjHandle(odd);
}

TEST_F(DupDisposeTest, DisposalReturnsEveryHandle) {
  size_t free = FreeMasterPointerCount();
  Handle tree = Build("+(a,*(b,~,c),/(1,%(d)),m2x1(e,f))");
  EXPECT_EQ(free - CountNodes(tree), FreeMasterPointerCount());
  DisposeObj(tree);
  EXPECT_EQ(free, FreeMasterPointerCount());
}

// Records which hooks ran, in order.
std::string gTrace;

class NotebookEntryTest : public DupDisposeTest {
 protected:
  void SetUp() override {
    DupDisposeTest::SetUp();
    gTrace.clear();
    ObjStoreHooks& h = gObjStoreHooks;
    h.copyDerivation = [](Handle, Handle) { gTrace += "copyDerivation "; };
    h.freeDerivation = [](Handle) { gTrace += "freeDerivation "; };
    h.copyGridData = [](Handle, Handle) { gTrace += "copyGrid "; };
    h.freeGridData = [](Handle) { gTrace += "freeGrid "; };
    h.dropCachedImage = [](Handle e) { gTrace += std::string("drop") + char(ObjType(e)) + " "; };
    h.theoryGoesAway = [](Handle t) { gTrace += std::string("away") + char(ObjType(t)) + " "; };
    h.graphGoesAway = [](Handle) { gTrace += "graphAway "; };
  }

  static Handle PlainBlock(const char* text) {
    Handle block = AllocObjHandle(32);
    std::strcpy(reinterpret_cast<char*>(*block), text);
    return block;
  }
  static const char* PlainText(SlotWord word) {
    return reinterpret_cast<const char*>(*reinterpret_cast<Handle>(word));
  }
};

TEST_F(NotebookEntryTest, TheoriesLeaveTheirKnowledgeBehind) {
  Handle main = Build("M(A(=(x,1)),T(A(y)))");
  DataSlot(main, 0) = 111;  // knowledge table
  DataSlot(main, 1) = 222;  // notebook record
  DataSlot(ObjSlot(main, 3), 0) = 333;
  Handle copy = DupObj(main);
  EXPECT_EQ(Show(main), Show(copy));
  EXPECT_EQ(0, DataSlot(copy, 0));
  EXPECT_EQ(222, DataSlot(copy, 1));
  EXPECT_EQ(0, DataSlot(ObjSlot(copy, 3), 0));
  EXPECT_EQ("", CheckLinks(copy));
  DataSlot(main, 0) = DataSlot(main, 1) = DataSlot(ObjSlot(main, 3), 0) = 0;
  gTrace.clear();
  DisposeObj(main);
  EXPECT_EQ("awayM dropA awayT dropA ", gTrace);
  DisposeObj(copy);
}

TEST_F(NotebookEntryTest, PlotsAndGraphsCopyTheirDataBlocks) {
  Handle graph = NewObjN(kGraph2D, LeadingDataSlots(kGraph2D) + 1);
  Handle plot = NewObjN(kLinePlot, LeadingDataSlots(kLinePlot) + 1);
  DataSlot(plot, 0) = reinterpret_cast<SlotWord>(PlainBlock("samples"));
  PutSlot(plot, 1, Build("=(y,x)"));
  PutSlot(graph, LeadingDataSlots(kGraph2D), plot);
  DataSlot(graph, 1) = reinterpret_cast<SlotWord>(PlainBlock("settings"));
  DataSlot(graph, 8) = 0x100;

  Handle copy = DupObj(graph);
  EXPECT_NE(DataSlot(graph, 1), DataSlot(copy, 1));
  EXPECT_STREQ("settings", PlainText(DataSlot(copy, 1)));
  EXPECT_EQ(0x104, DataSlot(copy, 8)) << "the copy is marked in the state word";
  EXPECT_EQ(0x100, DataSlot(graph, 8));
  Handle plotCopy = ObjSlot(copy, LeadingDataSlots(kGraph2D));
  EXPECT_NE(DataSlot(plot, 0), DataSlot(plotCopy, 0));
  EXPECT_STREQ("samples", PlainText(DataSlot(plotCopy, 0)));
  EXPECT_EQ("=(y,x)", Show(ObjSlot(plotCopy, 1)));

  size_t free = FreeMasterPointerCount();
  gTrace.clear();
  DisposeObj(copy);
  EXPECT_EQ("graphAway awayG dropG dropL ", gTrace)
      << "extras first, then the image, then the slots";
  // graph, its settings block, the plot, its samples block, =, y, x
  EXPECT_EQ(free + 7, FreeMasterPointerCount());
  DisposeObj(graph);
}

TEST_F(NotebookEntryTest, ConclusionsRulesAndTables) {
  Handle conclusion = Build("C(=(a,b))");
  Handle copy = DupObj(conclusion);
  EXPECT_EQ("copyDerivation ", gTrace);
  EXPECT_EQ("C(=(a,b))", Show(copy));
  EXPECT_EQ("", CheckLinks(copy));
  gTrace.clear();
  DisposeObj(copy);
  EXPECT_EQ("freeDerivation dropC ", gTrace);

  gTrace.clear();
  for (const char* tree : {"H(`a,`b)", "V(x)", "I(m1x2(x,y))", "B()", "N(;(y,x),0)"}) {
    Handle entry = Build(tree);
    Handle dup = DupObj(entry);
    EXPECT_EQ(Show(entry), Show(dup));
    DisposeObj(dup);
    DisposeObj(entry);
  }
  // A table drops its image too, although it is disposed like an expression.
  EXPECT_EQ("dropH dropH dropV dropV dropI dropI dropN dropN ", gTrace);

  Handle grid = NewObjN(kGridPlot, 1);
  Handle gridCopy = DupObj(grid);
  gTrace.clear();
  DisposeObj(gridCopy);
  DisposeObj(grid);
  EXPECT_EQ("freeGrid dropR freeGrid dropR ", gTrace);
}

TEST_F(NotebookEntryTest, PicturesAndCommentsByDefault) {
  Handle picture = NewObj(kPicture, sizeof(Handle));
  *reinterpret_cast<Handle*>(ObjPayload(picture)) = PlainBlock("bitmap");
  Handle copy = DupObj(picture);
  Handle copied = *reinterpret_cast<Handle*>(ObjPayload(copy));
  EXPECT_NE(*reinterpret_cast<Handle*>(ObjPayload(picture)), copied);
  EXPECT_STREQ("bitmap", reinterpret_cast<char*>(*copied));
  size_t free = FreeMasterPointerCount();
  DisposeObj(copy);
  EXPECT_EQ(free + 2, FreeMasterPointerCount());
  DisposeObj(picture);

  Handle comment = Build("Q(x)");
  Handle commentCopy = DupObj(comment);
  EXPECT_NE(ObjSlot(comment, 0), ObjSlot(commentCopy, 0));
  EXPECT_EQ("Q(x)", Show(commentCopy));
  DisposeObj(commentCopy);
  DisposeObj(comment);
}

TEST_F(DupDisposeTest, LongCopiesAndDisposalsCanBeCancelled) {
  Handle tree = NewObjN(kSum, 0);
  for (int i = 0; i < 3000; ++i) InsertSlot(tree, i, Build("*(2,x)"));
  ResetInterruptCheck();
  platform.autoAdvanceMs = 1000;
  platform.escapePresses = 1;
  EXPECT_RAISES(kMsgUserInterrupt, DupObj(tree));
  EXPECT_EQ("", CheckLinks(tree)) << "the source is intact";

  ResetInterruptCheck();
  platform.escapePresses = 1;
  EXPECT_RAISES(kMsgUserInterrupt, DisposeObj(tree));
  // What is left is still a consistent tree, and can be disposed.
  EXPECT_EQ("", CheckLinks(tree));
  ResetInterruptCheck();
  platform.autoAdvanceMs = 0;
  DisposeObj(tree);
}

// Random trees built, copied, compared, disposed: the copy equals the source,
// every parent and slot index is right, and all handles come back.
TEST_F(DupDisposeTest, RandomTreesCopyAndDisposeCleanly) {
  std::mt19937 random(2024);
  const TypeCode unary[] = {kNegation, kSqrt, kAbs, kFactorial, kParens};
  const TypeCode binary[] = {kPower, kQuotient, kEquals, kIndex, kApply, kRange};
  const TypeCode nary[] = {kSum, kProduct};
  std::function<Handle(int)> grow = [&](int depth) -> Handle {
    int pick = depth <= 0 ? 0 : static_cast<int>(random() % 6);
    switch (pick) {
      case 0: {
        switch (random() % 5) {
          case 0:
            return NewInteger(static_cast<int32_t>(random() % 1000));
          case 1:
            return NewReal(0.5 + random() % 100);
          case 2:
            return NewUndeclaredName(std::string(1, char('a' + random() % 26)).c_str());
          case 3:
            return NewQuestionMark();
          default:
            return random() % 3 ? NewNumberText("1.5") : nullptr;
        }
      }
      case 1:
        return NewObj1(unary[random() % 5], grow(depth - 1));
      case 2:
        return NewObj2(binary[random() % 6], grow(depth - 1), grow(depth - 1));
      case 3: {
        Handle m = NewMatrix(1 + random() % 2, 1 + random() % 3);
        for (int i = 0; i < ObjCount(m); ++i) PutSlot(m, i, grow(depth - 2));
        return m;
      }
      default: {
        int n = 2 + static_cast<int>(random() % 5);
        Handle h = NewObjN(nary[random() % 2], n);
        for (int i = 0; i < n; ++i) PutSlot(h, i, grow(depth - 1));
        return h;
      }
    }
  };
  size_t free = FreeMasterPointerCount();
  for (int round = 0; round < 300; ++round) {
    Handle tree = grow(1 + round % 7);
    if (tree == nullptr) continue;
    Handle copy = DupObj(tree);
    ASSERT_EQ(Show(tree), Show(copy));
    ASSERT_EQ(CountNodes(tree), CountNodes(copy));
    ASSERT_EQ("", CheckLinks(copy));
    // Take a piece out of the copy and put it back elsewhere.
    if (ObjCount(copy) > 1 && ObjSlot(copy, 0) != nullptr) {
      Handle piece = TakeSlot(copy, 0);
      ASSERT_EQ("", CheckLinks(copy));
      Handle again = DupObj(piece);
      PutSlot(copy, ObjCount(copy) - 1, piece);
      ASSERT_EQ("", CheckLinks(copy));
      DisposeObj(again);
    }
    DisposeObj(copy);
    ASSERT_EQ("", CheckLinks(tree));
    DisposeObj(tree);
    ASSERT_EQ(free, FreeMasterPointerCount()) << "round " << round;
  }
}

}  // namespace
}  // namespace lemmabox
