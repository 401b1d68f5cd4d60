// A notebook whose rows hold the largest things the program makes: a sum
// of 32,000 terms, a matrix of 32,000 elements, expressions nested 200
// deep, an oversized fresh result, a rule and a comment of that size. It
// lays out within the caps, collapses what the rules collapse, and draws.
#include <gtest/gtest.h>

#include <string>

#include "comment_trees.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/sentences.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "ports/output_sink.h"
#include "rows_fixture.h"

namespace lemmabox::testing {
namespace {

constexpr int kMostOperands = 32000;

Handle HugeSum(int terms) {
  Handle sum = NewObjN(kSum, terms);
  for (int i = 0; i < terms; ++i) PutSlot(sum, i, i % 2 ? NewUndeclaredName("x") : NewInteger(i));
  return sum;
}

// (x + (x * (x + ...))) nested `depth` levels.
Handle Nested(int depth) {
  Handle inner = NewUndeclaredName("y");
  for (int i = 0; i < depth; ++i)
    inner =
        i % 2 ? NewSum(NewUndeclaredName("x"), inner) : NewProduct(NewUndeclaredName("x"), inner);
  return inner;
}

class LargeInputTest : public RowsTest {
 protected:
  void TearDown() override {
    ResetLayoutHooks();
    RowsTest::TearDown();
    ForgetTestComments();
  }
};

TEST_F(LargeInputTest, EverythingLaysOutWithinTheCapsAndDraws) {
  gLayoutHooks.commentTree = TestCommentTree;
  Handle sumRow = Add(NewAssumption(NewEquation(NewUndeclaredName("s"), HugeSum(kMostOperands))));
  Handle matrix = NewMatrix(2000, 16);
  for (int i = 0; i < 2000 * 16; ++i) PutSlot(matrix, i, NewInteger(i));
  Add(NewAssumption(matrix));
  Handle deep = Add(NewAssumption(NewEquation(NewUndeclaredName("d"), Nested(200))));
  Handle fresh = NewObjN(kProduct, 3000);
  for (int i = 0; i < 3000; ++i) PutSlot(fresh, i, NewUndeclaredName("q"));
  SetFlag(fresh, kFlagFresh);
  Add(NewAssumption(fresh), 1);
  Handle rule = Add(NewTransformRule(HugeSum(5000), Nested(50)));
  std::string words;
  for (int i = 0; i < 8000; ++i) words += "lorem ipsum ";
  Handle comment = Add(NewPlainComment(words));

  const LayoutBox notebook = LayOut();
  // A matrix is never taller than the drawing devices' coordinates allow.
  EXPECT_LE(Hdr(matrix).box.Height(), 16000);
  EXPECT_GT(Hdr(matrix).box.Height(), 1000);
  // The fresh oversized product is shown collapsed; the equation is not.
  EXPECT_TRUE(HasFlag(fresh, kFlagCollapsed));
  EXPECT_FALSE(HasFlag(ObjSlot(sumRow, 0), kFlagCollapsed));
  EXPECT_LT(Hdr(fresh).box.Width(), 10 * M().em);
  // A pattern wider than the last line allows is left out of the rule's
  // sentence, hidden rather than left where it was.
  EXPECT_TRUE(Hidden(ObjSlot(rule, 0)));
  EXPECT_TRUE(Hidden(ObjSlot(rule, 1)));
  EXPECT_EQ(0, Hdr(ObjSlot(rule, 0)).box.Width());
  // The comment wraps at the page.
  EXPECT_LE(BoxOf(comment).right, PrintableWidthUnits(M()));
  EXPECT_GT(BoxOf(comment).Height(), 100 * M().size[0]);
  EXPECT_GT(BoxOf(deep).Width(), 0);
  EXPECT_GE(notebook.width, BoxOf(sumRow).right);

  StringSink sink;
  const Point size = RenderNotebookEps(main, sink);
  EXPECT_EQ(notebook.width, size.x);
  EXPECT_EQ(notebook.height, size.y);
  EXPECT_GT(sink.text().size(), 100000u);
}

}  // namespace
}  // namespace lemmabox::testing
