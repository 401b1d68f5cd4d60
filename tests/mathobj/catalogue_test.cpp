#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "mathobj/predefined.h"
#include "mathobj/types.h"

namespace lemmabox {
namespace {

// Types by their attribute bits, as the catalogue lists them.
std::string TypesWith(uint8_t (*table)(TypeCode), uint8_t bit) {
  std::string codes;
  for (int c = 0x20; c <= 0x7E; ++c)
    if (table(static_cast<TypeCode>(c)) & bit) codes += static_cast<char>(c);
  return codes;
}

TEST(TypeCatalogue, AttributeBits) {
  struct Case {
    uint8_t (*table)(TypeCode);
    uint8_t bit;
    const char* members;
  } const cases[] = {
      {&ShapeBits, kShapeEntry, "ABCDGHILMNOPQRSTVXZ"},
      {&ShapeBits, kShapeContainer, "GMTZ"},
      {&ShapeBits, kShapeLeaf, "'?`inrv"},
      {&ShapeBits, kShapeOne, "!%(-ajp{|"},
      {&ShapeBits, kShapeTwo, "/:;<=>[\\]^_cdf"},
      {&ShapeBits, kShapeThree, ")lsx"},
      {&ShapeBits, kShapeAny, "*+"},
      {&ClassBits, kClassNumber, "inr"},
      {&ClassBits, kClassRelation, "<=>[\\]"},
      {&ClassBits, kClassEnclosing, "%(-mp{|"},
      {&ClassBits, kClassNameLike, "'`n"},
      {&ClassBits, kClass10, "*+,:;<=>ACDHILNOPRSVX[\\]_"},
      {&ClassBits, kClass20, "/MT"},
      {&ClassBits, kClassCachedImage, "ACDGHILNOPRSVXZ"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.members, TypesWith(c.table, c.bit)) << int(c.bit);
  // Every expression type except the internal list, which has no shape at all.
  EXPECT_EQ(0, ShapeBits(kList));
  std::string expressions = TypesWith(&ShapeBits, kShapeExpr);
  EXPECT_EQ(std::string::npos, expressions.find(','));
  EXPECT_EQ(37u, expressions.size());
  EXPECT_TRUE(IsRelationType(kEquals));
  EXPECT_FALSE(IsRelationType(kForAll));
}

TEST(TypeCatalogue, BindingStrengthAndTheOlderTable) {
  EXPECT_EQ(50, BindingStrength(kSum));
  EXPECT_EQ(90, BindingStrength(kIndex));
  EXPECT_EQ(54, BindingStrength(kCross));
  UseOlderBindingTable(true);
  EXPECT_TRUE(UsingOlderBindingTable());
  EXPECT_EQ(72, BindingStrength(kCross));
  EXPECT_EQ(72, BindingStrength(kDot));
  EXPECT_EQ(50, BindingStrength(kSum)) << "only the two products differ";
  UseOlderBindingTable(false);
  EXPECT_EQ(54, BindingStrength(kDot));
}

TEST(TypeCatalogue, LeadingDataSlotsAndNames) {
  struct Case {
    TypeCode type;
    int leading;
    const char* name;
  } const cases[] = {
      {kGraph2D, 63, "2D Graph"},      {kGraph3D, 86, "3D Graph"},
      {kMainTheory, 2, "Main Theory"}, {kCaseTheory, 1, "Case Theory"},
      {kLinePlot, 1, "Line plot"},     {kScatterPlot, 1, nullptr},
      {kAssumption, 0, "Assumption"},  {kSum, 0, "Addition op"},
      {kParens, 0, nullptr},           {kWildcard, 0, "Wildcard Variable"},
      {TypeCode('#'), 0, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.leading, LeadingDataSlots(c.type)) << char(c.type);
    if (c.name)
      EXPECT_STREQ(c.name, TypeDisplayName(c.type));
    else
      EXPECT_EQ(nullptr, TypeDisplayName(c.type)) << char(c.type);
  }
  EXPECT_EQ(0, ShapeBits(0x7F));
  EXPECT_EQ(nullptr, TypeDisplayName(0x10));
}

TEST(PredefinedNames, TableAndLookups) {
  auto names = PredefinedNames();
  EXPECT_EQ(64u, names.size());
  std::set<int> keys;
  std::set<std::string> spellings;
  for (const PredefinedName& name : names) {
    keys.insert(name.key);
    spellings.insert(name.spelling);
    EXPECT_EQ(&name, PredefinedByKey(name.key));
    EXPECT_EQ(&name, PredefinedBySpelling(name.spelling));
    EXPECT_NE(0, name.Topic());
  }
  EXPECT_EQ(64u, keys.size());
  EXPECT_EQ(64u, spellings.size());

  struct Case {
    int key;
    const char* spelling;
    NameClass nameClass;
  } const cases[] = {
      {kKeyPi, "\xB9", kNameConstant},     {kKeyInfinity, "\xB0", kNameConstant},
      {kKeyDegree, "\xA1", kNameConstant}, {kKeyDifferential, "d", kNameDLinearOperator},
      {35, "\xED", kNameFunction},         {52, "Ai", kNameFunction},
      {72, "radius", kNameConstant},       {130, "FromCylindrical", kNameFunction},
      {291, "exp", kNameFunction},         {307, "ln", kNameFunction},
      {310, "arccoth", kNameFunction},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.spelling, PredefinedSpelling(c.key)) << c.key;
    EXPECT_EQ(c.nameClass, PredefinedByKey(c.key)->Class()) << c.key;
  }
  EXPECT_STREQ("normal", PredefinedSpelling(259));
  EXPECT_STREQ("normal", PredefinedSpelling(0));
  EXPECT_EQ(nullptr, PredefinedBySpelling("Sin")) << "spellings are case-sensitive";
}

TEST(PredefinedNames, TrigonometricKeys) {
  struct Case {
    const char* spelling;
    TrigFamily family;
    TrigFunction function;
  } const cases[] = {
      {"sin", kTrigPlain, kSin},
      {"cot", kTrigPlain, kCot},
      {"arccos", kTrigInverse, kCos},
      {"arcsec", kTrigInverse, kSec},
      {"tanh", kTrigHyperbolic, kTan},
      {"csch", kTrigHyperbolic, kCsc},
      {"arcsinh", kTrigInverseHyperbolic, kSin},
      {"arccoth", kTrigInverseHyperbolic, kCot},
  };
  for (const Case& c : cases) {
    int key = PredefinedBySpelling(c.spelling)->key;
    EXPECT_EQ(TrigKey(c.family, c.function), key) << c.spelling;
    TrigFamily family;
    TrigFunction function;
    ASSERT_TRUE(DecodeTrigKey(key, family, function));
    EXPECT_EQ(c.family, family);
    EXPECT_EQ(c.function, function);
  }
  TrigFamily family;
  TrigFunction function;
  for (int key : {291, 307, 259, 255, 320, 1})
    EXPECT_FALSE(DecodeTrigKey(key, family, function)) << key;
}

TEST(PredefinedNames, OperatorsWrittenAsFunctions) {
  EXPECT_EQ(13u, OpNames().size());
  EXPECT_STREQ("abs", OpNameForType(kAbs)->name);
  EXPECT_STREQ("Diff", OpNameForType(kPartial)->name) << "the first of three spellings";
  EXPECT_EQ(kPartial, OpNameByName("Derivative")->type);
  EXPECT_EQ(4, OpNameByName("PiProduct")->operands);
  EXPECT_EQ(kEvalAt, OpNameByName("EvaluateAt")->type);
  EXPECT_EQ(nullptr, OpNameByName("sqr"));
  EXPECT_EQ(nullptr, OpNameForType(kSum));
}

}  // namespace
}  // namespace lemmabox
