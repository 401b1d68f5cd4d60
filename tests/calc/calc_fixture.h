// A notebook to calculate in, and a small infix notation for building the
// expressions of the calculation tests (the editor that types expressions
// the way users do is not below this folder).
//
//   2  2.5  1e300        integer, real (always a real object), real
//   x  sin  pi  inf      names, resolved against the notebook's declarations
//                        (pi, inf, deg and Gamma stand for their symbols)
//   f(x)  f(1, 2)        function application (several arguments make a row)
//   a_1  x!  -x  x^2     subscript, factorial, negation, power
//   a*b  a/b  a+b  a-b   product (flattened), quotient, sum (a-b is a + -b)
//   = < > <= >= !=       relations
//   [1, 2; 3, 4]         matrix; (a, b) is a 1 x 2 row as well
//   |x|  ?  `a           absolute value, question mark, wildcard a
//   (x)                  grouping only: no parentheses object
//   @sum(k, 1, n)        summation operator (a factor: @sum(k,1,3)*k)
//   @prod(body, k, 1, n) iterated product
//   @int(f*d*x, a, b)    integral;  @int(f*d*x) has no limits
//   @at(e, x = 1)        Evaluate At; @at(e, x = 0, x = 1) from 0 to 1
//   @cond([v, c; ...])   conditional
//   @partial(x)          partial derivative operator (a factor)
//   @forall(x, eq)       For All
//   @sqrt(e) @adj(e) @cross(a, b) @dot(a, b) @range(a, b) @lim(x, a, e)
//   @paren(e)            an explicit parentheses object
//   @text(1.50)          a number text as typed
// Results are shown in the same notation (reals with 17 significant digits,
// undefined as #?, the parentheses object as @paren(...)).
#pragma once

#include <string>

#include "shell/types.h"
#include "support/headless_fixture.h"

namespace lemmabox::testing {

// Declaration classes, as the "Class" pop-up numbers them.
constexpr int kConstantClass = 1;
constexpr int kVariableClass = 2;
constexpr int kFunctionClass = 5;

class CalcTest : public HeadlessTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Declares a user-defined name of the class in the Main Theory.
  void Declare(const std::string& name, int nameClass);
  // Declares a name that behaves as the predefined name with this key.
  void DeclarePredefined(const std::string& name, int key);
  // Parses an expression; its names refer to the notebook's declarations.
  // The object is detached and owned by the fixture (freed at TearDown).
  Handle Expr(const std::string& text);
  // Parses without taking ownership.
  Handle NewExpr(const std::string& text);
  // Adds an assumption with this statement to the Main Theory (or to the
  // given theory) and makes it a working statement; returns it.
  Handle Define(const std::string& statement, Handle theory = nullptr);
  // Adds an assumption that is not a working statement.
  Handle Assume(const std::string& statement, Handle theory = nullptr);
  // A new Case Theory at the end of the Main Theory.
  Handle AddCaseTheory();

  // What Calculate makes of an expression, in the notation above, or
  // "raised N" for the failure it raises.
  std::string Calculated(const std::string& text);
  // The failure that evaluating an expression raises (0 for none).
  MessageNumber FailureOf(const std::string& text);

  Handle notebook = nullptr;

 private:
  Handle Insert(Handle prop, Handle theory);
};

// The expression in the notation above.
std::string Show(Handle obj);

}  // namespace lemmabox::testing
