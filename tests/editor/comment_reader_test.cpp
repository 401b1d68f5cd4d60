// Reading comment forms: hand-written forms (current and older), the
// version warning, the reader's own rules, and malformed input.
#include "editor/comment_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/comment_writer.h"
#include "editor/compact_integer.h"
#include "shell/interrupt.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

const std::string kHead = "]|Expr|[#b @";

// A form whose root paragraph holds the given node text.
std::string Root(const std::string& nodes, const std::string& head = kHead) {
  return head + ")    " + nodes + "}  WW}]|[";
}

std::vector<CommentNode> Children(const std::string& form) {
  return ReadComment(form).root.children;
}

std::vector<CommentNode> Nodes(std::initializer_list<CommentNode> list) {
  return list;
}

CommentNode Word(const char* text) {
  return MakeCommentWord(text);
}

using CommentReaderTest = HeadlessTest;

TEST_F(CommentReaderTest, NodeTokens) {
  const struct {
    std::string text;
    std::vector<CommentNode> nodes;
  } cases[] = {
      {"ab", Nodes({Word("ab")})},
      {"x2", Nodes({Word("x"), Word("2")})},
      {"ab||cd", Nodes({Word("ab"), Word("cd")})},
      {",M.Y", Nodes({Word("-"), Word("\xB9")})},
      {" !", Nodes({MakeCommentSpace(), MakeCommentSpace()})},  // a tab reads as a space
      {"'b!4'b#3'!", Nodes({MakeCommentSpecial(kSpecialT), MakeCommentSpecial(kSpecialS),
                            MakeCommentSpecial(kSpecialS)})},
      {"~\"c#!\"'L}~!b-!B}",
       Nodes({MakeCommentWideWord({0x3042, 7}), MakeCommentWideWord({0x4103})})},
      {"_^a^ (\"a||b}", Nodes({MakeCommentSequence({}), MakeCommentSequence(Nodes({Word("a")})),
                               MakeCommentSequence(Nodes({MakeCommentSpace()})),
                               MakeCommentSequence(Nodes({Word("a"), Word("b")}))})},
      // The count of a sequence is only what to expect.
      {"(%a}", Nodes({MakeCommentSequence(Nodes({Word("a")}))})},
      {"{\"a||b}", Nodes({MakeCommentPile(Nodes({Word("a"), Word("b")}))})},
      {"[!\" a||b}", Nodes({MakeCommentGrid(1, 2, Nodes({Word("a"), Word("b")}))})},
      {"$a b", Nodes({MakeCommentTemplate(kThreePartTemplate,
                                          Nodes({Word("a"), MakeCommentSpace(), Word("b")}))})},
      {"<b Ra||b}", Nodes({MakeCommentTemplate(0x0032, Nodes({Word("a"), Word("b")}))})},
      {"`g\"a,*}", Nodes({MakeCommentPicture("a\n")})},
      {"`g#a|\n|b,*}", Nodes({MakeCommentPicture("ab\n")})},
      {"`h  a}`h!x{b!!~y}", Nodes({MakeCommentFence(kPlainFenceStyle, Word("a")),
                                   MakeCommentFence(kPlainFenceStyle, Word("y"))})},
      {") !\" }  WW}", Nodes({MakeCommentParagraph({}, ParagraphFormat{{1, 2}, 0, {}, 0})})},
  };
  for (const auto& c : cases) EXPECT_EQ(Children(Root(c.text)), c.nodes) << c.text;
}

