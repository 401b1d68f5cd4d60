#include "manip/conlin.h"

#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/stack_check.h"

namespace lemmabox {
namespace {

// Functions of a matrix's shape: their value does not depend on the elements.
constexpr int kFirstShapeFunction = 144;  // "RowsOf", "ElementsOf", "ColumnsOf" ...
constexpr int kLastShapeFunction = 159;

Handle Strip(Handle h) {
  while (h != nullptr && ObjType(h) == kParens) h = ObjCount(h) > 0 ? ObjSlot(h, 0) : nullptr;
  return h;
}

Handle SlotOrNull(Handle obj, int i) {
  return i < ObjCount(obj) ? ObjSlot(obj, i) : nullptr;
}

// --- Names ---

Handle DeclarationOf(Handle name) {
  Handle decl = DeclOfName(name);
  return decl != nullptr && ObjType(decl) == kDeclaration ? decl : nullptr;
}

// The predefined key of a declared name; 0 for a user-defined one.
int KeyOf(Handle name) {
  name = Strip(name);
  if (name == nullptr || ObjType(name) != kName) return 0;
  Handle decl = DeclarationOf(name);
  return decl ? DeclKey(decl) : 0;
}

NameClass ClassOfDeclaration(Handle decl) {
  if (int key = DeclKey(decl)) {
    const PredefinedName* builtIn = PredefinedByKey(key);
    return builtIn ? builtIn->Class() : kNameVariable;
  }
  return DeclClass(decl);
}

// A name or subscripted name the knowledge tables can answer for: a
// user-defined base, subscripted by integers or user-defined names. Anything
// else has no working statements (and asking would be a failure).
bool HasKnowledgeForm(Handle expr) {
  expr = Strip(expr);
  if (expr == nullptr) return false;
  if (ObjType(expr) == kName) {
    Handle decl = DeclarationOf(expr);
    return decl != nullptr && IsUserDefinedDecl(decl) && NameNumberOf(decl) >= 0;
  }
  if (ObjType(expr) != kIndex || ObjCount(expr) != 2 || !HasKnowledgeForm(ObjSlot(expr, 0)))
    return false;
  Handle sub = Strip(ObjSlot(expr, 1));
  bool negated = sub != nullptr && ObjType(sub) == kNegation && ObjCount(sub) == 1;
  if (negated) sub = Strip(ObjSlot(sub, 0));
  if (sub == nullptr) return false;
  if (ObjType(sub) == kInteger) return IntegerValue(sub) <= kMaxSubscriptInteger;
  if (negated || ObjType(sub) != kName) return false;
  Handle decl = DeclarationOf(sub);
  return decl != nullptr && IsUserDefinedDecl(decl) && NameNumberOf(decl) >= 0;
}

// An integer or real zero, possibly negated.
bool IsZeroNumber(Handle h) {
  h = Strip(h);
  while (h != nullptr && ObjType(h) == kNegation) h = Strip(SlotOrNull(h, 0));
  if (h == nullptr) return false;
  if (ObjType(h) == kInteger) return IntegerValue(h) == 0;
  if (ObjType(h) == kReal) return RealValue(h) == 0.0;
  return false;
}

bool IsOneNumber(Handle h) {
  h = Strip(h);
  if (h == nullptr) return false;
  if (ObjType(h) == kInteger) return IntegerValue(h) == 1;
  if (ObjType(h) == kReal) return RealValue(h) == 1.0;
  return false;
}

// The right side of a working statement that is an equation.
Handle RightSide(Handle prop) {
  if (!IsAssumptionOrConclusion(ObjType(prop))) return nullptr;
  Handle statement = Strip(StatementOf(prop));
  if (statement == nullptr || ObjType(statement) != kEquals || ObjCount(statement) != 2)
    return nullptr;
  return ObjSlot(statement, 1);
}

// "dx = 0": the name does not change.
bool IncrementIsZero(Handle nameExpr) {
  Handle increment = LookupKnowledge(nameExpr, KnowledgeSlot::kIncrement);
  return increment != nullptr && IsZeroNumber(RightSide(increment));
}

// A name with a number bound to it (a summation index, a plot parameter)
// stands for that number.
bool BoundToNumber(Handle nameExpr) {
  KnowledgeRef ref = FindKnowledgeIn(KnowledgeScopeFor(nameExpr), Strip(nameExpr));
  return ref && (ref.Entry().flags & kTemporaryBound) != 0;
}

// What a name's definition says it equals; null when it has none or a Table
// defines it.
Handle DefinitionValue(Handle nameExpr) {
  Handle definition = LookupDefinition(nameExpr);
  if (definition == nullptr || ObjType(definition) == kTable) return nullptr;
  return RightSide(definition);
}

// The knowledge part of the constancy of a user-defined name (or of a
// subscripted form the tables answer for), v being given or not.
bool ConstantByKnowledge(Handle nameExpr, Handle v) {
  if (IncrementIsZero(nameExpr) || BoundToNumber(nameExpr)) return true;
  if (v != nullptr && NamesIndependent(nameExpr, v)) return true;
  // A circular definition ends here.
  if (StackTooDeep()) return false;
  Handle value = DefinitionValue(nameExpr);
  return value != nullptr && IsConstant(value, v);
}

// An undeclared name is looked up first; one that stays undeclared cannot be
// judged.
Handle ResolvedOrRaise(Handle name) {
  gEncodeHooks.resolveName(name);
  if (ObjType(name) == kUndeclaredName) RaiseAtObject(kMsgUndeclaredName, name);
  return name;
}

bool AllConstant(Handle obj, Handle v) {
  for (int i = 0; i < ObjCount(obj); ++i)
    if (!IsConstant(ObjSlot(obj, i), v)) return false;
  return true;
}

bool AllLinear(Handle obj, Handle x) {
  for (int i = 0; i < ObjCount(obj); ++i)
    if (!IsLinear(ObjSlot(obj, i), x)) return false;
  return true;
}

// --- Constancy entries ---

int AlwaysConstant(Handle, Handle) {
  return 1;
}
int NeverConstant(Handle, Handle) {
  return 0;
}
int ConstantWhenAllAre(Handle obj, Handle v) {
  return AllConstant(obj, v);
}

// Wildcards of the constant and integer kinds stand for constants.
int WildcardConstancy(Handle wildcard, Handle) {
  return WildcardKind(wildcard) < 'o';
}

int NameConstancy(Handle name, Handle v) {
  Handle decl = DeclarationOf(name);
  if (decl == nullptr) return 0;
  if (ClassOfDeclaration(decl) == kNameConstant) return 1;
  if (DeclKey(decl) != 0) return 0;
  if (v != nullptr && MentionsName(v, name)) return 0;
  return HasKnowledgeForm(name) && ConstantByKnowledge(name, v);
}

int UndeclaredConstancy(Handle name, Handle v) {
  return IsConstant(ResolvedOrRaise(name), v);
}

// A subscripted name with working statements of its own (a definition of
// x_1, say) is judged by them; otherwise by its base and its subscript.
int IndexConstancy(Handle index, Handle v) {
  if (v != nullptr && SameName(index, v)) return 0;
  if (HasKnowledgeForm(index) &&
      (LookupKnowledge(index, KnowledgeSlot::kIncrement) != nullptr || BoundToNumber(index) ||
       LookupKnowledge(index, KnowledgeSlot::kDefinition) != nullptr))
    return ConstantByKnowledge(index, v);
  return AllConstant(index, v);
}

// f(c) is constant for a constant c (f_k(c) also needs a constant k); the
// shape functions of a matrix are constant whatever their argument.
int ApplyConstancy(Handle apply, Handle v) {
  Handle function = Strip(SlotOrNull(apply, 0));
  if (IsConstant(SlotOrNull(apply, 1), v)) {
    if (function != nullptr && ObjType(function) == kIndex)
      return IsConstant(SlotOrNull(function, 1), v);
    return 1;
  }
  int key = KeyOf(function);
  return key >= kFirstShapeFunction && key <= kLastShapeFunction;
}

IsConLinFn ConstancyEntryFor(TypeCode code) {
  switch (code) {
    case kInteger:
    case kNumberText:
    case kReal:
      return &AlwaysConstant;
    case kLess:
    case kEquals:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
    case kQuestion:
    case kIntegral:
    case kSummation:
    case kPiProduct:
    case kConditional:
    case kAbs:
    case kForAll:
    case kLimit:
    case kSpecialAmpersand:
      return &NeverConstant;
    case kFactorial:
    case kSqrt:
    case kParens:
    case kList:
    case kProduct:
    case kSum:
    case kNegation:
    case kQuotient:
    case kRange:
    case kPower:
    case kAdjoint:
    case kCross:
    case kDot:
    case kMatrix:
    case kPartial:
    // The value at a point: constant when the expression and the points are.
    case kEvalAt:
      return &ConstantWhenAllAre;
    case kWildcard:
      return &WildcardConstancy;
    case kName:
      return &NameConstancy;
    case kUndeclaredName:
      return &UndeclaredConstancy;
    case kIndex:
      return &IndexConstancy;
    case kApply:
      return &ApplyConstancy;
    default:
      return nullptr;
  }
}

// --- Linearity entries ---

int NeverLinear(Handle, Handle) {
  return 0;
}
int LinearWhenAllAre(Handle obj, Handle x) {
  return AllLinear(obj, x);
}
int LinearWhenConstant(Handle obj, Handle x) {
  return IsConstant(obj, x);
}

// At most one factor varies with x, and that one linearly.
int ProductLinearity(Handle product, Handle x) {
  Handle varying = nullptr;
  for (int i = 0; i < ObjCount(product); ++i) {
    Handle factor = ObjSlot(product, i);
    if (IsConstant(factor, x)) continue;
    if (varying != nullptr) return 0;
    varying = factor;
  }
  return varying == nullptr || IsLinear(varying, x);
}

int QuotientLinearity(Handle quotient, Handle x) {
  return IsLinear(SlotOrNull(quotient, 0), x) && IsConstant(SlotOrNull(quotient, 1), x);
}

int ParensLinearity(Handle parens, Handle x) {
  return IsLinear(SlotOrNull(parens, 0), x);
}

int SqrtLinearity(Handle root, Handle x) {
  return IsConstant(SlotOrNull(root, 0), x);
}

// b^e: e constant, and then e = 0, or b constant, or b linear with e = 1.
int PowerLinearity(Handle power, Handle x) {
  Handle base = SlotOrNull(power, 0);
  Handle exponent = SlotOrNull(power, 1);
  if (!IsConstant(exponent, x)) return 0;
  if (IsZeroNumber(exponent) || IsConstant(base, x)) return 1;
  return IsOneNumber(exponent) && IsLinear(base, x);
}

int NameLinearity(Handle name, Handle x) {
  if (x != nullptr && SameName(name, x)) return 1;
  Handle decl = DeclarationOf(name);
  if (decl == nullptr) return 0;
  if (DeclKey(decl) != 0) return IsConstant(name, x);
  if (IsConstant(name, x)) return 1;
  if (!HasKnowledgeForm(name) || StackTooDeep()) return 0;
  Handle value = DefinitionValue(name);
  return value != nullptr && IsLinear(value, x);
}

int UndeclaredLinearity(Handle name, Handle x) {
  return IsLinear(ResolvedOrRaise(name), x);
}

int IndexLinearity(Handle index, Handle x) {
  if (HasKnowledgeForm(index)) {
    if (x != nullptr && SameName(index, x)) return 1;
    Handle value = StackTooDeep() ? nullptr : DefinitionValue(index);
    if (value != nullptr && IsLinear(value, x)) return 1;
  }
  return IsLinear(SlotOrNull(index, 0), x) && IsConstant(SlotOrNull(index, 1), x);
}

IsConLinFn LinearityEntryFor(TypeCode code) {
  switch (code) {
    case kInteger:
    case kNumberText:
    case kReal:
      return &AlwaysConstant;
    case kLess:
    case kEquals:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
    case kQuestion:
    case kWildcard:
    case kIntegral:
    case kPartial:
    case kSummation:
    case kPiProduct:
    case kConditional:
    case kAbs:
    case kEvalAt:
    case kForAll:
    case kLimit:
    case kSpecialAmpersand:
    case kSpecialQuote:
      return &NeverLinear;
    case kSum:
    case kList:
    case kNegation:
    case kRange:
    case kAdjoint:
    case kMatrix:
      return &LinearWhenAllAre;
    case kProduct:
    case kCross:
    case kDot:
      return &ProductLinearity;
    case kQuotient:
      return &QuotientLinearity;
    case kParens:
      return &ParensLinearity;
    case kSqrt:
      return &SqrtLinearity;
    case kPower:
      return &PowerLinearity;
    // n! has no degree of its own: linear only where it does not vary.
    case kFactorial:
    case kApply:
      return &LinearWhenConstant;
    case kName:
      return &NameLinearity;
    case kUndeclaredName:
      return &UndeclaredLinearity;
    case kIndex:
      return &IndexLinearity;
    default:
      return nullptr;
  }
}

}  // namespace

bool IsConstant(Handle obj, Handle variable) {
  if (obj == nullptr) return false;
  return gIsConLinTable.Entry(ObjType(obj))(obj, variable) != 0;
}

bool IsLinear(Handle obj, Handle variable) {
  if (obj == nullptr) return false;
  return gIsConLin2Table.Entry(ObjType(obj))(obj, variable) != 0;
}

void RegisterConLin() {
  auto fill = [](TypeCode code) {
    if (IsConLinFn fn = ConstancyEntryFor(code)) gIsConLinTable.Set(code, fn);
    if (IsConLinFn fn = LinearityEntryFor(code)) gIsConLin2Table.Set(code, fn);
  };
#define LEMMABOX_REGISTER_TYPE(name, code, ...) fill(code);
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
  LEMMABOX_SPECIAL_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
