// Exact coefficients: fractions of 32-bit integers that go on as doubles
// once they no longer fit, and the numbers they are read from and written as.
#include "manip/coefficient.h"

#include <gtest/gtest.h>

#include <string>

#include "mathobj/dup_dispose.h"
#include "mathobj/tree_text.h"
#include "simplify_fixture.h"

namespace lemmabox::testing {
namespace {

std::string Describe(const Coef& c) {
  if (!c.Exact()) return "real " + std::to_string(c.Value());
  return std::to_string(c.Num()) + "/" + std::to_string(c.Den());
}

TEST(CoefficientTest, ArithmeticStaysExactWhileItFits) {
  struct {
    const char* what;
    Coef value;
    const char* expected;
  } cases[] = {
      {"reduced", Coef::Frac(6, -4), "-3/2"},
      {"n/0 keeps its sign", Coef::Frac(-5, 0), "-1/0"},
      {"0/0", Coef::Frac(0, 0), "0/0"},
      {"1/3 + 1/6", Coef::Frac(1, 3) + Coef::Frac(1, 6), "1/2"},
      {"2/3 * 9/4", Coef::Frac(2, 3) * Coef::Frac(9, 4), "3/2"},
      {"largest sum", Coef::Int(2147483646) + Coef::Int(1), "2147483647/1"},
      {"sum beyond 32 bits", Coef::Int(2147483647) + Coef::Int(1), "real 2147483648.000000"},
      {"denominator beyond 32 bits", Coef::Frac(1, 65536) * Coef::Frac(1, 65536), "real 0.000000"},
      {"2^30", Coef::Int(2).Pow(30), "1073741824/1"},
      {"2^31", Coef::Int(2).Pow(31), "real 2147483648.000000"},
      {"(2/3)^-2", Coef::Frac(2, 3).Pow(-2), "9/4"},
      {"(-1)^-3", Coef::Int(-1).Pow(-3), "-1/1"},
      {"0^-1", Coef::Int(0).Pow(-1), "1/0"},
      {"1/-2", Coef::Int(-2).Reciprocal(), "-1/2"},
      {"once real, real", Coef::Real(0.5) + Coef::Frac(1, 2), "real 1.000000"},
      {"n/0 in a sum", Coef::Frac(1, 0) + Coef::Int(1), "real inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Describe(c.value)) << c.what;
  EXPECT_TRUE(Coef::Frac(0, 0).IsUndefined());
  EXPECT_FALSE(Coef::Frac(1, 0).IsZero());
  EXPECT_TRUE(Coef::Real(-0.5).IsNegative());
}

using CoefficientObjectsTest = SimplifyTest;

TEST_F(CoefficientObjectsTest, ReadingAndWritingNumbers) {
  struct {
    const char* tree;
    bool bounded;
    const char* read;  // null: not a fraction
  } fractions[] = {
      {"/(3,4)", true, "3/4"},
      {"-(/(1,2))", true, "-1/2"},
      {"7", true, "7/1"},
      {"/(49999999,49999999)", true, "1/1"},
      {"/(50000000,3)", true, nullptr},
      {"/(50000000,3)", false, "50000000/3"},
      {"/(1,50000000)", true, nullptr},
      {"/(1,0)", false, nullptr},
      {"/(x,2)", false, nullptr},
  };
  for (const auto& c : fractions) {
    Handle h = Build(c.tree);
    Coef value;
    bool read = ReadFraction(h, value, c.bounded, true);
    EXPECT_EQ(c.read != nullptr, read) << c.tree;
    if (read && c.read) {
      EXPECT_EQ(c.read, Describe(value)) << c.tree;
    }
    DisposeObj(h);
  }
  struct {
    Coef value;
    const char* expected;
  } written[] = {
      {Coef::Frac(-3, 4), "-(/(3,4))"}, {Coef::Int(-5), "-(5)"}, {Coef::Frac(7, 1), "7"},
      {Coef::Frac(1, 0), "\xB0"},       {Coef::Frac(0, 0), "?"}, {Coef::Real(2.5), "2.5"},
      {Coef::Real(-4.0), "-(4)"},
  };
  for (const auto& c : written) {
    Handle h = CoefObject(c.value);
    EXPECT_EQ(c.expected, Text(h)) << Describe(c.value);
    DisposeObj(h);
  }
}

}  // namespace
}  // namespace lemmabox::testing
