// The manipulation driver on typed notebooks: where conclusions go, what is
// left when nothing was derived or a manipulation fails, working in place,
// and the "Big Expand?" answers a step keeps.
#include "manip/driver.h"

#include <gtest/gtest.h>

#include "derivation_helpers.h"
#include "manip/manipulations.h"
#include "mathobj/constructors.h"
#include "notebook/derivation.h"
#include "notebook/outline.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

TypingOptions Names() {
  return {.predefinedNames = true};
}

void Indent(const std::vector<Handle>& props, const std::vector<int>& indentation) {
  for (size_t i = 0; i < indentation.size(); ++i) Hdr(props[i]).aux = indentation[i];
}

TEST(Driver, PlacesTheConclusionAfterTheSourcesOutlineGroup) {
  struct Case {
    std::vector<const char*> statements;
    std::vector<int> indentation;
    int selected;  // its whole statement is simplified
    std::vector<std::string> outline;
    int conclusionIndentation;
  };
  const Case cases[] = {
      // An expression becomes an equation between its old and new forms,
      // after the source's indented group.
      {{"x+x", "y", "z"}, {0, 1, 0}, 0, {"A:x+x", "A:y", "C:x+x=2*x", "A:z"}, 1},
      // A relation is copied as it is.
      {{"x+x=y", "z"}, {0, 0}, 0, {"A:x+x=y", "C:2*x=y", "A:z"}, 1},
      // Deeper rows keep their depth plus one.
      {{"a", "x*x", "b"}, {0, 2, 1}, 1, {"A:a", "A:x*x", "C:x*x=x^2", "A:b"}, 3},
  };
  for (const Case& c : cases) {
    TypingSession s(Names());
    TypeAssumptions(s, c.statements);
    std::vector<Handle> props = StatementProps(s.Notebook());
    Indent(props, c.indentation);
    // A collapsed source row is expanded to show the new conclusion.
    SetFlag(props[c.selected], kFlagCollapsed);
    s.Select(StatementOf(props[c.selected]), kPosWhole);
    Choose(s, kMenuSimplify);
    EXPECT_EQ(Outline(s.Notebook()), c.outline) << c.statements[c.selected];
    EXPECT_FALSE(HasFlag(props[c.selected], kFlagCollapsed));
    Handle conclusion = nullptr;
    for (Handle prop : StatementProps(s.Notebook()))
      if (ObjType(prop) == kConclusion) conclusion = prop;
    ASSERT_NE(conclusion, nullptr);
    EXPECT_EQ(Indentation(conclusion), c.conclusionIndentation) << c.statements[c.selected];
    // Its chain: the copy of the source, then the manipulation.
    std::vector<Handle> steps = DerivationSteps(conclusion);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(StepOf(steps[1]).manipulation, kManipSimplify);
    EXPECT_EQ(ContingencyAt(ContingenciesOf(conclusion), 0), props[c.selected]);
  }
}

TEST(Driver, SelectionsGroupByTheirProposition) {
  // Two products of one assumption make one conclusion; selections in two
  // assumptions make one each.
  TypingSession s(Names());
  TypeAssumptions(s, {"2*3+4*5", "6*7"});
  std::vector<Handle> props = StatementProps(s.Notebook());
  s.Select(Find(StatementOf(props[0]), kProduct, 0));
  SelectRange(StatementOf(props[1]), 0, 2);
  AppendSelection(Find(StatementOf(props[0]), kProduct, 1), kPosWhole);
  Choose(s, kMenuCalculate);
  EXPECT_EQ(Outline(s.Notebook()),
            (std::vector<std::string>{"A:2*3+4*5", "C:2*3+4*5=6+20", "A:6*7", "C:6*7=42"}));
  // The results are selected, in the conclusions.
  ASSERT_EQ(s.View().selections.size(), 3u);
  for (const Selection& selection : s.View().selections)
    EXPECT_EQ(ObjType(GetObjProp(selection.obj)), kConclusion);
}

