// Writing a notebook, reading it back and writing it again gives the same
// bytes: for every shipped example, for seeded random notebooks, and for
// propositions copied and pasted.
#include <gtest/gtest.h>

#include <random>

#include "editor/clipboard.h"
#include "editor/selection_list.h"
#include "files/comment_store.h"
#include "files/file_kinds.h"
#include "files/file_reader.h"
#include "files/notebook_builder.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "shell/commands.h"

namespace lemmabox::testing {
namespace {

// Reads text and writes the notebook it makes.
std::string Rewritten(const std::string& text) {
  Handle notebook = ReadNotebookBytes(text);
  std::string again = NotebookText(notebook);
  CloseNotebook(notebook);
  return again;
}

TEST(RoundTrip, ShippedFilesAreStable) {
  NotebookBuilder scope;
  std::vector<std::string> paths = {SourceDir() + "/support/" + TemplateFileName()};
  for (const std::string& name : ExampleNames()) paths.push_back(SourceDir() + "/examples/" + name);
  for (const std::string& path : paths) {
    const std::string bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty()) << path;
    Handle notebook = ReadNotebookBytes(bytes);
    EXPECT_EQ(NotebookFileBytes(notebook), bytes) << path;
    CloseNotebook(notebook);
  }
}

// --- Random notebooks ---

class RandomNotebook {
 public:
  explicit RandomNotebook(unsigned seed) : random_(seed) {}

  std::string Expression(int depth = 0) {
    switch (depth > 2 ? 0 : Pick(9)) {
      case 0:
        return Pick(3) == 0 ? std::to_string(Pick(100)) : std::string(1, "abck"[Pick(4)]);
      case 1:
        return Expression(depth + 1) + "+" + Expression(depth + 1);
      case 2:
        return Expression(depth + 1) + "-" + Expression(depth + 1);
      case 3:
        return Expression(depth + 1) + "*" + Expression(depth + 1);
      case 4:
        return "(" + Expression(depth + 1) + ")/(" + Expression(depth + 1) + ")";
      case 5:
        return "(" + Expression(depth + 1) + ")^" + std::to_string(2 + Pick(3));
      case 6:
        return "f(" + Expression(depth + 1) + ")";
      case 7:
        return "sqrt(" + Expression(depth + 1) + ")";
      default:
        return "a_" + std::to_string(1 + Pick(3));
    }
  }

  void Fill(NotebookBuilder& b, int count) {
    b.Declare("a", 'v');
    b.Declare("b", 'v');
    b.Declare("c", 'v');
    b.Declare("k", 'c');
    b.Declare("f", 'f');
    std::vector<Handle> statements;
    for (int i = 0; i < count; ++i) {
      const int indentation = Pick(4);
      switch (Pick(8)) {
        case 0:
          b.Comment({{"Note " + std::to_string(i) + " on " + Expression(), Pick(2) == 0,
                      Pick(2) == 0, 10 + Pick(10), Rgb{uint8_t(Pick(256)), 0, uint8_t(Pick(256))}}},
                    indentation);
          break;
        case 1: {
          Handle rule = b.Append(NewTransformRule(nullptr, nullptr, 1 + Pick(3)), indentation);
          b.TypeInto(rule, 0, "f(?x)");
          b.TypeInto(rule, 1, Expression());
          break;
        }
        case 2: {
          Handle theory = b.Append(NewCaseTheory(), indentation);
          statements.push_back(b.Assume(Expression() + ">0", 0, theory));
          statements.push_back(b.Assume(Expression(), Pick(2), theory));
          break;
        }
        case 3:
          b.Append(NewPageBreak(), indentation);
          break;
        default: {
          Handle prop = b.Assume(Expression() + (Pick(3) == 0 ? "=" + Expression() : ""),
                                 i > 0 && Pick(6) == 0 ? kInline : indentation);
          if (Pick(5) == 0) SetFlag(prop, kFlagCollapsed);
          if (!statements.empty() && Pick(2) == 0) Conclude(prop, statements);
          statements.push_back(prop);
        }
      }
    }
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // A made-up derivation: what the file keeps of it, not what re-deriving
  // would make.
  void Conclude(Handle prop, const std::vector<Handle>& earlier) {
    MakeConclusion(prop, earlier[static_cast<size_t>(Pick(static_cast<int>(earlier.size())))]);
    for (int steps = 1 + Pick(3); steps > 0; --steps) {
      std::vector<int32_t> path;
      for (int n = Pick(4); n > 0; --n) path.push_back(Pick(200000) - 100000);
      AppendDerivationStep(
          prop, NewDerivationStep(1 + Pick(16), Pick(2), Pick(2), Pick(1 << 20) - (1 << 19), path));
    }
    SetStale(prop, Pick(2) == 0);
    if (Pick(4) == 0) SetErrorNumber(prop, 13290);
  }

  std::mt19937 random_;
};

TEST(RoundTrip, RandomNotebooksAreStable) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    NotebookBuilder b;
    RandomNotebook(seed).Fill(b, 25);
    b.Settle();
    const std::string text = NotebookText(b.Notebook());
    EXPECT_EQ(Rewritten(text), text) << "seed " << seed;
  }
}

// Copy writes selected propositions (with their outline groups) the way a
// file holds them; Paste reads them back after the selection, keeping the
// derivation links between the copies.
TEST(RoundTrip, CopiedPropositionsPasteWithTheirDerivations) {
  NotebookBuilder source;
  source.Declare("a", 'v');
  Handle heading = source.Comment({{"Heading"}});
  Handle sum = source.Assume("a+a", 1);
  Handle conclusion = source.Derive(sum, 1);
  ASSERT_NE(conclusion, nullptr);
  source.Settle();
  FrontView()->selections = {{heading, kPosWhole}};
  PerformCommandCode(kCmdCopy);
  const std::string clipboard = CurrentPlatform().ClipboardText();
  EXPECT_NE(clipboard.find("~A(a+a)"), std::string::npos) << clipboard;

  NotebookBuilder target;
  target.Declare("a", 'v');
  Handle anchor = target.Assume("a", 2);
  target.Platform().clipboard = clipboard;
  FrontView()->selections = {{anchor, kPosWhole}};
  PerformCommandCode(kCmdPaste);
  target.Settle();
  Handle notebook = target.Notebook();
  const int first = ObjSlotIndex(anchor) + 1;
  ASSERT_EQ(ObjCount(notebook), first + 3);
  Handle pastedComment = ObjSlot(notebook, first);
  Handle pastedSum = ObjSlot(notebook, first + 1);
  Handle pastedConclusion = ObjSlot(notebook, first + 2);
  EXPECT_EQ(ObjType(pastedComment), kComment);
  ASSERT_NE(CommentContentOf(pastedComment), nullptr);
  EXPECT_EQ(CommentContentOf(pastedComment)->root, CommentContentOf(heading)->root);
  // The outline is kept relative to the row the paste went after.
  EXPECT_EQ(Indentation(pastedComment), 2);
  EXPECT_EQ(Indentation(pastedSum), 3);
  ASSERT_EQ(ObjType(pastedConclusion), kConclusion);
  EXPECT_EQ(ContingencyAt(ContingenciesOf(pastedConclusion), 0), pastedSum);
  EXPECT_EQ(DerivationSteps(pastedConclusion).size(), DerivationSteps(conclusion).size());
}

}  // namespace
}  // namespace lemmabox::testing
