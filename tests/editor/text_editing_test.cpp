// Editing names and numbers character by character.
#include <gtest/gtest.h>

#include <string>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/types.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

TEST(TextEditing, NamesAndNumbersAsTyped) {
  struct Case {
    const char* script;
    const char* written;
  };
  const Case cases[] = {
      {"abc", "abc"}, {"x1", "x1"},         {"2x", "2*x"},     {"ab c", "ab*c"},
      {" ab", "ab"},  {"1.5e-3", "0.0015"}, {"2E+3", "2000."}, {"1.2.3", "1.2...3"},
      {".5", "0.5"},  {"?x+1", "?x+1"},     {"?X", "?*X"},     {"f'", "f'"},
      {"12e", "12."}, {"'N", "'N"},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    EXPECT_EQ(s.Type(c.script).Written(), c.written) << "typing " << c.script;
  }
}

TEST(TextEditing, ApostropheThenLetterGivesAGreekLetter) {
  TypingSession s(Interactive());
  s.Type("x'a");
  Handle name = s.Statement();
  ASSERT_EQ(ObjType(name), kUndeclaredName);
  EXPECT_EQ(std::string(ObjText(name)), std::string("x\x8C"));
  EXPECT_EQ(s.Primary().position, PackRange(2, 2));
  // A letter the map does not have stays after the apostrophe.
  s.Type("'v");
  EXPECT_EQ(std::string(ObjText(s.Statement())), std::string("x\x8C'v"));
}

TEST(TextEditing, ThirtyOneCharactersAtMost) {
  TypingSession s(Interactive());
  const std::string longest(31, 'a');
  s.Type(longest);
  EXPECT_FALSE(s.Alerted(kMsgNameTooLong));
  Handle name = s.Statement();
  s.Type("b");
  EXPECT_TRUE(s.Alerted(kMsgNameTooLong));
  EXPECT_EQ(std::string(ObjText(name)), longest);
  EXPECT_EQ(s.Primary().obj, name);
  EXPECT_EQ(s.Primary().position, kPosWhole);
  // Replacing a selected character is not lengthening.
  s.Select(name, PackRange(30, 31));
  s.Type("z");
  EXPECT_EQ(std::string(ObjText(name)), std::string(30, 'a') + "z");
  TypingSession n(Interactive());
  n.Type(std::string(31, '7'));
  n.Type("7");
  EXPECT_TRUE(n.Alerted(kMsgNameTooLong));
}

TEST(TextEditing, SpaceSplitsANameIntoFactors) {
  TypingSession s(Interactive());
  s.Type("xy");
  s.Select(s.Statement(), PackRange(1, 1));
  s.Type(" ");
  Handle product = s.Statement();
  ASSERT_EQ(ObjType(product), kProduct);
  EXPECT_EQ(s.Primary().obj, ObjSlot(product, 0));
  EXPECT_EQ(s.Primary().position, kPosWhole);
  EXPECT_EQ(s.Written(), "x*y");
  // A range inside gives three factors, the middle one selected; inside a
  // product they join it.
  TypingSession t(Interactive());
  t.Type("2*abcd");
  t.Select(FindName(t.Statement(), "abcd"), PackRange(1, 3));
  t.Type(" ");
  EXPECT_EQ(ObjCount(t.Statement()), 4);
  EXPECT_EQ(t.Primary().obj, FindName(t.Statement(), "bc"));
  EXPECT_EQ(t.Written(), "2*a*bc*d");
  // At an end a space only marks the place: the next letter starts a name.
  TypingSession u(Interactive());
  u.Type("ab");
  u.Select(u.Statement(), PackRange(0, 0));
  u.Type(" c");
  EXPECT_EQ(u.Written(), "c*ab");
}