TEST_F(CommentReaderTest, StateCommandsSetTheStyleOfWhatFollows) {
  const std::vector<CommentNode> nodes =
      Children(Root("a`fb#@}b\" Helvetica^: c;.d&!e=c @ f@!\"g:#h\"!Sym~:!i:_j"));
  ASSERT_EQ(nodes.size(), 10u);
  EXPECT_EQ(nodes[0].style, NodeStyle{});
  EXPECT_EQ(nodes[1].style.colour, 0xE0);
  EXPECT_EQ(nodes[2].style.record.FontName(), "Helvetica");
  EXPECT_EQ(nodes[2].style.fontClass, kFontClassSymbol);
  EXPECT_EQ(nodes[2].style.colour, 0xE0);  // the state carries on
  EXPECT_EQ(nodes[3].style.record.Size(), 14);
  EXPECT_EQ(nodes[4].style.record.Bits(), (StyleBits{{1, 0, 0, 0, 0, 0}, 0, 0}));
  // The older packing: bit 11 is S = 1.
  EXPECT_EQ(nodes[5].style.record.Bits(), (StyleBits{{}, 1, 0}));
  EXPECT_EQ(nodes[6].style, nodes[5].style);  // '@' changes nothing
  // Index 3 is beyond the table: no font, class unknown.
  EXPECT_EQ(nodes[7].style.record.FontName(), "");
  EXPECT_EQ(nodes[7].style.fontClass, kFontClassUnknown);
  EXPECT_EQ(nodes[8].style.record.FontName(), "Sym");
  EXPECT_EQ(nodes[8].style.fontClass, kFontClassMapped);
  EXPECT_EQ(nodes[9].style.fontClass, kFontClassUnknown);  // a negative index
}

TEST_F(CommentReaderTest, UnknownCommandsAndLineTagsAreSkipped) {
  EXPECT_EQ(Children(Root("a#xyz}b%}c`zq}d|any\n\x01text|e?{}f")),
            Nodes({Word("a"), Word("b"), Word("c"), Word("d"), Word("e"), Word("f")}));
  // A line tag may also come before a ruler.
  EXPECT_EQ(ReadComment(kHead + ")    a}|\n  |  WW}]|[").root.children, Nodes({Word("a")}));
}

TEST_F(CommentReaderTest, TemplatesOutsideTheirFamiliesBecomeRows) {
  const CommentNode a = Word("a");
  const CommentNode b = Word("b");
  EXPECT_EQ(Children(Root("<b Ba||b}")),  // family 0, style 2: script-like
            Nodes({MakeCommentTemplate(0x0022, Nodes({a, b}))}));
  EXPECT_EQ(Children(Root("<b!\"a||b}")),  // family 0, style 4: not a construct
            Nodes({MakeCommentGrid(1, 2, Nodes({a, b}))}));
  EXPECT_EQ(Children(Root("<c% !a}")),  // family 5 with one child
            Nodes({MakeCommentTemplate(0x5001, Nodes({a}))}));
  EXPECT_EQ(Children(Root("<c%  }")),  // family 5 needs a child
            Nodes({MakeCommentGrid(1, 0, {})}));
  EXPECT_EQ(Children(Root("<c!$\"a }")),  // family 1 with two children
            Nodes({MakeCommentGrid(1, 2, Nodes({a, MakeCommentSpace()}))}));
  // A four-child template's second child is always a sequence.
  EXPECT_EQ(
      Children(Root("<c% $a b_}")),
      Nodes({MakeCommentTemplate(0x5004, Nodes({a, MakeCommentSequence(Nodes({MakeCommentSpace()})),
                                                b, MakeCommentSequence({})}))}));
}

TEST_F(CommentReaderTest, RulerStops) {
  const auto stopsOf = [](const std::string& ruler) {
    return ReadComment(kHead + ")    }" + ruler + " WW}]|[").root.paragraph.tabStops;
  };
  const std::string first = "!" + CompactIntegerText(100);
  EXPECT_EQ(stopsOf("\"" + first + "\"" + CompactIntegerText(101)),
            (std::vector<TabStop>{{1, 100}, {2, 101}}));
  // A free stop ends the list.
  EXPECT_EQ(stopsOf("#" + first + " " + CompactIntegerText(kFreeTabPosition) + "\"" +
                    CompactIntegerText(300)),
            (std::vector<TabStop>{{1, 100}}));
  std::string ten = "*";
  for (int i = 0; i < 9; ++i) ten += "!" + CompactIntegerText(100 + i);
  // Older writers closed a full ruler with 0x1E80 in the tenth stop.
  EXPECT_EQ(stopsOf(ten + "!" + CompactIntegerText(0x1E80)).size(), 9u);
  EXPECT_EQ(stopsOf(ten + "!" + CompactIntegerText(0x1E7F)).size(), 10u);
}

