// Names and functions: values from definitions and temporary bindings,
// user-defined functions with wildcard arguments, recursion, circular
// definitions, scopes, tables and graph bounds.
#include <gtest/gtest.h>

#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "calc/calc_stack.h"
#include "calc/numlib_scalar.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class CalcNamesTest : public CalcTest {
 protected:
  void TearDown() override {
    ResetCalcHooks();
    CalcTest::TearDown();
  }
  double Value(const std::string& text) { return CalcReal(Expr(text)); }
  // Tabulates name (f, or y(x)) in a working table at the end of the notebook.
  Handle AddTable(const std::string& name) {
    Handle table = NewTable(0, false, 3);
    PutSlot(table, 0, NewExpr(name));
    InsertProp(table, notebook, ObjCount(notebook), 0);
    ResolveNamesIn(table);
    EXPECT_TRUE(SetWorkingStatement(table, true, true, false));
    return table;
  }
};

TEST_F(CalcNamesTest, DefinitionsGiveNamesTheirValues) {
  Define("x = 3");
  Define("y = x + 1");
  Define("u_1 = 5");
  Define("u_2 = 7");
  EXPECT_EQ(6, Value("x*2"));
  EXPECT_EQ(4, Value("y"));
  EXPECT_EQ(12, Value("u_1 + u_2"));
}

TEST_F(CalcNamesTest, BoundWholeRealsArePushedAsIntegers) {
  Handle t = Expr("t");
  struct Case {
    TemporaryValue bound;
    NumKind pushed;
  };
  const Case cases[] = {
      {{kValueReal, 0, 2.0, 0}, NumKind::kInteger},
      {{kValueReal, 0, -2147483648.0, 0}, NumKind::kInteger},
      {{kValueReal, 0, 2147483648.0, 0}, NumKind::kReal},
      {{kValueReal, 0, 2.5, 0}, NumKind::kReal},
      {{kValueComplex, 0, 2.0, -0.0}, NumKind::kInteger},
      {{kValueComplex, 0, 2.0, 1.0}, NumKind::kComplex},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bound.re);
    TemporaryBinding binding(t, c.bound);
    BeginCalc(true);
    CalcObj(t);
    EXPECT_EQ(c.pushed, TopKind());
    EXPECT_EQ(c.bound.re, PopComplex().real());
    EndCalc();
  }
  // The binding is gone with its scope.
  EXPECT_RAISES(kMsgNoValueForVariable, CalcReal(t));
}

TEST_F(CalcNamesTest, WithoutWorkingStatementsOnlyBoundValuesCount) {
  Define("x = 3");
  Handle x = Expr("x");
  BeginCalc(false);
  EXPECT_RAISES(kMsgNoValueForVariable, CalcObj(x));
  // A bound value is the engine's own and is always seen.
  TemporaryBinding binding(x, TemporaryValue{kValueReal, 0, 1.5, 0});
  BeginCalc(false);
  CalcObj(x);
  EXPECT_EQ(1.5, PopReal());
  // And it hides the definition while it is bound.
  EXPECT_EQ(1.5, CalcReal(x));
}

TEST_F(CalcNamesTest, RepeatedLookUpsFollowTheNotebook) {
  Handle x = Expr("x*10");
  Handle name = ObjSlot(x, 0);
  {
    TemporaryBinding binding(name, TemporaryValue{kValueInteger, 1, 0, 0});
    EXPECT_EQ(10, CalcReal(x));
    binding.Set(TemporaryValue{kValueInteger, 2, 0, 0});
    EXPECT_EQ(20, CalcReal(x));
    // New tables: the binding went with the old ones.
    RefreshKnowledge(notebook);
    EXPECT_RAISES(kMsgNoValueForVariable, CalcReal(x));
  }
  // The same name object in a theory of its own answers from there.
  Define("x = 3");
  EXPECT_EQ(30, CalcReal(x));
  Handle theory = AddCaseTheory();
  Define("x = 4", theory);
  Handle moved = DetachFromParent(GetObjProp(x));
  InsertProp(moved, theory, ObjCount(theory), 0);
  EXPECT_EQ(40, CalcReal(x));
}

TEST_F(CalcNamesTest, NamesWithoutValuesFail) {
  struct Case {
    const char* text;
    MessageNumber message;
  };
  const Case cases[] = {
      {"z + 1", kMsgNoValueForVariable},    {"q + 1", kMsgUndeclaredName},
      {"`a", kMsgNoValueForVariable},        // a wildcard outside a function call
      {"f(2)", kMsgCannotEvaluateFunction},  // a function without a definition
      {"q(2)", kMsgUndeclaredName},         {"z_1", kMsgNoValueForVariable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.message, FailureOf(c.text));
  }
}

