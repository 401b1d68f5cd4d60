// Pointer help: the object under the pointer, its help text and the area in
// which the answer holds.
#include "layout/pointer_help.h"

#include <gtest/gtest.h>

#include "layout/hooks.h"
#include "layout/size_obj.h"
#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/handles.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "shell/strings.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class PointerHelpTest : public LayoutTest {
 protected:
  // The help id the Cursor entry gives for obj.
  int32_t HelpOf(Handle obj) {
    CursorInfo info;
    PlaceContext ctx;
    ctx.env = env.get();
    gCursorTable.Entry(ObjType(obj))(obj, ctx, Point{}, info);
    return info.helpId;
  }
  const Rect window{-1000, -1000, 1000, 1000};
};

TEST_F(PointerHelpTest, ExpressionTypesNameTheirHelp) {
  struct Case {
    const char* tree;
    int32_t help;
  };
  const Case cases[] = {
      {"!(x)", kStrHelpOperator},
      {"/(a,b)", kStrHelpOperator},
      {"^(a,b)", kStrHelpOperator},
      {"*(a,b)", kStrHelpOperator},
      {"p(x)", kStrHelpOperator},
      {"=(a,b)", kStrHelpEquation},
      {"<(a,b)", kStrHelpInequality},
      {"](a,b)", kStrHelpInequality},
      {"\\(a,b)", kStrHelpInequality},
      {"+(a,b)", kStrHelpSum},
      {"j(x)", kStrHelpIntegral},
      {"s(i,a,b)", kStrHelpSummation},
      {"x(y,i,a,b)", kStrHelpIteratedProduct},
      {"-(a)", kStrHelpNegation},
      {"?", kStrHelpQuestionMark},
      {"{(m2x2(a,b,c,d))", kStrHelpConditional},
      {"`a", kStrHelpWildcard},
      {")(x,a,b)", kStrHelpEvaluateAt},
      {"f(x,y)", kStrHelpForAll},
      {"l(x,a,y)", kStrHelpLimit},
      {"m2x2(a,b,c,d)", kStrHelpMatrix},
      {"12", kStrHelpNumber},
      {"2.5", kStrHelpNumber},
      {"#7", kStrHelpNumber},
      {"x", kStrHelpUndeclaredName},
      {";(f,x)", kStrHelpUndeclaredName},
  };
  for (const Case& c : cases) EXPECT_EQ(c.help, HelpOf(Make(c.tree))) << c.tree;
  // The matrix of a conditional is the conditional's.
  EXPECT_EQ(kStrHelpConditional, HelpOf(ObjSlot(Make("{(m2x2(a,b,c,d))"), 0)));
  // A function application whose function is not a name has none.
  EXPECT_EQ(0, HelpOf(Make(";(+(a,b),x)")));
}

TEST_F(PointerHelpTest, NamesAreDescribedByTheirDeclarations) {
  struct Case {
    int nameClass;
    int32_t help;
  };
  const Case cases[] = {{kNameConstant, kStrHelpConstant},
                        {kNameVariable, kStrHelpVariable},
                        {kNameMLinearOperator, kStrHelpOperatorName},
                        {kNameDLinearOperator, kStrHelpOperatorName},
                        {kNameFunction, kStrHelpFunction}};
  for (const Case& c : cases) EXPECT_EQ(c.help, HelpOf(Own(Declared("q", c.nameClass))));

  // The name being declared, in its own declaration.
  Handle declaration = Own(NewNameDecl(NewUndeclaredName("w"), kNameVariable));
  EXPECT_EQ(kStrHelpNameBeingDeclared, HelpOf(ObjSlot(declaration, 0)));

  // Predefined names and functions.
  Handle pi = Own(Declared("\xB9", kNameConstant));
  SetDeclBehaviour(DeclOfName(pi), BehaviourItemForKey(1));
  EXPECT_EQ(kStrHelpPredefinedName, HelpOf(pi));
  Handle sine = Own(Declared("sin", kNameFunction));
  SetDeclBehaviour(DeclOfName(sine), BehaviourItemForKey(256));
  EXPECT_EQ(kStrHelpPredefinedFunction, HelpOf(sine));

  // A function defined by a table, as the tables report it.
  gLayoutHooks.tabulatedFunction = [](Handle) { return true; };
  EXPECT_EQ(kStrHelpTableFunction, HelpOf(Own(Declared("g", kNameFunction))));
  ResetLayoutHooks();

  // A function application names its function; the left side of a table's
  // definition has its own help.
  Handle application = Own(NewObj2(kApply, Declared("f", kNameFunction), NewUndeclaredName("x")));
  EXPECT_EQ(kStrHelpFunction, HelpOf(application));
  Handle table = Own(NewObj2(
      kTable, NewObj2(kApply, NewUndeclaredName("f"), NewUndeclaredName("x")), NewQuestionMark()));
  EXPECT_EQ(kStrHelpTableName, HelpOf(ObjSlot(table, 0)));
}

