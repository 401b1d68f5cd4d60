#include "simplify_fixture.h"

#include <gtest/gtest.h>

#include "manip/simplify.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/predefined.h"
#include "mathobj/predefined_keys.h"
#include "mathobj/tree_text.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"

namespace lemmabox::testing {

void SimplifyTest::SetUp() {
  HeadlessTest::SetUp();
  SetAutoDeclare(false);
  main = NewNotebook();
  SetCurrentNotebook(main);
  CurrentManipulationSettings().autoSimplify = true;
  for (const char* name : {"a", "b", "h", "k", "n", "x", "y", "z"}) Declare(name, kNameVariable);
  Declare("c", kNameConstant);
  Declare("A", kNameMLinearOperator);
  Declare("B", kNameMLinearOperator);
  Declare("D", kNameDLinearOperator);
  Declare("f", kNameFunction);
  Declare("g", kNameFunction);
  for (int key : {kKeyPi, kKeyE, kKeyInfinity, kKeyImaginary, kKeyDifferential, kKeyLog, kKeyRe,
                  kKeySin, kKeyCos, kKeyArcsin, kKeyExp, kKeyLn})
    DeclarePredefined(key);
  DeclarationPass(main, false);
  Work("=(^(h,3),0)");
}

void SimplifyTest::TearDown() {
  ClearBindingTable();
  ClearLookupScope();
  ClearContingencyTarget();
  CloseNotebook(main);
  CurrentManipulationSettings().autoSimplify = true;
  HeadlessTest::TearDown();
}

Handle SimplifyTest::Declare(const char* name, int nameClass) {
  Handle decl = NewNameDecl(NewUndeclaredName(name), static_cast<NameClass>(nameClass));
  InsertProp(decl, main, ObjCount(main), 0);
  return decl;
}

Handle SimplifyTest::DeclarePredefined(int key) {
  const PredefinedName* builtIn = PredefinedByKey(key);
  Handle decl = Declare(builtIn->spelling, builtIn->Class());
  SetDeclBehaviour(decl, BehaviourItemForKey(key));
  return decl;
}

void SimplifyTest::Work(const std::string& statement) {
  Handle prop = NewAssumption(Build(statement));
  InsertProp(prop, main, ObjCount(main), 0);
  DeclarationPass(main, false);
  ASSERT_TRUE(SetWorkingStatement(prop, true, true, false)) << statement;
}

void SimplifyTest::Rule(const std::string& from, const std::string& to) {
  Handle rule = NewTransformRule(Build(from), Build(to), kRuleSimplify);
  InsertProp(rule, main, ObjCount(main), 0);
  DeclarationPass(main, false);
}

std::string SimplifyTest::Simplified(const std::string& tree) {
  Handle result = Simplify(Build(tree));
  std::string text = Text(result);
  DisposeObj(result);
  return text;
}

std::string SimplifyTest::OnePass(const std::string& tree) {
  Handle result = SimpOne(Build(tree));
  std::string text = Text(result);
  DisposeObj(result);
  return text;
}

MessageNumber SimplifyTest::FailureOf(const std::string& tree) {
  Handle expr = Build(tree);
  Handle result = nullptr;
  MessageNumber failure = CatchFailure([&] { result = SimpOne(expr); });
  ClearOffendingObject();
  if (failure == 0) DisposeObj(result);
  return failure;
}

std::string Text(Handle obj) {
  std::string text = Show(obj);
  std::string out;
  for (char ch : text)
    if (ch != '@') out += ch;
  return out;
}

}  // namespace lemmabox::testing
