// The cascade on typed notebooks: edits make what was derived stale, idle
// steps derive it again in dependency order, and conclusions that can no
// longer be derived keep their error while the cascade goes on.
#include "cascade/cascade.h"

#include <gtest/gtest.h>

#include "cascade/cascade_commands.h"
#include "manip/derivation_helpers.h"
#include "manip/driver.h"
#include "manip/manipulations.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class Cascade : public ::testing::Test {
 protected:
  void SetUp() override { SetPrefs(true, true); }

  void SetPrefs(bool always, bool ripple) {
    NotebookPrefs& prefs = NotebookRecordOf(s.Notebook()).prefs;
    prefs.alwaysReManipulate = always ? 1 : 0;
    prefs.rippleChangesImmediately = ripple ? 1 : 0;
  }
  Handle Prop(int i) { return StatementProps(s.Notebook())[i]; }
  // Manipulates the whole statement of proposition i, or its right side.
  void Derive(int i, MenuCommandId id, bool rightSide = false) {
    Handle statement = StatementOf(Prop(i));
    s.Select(rightSide ? ObjSlot(statement, 1) : statement);
    Choose(s, id);
  }
  // An edit of a source, as the editor reports it.
  void Replace(Handle old, Handle replacement) {
    Handle prop = GetObjProp(old);
    ReplaceInParent(old, replacement);
    PropositionChanged(prop);
  }
  std::vector<bool> Stale() { return Each<bool>(&IsStale); }
  std::vector<MessageNumber> Errors() { return Each<MessageNumber>(&ErrorNumber); }
  template <class T, class F>
  std::vector<T> Each(F f) {
    std::vector<T> out;
    for (Handle prop : StatementProps(s.Notebook())) out.push_back(f(prop));
    return out;
  }
  bool Idle() { return CascadeIdleStep(s.Notebook()); }

  TypingSession s{TypingOptions{.predefinedNames = true}};
};

using Lines = std::vector<std::string>;

