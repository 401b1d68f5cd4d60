#include "mathobj/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/predefined.h"
#include "mathobj_fixture.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

using testing::Build;
using testing::Show;
using NumberTest = testing::MathObjTest;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST_F(NumberTest, NumberTextValues) {
  struct Case {
    std::string text;
    double value;  // NaN: expect NaN
  } const cases[] = {
      {"42", 42},
      {"3.25", 3.25},
      {".5", 0.5},
      {"1\x90"
       "3",
       1000},
      {"2.5\x90-2", 0.025},
      {"7\x90", 7},  // a dangling exponent is dropped
      {"7\x90-", 7},
      {"7e+", 7},
      {"?", std::nan("")},
      {"\xB0", kInf},
      {"-\xB0", -kInf},
      {"+\xB0", kInf},
      {"", 0},
      {"abc", 0},     // unreadable
      {"12abc", 12},  // read as far as it goes
      {"1\x90"
       "400",
       kInf},
      {"1\x90-400", 0},
      {"0.000123\x90"
       "400",
       kInf},
      {"123456789012345678901234567890123", 12345678901234567890123456789012.0},  // 32 bytes read
  };
  for (const Case& c : cases) {
    double value = NumberTextValue(c.text.c_str());
    if (std::isnan(c.value))
      EXPECT_TRUE(std::isnan(value)) << c.text;
    else
      EXPECT_DOUBLE_EQ(c.value, value) << c.text;
  }
}

TEST_F(NumberTest, ResolvingATypedNumber) {
  struct Case {
    const char* text;
    const char* expected;
  } const cases[] = {
      {"123456789", "123456789"},
      {"1234567890", "1234567890.0"},  // more than 9 characters: a real
      {"007", "7"},
      {"12.5", "12.5"},
      {"1\x90"
       "5",
       "100000.0"},
      {"?", "#?"},  // NaN: stays a number text
      {"\xB0", "inf"},
  };
  for (const Case& c : cases) {
    Handle n = NewNumberText(c.text);
    TypeCode type = ResolveNumberText(n);
    EXPECT_EQ(type, ObjType(n));
    std::string shown = Show(n);
    if (std::isinf(ObjType(n) == kReal ? RealValue(n) : 0)) shown = "inf";
    EXPECT_EQ(c.expected, shown) << c.text;
    DisposeObj(n);
  }
}

TEST_F(NumberTest, IntegerToText) {
  for (int32_t value : {0, 42, 999999999, 2147483647}) {
    Handle i = NewInteger(value);
    IntegerToNumberText(i);
    EXPECT_EQ(kNumberText, ObjType(i));
    EXPECT_EQ(std::to_string(value), ObjText(i));
    EXPECT_GE(ObjHandleSize(i), kObjHeaderSize + kTextFieldSize);
    // And back: ten digits are too many for an integer.
    if (value < 1000000000) {
      EXPECT_EQ(kInteger, ResolveNumberText(i));
      EXPECT_EQ(value, IntegerValue(i));
    } else {
      EXPECT_EQ(kReal, ResolveNumberText(i));
      EXPECT_EQ(value, RealValue(i));
    }
    DisposeObj(i);
  }
}

TEST_F(NumberTest, NumericValueOfConstants) {
  gObjStoreHooks.predefinedKeyOf = [](Handle h) {
    return ObjType(h) == kUndeclaredName && ObjText(h)[0] == '\xB0' ? kKeyInfinity : 0;
  };
  struct Case {
    const char* tree;
    double value;
  } const cases[] = {
      {"2.5", 2.5},     {"7", 7},       {"#1.5", 1.5},      {"-(-(3))", 3},
      {"-(0.5)", -0.5}, {"\xB0", kInf}, {"-(\xB0)", -kInf},
  };
  for (const Case& c : cases) {
    Handle h = Build(c.tree);
    EXPECT_EQ(c.value, ObjNumericValue(h)) << c.tree;
    DisposeObj(h);
  }
  EXPECT_TRUE(platform.boxes.empty());

  // Anything else is reported and gives the undefined value.
  for (const char* tree : {"+(1,2)", "x", "-(~)"}) {
    Handle h = Build(tree);
    platform.boxes.clear();
    EXPECT_TRUE(std::isnan(ObjNumericValue(h))) << tree;
    ASSERT_EQ(1u, platform.boxes.size()) << tree;
    EXPECT_NE(std::string::npos,
              platform.boxes[0].text.find("tried to get a real/int non-constant"));
    DisposeObj(h);
  }
}

}  // namespace
}  // namespace lemmabox
