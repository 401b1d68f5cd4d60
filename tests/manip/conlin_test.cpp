// The constancy and linearity tests and the commutativity classes, asked of
// expressions in a notebook that declares their names and states facts
// about them.
#include "manip/conlin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manip/commute.h"
#include "mathobj/constructors.h"
#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

Handle N(const char* name) {
  return NewUndeclaredName(name);
}
Handle I(int value) {
  return NewInteger(value);
}
Handle R(double value) {
  Handle h = NewObj(kReal, kRealPayload);
  RealValue(h) = value;
  return h;
}
Handle Op(TypeCode type, Handle a) {
  return NewObj1(type, a);
}
Handle Op(TypeCode type, Handle a, Handle b) {
  return NewObj2(type, a, b);
}
Handle Op(TypeCode type, Handle a, Handle b, Handle c) {
  Handle h = NewObjN(type, 3);
  PutSlot(h, 0, a);
  PutSlot(h, 1, b);
  PutSlot(h, 2, c);
  return h;
}
Handle Row(std::vector<Handle> elements) {
  Handle m = NewMatrix(1, static_cast<int>(elements.size()));
  for (size_t i = 0; i < elements.size(); ++i) PutSlot(m, static_cast<int>(i), elements[i]);
  return m;
}
Handle Eq(Handle a, Handle b) {
  return Op(kEquals, a, b);
}
// The increment of a name: Δx.
Handle Delta(const char* name) {
  return Op(kProduct, N("\xEB"), N(name));
}

// A notebook that declares
//   c Constant; x, y, z, u, w, t, k, p, q Variable; A, B M-linear; D D-linear;
//   f Function; and the predefined pi, sin, RowsOf and d;
// and states, as working statements,
//   y = 2c, z = x + 1, x_2 = 3, Δk = 0, p = q, q = p,
// with u and w independent of each other.
class ConLinTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetAutoDeclare(true);
    main_ = NewNotebook();
    SetCurrentNotebook(main_);
    Declare("c", kNameConstant);
    for (const char* name : {"x", "y", "z", "u", "w", "t", "k", "p", "q"})
      Declare(name, kNameVariable);
    Declare("A", kNameMLinearOperator);
    Declare("B", kNameMLinearOperator);
    Declare("D", kNameDLinearOperator);
    Declare("f", kNameFunction);
    DeclarePredefined(kKeyPi);
    DeclarePredefined(256);  // sin
    DeclarePredefined(144);  // RowsOf
    DeclarePredefined(kKeyDifferential);
    Append(NewIndependenceDecl(Row({N("u"), N("w")})));
    DeclarationPass(main_, false);
    Work(Eq(N("y"), Op(kProduct, I(2), N("c"))));
    Work(Eq(N("z"), Op(kSum, N("x"), I(1))));
    Work(Eq(Op(kIndex, N("x"), I(2)), I(3)));
    Work(Eq(Delta("k"), I(0)));
    Work(Eq(N("p"), N("q")));
    Work(Eq(N("q"), N("p")));
  }
  void TearDown() override {
    ClearBindingTable();
    ClearLookupScope();
    ClearContingencyTarget();
    CloseNotebook(main_);
    HeadlessTest::TearDown();
  }

  Handle Append(Handle prop) {
    InsertProp(prop, main_, ObjCount(main_), 0);
    return prop;
  }
  void Declare(const char* name, NameClass nameClass) { Append(NewNameDecl(N(name), nameClass)); }
  void DeclarePredefined(int key) {
    const PredefinedName* builtIn = PredefinedByKey(key);
    Handle decl = Append(NewNameDecl(N(builtIn->spelling), builtIn->Class()));
    SetDeclBehaviour(decl, BehaviourItemForKey(key));
  }
  void Work(Handle statement) {
    Handle prop = Append(NewAssumption(statement));
    DeclarationPass(main_, false);
    ASSERT_TRUE(SetWorkingStatement(prop, true, true, false));
  }
  // An expression as the notebook holds it: typed into an assumption, its
  // names resolved.
  Handle E(Handle expr) {
    Handle prop = Append(NewAssumption(expr));
    DeclarationPass(main_, false);
    return StatementOf(prop);
  }

  Handle main_ = nullptr;
};

struct Constancy {
  const char* what;
  Handle expr;
  Handle variable;
  bool constant;
};

