// Comments in the rows: text flowed into lines that wrap at the notebook's
// width, words in their own looks, the typeset constructs as boxes, and
// the comment's row around its content.
#include "layout/comment_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "comment_trees.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/sentences.h"
#include "mathobj/constructors.h"
#include "notebook/propositions.h"
#include "ports/font_metrics.h"
#include "rows_fixture.h"

namespace lemmabox::testing {
namespace {

class CommentRowTest : public RowsTest {
 protected:
  void SetUp() override {
    RowsTest::SetUp();
    gLayoutHooks.commentTree = TestCommentTree;
  }
  void TearDown() override {
    SetPrintableWidth(kDefaultPrintableWidth);
    ResetLayoutHooks();
    RowsTest::TearDown();
    ForgetTestComments();
  }
  // The distinct baselines of the text ink: one per line.
  static std::set<int32_t> Baselines(const CommentBlock& block) {
    std::set<int32_t> lines;
    for (const CommentInk& ink : block.ink)
      if (ink.kind == CommentInk::Kind::kText) lines.insert(ink.r.top);
    return lines;
  }
  static int32_t RightmostText(const CommentBlock& block) {
    int32_t right = 0;
    for (const CommentInk& ink : block.ink)
      if (ink.kind == CommentInk::Kind::kText)
        right = std::max(right, ink.r.left + TextWidth(ink.text, ink.font));
    return right;
  }
  static std::string Words(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (i ? " word" : "word") + std::to_string(i);
    return text;
  }
};

TEST_F(CommentRowTest, TextWrapsBetweenWordsAtTheWidth) {
  struct Case {
    int words;
    int32_t width;
  };
  for (const Case c : {Case{1, 400}, Case{40, 400}, Case{40, 150}, Case{200, 540}}) {
    Handle comment = Add(NewPlainComment(Words(c.words)));
    const CommentBlock block =
        LayOutCommentItems(*env, CommentItemsOf(*TestCommentTree(comment)), c.width);
    const std::set<int32_t> lines = Baselines(block);
    EXPECT_EQ(static_cast<int32_t>(lines.size()), block.lines) << c.words;
    EXPECT_LE(RightmostText(block), c.width) << c.words << " words in " << c.width;
    EXPECT_LE(block.width, c.width);
    // Every word is drawn whole, once.
    int drawn = 0;
    for (const CommentInk& ink : block.ink) drawn += ink.text.rfind("word", 0) == 0;
    EXPECT_EQ(c.words, drawn);
    // Lines are full: the first word of each line would not have fitted
    // after a blank at the end of the line before.
    std::map<int32_t, std::pair<int32_t, int32_t>> extent;  // baseline -> right, first width
    for (const CommentInk& ink : block.ink) {
      auto [it, fresh] = extent.try_emplace(ink.r.top, 0, TextWidth(ink.text, ink.font));
      it->second.first = std::max(it->second.first, ink.r.left + TextWidth(ink.text, ink.font));
    }
    const int32_t blank = TextWidth(" ", block.ink.front().font);
    for (auto it = extent.begin(); std::next(it) != extent.end(); ++it)
      EXPECT_GT(it->second.first + blank + std::next(it)->second.second, c.width);
  }
}

TEST_F(CommentRowTest, AWordWiderThanTheLineIsBroken) {
  Handle comment = Add(NewPlainComment(std::string(80, 'm')));
  const CommentBlock block =
      LayOutCommentItems(*env, CommentItemsOf(*TestCommentTree(comment)), 200);
  EXPECT_GT(block.lines, 1);
  std::string joined;
  for (const CommentInk& ink : block.ink) {
    EXPECT_LE(ink.r.left + TextWidth(ink.text, ink.font), 200);
    joined += ink.text;
  }
  EXPECT_EQ(std::string(80, 'm'), joined);
}

TEST_F(CommentRowTest, WordsKeepTheirLook) {
  // Red (7, 0, 0 in the one-byte colour), bold, 24 points.
  Handle big = Add(NewPlainComment("Heading", 24, true, 0xE0));
  Handle inheriting = Add(NewInheritingComment(18));
  LayOut();
  const CommentBlock heading = LayOutCommentEntry(big, *env);
  ASSERT_EQ(1u, heading.ink.size());
  EXPECT_EQ(24 * M().em / 16, heading.ink[0].font.size);
  EXPECT_TRUE(heading.ink[0].font.bold);
  EXPECT_EQ((RgbColor{255, 0, 0}), heading.ink[0].color);
  for (const CommentInk& ink : LayOutCommentEntry(inheriting, *env).ink)
    EXPECT_EQ(18 * M().em / 16, ink.font.size) << ink.text << " takes its surroundings' size";

  InkPort port;
  DrawNotebook(main, *env, port, Rect{-10000, -10000, 10000, 10000});
  bool redHeading = false;
  for (const InkPort::Text& t : port.texts) redHeading |= t.text == "Heading" && t.color.red == 255;
  EXPECT_TRUE(redHeading);
  EXPECT_EQ(kBlack, port.foreground()) << "the colour is put back";
}

TEST_F(CommentRowTest, ConstructsAreBoxesInTheLine) {
  Handle comment = Add(NewConstructsComment());
  LayOut();
  const CommentBlock block = LayOutCommentEntry(comment, *env);
  int brackets = 0, frames = 0, lines = 0;
  std::vector<const CommentInk*> texts;
  for (const CommentInk& ink : block.ink) {
    brackets += ink.kind == CommentInk::Kind::kBracket;
    frames += ink.kind == CommentInk::Kind::kFrame;
    lines += ink.kind == CommentInk::Kind::kLine;
    if (ink.kind == CommentInk::Kind::kText) texts.push_back(&ink);
  }
  EXPECT_EQ(2, brackets) << "the fence";
  EXPECT_EQ(1, frames) << "the picture";
  EXPECT_EQ(3, lines) << "the fraction bar and the picture's diagonals";
  auto find = [&](const std::string& text) {
    for (const CommentInk* ink : texts)
      if (ink->text == text) return ink;
    ADD_FAILURE() << text << " not drawn";
    return texts.front();
  };
  // The fraction: a above b. The script: 2 raised beside e.
  EXPECT_LT(find("a")->r.top, find("b")->r.top);
  EXPECT_EQ(find("a")->r.left, find("b")->r.left);
  EXPECT_LT(find("2")->r.top, find("e")->r.top);
  EXPECT_GT(find("2")->r.left, find("e")->r.left);
  // The nested paragraph starts a line of its own, below everything else.
  const CommentInk* below = find("Below.");
  EXPECT_EQ(0, below->r.left);
  for (const CommentInk* ink : texts) {
    if (ink == below) continue;
    EXPECT_LT(ink->r.top, below->r.top) << ink->text;
  }
  EXPECT_EQ(2, block.lines);
  EXPECT_GT(block.height, 2 * MeasureFontExtents(find("Let")->font).Height())
      << "the grid and the fraction make the first line taller";
}

TEST_F(CommentRowTest, TheRowHoldsTheIconAndTheContent) {
  ShowIcons(true);
  Handle empty = Add(NewObj(kComment, 0));
  Handle text = Add(NewPlainComment(Words(300)));
  Handle indented = Add(NewPlainComment(Words(300)), 3);
  LayOut();
  const int32_t icon = M().iconSize;
  // Without content the row still has its icon and one line.
  EXPECT_GE(BoxOf(empty).Height(), icon + 2 * M().u);
  EXPECT_EQ(icon + 2 * M().parenBase, BoxOf(empty).Width());
  // The text wraps inside the page, the indented one further in.
  const int32_t page = PrintableWidthUnits(M());
  EXPECT_LE(BoxOf(text).right, page);
  EXPECT_LE(BoxOf(indented).right, page);
  EXPECT_GT(BoxOf(text).Width(), BoxOf(indented).Width());
  EXPECT_EQ(CommentWrapWidth(text, M()) - 3 * icon, CommentWrapWidth(indented, M()));

  InkPort port;
  DrawNotebook(main, *env, port, Rect{-10000, -10000, 10000, 10000});
  EXPECT_EQ(3, port.Count("image")) << "one comment icon per row";
}

}  // namespace
}  // namespace lemmabox::testing