TEST(Driver, NothingDerivedLeavesNoConclusion) {
  TypingSession s(Names());
  TypeAssumptions(s, {"x+y"});
  Handle source = StatementProps(s.Notebook())[0];
  Handle x = FindName(StatementOf(source), "x");
  Handle y = FindName(StatementOf(source), "y");
  s.Select(x);
  AppendSelection(y, kPosWhole);
  Choose(s, kMenuSimplify);
  EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:x+y"}));
  // The selections went back to where they were.
  EXPECT_EQ(s.View().selections, (std::vector<Selection>{{x, kPosWhole}, {y, kPosWhole}}));
}

TEST(Driver, AFailureKeepsWhatChangedAndRestoresTheSelection) {
  // Commute works on the product and fails on the equation.
  TypingSession s(Names());
  TypeAssumptions(s, {"a*b", "x=1"});
  std::vector<Handle> props = StatementProps(s.Notebook());
  s.Select(StatementOf(props[0]));
  AppendSelection(StatementOf(props[1]), kPosWhole);
  const std::vector<Selection> before = s.View().selections;
  Choose(s, kMenuCommute);
  EXPECT_TRUE(s.Alerted(kMsgBadCommute));
  EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:a*b", "C:a*b=b*a", "A:x=1"}));
  EXPECT_EQ(s.View().selections, before);
}

TEST(Driver, RefusesWhatCannotBeManipulated) {
  struct Case {
    const char* name;
    MessageNumber expected;
  };
  const Case cases[] = {
      {"nothing selected", kMsgSelectFirst},
      {"caret", kMsgSelectSomethingSubstantial},
      {"declaration", kMsgNoManipulationHere},
      {"operator range", kMsgDLinearNotToEnd},
  };
  for (const Case& c : cases) {
    TypingSession s(Names());
    TypeAssumptions(s, {"x+x", "d*x*y"});
    std::vector<Handle> props = StatementProps(s.Notebook());
    const std::string name = c.name;
    if (name == "nothing selected") s.Select(nullptr);
    if (name == "caret") s.Select(FindName(StatementOf(props[0]), "x"), kPosCaretAfter);
    if (name == "declaration") s.Select(ObjSlot(s.Notebook(), FirstProp(s.Notebook())));
    if (name == "operator range") s.Select(StatementOf(props[1]), PackRange(0, 2));
    Choose(s, kMenuSimplify);
    EXPECT_TRUE(s.Alerted(c.expected)) << c.name;
    EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:x+x", "A:d*x*y"})) << c.name;
  }
}

TEST(Driver, InPlaceChangesThePropositionItself) {
  TypingSession s(Names());
  TypeAssumptions(s, {"x+x"});
  Handle assumption = StatementProps(s.Notebook())[0];
  s.Platform().altDown = true;
  s.Select(StatementOf(assumption));
  Choose(s, kMenuSimplify);
  // An assumption changes and records nothing.
  EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:2*x"}));
  EXPECT_TRUE(DerivationSteps(assumption).empty());

  // A conclusion gets the step at the end of its chain.
  s.Platform().altDown = false;
  s.Select(StatementOf(assumption));
  Choose(s, kMenuCommute);
  Handle conclusion = StatementProps(s.Notebook())[1];
  EXPECT_EQ(Script(StatementOf(conclusion)), "2*x=x*2");
  s.Platform().altDown = true;
  s.Select(ObjSlot(StatementOf(conclusion), 1));
  Choose(s, kMenuSimplify);
  EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:2*x", "C:2*x=2*x"}));
  EXPECT_EQ(ConclusionLabel(conclusion), " Commute Simplify");
}

TEST(Driver, UndoTakesTheDerivationBack) {
  for (bool inPlace : {false, true}) {
    TypingSession s(Names());
    TypeAssumptions(s, {"x+x"});
    s.Platform().altDown = inPlace;
    s.Select(s.Statement());
    Choose(s, kMenuSimplify);
    ASSERT_NE(Outline(s.Notebook()), (std::vector<std::string>{"A:x+x"})) << inPlace;
    s.Press("Undo");
    EXPECT_EQ(Outline(s.Notebook()), (std::vector<std::string>{"A:x+x"})) << inPlace;
  }
}

