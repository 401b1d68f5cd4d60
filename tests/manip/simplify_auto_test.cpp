// The Simplify dispatcher and Auto-simplify: the user's Simplify rules,
// the fresh mark, the pass limit, failures during a pass, and the "Auto
// Simplify" setting.
#include <gtest/gtest.h>

#include <string>

#include "manip/simplify.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/object.h"
#include "mathobj/tree_text.h"
#include "notebook/document.h"
#include "shell/messages.h"
#include "simplify_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using SimplifyAutoTest = SimplifyTest;

TEST_F(SimplifyAutoTest, APassNeedsAnObjectAndMarksItsResultFresh) {
  EXPECT_INTERNAL_ERROR("SimpOne", SimpOne(nullptr));
  Handle result = SimpOne(Build("+(x,x)"));
  EXPECT_TRUE(HasFlag(result, kFlagFresh));
  DisposeObj(result);
}

TEST_F(SimplifyAutoTest, SimplifyRulesApplyAfterEachEntry) {
  Rule("a", "b");
  Rule(";(g,`o)", "`o");
  EXPECT_EQ("*(2,b)", Simplified("+(a,a)"));
  EXPECT_EQ("*(2,x)", Simplified(";(g,+(x,x))"));
  EXPECT_EQ("x", OnePass(";(g,x)"));
}

TEST_F(SimplifyAutoTest, AutoSimplifyStopsAfterTenPasses) {
  // Every pass turns a into b and b into a: the tenth leaves a.
  Rule("a", "b");
  Rule("b", "a");
  EXPECT_EQ("b", OnePass("a"));
  EXPECT_EQ("a", Simplified("a"));
  EXPECT_EQ("b", Simplified("b"));
}

TEST_F(SimplifyAutoTest, AFailingPassLeavesTheFormBeforeIt) {
  // The first pass makes a summation over a constant, which the second
  // refuses: the result is the first pass's.
  Rule("y", "s(c,1,3)");
  EXPECT_EQ("s(c,1,3)", Simplified("y"));
  EXPECT_EQ(kMsgBadSummation, FailureOf("s(c,1,3)"));
}

TEST_F(SimplifyAutoTest, AutoSimplifyOffMeansOnePass) {
  CurrentManipulationSettings().autoSimplify = false;
  Handle untouched = AutoSimplify(Build("+(x,x)"));
  EXPECT_EQ("+(x,x)", Text(untouched));
  DisposeObj(untouched);
  // The Simplify manipulation then makes one pass: the exponent 1 + a is
  // left as the product combined it.
  EXPECT_EQ("^(x,+(1,a))", Simplified("*(x,^(x,a))"));
  CurrentManipulationSettings().autoSimplify = true;
  EXPECT_EQ("^(x,+(a,1))", Simplified("*(x,^(x,a))"));
}

TEST_F(SimplifyAutoTest, ResultsAreWellFormedTrees) {
  for (const char* tree : {"+(x,2,x,*(3,y),-(y))", "/(*(6,x,%(12)),*(4,y,x))", "*(A,x,B,2,c)",
                           ")(^(x,2),=(x,1),=(x,3))", "_(m2x2(1,2,3,4),1)"}) {
    Handle result = Simplify(Build(tree));
    EXPECT_EQ("", CheckLinks(result)) << tree;
    EXPECT_EQ(nullptr, ObjParent(result)) << tree;
    DisposeObj(result);
  }
}

}  // namespace
}  // namespace lemmabox::testing