TEST_F(PointerHelpTest, InnermostObjectAndItsSensitiveArea) {
  Handle entry = Statement(Make("+(a,/(b,c))"));
  Handle sum = StatementOf(entry);
  Handle fraction = ObjSlot(sum, 1);
  Handle b = ObjSlot(fraction, 0);
  const Rect fbox = Hdr(fraction).box;
  const Rect bbox{fbox.left + Hdr(b).box.left, fbox.top + Hdr(b).box.top,
                  fbox.left + Hdr(b).box.right, fbox.top + Hdr(b).box.bottom};
  const Point onB{(bbox.left + bbox.right) / 2, (bbox.top + bbox.bottom) / 2};
  CursorInfo info = PointerHelp(env.get(), sum, Point{}, onB, window);
  EXPECT_EQ(b, info.obj);
  EXPECT_EQ(kStrHelpUndeclaredName, info.helpId);
  EXPECT_EQ(kCursorText, info.cursorKind);
  // The area lies within b, holds the point, and keeps clear of a.
  const Rect& area = info.sensitive;
  EXPECT_TRUE(area.left >= bbox.left && area.right <= bbox.right && area.top >= bbox.top &&
              area.bottom <= bbox.bottom);
  EXPECT_TRUE(area.Contains(onB));
  const Rect abox = Hdr(ObjSlot(sum, 0)).box;
  EXPECT_TRUE(area.left >= abox.right || area.bottom <= abox.top || area.top >= abox.bottom);

  // On the fraction's rule, between its operands: the fraction, in an area
  // that keeps clear of both operands.
  const Point onRule{onB.x, fbox.top + Hdr(fraction).baseline};
  info = PointerHelp(env.get(), sum, Point{}, onRule, window);
  EXPECT_EQ(fraction, info.obj);
  EXPECT_EQ(kStrHelpOperator, info.helpId);
  EXPECT_TRUE(info.sensitive.Contains(onRule));
  EXPECT_LE(bbox.bottom, info.sensitive.top);
  EXPECT_GE(fbox.top + Hdr(ObjSlot(fraction, 1)).box.top, info.sensitive.bottom);

  // Off the expression: nothing, and an area that keeps clear of it.
  const Point off{Hdr(sum).box.right + 20, 5};
  info = PointerHelp(env.get(), sum, Point{}, off, window);
  EXPECT_EQ(nullptr, info.obj);
  EXPECT_EQ(0, info.helpId);
  EXPECT_EQ(Hdr(sum).box.right, info.sensitive.left);
  EXPECT_TRUE(info.sensitive.Contains(off));

  // Hidden objects are passed over.
  SetFlag(b, kFlagHidden);
  EXPECT_EQ(fraction, PointerHelp(env.get(), sum, Point{}, onB, window).obj);
  EXPECT_INTERNAL_ERROR("nb:cursor", PointerHelp(nullptr, sum, Point{}, onB, window));
}