TEST_F(CommentReaderTest, OlderForm) {
  // One character per word; a sequence reads exactly its count with no end;
  // templates end with '>', piles with '}' and grids with ']' '}'.
  const std::string form = "]|Expr|[)#   ab(\"cd<b Rxy>{!z}[!! w]}}  WW}]|[";
  EXPECT_EQ(
      ReadComment(form).root.children,
      Nodes({Word("a"), Word("b"), MakeCommentSequence(Nodes({Word("c"), Word("d")})),
             MakeCommentTemplate(0x0032, Nodes({Word("x"), Word("y")})),
             MakeCommentPile(Nodes({Word("z")})), MakeCommentGrid(1, 1, Nodes({Word("w")}))}));
  // The older closers mean nothing in the current form and the older form
  // does not know them elsewhere.
  EXPECT_EQ(Children(Root("a>junk}b]x}c")), Nodes({Word("a"), Word("b"), Word("c")}));
  EXPECT_RAISES(kMsgCorruptData, ReadComment("]|Expr|[)    a>}  WW}]|["));
  EXPECT_RAISES(kMsgCorruptData, ReadComment("]|Expr|[)    {!a }}  WW}]|["));
}

TEST_F(CommentReaderTest, VersionAboveFortyNineWarnsAndReadsOn) {
  for (int32_t version : {32, 49, 50, 2000}) {
    platform.boxes.clear();
    const std::string head = "]|Expr|[#" + CompactIntegerText(version);
    EXPECT_EQ(Children(Root("ab", head)), Nodes({Word("ab")})) << version;
    EXPECT_EQ(platform.boxes.size(), version > 49 ? 1u : 0u) << version;
  }
}

TEST_F(CommentReaderTest, SelectionPathsAreKeptWhereTheyLead) {
  const std::string body = ")    ab ^c}  WW}";
  const auto selectionOf = [&](const std::string& paths) {
    return ReadComment(kHead + body + paths + "]|[").selection;
  };
  EXPECT_FALSE(selectionOf("").has_value());
  EXPECT_EQ(selectionOf("`c !W\" W}"), (CommentSelection{{0, 1}, {2, 0}}));
  // An index out of range ends its path; the last pair wins.
  EXPECT_EQ(selectionOf("`c$ W_W}`c #W\"!W}"), (CommentSelection{{0}, {2}}));
  EXPECT_RAISES(kMsgCorruptData, selectionOf("`c W W"));
}

TEST_F(CommentReaderTest, BackgroundAndLengthOfTheForm) {
  const std::string form = "]|Expr|[#b @`bb#_ b#@}" + std::string(")    a}  WW}]|[");
  size_t consumed = 0;
  const CommentTree tree = ReadComment(form + "rest of the file", &consumed);
  EXPECT_EQ(consumed, form.size());
  EXPECT_EQ(tree.background, (Rgb{255, 0, 224}));
  EXPECT_FALSE(ReadComment(Root("`b___}a")).background.has_value());
}

TEST_F(CommentReaderTest, FindsTheFormInsideOtherText) {
  const std::string form = Root("ab");
  const std::optional<CommentTree> found = FindCommentForm("pasted text " + form + " more");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->root.children, Nodes({Word("ab")}));
  EXPECT_FALSE(FindCommentForm("no form ]|Expr| here").has_value());
  EXPECT_RAISES(kMsgCorruptData, FindCommentForm("x]|Expr|[#b @)  "));
}

TEST_F(CommentReaderTest, EscapeCancelsReading) {
  ResetInterruptCheck();
  platform.escapeHeld = true;
  platform.autoAdvanceMs = 1000;
  EXPECT_RAISES(kMsgUserInterrupt, ReadComment(Root("ab cd ef gh")));
  ResetInterruptCheck();
}

