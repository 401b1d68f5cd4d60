// Trees written and read back: every node kind, seeded random trees, the
// normalisations the form makes, and damaged forms.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/comment_reader.h"
#include "editor/comment_writer.h"
#include "editor/compact_integer.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

std::vector<CommentNode> Nodes(std::initializer_list<CommentNode> list) {
  return list;
}

CommentNode ReadBack(const CommentTree& tree, const CommentWriteOptions& options = {}) {
  return ReadComment(CommentFormText(tree, options)).root;
}

CommentTree TreeOf(std::vector<CommentNode> nodes) {
  CommentTree tree = NewCommentTree();
  tree.root.children = std::move(nodes);
  return tree;
}

// Random trees. A canonical tree uses only what the form carries exactly, so
// it must read back equal; any other tree must at least keep every
// character and settle after one trip.
class TreeMaker {
 public:
  TreeMaker(uint32_t seed, bool canonical) : random_(seed), canonical_(canonical) {
    const char* fonts[] = {"Times", "Helvetica", "Symbol", "Courier New", "A{b}|c^~\x01\xB9"};
    for (const char* font : fonts) {
      for (char fontClass : {kFontClassText, kFontClassSymbol}) {
        NodeStyle style;
        style.record.SetFontName(font);
        style.fontClass = fontClass;
        styles_.push_back(style);
      }
    }
    if (!canonical) {
      NodeStyle alias;
      alias.record.SetFontName("*");
      NodeStyle mapped;
      mapped.fontClass = kFontClassMapped;
      styles_.push_back(alias);
      styles_.push_back(mapped);
    }
  }

