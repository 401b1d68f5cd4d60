// A notebook in which to simplify expressions: the names the tables use are
// declared (variables a, b, h, k, n, x, y, z; the constant c; the M-linear
// operators A and B; the D-linear operator D; the functions f and g) along
// with the predefined names (pi, e, infinity, i, d, log, Re, sin, cos,
// arcsin, exp, ln), and h has the order of approximation 3.
//
// Expressions are written in the compact prefix notation of the object
// store's tests (mathobj/tree_text.h): +(x,2,x) is x + 2 + x, ;(sin,y) is
// sin(y), %(12) the square root of 12, m1x2(a,b) a row. Results are shown
// the same way, names by their spelling.
#pragma once

#include <string>

#include "mathobj/object.h"
#include "support/headless_fixture.h"

namespace lemmabox::testing {

class SimplifyTest : public HeadlessTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The Simplify manipulation (Auto Simplify on: up to 10 passes) / one pass.
  std::string Simplified(const std::string& tree);
  std::string OnePass(const std::string& tree);
  // The message one pass raised, 0 when none.
  MessageNumber FailureOf(const std::string& tree);

  Handle Declare(const char* name, int nameClass);
  Handle DeclarePredefined(int key);
  // A working statement, or a rule "Upon Simplify transform from into to".
  void Work(const std::string& statement);
  void Rule(const std::string& from, const std::string& to);

  Handle main = nullptr;
};

// The prefix text of obj with declared names shown by their spelling.
std::string Text(Handle obj);

}  // namespace lemmabox::testing
