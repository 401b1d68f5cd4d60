#include "mathobj/equivalence.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "mathobj_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::Build;
using testing::CheckLinks;
using testing::Show;

class EquivalenceTest : public testing::MathObjTest {
 protected:
  void TearDown() override {
    ClearBindingTable();
    for (Handle h : owned_) DisposeObj(h);
    testing::MathObjTest::TearDown();
  }
  Handle Make(const std::string& text) {
    Handle h = Build(text);
    owned_.push_back(h);
    return h;
  }
  Handle Own(Handle h) {
    owned_.push_back(h);
    return h;
  }
  std::string Binding(char letter) {
    Handle h = WildcardBinding(letter);
    return h ? Show(h) : "-";
  }
  std::string Rest(int which) {
    RestBinding rest = RestSlot(which);
    return rest.operands ? Show(rest.operands) : "-";
  }
  std::vector<Handle> owned_;
};

struct Pair {
  const char* a;
  const char* b;
  bool equivalent;
};

TEST_F(EquivalenceTest, ExactComparison) {
  const Pair cases[] = {
      {"+(a,b)", "+(a,b)", true},
      {"+(a,b)", "+(b,a)", false},  // exact mode keeps the order
      {"+(a,b)", "*(a,b)", false},
      {"+(a,b,c)", "+(a,b)", false},
      {"((a)", "a", true},  // explicit parentheses do not count
      {"a", "(((a))", true},
      {"*(((+(a,b)),c)", "*(+(a,b),c)", true},
      {"14", "14", true},
      {"14", "15", false},
      {"14", "14.0", false},  // an integer is not a real
      {"#14", "14", true},    // a number text is compared as what it stands for
      {"#2.5", "2.5", true},
      {"x", "x", true},
      {"x", "y", false},
      {"?", "?", false},  // an unknown equals nothing
      {"`a", "`a", true},
      {"`a", "`b", false},
      {"m2x2(a,b,c,d)", "m2x2(a,b,c,d)", true},
      {"m1x4(a,b,c,d)", "m2x2(a,b,c,d)", false},
      {"+(a,~)", "+(a,~)", true},
      {"+(a,~)", "+(a,b)", false},
      {";(f,x)", ";(f,x)", true},
      {"j(*(x,d,x),0,1)", "j(*(x,d,x),0,1)", true},
  };
  for (const Pair& c : cases) {
    Handle a = Make(c.a);
    Handle b = Make(c.b);
    EXPECT_EQ(c.equivalent, Equivalent(a, b)) << c.a << " vs " << c.b;
  }
}

TEST_F(EquivalenceTest, RealsAreEqualWithinTheToleranceAndZeroHasNoSign) {
  struct Reals {
    double a, b;
    bool equivalent;
  } cases[] = {
      {1.0, 1.0 + 1e-14, true},
      {1.0, 1.0 + 1e-12, false},
      {1e300, 1e300 * (1 + 1e-14), true},
      {2.5e-300, 2.5e-300 * (1 + 1e-15), true},
      {0.0, -0.0, true},
      {0.0, 1e-300, false},
  };
  for (const Reals& c : cases) {
    Handle a = Own(NewObj(kReal, kRealPayload));
    Handle b = Own(NewObj(kReal, kRealPayload));
    RealValue(a) = c.a;
    RealValue(b) = c.b;
    EXPECT_EQ(c.equivalent, Equivalent(a, b)) << c.a << " vs " << c.b;
    EXPECT_EQ(c.equivalent, Equivalent(b, a)) << c.b << " vs " << c.a;
  }
}

TEST_F(EquivalenceTest, QuestionMarksMatchOnlyInTheirModeAndOnlyOnTheRight) {
  const struct {
    const char* a;
    const char* b;
    bool exact, withQuestionMarks;
  } cases[] = {
      {"+(a,b)", "+(a,?)", false, true},
      {"+(a,?)", "+(a,b)", false, false},  // a question mark in the subject is no pattern
      {"?", "?", false, true},
      {"*(+(a,b),c)", "*(?,c)", false, true},
      {"+(a,b,c)", "+(a,?)", false, false},  // it stands for one operand
  };
  for (const auto& c : cases) {
    Handle a = Make(c.a);
    Handle b = Make(c.b);
    EXPECT_EQ(c.exact, Equivalent(a, b)) << c.a << " vs " << c.b;
    EXPECT_EQ(c.withQuestionMarks, EquivalentWithQuestionMarks(a, b)) << c.a << " vs " << c.b;
  }
  // A question mark in a pattern is no wildcard either.
  EXPECT_FALSE(MatchPattern(Make("x"), Make("?")));
}

struct MatchCase {
  const char* subject;
  const char* pattern;
  bool matches;
  const char* bindings;  // "p=x q=+(a,b)" for the letters that must be bound
  const char* rest1;
  const char* rest2;
};