  CommentTree Tree() {
    CommentTree tree = NewCommentTree(Style());
    tree.root.paragraph = Format();
    tree.root.children = List(0, 12);
    return tree;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  NodeStyle Style() {
    NodeStyle style = styles_[Pick(static_cast<int>(styles_.size()))];
    const int32_t sizes[] = {12, 12, 9, kSurroundingsSize, 0, 100000, -5};
    style.record.SetSize(sizes[Pick(7)]);
    if (Pick(3) == 0) {
      StyleBits bits;
      for (auto& a : bits.a) a = static_cast<uint8_t>(Pick(4));
      bits.s = static_cast<uint8_t>(Pick(8));
      bits.t = static_cast<uint8_t>(Pick(4));
      style.record.SetBits(bits);
    }
    if (Pick(3) == 0) style.colour = static_cast<uint8_t>(Pick(256));
    return style;
  }

  std::string Text() {
    std::string text;
    if (!canonical_) {
      const int length = Pick(45);
      for (int i = 0; i < length; ++i)
        text.push_back(static_cast<char>(Pick(4) ? 'a' + Pick(3) : Pick(256)));
      return text;
    }
    switch (Pick(3)) {
      case 0:
        for (int i = Pick(static_cast<int>(kMaxWordLetters)); i >= 0; --i) {
          text.push_back(static_cast<char>(Pick(2) ? 'a' + Pick(26) : 'A' + Pick(26)));
        }
        return text;
      case 1:
        for (int i = Pick(static_cast<int>(kMaxWordDigits)); i >= 0; --i) {
          text.push_back(static_cast<char>('0' + Pick(10)));
        }
        return text;
      default: {
        char c;
        do c = static_cast<char>(Pick(256));
        while (IsPlainWordChar(static_cast<unsigned char>(c)));
        return std::string(1, c);
      }
    }
  }

  ParagraphFormat Format() {
    ParagraphFormat format;
    format.settings = {static_cast<uint8_t>(Pick(256)), static_cast<uint8_t>(Pick(3))};
    format.width = Pick(2) ? Pick(2000) : -Pick(70000);
    format.rulerSetting = static_cast<uint8_t>(Pick(256));
    const int stops = Pick(static_cast<int>(kMaxTabStops) + (canonical_ ? 1 : 4));
    for (int i = 0; i < stops; ++i) {
      TabStop stop{static_cast<uint8_t>(Pick(8)), static_cast<uint16_t>(Pick(0x1E00))};
      if (!canonical_ && Pick(4) == 0) stop.position = kFreeTabPosition;
      format.tabStops.push_back(stop);
    }
    return format;
  }

  std::vector<CommentNode> List(int depth, int most) {
    std::vector<CommentNode> nodes;
    for (int n = Pick(most + 1); n > 0; --n) nodes.push_back(Node(depth + 1));
    return nodes;
  }

  CommentNode Node(int depth) {
    const NodeStyle style = Style();
    const int kinds = depth > 4 ? 7 : 14;
    switch (Pick(kinds)) {
      case 0:
      case 1:
        return MakeCommentWord(Text(), style);
      case 2:
        return MakeCommentSpace(style);
      case 3:
        if (canonical_) return MakeCommentSpecial(Pick(2) ? kSpecialT : kSpecialS, style);
        return Pick(2) ? MakeCommentTab(style) : MakeCommentSpecial(Pick(1000) - 500, style);
      case 4: {
        std::string bytes;
        for (int i = Pick(150); i > 0; --i) bytes.push_back(static_cast<char>(Pick(256)));
        return MakeCommentPicture(bytes, style);
      }
      case 5: {
        std::vector<uint16_t> codes;
        for (int i = Pick(5); i > 0; --i) codes.push_back(static_cast<uint16_t>(Pick(65536)));
        return MakeCommentWideWord(codes, style);
      }
      case 6:
        return MakeCommentSequence(List(depth, 5), style);
      case 7:
        return MakeCommentPile(Slots(depth, 1 + Pick(3)), style);
      case 8: {
        const int rows = Pick(3);
        const int columns = 1 + Pick(3);
        return MakeCommentGrid(rows, columns, Slots(depth, rows * columns), style);
      }
      case 9:
        return MakeCommentParagraph(List(depth, 6), Format(), style);
      default:
        return Template(depth, style);
    }
  }

  std::vector<CommentNode> Slots(int depth, int count) {
    std::vector<CommentNode> nodes;
    for (int i = 0; i < count; ++i) nodes.push_back(Node(depth + 1));
    return nodes;
  }

  CommentNode Template(int depth, const NodeStyle& style) {
    const uint16_t codes[] = {MakeTemplateCode(1, Pick(256), 1), MakeTemplateCode(2, Pick(256), 3),
                              MakeTemplateCode(4, Pick(256), 1), MakeTemplateCode(5, Pick(256), 2),
                              MakeTemplateCode(5, Pick(256), 4), kThreePartTemplate,
                              MakeTemplateCode(0, 3, 2),         MakeTemplateCode(0, 6, 2),
                              MakeTemplateCode(3, 1, Pick(3))};  // not a construct
    const uint16_t code = codes[Pick(canonical_ ? 8 : 9)];
    std::vector<CommentNode> slots = Slots(depth, TemplateCount(code));
    if (canonical_ && slots.size() == 4 && slots[1].kind != CommentNodeKind::kSequence) {
      slots[1] = MakeCommentSequence(Nodes({slots[1]}), slots[1].style);
    }
    return MakeCommentTemplate(code, std::move(slots), style);
  }

  std::mt19937 random_;
  bool canonical_;
  std::vector<NodeStyle> styles_;
};

// The characters of every word, in order.
void CollectText(const CommentNode& node, std::string& out) {
  if (node.kind == CommentNodeKind::kWord) out += node.text;
  for (const CommentNode& child : node.children) CollectText(child, out);
}

TEST(CommentRoundTrip, EveryNodeKind) {
  NodeStyle red;
  red.colour = 0xE0;
  red.record.SetFontName("Symbol");
  red.fontClass = kFontClassSymbol;
  red.record.SetSize(kSurroundingsSize);
  red.record.SetBits({{1, 2, 3, 0, 1, 2}, 6, 3});
  CommentTree tree = TreeOf(Nodes({
      MakeCommentWord("Lemmas"),
      MakeCommentSpace(),
      MakeCommentWord("1999", red),
      MakeCommentWord("\xB9"),
      MakeCommentSpecial(kSpecialT),
      MakeCommentSpecial(kSpecialS, red),
      MakeCommentPicture(std::string("\0\xFF|}~ picture", 13)),
      MakeCommentWideWord({0x8140, 0}),
      MakeCommentSequence({}),
      MakeCommentSequence(Nodes({MakeCommentWord("x")})),
      MakeCommentSequence(Nodes({MakeCommentWord("x"), MakeCommentWord("y", red)})),
      MakeCommentPile(Nodes({MakeCommentWord("top"), MakeCommentWord("bottom")}), red),
      MakeCommentGrid(2, 2,
                      Nodes({MakeCommentWord("a"), MakeCommentWord("b"), MakeCommentWord("c"),
                             MakeCommentSequence({})})),
      MakeCommentFence(0x23, MakeCommentWord("f")),
      MakeCommentTemplate(kThreePartTemplate, Nodes({MakeCommentWord("i"), MakeCommentWord("0"),
                                                     MakeCommentWord("n")})),
      MakeCommentTemplate(0x0032, Nodes({MakeCommentWord("num"), MakeCommentWord("den")})),
      MakeCommentTemplate(0x5004, Nodes({MakeCommentSpace(), MakeCommentSequence({}),
                                         MakeCommentSpace(), MakeCommentSpace()})),
      MakeCommentParagraph(Nodes({MakeCommentWord("second")}),
                           ParagraphFormat{{3, 4}, 612, {{0, 0}, {7, 0x1FFE}}, 9}, red),
  }));
  tree.root.paragraph.tabStops = {{1, 100}, {2, 200}};
  tree.selection = CommentSelection{{0, 3}, {17, 0, 6}};
  CommentWriteOptions options;
  options.writeSelection = true;
  options.background = Rgb{1, 2, 3};
  const std::string text = CommentFormText(tree, options);
  for (char c : text) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c <= 0x7E)) << text;
  CommentTree back = ReadComment(text);
  EXPECT_EQ(back.background, options.background);
  back.background.reset();
  EXPECT_EQ(back, tree);
  EXPECT_EQ(CommentFormText(back, options), text);
}

