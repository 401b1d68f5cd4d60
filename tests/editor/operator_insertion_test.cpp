// Operator insertion at every kind of selection: whole objects, carets
// before and after, text carets, slot ranges and carets of operand lists,
// matrix blocks; prefix and postfix operators; two-character operators.
#include <gtest/gtest.h>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/types.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

TEST(OperatorInsertion, TypingIntoAFreshQuestionMark) {
  TypingSession s(Interactive());
  s.Type("a+b");
  Selection caret = s.Primary();
  ASSERT_NE(FindName(s.Statement(), "b"), nullptr);
  EXPECT_EQ(caret.obj, FindName(s.Statement(), "b"));
  EXPECT_EQ(caret.position, PackRange(1, 1));
  EXPECT_EQ(s.Written(), "a+b");
}

TEST(OperatorInsertion, WholeSelectionsAndCaretsBesideThem) {
  struct Case {
    const char* script;
    const char* select;  // a name, or "" for the whole statement
    int32_t position;
    const char* typed;
    const char* written;
  };
  const Case cases[] = {
      {"a+b", "", kPosWhole, "*", "(a+b)*?"},          {"a+b", "b", PackRange(1, 1), "*", "a+b*?"},
      {"a+b*c", "c", kPosCaretAfter, "+", "a+b*c+?"},  {"a*b", "b", kPosWhole, "+", "a*(b+?)"},
      {"a*b", "b", kPosWhole, "*", "a*b*?"},           {"a*b", "a", kPosCaretBefore, "+", "?+a*b"},
      {"a*b", "b", kPosCaretBefore, "*", "a*?*b"},     {"ab", "ab", PackRange(1, 1), "+", "ab+?"},
      {"x^2", "2", PackRange(1, 1), "+", "x^(2+?)"},   {"a", "a", kPosCaretAfter, "-", "a-?"},
      {"a", "a", kPosCaretAfter, "\\", "a*sqrt(?)"},   {"a", "a", kPosWhole, "\\", "sqrt(a)"},
      {"a", "a", kPosCaretBefore, "!", "?!*a"},        {"n", "n", kPosCaretAfter, "!", "n!"},
      {"x", "x", kPosCaretAfter, "\xA4", "x*Diff(?)"},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type(c.script);
    Handle target = *c.select ? FindName(s.Statement(), c.select) : s.Statement();
    if (target == nullptr) target = FindType(s.Statement(), kNumberText);
    ASSERT_NE(target, nullptr) << c.script;
    s.Select(target, c.position);
    s.Type(c.typed);
    EXPECT_EQ(s.Written(), c.written) << c.script << " then " << c.typed;
  }
}

TEST(OperatorInsertion, TheNewOperandGetsTheCaret) {
  TypingSession s(Interactive());
  s.Type("a+b");
  s.Select(s.Statement(), kPosWhole);
  s.Type("*");
  Selection caret = s.Primary();
  ASSERT_NE(caret.obj, nullptr);
  EXPECT_EQ(ObjType(caret.obj), kQuestion);
  EXPECT_EQ(ObjSlotIndex(caret.obj), 1);
  // A question mark selected whole keeps the caret itself.
  TypingSession q(Interactive());
  q.Type("?");
  q.Select(q.Statement(), kPosWhole);
  q.Type("=");
  EXPECT_EQ(q.Primary().obj, ObjSlot(q.Statement(), 0));
}

TEST(OperatorInsertion, MinusSubtractsNegatesOrTakesItsNegationAway) {
  TypingSession s(Interactive());
  s.Type("-");
  Handle negation = s.Statement();
  ASSERT_EQ(ObjType(negation), kNegation);
  EXPECT_EQ(s.Primary().obj, ObjSlot(negation, 0));
  s.Type("-");  // on the negated question mark: the negation goes
  EXPECT_EQ(ObjType(s.Statement()), kQuestion);
  s.Type("x-");
  EXPECT_EQ(ObjType(s.Statement()), kSum);
  TypingSession n(Interactive());
  n.Type("-x");
  n.Select(n.Statement(), kPosWhole);
  n.Type("-");
  EXPECT_EQ(n.Written(), "x");
}

