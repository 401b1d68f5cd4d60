// Editing comment text: typing, moving, selecting, restyling, colours and
// fonts through the scripted platform, the clipboard, Undo, and the edited
// tree saving and loading as it is.
#include "editor/comment_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "editor/comment_plain_text.h"
#include "editor/comment_reader.h"
#include "editor/comment_text.h"
#include "editor/comment_writer.h"
#include "files/comment_store.h"
#include "mathobj/slots.h"
#include "shell/commands.h"
#include "shell/keyboard_map.h"
#include "shell/menu_ids.h"
#include "shell/menus.h"
#include "shell/messages.h"
#include "support/headless_fixture.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

constexpr MenuCommandId kMenuBlue = (kMenuCommentColor << 8) | 11;

class CommentEditingTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    // Other suites of this binary put their own hooks in; ours come back.
    RegisterCommentEditing();
    gCommentContent = {&CommentContentOf, &SetCommentContent};
    InstallCommentStore();
    session_ = std::make_unique<TypingSession>(platform, TypingOptions{false, false});
  }
  void TearDown() override {
    SetCurrentModifiers({});
    session_.reset();
    HeadlessTest::TearDown();
  }

  // Runs a script: characters are typed, {Name} presses a named command and
  // {+Name} presses it with Shift held.
  void Run(std::string_view script) {
    for (size_t i = 0; i < script.size(); ++i) {
      if (script[i] != '{') {
        session_->Press(TypeCharCommand(static_cast<uint8_t>(script[i])));
        continue;
      }
      const size_t close = script.find('}', i);
      std::string_view name = script.substr(i + 1, close - i - 1);
      const bool shift = name.front() == '+';
      if (shift) name.remove_prefix(1);
      const CommandCode code = name == "All" ? kCmdSelectEverything : CommandNamed(name);
      ASSERT_NE(code, 0u) << name;
      SetCurrentModifiers(KeyModifiers{shift, false, false, false});
      session_->Press(code);
      SetCurrentModifiers({});
      i = close;
    }
  }
  // A new comment, being edited, with the script run in it.
  Handle Start(std::string_view script = "") {
    session_->Press(kCmdNewComment);
    const CommentEditing* editing = EditedComment();
    EXPECT_NE(editing, nullptr);
    Handle comment = editing ? editing->comment : nullptr;
    Run(script);
    return comment;
  }
  static CommentTree Tree(Handle comment) { return CommentContent(comment); }
  static std::string Text(Handle comment) { return PlainTextFromComment(Tree(comment).root); }
  static int32_t Caret() { return EditedComment() ? EditedComment()->caret : -1; }
  // The styles of the words, in order.
  static std::vector<std::pair<std::string, NodeStyle>> Words(Handle comment) {
    std::vector<std::pair<std::string, NodeStyle>> words;
    const CommentNode root = Tree(comment).root;
    VisitCommentUnits(root, 0, CommentUnitCount(root), [&](const CommentNode& node) {
      if (node.kind == CommentNodeKind::kWord) words.emplace_back(node.text, node.style);
    });
    return words;
  }

  std::unique_ptr<TypingSession> session_;
};

TEST_F(CommentEditingTest, TypingMakesWordsAndSpaces) {
  Handle comment = Start("Hello big world");
  EXPECT_EQ(Text(comment), "Hello big world");
  EXPECT_EQ(DescribeCommentNode(Tree(comment).root),
            R"(P(0,0,0,r0)[W"Hello" _ W"big" _ W"world"])");
  EXPECT_EQ(Caret(), 15);
  EXPECT_EQ(ObjType(session_->Primary().obj), kComment);
}

TEST_F(CommentEditingTest, EditingKeys) {
  const struct {
    const char* script;
    const char* text;
    int32_t caret;
  } cases[] = {
      {"abc{Left}{Left}X", "aXbc", 2},
      {"ab cd{Left}{Left}{Backspace}", "abcd", 2},         // joins the words
      {"ab cd{SelectFirst}{Delete}", "b cd", 0},           // Home, forward delete
      {"ab{Return}cd", "ab\ncd", 5},                       // line break
      {"ab{Return}cd{Left}{Left}{Backspace}", "abcd", 2},  // joins the lines
      {"ab{Return}{Return}cd{Up}{Up}x", "abx\n\ncd", 3},   // up keeps its column
      {"ab{Return}cd{Up}{Left}{Escape}z", "abz\ncd", 3},   // End of the line
      {"a{Tab}b", "a\tb", 3},
      {"abcd{+Left}{+Left}Z", "abZ", 3},           // shift extends
      {"abcd{+Left}{+Left}{Right}Z", "abcdZ", 5},  // a move collapses
      {"one two{All}{Backspace}", "", 0},
      {"ab{Return}cd{+Left}{+Left}{+Left}{+Left}{Backspace}", "a", 1},  // across lines
      {"x{Backspace}{Backspace}{Left}", "", 0},                         // nothing left to delete
  };
  for (const auto& c : cases) {
    Handle comment = Start(c.script);
    EXPECT_EQ(Text(comment), c.text) << c.script;
    EXPECT_EQ(Caret(), c.caret) << c.script;
    session_->Press(kCmdSelectOut);
  }
}