TEST_F(ConLinTest, Constancy) {
  Constancy cases[] = {
      {"integer", I(3), nullptr, true},
      {"real", R(2.5), nullptr, true},
      {"Constant name", N("c"), nullptr, true},
      {"Variable name", N("x"), nullptr, false},
      {"pi", N("\xB9"), nullptr, true},
      {"predefined function", N("sin"), nullptr, false},
      {"sum of constants", Op(kSum, N("c"), I(3)), nullptr, true},
      {"sum with a variable", Op(kSum, N("c"), N("x")), nullptr, false},
      {"defined by a constant", N("y"), nullptr, true},
      {"defined by a variable", N("z"), nullptr, false},
      {"increment zero", N("k"), nullptr, true},
      {"subscripted definition", Op(kIndex, N("x"), I(2)), nullptr, true},
      {"other subscript", Op(kIndex, N("x"), I(3)), nullptr, false},
      {"constant base and index", Op(kIndex, N("c"), I(1)), nullptr, true},
      {"circular definition", N("p"), nullptr, false},
      {"absolute value", Op(kAbs, N("c")), nullptr, false},
      {"relation", Eq(N("c"), I(3)), nullptr, false},
      {"question mark", NewQuestionMark(), nullptr, false},
      {"integral", NewObj1(kIntegral, Op(kProduct, N("c"), N("d"), N("x"))), nullptr, false},
      {"function of a constant", Op(kApply, N("sin"), N("c")), nullptr, true},
      {"function of a variable", Op(kApply, N("sin"), N("x")), nullptr, false},
      {"shape of anything", Op(kApply, N("RowsOf"), N("x")), nullptr, true},
      {"constant-kind wildcard", NewWildcard('a'), nullptr, true},
      {"anything wildcard", NewWildcard('o'), nullptr, false},
      {"matrix of constants", Row({I(1), N("c")}), nullptr, true},
      // With respect to a variable.
      {"the variable itself", N("x"), N("x"), false},
      {"an unrelated variable", N("x"), N("t"), false},
      {"independent of each other", N("u"), N("w"), true},
      {"not independent of others", N("u"), N("x"), false},
      {"independent of pi", N("x"), N("\xB9"), true},
      {"depends through its definition", N("z"), N("x"), false},
      {"defined without the variable", N("y"), N("x"), true},
      {"a component of the variable", N("x"), Op(kIndex, N("x"), I(1)), false},
  };
  for (const Constancy& c : cases) {
    Handle expr = E(c.expr);
    Handle variable = c.variable ? E(c.variable) : nullptr;
    EXPECT_EQ(c.constant, IsConstant(expr, variable)) << c.what;
  }
}

TEST_F(ConLinTest, AnUndeclaredNameCannotBeJudged) {
  SetAutoDeclare(false);
  Handle expr = E(Op(kSum, N("c"), N("nobody")));
  EXPECT_RAISES(kMsgUndeclaredName, IsConstant(expr));
  EXPECT_RAISES(kMsgUndeclaredName, IsLinear(expr, E(N("x"))));
}

TEST_F(ConLinTest, ANameBoundToANumberIsConstant) {
  Handle t = E(N("t"));
  EXPECT_FALSE(IsConstant(t));
  {
    TemporaryBinding bound(t, TemporaryValue{kValueReal, 0, 1.5, 0});
    EXPECT_TRUE(IsConstant(t));
  }
  EXPECT_FALSE(IsConstant(t));
}

TEST_F(ConLinTest, Linearity) {
  struct Case {
    const char* what;
    Handle expr;
    bool linear;
  } cases[] = {
      {"number", I(3), true},
      {"the variable", N("x"), true},
      {"another variable", N("t"), false},
      {"a constant name", N("c"), true},
      {"defined linearly", N("z"), true},
      {"sum", Op(kSum, N("x"), N("c")), true},
      {"constant times x", Op(kProduct, N("c"), N("x")), true},
      {"x times x", Op(kProduct, N("x"), N("x")), false},
      {"x to the 1", Op(kPower, N("x"), I(1)), true},
      {"x to the 1.0", Op(kPower, N("x"), R(1.0)), true},
      {"x squared", Op(kPower, N("x"), I(2)), false},
      {"x to the 0", Op(kPower, N("x"), I(0)), true},
      {"constant to the x", Op(kPower, N("c"), N("x")), false},
      {"x over a constant", Op(kQuotient, N("x"), N("c")), true},
      {"a constant over x", Op(kQuotient, N("c"), N("x")), false},
      {"root of x", Op(kSqrt, N("x")), false},
      {"root of a constant", Op(kSqrt, N("c")), true},
      {"negation", Op(kNegation, N("x")), true},
      {"function of x", Op(kApply, N("sin"), N("x")), false},
      {"function of a constant", Op(kApply, N("sin"), N("c")), true},
      {"absolute value", Op(kAbs, N("x")), false},
      {"vector", Row({N("x"), I(2)}), true},
      {"wildcard", NewWildcard('a'), false},
  };
  Handle x = E(N("x"));
  for (const Case& c : cases) EXPECT_EQ(c.linear, IsLinear(E(c.expr), x)) << c.what;
}

