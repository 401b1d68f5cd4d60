// The comment text model: lines and units over the tree, and the changes
// that keep the tree in the arrangement a comment file reads back.
#include "editor/comment_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/comment_writer.h"

namespace lemmabox {
namespace {

CommentNode W(const std::string& text) {
  return MakeCommentWord(text);
}
CommentNode P(std::vector<CommentNode> children) {
  return MakeCommentParagraph(std::move(children));
}
std::string D(const CommentNode& node) {
  return DescribeCommentNode(node);
}

// root [a, P[b c], d]: three lines, the middle one a paragraph of its own.
CommentNode Mixed() {
  return P({W("a"), P({W("b"), MakeCommentSpace(), W("c")}), W("d")});
}

TEST(CommentText, LinesAndUnits) {
  const CommentNode root = Mixed();
  const std::vector<CommentLine> lines = CommentLines(root);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].paragraph, (CommentPath{1}));
  EXPECT_EQ(lines[1].firstUnit, 2);
  EXPECT_EQ(lines[1].units, 3);
  EXPECT_EQ(CommentUnitCount(root), 7);  // a | b _ c | d
  for (int32_t unit = 0; unit <= 7; ++unit)
    EXPECT_EQ(UnitOfPlace(root, PlaceOfUnit(root, unit)), unit) << unit;
  // A caret after a word stays in the word.
  EXPECT_EQ(PlaceOfUnit(root, 3), (CommentPlace{{1}, 0, 1}));
  EXPECT_EQ(CommentLines(P({})).size(), 1u);
}

TEST(CommentText, ChangesKeepTheArrangementAFileReadsBack) {
  const struct {
    const char* name;
    CommentNode (*change)();
    const char* tree;
  } cases[] = {
      {"typing joins a word",
       [] {
         CommentNode root = P({W("ab")});
         InsertCommentNodes(root, 1, {W("x")});
         return root;
       },
       R"(P(0,0,0,r0)[W"axb"])"},
      {"a digit parts it as a reader would",
       [] {
         CommentNode root = P({W("ab")});
         InsertCommentNodes(root, 2, {W("2")});
         return root;
       },
       R"(P(0,0,0,r0)[W"ab" W"2"])"},
      {"a break in a plain comment makes two paragraphs",
       [] {
         CommentNode root = P({W("ab")});
         BreakCommentLine(root, 1);
         return root;
       },
       R"(P(0,0,0,r0)[P(0,0,0,r0)[W"a"] P(0,0,0,r0)[W"b"]])"},
      {"a break in a paragraph of its own parts it",
       [] {
         CommentNode root = Mixed();
         BreakCommentLine(root, 3);
         return root;
       },
       R"(P(0,0,0,r0)[W"a" P(0,0,0,r0)[W"b"] P(0,0,0,r0)[_ W"c"] W"d"])"},
      {"deleting a break joins the next line in",
       [] {
         CommentNode root = Mixed();
         DeleteCommentUnits(root, 1, 2);
         return root;
       },
       R"(P(0,0,0,r0)[P(0,0,0,r0)[W"ab" _ W"c"] W"d"])"},
      {"deleting across lines",
       [] {
         CommentNode root = Mixed();
         DeleteCommentUnits(root, 0, 4);
         return root;
       },
       R"(P(0,0,0,r0)[P(0,0,0,r0)[W"c"] W"d"])"},
      {"a run emptied among paragraphs stays a line",
       [] {
         CommentNode root = Mixed();
         DeleteCommentUnits(root, 6, 7);
         return root;
       },
       R"(P(0,0,0,r0)[W"a" P(0,0,0,r0)[W"b" _ W"c"] P(0,0,0,r0)[]])"},
      {"deleting everything",
       [] {
         CommentNode root = Mixed();
         DeleteCommentUnits(root, 0, 7);
         return root;
       },
       R"(P(0,0,0,r0)[P(0,0,0,r0)[]])"},
  };
  for (const auto& c : cases) EXPECT_EQ(D(c.change()), c.tree) << c.name;
}

TEST(CommentText, RestyleCutsWordsAtTheRangeAndJoinsThemBack) {
  CommentNode root = P({W("abcd")});
  auto bold = [](NodeStyle& style) {
    StyleBits bits = style.record.Bits();
    bits.a[0] = 1;
    style.record.SetBits(bits);
  };
  RestyleCommentUnits(root, 1, 3, bold);
  ASSERT_EQ(root.children.size(), 3u);
  EXPECT_EQ(root.children[1].text, "bc");
  EXPECT_EQ(root.children[1].style.record.Bits().a[0], 1);
  RestyleCommentUnits(root, 0, 4, bold);
  ASSERT_EQ(root.children.size(), 1u);  // one look again: one word
  EXPECT_EQ(root.children[0].text, "abcd");
}

TEST(CommentText, CopyAndWordsAround) {
  const CommentNode root = Mixed();
  EXPECT_EQ(D(CopyCommentUnits(root, 3, 5)), R"(P(0,0,0,r0)[_ W"c"])");
  EXPECT_EQ(D(CopyCommentUnits(root, 0, 3)), R"(P(0,0,0,r0)[P(0,0,0,r0)[W"a"] P(0,0,0,r0)[W"b"]])");
  const CommentNode text = P({W("ab"), W("12"), MakeCommentSpace(), W("cd")});
  EXPECT_EQ(CommentWordAround(text, 1), (std::pair<int32_t, int32_t>{0, 4}));
  EXPECT_EQ(CommentWordAround(text, 4), (std::pair<int32_t, int32_t>{0, 4}));
  EXPECT_EQ(CommentWordAround(text, 6), (std::pair<int32_t, int32_t>{5, 7}));
}

TEST(CommentText, WordPiecesMatchWhatTheWriterCounts) {
  const std::string texts[] = {"abc",   "x2y", "don't", std::string(40, 'a'), std::string(100, '7'),
                               "\xB9r2"};
  for (const std::string& text : texts) {
    EXPECT_EQ(WordPiecesAsRead(text).size(), WordReadBackCount(text)) << text;
    std::string joined;
    for (const std::string& piece : WordPiecesAsRead(text)) joined += piece;
    EXPECT_EQ(joined, text);
  }
}

}  // namespace
}  // namespace lemmabox