TEST_F(EquivalenceTest, PatternMatching) {
  const MatchCase cases[] = {
      // Sums and products match in any order in pattern mode.
      {"+(b,a)", "+(a,b)", true, "", "-", "-"},
      {"*(y,2,x)", "*(x,y,2)", true, "", "-", "-"},
      {"((+(b,a))", "+(a,b)", true, "", "-", "-"},
      // The integer kinds take integer objects only.
      {"14", "`i", true, "i=14", "-", "-"},
      {"14.0", "`i", false, "", "-", "-"},
      {"n", "`i", false, "", "-", "-"},
      {"-(14)", "`k", false, "", "-", "-"},
      // The variable kinds take names and numbers; the anything kinds anything.
      {"x", "`s", true, "s=x", "-", "-"},
      {"m1x2(?,?)", "`s", false, "", "-", "-"},            // an operator-like matrix is no variable
      {"m1x2(1,2)", "`s", true, "s=m1x2(1,2)", "-", "-"},  // a constant one is a constant
      {"m1x2(a,b)", "`p", true, "p=m1x2(a,b)", "-", "-"},
      // A letter bound once must see the same thing again.
      {",(x,x)", ",(`p,`p)", true, "p=x", "-", "-"},
      {",(x,y)", ",(`p,`p)", false, "", "-", "-"},
      {",(+(a,b),+(a,b))", ",(`p,`p)", true, "p=+(a,b)", "-", "-"},
      {",(+(a,b),+(b,a))", ",(`p,`p)", false, "", "-", "-"},  // the second is compared exactly
      {";(f,+(x,y))", ";(`p,+(y,`q))", true, "p=f q=x", "-", "-"},
      // A failed position-by-position attempt leaves no binding behind.
      {"+(a,b)", "+(`p,a)", true, "p=b", "-", "-"},
      // A bare wildcard absorbs several operands of a sum below the top too.
      {";(f,+(a,b,c))", ";(f,+(b,`p))", true, "p=+(a,c)", "-", "-"},
      {";(f,+(a,b,c))", ";(f,+(b,`i))", false, "", "-", "-"},
      {";(f,+(a,b,c))", ";(f,+(b,c))", false, "", "-", "-"},  // below the top all must be used
      // At the top the operands nobody takes are the rest, in front or behind.
      {"+(a,b,c,d)", "+(b,c)", true, "", "+(a)", "+(d)"},
      {"*(2,x,y)", "*(x,y)", true, "", "*(2)", "-"},
      {"+(1,x,2)", "+(`j,x)", true, "j=1", "-", "+(2)"},
      {"+(a,b,c)", "+(a,`p)", true, "p=+(b,c)", "-", "-"},
      {"+(a,b,c)", "+(`p,`q)", true, "p=a q=+(b,c)", "-", "-"},
      // A sum or product pattern wants at least as many operands as it has.
      {"+(a,b)", "+(a,b,c)", false, "", "-", "-"},
      {"+(a,b)", "*(a,b)", false, "", "-", "-"},
      // Factors that do not commute (matrices) keep their order.
      {"*(m1x1(a),m1x1(b))", "*(m1x1(b),m1x1(a))", false, "", "-", "-"},
      {"*(2,m1x1(a),m1x1(b))", "*(m1x1(a),m1x1(b),2)", true, "", "-", "-"},
      {"*(m1x1(a),x,m1x1(b))", "*(m1x1(a),m1x1(b))", true, "", "-", "*(x)"},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(std::string(c.subject) + " against " + c.pattern);
    Handle subject = Make(c.subject);
    Handle pattern = Make(c.pattern);
    std::string subjectBefore = Show(subject), patternBefore = Show(pattern);
    EXPECT_EQ(c.matches, MatchPattern(subject, pattern));
    // Matching never changes either side.
    EXPECT_EQ(subjectBefore, Show(subject));
    EXPECT_EQ(patternBefore, Show(pattern));
    EXPECT_EQ("", CheckLinks(subject));
    std::string expected = c.bindings;
    std::string actual;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
      if (!WildcardBinding(letter)) continue;
      if (!actual.empty()) actual += ' ';
      actual += std::string(1, letter) + "=" + Binding(letter);
    }
    EXPECT_EQ(expected, actual);
    std::string rest1 = c.rest1, rest2 = c.rest2;
    EXPECT_EQ(rest1, Rest(0));
    EXPECT_EQ(rest2, Rest(1));
    EXPECT_EQ(!c.matches || (actual.empty() && rest1 == "-" && rest2 == "-"), BindingTableClean());
  }
}