TEST(Commute, ReversesWhatCommutes) {
  struct Case {
    const char* statement;
    const char* written;  // after Commute of the whole expression
    MessageNumber expected;
  };
  const Case cases[] = {
      {"a*b*c", "a*b*c=c*b*a", 0},
      {"a+b", "a+b=b+a", 0},
      {"A*B", "A*B", kMsgCannotCommuteAll},  // two M-linear operators
      {"a^b", "a^b", kMsgBadCommute},
  };
  for (const Case& c : cases) {
    TypingSession s(Names());
    s.Platform().nameAnswers = {2, 2};
    if (std::string(c.statement) == "A*B") s.Platform().nameAnswers = {3, 3};
    TypeAssumptions(s, {c.statement});
    s.Select(s.Statement());
    Choose(s, kMenuCommute);
    EXPECT_EQ(Script(s.Statement()), c.written) << c.statement;
    if (c.expected != 0) {
      EXPECT_TRUE(s.Alerted(c.expected)) << c.statement;
    }
  }
}

TEST(AnswerWord, KeepsUpToSevenAnswersInOrder) {
  struct Case {
    std::vector<int> answers;
    int32_t folded;
  };
  const Case cases[] = {
      {{}, 0},
      {{1}, 1},
      {{2, 0, 1}, 2 | 0 << 2 | 1 << 4},
      {{1, 2, 1, 2, 1, 2, 1}, 1 | 2 << 2 | 1 << 4 | 2 << 6 | 1 << 8 | 2 << 10 | 1 << 12},
      // An eighth answer is not kept.
      {{1, 1, 1, 1, 1, 1, 1, 2}, 0x1555},
  };
  for (const Case& c : cases) {
    int32_t word = kAnswerWordStart;
    for (int answer : c.answers) word = PackAnswer(word, answer);
    EXPECT_EQ(FoldAnswerWord(word), c.folded) << c.answers.size();
  }
}

TEST(AnswerWord, AskBigRemembersAndReplays) {
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  // "Don't Ask Again" with Yes answers later questions; with No it does not.
  uint8_t memory = 0;
  platform.bigExpandReplies = {{kAnswerYes, true}};
  EXPECT_EQ(AskBig(nullptr, memory), kAnswerYes);
  EXPECT_EQ(AskBig(nullptr, memory), kAnswerYes);
  EXPECT_EQ(platform.bigExpandAsked.size(), 1u);
  uint8_t other = 0;
  platform.bigExpandReplies = {{kAnswerNo, true}, {kAnswerNumerically, false}};
  EXPECT_EQ(AskBig(nullptr, other), kAnswerNo);
  EXPECT_EQ(AskBig(nullptr, other), kAnswerNumerically);
  EXPECT_EQ(platform.bigExpandAsked.size(), 3u);
  EXPECT_EQ(FoldAnswerWord(AnswerWord()), 1 | 1 << 2 | 0 << 4 | 2 << 6);

  // Replaying asks nobody; a 3 (no button) is taken as No, and past the
  // seventh answer the seventh stands.
  struct Replay {
    int32_t stored;
    std::vector<int> replayed;
  };
  const Replay replays[] = {
      {2 | 1 << 2 | 3 << 4, {2, 1, 0, 0, 0, 0, 0, 0, 0}},
      {0x0555 | 2 << 12, {1, 1, 1, 1, 1, 1, 2, 2, 2}},
  };
  SetReplayFlag(true);
  for (const Replay& r : replays) {
    SetReplayAnswers(r.stored);
    uint8_t none = 0;
    std::vector<int> replayed;
    for (int i = 0; i < 9; ++i) replayed.push_back(AskBig(nullptr, none));
    EXPECT_EQ(replayed, r.replayed) << r.stored;
  }
  SetReplayFlag(false);
  EXPECT_EQ(platform.bigExpandAsked.size(), 3u);
  SetCurrentPlatform(nullptr);
}

}  // namespace
}  // namespace lemmabox::testing
