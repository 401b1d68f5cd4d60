// What the comment writer puts out: the exact form, state commands only on
// change, the font table, line breaks, the tokens chosen, and what it
// refuses to write.
#include "editor/comment_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/comment_reader.h"
#include "editor/compact_integer.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

CommentTree TreeOf(std::vector<CommentNode> nodes) {
  CommentTree tree = NewCommentTree();
  tree.root.children = std::move(nodes);
  return tree;
}

std::vector<CommentNode> Nodes(std::initializer_list<CommentNode> list) {
  return list;
}

// What the writer emits between the words "ab" and "cd".
std::string Between(const NodeStyle& first, const NodeStyle& second) {
  const std::string text =
      CommentFormText(TreeOf(Nodes({MakeCommentWord("ab", first), MakeCommentWord("cd", second)})));
  const size_t from = text.find("ab") + 2;
  return text.substr(from, text.find("cd", from) - from);
}

NodeStyle Styled(const char* font, char fontClass, int32_t size, uint8_t colour, StyleBits bits) {
  NodeStyle style;
  style.record.SetFontName(font);
  style.fontClass = fontClass;
  style.record.SetSize(size);
  style.colour = colour;
  style.record.SetBits(bits);
  return style;
}

TEST(CommentWriter, ExactFormOfAOneWordComment) {
  const CommentTree tree = TreeOf(Nodes({MakeCommentWord("Hi")}));
  EXPECT_EQ(CommentFormText(tree),
            "]|Expr|[#b @`bb#_b#_b#_}`f }\" Times|: ;,& )!   Hi}|\n  |  WW}]|[");
  CommentWriteOptions options;
  options.lineTag = "";
  options.background.reset();
  EXPECT_EQ(CommentFormText(tree, options),
            "]|Expr|[#b @`b___}`f }\" Times|: ;,& )!   Hi}||  WW}]|[");
}

TEST(CommentWriter, StateCommandsOnlyForWhatChanged) {
  const NodeStyle plain;
  const struct {
    const char* what;
    NodeStyle second;
    std::string between;
  } cases[] = {
      {"nothing: the runs are kept apart", plain, "||"},
      {"colour", Styled("Times", 't', 12, 0xE0, {}), "`fb#@}"},
      {"size", Styled("Times", 't', 14, 0, {}), ";."},
      {"style bits", Styled("Times", 't', 12, 0, {{1, 0, 0, 0, 0, 0}, 0, 0}), "&!"},
      {"font", Styled("Helvetica", 't', 12, 0, {}), "\"!Helvetica|:!"},
      {"font class", Styled("Times", 's', 12, 0, {}), "\"!Times^:!"},
      {"the default font's alias", Styled("*", 't', 12, 0, {}), "||"},
      {"size and bits", Styled("Times", 't', -1000, 0, {{}, 7, 3}),
       ";" + CompactIntegerText(-1000) + "&" + CompactIntegerText(0x1801C)},
  };
  for (const auto& c : cases) EXPECT_EQ(Between(plain, c.second), c.between) << c.what;
}

TEST(CommentWriter, FontTableIsReusedAndEscapesNames) {
  const NodeStyle times;
  const NodeStyle odd = Styled("A^b|c~\xB9", 's', 12, 0, {});
  CommentWriteOptions options;
  options.lineTag = "";
  std::string text =
      CommentFormText(TreeOf(Nodes({MakeCommentWord("a", times), MakeCommentWord("b", odd),
                                    MakeCommentWord("c", times), MakeCommentWord("d", odd)})),
                      options);
  text.erase(text.find("b||:") + 1, 2);  // the line break
  // Each font is defined once; going back selects it by index.
  EXPECT_NE(text.find("\"!A{" + CompactIntegerText('^') + "b{" + CompactIntegerText('|') + "c{" +
                      CompactIntegerText('~') + "{" + CompactIntegerText(0xB9) + "^:!b: c:!d"),
            std::string::npos)
      << text;
}