TEST(CommentRoundTrip, RandomCanonicalTreesReadBackEqual) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    const CommentTree tree = TreeMaker(seed, true).Tree();
    const std::string text = CommentFormText(tree);
    const CommentTree back = ReadComment(text);
    ASSERT_EQ(back.root, tree.root) << "seed " << seed << "\n" << text;
    ASSERT_EQ(CommentFormText(back), text) << "seed " << seed;
  }
}

TEST(CommentRoundTrip, RandomTreesKeepEveryCharacterAndSettle) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    const CommentTree tree = TreeMaker(seed, false).Tree();
    const std::string first = CommentFormText(tree);
    const CommentTree once = ReadComment(first);
    std::string before;
    std::string after;
    CollectText(tree.root, before);
    CollectText(once.root, after);
    ASSERT_EQ(after, before) << "seed " << seed;
    const std::string second = CommentFormText(once);
    ASSERT_EQ(ReadComment(second).root, once.root) << "seed " << seed;
    ASSERT_EQ(CommentFormText(ReadComment(second)), second) << "seed " << seed;
  }
}

TEST(CommentRoundTrip, WhatTheFormNormalises) {
  NodeStyle mapped;
  mapped.fontClass = kFontClassMapped;
  NodeStyle symbol;
  symbol.fontClass = kFontClassSymbol;
  const struct {
    const char* what;
    CommentNode written;
    std::vector<CommentNode> read;
  } cases[] = {
      {"letters and digits part", MakeCommentWord("x2"),
       Nodes({MakeCommentWord("x"), MakeCommentWord("2")})},
      {"long runs part", MakeCommentWord(std::string(40, 'q')),
       Nodes({MakeCommentWord(std::string(32, 'q')), MakeCommentWord(std::string(8, 'q'))})},
      {"other characters stand alone", MakeCommentWord("a.b"),
       Nodes({MakeCommentWord("a"), MakeCommentWord("."), MakeCommentWord("b")})},
      {"a tab reads as a space", MakeCommentTab(), Nodes({MakeCommentSpace()})},
      {"special kinds other than T and s", MakeCommentSpecial('q'),
       Nodes({MakeCommentSpecial(kSpecialS)})},
      {"an empty word is not written", MakeCommentWord(""), {}},
      {"the mapped class is written as another font", MakeCommentSpace(mapped),
       Nodes({MakeCommentSpace(symbol)})},
      {"a word in a slot that parts", MakeCommentPile(Nodes({MakeCommentWord("a1")})),
       Nodes({MakeCommentPile(
           Nodes({MakeCommentSequence(Nodes({MakeCommentWord("a"), MakeCommentWord("1")}))}))})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadBack(TreeOf(Nodes({c.written}))).children, c.read) << c.what;
  }
}

// Damaged forms: whatever the bytes, the reader either reads a tree or
// raises one of its messages.
TEST(CommentRoundTrip, DamagedFormsNeverCrash) {
  std::mt19937 random(7);
  int read = 0;
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    const std::string form = CommentFormText(TreeMaker(seed, seed % 2 == 0).Tree());
    for (int trial = 0; trial < 20; ++trial) {
      std::string damaged = form;
      for (int hits = 1 + static_cast<int>(random() % 3); hits > 0; --hits) {
        const size_t at = random() % damaged.size();
        switch (random() % 3) {
          case 0:
            damaged[at] = static_cast<char>(0x20 + random() % 0x5F);
            break;
          case 1:
            damaged.erase(at, 1 + random() % 4);
            break;
          default:
            damaged.insert(at, 1, "}{(<[)^_`|\"~"[random() % 12]);
            break;
        }
        if (damaged.empty()) damaged = "]";
      }
      const MessageNumber raised = testing::RaisedBy([&] { ReadComment(damaged); });
      EXPECT_TRUE(raised == 0 || raised == kMsgCorruptData || raised == kMsgTooManyFontFamilies)
          << raised << " " << damaged;
      read += raised == 0;
    }
  }
  EXPECT_GT(read, 0);  // some damage falls where the form tolerates it
}

}  // namespace
}  // namespace lemmabox
