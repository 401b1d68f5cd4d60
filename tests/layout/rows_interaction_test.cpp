// Rows under the mouse and after changes: clicking on icons and
// statements, opening and closing outline groups by double-clicking,
// highlighting selected rows, pointer help, and the layout following the
// model's insertions, collapses and edits.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "layout/click.h"
#include "layout/highlight.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/pointer_help.h"
#include "layout/relayout.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "rows_fixture.h"
#include "shell/strings.h"

namespace lemmabox::testing {
namespace {

class RowsInteractionTest : public RowsTest {
 protected:
  void TearDown() override {
    ResetLayoutHooks();
    gDisplay = nullptr;
    RowsTest::TearDown();
  }

  // Clicks at a point of the laid-out notebook.
  Selection Click(Point p, bool twice = false) {
    Selection out;
    ClickSelect(main, *env, Point{}, ClickGesture{p, p, twice}, out);
    return out;
  }
  // The middle of an entry's icon.
  Point OnIcon(Handle prop) const {
    const Rect box = BoxOf(prop);
    return Point{box.left + M().iconSize / 2, box.top + ObjBaseline(prop)};
  }
  // Makes the notebook shown in a window whose refreshes are counted.
  void ShowInWindow() {
    gDisplay = this;
    gLayoutHooks.displayOf = [](Handle, DisplayTarget& out) {
      out = DisplayTarget{gDisplay->env.get(), gDisplay->main};
      return true;
    };
    gLayoutHooks.refreshNotebook = [](Handle) { ++gDisplay->refreshes; };
    gLayoutHooks.reflowEntries = [](Handle container, Handle entry, bool width, bool height) {
      gDisplay->reflows.push_back({container, entry, width, height});
    };
  }

