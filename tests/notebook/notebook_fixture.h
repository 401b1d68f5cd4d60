// A notebook to build situations in, as a user would set them up: names
// declared, assumptions typed in, propositions indented.
#pragma once

#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/object.h"
#include "mathobj/predefined.h"
#include "support/headless_fixture.h"

namespace lemmabox::testing {

class NotebookTest : public HeadlessTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Propositions appended at the end of a theory (the Main Theory by
  // default), with an indentation.
  Handle Declare(const char* name, NameClass nameClass = kNameVariable, Handle theory = nullptr);
  Handle Assume(Handle statement, int indentation = 0, Handle theory = nullptr);
  Handle Append(Handle prop, int indentation = 0, Handle theory = nullptr);
  Handle CaseTheory(int indentation = 0, Handle theory = nullptr);
  // A declaration that behaves as a predefined name.
  Handle DeclarePredefined(int key, Handle theory = nullptr);
  // The declaration pass without questions, so typed names resolve.
  void Resolve();

  Handle main = nullptr;
  // What the display and observer hooks were told.
  static std::vector<Handle> selected;
  static std::vector<Handle> inserted;
  static std::vector<Handle> deleting;
  static std::vector<Handle> marked;
};

// Expressions.
Handle N(const char* name);  // an undeclared name, resolved by Resolve()
Handle I(int value);
Handle W(char kind);  // a wildcard
Handle Op(TypeCode type, Handle a, Handle b);
Handle Op(TypeCode type, Handle a);
Handle Row(std::vector<Handle> elements);  // a one-row matrix

// A compact prefix form of an expression: names by spelling (a declared name
// as @spelling), integers, ?, `k for wildcards, type(operands...).
std::string Show(Handle obj);
// The rows of a theory: each proposition as its type code and indentation
// ('.' for inline), with '+' when collapsed and '#' when locked.
std::string Outline(Handle theory);

}  // namespace lemmabox::testing
