#include "manip/commute.h"

#include <algorithm>

#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

int ClassOf(Handle obj) {
  return obj == nullptr ? kCommuteConstant : CommutativityClass(obj);
}

// The largest class among the operands: a sum of a variable and a constant
// is a variable, a relation between operators is about operators.
int MaxOfOperands(Handle obj) {
  int cls = kCommuteConstant;
  for (int i = 0; i < ObjCount(obj); ++i) cls = std::max(cls, ClassOf(ObjSlot(obj, i)));
  return cls;
}

// Numbers are constants.
int ConstantClass(Handle) {
  return kCommuteConstant;
}

// A question mark stands for some value, which may vary.
int VariableClass(Handle) {
  return kCommuteVariable;
}

// Partial derivatives and summations act on what follows them.
int DLinearClass(Handle) {
  return kCommuteDLinear;
}

int CompositeClass(Handle obj) {
  return MaxOfOperands(obj);
}

// A name by its declaration: a user-defined name has the class the user
// chose; a predefined one the class of its built-in meaning (the
// differential operator d is D-linear, the functions are functions).
int DeclaredNameClass(Handle name) {
  Handle decl = DeclOfName(name);
  if (decl == nullptr || ObjType(decl) != kDeclaration) return kCommuteVariable;
  int cls = kCommuteVariable;
  if (int key = DeclKey(decl)) {
    if (const PredefinedName* builtIn = PredefinedByKey(key)) cls = builtIn->Class();
  } else {
    cls = DeclClass(decl);
  }
  return std::clamp(cls, static_cast<int>(kCommuteConstant), static_cast<int>(kCommuteFunction));
}

// A name nobody declared yet is taken for a variable, the class its
// declaration would be offered with.
int UndeclaredNameClass(Handle name) {
  gEncodeHooks.resolveName(name);
  if (ObjType(name) == kName) return DeclaredNameClass(name);
  return kCommuteVariable;
}

// Wildcards of the constant and integer kinds stand for constants, those of
// the variable kinds for variables; the "anything" kinds may stand for an
// operator, so they are kept in place like one.
int WildcardClass(Handle wildcard) {
  char kind = WildcardKind(wildcard);
  if (kind >= 'a' && kind <= 'n') return kCommuteConstant;
  if (kind >= 'o' && kind <= 'r') return kCommuteMLinear;
  return kCommuteVariable;
}

// A product read from its last factor back: a D-linear operator or a function
// applies to what follows it, so the product is of the class of its operand;
// any other factor raises the class to its own (a scalar times an M-linear
// operator is still an operator; a product that ends in an operator is an
// operator waiting for its operand).
int ProductClass(Handle product) {
  int count = ObjCount(product);
  if (count == 0) return kCommuteConstant;
  int cls = ClassOf(ObjSlot(product, count - 1));
  for (int k = count - 2; k >= 0; --k) {
    int factor = ClassOf(ObjSlot(product, k));
    if (factor < kCommuteDLinear) cls = std::max(cls, factor);
  }
  return cls;
}

// A power of an operator or function is one too (d^2, sin^2); otherwise the
// larger class of base and exponent.
int PowerClass(Handle power) {
  return MaxOfOperands(power);
}

// A subscript picks a component: the base decides, the subscript can only
// make a constant vary.
int IndexClass(Handle index) {
  if (ObjCount(index) < 2) return MaxOfOperands(index);
  int base = ClassOf(ObjSlot(index, 0));
  int sub = std::min(ClassOf(ObjSlot(index, 1)), static_cast<int>(kCommuteVariable));
  return std::max(base, sub);
}

// A function applied to a constant is a constant, to an M-linear operator an
// operator, to anything else a variable. When the function part does not act
// like a function the two are a product.
int ApplyClass(Handle apply) {
  if (ObjCount(apply) < 2) return MaxOfOperands(apply);
  if (ClassOf(ObjSlot(apply, 0)) < kCommuteFunction) return ProductClass(apply);
  int argument = ClassOf(ObjSlot(apply, 1));
  if (argument == kCommuteConstant) return kCommuteConstant;
  if (argument == kCommuteMLinear) return kCommuteMLinear;
  return kCommuteVariable;
}

// A matrix multiplies like an M-linear operator, whatever its elements.
int MatrixClass(Handle matrix) {
  return std::max(static_cast<int>(kCommuteMLinear), MaxOfOperands(matrix));
}

// Integrals, limits and iterated products are never taken for constants;
// their value is a variable unless an operator is inside.
int AtLeastVariable(Handle obj) {
  return std::max(static_cast<int>(kCommuteVariable), MaxOfOperands(obj));
}

// A conditional is one of its values: the classes of the matrix's elements
// count, not the matrix's own.
int ConditionalClass(Handle conditional) {
  Handle inner = ObjCount(conditional) > 0 ? ObjSlot(conditional, 0) : nullptr;
  int cls = kCommuteVariable;
  if (inner != nullptr) {
    if (ObjType(inner) == kMatrix)
      cls = std::max(cls, MaxOfOperands(inner));
    else
      cls = std::max(cls, ClassOf(inner));
  }
  return cls;
}

CommuteFn CommuteEntryFor(TypeCode code) {
  switch (code) {
    case kInteger:
    case kNumberText:
    case kReal:
      return &ConstantClass;
    case kQuestion:
      return &VariableClass;
    case kPartial:
    case kSummation:
      return &DLinearClass;
    case kName:
      return &DeclaredNameClass;
    case kUndeclaredName:
      return &UndeclaredNameClass;
    case kWildcard:
      return &WildcardClass;
    case kProduct:
      return &ProductClass;
    case kPower:
      return &PowerClass;
    case kIndex:
      return &IndexClass;
    case kApply:
      return &ApplyClass;
    case kMatrix:
      return &MatrixClass;
    case kIntegral:
    case kLimit:
    case kPiProduct:
      return &AtLeastVariable;
    case kConditional:
      return &ConditionalClass;
    case kList:
      return nullptr;  // a list is no quantity
    default:
      break;
  }
  return IsExpressionType(code) ? &CompositeClass : nullptr;
}

}  // namespace

int CommutativityClass(Handle obj) {
  if (obj == nullptr) return kCommuteConstant;
  return gCommuteTable.Entry(ObjType(obj))(obj);
}

bool Commutes(Handle a, Handle b) {
  if (CommutativityClass(a) + CommutativityClass(b) < 6) return true;
  return Equivalent(a, b);
}

void RegisterCommute() {
#define LEMMABOX_REGISTER_TYPE(name, code, ...) \
  if (CommuteFn fn = CommuteEntryFor(code)) gCommuteTable.Set(code, fn);
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
