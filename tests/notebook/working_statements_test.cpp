// Working statements: which statements can be which kind, switching them on
// and off, looking them up (and guessing them), limits, tables,
// independence, and dependence through definitions.
#include "notebook/working_statements.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class WorkingStatementTest : public NotebookTest {
 protected:
  void SetUp() override {
    NotebookTest::SetUp();
    Declare("x");
    Declare("y");
    Declare("f", kNameFunction);
    Declare("g");
    DeclarePredefined(TrigKey(kTrigPlain, kSin));
  }
  Handle Name(const char* text) {
    Handle prop = Assume(N(text));
    Resolve();
    return StatementOf(prop);
  }
  bool Alerted(MessageNumber n) {
    std::string expected = ProgramTextToUtf8(MessageText(n));
    for (const std::string& text : platform.BoxTexts())
      if (text == expected) return true;
    return false;
  }
};

Handle Eq(Handle a, Handle b) {
  return Op('=', a, b);
}

TEST_F(WorkingStatementTest, EachKindAcceptsItsShapeOnly) {
  struct Case {
    const char* what;
    Handle statement;
    char kind;
    MessageNumber expected;
    const char* required = nullptr;
  };
  Case cases[] = {
      {"value", Eq(N("x"), I(3)), '=', 0},
      {"itself", Eq(N("x"), N("x")), '=', kMsgSelfDefinition},
      {"wrong relation", Op('<', N("x"), I(3)), '=', kMsgBadWorkingStatement},
      {"limit", Op('<', N("x"), I(3)), '<', 0},
      {"function named", Eq(N("f"), I(3)), '=', kMsgBadLeftSide},
      {"not a name", Eq(Op('+', N("x"), I(1)), I(3)), '=', kMsgBadDefinitionLeftSide},
      {"undeclared", Eq(N("u"), I(3)), '=', kMsgBadDefinitionLeftSide},
      {"subscripted", Eq(Op('_', N("x"), I(2)), I(3)), '=', 0},
      {"function", Eq(Op(';', N("f"), W('x')), Op('^', W('x'), I(2))), 'f', 0},
      {"same wildcards", Eq(Op(';', N("f"), Row({W('x'), W('x')})), W('x')), 'f',
       kMsgArgumentsNotDifferent},
      {"two wildcards", Eq(Op(';', N("f"), Row({W('x'), W('y')})), W('x')), 'f', 0},
      {"no wildcard", Eq(Op(';', N("f"), N("y")), N("y")), 'f', kMsgArgumentsNotWildcards},
      {"built-in function", Eq(Op(';', N("sin"), W('x')), W('x')), 'f',
       kMsgFunctionNameNotFunction},
      // Interpretation turns a variable before parentheses into a product.
      {"variable applied", Eq(Op(';', N("g"), W('x')), W('x')), 'f', kMsgBadWorkingStatement},
      {"value as function", Eq(N("x"), I(3)), 'f', kMsgBadWorkingStatement},
      {"increment", Eq(Op('*', N("\xEB"), N("x")), I(1)), 'd', 0},
      {"differential", Eq(Op('*', N("d"), N("x")), I(0)), 'd', kMsgBadIncrementStatement},
      {"value as increment", Eq(N("x"), I(0)), 'd', kMsgBadWorkingStatement},
      {"order", Eq(Op('^', N("x"), I(3)), I(0)), 'o', 0},
      {"name exponent", Eq(Op('^', N("x"), N("y")), I(0)), 'o', kMsgBadOrderLeftSide},
      {"not zero", Eq(Op('^', N("x"), I(2)), I(1)), 'o', kMsgBadOrderRightSide},
      {"other name", Eq(N("x"), I(3)), '=', kMsgBadWorkingStatement, "y"},
      {"required name", Eq(N("x"), I(3)), '=', 0, "x"},
  };
  std::vector<Handle> props;
  for (Case& c : cases) props.push_back(Assume(c.statement));
  Resolve();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].what);
    Handle required = cases[i].required ? Name(cases[i].required) : nullptr;
    EXPECT_EQ(cases[i].expected, RecordDefinition(props[i], required, cases[i].kind));
  }
  EXPECT_TRUE(platform.boxes.empty());
  Handle detached = NewAssumption(Eq(N("x"), I(1)));
  EXPECT_INTERNAL_ERROR("RecordDefinition", RecordDefinition(detached, nullptr, '='));
  DisposeObj(detached);
}

// "x^300 = 0" is an order out of range: the user is told, and it counts.
TEST_F(WorkingStatementTest, OrdersOutOfRangeAreReportedAndKept) {
  Handle third = Assume(Eq(Op('^', N("x"), I(3)), I(0)));
  Handle huge = Assume(Eq(Op('^', N("y"), I(300)), I(0)));
  Resolve();
  EXPECT_TRUE(SetWorkingStatement(third, true, true, true));
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(3, ApproximationOrder(Name("x")));
  EXPECT_TRUE(SetWorkingStatement(huge, true, true, true));
  EXPECT_TRUE(Alerted(kMsgBadApproximationOrder));
  EXPECT_EQ(300, ApproximationOrder(Name("y")));
  EXPECT_TRUE(IsWorkingStatement(huge));
}

