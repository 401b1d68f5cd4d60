#include "manip/order.h"

#include <array>

#include "manip/commute.h"
#include "mathobj/equivalence.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "mathobj/types.h"
#include "notebook/names.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

struct Ranks {
  TypeCode code;
  uint8_t factor;
  uint8_t term;
};

// Numbers lead a product and close a sum; names come after the composite
// types among factors, and among terms after powers, products and function
// references, so that x^2 + x*y + x keeps its powers and products first.
constexpr Ranks kRanks[] = {
    {kInteger, 5, 40},         {kNumberText, 7, 40},    {kReal, 9, 40},       {kPower, 10, 10},
    {kFactorial, 12, 12},      {kIndex, 13, 13},        {kSum, 15, 15},       {kNegation, 16, 16},
    {kRange, 17, 17},          {kSqrt, 18, 23},         {kParens, 19, 19},    {kAbs, 19, 19},
    {kList, 20, 20},           {kQuotient, 21, 21},     {kQuestion, 22, 22},  {kName, 45, 35},
    {kUndeclaredName, 48, 49}, {kWildcard, 51, 51},     {kDot, 57, 255},      {kCross, 61, 255},
    {kAdjoint, 66, 255},       {kGreaterEqual, 72, 72}, {kNotEqual, 73, 73},  {kLessEqual, 74, 74},
    {kGreater, 75, 75},        {kEquals, 76, 76},       {kLess, 78, 78},      {kMatrix, 81, 255},
    {kIntegral, 83, 255},      {kForAll, 85, 255},      {kLimit, 87, 255},    {kApply, 91, 27},
    {kPiProduct, 94, 255},     {kSummation, 96, 255},   {kPartial, 100, 110}, {kProduct, 101, 29},
};

using RankTable = std::array<uint8_t, kTypeTableSize>;

constexpr RankTable MakeRankTable(bool factor) {
  RankTable table{};
  for (auto& rank : table) rank = 255;
  for (const Ranks& r : kRanks) table[TypeIndex(r.code)] = factor ? r.factor : r.term;
  return table;
}

constexpr RankTable kFactorRanks = MakeRankTable(true);
constexpr RankTable kTermRanks = MakeRankTable(false);

Handle Slot(Handle obj, int i) {
  return i < ObjCount(obj) ? ObjSlot(obj, i) : nullptr;
}

int ByCount(int na, int nb) {
  return na < nb ? kFirstBefore : na > nb ? kSecondBefore : kOrderEqual;
}

// Null handles (empty slots) first; kOrderEqual when neither is null and the
// caller must go on.
int NullOrder(Handle a, Handle b, bool& decided) {
  decided = a == nullptr || b == nullptr;
  if (!decided) return kOrderEqual;
  if (a == nullptr && b == nullptr) return kOrderEqual;
  return a == nullptr ? kFirstBefore : kSecondBefore;
}

// Equal ranks: objects of different types (the numbers share a term rank)
// are kept apart by their type codes, so the order stays total; objects of
// one type go to the type's Order entry.
int ByRank(Handle a, Handle b, uint8_t rankA, uint8_t rankB) {
  if (rankA != rankB) return rankA < rankB ? kFirstBefore : kSecondBefore;
  if (ObjType(a) != ObjType(b)) return ObjType(a) < ObjType(b) ? kFirstBefore : kSecondBefore;
  int result = gOrderTable.Entry(ObjType(a))(a, b);
  return result == kFirstBefore || result == kSecondBefore ? result : kOrderEqual;
}

// --- Compare-factors ---

bool HasBase(TypeCode code) {
  return code == kPower || code == kIndex || code == kSqrt;
}

// x against x^2, x_1 or sqrt(x): by base, the plain object first; two of
// them with equal bases: the higher type code first (x_1 before x^2 before
// sqrt(x)), then by exponent or subscript.
int FactorsByBase(Handle a, Handle b) {
  bool based = HasBase(ObjType(a));
  bool otherBased = HasBase(ObjType(b));
  int result = CompareFactors(based ? Slot(a, 0) : a, otherBased ? Slot(b, 0) : b);
  if (result != kOrderEqual) return result;
  if (!based) return kFirstBefore;
  if (!otherBased) return kSecondBefore;
  if (ObjType(a) != ObjType(b)) return ObjType(a) > ObjType(b) ? kFirstBefore : kSecondBefore;
  if (ObjType(a) == kSqrt) return kOrderEqual;
  return CompareFactors(Slot(a, 1), Slot(b, 1));
}

// --- Compare-terms, step 3: bases and term ranks ---

bool HasDegree(TypeCode code) {
  return code == kPower || code == kSqrt;
}

int TermCore(Handle a, Handle b) {
  bool decided;
  int result = NullOrder(a, b, decided);
  if (decided) return result;
  bool powered = HasDegree(ObjType(a));
  bool otherPowered = HasDegree(ObjType(b));
  if (powered || otherPowered) {
    result = TermCore(powered ? Slot(a, 0) : a, otherPowered ? Slot(b, 0) : b);
    if (result != kOrderEqual) return result;
    // Higher degree first: the power before its plain base.
    if (!powered) return kSecondBefore;
    if (!otherPowered) return kFirstBefore;
    if (ObjType(a) != ObjType(b)) return ObjType(a) == kPower ? kFirstBefore : kSecondBefore;
    if (ObjType(a) == kSqrt) return kOrderEqual;
    return TermCore(Slot(a, 1), Slot(b, 1));
  }
  return ByRank(a, b, TermRank(ObjType(a)), TermRank(ObjType(b)));
}

