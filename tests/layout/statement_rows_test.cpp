// Assumption and conclusion rows: the statement beside the icon column,
// the label of the manipulations, the error area of a conclusion that
// could not be derived again, its colours, and the stale marking.
#include "layout/statement_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "layout/entry_marks.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/size_obj.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/propositions.h"
#include "ports/font_metrics.h"
#include "rows_fixture.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

class StatementRowTest : public RowsTest {
 protected:
  void TearDown() override {
    ResetLayoutHooks();
    RowsTest::TearDown();
  }
  // A conclusion derived from a new assumption by the given manipulations.
  Handle Conclude(const std::string& tree, std::vector<int32_t> steps) {
    Handle source = Assume("=(s,1)");
    Handle conclusion = Assume(tree);
    MakeConclusion(conclusion, source);
    for (int32_t step : steps)
      AppendDerivationStep(conclusion, NewDerivationStep(step, true, true, 0, {}));
    return conclusion;
  }
  // Draws the laid-out notebook on an ink port.
  void Draw() {
    ink = InkPort{};
    DrawNotebook(main, *env, ink, Rect{-100000, -100000, 100000, 100000});
  }
  int32_t LabelLineHeight() const { return MeasureFontExtents(LabelFont(*env)).Height(); }

  InkPort ink;
};

TEST_F(StatementRowTest, TheStatementSitsRightOfTheIconColumn) {
  const int32_t icon = M().iconSize;
  for (const char* tree : {"x", "=(x,/(a,/(b,c)))", "m3x1(1,2,3)", "?"}) {
    Handle row = Assume(tree);
    LayOut();
    Handle statement = ObjSlot(row, 0);
    const Rect box = Hdr(statement).box;
    const int32_t margin = OwnParenMargin(M(), statement);
    const int32_t width = box.Width() + 2 * margin;
    const int32_t ascent = M().u + std::max(icon / 2, ObjBaseline(statement));
    const int32_t depth = std::max(icon / 2, box.Height() - ObjBaseline(statement));
    EXPECT_EQ(icon + M().parenBase + margin, box.left) << tree;
    EXPECT_EQ(ascent - ObjBaseline(statement), box.top) << tree;
    EXPECT_EQ(ascent, ObjBaseline(row)) << tree;
    EXPECT_EQ(ascent + M().u + depth, BoxOf(row).Height()) << tree;
    EXPECT_EQ(width + icon + M().em, BoxOf(row).Width()) << tree;
  }
}

TEST_F(StatementRowTest, AConclusionShowsItsStepsRightAlignedUnlessShowStepsIsOff) {
  Handle plain = Assume("=(x,1)");
  Handle conclusion = Conclude("=(x,1)", {1, 2, 1033});
  LayOut();
  const std::string label = "Simplify Expand Isolate";
  ASSERT_EQ(label, ConclusionLabel(conclusion));
  const int32_t labelWidth = TextWidth(label, LabelFont(*env));
  EXPECT_EQ(BoxOf(plain).Width() + M().u + labelWidth, BoxOf(conclusion).Width());
  Draw();
  const auto found = std::find_if(ink.texts.begin(), ink.texts.end(),
                                  [&](const InkPort::Text& t) { return t.text == label; });
  ASSERT_NE(ink.texts.end(), found);
  EXPECT_EQ(BoxOf(conclusion).right - M().u, found->at.x + labelWidth) << "ends a unit inside";
  EXPECT_EQ(BoxOf(conclusion).top + ObjBaseline(conclusion) + M().quarter[0], found->at.y);
  EXPECT_TRUE(found->italic);
  EXPECT_EQ(M().size[2], found->size);

  NotebookRecordOf(main).prefs.showSteps = 0;
  LayOut();
  EXPECT_EQ(BoxOf(plain).Width(), BoxOf(conclusion).Width());
  Draw();
  EXPECT_EQ(std::string::npos, ink.AllText().find("Simplify"));
}

