// Transformation rules: which rules a manipulation uses, in which order, and
// the choice among several results.
#include "notebook/rules.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/knowledge.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class RulesTest : public NotebookTest {
 protected:
  void SetUp() override {
    NotebookTest::SetUp();
    Declare("y");
    Declare("z");
  }
  // "Upon <manipulation> transform ?x+?x into 2*?x" (or into `into`).
  Handle Doubling(int manipulation, Handle into = nullptr, Handle theory = nullptr) {
    Handle rule = NewTransformRule(Op('+', W('x'), W('x')), into ? into : Op('*', I(2), W('x')),
                                   manipulation);
    return Append(rule, 0, theory);
  }
  Handle Subject(const char* name, Handle theory = nullptr) {
    Handle prop = Assume(Op('+', N(name), N(name)), 0, theory);
    Resolve();
    return StatementOf(prop);
  }
};

TEST_F(RulesTest, OnlyRulesForTheManipulationApply) {
  Doubling(kRuleExpand);
  Handle rule = Doubling(kRuleTransform);
  Handle subject = Subject("y");
  std::vector<TransformMatch> matches = LookupTrans(subject, kRuleTransform);
  ASSERT_EQ(1u, matches.size());
  EXPECT_EQ(rule, matches[0].rule);
  EXPECT_EQ("*(2,@y)", Show(matches[0].result));
  DisposeObj(matches[0].result);
  EXPECT_TRUE(LookupTrans(subject, kRuleSimplify).empty());
  EXPECT_INTERNAL_ERROR("LookupTrans", LookupTrans(subject, 4));
}

TEST_F(RulesTest, RulesUsedBackwardsProduceThePattern) {
  Handle rule = Doubling(kRuleExpand);
  Handle prop = Assume(Op('*', I(2), N("z")));
  Resolve();
  Handle result = ApplyFirstRule(StatementOf(prop), -kRuleExpand);
  ASSERT_NE(nullptr, result);
  EXPECT_EQ("+(@z,@z)", Show(result));
  DisposeObj(result);
  (void)rule;
}

TEST_F(RulesTest, InnerTheoriesComeFirstAndRulesBecomeContingencies) {
  Handle outer = Doubling(kRuleTransform);
  Handle theory = CaseTheory();
  Handle inner = Doubling(kRuleTransform, Op('*', W('x'), I(2)), theory);
  Handle subject = Subject("y", theory);
  Handle target = GetObjProp(subject);
  MakeConclusion(target, nullptr);
  SetContingencyTarget(target);
  std::vector<TransformMatch> matches = LookupTrans(subject, kRuleTransform);
  ClearContingencyTarget();
  ASSERT_EQ(2u, matches.size());
  EXPECT_EQ(inner, matches[0].rule);
  EXPECT_EQ(outer, matches[1].rule);
  Handle list = StmtRecord(target).contingencies;
  EXPECT_EQ(0, ContingencyIndex(list, inner));
  EXPECT_EQ(1, ContingencyIndex(list, outer));
  // The user picks the second result; the other is disposed.
  platform.listAnswers = {1};
  Handle chosen = ChooseTransformation(matches);
  EXPECT_EQ("*(2,@y)", Show(chosen));
  ASSERT_EQ(1u, platform.listsOffered.size());
  EXPECT_EQ(2u, platform.listsOffered[0].size());
  DisposeObj(chosen);
  // The first match alone is what the Simplify and Expand rules take.
  Handle first = ApplyFirstRule(subject, kRuleTransform);
  EXPECT_EQ("*(@y,2)", Show(first));
  DisposeObj(first);
}

TEST_F(RulesTest, CancellingTheChoiceLeavesNothing) {
  Doubling(kRuleTransform);
  Doubling(kRuleTransform, Op('*', W('x'), I(2)));
  Handle subject = Subject("z");
  std::vector<TransformMatch> matches = LookupTrans(subject, kRuleTransform);
  platform.listAnswers = {-1};
  EXPECT_EQ(nullptr, ChooseTransformation(matches));
  std::vector<TransformMatch> none;
  EXPECT_EQ(nullptr, ChooseTransformation(none));
  std::vector<TransformMatch> one = LookupTrans(subject, kRuleTransform, true);
  Handle only = ChooseTransformation(one);
  EXPECT_EQ("*(2,@z)", Show(only));
  EXPECT_EQ(1u, platform.listsOffered.size());  // one result: no question
  DisposeObj(only);
}

}  // namespace
}  // namespace lemmabox::testing
