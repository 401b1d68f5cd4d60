// Plain text into comments and back.
#include "editor/comment_plain_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/comment_reader.h"
#include "editor/comment_writer.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

std::vector<CommentNode> Nodes(std::initializer_list<CommentNode> list) {
  return list;
}

TEST(CommentPlainText, LinesWordsSpacesAndTabs) {
  EXPECT_EQ(CommentFromPlainText("").root.children, Nodes({}));
  EXPECT_EQ(CommentFromPlainText("a  b\tc.d").root.children,
            Nodes({MakeCommentWord("a"), MakeCommentSpace(), MakeCommentSpace(),
                   MakeCommentWord("b"), MakeCommentTab(), MakeCommentWord("c.d")}));
  // Every kind of line end makes a paragraph; a final one leaves an empty line.
  EXPECT_EQ(
      CommentFromPlainText("one\r\ntwo\rthree\n").root.children,
      Nodes({MakeCommentParagraph(Nodes({MakeCommentWord("one")})),
             MakeCommentParagraph(Nodes({MakeCommentWord("two")})),
             MakeCommentParagraph(Nodes({MakeCommentWord("three")})), MakeCommentParagraph({})}));
  NodeStyle blue;
  blue.colour = 0x03;
  const CommentTree styled = CommentFromPlainText("x y", blue);
  EXPECT_EQ(styled.root.style, blue);
  for (const CommentNode& node : styled.root.children) EXPECT_EQ(node.style, blue);
}

TEST(CommentPlainText, TextSurvivesTheTripThroughAComment) {
  for (const std::string text :
       {"", "plain", "Let x = 2y + 1, then x > 0.", "two\nlines", "\n\nblank lines\n\n",
        " leading and trailing ", "symbols \xB9 \xB0 \xA1 and 8-bit bytes"}) {
    const CommentTree tree = CommentFromPlainText(text);
    EXPECT_EQ(PlainTextFromComment(tree.root), text);
    EXPECT_EQ(PlainTextFromComment(ReadComment(CommentFormText(tree)).root), text);
  }
  EXPECT_EQ(PlainTextFromComment(CommentFromPlainText("a\r\nb").root), "a\nb");
}

TEST(CommentPlainText, TextOfConstructs) {
  CommentTree tree = NewCommentTree();
  tree.root.children = Nodes({
      MakeCommentWord("x"),
      MakeCommentTemplate(0x0032, Nodes({MakeCommentWord("1"), MakeCommentWord("2")})),
      MakeCommentPile(Nodes({MakeCommentWord("top"), MakeCommentWord("bottom")})),
      MakeCommentGrid(1, 2, Nodes({MakeCommentWord("a"), MakeCommentWord("b")})),
      MakeCommentPicture("ignored"),
      MakeCommentSpecial(kSpecialT),
      MakeCommentWideWord({0xA082, 0x0041}),
      MakeCommentParagraph(Nodes({MakeCommentWord("next")})),
      MakeCommentWord("last"),
  });
  EXPECT_EQ(PlainTextFromComment(tree.root),
            "x12top bottoma b\x82\xA0"
            "A\nnext\nlast");
}

// Any text can be put in a comment, however long its lines or words, and
// written and read back.
TEST(CommentPlainText, HugeTextStillFitsTheForm) {
  std::string line;
  for (int i = 0; i < 20000; ++i) line += "a1 ";
  const std::string text = line + "\n" + std::string(5000, '.');
  const CommentTree tree = CommentFromPlainText(text);
  std::string form;
  EXPECT_RAISES(0, form = CommentFormText(tree));
  std::string back = PlainTextFromComment(tree.root);
  EXPECT_EQ(PlainTextFromComment(ReadComment(form).root), back);
  // Lines too long for one paragraph continue in the next.
  EXPECT_GT(back.size(), text.size());
  std::erase(back, '\n');
  std::string flat = text;
  std::erase(flat, '\n');
  EXPECT_EQ(back, flat);
}

}  // namespace
}  // namespace lemmabox
