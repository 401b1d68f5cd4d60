// The comment being edited on display: clicks that place the caret, the
// caret and selection rectangles, and moves by displayed lines.
#include "layout/comment_caret.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/comment_editing.h"
#include "editor/comment_plain_text.h"
#include "editor/comment_text.h"
#include "files/comment_store.h"
#include "layout/click.h"
#include "layout/comment_layout.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "layout/sentences.h"
#include "rows_fixture.h"
#include "shell/keyboard_map.h"

namespace lemmabox::testing {
namespace {

class CommentCaretTest : public RowsTest {
 protected:
  void SetUp() override {
    RowsTest::SetUp();
    RegisterCommentEditing();
    gCommentContent = {&CommentContentOf, &SetCommentContent};
    InstallCommentStore();
    gShown = this;
    gLayoutHooks.displayOf = [](Handle, DisplayTarget& out) {
      out = DisplayTarget{gShown->env.get(), gShown->main};
      return true;
    };
    view_ = OpenNotebookView(main);
  }
  void TearDown() override {
    CloseNotebookView(view_);
    SetPrintableWidth(kDefaultPrintableWidth);
    ResetLayoutHooks();
    gShown = nullptr;
    RowsTest::TearDown();
  }

  Handle Comment(const std::string& text) {
    Handle comment = Add(NewCommentWith(CommentFromPlainText(text)));
    LayOut();
    return comment;
  }
  // A gesture on the notebook, selected as the desktop selects it.
  void Gesture(Point press, Point current, bool twice = false) {
    ClearSelection();
    Selection out;
    ASSERT_TRUE(ClickSelect(main, *env, Point{}, ClickGesture{press, current, twice}, out));
    Select(out.obj, out.position);
  }
  // The point in the middle of the caret for a unit of the edited comment.
  Point At(int32_t unit) {
    const CommentEditing* editing = EditedComment();
    EditComment(editing->comment, unit, unit);
    const Rect r = CommentEditingShape(*env).caretRect;
    return Point{r.left, (r.top + r.bottom) / 2};
  }
  static int32_t Caret() { return EditedComment() ? EditedComment()->caret : -1; }
  static int32_t Anchor() { return EditedComment() ? EditedComment()->anchor : -1; }