TEST_F(Cascade, EditsRippleOneConclusionPerIdleStepSourcesFirst) {
  TypeAssumptions(s, {"a*b"});
  Derive(0, kMenuCommute);        // C1: a*b=b*a
  Derive(1, kMenuCommute, true);  // C2: a*b=a*b, from C1
  ASSERT_EQ(Outline(s.Notebook()), (Lines{"A:a*b", "C:a*b=b*a", "C:a*b=a*b"}));
  // Typing c over a.
  s.Select(FindName(StatementOf(Prop(0)), "a"));
  s.Type("c");
  s.Commit();
  EXPECT_EQ(Stale(), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(ToDoCount(s.Notebook()), 2);
  EXPECT_TRUE(Idle());
  EXPECT_EQ(Outline(s.Notebook()), (Lines{"A:c*b", "C:c*b=b*c", "C:a*b=a*b"}));
  EXPECT_EQ(Stale(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(Outline(s.Notebook()), (Lines{"A:c*b", "C:c*b=b*c", "C:c*b=c*b"}));
  EXPECT_FALSE(Idle());
  EXPECT_EQ(ToDoCount(s.Notebook()), 0);
  EXPECT_EQ(Errors(), (std::vector<MessageNumber>{0, 0, 0}));
}

TEST_F(Cascade, WithoutRippleConclusionsWaitForTheUser) {
  TypeAssumptions(s, {"a*b"});
  Derive(0, kMenuCommute);
  // Always ReManipulate without Ripple: "ReManipulate Now"; neither: a click.
  for (bool always : {true, false}) {
    SetPrefs(always, false);
    Replace(StatementOf(Prop(0)),
            NewProduct(NewUndeclaredName(always ? "p" : "q"), NewUndeclaredName("b")));
    EXPECT_FALSE(Idle());
    EXPECT_TRUE(IsStale(Prop(1)));
    if (always) {
      Choose(s, kMenuReManipulateNow);
    } else {
      RedoConclusion(Prop(1));
    }
    RunCascade(s.Notebook(), 10);
    EXPECT_EQ(Script(StatementOf(Prop(1))), always ? "p*b=b*p" : "q*b=b*q");
  }
}

TEST_F(Cascade, AQuestionMarkHoldsTheQueue) {
  TypeAssumptions(s, {"a*b", "p*q"});
  Derive(0, kMenuCommute);
  Derive(2, kMenuCommute);
  // p*q's conclusion is queued first, a*b's goes in front of it.
  Replace(FindName(StatementOf(Prop(2)), "p"), NewUndeclaredName("r"));
  Handle b = FindName(StatementOf(Prop(0)), "b");
  Replace(b, NewQuestionMark());
  for (int step = 0; step < 3; ++step) EXPECT_TRUE(Idle());
  EXPECT_EQ(Stale(), (std::vector<bool>{false, true, false, true}));
  Replace(Find(StatementOf(Prop(0)), kQuestion), NewUndeclaredName("c"));
  RunCascade(s.Notebook(), 10);
  EXPECT_EQ(Outline(s.Notebook()), (Lines{"A:a*c", "C:a*c=c*a", "A:r*q", "C:r*q=q*r"}));
}

TEST_F(Cascade, CyclesEndAndSelfReferenceFails) {
  TypeAssumptions(s, {"a*b"});
  Derive(0, kMenuCommute);
  Derive(1, kMenuCommute, true);
  Handle c1 = Prop(1);
  Handle c2 = Prop(2);
  // Loaded data may list each other as sources.
  AddContingency(StmtRecord(c1).contingencies, c2);
  Replace(FindName(StatementOf(Prop(0)), "a"), NewUndeclaredName("c"));
  EXPECT_EQ(RunCascade(s.Notebook(), 20), 2);
  EXPECT_EQ(Outline(s.Notebook()), (Lines{"A:c*b", "C:c*b=b*c", "C:c*b=c*b"}));
  EXPECT_EQ(Errors(), (std::vector<MessageNumber>{0, 0, 0}));
  // A conclusion among its own sources cannot be derived; marking it ends.
  AddContingency(StmtRecord(c2).contingencies, c2);
  Replace(FindName(StatementOf(Prop(0)), "c"), NewUndeclaredName("d"));
  RunCascade(s.Notebook(), 20);
  EXPECT_EQ(ErrorNumber(c2), kMsgSelfDerivation);
  EXPECT_FALSE(IsStale(c2));
}

// Replaces step `index` of a conclusion's chain.
void ReplaceStep(Handle conclusion, size_t index, Handle replacement) {
  std::vector<Handle> steps = DerivationSteps(conclusion);
  StepOf(replacement).next = index + 1 < steps.size() ? steps[index + 1] : nullptr;
  if (index == 0) {
    StmtRecord(conclusion).chain = replacement;
  } else {
    StepOf(steps[index - 1]).next = replacement;
  }
  StepOf(steps[index]).next = nullptr;
  FreeDerivationChain(steps[index]);
}

TEST(CascadeFailures, ConclusionsThatCannotBeDerivedKeepTheirError) {
  struct Case {
    const char* name;
    MessageNumber first;   // the conclusion of a+b
    MessageNumber second;  // the one derived from it
  };
  const Case cases[] = {
      {"copy from nowhere", kMsgSelectionUnavailable, kMsgErrorInSource},
      {"selection gone", kMsgBadCommute, kMsgErrorInSource},
      {"transform rule nowhere", kMsgManipulationNoLongerSensible, kMsgErrorInSource},
      {"unknown step number", 0, 0},
      {"step not built yet", kMsgUnimplemented, kMsgErrorInSource},
      {"apply without its words", kMsgCannotReApply, kMsgErrorInSource},
  };
  for (const Case& c : cases) {
    TypingSession t(TypingOptions{.predefinedNames = true});
    TypeAssumptions(t, {"a+b"});
    t.Select(t.Statement());
    Choose(t, kMenuCommute);  // a+b=b+a
    t.Select(ObjSlot(StatementOf(StatementProps(t.Notebook())[1]), 1));
    Choose(t, kMenuCommute);  // a+b=a+b, from the first
    std::vector<Handle> props = StatementProps(t.Notebook());
    ASSERT_EQ(props.size(), 3u) << c.name;
    Handle first = props[1];
    Handle commute = DerivationSteps(first)[1];
    std::vector<int32_t> path(StepPath(commute), StepPath(commute) + StepOf(commute).pathLength);
    const std::string name = c.name;
    if (name == "copy from nowhere") {
      const int32_t nowhere[] = {7};
      ReplaceStep(first, 0, NewDerivationStep(kStepCopyExpression, true, true, 0, nowhere));
    } else if (name == "selection gone") {
      ReplaceInParent(StatementOf(props[0]), NewUndeclaredName("x"));
    } else if (name == "transform rule nowhere") {
      path.push_back(5);
      ReplaceStep(first, 1, NewDerivationStep(kManipTransform, true, true, 0, path));
    } else if (name == "unknown step number") {
      ReplaceStep(first, 1, NewDerivationStep(8, true, true, 0, path));
    } else if (name == "step not built yet") {
      ReplaceStep(first, 1, NewDerivationStep(kManipIsolate, true, true, 0, path));
    } else {
      const int32_t one[] = {0};
      ReplaceStep(first, 1, NewDerivationStep(kManipApply, true, true, 0, one));
    }
    for (Handle prop : {props[1], props[2]}) SetStale(prop, true);
    QueueAllStale(t.Notebook());
    RunCascade(t.Notebook(), 10);
    EXPECT_EQ(ErrorNumber(props[1]), c.first) << c.name;
    EXPECT_EQ(ErrorNumber(props[2]), c.second) << c.name;
    EXPECT_FALSE(IsStale(props[1]) || IsStale(props[2])) << c.name;
  }
}

TEST_F(Cascade, TransformStepsReplayTheirRule) {
  TypeAssumptions(s, {"a*b"});
  Handle rule = NewTransformRule(NewProduct(NewWildcard('o'), NewWildcard('p')),
                                 NewSum(NewWildcard('p'), NewWildcard('o')), kRuleTransform);
  InsertProp(rule, s.Notebook(), ObjCount(s.Notebook()), 0);
  Derive(0, kMenuTransform);
  ASSERT_EQ(StatementProps(s.Notebook()).size(), 2u);
  ASSERT_EQ(Script(StatementOf(Prop(1))), "a*b=a+b");
  EXPECT_GE(ContingencyIndex(ContingenciesOf(Prop(1)), rule), 0);
  Replace(FindName(StatementOf(Prop(0)), "a"), NewUndeclaredName("c"));
  RunCascade(s.Notebook(), 10);
  EXPECT_EQ(Script(StatementOf(Prop(1))), "c*b=b+c");
  // A rule that no longer matches.
  Replace(ObjSlot(rule, 0), NewSum(NewWildcard('o'), NewWildcard('p')));
  RunCascade(s.Notebook(), 10);
  EXPECT_EQ(ErrorNumber(Prop(1)), kMsgRuleNoLongerMatches);
}

TEST_F(Cascade, RederiveNotebookReportsEveryConclusion) {
  TypeAssumptions(s, {"a*b"});
  Derive(0, kMenuCommute);
  Derive(1, kMenuCommute, true);
  auto errors = [&] {
    std::vector<MessageNumber> out;
    for (const ConclusionCheck& check : RederiveNotebook(s.Notebook())) out.push_back(check.error);
    return out;
  };
  EXPECT_EQ(errors(), (std::vector<MessageNumber>{0, 0}));
  Replace(StatementOf(Prop(0)), NewUndeclaredName("x"));
  EXPECT_EQ(errors(), (std::vector<MessageNumber>{kMsgBadCommute, kMsgErrorInSource}));
}

}  // namespace
}  // namespace lemmabox::testing