TEST_F(EquivalenceTest, InstantiationFillsBindingsAndPutsTheRestBack) {
  const struct {
    const char* subject;
    const char* from;
    const char* to;
    const char* result;
  } cases[] = {
      // x^2 + x^2 -> 2 x^2, with the other terms kept around it.
      {"+(a,^(x,2),b,^(x,2),c)", "+(^(`p,2),^(`p,2))", "*(2,^(`p,2))", "+(a,*(2,^(x,2)),b,c)"},
      // The rest goes into a result of the same operator.
      {"+(a,b,c,d)", "+(b,c)", "+(u,v)", "+(a,u,v,d)"},
      {"*(2,x,x)", "*(x,x)", "^(x,2)", "*(2,^(x,2))"},
      // Unbound wildcards stay.
      {";(f,3)", ";(f,`i)", "+(`i,`z)", "+(3,`z)"},
      {"14", "`i", "`i", "14"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subject);
    Handle subject = Make(c.subject);
    Handle result = Own(ApplyRule(subject, Make(c.from), Make(c.to)));
    ASSERT_NE(nullptr, result);
    EXPECT_EQ(c.result, Show(result));
    EXPECT_EQ("", CheckLinks(result));
  }
  EXPECT_EQ(nullptr, ApplyRule(Make("+(a,b)"), Make("*(`p,`q)"), Make("x")));
  EXPECT_TRUE(BindingTableClean());
}

TEST_F(EquivalenceTest, ReplaceAllReplacesTopDownOnce) {
  const struct {
    const char* expr;
    const char* pattern;
    const char* replacement;
    const char* result;
  } cases[] = {
      {"+(x,^(x,2),;(f,x))", "x", "y", "+(y,^(y,2),;(f,y))"},
      {"*(+(a,b),((+(a,b)))", "+(a,b)", "c", "*(c,c)"},
      // The replacement is not searched again.
      {"+(x,1)", "x", "+(x,1)", "+(+(x,1),1)"},
      {"x", "x", "y", "y"},
      {"+(a,b)", "+(b,a)", "c", "+(a,b)"},  // exact comparison only
      {"+(?,x)", "?", "y", "+(?,x)"},
  };
  for (const auto& c : cases) {
    Handle result = Own(ReplaceAll(Build(c.expr), Make(c.pattern), Make(c.replacement)));
    EXPECT_EQ(c.result, Show(result)) << c.expr;
    EXPECT_EQ("", CheckLinks(result));
  }
  // The pattern may lie inside the expression itself.
  Handle expr = Build("+(x,*(x,y))");
  Handle inner = ObjSlot(expr, 0);
  Handle result = Own(ReplaceAll(expr, inner, Make("z")));
  EXPECT_EQ("+(z,*(z,y))", Show(result));
}

TEST_F(EquivalenceTest, NegatedSums) {
  const Pair cases[] = {
      {"+(a,-(b))", "+(-(a),b)", true},
      {"+(-(a),-(b))", "+(a,b)", true},
      {"+(a,b)", "+(-(a),b)", false},        // two plain terms
      {"+(-(a),b)", "+(-(a),-(b))", false},  // two negations
      {"+(a,b)", "+(-(b),-(a))", false},     // position by position
      {"+(a,b)", "+(-(a),-(b),c)", false},
      {"+()", "+()", true},
      {"a", "-(a)", false},  // sums only
  };
  for (const Pair& c : cases)
    EXPECT_EQ(c.equivalent, IsNegatedSum(Make(c.a), Make(c.b))) << c.a << " vs " << c.b;
}

TEST_F(EquivalenceTest, IndefiniteIntegralsOfZeroFollowTheNotebookSetting) {
  EquivalenceHooks saved = gEquivalenceHooks;
  const Pair integrals[] = {
      {"j(0)", "j(0)", false},    {"j(-(0.0))", "j(-(0.0))", false},
      {"j(((0))", "j(0)", false}, {"j(0,a,b)", "j(0,a,b)", true},  // definite: a number
      {"j(x)", "j(x)", true},
  };
  gEquivalenceHooks.indefiniteZeroIntegralsDiffer = [](Handle) { return true; };
  for (const Pair& c : integrals) {
    EXPECT_EQ(c.equivalent, Equivalent(Make(c.a), Make(c.b))) << c.a;
    EXPECT_TRUE(EquivalentWithQuestionMarks(Make(c.a), Make(c.b))) << c.a;
  }
  gEquivalenceHooks.indefiniteZeroIntegralsDiffer = [](Handle) { return false; };
  for (const Pair& c : integrals) EXPECT_TRUE(Equivalent(Make(c.a), Make(c.b))) << c.a;
  gEquivalenceHooks = saved;
}