  static CommentCaretTest* gShown;
  NotebookView* view_ = nullptr;
};
CommentCaretTest* CommentCaretTest::gShown = nullptr;

TEST_F(CommentCaretTest, CaretRectanglesFollowTheText) {
  Handle comment = Comment("Hello world");
  EditComment(comment, 0, 0);
  const Rect box = AbsoluteBox(comment);
  int32_t lastX = -1;
  for (int32_t unit = 0; unit <= 11; ++unit) {
    EditComment(comment, unit, unit);
    const CommentEditShape shape = CommentEditingShape(*env);
    ASSERT_TRUE(shape.shown);
    EXPECT_TRUE(shape.caret);
    EXPECT_GT(shape.caretRect.left, lastX) << unit;  // every character moves it on
    EXPECT_GE(shape.caretRect.top, box.top);
    EXPECT_LE(shape.caretRect.bottom, box.bottom);
    EXPECT_GT(shape.caretRect.Height(), 0);
    lastX = shape.caretRect.left;
  }
  // The caret at the start stands right of the icon, where the text begins.
  EditComment(comment, 0, 0);
  EXPECT_GE(CommentEditingShape(*env).caretRect.left, box.left + M().iconSize);
  // The edited comment's record shows the caret.
  const HighlightShape highlight = SelectionHighlight(*env, Selection{comment, kPosWhole});
  EXPECT_TRUE(highlight.caret);
  EXPECT_EQ(highlight.rect, CommentEditingShape(*env).caretRect);
}

TEST_F(CommentCaretTest, ClicksPlaceTheCaretAndSelect) {
  Handle comment = Comment("Hello big world");
  EditComment(comment, 0, 0);
  const Point places[] = {At(0), At(6), At(9), At(15)};
  const struct {
    Point press;
    Point current;
    bool twice;
    int32_t anchor;
    int32_t caret;
  } cases[] = {
      {places[1], places[1], false, 6, 6},
      {Point{places[1].x + 1, places[1].y}, places[1], false, 6, 6},  // nearest stop
      {places[0], places[3], false, 0, 15},                           // a drag
      {places[3], places[1], false, 15, 6},                           // dragged backwards
      {Point{places[1].x + 4, places[1].y}, Point{places[1].x + 4, places[1].y}, true, 6, 9},
  };
  for (const auto& c : cases) {
    Gesture(c.press, c.current, c.twice);
    ASSERT_NE(EditedComment(), nullptr);
    EXPECT_EQ(EditedComment()->comment, comment);
    EXPECT_EQ(Anchor(), c.anchor) << c.press.x << "," << c.current.x;
    EXPECT_EQ(Caret(), c.caret) << c.press.x << "," << c.current.x;
  }
  // A click on the icon selects the comment itself.
  const Rect box = AbsoluteBox(comment);
  Gesture(Point{box.left + 2, places[0].y}, Point{box.left + 2, places[0].y});
  EXPECT_EQ(EditedComment(), nullptr);
  EXPECT_EQ(PrimarySelection(), (Selection{comment, kPosWhole}));
}

TEST_F(CommentCaretTest, SelectionRectanglesCoverEachLine) {
  Handle comment = Comment("first line\nsecond\nthird line");
  EditComment(comment, 2, 20);  // from "rst" of the first line into the third
  const CommentEditShape shape = CommentEditingShape(*env);
  ASSERT_EQ(shape.selection.size(), 3u);
  EXPECT_FALSE(shape.caret);
  for (size_t i = 1; i < shape.selection.size(); ++i)
    EXPECT_GE(shape.selection[i].top, shape.selection[i - 1].bottom);
  const HighlightShape highlight = SelectionHighlight(*env, Selection{comment, kPosWhole});
  EXPECT_FALSE(highlight.caret);
  EXPECT_EQ(highlight.rect.top, shape.selection.front().top);
  EXPECT_EQ(highlight.rect.bottom, shape.selection.back().bottom);
  EditComment(comment, 2, 2);
  EXPECT_EQ(shape.selection.front().left, CommentEditingShape(*env).caretRect.left);
}

TEST_F(CommentCaretTest, MovesFollowTheDisplayedLines) {
  SetPrintableWidth(200);
  std::string text;
  for (int i = 0; i < 30; ++i) text += "word ";
  Handle comment = Comment(text);
  EditComment(comment, 0, 0);
  const int32_t textLeft = CommentEditingShape(*env).caretRect.left;
  EditComment(comment, 2, 2);
  const Rect first = CommentEditingShape(*env).caretRect;
  PerformCommentCode(kCmdMoveDown);
  const Rect second = CommentEditingShape(*env).caretRect;
  EXPECT_GE(second.top, first.bottom);  // the next displayed line
  EXPECT_NEAR(second.left, first.left, 8);
  const int32_t below = Caret();
  EXPECT_GT(below, 5);
  EXPECT_LT(below, CommentUnitCount(CommentContent(comment).root));
  PerformCommentCode(kCmdSelectFirst);  // Home: the start of the displayed line
  EXPECT_EQ(CommentEditingShape(*env).caretRect.left, textLeft);
  const int32_t lineStart = Caret();
  EXPECT_GT(lineStart, 0);
  PerformCommentCode(kCmdMoveUp);
  EXPECT_EQ(Caret(), 0);
  EditComment(comment, lineStart, lineStart);
  SetCurrentModifiers(KeyModifiers{true, false, false, false});
  PerformCommentCode(kCmdMoveUp);
  SetCurrentModifiers({});
  EXPECT_EQ(Anchor(), lineStart);  // Shift keeps the other end
  EXPECT_EQ(Caret(), 0);
}

}  // namespace
}  // namespace lemmabox::testing