TEST_F(PointerHelpTest, SelectionsOfferToBeDragged) {
  Handle entry = Statement(Make("+(a,b)"));
  Handle sum = StatementOf(entry);
  Handle a = ObjSlot(sum, 0);
  const Rect abox = Hdr(a).box;
  const Point onA{(abox.left + abox.right) / 2, (abox.top + abox.bottom) / 2};
  const Selection selections[] = {Selection{a, kPosWhole}};
  CursorInfo info =
      PointerHelp(env.get(), sum, Point{}, onA, window, PickupState{true, selections});
  EXPECT_EQ(kCursorDragCopy, info.cursorKind);
  EXPECT_EQ(kStrHelpSelectedExpression, info.helpId);
  EXPECT_EQ(abox, info.sensitive);
  // Not armed: ordinary help.
  info = PointerHelp(env.get(), sum, Point{}, onA, window, PickupState{false, selections});
  EXPECT_EQ(kStrHelpUndeclaredName, info.helpId);
}

TEST_F(PointerHelpTest, EntriesAndTheirIcons) {
  Handle entry = Statement(Make("=(x,y)"));
  Handle equation = StatementOf(entry);
  // Lay the row out as the rows would: icon column, then the statement.
  const int32_t icon = M().iconSize;
  PlaceChild(equation, icon + M().parenBase, 2);
  Hdr(entry).box = Rect{0, 0, Hdr(equation).box.right + 40, Hdr(equation).box.bottom + 2};
  Hdr(entry).baseline = Hdr(equation).box.top + Hdr(equation).baseline;
  const int32_t reference = Hdr(entry).baseline;

  CursorInfo info = PointerHelp(env.get(), entry, Point{}, Point{1, reference}, window);
  EXPECT_EQ(kStrHelpIcon, info.helpId);
  EXPECT_EQ((Rect{0, reference - icon / 2, icon, reference + icon / 2}), info.sensitive);
  info = PointerHelp(env.get(), entry, Point{}, Point{icon + 1, 0}, window);
  EXPECT_EQ(kStrHelpAssumption, info.helpId);
  SetWorkingBit(entry, true);
  EXPECT_EQ(kStrHelpWorkingStatement,
            PointerHelp(env.get(), entry, Point{}, Point{icon + 1, 0}, window).helpId);
  SetWorkingBit(entry, false);
  // A conclusion's label lies right of its statement.
  Hdr(entry).type = kConclusion;
  info =
      PointerHelp(env.get(), entry, Point{}, Point{Hdr(equation).box.right + 5, reference}, window);
  EXPECT_EQ(kStrHelpConclusionSteps, info.helpId);
  EXPECT_EQ(Hdr(equation).box.right, info.sensitive.left);
  Hdr(entry).type = kAssumption;

  struct Case {
    TypeCode type;
    int32_t help;
  };
  const Case cases[] = {{kPageBreak, kStrHelpPageBreak},
                        {kCaseTheory, kStrHelpCaseTheory},
                        {kRule, kStrHelpTransformationRule},
                        {kComment, kStrHelpComment},
                        {kGraph2D, kStrHelp2DGraph},
                        {kScatterPlot, kStrHelpScatterPlot},
                        {kMainTheory, 0}};
  for (const Case& c : cases) {
    // A bare header is enough for the help; it is not a whole entry, so it
    // is freed as a block.
    Handle other = NewObj(c.type, 0);
    EXPECT_EQ(c.help, HelpOf(other)) << c.type;
    ReleaseObjHandle(other);
  }
  Handle user = Own(NewNameDecl(NewUndeclaredName("u"), kNameVariable));
  EXPECT_EQ(kStrHelpNameDeclaration, HelpOf(user));
  SetDeclBehaviour(user, BehaviourItemForKey(2));
  EXPECT_EQ(kStrHelpPredefinedDeclaration, HelpOf(user));
}

}  // namespace
}  // namespace lemmabox::testing