TEST_F(ConLinTest, CommutativityClasses) {
  struct Case {
    const char* what;
    Handle expr;
    int cls;
  } cases[] = {
      {"number", I(3), kCommuteConstant},
      {"Constant", N("c"), kCommuteConstant},
      {"Variable", N("x"), kCommuteVariable},
      {"M-linear", N("A"), kCommuteMLinear},
      {"D-linear", N("D"), kCommuteDLinear},
      {"Function", N("f"), kCommuteFunction},
      {"pi", N("\xB9"), kCommuteConstant},
      {"sin", N("sin"), kCommuteFunction},
      {"d", N("d"), kCommuteDLinear},
      {"question mark", NewQuestionMark(), kCommuteVariable},
      {"scalar times operator", Op(kProduct, N("c"), N("A")), kCommuteMLinear},
      {"operator times variable", Op(kProduct, N("A"), N("x")), kCommuteMLinear},
      {"derivative of a variable", Op(kProduct, N("D"), N("x")), kCommuteVariable},
      {"differential", Op(kProduct, N("d"), N("x")), kCommuteVariable},
      {"operator waiting for its operand", Op(kProduct, N("x"), N("D")), kCommuteDLinear},
      {"function of a variable", Op(kApply, N("sin"), N("x")), kCommuteVariable},
      {"function of a constant", Op(kApply, N("sin"), N("c")), kCommuteConstant},
      {"power of a function", Op(kPower, N("sin"), I(2)), kCommuteFunction},
      {"power of an operator", Op(kPower, N("D"), I(2)), kCommuteDLinear},
      {"subscripted variable", Op(kIndex, N("x"), N("t")), kCommuteVariable},
      {"subscripted function", Op(kIndex, N("f"), I(1)), kCommuteFunction},
      {"constant with a varying subscript", Op(kIndex, N("c"), N("t")), kCommuteVariable},
      {"matrix", Row({I(1), I(2)}), kCommuteMLinear},
      {"integral", NewObj1(kIntegral, Op(kProduct, N("c"), N("d"), N("x"))), kCommuteVariable},
      {"partial derivative", Op(kPartial, N("x")), kCommuteDLinear},
      {"conditional", Op(kConditional, Row({N("c"), I(1)})), kCommuteVariable},
      {"constant wildcard", NewWildcard('b'), kCommuteConstant},
      {"variable wildcard", NewWildcard('s'), kCommuteVariable},
      {"anything wildcard", NewWildcard('q'), kCommuteMLinear},
  };
  for (const Case& c : cases) EXPECT_EQ(c.cls, CommutativityClass(E(c.expr))) << c.what;

  SetAutoDeclare(false);
  EXPECT_EQ(kCommuteVariable, CommutativityClass(E(N("nobody"))));
  EXPECT_TRUE(Commutes(E(N("x")), E(N("A"))));
  EXPECT_FALSE(Commutes(E(N("A")), E(N("B"))));
  EXPECT_TRUE(Commutes(E(N("A")), E(N("A"))));
  EXPECT_FALSE(Commutes(E(N("D")), E(N("x"))));
}

// The wildcard kinds decide through the tests above.
TEST_F(ConLinTest, WildcardKindsOfDeclaredNames) {
  struct Case {
    char kind;
    Handle expr;
    bool accepts;
  } cases[] = {
      {'a', N("c"), true},
      {'h', N("x"), false},
      {'e', Op(kApply, N("sin"), N("c")), true},
      {'i', N("c"), false},
      {'s', N("x"), true},
      {'z', N("c"), true},
      {'t', N("A"), false},
      {'u', Op(kApply, N("sin"), N("x")), true},
      {'p', N("A"), true},
      {'r', N("D"), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.accepts, WildcardKindAccepts(c.kind, E(c.expr))) << c.kind;

  // Operators keep their order when a rule is matched; scalars do not.
  EXPECT_FALSE(MatchPattern(E(Op(kProduct, N("A"), N("B"))), E(Op(kProduct, N("B"), N("A")))));
  EXPECT_TRUE(MatchPattern(E(Op(kProduct, N("x"), N("y"))), E(Op(kProduct, N("y"), N("x")))));
  EXPECT_TRUE(MatchPattern(E(Op(kProduct, N("A"), N("x"), N("B"))),
                           E(Op(kProduct, N("x"), N("A"), N("B")))));
}

// Two indefinite integrals of zero stand for two arbitrary constants when
// the notebook says so.
TEST_F(ConLinTest, TheNotebookDecidesAboutIntegralsOfZero) {
  Handle first = E(NewObj1(kIntegral, I(0)));
  Handle second = E(NewObj1(kIntegral, I(0)));
  NotebookRecordOf(main_).style.zeroIntegralsDiffer = 1;
  EXPECT_FALSE(Equivalent(first, second));
  NotebookRecordOf(main_).style.zeroIntegralsDiffer = 0;
  EXPECT_TRUE(Equivalent(first, second));
}

}  // namespace
}  // namespace lemmabox