// --- Order entries ---

// Products and the operators that end in what they apply to: from the last
// child backwards.
int OrderFromLast(Handle a, Handle b) {
  int na = ObjCount(a), nb = ObjCount(b);
  for (int k = 1; k <= na && k <= nb; ++k) {
    int result = CompareFactors(ObjSlot(a, na - k), ObjSlot(b, nb - k));
    if (result != kOrderEqual) return result;
  }
  return ByCount(na, nb);
}

// Two matrices with the same elements in the same order may still differ in
// shape: the one with fewer rows first.
int OrderMatrices(Handle a, Handle b) {
  int result = OrderFromLast(a, b);
  if (result != kOrderEqual) return result;
  return ByCount(MatrixRows(a), MatrixRows(b));
}

Handle UnNegated(Handle h, bool& negated) {
  negated = h != nullptr && ObjType(h) == kNegation;
  return negated ? Slot(h, 0) : h;
}

// Sums from the first term: -x is compared as x, and goes after x.
int OrderSums(Handle a, Handle b) {
  int na = ObjCount(a), nb = ObjCount(b);
  for (int k = 0; k < na && k < nb; ++k) {
    bool negA, negB;
    Handle x = UnNegated(ObjSlot(a, k), negA);
    Handle y = UnNegated(ObjSlot(b, k), negB);
    int result = CompareFactors(x, y);
    if (result != kOrderEqual) return result;
    if (negA != negB) return negA ? kSecondBefore : kFirstBefore;
  }
  return ByCount(na, nb);
}

// Lists from the first element.
int OrderFromFirst(Handle a, Handle b) {
  int na = ObjCount(a), nb = ObjCount(b);
  for (int k = 0; k < na && k < nb; ++k) {
    int result = CompareFactors(ObjSlot(a, k), ObjSlot(b, k));
    if (result != kOrderEqual) return result;
  }
  return ByCount(na, nb);
}

int OrderChildren(Handle a, Handle b, int children) {
  for (int k = 0; k < children; ++k) {
    int result = CompareFactors(Slot(a, k), Slot(b, k));
    if (result != kOrderEqual) return result;
  }
  return kOrderEqual;
}

int OrderFirstChild(Handle a, Handle b) {
  return OrderChildren(a, b, 1);
}
int OrderTwoChildren(Handle a, Handle b) {
  return OrderChildren(a, b, 2);
}
int OrderThreeChildren(Handle a, Handle b) {
  return OrderChildren(a, b, 3);
}

// Texts byte by byte as signed bytes; a prefix first.
int OrderTexts(const char* a, const char* b) {
  for (int i = 0; i < kTextFieldSize; ++i) {
    signed char x = static_cast<signed char>(a[i]);
    signed char y = static_cast<signed char>(b[i]);
    if (x != y) {
      if (x == 0) return kFirstBefore;
      if (y == 0) return kSecondBefore;
      return x < y ? kFirstBefore : kSecondBefore;
    }
    if (x == 0) return kOrderEqual;
  }
  return kOrderEqual;
}

int OrderSpellings(Handle a, Handle b) {
  return OrderTexts(ObjText(a), ObjText(b));
}

// Among integer factors the larger first (5 before 3).
int OrderIntegers(Handle a, Handle b) {
  int32_t x = IntegerValue(a), y = IntegerValue(b);
  return x > y ? kFirstBefore : x < y ? kSecondBefore : kOrderEqual;
}

// Among reals the smaller first (1.5 before 2.5).
int OrderReals(Handle a, Handle b) {
  double x = RealValue(a), y = RealValue(b);
  return x < y ? kFirstBefore : x > y ? kSecondBefore : kOrderEqual;
}

int OrderQuestionMarks(Handle, Handle) {
  return kOrderEqual;
}

const char* DeclSpelling(Handle name) {
  Handle decl = DeclOfName(name);
  if (decl == nullptr || ObjType(decl) != kDeclaration) return "";
  const char* text = DeclNameText(decl);
  return text != nullptr ? text : "";
}

// The imaginary unit goes after every other name, so that the real part of a
// product comes first.
int OrderDeclaredNames(Handle a, Handle b) {
  if (DeclOfName(a) == DeclOfName(b)) return kOrderEqual;
  bool imaginaryA = PredefinedKeyOfName(a) == kKeyImaginary;
  bool imaginaryB = PredefinedKeyOfName(b) == kKeyImaginary;
  if (imaginaryA != imaginaryB) return imaginaryA ? kSecondBefore : kFirstBefore;
  return OrderTexts(DeclSpelling(a), DeclSpelling(b));
}