  struct Reflow {
    Handle container;
    Handle entry;
    bool width;
    bool height;
  };
  int refreshes = 0;
  std::vector<Reflow> reflows;
  static RowsInteractionTest* gDisplay;
};
RowsInteractionTest* RowsInteractionTest::gDisplay = nullptr;

TEST_F(RowsInteractionTest, ClicksReachStatementsOrSelectTheRowOnItsIcon) {
  Handle row = Assume("=(x,+(a,b))");
  Handle declaration = Add(NewNameDecl(NewUndeclaredName("t"), kNameVariable));
  LayOut();

  EXPECT_EQ((Selection{row, kPosWhole}), Click(OnIcon(row)));
  // Right of the icon the statement takes the click.
  Handle a = ObjSlot(ObjSlot(ObjSlot(row, 0), 1), 0);
  const Rect onA = BoxOf(a);
  const Selection inside = Click(Point{(onA.left + onA.right) / 2, (onA.top + onA.bottom) / 2});
  EXPECT_EQ(a, inside.obj);
  // A declaration takes a click anywhere but on its name as a whole.
  const Rect decl = BoxOf(declaration);
  EXPECT_EQ((Selection{declaration, kPosWhole}), Click(Point{decl.right - 2, decl.top + 2}));
  const Rect name = BoxOf(ObjSlot(declaration, 0));
  EXPECT_EQ(ObjSlot(declaration, 0), Click(Point{name.left + 2, name.top + 2}).obj);
}

TEST_F(RowsInteractionTest, DoubleClickOnAnIconOpensAndClosesItsGroup) {
  Handle head = Assume("=(x,1)");
  Handle member = Assume("=(y,2)", 1);
  Handle next = Assume("=(z,3)");
  LayOut();

  EXPECT_EQ(nullptr, Click(OnIcon(head), true).obj) << "nothing is selected";
  EXPECT_TRUE(HasFlag(head, kFlagCollapsed));
  EXPECT_FALSE(HasFlag(main, kFlagSizeValid)) << "the rows are laid out again";
  LayOut();
  EXPECT_TRUE(Hidden(member));
  EXPECT_EQ(BoxOf(head).bottom + kCollapsedRowExtra, BoxOf(next).top);

  Click(OnIcon(head), true);
  EXPECT_FALSE(HasFlag(head, kFlagCollapsed));
  LayOut();
  EXPECT_FALSE(Hidden(member));

  // A locked row is selected instead; a row without a group only selected.
  SetFlag(head, kFlagCollapsed | kFlagLocked);
  LayOut();
  EXPECT_EQ((Selection{head, kPosWhole}), Click(OnIcon(head), true));
  EXPECT_TRUE(HasFlag(head, kFlagCollapsed));
  EXPECT_EQ((Selection{next, kPosWhole}), Click(OnIcon(next), true));
  EXPECT_FALSE(HasFlag(next, kFlagCollapsed));
}

TEST_F(RowsInteractionTest, ASelectedRowIsHighlightedWithItsShownGroup) {
  Handle head = Assume("=(x,1)");
  Handle member = Assume("=(/(y,2),2)", 1);
  Assume("=(z,3)");
  LayOut();
  HighlightShape shape = SelectionHighlight(*env, Selection{head, kPosWhole});
  EXPECT_EQ(BoxOf(head).top, shape.rect.top);
  EXPECT_EQ(BoxOf(member).bottom, shape.rect.bottom);
  EXPECT_EQ(std::max(BoxOf(head).right, BoxOf(member).right), shape.rect.right);

  Collapsed(head);
  LayOut();
  shape = SelectionHighlight(*env, Selection{head, kPosWhole});
  EXPECT_EQ(BoxOf(head).bottom + kCollapsedRowExtra, shape.rect.bottom)
      << "the hidden group adds only the marker";
  EXPECT_FALSE(shape.caret);
}

TEST_F(RowsInteractionTest, PointerHelpNamesTheRowPart) {
  Handle row = Assume("=(x,1)");
  Handle declaration = Add(NewNameDecl(NewUndeclaredName("t"), kNameVariable));
  Handle pageBreak = Add(NewPageBreak());
  LayOut();
  const Rect window{0, 0, 2000, 2000};
  auto help = [&](Point p) { return PointerHelp(env.get(), main, Point{}, p, window).helpId; };
  EXPECT_EQ(kStrHelpIcon, help(OnIcon(row)));
  const Rect x = BoxOf(ObjSlot(ObjSlot(row, 0), 0));
  EXPECT_EQ(kStrHelpUndeclaredName, help(Point{x.left + 1, x.top + 1}));
  const Rect name = BoxOf(ObjSlot(declaration, 0));
  EXPECT_EQ(kStrHelpNameBeingDeclared, help(Point{name.left + 1, name.top + 1}));
  EXPECT_EQ(kStrHelpNameDeclaration, help(Point{BoxOf(declaration).right - 1, name.top + 1}));
  EXPECT_EQ(kStrHelpPageBreak, help(Point{BoxOf(pageBreak).left + 1, BoxOf(pageBreak).top + 1}));
  EXPECT_EQ(0, help(Point{1900, 1900})) << "below the last row";
}

TEST_F(RowsInteractionTest, TheLayoutFollowsTheModel) {
  Handle first = Assume("=(x,1)");
  LayOut();
  ShowInWindow();

  // Inserting a row lays the shown notebook out again at once.
  Handle second = Assume("=(y,2)", 1);
  EXPECT_GE(refreshes, 1);
  EXPECT_TRUE(HasFlag(main, kFlagSizeValid));
  EXPECT_EQ(BoxOf(first).bottom, BoxOf(second).top);

  // Collapse All hides the group; Expose All shows it again.
  CollapseAll(main);
  EXPECT_TRUE(HasFlag(first, kFlagCollapsed));
  EXPECT_TRUE(Hidden(second));
  ExposeAll(main);
  EXPECT_FALSE(Hidden(second));

  // A new error on a conclusion widens its row.
  MakeConclusion(second, first);
  gNotebookDisplay.redraw(second);
  const int32_t before = BoxOf(second).Width();
  SetErrorNumber(second, 13191);
  gNotebookDisplay.redraw(second);
  EXPECT_GT(BoxOf(second).Width(), before);
}

TEST_F(RowsInteractionTest, TypingIntoARowReflowsTheRowsAfterIt) {
  Handle row = Assume("=(x,1)");
  Handle below = Assume("=(y,2)");
  LayOut();
  ShowInWindow();
  Handle name = ObjSlot(ObjSlot(row, 0), 0);
  const int32_t width = BoxOf(row).Width();
  std::strcpy(ObjText(name), "xy");
  IncrementalRelayout(name);
  EXPECT_GT(BoxOf(row).Width(), width);
  EXPECT_EQ(BoxOf(row).bottom, BoxOf(below).top);
  ASSERT_EQ(1u, reflows.size());
  EXPECT_EQ(main, reflows[0].container);
  EXPECT_EQ(row, reflows[0].entry);
  EXPECT_TRUE(reflows[0].width);
  EXPECT_FALSE(reflows[0].height);
}

}  // namespace
}  // namespace lemmabox::testing
