// Moving the selection: Tab, ':', Return and Enter, Select In/Out/First/All,
// End, closing brackets and the arrows.
#include <gtest/gtest.h>

#include "editing_helpers.h"
#include "editor/editor_hooks.h"
#include "editor/positions.h"
#include "mathobj/types.h"
#include "notebook/propositions.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

void SetBox(Handle obj, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Hdr(obj).box = Rect{left, top, right, bottom};
}

TEST(Navigation, TabVisitsTheQuestionMarksInReadingOrder) {
  TypingSession t(Interactive());
  t.Type("a*b+c");
  for (const char* name : {"a", "b", "c"}) {
    t.Select(FindName(t.Statement(), name));
    t.Type("?");
  }
  Handle sum = t.Statement();
  ASSERT_EQ(ObjType(sum), kSum);
  ASSERT_EQ(ObjType(ObjSlot(sum, 0)), kProduct);
  Handle first = ObjSlot(ObjSlot(sum, 0), 0);
  Handle second = ObjSlot(ObjSlot(sum, 0), 1);
  Handle third = ObjSlot(sum, 1);
  t.Select(first);
  t.Press("Tab");
  EXPECT_EQ(t.Primary().obj, second);
  t.Press("Tab");
  EXPECT_EQ(t.Primary().obj, third);
  t.Press("Tab");  // round again from the start of the proposition
  EXPECT_EQ(t.Primary().obj, first);
}

TEST(Navigation, ColonGoesToTheNextSlotAndGrowsLimits) {
  TypingSession s(Interactive());
  s.Type("$x*d*x:0:1");
  s.Commit();
  Handle integral = s.Statement();
  ASSERT_EQ(ObjType(integral), kIntegral);
  EXPECT_EQ(ObjCount(integral), 3);
  EXPECT_EQ(s.Written(), "Integral(x*d*x:0:1)");
  TypingSession e(Interactive());
  e.Type("a=b");
  e.Select(FindName(e.Statement(), "a"), PackRange(1, 1));
  e.Type(":");
  EXPECT_EQ(e.Primary().obj, FindName(e.Statement(), "b"));
}

TEST(Navigation, ReturnAndEnterMakeNewPropositions) {
  TypingSession s(Interactive());
  s.Type("a{Return}b");
  EXPECT_EQ(s.Statements(), (std::vector<std::string>{"a", "b"}));
  int comments = 0;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    comments += ObjType(ObjSlot(s.Notebook(), i)) == kComment;
  s.Press("Enter");
  int after = 0;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    after += ObjType(ObjSlot(s.Notebook(), i)) == kComment;
  EXPECT_EQ(after, comments + 1);
  EXPECT_EQ(ObjType(s.Primary().obj), kComment);
}

TEST(Navigation, SelectInOutFirstAndAll) {
  TypingSession s(Interactive());
  s.Type("a+b*cd");
  Handle sum = s.Statement();
  s.Select(sum);
  s.Press("SelectIn");
  ASSERT_EQ(s.View().selections.size(), 2u);
  EXPECT_EQ(s.View().selections[0].obj, ObjSlot(sum, 0));
  EXPECT_EQ(s.View().selections[1].obj, ObjSlot(sum, 1));
  s.Select(sum);
  s.Press("SelectFirst");
  ASSERT_EQ(s.View().selections.size(), 1u);
  EXPECT_EQ(s.Primary().obj, ObjSlot(sum, 0));
  Handle c = FindName(sum, "cd");
  s.Select(c, PackRange(0, 1));
  s.Press("SelectOut");
  EXPECT_EQ(s.Primary(), (Selection{c, kPosWholeOperand}));
  s.Press("SelectOut");
  EXPECT_EQ(s.Primary(), (Selection{ObjParent(c), kPosWholeOperand}));
  s.Press("SelectAll");
  EXPECT_EQ(s.Primary(), (Selection{GetObjProp(c), kPosWhole}));
  // A caret has nothing inside to select.
  s.Select(c, kPosCaretAfter);
  s.Press("SelectIn");
  EXPECT_EQ(s.Primary(), (Selection{c, kPosCaretAfter}));
}