TEST(CommentWriter, FiftyFontsFitAndTheFiftyFirstFails) {
  std::vector<CommentNode> words;
  for (int i = 0; i < 50; ++i) {
    words.push_back(
        MakeCommentWord("w", Styled(("Font" + std::to_string(i)).c_str(), 't', 12, 0, {})));
    words.push_back(MakeCommentSpace());  // back to Times, already in the table
  }
  words.pop_back();
  std::string sink = "kept";
  CommentTree tree = TreeOf(words);
  EXPECT_RAISES(kMsgTooManyFontFamilies, WriteComment(tree, sink));  // Times makes 51
  EXPECT_EQ(sink, "kept");
  tree.root.style = words.front().style;
  for (CommentNode& node : tree.root.children) node.style = words.front().style;
  for (int i = 0; i < 49; ++i) tree.root.children[2 * i].style = words[2 * i + 2].style;
  EXPECT_RAISES(0, WriteComment(tree, sink));
  EXPECT_EQ(ReadComment(sink.substr(4)).root, tree.root);
}

TEST(CommentWriter, LongOutputIsBrokenIntoLines) {
  std::vector<CommentNode> nodes;
  for (int i = 0; i < 300; ++i) {
    nodes.push_back(MakeCommentWord(i % 2 ? "word" : "7"));
    nodes.push_back(MakeCommentSpace());
  }
  CommentTree tree = TreeOf(nodes);
  CommentWriteOptions options;
  options.lineTag = "\n";
  const std::string text = CommentFormText(tree, options);
  size_t breaks = 0;
  size_t lineStart = 0;
  for (size_t at = text.find("|\n|"); at != std::string::npos; at = text.find("|\n|", at + 1)) {
    EXPECT_LE(at - lineStart, 60u + 5u);  // a break comes before the node that passes 60
    EXPECT_GT(at - lineStart, 37u);
    lineStart = at + 3;
    ++breaks;
  }
  EXPECT_GE(breaks, text.size() / 66);
  EXPECT_EQ(ReadComment(text).root, tree.root);
}

TEST(CommentWriter, TokensChosenForSequencesAndTemplates) {
  const struct {
    CommentNode node;
    std::string token;
  } cases[] = {
      {MakeCommentSequence({}), "_"},
      {MakeCommentSequence(Nodes({MakeCommentWord("a")})), "^a"},
      {MakeCommentSequence(Nodes({MakeCommentSpace()})), "^ "},
      {MakeCommentSequence(Nodes({MakeCommentWord("ab")})), "(!ab}"},
      {MakeCommentSequence(Nodes({MakeCommentWord("a"), MakeCommentWord("b")})), "(\"a||b}"},
      // "x2" reads back as two words, and the count says so.
      {MakeCommentSequence(Nodes({MakeCommentWord("x2"), MakeCommentSpace()})), "(#x2 }"},
      {MakeCommentTemplate(0x0032, Nodes({MakeCommentWord("a"), MakeCommentWord("b")})),
       "<b Ra||b}"},
      {MakeCommentTemplate(kThreePartTemplate,
                           Nodes({MakeCommentWord("a"), MakeCommentSpace(), MakeCommentWord("b")})),
       "$a b"},
      // A word in a slot that reads back as several words goes in a sequence.
      {MakeCommentPile(Nodes({MakeCommentWord("x2")})), "{!(\"x2}}"},
      {MakeCommentGrid(1, 2, Nodes({MakeCommentWord(""), MakeCommentWord("-")})), "[!\" ( },M}"},
      {MakeCommentTab(), "!"},
      {MakeCommentSpecial('T'), "'b!4"},
      {MakeCommentWideWord({0x3042, 7}), "~\"c#!\"'L}"},
      {MakeCommentPicture("a\n"), "`g\"a,*}"},
  };
  for (const auto& c : cases) {
    CommentWriteOptions options;
    options.lineTag = "";
    const std::string text = CommentFormText(TreeOf(Nodes({c.node})), options);
    const size_t body = text.find(")!   ") + 5;
    EXPECT_EQ(text.substr(body, c.token.size()), c.token) << DescribeCommentNode(c.node);
  }
}

TEST(CommentWriter, RulerListsStopsUpToTheFirstFreeOne) {
  ParagraphFormat format;
  format.settings = {1, 2};
  format.width = 500;
  format.rulerSetting = 3;
  format.tabStops = {{1, 100}, {7, 0x1FFE}, {0, kFreeTabPosition}, {2, 300}};
  CommentTree tree = NewCommentTree();
  tree.root.paragraph = format;
  CommentWriteOptions options;
  options.lineTag = "";
  const std::string text = CommentFormText(tree, options);
  EXPECT_NE(text.find(") !\"" + CompactIntegerText(500) + "}||\"!" + CompactIntegerText(100) + "'" +
                      CompactIntegerText(0x1FFE) + "#WW}"),
            std::string::npos)
      << text;
}