// Switching on tells the user the most telling reason when nothing fits.
TEST_F(WorkingStatementTest, SwitchingOnReportsTheBestReason) {
  struct {
    Handle statement;
    MessageNumber shown;
  } cases[] = {
      {Eq(N("x"), N("x")), kMsgSelfDefinition},
      {Eq(Op('^', N("y"), I(2)), I(1)), kMsgBadOrderRightSide},
      {Op('+', N("x"), N("y")), kMsgBadWorkingStatement},
      {Op('\\', N("x"), I(1)), kMsgBadWorkingStatement},
  };
  for (auto& c : cases) {
    Handle prop = Assume(c.statement);
    Resolve();
    platform.boxes.clear();
    EXPECT_FALSE(SetWorkingStatement(prop, true, true, true));
    EXPECT_FALSE(IsWorkingStatement(prop));
    EXPECT_TRUE(Alerted(c.shown)) << c.shown;
    EXPECT_EQ(1u, platform.boxes.size());
  }
}

TEST_F(WorkingStatementTest, ASecondDefinitionInTheSameTheorySwitchesTheFirstOff) {
  Handle first = Assume(Eq(N("x"), I(1)));
  Handle second = Assume(Eq(N("x"), I(2)));
  Handle theory = CaseTheory();
  Handle inner = Assume(Eq(N("x"), I(5)), 0, theory);
  Handle inside = Assume(N("x"), 0, theory);
  Resolve();
  NotebookRecordOf(main).prefs.guessWorkingStmts = 0;
  ASSERT_TRUE(SetWorkingStatement(first, true, false, false));
  ASSERT_TRUE(SetWorkingStatement(inner, true, false, false));
  ASSERT_TRUE(SetWorkingStatement(second, true, false, false));
  EXPECT_FALSE(IsWorkingStatement(first));
  EXPECT_EQ(std::vector<Handle>{first}, marked);
  EXPECT_TRUE(IsWorkingStatement(inner));  // another theory's is left alone
  EXPECT_EQ(second, LookupDefinition(Name("x")));
  EXPECT_EQ(inner, LookupDefinition(StatementOf(inside)));
  // Switching off forgets it: the outer one shows through again.
  SetWorkingStatement(inner, false, false, false);
  EXPECT_EQ(second, LookupDefinition(StatementOf(inside)));
  EXPECT_EQ(inner, marked.back());
}

TEST_F(WorkingStatementTest, GuessingFindsStatementsWhenAllowed) {
  Handle outer = Assume(Eq(N("x"), I(7)));
  Handle theory = CaseTheory();
  Handle inner = Assume(Eq(N("x"), I(9)), 0, theory);
  Handle inside = Assume(N("x"), 0, theory);
  Assume(Op('>', N("y"), I(0)));
  Resolve();
  EXPECT_EQ(inner, LookupDefinition(StatementOf(inside)));
  EXPECT_EQ(outer, LookupDefinition(Name("x")));
  EXPECT_TRUE(IsWorkingStatement(outer));
  EXPECT_TRUE(IsWorkingStatement(inner));
  NotebookRecordOf(main).prefs.guessWorkingStmts = 0;
  Resolve();  // the tables start afresh; the guessed ones stay working statements
  EXPECT_EQ(outer, LookupDefinition(Name("x")));
  EXPECT_EQ(nullptr, LookupLimit(Name("y"), false).statement);
  EXPECT_EQ(nullptr, LookupDefinition(Name("g")));
}

TEST_F(WorkingStatementTest, UsingADefinitionThatWentBadRaises) {
  Handle failed = Assume(Eq(N("x"), I(1)));
  Handle edited = Assume(Eq(N("y"), I(2)));
  Resolve();
  MakeConclusion(failed, nullptr);
  ASSERT_TRUE(SetWorkingStatement(failed, true, false, false));
  ASSERT_TRUE(SetWorkingStatement(edited, true, false, false));
  SetErrorNumber(failed, kMsgSelectionUnavailable);
  EXPECT_RAISES(kMsgSelectionUnavailable, LookupDefinition(Name("x")));
  // A re-derivation can change a working statement's relation behind the
  // registration's back.
  Handle y = Name("y");
  PutSlot(edited, 0, Op('<', DupObj(y), I(2)));
  EXPECT_RAISES(kMsgNoLongerEquation, LookupDefinition(y));
}

TEST_F(WorkingStatementTest, ConsultedStatementsBecomeContingencies) {
  Handle def = Assume(Eq(N("x"), I(1)));
  Handle derived = Assume(Eq(N("x"), N("y")));
  Resolve();
  MakeConclusion(derived, def);
  SetContingencyTarget(derived);
  Handle limit = Assume(Op('[', N("y"), I(4)));
  Resolve();
  LookupDefinition(Name("x"));
  LimitStatement upper = LookupLimit(Name("y"), true);
  EXPECT_EQ(limit, upper.statement);
  EXPECT_TRUE(upper.inclusive);
  ClearContingencyTarget();
  Handle list = StmtRecord(derived).contingencies;
  EXPECT_EQ(2, ContingencyCount(list));  // def once, and the limit
  EXPECT_EQ(limit, ContingencyAt(list, 1));
}

