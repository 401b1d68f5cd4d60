// Break Cascade Above and Below, and Divert Cascade, chosen from the menu.
#include "cascade/cascade_commands.h"

#include <gtest/gtest.h>

#include "cascade/cascade.h"
#include "manip/derivation_helpers.h"
#include "notebook/derivation.h"
#include "shell/messages.h"

namespace lemmabox::testing {
namespace {

using Lines = std::vector<std::string>;

// a*b, then its commuted form, then that one's right side commuted back;
// p*q and its commuted form.
struct Derivations {
  Derivations() {
    TypeAssumptions(s, {"a*b", "p*q"});
    Commute(0, false);
    Commute(1, true);
    Commute(3, false);
  }
  void Commute(int i, bool rightSide) {
    Handle statement = StatementOf(Prop(i));
    s.Select(rightSide ? ObjSlot(statement, 1) : statement);
    Choose(s, kMenuCommute);
  }
  Handle Prop(int i) { return StatementProps(s.Notebook())[i]; }
  void Select(std::initializer_list<int> props) {
    s.Select(nullptr);
    for (int i : props) AppendSelection(Prop(i), kPosWhole);
  }
  std::string Kinds() {
    std::string kinds;
    for (Handle prop : StatementProps(s.Notebook())) kinds += static_cast<char>(ObjType(prop));
    return kinds;
  }
  TypingSession s{TypingOptions{.predefinedNames = true}};
};

TEST(BreakCascade, AboveAndBelow) {
  struct Case {
    MenuCommandId command;
    std::vector<int> selected;
    MessageNumber alert;
    const char* kinds;  // of a*b, its two conclusions, p*q, its conclusion
  };
  const Case cases[] = {
      {kMenuBreakCascadeAbove,
       {1},
       0,
       "AAC"
       "AC"},
      {kMenuBreakCascadeAbove,
       {0},
       kMsgNoCascadeToBreak,
       "ACC"
       "AC"},
      {kMenuBreakCascadeAbove,
       {},
       kMsgNoCascadeToBreak,
       "ACC"
       "AC"},
      {kMenuBreakCascadeAbove,
       {2, 4},
       0,
       "ACA"
       "AA"},
      {kMenuBreakCascadeBelow,
       {0},
       0,
       "AAC"
       "AC"},
      {kMenuBreakCascadeBelow,
       {1, 3},
       0,
       "ACA"
       "AA"},
  };
  for (const Case& c : cases) {
    Derivations d;
    ASSERT_EQ(d.Kinds(), "ACCAC");
    d.s.Select(nullptr);
    for (int i : c.selected) AppendSelection(d.Prop(i), kPosWhole);
    Choose(d.s, c.command);
    EXPECT_EQ(d.Kinds(), c.kinds) << c.command << " " << c.selected.size();
    if (c.alert != 0) {
      EXPECT_TRUE(d.s.Alerted(c.alert));
    }
    // What became an assumption forgot how it was derived.
    for (Handle prop : StatementProps(d.s.Notebook())) {
      if (ObjType(prop) == kAssumption) {
        EXPECT_TRUE(DerivationSteps(prop).empty());
      }
    }
  }
}

TEST(DivertCascade, RefusesWhatItCannotExchange) {
  struct Case {
    std::vector<int> selected;
    MessageNumber alert;
  };
  const Case cases[] = {
      {{1}, kMsgSelectTwoEquations},
      {{1, 1}, kMsgSelectTwoEquations},
      {{1, 2, 4}, kMsgSelectTwoEquations},
      {{2, 1}, kMsgSelfDerivation},  // the first was derived from the second
      {{0, 1}, kMsgSelfDerivation},
  };
  for (const Case& c : cases) {
    Derivations d;
    const Lines before = Outline(d.s.Notebook());
    d.s.Select(nullptr);
    for (int i : c.selected) AppendSelection(d.Prop(i), kPosWhole);
    Choose(d.s, kMenuDivertCascade);
    EXPECT_TRUE(d.s.Alerted(c.alert)) << c.selected.size();
    EXPECT_EQ(Outline(d.s.Notebook()), before);
  }
}

TEST(DivertCascade, ExchangesDerivationsAndMarksDependents) {
  Derivations d;
  Handle first = d.Prop(1);  // a*b=b*a, which the next one derives from
  Handle other = d.Prop(4);  // p*q=q*p
  d.Select({1, 4});
  Choose(d.s, kMenuDivertCascade);
  EXPECT_EQ(Script(StatementOf(first)), "p*q=q*p");
  EXPECT_EQ(Script(StatementOf(other)), "a*b=b*a");
  EXPECT_EQ(ContingencyAt(ContingenciesOf(first), 0), d.Prop(3));
  // What was derived from the first now sees p*q's derivation.
  EXPECT_TRUE(IsStale(d.Prop(2)));
  QueueAllStale(d.s.Notebook());
  RunCascade(d.s.Notebook(), 10);
  EXPECT_EQ(Script(StatementOf(d.Prop(2))), "p*q=p*q");
}

}  // namespace
}  // namespace lemmabox::testing
