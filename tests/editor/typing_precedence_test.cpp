// Typing builds the trees that binding strengths dictate: operators climb
// out of what binds more tightly, join lists of their own kind, and stay
// inside exponents, indices and fractions unless the notebook is Fortranish.
#include <gtest/gtest.h>

#include "mathobj/object.h"
#include "mathobj/slots.h"
#include "mathobj/types.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

struct Typed {
  const char* script;
  const char* written;
};

TEST(TypingTrees, PrecedenceDecidesWhereEachOperatorGoes) {
  const Typed cases[] = {
      {"a+b*c", "a+b*c"},   {"a*b+c", "a*b+c"},     {"-a^2", "-a^2"},       {"a-b*c", "a-b*c"},
      {"a*b/c", "a*b/c"},   {"2*x^2+1", "2*x^2+1"}, {"(a+b)*c", "(a+b)*c"}, {"2*(a+b)", "2*(a+b)"},
      {"a-b-c", "a-b-c"},   {"a+b=c", "a+b=c"},     {"n!+1", "n!+1"},       {"a=b<c", "(a=b)<c"},
      {"2x", "2*x"},        {"2x^2", "2*x^2"},      {"x2+1", "x2+1"},       {"a...b", "a...b"},
      {"1...10", "1...10"}, {"-(a+b)", "-(a+b)"},
  };
  for (const Typed& c : cases) {
    TypingSession s;
    EXPECT_EQ(s.Type(c.script).Written(), c.written) << "typing " << c.script;
  }
}

TEST(TypingTrees, BracketBoundariesHoldOperatorsUnlessFortranish) {
  struct Case {
    const char* script;
    const char* interactive;
    const char* fortranish;
  };
  const Case cases[] = {
      {"x^2+1", "x^(2+1)", "x^2+1"},
      {"a/b/c", "a/(b/c)", "(a/b)/c"},
      {"x^2^3", "x^(2^3)", "(x^2)^3"},
      {"a/b*c", "a/(b*c)", "a/b*c"},
      {"x_i+1", "x_(i+1)", "x_i+1"},
      {"x^2{End}+1", "x^2+1", "x^2+1"},
      {"x^(a+b{End}{End}*c", "x^(a+b)*c", "x^(a+b)*c"},
  };
  for (const Case& c : cases) {
    TypingSession interactive({.fortranish = false});
    EXPECT_EQ(interactive.Type(c.script).Written(), c.interactive) << "typing " << c.script;
    TypingSession fortranish;
    EXPECT_EQ(fortranish.Type(c.script).Written(), c.fortranish) << "typing " << c.script;
  }
}

TEST(TypingTrees, ExplicitBracketsGroupWhileTypingAndGoOnCommit) {
  TypingSession s;
  s.Type("(a+b)*c");
  Handle product = s.Statement();
  ASSERT_EQ(ObjType(product), kProduct);
  // Until the edit is committed the brackets the user typed stand in the tree.
  EXPECT_EQ(ObjType(ObjSlot(product, 0)), kParens);
  s.Commit();
  EXPECT_EQ(ObjType(ObjSlot(s.Statement(), 0)), kSum);
  EXPECT_EQ(s.Written(), "(a+b)*c");
}

TEST(TypingTrees, FunctionNamesApplyToTheirArguments) {
  const Typed cases[] = {
      {"f(x)", "f(x)"},       {"f(x)+1", "f(x)+1"},
      {"2f(x)", "2*f(x)"},    {"f(x,y)", "f(x,y)"},
      {"sin x", "sin(x)"},    {"f(y){Return}f(x)^2", "(f(x))^2"},
      {"sqrt(x)", "sqrt(x)"}, {"Integral(x*d*x)", "Integral(x*d*x)"},
  };
  for (const Typed& c : cases) {
    TypingSession s;
    EXPECT_EQ(s.Type(c.script).Written(), c.written) << "typing " << c.script;
  }
  TypingSession s;
  s.Type("f(x)");
  s.Commit();
  EXPECT_EQ(ObjType(s.Statement()), kApply);
  // A variable before brackets multiplies them.
  TypingSession v;
  v.Platform().nameAnswers = {2, 2};
  v.Type("a(x+1)");
  EXPECT_EQ(v.Written(), "a*(x+1)");
}

TEST(TypingTrees, MatricesAreTypedByRowsAndCells) {
  TypingSession s;
  s.Type("1,2,3;4,5,6");
  s.Commit();
  Handle m = s.Statement();
  ASSERT_EQ(ObjType(m), kMatrix);
  EXPECT_EQ(MatrixRows(m), 2);
  EXPECT_EQ(MatrixCols(m), 3);
  EXPECT_EQ(s.Written(), "1,2,3;4,5,6");
  // A row shorter than the first leaves question marks to fill.
  TypingSession t;
  EXPECT_EQ(t.Type("a=(1,2;3)").Written(), "a=(1,2;3,?)");
}

TEST(TypingTrees, GreekLettersFromApostrophesAndTheSymbolFont) {
  TypingSession s;
  s.Type("'a+x'b");
  Handle sum = s.Statement();
  s.Commit();
  sum = s.Statement();
  ASSERT_EQ(ObjType(sum), kSum);
  EXPECT_EQ(s.Written(), "'a+x'b");
  TypingSession symbol;
  symbol.Press(SymbolCharCommand('p'));   // the Symbol font's pi
  symbol.Press(SymbolCharCommand(0xC1));  // its capital iota, elsewhere in the font
  symbol.Press(kCmdInsertCapitalEta);
  symbol.Commit();
  ASSERT_EQ(ObjType(symbol.Statement()), kName);
  EXPECT_EQ(symbol.Written(), "'p'I'H");
}

}  // namespace
}  // namespace lemmabox::testing
