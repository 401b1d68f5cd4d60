// The recogniser of familiar exact numbers and the UnCalculate core.
#include "calc/uncalculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "mathobj/dup_dispose.h"
#include "notebook/document.h"

namespace lemmabox::testing {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kE = std::numbers::e;

class UnCalculateTest : public CalcTest {
 protected:
  std::string Recognised(double re, double im = 0) {
    Handle h = RecogniseComplex(re, im);
    std::string s = h ? Show(h) : "none";
    DisposeObj(h);
    return s;
  }
  std::string UnCalculated(const std::string& text) {
    Handle h = UnCalculate(NewExpr(text));
    std::string s = Show(h);
    DisposeObj(h);
    return s;
  }
};

TEST_F(UnCalculateTest, RecognisesFamiliarNumbers) {
  struct Case {
    double value;
    const char* shown;
  };
  const Case cases[] = {
      {0.0, "0"},
      {3.0000000000000004, "3"},
      {-7, "-7"},
      {0.5, "1/2"},
      {0.1 + 0.2, "3/10"},
      {1.0 / 3, "1/3"},
      {-0.75, "-(3/4)"},
      {1234.5, "2469/2"},
      {0.001, "1/1000"},
      {std::sqrt(2.0) / 2, "@sqrt(2)/2"},
      {std::sin(kPi / 4), "@sqrt(2)/2"},
      {std::sqrt(3.0), "@sqrt(3)"},
      {-3 * std::sqrt(5.0), "-(3*@sqrt(5))"},
      {2 * std::sqrt(6.0) / 3, "2*@sqrt(6)/3"},
      {(1 + std::sqrt(5.0)) / 2, "(1+@sqrt(5))/2"},
      {(1 - std::sqrt(5.0)) / 2, "(1-@sqrt(5))/2"},
      {2 - std::sqrt(3.0), "2-@sqrt(3)"},
      {kPi, "pi"},
      {-kPi, "-pi"},
      {kPi / 2, "pi/2"},
      {3 * kPi / 4, "3*pi/4"},
      {kPi / 180, "pi/180"},
      {2 * kPi, "2*pi"},
      {kPi * kPi / 6, "pi^2/6"},
      {std::sqrt(kPi), "@sqrt(pi)"},
      {1 / kPi, "1/pi"},
      {2 / (3 * kPi), "2/(3*pi)"},
      {kE, "e"},
      {1 / kE, "1/e"},
      {kE * kE, "e^2"},
      {std::log(2.0), "ln(2)"},
      {3 * std::log(10.0) / 2, "3*ln(10)/2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(c.shown, Recognised(c.value));
  }
}

TEST_F(UnCalculateTest, LeavesUnfamiliarNumbersAlone) {
  for (double x : {0.1234567891234, 12345.678, 1e-20, 1e20, kPi + 1e-9, std::sqrt(101.0),
                   std::exp(3.0), std::nan(""), kInfinity, 0.5 + 1e-12}) {
    SCOPED_TRACE(x);
    EXPECT_EQ("none", Recognised(x));
  }
}

TEST_F(UnCalculateTest, RecognisesComplexNumbersPartByPart) {
  EXPECT_EQ("1/2+(1/2)*i", Recognised(0.5, 0.5));
  EXPECT_EQ("i", Recognised(0, 1));
  EXPECT_EQ("-(2*i)", Recognised(0, -2));
  EXPECT_EQ("@sqrt(3)/2-(1/2)*i", Recognised(std::sqrt(3.0) / 2, -0.5));
  EXPECT_EQ("1", Recognised(1, 1e-20));  // practically real
  EXPECT_EQ("none", Recognised(0.1234567891234, 1));
  EXPECT_EQ("none", Recognised(1, 0.1234567891234));
}

TEST_F(UnCalculateTest, FormsNeedTheirPredefinedNames) {
  // A notebook that declares nothing: pi and e cannot be written.
  Handle bare = NewNotebook();
  SetCurrentNotebook(bare);
  EXPECT_EQ("1/2", Recognised(0.5));
  EXPECT_EQ("@sqrt(2)", Recognised(std::sqrt(2.0)));
  EXPECT_EQ("none", Recognised(kPi));
  EXPECT_EQ("none", Recognised(kE));
  EXPECT_EQ("none", Recognised(std::log(2.0)));
  EXPECT_EQ("none", Recognised(0.5, 0.5));
  SetCurrentNotebook(notebook);
  CloseNotebook(bare);
}

TEST_F(UnCalculateTest, TinyTermsBecomeZeroAndOthersExact) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"2.0000000000001 + 1e-15", "2+0"},
      {"1000000 + 1e-8", "1000000+0"},
      {"0.5*x + 0.333333333333333", "(1/2)*x+1/3"},
      {"0.1234567891234*x", "0.1234567891234*x"},
      {"3.1415926535897931*y", "pi*y"},
      {"1e-15", "1.0000000000000001e-15"},  // alone it is not tiny beside anything
      {"[0.25, 1e-17; 2, 1.4142135623730951]", "[1/4, 0; 2, @sqrt(2)]"},
      {"@text(0.50) + 7", "1/2+7"},
      {"@text(?) + 0.5", "#?+1/2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, UnCalculated(c.text));
  }
}

}  // namespace
}  // namespace lemmabox::testing