TEST(OperatorInsertion, SlotRangesOfOperandLists) {
  struct Case {
    int32_t position;
    const char* typed;
    const char* written;
  };
  const Case cases[] = {
      {PackRange(1, 3), "*", "a+(b+c)*?+d"}, {PackRange(1, 1), "+", "a+?+b+c+d"},
      {PackRange(2, 2), "*", "a+b*?+c+d"},   {PackRange(1, 3), "\\", "a+sqrt(b+c)+d"},
      {PackRange(0, 4), "*", "(a+b+c+d)*?"}, {PackRange(0, 0), "*", "?*(a+b+c+d)"},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type("a+b+c+d");
    s.Select(s.Statement(), c.position);
    s.Type(c.typed);
    EXPECT_EQ(s.Written(), c.written) << c.typed << " at " << std::hex << c.position;
  }
}

TEST(OperatorInsertion, TypingIntoABlockOfMatrixCells) {
  TypingSession s(Interactive());
  s.Type("1,2;3,4");
  s.Select(s.Statement(), PackBlock(0, 0, 1, 2));
  s.Type("+");
  EXPECT_EQ(s.View().selections.size(), 2u);
  s.Type("x");
  EXPECT_EQ(s.Written(), "1+x,2+x;3,4");
  s.Select(s.Statement(), PackBlock(0, 1, 2, 2));
  s.Type("y");
  EXPECT_EQ(s.Written(), "1+x,y;3,y");
}

TEST(OperatorInsertion, TwoCharacterOperators) {
  struct Case {
    const char* script;
    const char* written;
    TypeCode top;
  };
  const Case cases[] = {
      {"a<=b", "a<=b", kLessEqual}, {"a>=b", "a>=b", kGreaterEqual}, {"a<>b", "a<>b", kNotEqual},
      {"x**2", "x^2", kPower},      {"a*@b", "a*@b", kDot},          {"a*#b", "a*#b", kCross},
      {"x^*", "x^*", kAdjoint},     {"a...b", "a...b", kRange},      {"2*x**2", "2*x^2", kProduct},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    EXPECT_EQ(s.Type(c.script).Written(), c.written) << c.script;
    EXPECT_EQ(ObjType(s.Statement()), c.top) << c.script;
  }
  // The pair must follow at once: something typed between makes two objects.
  TypingSession apart(Interactive());
  apart.Type("a<b{Left}{Right}=c");
  EXPECT_EQ(apart.Written(), "(a<b)=c");
}

TEST(OperatorInsertion, CharactersOfTheNameAlphabetThatAreOperators) {
  struct Case {
    uint8_t typed;
    TypeCode made;
  };
  const Case cases[] = {{kCharLessEqual, kLessEqual}, {kCharGreaterEqual, kGreaterEqual},
                        {kCharNotEqual, kNotEqual},   {kCharBullet, kDot},
                        {kCharTimes, kCross},         {0xD2, kEvalAt}};
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type("a");
    s.Press(TypeCharCommand(c.typed));
    s.Type("b");
    EXPECT_EQ(ObjType(s.Statement()), c.made) << std::hex << int{c.typed};
  }
}

TEST(OperatorInsertion, ListsStopAtThirtyTwoThousandOperands) {
  TypingSession s(Interactive());
  s.Type("x");
  Handle sum = NewObjN(kSum, kMaxOperands);
  for (int i = 0; i < kMaxOperands; ++i) PutSlot(sum, i, NewQuestionMark());
  PutSlot(s.LastProposition(), 0, sum);
  s.Select(ObjSlot(sum, kMaxOperands - 1), kPosCaretAfter);
  s.Type("+");
  EXPECT_TRUE(s.Alerted(kMsgExpressionTooLarge));
  EXPECT_EQ(ObjCount(s.Statement()), kMaxOperands);
}

}  // namespace
}  // namespace lemmabox::testing