TEST(TextEditing, OpeningBracketAfterANameOrAnOperatorWord) {
  TypingSession s(Interactive());
  s.Type("f(y){Return}f(");
  // f is declared a function by now: its bracket opens its argument.
  ASSERT_EQ(ObjType(s.Statement()), kApply);
  EXPECT_EQ(ObjType(s.Primary().obj), kQuestion);
  struct Case {
    const char* script;
    TypeCode made;
  };
  const Case words[] = {{"sqrt(", kSqrt},           {"abs(", kAbs},     {"Integral(", kIntegral},
                        {"Summation(", kSummation}, {"Limit(", kLimit}, {"Partial(", kPartial}};
  for (const Case& c : words) {
    TypingSession w(Interactive());
    w.Type(c.script);
    ASSERT_EQ(ObjType(w.Statement()), c.made) << c.script;
    Handle first = ObjSlot(w.Statement(), 0);
    EXPECT_EQ(ObjType(first), kParens) << c.script;
    EXPECT_EQ(w.Primary().obj, ObjSlot(first, 0)) << c.script;
  }
  // Anything else before a bracket multiplies it.
  TypingSession other(Interactive());
  other.Type("q(");
  EXPECT_EQ(ObjType(other.Statement()), kProduct);
}

TEST(TextEditing, WildcardsAreTypedAfterAQuestionMark) {
  TypingSession s(Interactive());
  s.Type("?a");
  ASSERT_EQ(ObjType(s.Statement()), kWildcard);
  EXPECT_EQ(WildcardKind(s.Statement()), 'a');
  EXPECT_EQ(s.Primary().position, PackRange(1, 1));
  // A question mark selected whole is replaced by a letter instead.
  TypingSession t(Interactive());
  t.Type("?");
  t.Select(t.Statement(), kPosWhole);
  t.Type("a");
  EXPECT_EQ(ObjType(t.Statement()), kUndeclaredName);
}

TEST(TextEditing, TheDeclaredNameOfADeclarationCanBeEmptied) {
  TypingSession s(Interactive());
  s.Type("x{Return}");
  Handle decl = nullptr;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    if (ObjType(ObjSlot(s.Notebook(), i)) == kDeclaration) decl = ObjSlot(s.Notebook(), i);
  ASSERT_NE(decl, nullptr);
  Handle name = ObjSlot(decl, 0);
  s.Select(name, PackRange(1, 1));
  s.Press("Backspace");
  ASSERT_EQ(ObjSlot(decl, 0), name);
  EXPECT_EQ(ObjType(name), kUndeclaredName);
  EXPECT_EQ(std::string(ObjText(name)), "");
  s.Type("w");
  EXPECT_EQ(std::string(ObjText(name)), "w");
}

TEST(TextEditing, ADeclarationWithoutAPlainNameIsMendedFirst) {
  TypingSession s(Interactive());
  s.Type("q");
  Handle decl = NewNameDecl(NewSum(NewUndeclaredName("a"), NewUndeclaredName("b")), kNameVariable);
  InsertProp(decl, s.Notebook(), FirstProp(s.Notebook()), 0);
  Handle name = s.Statement();
  MakeDeclaredName(name, decl);
  s.Select(name, kPosCaretAfter);
  s.Type("x");
  EXPECT_TRUE(s.Alerted(kMsgDeclarationProblem));
  EXPECT_EQ(s.Primary().obj, ObjSlot(decl, 0));
  EXPECT_EQ(ObjType(name), kName);
}

TEST(TextEditing, RealsAreEditedAsTheirDigits) {
  TypingSession s(Interactive());
  s.Type("2.5");
  s.Commit();
  Handle real = s.Statement();
  ASSERT_EQ(ObjType(real), kReal);
  s.Select(real, kPosCaretAfter);
  s.Type("1");
  EXPECT_EQ(ObjType(real), kNumberText);
  EXPECT_EQ(s.Written(), "2.51");
  // Any other code leaves the number as it is and works beside it.
  s.Select(s.Statement(), kPosCaretAfter);
  s.Type("x");
  EXPECT_EQ(s.Written(), "2.51*x");
}

}  // namespace
}  // namespace lemmabox::testing
