// The expression writer: every type's typing script, the parentheses it
// needs, and that what it writes types back into the same tree.
#include "notebook/expression_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "mathobj/types.h"
#include "shell/charset.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

// Scripts that read back as themselves: typing them and writing the result
// gives the same text (the file format depends on it).
TEST(ExpressionWriter, ScriptsReadBackAsWritten) {
  const char* scripts[] = {
      "a+b",
      "a-b",
      "-a+b",
      "a+(b+c)",
      "2*(b*c)",
      "(a+b)*c",
      "a*b/c",
      "(a/b)/c",
      "a/(b/c)",
      "a/(b*c)",
      "x^2+2*x+1",
      "(x^2)^3",
      "x^(2^3)",
      "x^(-1)",
      "-(a+b)",
      "-(-a)",
      "2*(-b)",
      "x_i^2",
      "x_(i+1)",
      "n!",
      "(a+b)!",
      "x^*",
      "(a*b)^*",
      "a*#b",
      "(a*b)*#c",
      "a*@(b+c)",
      "a<b",
      "a=b",
      "a<=b",
      "a<>b",
      "a>=b",
      "1...n",
      "f(x)",
      "f(x,y)",
      "(f(x))^2",
      "sqrt(x+1)",
      "abs(x)",
      "Diff(x)*f",
      "Integral(f*d*x)",
      "Integral(f*d*x:0:1)",
      "Summation(i:1:n)*i",
      "PiProduct(k:k:1:n)",
      "Limit(x:0:f)",
      "ForAll(f:x>0)",
      "EvaluateAt(f:(x=0):(x=1))",
      "1,2;3,4",
      "f(1,2)",
      "?",
      "?a+?b",
      "2.5",
      "1.5e-300",
      "0.25",
      "'p*r^2",
      "'a+'b",
      "x=y+1",
      "x^2=0",
      "(x=1)=(y=2)",
  };
  for (const char* script : scripts) {
    TypingSession s;
    s.Type(script);
    EXPECT_EQ(s.Written(), script) << "typing " << script;
  }
}

class WriterTest : public HeadlessTest {
 protected:
  void TearDown() override {
    UseOlderBindingTable(false);
    HeadlessTest::TearDown();
  }
  std::string Write(Handle obj) {
    std::string text = ExpressionScript(obj);
    DisposeObj(obj);
    return text;
  }
};

TEST_F(WriterTest, NumbersAndEmptyShapes) {
  EXPECT_EQ(Write(NewObjN(kSum, 0)), "0");
  EXPECT_EQ(Write(NewNumberText(".5")), "0.5");
  const char exponent[] = {'2', static_cast<char>(kCharExponent), '-', '3', 0};
  EXPECT_EQ(Write(NewNumberText(exponent)), "2E-3");
  EXPECT_EQ(Write(NewInteger(-12)), "-12");
  // A real keeps a point or an exponent, so that it does not come back an
  // integer; the text reads back as the same value.
  EXPECT_EQ(Write(NewReal(2.0000001)), "2.0000001");
  Handle whole = NewObj(kReal, kRealPayload);
  RealValue(whole) = 3;
  EXPECT_EQ(Write(whole), "3.");
  Handle big = NewObj(kReal, kRealPayload);
  RealValue(big) = 1e300;
  EXPECT_EQ(Write(big), "1e+300");
  EXPECT_EQ(Write(NewProduct(NewQuestionMark(), nullptr)), "?*?");
}

TEST_F(WriterTest, NamesWithGreekLettersAndMissingLetters) {
  const char name[] = {static_cast<char>(kCharPi), 'r', static_cast<char>(0xFC), 0};
  // The second nabla is written as the one typing gives.
  EXPECT_EQ(Write(NewUndeclaredName(name)), "'pr'Z");
  const char unwritable[] = {'x', static_cast<char>(0x92), 0};
  Handle bad = NewUndeclaredName(unwritable);
  EXPECT_INTERNAL_ERROR("txSym", ExpressionScript(bad));
  DisposeObj(bad);
}

TEST_F(WriterTest, OlderBindingTableParenthesisesVectorProducts) {
  auto cross = [] {
    return NewProduct(NewUndeclaredName("a"),
                      NewObj2(kCross, NewUndeclaredName("b"), NewUndeclaredName("c")));
  };
  EXPECT_EQ(Write(cross()), "a*(b*#c)");
  UseOlderBindingTable(true);
  EXPECT_EQ(Write(cross()), "a*b*#c");
}

TEST_F(WriterTest, DetachedMatrixIsEnclosedAndListsKeepTheirElements) {
  Handle m = NewMatrix(1, 2);
  PutSlot(m, 0, NewUndeclaredName("a"));
  PutSlot(m, 1, NewEquation(NewUndeclaredName("b"), NewOne()));
  EXPECT_EQ(Write(m), "(a,(b=1))");
  Handle list = NewObjN(kList, 2);
  PutSlot(list, 0, NewSum(NewUndeclaredName("a"), NewOne()));
  PutSlot(list, 1, NewUndeclaredName("b"));
  EXPECT_EQ(Write(list), "a+1,b");
}

TEST_F(WriterTest, LongScriptsAreContinuedBeforeAnObject) {
  Handle sum = NewObjN(kSum, 40);
  for (int i = 0; i < 40; ++i) PutSlot(sum, i, NewUndeclaredName("abc"));
  std::string text;
  AppendExpressionScript(text, sum, true);
  DisposeObj(sum);
  // Each line runs a little past 60 characters, then "~\n " and the next
  // object, never inside a name.
  size_t line = 0;
  for (size_t at = text.find("~\n "); at != std::string::npos; at = text.find("~\n ", line)) {
    EXPECT_GT(at - line, kLineContinuationWidth);
    EXPECT_LT(at - line, kLineContinuationWidth + 8);
    EXPECT_TRUE(text.compare(at + 3, 3, "abc") == 0 || text.compare(at + 3, 1, "+") == 0);
    line = at + 3;
  }
  EXPECT_GT(line, 0u);
  std::string joined;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "~\n ") == 0) {
      i += 2;
      continue;
    }
    joined += text[i];
  }
  EXPECT_EQ(joined.size(), 40 * 4 - 1u);
}

TEST(FunctionCallWords, EveryWrittenWordTypesItsOperator) {
  for (TypeCode type : {kSqrt, kAbs, kPartial, kSummation, kPiProduct, kLimit, kForAll, kIntegral,
                        kEvalAt, kConditional}) {
    const char* word = FunctionCallName(type);
    ASSERT_NE(word, nullptr);
    int operands = 0;
    EXPECT_EQ(FunctionCallType(word, &operands), type) << word;
    EXPECT_GE(operands, 1);
  }
  EXPECT_EQ(FunctionCallType("Partial", nullptr), kPartial);
  EXPECT_EQ(FunctionCallType("sine", nullptr), 0);
}

}  // namespace
}  // namespace lemmabox::testing