TEST_F(WorkingStatementTest, LimitsRememberWhetherTheyIncludeTheBound) {
  Handle strict = Assume(Op('>', N("x"), I(0)));
  Handle inclusive = Assume(Op('[', N("x"), I(1)));
  Resolve();
  ASSERT_TRUE(SetWorkingStatement(strict, true, false, false));
  ASSERT_TRUE(SetWorkingStatement(inclusive, true, false, false));
  LimitStatement lower = LookupLimit(Name("x"), false);
  LimitStatement upper = LookupLimit(Name("x"), true);
  EXPECT_EQ(strict, lower.statement);
  EXPECT_FALSE(lower.inclusive);
  EXPECT_EQ(inclusive, upper.statement);
  EXPECT_TRUE(upper.inclusive);
}

TEST_F(WorkingStatementTest, TablesDefineFunctionsAndAppliedVariables) {
  struct {
    Handle name;
    MessageNumber expected;
  } cases[] = {
      {N("f"), 0},                   // a function name alone
      {Op(';', N("y"), N("x")), 0},  // y(x)
      {Op(';', N("f"), N("x")), kMsgCannotTabulate},
      {N("x"), kMsgCannotTabulate},
      {Op('+', N("x"), I(1)), kMsgCannotTabulate},
  };
  std::vector<Handle> tables;
  for (auto& c : cases) {
    Handle table = NewTable(1, false, 3);
    PutSlot(table, 0, c.name);
    tables.push_back(Append(table));
  }
  Resolve();
  for (size_t i = 0; i < tables.size(); ++i)
    EXPECT_EQ(cases[i].expected, RecordTable(tables[i], nullptr)) << i;
  SetWorkingStatement(tables[0], true, false, false);
  EXPECT_TRUE(IsWorkingStatement(tables[0]));
  EXPECT_EQ(tables[0], LookupDefinition(Name("f")));
  EXPECT_FALSE(SetWorkingStatement(tables[3], true, true, false));
  EXPECT_TRUE(Alerted(kMsgCannotTabulate));
}

TEST_F(WorkingStatementTest, IndependenceDeclarations) {
  Declare("z");
  Declare("w");
  DeclarePredefined(kKeyPi);
  DeclarePredefined(kKeyDifferential);
  Append(NewIndependenceDecl(Row({N("x"), N("y")}), kIndependentOfEachOther));
  Append(NewIndependenceDecl(N("z"), kIndependentOfAllVariables));
  Clarify(main);
  EXPECT_TRUE(platform.boxes.empty());
  struct {
    const char* a;
    Handle b;
    bool independent;
  } cases[] = {
      {"x", N("y"), true},    {"y", N("x"), true},
      {"x", N("w"), false},   {"w", N("z"), true},
      {"x", N("\xB9"), true}, {"x", N("d"), false},
      {"x", N("x"), false},   {"w", Op('_', N("x"), I(1)), false},
  };
  for (auto& c : cases) {
    Handle prop = Assume(Row({N(c.a), c.b}));
    Resolve();
    Handle row = StatementOf(prop);
    EXPECT_EQ(c.independent, NamesIndependent(ObjSlot(row, 0), ObjSlot(row, 1)))
        << c.a << " " << Show(ObjSlot(row, 1));
  }
  // Validation reports a second declaration for a name and a malformed one.
  Append(NewIndependenceDecl(N("x"), kIndependentOfEachOther));
  Append(NewIndependenceDecl(Op('+', N("x"), N("w")), kIndependentOfEachOther));
  Clarify(main);
  EXPECT_TRUE(Alerted(kMsgDoubleIndependence));
  EXPECT_TRUE(Alerted(kMsgBadIndependenceDeclaration));
}

// A name defined through itself, however far round, ends with 13174.
TEST_F(WorkingStatementTest, CircularDefinitionsEndWithTheStackCheck) {
  Declare("p");
  Declare("q");
  Declare("r");
  Handle p = Assume(Eq(N("p"), Op('+', N("q"), I(1))));
  Handle q = Assume(Eq(N("q"), Op('*', N("r"), I(2))));
  Handle r = Assume(Eq(N("r"), N("x")));
  Resolve();
  for (Handle def : {p, q, r}) ASSERT_TRUE(SetWorkingStatement(def, true, false, false));
  EXPECT_TRUE(DependsOn(Name("p"), Name("x")));
  EXPECT_FALSE(DependsOn(Name("p"), Name("y")));
  Handle loop = Assume(Eq(N("x"), Op('-', N("p"))));
  Resolve();
  ASSERT_TRUE(SetWorkingStatement(loop, true, false, false));
  EXPECT_RAISES(kMsgCircularDefinition, DependsOn(Name("p"), Name("y")));
  EXPECT_TRUE(DependsOn(Name("p"), Name("x")));  // found before going round
}

}  // namespace
}  // namespace lemmabox::testing