TEST_F(CalcNamesTest, FailuresPointAtTheObjectThatHasNoValue) {
  Handle sum = Expr("1 + z");
  EXPECT_RAISES(kMsgNoValueForVariable, CalcReal(sum));
  EXPECT_EQ(ObjSlot(sum, 1), OffendingObject());
  // A typed pop that fails points at the whole expression.
  Handle row = Expr("[1, 2]");
  EXPECT_RAISES(kMsgNeedScalar, CalcReal(row));
  EXPECT_EQ(row, OffendingObject());
}

TEST_F(CalcNamesTest, UserFunctionsTakeWildcardArguments) {
  Define("f(`a) = `a^2 + 1");
  Define("g(`a, `b) = `a - `b");
  Define("h(`b, `a) = g(`a, `b) * 10 + f(`b)");
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"f(3)", 10},
      {"f(f(1))", 5},
      {"g(5, 2)", 3},
      {"g(2, 5)", -3},
      {"h(1, 4)", 32},  // g(4, 1) * 10 + f(1): the callee's letters are its own
      {"g(f(2), g(1, 3))", 7},
      {"f(g(10, 7)) + g(1, 1)", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.value, Value(c.text));
  }
  // A vector argument is one argument.
  Define("f_1(`v) = @dot(`v, `v)");
  EXPECT_EQ(25, Value("f_1([3, 4])"));
}

TEST_F(CalcNamesTest, ArgumentListsMustFitTheDefinition) {
  Define("g(`a, `b) = `a - `b");
  Define("h(`a, `b, `c, `d, `e, `f, `g, `h, `i) = `a");
  EXPECT_EQ(kMsgWrongArgumentCount, FailureOf("g(1)"));
  EXPECT_EQ(kMsgWrongArgumentCount, FailureOf("g(1, 2, 3)"));
  EXPECT_EQ(kMsgTooManyArguments, FailureOf("h(1, 2, 3, 4, 5, 6, 7, 8, 9)"));
  // The failure points at the argument list.
  Handle call = Expr("g(1)");
  EXPECT_RAISES(kMsgWrongArgumentCount, CalcReal(call));
  EXPECT_EQ(ObjSlot(call, 1), OffendingObject());
}

TEST_F(CalcNamesTest, UserFunctionsRecurse) {
  Define("f(`n) = @cond([1, `n <= 0; `n * f(`n - 1), 1])");
  Define("g(`n) = @cond([`n, `n < 2; g(`n - 1) + g(`n - 2), 1])");
  EXPECT_EQ(3628800, Value("f(10)"));
  EXPECT_EQ(55, Value("g(10)"));
  // Deep enough to pass the integers and reach reals.
  EXPECT_NEAR(3.0414093201713376e64, Value("f(50)"), 1e50);
}

TEST_F(CalcNamesTest, CircularDefinitionsEndInAnAlertNotACrash) {
  Define("f(`a) = f(`a) + 1");
  Define("x = x + 1");
  Define("y = t * 2");
  Define("t = y - 1");
  for (const char* text : {"f(1)", "x", "y"}) {
    SCOPED_TRACE(text);
    MessageNumber m = FailureOf(text);
    EXPECT_TRUE(m == kMsgCircularDefinition || m == kMsgOutOfCalculationSpace) << m;
  }
  // The engine is usable afterwards.
  EXPECT_EQ(2, Value("1 + 1"));
}

TEST_F(CalcNamesTest, CaseTheoriesSeeTheirOwnDefinitions) {
  Define("x = 1");
  Handle theory = AddCaseTheory();
  Define("x = 2", theory);
  Handle inner = StatementOf(Assume("x * 10", theory));
  EXPECT_EQ(20, CalcReal(inner));
  EXPECT_EQ(10, Value("x * 10"));
}

Handle gTableSeen = nullptr;
Handle gArgumentSeen = nullptr;

TEST_F(CalcNamesTest, TablesAndGraphBoundsAnswerThroughHooks) {
  EXPECT_TRUE(IsUndefined(Value("left")));  // no graph
  gCalcHooks.graphBound = [](int key, Handle) { return key == 0x40 ? -5.0 : 0.0; };
  EXPECT_EQ(-5, Value("left"));

  Handle f = AddTable("f");
  Handle y = AddTable("y(x)");
  // Without the tables folder a tabulated function has no value.
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("f(2)"));

  gCalcHooks.pushTableValue = [](Handle table, Handle argument) {
    gTableSeen = table;
    gArgumentSeen = argument;
    if (argument == nullptr) {
      PushInt(7);
      return;
    }
    CalcObj(argument);
    PushReal(PopReal() * 100);
  };
  Handle call = Expr("f(2) + 1");
  EXPECT_EQ(201, CalcReal(call));
  EXPECT_EQ(f, gTableSeen);
  EXPECT_EQ(ObjSlot(ObjSlot(call, 0), 1), gArgumentSeen);
  EXPECT_EQ(14, Value("y * 2"));
  EXPECT_EQ(y, gTableSeen);
  EXPECT_EQ(nullptr, gArgumentSeen);
}

}  // namespace
}  // namespace lemmabox::testing
