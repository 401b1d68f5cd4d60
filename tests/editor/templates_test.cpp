// Palette codes: templates around the selection, declared names, wildcards,
// new matrices and their rows and columns, and numbering the cells.
#include <gtest/gtest.h>

#include <string>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "mathobj/types.h"
#include "notebook/propositions.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

TEST(Templates, EachCodeBuildsItsShapeAroundTheSelection) {
  struct Case {
    CommandCode code;
    const char* written;  // around the selected x
    const char* caretOn;  // what the caret selects: "?" or the name
  };
  const Case cases[] = {
      {kCmdTemplatePower, "x^?", "?"},
      {kCmdTemplateSubscript, "x_?", "?"},
      {kCmdTemplateQuotient, "x/?", "?"},
      {kCmdTemplateSquareRoot, "sqrt(x)", "x"},
      {kCmdTemplateAbsoluteValue, "abs(x)", "x"},
      {kCmdTemplateDefiniteIntegral, "Integral(x*d*?:?:?)", "?"},
      {kCmdTemplateIndefiniteIntegral, "Integral(x*d*?)", "?"},
      {kCmdTemplateEvaluateAt, "EvaluateAt(x:(?=-1):(?=1))", "?"},
      {kCmdTemplateConditional, "Conditional(x,(?<0);?,(?>=0))", "?"},
      {kCmdTemplateGreaterOrEqual, "x>=?", "?"},
      {kCmdTemplateNotEqual, "x<>?", "?"},
      {kCmdTemplateLessOrEqual, "x<=?", "?"},
      {kCmdTemplateCrossProduct, "x*#?", "?"},
      {kCmdTemplateDotProduct, "x*@?", "?"},
      {kCmdTemplateAdjoint, "x^*", "x"},
      {kCmdTemplateDerivative, "Diff(?)*x", "x"},
      {kCmdTemplateSummation, "Summation(x:?:?)", "?"},
      {kCmdTemplateIteratedProduct, "PiProduct(x:?:?:?)", "?"},
      {kCmdTemplateNegation, "-x", "x"},
      {kCmdTemplateDifference, "x-?", "?"},
      {kCmdTemplateLimit, "Limit(x:?:?)", "?"},
  };
  for (const Case& c : cases) {
    TypingSession s(TypingOptions{.predefinedNames = true});
    s.Type("x");
    s.Select(s.Statement(), kPosWhole);
    s.Press(c.code);
    Selection caret = s.Primary();
    ASSERT_NE(caret.obj, nullptr) << std::hex << c.code;
    if (*c.caretOn == '?') {
      EXPECT_EQ(ObjType(caret.obj), kQuestion) << std::hex << c.code;
    } else {
      EXPECT_EQ(caret.obj, FindName(s.Statement(), c.caretOn)) << std::hex << c.code;
    }
    EXPECT_EQ(s.Written(), c.written) << std::hex << c.code;
  }
}

TEST(Templates, AroundNothingTheCaretGoesToTheExtractedPlaceholder) {
  TypingSession s(Interactive());
  s.Press(kCmdTemplateQuotient);
  Handle quotient = s.Statement();
  ASSERT_EQ(ObjType(quotient), kQuotient);
  EXPECT_EQ(s.Primary().obj, ObjSlot(quotient, 0));
  s.Type("1{Tab}2");
  EXPECT_EQ(s.Written(), "1/2");
  // Beside a caret a template multiplies what is there.
  TypingSession t(Interactive());
  t.Type("a");
  t.Select(t.Statement(), kPosCaretAfter);
  t.Press(kCmdTemplateSquareRoot);
  EXPECT_EQ(t.Written(), "a*sqrt(?)");
}

TEST(Templates, WithoutADeclaredDifferentialAnIntegralCannotBeMade) {
  TypingSession s(Interactive());
  s.Type("x");
  s.Press(kCmdTemplateIndefiniteIntegral);
  EXPECT_TRUE(s.Alerted(kMsgNeedPredefinedName));
  EXPECT_EQ(s.Written(), "x");
}