TEST(Navigation, EndAndClosingBracketsLeaveGroups) {
  TypingSession s(Interactive());
  s.Type("x^(a+b");
  s.Press("End");
  // Out of the sum, still inside the exponent.
  EXPECT_EQ(ObjType(s.Primary().obj), kParens);
  s.Press("End");
  EXPECT_EQ(s.Primary(), (Selection{s.Statement(), kPosCaretAfter}));
  TypingSession b(Interactive());
  b.Type("2*(a+b)");
  EXPECT_EQ(ObjType(b.Primary().obj), kParens);
  EXPECT_EQ(b.Primary().position, kPosCaretAfter);
  b.Type("^2");
  EXPECT_EQ(b.Written(), "2*(a+b)^2");
}

TEST(Navigation, ArrowsMoveThroughTextAndBetweenBoxes) {
  TypingSession s(Interactive());
  s.Type("ab+cd");
  Handle sum = s.Statement();
  Handle ab = ObjSlot(sum, 0);
  Handle cd = ObjSlot(sum, 1);
  SetBox(ab, 0, 0, 20, 12);
  SetBox(cd, 30, 0, 50, 12);
  s.Select(ab, PackRange(1, 1));
  s.Press("Right");
  EXPECT_EQ(s.Primary(), (Selection{ab, PackRange(2, 2)}));
  s.Press("Right");  // off the end of the text: the next box to the right
  EXPECT_EQ(s.Primary(), (Selection{cd, PackRange(0, 0)}));
  s.Press("Left");
  EXPECT_EQ(s.Primary(), (Selection{ab, PackRange(2, 2)}));
  s.Select(ab, PackRange(0, 2));
  s.Press("Left");  // a range collapses to its start
  EXPECT_EQ(s.Primary(), (Selection{ab, PackRange(0, 0)}));
}

TEST(Navigation, ArrowsUpAndDownChooseByCentres) {
  TypingSession s(Interactive());
  s.Type("a/b");
  Handle quotient = s.Statement();
  Handle a = ObjSlot(quotient, 0);
  Handle b = ObjSlot(quotient, 1);
  SetBox(a, 0, 0, 10, 10);
  SetBox(b, 0, 14, 10, 24);
  s.Select(a, kPosWhole);
  s.Press("Down");
  EXPECT_EQ(s.Primary().obj, b);
  s.Press("Up");
  EXPECT_EQ(s.Primary().obj, a);
  s.Press("Up");  // nothing above: the selection stays
  EXPECT_EQ(s.Primary().obj, a);
  // Inside brackets, leaving sideways lands beside them.
  TypingSession p(Interactive());
  p.Type("2*(x");
  Handle x = FindName(p.Statement(), "x");
  p.Select(x, PackRange(0, 0));
  p.Press("Left");
  EXPECT_EQ(p.Primary(), (Selection{ObjParent(x), kPosCaretBefore}));
}

TEST(Navigation, ArrowsMoveAMatrixBlock) {
  TypingSession s(Interactive());
  s.Type("1,2;3,4");
  Handle m = s.Statement();
  s.Select(m, PackBlock(0, 0, 1, 1));
  s.Press("Right");
  EXPECT_EQ(s.Primary().position, PackBlock(0, 1, 1, 2));
  s.Select(m, PackBlock(0, 0, 1, 2));
  s.Press("Down");
  EXPECT_EQ(s.Primary().position, PackBlock(1, 0, 2, 2));
  s.Press("Down");  // at the edge the block stays
  EXPECT_EQ(s.Primary().position, PackBlock(1, 0, 2, 2));
}

}  // namespace
}  // namespace lemmabox::testing