OrderFn OrderEntryFor(TypeCode code) {
  switch (code) {
    case kProduct:
    case kEvalAt:
    case kIntegral:
    case kSummation:
    case kPiProduct:
      return &OrderFromLast;
    case kMatrix:
      return &OrderMatrices;
    case kSum:
      return &OrderSums;
    case kList:
      return &OrderFromFirst;
    case kFactorial:
    case kSqrt:
    case kParens:
    case kNegation:
    case kAdjoint:
    case kPartial:
    case kConditional:
    case kAbs:
      return &OrderFirstChild;
    case kQuotient:
    case kRange:
    case kApply:
    case kLess:
    case kEquals:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
    case kPower:
    case kIndex:
    case kCross:
    case kDot:
    case kForAll:
      return &OrderTwoChildren;
    case kLimit:
      return &OrderThreeChildren;
    case kUndeclaredName:
    case kWildcard:
    case kNumberText:
      return &OrderSpellings;
    case kInteger:
      return &OrderIntegers;
    case kReal:
      return &OrderReals;
    case kQuestion:
      return &OrderQuestionMarks;
    case kName:
      return &OrderDeclaredNames;
    default:
      return nullptr;
  }
}

}  // namespace

uint8_t FactorRank(TypeCode code) {
  return IsTypeCode(code) ? kFactorRanks[TypeIndex(code)] : 255;
}

uint8_t TermRank(TypeCode code) {
  return IsTypeCode(code) ? kTermRanks[TypeIndex(code)] : 255;
}

int OrderClass(Handle obj) {
  if (obj == nullptr) return kCommuteConstant;
  if (!gCommuteTable.Has(ObjType(obj))) return kCommuteVariable;
  return CommutativityClass(obj);
}

bool IsDifferential(Handle obj) {
  if (obj == nullptr || ObjType(obj) != kProduct || ObjCount(obj) != 2) return false;
  Handle op = ObjSlot(obj, 0);
  Handle name = ObjSlot(obj, 1);
  if (op == nullptr || name == nullptr || ObjType(name) != kName) return false;
  if (PredefinedKeyOfName(op) != kKeyDifferential) return false;
  Handle decl = DeclOfName(name);
  return DeclRecordOf(decl) != nullptr && IsUserDefinedDecl(decl) &&
         DeclClass(decl) != kNameFunction;
}

bool IsNegationOf(Handle a, Handle b) {
  if (a == nullptr || b == nullptr) return false;
  if (ObjType(a) == kNegation && ObjCount(a) == 1 && Equivalent(ObjSlot(a, 0), b)) return true;
  if (ObjType(b) == kNegation && ObjCount(b) == 1 && Equivalent(a, ObjSlot(b, 0))) return true;
  return ObjType(a) == kSum && ObjType(b) == kSum && IsNegatedSum(a, b);
}

int CompareFactorsSameClass(Handle a, Handle b) {
  bool decided;
  int result = NullOrder(a, b, decided);
  if (decided) return result;
  if (HasBase(ObjType(a)) || HasBase(ObjType(b))) return FactorsByBase(a, b);
  uint8_t rankA = FactorRank(ObjType(a)), rankB = FactorRank(ObjType(b));
  // Differentials (dx) after every other product, as they are written last.
  if (rankA == rankB && ObjType(a) == kProduct && ObjType(b) == kProduct) {
    bool dA = IsDifferential(a), dB = IsDifferential(b);
    if (dA != dB) return dA ? kSecondBefore : kFirstBefore;
  }
  return ByRank(a, b, rankA, rankB);
}

int CompareFactors(Handle a, Handle b) {
  int classA = OrderClass(a), classB = OrderClass(b);
  if (classA != classB) return classA < classB ? kFirstBefore : kSecondBefore;
  return CompareFactorsSameClass(a, b);
}

int CompareTermsSameClass(Handle a, Handle b) {
  bool decided;
  int result = NullOrder(a, b, decided);
  if (decided) return result;
  bool productA = ObjType(a) == kProduct && ObjCount(a) > 0;
  bool productB = ObjType(b) == kProduct && ObjCount(b) > 0;
  if (productA && productB) {
    int na = ObjCount(a), nb = ObjCount(b);
    for (int k = 1; k <= na && k <= nb; ++k) {
      result = TermCore(ObjSlot(a, na - k), ObjSlot(b, nb - k));
      if (result != kOrderEqual) return result;
    }
  } else if (productA) {
    result = TermCore(ObjSlot(a, ObjCount(a) - 1), b);
    if (result != kOrderEqual) return result;
  } else if (productB) {
    result = TermCore(a, ObjSlot(b, ObjCount(b) - 1));
    if (result != kOrderEqual) return result;
  }
  return TermCore(a, b);
}

int CompareTerms(Handle a, Handle b) {
  int classA = OrderClass(a), classB = OrderClass(b);
  if (classA != classB) return classA > classB ? kFirstBefore : kSecondBefore;
  return CompareTermsSameClass(a, b);
}

void RegisterOrder() {
#define LEMMABOX_REGISTER_TYPE(name, code, ...) \
  if (OrderFn fn = OrderEntryFor(code)) gOrderTable.Set(code, fn);
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