TEST_F(EquivalenceTest, AnUnknownTypeIsAnInternalError) {
  Handle odd = Make("+(a,b)");
  Handle other = Make("+(a,b)");
  Hdr(odd).type = 'Q';
  Hdr(other).type = 'Q';
  EXPECT_INTERNAL_ERROR("UnEquiv", Equivalent(odd, other));
  Hdr(odd).type = kSum;
  Hdr(other).type = kSum;
}

// A case the search cannot prune: sixteen x^x patterns of distinct letters
// against eight x^x and eight x^(x+1) operands. Every pattern operand looks
// feasible for every subject operand until its letters are compared, so only
// the budget ends the search (bench/matching.cpp times it); the answer is no
// match.
TEST_F(EquivalenceTest, OrderFreeSearchIsBounded) {
  std::string subject = ";(f,+(";
  std::string pattern = ";(f,+(";
  const char* letters = "ijklmnopqrstuvwx";
  for (int k = 0; k < 16; ++k) {
    int base = k % 8 + 1;
    int exponent = k < 8 ? base : base + 1;
    subject += std::string(k ? "," : "") + "^(" + std::to_string(base) + "," +
               std::to_string(exponent) + ")";
    pattern += std::string(k ? "," : "") + "^(`" + letters[k] + ",`" + letters[k] + ")";
  }
  Handle s = Make(subject + "))");
  Handle p = Make(pattern + "))");
  EXPECT_FALSE(MatchPattern(s, p));
  EXPECT_TRUE(LastOrderFreeFigures().budgetExhausted);
  EXPECT_LE(LastOrderFreeFigures().work, kOrderFreeBudget);
  EXPECT_TRUE(BindingTableClean());
  // The same operands with one pattern operand less than there are x^x
  // operands are found at once.
  Handle fits = Make(";(f,+(^(1,2),^(3,3),^(4,5),^(2,2),^(1,1)))");
  Handle few = Make(";(f,+(^(`o,`o),`p,^(`q,`q),`r,^(`s,`s)))");
  EXPECT_TRUE(MatchPattern(fits, few));
  EXPECT_FALSE(LastOrderFreeFigures().budgetExhausted);
}

// Random expressions: an expression matches itself, and a pattern made from
// it by putting wildcards in place of some parts matches it and instantiates
// back to it.
class RandomTrees {
 public:
  explicit RandomTrees(unsigned seed) : rng_(seed) {}

  std::string Expression(int depth) {
    int pick = Pick(depth <= 0 ? 3 : 8);
    switch (pick) {
      case 0:
        return std::string(1, static_cast<char>('a' + Pick(5)));
      case 1:
        return std::to_string(Pick(20));
      case 2:
        return std::to_string(Pick(9)) + ".5";
      case 3:
        return Nary('+', depth);
      case 4:
        return Nary('*', depth);
      case 5:
        return "^(" + Expression(depth - 1) + "," + Expression(depth - 1) + ")";
      case 6:
        return ";(f," + Expression(depth - 1) + ")";
      default:
        return "-(" + Expression(depth - 1) + ")";
    }
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  std::string Nary(char op, int depth) {
    int n = 1 + Pick(5);
    std::string text(1, op);
    text += '(';
    for (int i = 0; i < n; ++i) text += (i ? "," : "") + Expression(depth - 1);
    return text + ')';
  }
  std::mt19937 rng_;
};

// Replaces some sub-objects of a copy with wildcards of distinct letters.
void PutWildcards(Handle obj, RandomTrees& random, char& letter) {
  for (int i = 0; i < ObjCount(obj); ++i) {
    Handle child = ObjSlot(obj, i);
    if (child == nullptr) continue;
    if (letter <= 'z' && random.Pick(4) == 0) {
      char kind = letter++;
      PutSlot(obj, i, NewWildcard(kind));
    } else {
      PutWildcards(child, random, letter);
    }
  }
}

TEST_F(EquivalenceTest, RandomExpressionsMatchThemselvesAndTheirPatterns) {
  RandomTrees random(20240611);
  for (int round = 0; round < 400; ++round) {
    std::string text = random.Expression(4);
    SCOPED_TRACE(text);
    Handle e = Make(text);
    ASSERT_TRUE(MatchPattern(e, e));
    Handle same = Own(InstantiatePattern(DupObj(e)));
    EXPECT_TRUE(Equivalent(same, e));

    Handle pattern = Own(DupObj(e));
    char letter = 'o';  // the anything and variable kinds accept every operand here
    PutWildcards(pattern, random, letter);
    std::string patternText = Show(pattern);
    ASSERT_TRUE(MatchPattern(e, pattern)) << patternText;
    Handle back = Own(InstantiatePattern(DupObj(pattern)));
    EXPECT_TRUE(Equivalent(back, e)) << patternText << " gave " << Show(back);
    EXPECT_EQ(text, Show(e));
    EXPECT_EQ(patternText, Show(pattern));
  }
}

}  // namespace
}  // namespace lemmabox