TEST_F(CommentReaderTest, TooManyFontsRaise) {
  std::string fonts;
  for (int i = 0; i < 50; ++i)
    fonts += "\"" + CompactIntegerText(i) + "F" + std::to_string(i) + "|";
  EXPECT_RAISES(0, ReadComment(Root(fonts + "a")));
  EXPECT_RAISES(kMsgTooManyFontFamilies,
                ReadComment(Root(fonts + "\"" + CompactIntegerText(50) + "F50|a")));
}

TEST_F(CommentReaderTest, MalformedFormsRaiseCorruptData) {
  std::string deep(kMaxCommentDepth - 1, '^');
  const std::string many = "(b ^" + std::string(kMaxCommentChildren + 1, ' ') + "}";
  const std::string cases[] = {
      "",
      "]|Expr|",
      "]|Expx|[#b @)    }  WW}]|[",
      Root("a").substr(0, Root("a").size() - 1),  // no closing mark
      Root("a").replace(Root("a").size() - 3, 3, "]|]"),
      kHead + "}]|[",                                 // nothing to close
      Root("a\x01"),                                  // a control character
      Root("a\x7F"),                                  // DEL
      Root("a\xC3"),                                  // not 7-bit
      Root("\"! Times|"),                             // font index out of order
      Root(":\x01"),                                  // bad compact integer
      Root("`"),                                      // a grave at the end
      Root("`h\"a}"),                                 // a fence with an unknown header
      Root("`h!abc"),                                 // ... whose text never ends
      Root("~!!Xa"),                                  // a double-byte word without its end
      Root("~!!1}"),                                  // ... with no order letter
      Root("`g$a~}"),                                 // a picture byte that is no byte
      Root("`g$a}"),                                  // a picture shorter than its count
      Root("{\"a}"),                                  // a pile closed early
      Root("[\"\" ab}"),                              // a grid closed early
      Root("<b Ra"),                                  // a template with no end
      Root("{A}"),                                    // a negative count
      Root("[" + CompactIntegerText(32001) + "! }"),  // a grid too wide
      kHead + ")    }+  WW}]|[",                      // too many tab stops
      kHead + ")    }!( !WW}]|[",                     // a tab stop kind above 7
      kHead + ")    }!!d!   WW}]|[",                  // a tab stop beyond 0x1FFF
      kHead + ")    }  WW]|[",                        // a ruler without its end
      Root(";f\"     "),                              // a size beyond 32 bits
      Root(many),                                     // more than 32000 children
      Root(deep + "^a"),                              // nested too deep
      Root("#unknown command that never ends"),
  };
  for (const std::string& text : cases) EXPECT_RAISES(kMsgCorruptData, ReadComment(text)) << text;
  EXPECT_RAISES(0, ReadComment(Root(deep + "a")));
}

// Whatever is cut off, the reader notices; nothing but 13148 comes out.
TEST_F(CommentReaderTest, EveryTruncationRaisesCorruptData) {
  CommentTree tree = NewCommentTree();
  NodeStyle odd;
  odd.record.SetFontName("Odd{}");
  odd.colour = 0x1C;
  tree.root.children =
      Nodes({MakeCommentWord("Hello"), MakeCommentSpace(odd), MakeCommentPicture("\x01\x02pic"),
             MakeCommentWideWord({0x8140}),
             MakeCommentGrid(1, 2, Nodes({MakeCommentWord("1"), MakeCommentSequence({})})),
             MakeCommentFence(0x22, MakeCommentPile(Nodes({MakeCommentWord("z", odd)}))),
             MakeCommentParagraph(Nodes({MakeCommentSpecial(kSpecialT)}),
                                  ParagraphFormat{{1, 1}, 300, {{1, 40}}, 2})});
  tree.selection = CommentSelection{{0, 2}, {4, 1}};
  CommentWriteOptions options;
  options.writeSelection = true;
  const std::string form = CommentFormText(tree, options);
  ASSERT_EQ(ReadComment(form).root, tree.root);
  for (size_t length = 0; length < form.size(); ++length) {
    EXPECT_RAISES(kMsgCorruptData, ReadComment(form.substr(0, length))) << length;
  }
}

}  // namespace
}  // namespace lemmabox