TEST_F(CommentEditingTest, EscapeAtTheLineEndLeavesAndTypingComesBack) {
  Handle comment = Start("ab");
  Run("{Escape}");
  EXPECT_EQ(EditedComment(), nullptr);
  EXPECT_EQ(session_->Primary(), (Selection{comment, kPosWhole}));
  Run("c");  // a keystroke on the selected comment edits it again, at the end
  ASSERT_NE(EditedComment(), nullptr);
  EXPECT_EQ(Text(comment), "abc");
  session_->Select(session_->Notebook());  // selecting anything else ends editing
  EXPECT_EQ(EditedComment(), nullptr);
}

TEST_F(CommentEditingTest, StylesApplyToTheSelectionOrToWhatIsTypedNext) {
  Handle comment = Start("make this bold");
  Run("{Left}{Left}{Left}{Left}{Left}{+Left}{+Left}{+Left}{+Left}");
  session_->Press(kCmdStyleBold);
  auto words = Words(comment);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[1].first, "this");
  EXPECT_EQ(words[1].second.record.Bits().a[0], 1);
  EXPECT_EQ(words[0].second.record.Bits().a[0], 0);
  EXPECT_EQ(words[2].second.record.Bits().a[0], 0);
  EXPECT_TRUE(IsMenuCommandChecked(kMenuStyleBold));  // the menu shows the selection's look
  EXPECT_FALSE(IsMenuCommandChecked(kMenuStylePlain));
  session_->Press(kCmdStyleBold);  // all bold already: bold goes
  EXPECT_EQ(Words(comment)[1].second.record.Bits().a[0], 0);
  EXPECT_FALSE(IsMenuCommandChecked(kMenuStyleBold));
  EXPECT_TRUE(IsMenuCommandChecked(kMenuStylePlain));
  // At a caret the style is for the next text typed.
  Run("{All}{Right}");
  session_->Press(kCmdStyleItalic);
  Run("X");
  words = Words(comment);
  EXPECT_EQ(words.back().first, "X");
  EXPECT_EQ(words.back().second.record.Bits().a[1], 1);
  Run("Y");
  EXPECT_EQ(Words(comment).back().first, "XY");  // typing goes on in the new look
  EXPECT_TRUE(IsMenuCommandChecked(kMenuStyleItalic));
  session_->Press(kCmdStylePlain);
  Run("{+Left}{+Left}");
  session_->Press(kCmdStylePlain);
  EXPECT_EQ(Words(comment).back().second.record.Bits().a[1], 0);
  EndCommentEditing();  // no comment edited: no look checked
  EXPECT_FALSE(IsMenuCommandChecked(kMenuStylePlain));
}

TEST_F(CommentEditingTest, ColoursFromTheMenuAndTheChooser) {
  Handle comment = Start("red and blue");
  Run("{All}");
  platform.colorAnswers.push_back(ColorChoice{255, 0, 0});
  DispatchMenuCommand(kMenuColorOther);
  ASSERT_EQ(platform.colorsAsked.size(), 1u);
  EXPECT_EQ(platform.colorsAsked[0].first, "Choose Other Color:");
  EXPECT_EQ(platform.colorsAsked[0].second, (ColorChoice{0, 0, 0}));
  for (const auto& [text, style] : Words(comment))
    EXPECT_EQ(style.colour, PackColour(Rgb{255, 0, 0})) << text;
  // A cancelled chooser changes nothing.
  DispatchMenuCommand(kMenuColorOther);
  EXPECT_EQ(Words(comment)[0].second.colour, PackColour(Rgb{255, 0, 0}));
  Run("{Right}{+Left}{+Left}{+Left}{+Left}");
  DispatchMenuCommand(kMenuBlue);
  const auto words = Words(comment);
  EXPECT_EQ(words.back().second.colour, PackColour(Rgb{0, 0, 255}));
  EXPECT_EQ(words.front().second.colour, PackColour(Rgb{255, 0, 0}));
  // A whole selected comment takes the colour everywhere.
  session_->Press(kCmdSelectOut);
  DispatchMenuCommand(kMenuBlue);
  for (const auto& [text, style] : Words(comment))
    EXPECT_EQ(style.colour, PackColour(Rgb{0, 0, 255})) << text;
}

