// Selections on laid-out expressions: the rectangles and carets that show
// them, and what clicking and dragging selects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "layout/click.h"
#include "layout/highlight.h"
#include "layout/hooks.h"
#include "layout/size_obj.h"
#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/document.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"

namespace lemmabox::testing {
namespace {

class SelectTest : public LayoutTest {
 protected:
  // The statement of a new assumption, laid out with its top-left at 0, 0.
  Handle Shown(const char* tree) { return StatementOf(Statement(Make(tree))); }

  Rect Abs(Handle obj) const {
    Rect r = Hdr(obj).box;
    for (Handle p = ObjParent(obj); p; p = ObjParent(p)) {
      r.left += Hdr(p).box.left;
      r.right += Hdr(p).box.left;
      r.top += Hdr(p).box.top;
      r.bottom += Hdr(p).box.top;
    }
    return r;
  }
  HighlightShape Highlight(Handle obj, int32_t position) {
    return SelectionHighlight(*env, Selection{obj, position});
  }
  // The selection a gesture on a statement makes.
  Selection Click(Handle statement, Point press, Point current, bool doubleClick = false) {
    Selection out{nullptr, 0};
    ClickGesture gesture{press, current, doubleClick};
    PlaceContext origin;
    origin.env = env.get();
    EXPECT_TRUE(ClickObj(statement, origin, gesture, out));
    return out;
  }
  Selection Click(Handle statement, Point at, bool doubleClick = false) {
    return Click(statement, at, at, doubleClick);
  }
  static Point Middle(const Rect& r) {
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

TEST_F(SelectTest, WholeObjectsAndCaretsIncludeTheirBrackets) {
  Handle product = Shown("*(+(a,b),c)");
  Handle sum = ObjSlot(product, 0);
  const Rect box = Abs(sum);
  const int32_t m = ParenMargin(M(), product, sum);
  ASSERT_GT(m, 0);
  struct Case {
    int32_t position;
    bool caret;
    Rect rect;
  };
  const Case cases[] = {
      {kPosWhole, false, box},
      {kPosWholeOperand, false, Rect{box.left - m, box.top, box.right + m, box.bottom}},
      // A caret is one unit wide, just left of its place.
      {kPosCaretBefore, true, Rect{box.left - m - 1, box.top, box.left - m, box.bottom}},
      {kPosCaretAfter, true, Rect{box.right + m - 1, box.top, box.right + m, box.bottom}},
  };
  for (const Case& c : cases) {
    const HighlightShape shape = Highlight(sum, c.position);
    EXPECT_TRUE(shape.shown);
    EXPECT_EQ(c.caret, shape.caret) << c.position;
    EXPECT_EQ(c.rect, shape.rect) << c.position;
  }
  // Without brackets, -2 is just the box.
  Handle c = ObjSlot(product, 1);
  EXPECT_EQ(Abs(c), Highlight(c, kPosWholeOperand).rect);
  // A detached object has nothing to show.
  EXPECT_FALSE(Highlight(Make("x"), kPosWhole).shown);
}

TEST_F(SelectTest, TextRangesFollowTheCharacters) {
  Handle sum = Shown("+(abc,x)");
  Handle name = ObjSlot(sum, 0);
  const Rect box = Abs(name);
  const int32_t inset = M().eighth[0] + 1;
  const int32_t a = FontWidth("a", kFontMain, 0), ab = FontWidth("ab", kFontMain, 0);
  EXPECT_EQ((Rect{box.left + inset + a, box.top, box.left + inset + ab, box.bottom}),
            Highlight(name, PackRange(1, 2)).rect);
  EXPECT_EQ(box, Highlight(name, PackRange(0, 3)).rect);
  const HighlightShape caret = Highlight(name, PackRange(2, 2));
  EXPECT_TRUE(caret.caret);
  EXPECT_EQ(box.left + inset + ab, caret.rect.right);
  // A question mark's only position is its middle.
  Handle question = ObjSlot(Shown("+(?,x)"), 0);
  const Rect q = Abs(question);
  const HighlightShape middle = Highlight(question, 1);
  EXPECT_TRUE(middle.caret);
  EXPECT_EQ((q.left + q.right) / 2, middle.rect.right);
  // Integers have fixed positions; beyond the text is the end of the box.
  Handle number = ObjSlot(Shown("+(12,x)"), 0);
  EXPECT_EQ(Abs(number).right, Highlight(number, PackRange(1, 30)).rect.right);
}

TEST_F(SelectTest, SlotRangesAndMatrixBlocks) {
  Handle sum = Shown("+(a,b,c,d)");
  const HighlightShape middle = Highlight(sum, PackRange(1, 3));
  EXPECT_EQ(Abs(ObjSlot(sum, 1)).left, middle.rect.left);
  EXPECT_EQ(Abs(ObjSlot(sum, 3)).left, middle.rect.right);
  EXPECT_EQ(Abs(sum), Highlight(sum, PackRange(0, 4)).rect);
  // A bracketed term's range takes in its brackets.
  Handle product = Shown("*(x,+(a,b))");
  EXPECT_EQ(Abs(ObjSlot(product, 1)).left - ParenMargin(M(), product, ObjSlot(product, 1)),
            Highlight(product, PackRange(1, 2)).rect.left);

  Handle matrix = Shown("m2x3(a,b,c,d,e,f)");
  const Rect box = Abs(matrix);
  const int32_t cw = box.Width() / 3, ch = box.Height() / 2;
  EXPECT_EQ((Rect{box.left + cw, box.top, box.left + 3 * cw, box.top + ch}),
            Highlight(matrix, (0 << 24) | (1 << 16) | (1 << 8) | 3).rect);
  // A block across a one-row matrix's row is a range of its elements.
  Handle row = Shown("m1x3(a,b,c)");
  const HighlightShape first = Highlight(row, (0 << 24) | (0 << 16) | (1 << 8) | 2);
  EXPECT_EQ(Abs(row).left, first.rect.left);
  EXPECT_EQ(Abs(ObjSlot(row, 2)).left, first.rect.right);
}

TEST_F(SelectTest, BracketsGiveCaretsOrTheWholeOperand) {
  Handle product = Shown("*(+(a,b),c)");
  Handle sum = ObjSlot(product, 0);
  const Rect box = Abs(sum);
  const int32_t m = ParenMargin(M(), product, sum);
  const int32_t y = Middle(box).y;
  EXPECT_EQ((Selection{sum, kPosCaretBefore}), Click(product, Point{box.left - m + 1, y}));
  EXPECT_EQ((Selection{sum, kPosCaretAfter}), Click(product, Point{box.right + m - 1, y}));
  EXPECT_EQ((Selection{sum, kPosWholeOperand}),
            Click(product, Point{box.left - 1, y}, Point{box.right + 1, y}));
}

TEST_F(SelectTest, CollapsedObjectsAreSelectedWholeUnlessOperandLists) {
  Handle integral = Build("j(x,a,b)");
  SetFlag(integral, kFlagCollapsed);
  Handle product = StatementOf(Statement(NewProduct(integral, NewUndeclaredName("y"))));
  Handle shownIntegral = ObjSlot(product, 0);
  EXPECT_EQ((Selection{shownIntegral, kPosWhole}), Click(product, Middle(Abs(shownIntegral))));

  Handle sum = Make("+(a,bcd,e)");
  SetFlag(sum, kFlagCollapsed);
  Hdr(sum).aux = 1;
  Handle shown = StatementOf(Statement(sum));
  Handle term = ObjSlot(shown, 1);
  const Selection inside = Click(shown, Middle(Abs(term)));
  EXPECT_EQ(term, inside.obj) << "the shown term takes the click";
  EXPECT_GE(inside.position, 0);
  // The hidden terms are never hit.
  EXPECT_NE(ObjSlot(shown, 0), Click(shown, Point{1, Middle(Abs(shown)).y}).obj);
}

TEST_F(SelectTest, DraggingAcrossTermsSelectsASlotRange) {
  Handle sum = Shown("+(a,b,c,d)");
  const Rect b = Abs(ObjSlot(sum, 1)), d = Abs(ObjSlot(sum, 3));
  const int32_t y = Middle(b).y;
  // From the start of b to just before d: b + c.
  EXPECT_EQ((Selection{sum, PackRange(1, 3)}),
            Click(sum, Point{b.left + 1, y}, Point{d.left - 1, y}));
  // Dragged back the other way, the same terms.
  EXPECT_EQ((Selection{sum, PackRange(1, 3)}),
            Click(sum, Point{d.left - 1, y}, Point{b.left + 1, y}));
  // A click between two terms (on the "+") is a caret between them.
  const int32_t between = (Abs(ObjSlot(sum, 0)).right + b.left) / 2;
  EXPECT_EQ((Selection{sum, PackRange(1, 1)}), Click(sum, Point{between, y}));
  // Double-clicked, the whole sum.
  EXPECT_EQ((Selection{sum, kPosWhole}), Click(sum, Point{between, y}, true));
  // Inside one term, the term decides.
  EXPECT_EQ(ObjSlot(sum, 1), Click(sum, Point{b.left + 1, y}, Point{b.right - 1, y}).obj);
}

TEST_F(SelectTest, TextClicksAndDragsPickCharacters) {
  Handle sum = Shown("+(abcd,x)");
  Handle name = ObjSlot(sum, 0);
  const Rect box = Abs(name);
  const int32_t inset = M().eighth[0] + 1;
  const int32_t y = Middle(box).y;
  const int32_t ab = box.left + inset + FontWidth("ab", kFontMain, 0);
  EXPECT_EQ((Selection{name, PackRange(2, 2)}), Click(sum, Point{ab, y}));
  EXPECT_EQ((Selection{name, PackRange(1, 3)}),
            Click(sum, Point{box.left + inset + FontWidth("a", kFontMain, 0) - 1, y},
                  Point{box.left + inset + FontWidth("abc", kFontMain, 0) - 1, y}));
  EXPECT_EQ((Selection{name, kPosWhole}), Click(sum, Point{ab, y}, true));
  // A one-letter name gives a caret on either side, never a reversed range.
  Handle single = ObjSlot(Shown("+(m,x)"), 0);
  const Rect s = Abs(single);
  for (int32_t x = s.left; x < s.right; ++x) {
    const Selection at = Click(ObjParent(single), Point{x, Middle(s).y});
    ASSERT_EQ(single, at.obj);
    EXPECT_EQ(RangeStart(at.position), RangeEnd(at.position)) << "at x " << x - s.left;
  }
}

TEST_F(SelectTest, NegationAndFractionEdges) {
  Handle sum = Shown("+(a,-(b))");
  Handle negation = ObjSlot(sum, 1);
  const Rect minus = Abs(negation);
  const Point onSign{minus.left + 3, Middle(minus).y};
  EXPECT_EQ((Selection{negation, kPosWhole}), Click(sum, onSign));
  EXPECT_EQ((Selection{sum, kPosWhole}), Click(sum, onSign, true));
  // Double-clicking the operand of the minus still selects the operand.
  Handle b = ObjSlot(negation, 0);
  EXPECT_EQ((Selection{b, kPosWhole}), Click(sum, Middle(Abs(b)), true));

  Handle withFraction = Shown("+(a,/(xxx,y))");
  Handle fraction = ObjSlot(withFraction, 1);
  const Rect f = Abs(fraction);
  EXPECT_EQ((Selection{fraction, kPosCaretBefore}),
            Click(withFraction, Point{f.left, Middle(f).y}));
  EXPECT_EQ((Selection{fraction, kPosCaretAfter}),
            Click(withFraction, Point{f.right - 1, Middle(f).y}));
}

TEST_F(SelectTest, MatrixDragsSelectBlocks) {
  Handle matrix = Shown("m2x3(a,b,c,d,e,f)");
  const Rect box = Abs(matrix);
  const int32_t cw = box.Width() / 3, ch = box.Height() / 2;
  auto block = [](int r0, int c0, int r1, int c1) {
    return (r0 << 24) | (c0 << 16) | (r1 << 8) | c1;
  };
  // Across the first two cells of the top row.
  EXPECT_EQ((Selection{matrix, block(0, 0, 1, 2)}),
            Click(matrix, Point{box.left + 1, box.top + 1},
                  Point{box.left + 2 * cw - 1, box.top + ch - 1}));
  // Staying between two columns: the place between them in every row.
  EXPECT_EQ((Selection{matrix, block(0, 1, 2, 1)}),
            Click(matrix, Point{box.left + cw, box.top + 1},
                  Point{box.left + cw + 1, box.top + 2 * ch - 1}));
  // Between two rows: the place between them across every column.
  EXPECT_EQ((Selection{matrix, block(1, 0, 1, 3)}),
            Click(matrix, Point{box.left + 1, box.top + ch},
                  Point{box.left + 3 * cw - 1, box.top + ch + 1}));
  EXPECT_EQ((Selection{matrix, kPosWhole}), Click(matrix, Point{box.left + cw, box.top + 1}, true));
  // An element takes a click inside it.
  Handle e = ObjSlot(matrix, 4);
  EXPECT_EQ(e, Click(matrix, Middle(Abs(e))).obj);
}

// --- notebook entries ---

class EntrySelectTest : public SelectTest {
 protected:
  void SetUp() override {
    SelectTest::SetUp();
    notebook = NewNotebook();
  }
  void TearDown() override {
    CloseNotebook(notebook);
    SelectTest::TearDown();
  }
  // Appends a row the way the notebook's rows lay one out: the icon column,
  // then the statement; rows stacked downwards.
  Handle AddRow(Handle prop, int indentation) {
    InsertProp(prop, notebook, ObjCount(notebook), indentation);
    if (IsAssumptionOrConclusion(ObjType(prop))) {
      Handle statement = StatementOf(prop);
      SizeAtLevel(statement, *env, 0);
      ApplyParenMargins(M(), prop, 0);
      PlaceChild(statement, M().iconSize + M().parenBase, 2);
      Hdr(prop).box = Rect{0, bottom_, Hdr(statement).box.right + M().em,
                           bottom_ + Hdr(statement).box.bottom + 2};
      Hdr(prop).baseline = Hdr(statement).box.top + Hdr(statement).baseline;
    } else {
      Hdr(prop).box = Rect{0, bottom_, 100, bottom_ + 20};
      Hdr(prop).baseline = 10;
    }
    bottom_ = Hdr(prop).box.bottom;
    Hdr(notebook).box = Rect{0, 0, 400, bottom_};
    return prop;
  }
  Selection ClickNotebook(Point at, bool doubleClick = false) {
    Selection out{nullptr, 0};
    ClickSelect(notebook, *env, Point{}, ClickGesture{at, at, doubleClick}, out);
    return out;
  }

  Handle notebook = nullptr;

 private:
  int32_t bottom_ = 0;
};

TEST_F(EntrySelectTest, IconsSelectEntriesAndDoubleClicksOpenGroups) {
  Handle head = AddRow(NewAssumption(Build("=(x,1)")), 0);
  Handle inner = AddRow(NewAssumption(Build("=(y,2)")), 1);
  Handle last = AddRow(NewAssumption(Build("=(z,3)")), 0);
  const Point onIcon{2, Hdr(head).box.top + Hdr(head).baseline};
  EXPECT_EQ((Selection{head, kPosWhole}), ClickNotebook(onIcon));
  // A double-click on a group's head collapses it; nothing is selected.
  EXPECT_EQ(nullptr, ClickNotebook(onIcon, true).obj);
  EXPECT_TRUE(HasFlag(head, kFlagCollapsed));
  EXPECT_EQ(nullptr, ClickNotebook(onIcon, true).obj);
  EXPECT_FALSE(HasFlag(head, kFlagCollapsed));
  // A row without a group is only selected.
  const Point lastIcon{2, Hdr(last).box.top + 4};
  EXPECT_EQ((Selection{last, kPosWhole}), ClickNotebook(lastIcon, true));
  EXPECT_FALSE(HasFlag(last, kFlagCollapsed));
  // A locked collapsed head is selected, not opened.
  SetFlag(head, kFlagCollapsed);
  SetFlag(head, kFlagLocked);
  EXPECT_EQ((Selection{head, kPosWhole}), ClickNotebook(onIcon, true));
  EXPECT_TRUE(HasFlag(head, kFlagCollapsed));
  (void)inner;
}

TEST_F(EntrySelectTest, StatementsTakeClicksBesideThem) {
  Handle row = AddRow(NewAssumption(Build("=(x,1)")), 0);
  Handle equation = StatementOf(row);
  const Rect box = Abs(equation);
  // On the statement: the statement decides.
  Handle x = ObjSlot(equation, 0);
  EXPECT_EQ(x, ClickNotebook(Middle(Abs(x))).obj);
  // Right of it, still in the row: clamped into the statement's end.
  const Selection beside = ClickNotebook(Point{box.right + 3, Middle(box).y});
  EXPECT_NE(nullptr, beside.obj);
  EXPECT_NE(row, beside.obj);
  // Between the icon and the statement nothing is selected.
  EXPECT_EQ(nullptr, ClickNotebook(Point{M().iconSize + 1, Hdr(row).box.top}).obj);
}

TEST_F(EntrySelectTest, FailedConclusionIsDerivedAgainOnAClick) {
  Handle conclusion = NewAssumption(Build("=(x,1)"));
  Hdr(conclusion).type = kConclusion;
  SetErrorNumber(conclusion, 13290);
  AddRow(conclusion, 0);
  static Handle redone = nullptr;
  gLayoutHooks.redoConclusion = [](Handle c) { redone = c; };
  const Selection out = ClickNotebook(Middle(Abs(StatementOf(conclusion))));
  ResetLayoutHooks();
  EXPECT_EQ(conclusion, redone);
  EXPECT_EQ(nullptr, out.obj);
}

TEST_F(EntrySelectTest, EntryHighlightCoversItsShownGroup) {
  Handle head = AddRow(NewAssumption(Build("=(x,1)")), 0);
  Handle inner = AddRow(NewAssumption(Build("=(+(y,a,b,c,d),2)")), 1);
  Handle last = AddRow(NewAssumption(Build("=(z,3)")), 0);
  Rect expected = Abs(head);
  expected.right = std::max(expected.right, Abs(inner).right);
  expected.bottom = Abs(inner).bottom;
  EXPECT_EQ(expected, Highlight(head, kPosWhole).rect);
  EXPECT_EQ(Abs(last), Highlight(last, kPosWhole).rect);
  // Collapsed: its group is hidden, and the row counts 3 units taller.
  SetFlag(head, kFlagCollapsed);
  SetFlag(inner, kFlagHidden);
  Rect collapsed = Abs(head);
  collapsed.bottom += 3;
  EXPECT_EQ(collapsed, Highlight(head, kPosWhole).rect);
}

}  // namespace
}  // namespace lemmabox::testing