// The index of the declaration of `spelling` among the user's declarations.
int PaletteIndex(Handle notebook, const char* spelling) {
  int index = 0;
  for (int i = FirstProp(notebook); i < ObjCount(notebook); ++i) {
    Handle prop = ObjSlot(notebook, i);
    if (ObjType(prop) != kDeclaration || !IsUserDefinedDecl(prop)) continue;
    if (std::string(DeclNameText(prop)) == spelling) return index;
    ++index;
  }
  return -1;
}

TEST(Templates, DeclaredNamesAndWildcardsFromThePalette) {
  TypingSession s(Interactive());
  s.Type("f(x)+v{Return}");
  const int v = PaletteIndex(s.Notebook(), "v");
  const int f = PaletteIndex(s.Notebook(), "f");
  ASSERT_GE(v, 0);
  ASSERT_GE(f, 0);
  s.Press(kCmdPaletteNameBase + v);
  EXPECT_EQ(s.Written(), "v");
  s.Type("+");
  s.Press(kCmdPaletteFunctionBase + f);
  s.Type("2");
  EXPECT_EQ(s.Written(), "v+f(2)");
  s.Type("{Return}");
  s.Press(kCmdWildcardBase + 'k');
  EXPECT_EQ(s.Written(), "?k");
}

TEST(Templates, MatricesFromThePaletteAndNewRowsAndColumns) {
  TypingSession s(Interactive());
  s.Type("a");
  s.Select(s.Statement(), kPosWhole);
  s.Press(MatrixCommand(2, 3));
  Handle m = s.Statement();
  ASSERT_EQ(ObjType(m), kMatrix);
  EXPECT_EQ(s.Primary().obj, ObjSlot(m, 1));
  s.Type("b");
  s.Press("NewRow");
  EXPECT_EQ(MatrixRows(m), 3);
  EXPECT_EQ(s.Primary().obj, MatrixElement(m, 2, 0));
  s.Press("NewColumn");
  EXPECT_EQ(MatrixCols(m), 4);
  EXPECT_EQ(s.Written(), "a,b,?,?;?,?,?,?;?,?,?,?");
  // Around a question mark the question mark stays selected.
  TypingSession q(Interactive());
  q.Press(MatrixCommand(1, 2));
  EXPECT_EQ(q.Primary().obj, ObjSlot(q.Statement(), 0));
}

TEST(Templates, RowColumnNumberAsksHowToNumberTheCells) {
  struct Case {
    int choice;
    int offset;
    const char* written;
  };
  // Cell (1, 2) of a 2 x 3 matrix: 0-based row 1, column 2.
  const Case cases[] = {{1, 1, "2"}, {2, 1, "3"}, {3, 0, "3"}, {4, 1, "0"}, {5, 1, "2"}};
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type("?,?,?;?,?,?");
    Handle m = s.Statement();
    s.Select(MatrixElement(m, 1, 2));
    s.Platform().insertIndexAnswers.push_back(InsertIndexSettings{c.choice, c.offset});
    s.Press("RowColumnNumber");
    EXPECT_EQ(s.Written(), std::string("?,?,?;?,?,") + c.written) << c.choice;
  }
  TypingSession outside(Interactive());
  outside.Type("x");
  outside.Press("RowColumnNumber");
  EXPECT_TRUE(outside.Alerted(kMsgInsertOnlyInMatrix));
  // A cancelled dialog inserts nothing.
  TypingSession cancelled(Interactive());
  cancelled.Type("?,?");
  cancelled.Select(ObjSlot(cancelled.Statement(), 0));
  cancelled.Platform().insertIndexAnswers.push_back(std::nullopt);
  cancelled.Press("RowColumnNumber");
  EXPECT_EQ(cancelled.Written(), "?,?");
}

}  // namespace
}  // namespace lemmabox::testing
