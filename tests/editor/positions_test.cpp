// Reading position words, and the parts of an object a selection stands for.
#include "editor/positions.h"

#include <gtest/gtest.h>

#include "editing_helpers.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/types.h"
#include "notebook/expression_writer.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TEST(Positions, RangesAndSidesOfEveryKindOfPosition) {
  TypingSession s({.fortranish = false});
  s.Type("abc+d+e");
  Handle sum = s.Statement();
  Handle abc = ObjSlot(sum, 0);
  struct Case {
    Handle obj;
    int32_t position;
    int start, end, side;
    bool whole;
  };
  const Case cases[] = {
      {abc, kPosWhole, 0, 3, 0, true},
      {abc, kPosWholeOperand, 0, 3, 0, true},
      {abc, kPosCaretBefore, 0, 0, -1, false},
      {abc, kPosCaretAfter, 3, 3, +1, false},
      {abc, PackRange(1, 2), 1, 2, 0, false},
      {abc, PackRange(0, 0), 0, 0, -1, false},
      {abc, PackRange(3, 3 | kSpaceSplitMark), 3, 3, +1, false},
      {abc, PackRange(2, 9), 2, 3, 0, false},
      {sum, PackRange(0, 3), 0, 3, 0, true},
      {sum, PackRange(3, 3), 3, 3, +1, false},
      {sum, PackRange(1, 1), 1, 1, 0, false},
  };
  for (const Case& c : cases) {
    const Range range = RangeOf(c.obj, c.position);
    EXPECT_EQ(range.start, c.start) << std::hex << c.position;
    EXPECT_EQ(range.end, c.end) << std::hex << c.position;
    EXPECT_EQ(SideOf({c.obj, c.position}), c.side) << std::hex << c.position;
    EXPECT_EQ(CoversWhole({c.obj, c.position}), c.whole) << std::hex << c.position;
  }
}

TEST(Positions, MatrixBlocks) {
  TypingSession s({.fortranish = false});
  s.Type("1,2,3;4,5,6");
  Handle m = s.Statement();
  const Block b = BlockOf(m, PackBlock(1, 1, 2, 3));
  EXPECT_EQ(b.Cells(), 2);
  EXPECT_EQ(SideOf({m, PackBlock(0, 0, 1, 1)}), -1);
  EXPECT_EQ(SideOf({m, PackBlock(0, 1, 1, 2)}), 0);
  EXPECT_TRUE(CoversWhole({m, PackBlock(0, 0, 2, 3)}));
  // A block reaching beyond the matrix is cut to it.
  EXPECT_EQ(BlockOf(m, PackBlock(1, 2, 9, 9)).Cells(), 1);
}

TEST(Positions, ExtractingTheSelectedPart) {
  TypingSession s({.fortranish = false});
  s.Type("2*abc*x^2");
  s.Commit();
  Handle product = s.Statement();
  auto extract = [](Selection selection) {
    Handle part = ExtractSelection(selection);
    if (part == nullptr) return std::string("(nothing)");
    std::string text = ExpressionScript(part);
    DisposeObj(part);
    return text;
  };
  EXPECT_EQ(extract({product, PackRange(1, 3)}), "abc*x^2");
  EXPECT_EQ(extract({product, PackRange(1, 2)}), "abc");
  EXPECT_EQ(extract({ObjSlot(product, 1), PackRange(1, 3)}), "bc");
  EXPECT_EQ(extract({ObjSlot(product, 1), kPosCaretAfter}), "(nothing)");
  TypingSession m({.fortranish = false});
  m.Type("1,2;3,4");
  EXPECT_EQ(extract({m.Statement(), PackBlock(0, 1, 2, 2)}), "(2;4)");
}

TEST(Positions, ARangeThatCutsADerivativeOperatorOffItsOperand) {
  TypingSession s({.fortranish = false});
  s.Type("a*Diff(x)*b*c");
  Handle product = s.Statement();
  ASSERT_EQ(ObjCount(product), 4);
  EXPECT_RAISES(kMsgDLinearNotToEnd,
                DisposeObj(ExtractSelection({product, PackRange(0, 3)}, true)));
  Handle whole = nullptr;
  EXPECT_RAISES(0, whole = ExtractSelection({product, PackRange(1, 4)}, true));
  DisposeObj(whole);
}

TEST(Positions, ReplacingTheSelectedPart) {
  TypingSession s({.fortranish = false});
  s.Type("a+b+c");
  Handle sum = s.Statement();
  ReplaceSelection({sum, PackRange(1, 3)}, NewUndeclaredName("z"));
  EXPECT_EQ(ExpressionScript(s.Statement()), "a+z");
  Handle a = ObjSlot(s.Statement(), 0);
  ReplaceSelection({a, kPosCaretAfter}, NewUndeclaredName("y"));
  EXPECT_EQ(ExpressionScript(s.Statement()), "a*y+z");
  EXPECT_TRUE(LinksAgree(s.LastProposition()));
}

}  // namespace
}  // namespace lemmabox::testing