TEST_F(CommentEditingTest, CommentFontThroughTheDialog) {
  Handle comment = Start("big text");
  Run("{+Left}{+Left}{+Left}{+Left}");
  platform.fontAnswers.push_back(FontChoice{"Helvetica", 18});
  session_->Press(kCmdCommentFont);
  ASSERT_EQ(platform.fontsAsked.size(), 1u);
  EXPECT_EQ(platform.fontsAsked[0], (FontChoice{"Times", 12}));
  const auto words = Words(comment);
  EXPECT_EQ(words.back().second.record.FontName(), "Helvetica");
  EXPECT_EQ(words.back().second.record.Size(), 18);
  EXPECT_EQ(words.front().second.record.FontName(), "Times");
}

TEST_F(CommentEditingTest, CommentCommandsNeedACommentSelection) {
  session_->Type("x+1");
  for (CommandCode code : {kCmdStyleBold, kCmdCommentFont, kCmdStylePlain}) {
    session_->ClearAlerts();
    session_->Press(code);
    EXPECT_TRUE(session_->Alerted(kMsgCommentSelectionsOnly)) << code;
  }
  session_->ClearAlerts();
  DispatchMenuCommand(kMenuBlue);
  EXPECT_TRUE(session_->Alerted(kMsgCommentSelectionsOnly));
  EXPECT_EQ(session_->Written(), "x+1");
  EXPECT_TRUE(platform.fontsAsked.empty());
}

TEST_F(CommentEditingTest, UndoExchangesWithTheTreeBeforeTheLastChange) {
  Handle comment = Start("abc");
  session_->Press("Undo");  // the typing is one change
  EXPECT_EQ(Text(comment), "");
  ASSERT_NE(EditedComment(), nullptr);
  session_->Press("Undo");  // and a second Undo makes it again
  EXPECT_EQ(Text(comment), "abc");
  EXPECT_EQ(Caret(), 3);
  Run("{+Left}");
  session_->Press(kCmdStyleBold);
  Run("{Right}d");
  session_->Press("Undo");
  EXPECT_EQ(Text(comment), "abc");
  EXPECT_EQ(Words(comment).back().second.record.Bits().a[0], 1);  // only the typing went
  // An expression command starts a new record: the snapshot goes with it.
  ClearSelection();
  session_->Type("y");
  session_->Press("Undo");
  EXPECT_EQ(Text(comment), "abc");
}

TEST_F(CommentEditingTest, CopyCutAndPastePlainText) {
  Handle comment = Start("keep this text");
  Run("{Left}{Left}{Left}{Left}{Left}{+Left}{+Left}{+Left}{+Left}");
  session_->Press("Copy");
  EXPECT_EQ(platform.clipboard, "this");
  session_->Press("Cut");
  EXPECT_EQ(Text(comment), "keep  text");
  Run("{All}{Right}");
  platform.clipboard = "one\ntwo";
  session_->Press("Paste");
  EXPECT_EQ(Text(comment), "keep  textone\ntwo");
  EXPECT_EQ(Caret(), CommentUnitCount(Tree(comment).root));
  // A comment form on the clipboard keeps its looks.
  CommentTree styled = CommentFromPlainText("B");
  StyleBits bold;
  bold.a[0] = 1;
  styled.root.children[0].style.record.SetBits(bold);
  platform.clipboard = CommentFormText(styled);
  session_->Press("Paste");
  EXPECT_EQ(Words(comment).back().first, "B");
  EXPECT_EQ(Words(comment).back().second.record.Bits().a[0], 1);
}

TEST_F(CommentEditingTest, EnterMakesANewCommentAfterTheEditedOne) {
  Handle first = Start("first");
  session_->Press(kCmdNewComment);
  const CommentEditing* editing = EditedComment();
  ASSERT_NE(editing, nullptr);
  Handle second = editing->comment;
  EXPECT_NE(second, first);
  EXPECT_EQ(ObjSlotIndex(second), ObjSlotIndex(first) + 1);
  Run("second");
  EXPECT_EQ(Text(second), "second");
  EXPECT_EQ(Text(first), "first");
}

TEST_F(CommentEditingTest, EditedTreeSavesAndReadsBackTheSame) {
  Handle comment = Start("Plain x2 and don't{Return}second line");
  Run("{Up}{+Left}{+Left}{+Left}");
  session_->Press(kCmdStyleUnderline);
  Run("{All}");
  DispatchMenuCommand(kMenuBlue);
  Run("{Right} 9");
  const CommentTree tree = Tree(comment);
  EXPECT_EQ(ReadComment(CommentFormText(tree)).root, tree.root);
}

}  // namespace
}  // namespace lemmabox::testing