TEST_F(StatementRowTest, AFailedConclusionShowsWhyInItsErrorArea) {
  gLayoutHooks.conclusionErrorDetail = [](Handle) { return std::string("x+1"); };
  Handle plain = Assume("=(x,1)");
  Handle conclusion = Conclude("=(x,1)", {1});
  SetErrorNumber(conclusion, kMsgErrorWhenSaved);
  LayOut();
  const std::string expected = std::string("Cannot ReManipulate this Conclusion:  ") +
                               MessageText(kMsgErrorWhenSaved) + " -- x+1";
  EXPECT_EQ(expected, ConclusionErrorText(conclusion));
  const int32_t area = 30 * M().size[1];
  EXPECT_EQ(BoxOf(plain).Width() + area, BoxOf(conclusion).Width()) << "no label";
  const std::vector<std::string> lines = WrapLabelText(expected, LabelFont(*env), area);
  ASSERT_GE(lines.size(), 2u);
  const int32_t rows = std::max<int32_t>(4, static_cast<int32_t>(lines.size()));
  EXPECT_EQ(rows * LabelLineHeight(), BoxOf(conclusion).Height());

  Draw();
  std::vector<std::string> drawn;
  for (const InkPort::Text& t : ink.texts) {
    if (t.at.x != BoxOf(conclusion).right - area) continue;
    drawn.push_back(t.text);
    EXPECT_EQ(kErrorColor, t.color);
  }
  EXPECT_EQ(lines, drawn);
  // The statement is drawn in the error colour too, and the colour goes
  // back to black afterwards.
  for (const InkPort::Text& t : ink.texts) {
    const bool inRow = t.at.y > BoxOf(conclusion).top && t.at.y < BoxOf(conclusion).bottom;
    if (!inRow || t.text != "x") continue;
    EXPECT_EQ(kErrorColor, t.color);
  }
  EXPECT_EQ(kBlack, ink.foreground());

  // An error in what it depends upon has a colour of its own.
  SetErrorNumber(conclusion, kMsgErrorInSource);
  LayOut();
  Draw();
  int coloured = 0;
  for (const InkPort::Text& t : ink.texts) coloured += t.color == kDependencyErrorColor;
  EXPECT_GT(coloured, 0);
}

TEST_F(StatementRowTest, AStaleConclusionIsFramedInDots) {
  Handle conclusion = Conclude("=(x,1)", {1});
  LayOut();
  Draw();
  const auto dotted = [&] {
    return std::count(ink.patterns.begin(), ink.patterns.end(), LinePattern::kDotted);
  };
  EXPECT_EQ(0, dotted());
  SetStale(conclusion, true);
  Draw();
  EXPECT_EQ(1, dotted());
  // The frame goes round the statement.
  const Rect statement = BoxOf(ObjSlot(conclusion, 0));
  bool found = false;
  for (const DrawCall& call : ink.calls) {
    if (call.op != "line" || call.points.size() != 5) continue;
    found = found || (call.points[0] == Point{statement.left, statement.top} &&
                      call.points[2] == Point{statement.right, statement.bottom});
  }
  EXPECT_TRUE(found);
}

TEST_F(StatementRowTest, AWorkingStatementHasADotInItsIcon) {
  ShowIcons(true);
  Handle row = Assume("=(x,1)");
  LayOut();
  Draw();
  EXPECT_EQ(0, ink.circles);
  SetWorkingBit(row, true);
  Draw();
  EXPECT_EQ(1, ink.circles);
}

TEST_F(StatementRowTest, LabelTextWrapsAtBlanksAndBreaksOverlongWords) {
  const PortFont font = LabelFont(*env);
  const int32_t width = 60;
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a b", {"a b"}},
      {"  a   b  ", {"a b"}},
      {"one two three four five", {}},
      {"abcdefghijklmnopqrstuvwxyz", {}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = WrapLabelText(c.text, font, width);
    if (!c.lines.empty() || c.text.empty()) {
      EXPECT_EQ(c.lines, lines) << c.text;
    }
    std::string joined;
    for (const std::string& line : lines) {
      EXPECT_LE(TextWidth(line, font), width) << c.text;
      EXPECT_FALSE(line.empty());
      joined += line;
    }
    std::string letters = c.text;
    std::erase(letters, ' ');
    std::erase(joined, ' ');
    EXPECT_EQ(letters, joined) << "nothing lost";
  }
  EXPECT_GT(WrapLabelText("abcdefghijklmnopqrstuvwxyz", font, width).size(), 1u);
}

}  // namespace
}  // namespace lemmabox::testing