TEST(CommentWriter, SelectionIsWrittenOnRequest) {
  CommentTree tree = TreeOf(Nodes({MakeCommentWord("ab"), MakeCommentSpace()}));
  tree.selection = CommentSelection{{0, 1}, {1}};
  CommentWriteOptions options;
  EXPECT_EQ(CommentFormText(tree, options).find("`c"), std::string::npos);
  options.writeSelection = true;
  const std::string text = CommentFormText(tree, options);
  EXPECT_NE(text.find("`c !W!W}]|["), std::string::npos) << text;
  EXPECT_EQ(ReadComment(text).selection, tree.selection);
}

TEST(CommentWriter, RefusesWhatCannotBeReadBack) {
  CommentNode badGrid = MakeCommentGrid(1, 1, Nodes({MakeCommentSpace()}));
  badGrid.columns = 2;
  CommentNode badTemplate =
      MakeCommentTemplate(0x0032, Nodes({MakeCommentSpace(), MakeCommentSpace()}));
  badTemplate.children.pop_back();
  // The root is the first level; 199 more fit.
  const auto nest = [](CommentNode node, int levels) {
    for (int i = 0; i < levels; ++i) node = MakeCommentSequence(Nodes({node}));
    return node;
  };
  const CommentNode deepest = nest(MakeCommentSpace(), kMaxCommentDepth - 1);
  const CommentNode deep = nest(MakeCommentSpace(), kMaxCommentDepth);
  // A word that goes into a sequence of its own needs a level too.
  const CommentNode deepWord =
      nest(MakeCommentPile(Nodes({MakeCommentWord("a1")})), kMaxCommentDepth - 2);
  const CommentNode deepLetter =
      nest(MakeCommentPile(Nodes({MakeCommentWord("a")})), kMaxCommentDepth - 2);
  CommentNode wide = MakeCommentSequence(std::vector<CommentNode>(32000, MakeCommentSpace()));
  CommentNode tooWide = MakeCommentSequence(std::vector<CommentNode>(16001, MakeCommentWord("a1")));
  CommentNode badStop = MakeCommentParagraph({}, ParagraphFormat{{}, 0, {{8, 1}}, 0});

  std::string sink;
  EXPECT_INTERNAL_ERROR("WriteComment", WriteComment(TreeOf(Nodes({badGrid})), sink));
  EXPECT_INTERNAL_ERROR("WriteComment", WriteComment(TreeOf(Nodes({badTemplate})), sink));
  EXPECT_INTERNAL_ERROR("WriteComment", WriteComment(TreeOf(Nodes({badStop})), sink));
  CommentTree notParagraph;
  notParagraph.root = MakeCommentSpace();
  EXPECT_INTERNAL_ERROR("WriteComment", WriteComment(notParagraph, sink));
  CommentWriteOptions barTag;
  barTag.lineTag = "|";
  EXPECT_INTERNAL_ERROR("WriteComment", WriteComment(NewCommentTree(), sink, barTag));
  EXPECT_RAISES(kMsgTooManyCompositeLevels, WriteComment(TreeOf(Nodes({deep})), sink));
  EXPECT_RAISES(kMsgTooManyCompositeLevels, WriteComment(TreeOf(Nodes({deepWord})), sink));
  EXPECT_RAISES(kMsgExpressionTooLarge, WriteComment(TreeOf(Nodes({tooWide})), sink));
  EXPECT_TRUE(sink.empty());
  for (const CommentNode& fits : {wide, deepest, deepLetter}) {
    sink.clear();
    EXPECT_RAISES(0, WriteComment(TreeOf(Nodes({fits})), sink));
    EXPECT_EQ(ReadComment(sink).root.children.front(), fits);
  }
}

TEST(CommentWriter, ReadBackCountOfWords) {
  const struct {
    std::string text;
    size_t count;
  } cases[] = {
      {"", 0},
      {"abc", 1},
      {"x2", 2},
      {"a-b", 3},
      {"1999", 1},
      {std::string(32, 'a'), 1},
      {std::string(33, 'a'), 2},
      {std::string(95, '9'), 1},
      {std::string(96, '9'), 2},
      {"\xB9\xB0", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(WordReadBackCount(c.text), c.count) << c.text;
}

}  // namespace
}  // namespace lemmabox
