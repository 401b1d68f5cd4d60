// The rows of theories: indentation, propositions sharing a row, collapsed
// outline groups and what they hide, the Case Theory's room for its icon,
// and the theories' own sizes.
#include <gtest/gtest.h>

#include <vector>

#include "layout/notebook_render.h"
#include "layout/size_obj.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/notebook_edits.h"
#include "notebook/propositions.h"
#include "rows_fixture.h"

namespace lemmabox::testing {
namespace {

TEST_F(RowsTest, CollapsedRowHidesTheDeeperRowsAfterIt) {
  // Levels 0 (collapsed), 1, 2, 1, 0, 1.
  std::vector<Handle> props;
  for (int level : {0, 1, 2, 1, 0, 1}) props.push_back(Assume("=(x,1)", level));
  Collapsed(props[0]);
  LayOut();
  const std::vector<bool> hidden = {false, true, true, true, false, false};
  for (size_t i = 0; i < props.size(); ++i) EXPECT_EQ(hidden[i], Hidden(props[i])) << "row " << i;
  for (int i : {1, 2, 3}) {
    EXPECT_EQ(0, BoxOf(props[i]).Width());
    EXPECT_FALSE(HasFlag(props[i], kFlagSizeValid));
  }
  // The collapsed row is 3 units taller than its proposition.
  EXPECT_EQ(BoxOf(props[0]).bottom + kCollapsedRowExtra, BoxOf(props[4]).top);
  EXPECT_EQ(BoxOf(props[4]).bottom, BoxOf(props[5]).top);
  EXPECT_EQ(0, BoxOf(props[4]).left);
  EXPECT_EQ(M().iconSize, BoxOf(props[5]).left) << "one icon width per level";

  // Expanded, every row shows, each below the one before.
  ClearFlag(props[0], kFlagCollapsed);
  LayOut();
  for (size_t i = 0; i < props.size(); ++i) {
    EXPECT_FALSE(Hidden(props[i]));
    if (i > 0) {
      EXPECT_EQ(BoxOf(props[i - 1]).bottom, BoxOf(props[i]).top);
    }
    EXPECT_EQ(M().iconSize * static_cast<int>(Indentation(props[i])), BoxOf(props[i]).left);
  }
}

TEST_F(RowsTest, InlinePropositionsShareTheirRow) {
  Handle a = Assume("x");
  Handle tall = Assume("/(a,/(b,c))", kInline);
  Handle head = Collapsed(Assume("y"));
  Handle child = Assume("z", 1);
  Handle afterHidden = Assume("w", kInline);
  Handle last = Assume("v");
  const LayoutBox notebook = LayOut();

  // Right of the previous one, on the same top; the row is as tall as its
  // tallest member.
  EXPECT_EQ(BoxOf(a).right, BoxOf(tall).left);
  EXPECT_EQ(BoxOf(a).top, BoxOf(tall).top);
  ASSERT_GT(BoxOf(tall).Height(), BoxOf(a).Height());
  EXPECT_EQ(BoxOf(tall).bottom, BoxOf(head).top);
  // Continuing a hidden row hides it too.
  EXPECT_TRUE(Hidden(child));
  EXPECT_TRUE(Hidden(afterHidden));
  EXPECT_FALSE(Hidden(last));
  EXPECT_EQ(BoxOf(head).bottom + kCollapsedRowExtra, BoxOf(last).top);
  // The notebook is as wide as its widest row and ends with its last.
  EXPECT_EQ(BoxOf(tall).right, notebook.width);
  EXPECT_EQ(BoxOf(last).bottom, notebook.height);
}

TEST_F(RowsTest, CaseTheoryMakesRoomForItsIconUntilItsNextTopRow) {
  struct Case {
    bool icons;
    int32_t extra;  // beyond the indentation, for the rows before the second top row
  };
  for (const Case c : {Case{true, 8 + 2}, Case{false, 0}}) {
    ShowIcons(c.icons);
    Handle theory = Add(NewCaseTheory());
    std::vector<Handle> props;
    for (int level : {0, 1, 0, 1}) props.push_back(Assume("=(x,1)", level, theory));
    LayOut();
    const int32_t start = M().parenBase + M().u;
    const int32_t icon = M().iconSize;
    ASSERT_EQ(8, icon);
    const Rect t = BoxOf(theory);
    EXPECT_EQ(start + c.extra, BoxOf(props[0]).left - t.left) << "icons " << c.icons;
    EXPECT_EQ(start + icon + c.extra, BoxOf(props[1]).left - t.left);
    EXPECT_EQ(start, BoxOf(props[2]).left - t.left);
    EXPECT_EQ(start + icon, BoxOf(props[3]).left - t.left);
    EXPECT_EQ(M().parenBase, BoxOf(props[0]).top - t.top);
    const Handle gone[] = {theory};
    DeletePropositions(gone);
  }
}

TEST_F(RowsTest, TheoriesSizeThemselvesFromTheirRows) {
  const int32_t k = M().parenBase;
  const int32_t u = M().u;
  const int32_t icon = M().iconSize;
  ShowIcons(false);

  // With no propositions: the Main Theory is empty, a Case Theory keeps its
  // margins and its icon's height.
  Handle empty = Add(NewCaseTheory());
  LayoutBox notebook = LayOut();
  EXPECT_EQ((k + u + 34) / 32 * 32, BoxOf(empty).Width());
  EXPECT_EQ(std::max(k, icon) + k, BoxOf(empty).Height());
  EXPECT_EQ(8 + k, ObjBaseline(empty));
  EXPECT_EQ(8, ObjBaseline(main));

  // Page breaks are 2u + I square, so nine of them in a row reach
  // k + u + 90 = 95, and the theory is (95 + 34) / 32 * 32 = 128 wide.
  for (int i = 0; i < 9; ++i) Add(NewPageBreak(), i == 0 ? 0 : kInline, empty);
  notebook = LayOut();
  EXPECT_EQ(2 * u + icon, BoxOf(ObjSlot(empty, 1)).Width());
  EXPECT_EQ(128, BoxOf(empty).Width());
  EXPECT_EQ(k + (2 * u + icon) + k, BoxOf(empty).Height());
  EXPECT_EQ(BoxOf(empty).right, notebook.width);
  EXPECT_EQ(BoxOf(empty).bottom, notebook.height);
}

TEST_F(RowsTest, AnEmptyNotebookHasNoSize) {
  const LayoutBox box = LayOut();
  EXPECT_EQ(0, box.width);
  EXPECT_EQ(0, box.height);
  EXPECT_EQ(8, box.baseline);
}

}  // namespace
}  // namespace lemmabox::testing
