#include "mathobj/equivalence.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/match_state.h"
#include "mathobj/numbers.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox {

namespace match {

Switches gSwitches;

namespace {

struct BindingTable {
  Handle letters[kWildcardLetters] = {};
  RestBinding rest[kRestSlots];
  // The letters in the order they were bound, for backtracking.
  std::vector<int> log;
};

BindingTable gTable;
OrderFreeFigures gLastFigures;

}  // namespace

SwitchScope::SwitchScope(bool pattern, bool questionMarks, bool topLevel)
    : saved_(gSwitches), topLevel_(topLevel) {
  gSwitches.pattern = pattern;
  gSwitches.questionMarks = questionMarks;
  gSwitches.kindOnly = false;
  if (topLevel) {
    gSwitches.nesting = -1;
    gSwitches.budget = kOrderFreeBudget;
    gSwitches.trials = 0;
    gSwitches.exhausted = false;
    gSwitches.searching = 0;
  }
}

SwitchScope::~SwitchScope() {
  if (topLevel_) {
    gSwitches = saved_;
    return;
  }
  // An inner scope only changes the modes; the budget belongs to the
  // top-level call and the nesting counter balances itself.
  gSwitches.pattern = saved_.pattern;
  gSwitches.questionMarks = saved_.questionMarks;
  gSwitches.kindOnly = saved_.kindOnly;
}

bool ChargeWork(int32_t units) {
  if (gSwitches.exhausted) return false;
  gSwitches.budget -= units;
  if (gSwitches.budget < 0) {
    gSwitches.exhausted = true;
    return false;
  }
  return true;
}

bool ChargeTrial() {
  if (!ChargeWork(1)) return false;
  if ((++gSwitches.trials & 63) == 0) CheckInterrupt();
  return true;
}

Handle StripParens(Handle h) {
  while (h != nullptr && ObjType(h) == kParens) h = ObjCount(h) > 0 ? ObjSlot(h, 0) : nullptr;
  return h;
}

size_t BindingMark() {
  return gTable.log.size();
}

void UnbindTo(size_t mark) {
  while (gTable.log.size() > mark) {
    int letter = gTable.log.back();
    gTable.log.pop_back();
    Handle value = gTable.letters[letter];
    gTable.letters[letter] = nullptr;
    DisposeObj(value);
  }
}

void BindOwned(char kind, Handle value) {
  int letter = kind - 'a';
  if (gTable.letters[letter] != nullptr) InternalError("BindWildcard");
  gTable.letters[letter] = value;
  gTable.log.push_back(letter);
}

void SetRest(int which, TypeCode op, Handle operands) {
  RestBinding& slot = gTable.rest[which];
  DisposeObj(slot.operands);
  slot.op = op;
  slot.operands = operands;
}

int32_t CountNodes(Handle h) {
  if (h == nullptr) return 0;
  int32_t n = 1;
  for (int i = FirstObjSlot(h); i < ObjCount(h); ++i) n += CountNodes(ObjSlot(h, i));
  return n;
}

bool KindTest(char kind, Handle obj) {
  // The constant and variable kinds look through the whole operand.
  bool walks = (kind >= 'a' && kind <= 'h') || kind >= 's';
  if (gSwitches.searching > 0 && walks && !ChargeWork(CountNodes(obj))) return false;
  return WildcardKindAccepts(kind, obj);
}

int CommuteClassOf(Handle obj) {
  obj = StripParens(obj);
  if (obj == nullptr || !gCommuteTable.Has(ObjType(obj))) return 2;
  return gCommuteTable.Entry(ObjType(obj))(obj);
}

}  // namespace match

using match::gSwitches;
using match::StripParens;

namespace {

// Counts one level of per-type comparison.
class NestingLevel {
 public:
  NestingLevel() { ++gSwitches.nesting; }
  ~NestingLevel() { --gSwitches.nesting; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;
};

bool NoZeroIntegralRule(Handle) {
  return false;
}

constexpr EquivalenceHooks kDefaultHooks = {
    .indefiniteZeroIntegralsDiffer = &NoZeroIntegralRule,
};

// Names and number texts are compared in their resolved forms.
void Resolve(Handle h) {
  switch (ObjType(h)) {
    case kUndeclaredName:
      gEncodeHooks.resolveName(h);
      break;
    case kNumberText:
      ResolveNumberText(h);
      break;
    default:
      break;
  }
}

bool IsConstantExpr(Handle obj) {
  TypeCode type = ObjType(obj);
  return gIsConLinTable.Entry(type)(obj, nullptr) != 0;
}

// A bound letter is compared literally: its binding is no pattern.
bool WildcardRule(Handle subject, Handle wildcard) {
  char kind = WildcardKind(wildcard);
  if (Handle bound = WildcardBinding(kind)) {
    match::SwitchScope literal(false, gSwitches.questionMarks, false);
    return EquivObj(subject, bound);
  }
  if (!match::KindTest(kind, subject)) return false;
  if (gSwitches.kindOnly) return true;
  Handle copy = DupObj(subject);
  match::BindOwned(kind, copy);
  // A search that binds large parts over and over pays for the copies.
  return gSwitches.searching == 0 || match::ChargeWork(match::CountNodes(copy));
}

// --- The Equivalence entries ---

// Most operator types: the same number of operands, pairwise equivalent.
bool EquivSlots(Handle a, Handle b) {
  int count = ObjCount(a);
  if (count != ObjCount(b)) return false;
  for (int i = 0; i < count; ++i)
    if (!EquivObj(ObjSlot(a, i), ObjSlot(b, i))) return false;
  return true;
}

// Sums and products: position by position, then (pattern mode only) in any
// order. A pattern may leave operands of the subject unused only at the top,
// where they become the rest.
bool EquivOperands(Handle a, Handle b) {
  int n = ObjCount(a);
  int m = ObjCount(b);
  if (n < m) return false;
  if (n == m) {
    size_t mark = match::BindingMark();
    if (EquivSlots(a, b)) return true;
    // Bindings of the failed attempt must not steer the order-free one.
    match::UnbindTo(mark);
  }
  if (!gSwitches.pattern || n > kMaxOrderFreeOperands) return false;
  return match::OrderFreeMatch(a, b);
}

// An integer or real zero, possibly under negations.
bool IsZeroIntegrand(Handle h) {
  h = StripParens(h);
  while (h != nullptr && ObjType(h) == kNegation)
    h = StripParens(ObjCount(h) > 0 ? ObjSlot(h, 0) : nullptr);
  if (h == nullptr) return false;
  if (ObjType(h) == kInteger) return IntegerValue(h) == 0;
  if (ObjType(h) == kReal) return RealValue(h) == 0.0;
  return false;
}

bool IsIndefiniteIntegralOfZero(Handle integral) {
  return ObjCount(integral) == 1 && IsZeroIntegrand(ObjSlot(integral, 0));
}

bool EquivIntegral(Handle a, Handle b) {
  if (!gSwitches.questionMarks &&
      (IsIndefiniteIntegralOfZero(a) || IsIndefiniteIntegralOfZero(b)) &&
      gEquivalenceHooks.indefiniteZeroIntegralsDiffer(a))
    return false;
  return EquivSlots(a, b);
}

bool EquivMatrix(Handle a, Handle b) {
  return MatrixRows(a) == MatrixRows(b) && MatrixCols(a) == MatrixCols(b) && EquivSlots(a, b);
}

// An unknown equals nothing, not even another unknown, unless asked to.
bool EquivQuestion(Handle, Handle) {
  return gSwitches.questionMarks;
}

bool EquivInteger(Handle a, Handle b) {
  return IntegerValue(a) == IntegerValue(b);
}

bool EquivName(Handle a, Handle b) {
  return DeclOfName(a) == DeclOfName(b);
}

bool EquivWildcard(Handle a, Handle b) {
  return WildcardKind(a) == WildcardKind(b);
}

bool EquivSpelling(Handle a, Handle b) {
  return std::strncmp(ObjText(a), ObjText(b), kTextFieldSize) == 0;
}

bool EquivReal(Handle a, Handle b) {
  double x = RealValue(a);
  double y = RealValue(b);
  if (x == 0.0 && y == 0.0) return true;  // also +0 against -0
  return std::fabs((y - x) / (x + y)) < kNumericTolerance;
}

EquivFn EquivEntryFor(TypeCode code) {
  switch (code) {
    case kSum:
    case kProduct:
      return &EquivOperands;
    case kIntegral:
      return &EquivIntegral;
    case kMatrix:
      return &EquivMatrix;
    case kQuestion:
      return &EquivQuestion;
    case kInteger:
      return &EquivInteger;
    case kName:
      return &EquivName;
    case kWildcard:
      return &EquivWildcard;
    case kUndeclaredName:
      return &EquivSpelling;
    case kReal:
      return &EquivReal;
    default:
      break;
  }
  // A number text is always resolved before it is compared: it has no entry.
  if (code == kNumberText) return nullptr;
  uint8_t shape = ShapeBits(code);
  if ((shape & kShapeExpr) != 0 || code == kList) return &EquivSlots;
  return nullptr;
}

// --- Instantiation and replacement ---

void SubstituteInside(Handle obj) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    Handle child = ObjSlot(obj, i);
    if (child == nullptr) continue;
    if (ObjType(child) == kWildcard) {
      if (Handle bound = WildcardBinding(WildcardKind(child))) PutSlot(obj, i, DupObj(bound));
    } else {
      SubstituteInside(child);
    }
  }
}

// Puts the operands of a rest slot in front of (first) or behind the result.
Handle JoinRest(Handle result, const RestBinding& rest, bool first) {
  int k = ObjCount(rest.operands);
  if (ObjType(result) != rest.op) {
    Handle joined = NewObjN(rest.op, k + 1);
    int offset = first ? 0 : 1;
    try {
      for (int i = 0; i < k; ++i)
        if (Handle operand = ObjSlot(rest.operands, i))
          PutSlot(joined, i + offset, DupObj(operand));
    } catch (...) {
      DisposeObj(joined);
      throw;
    }
    PutSlot(joined, first ? k : 0, result);
    return joined;
  }
  int at = first ? 0 : ObjCount(result);
  for (int i = 0; i < k; ++i) {
    Handle operand = ObjSlot(rest.operands, i);
    InsertSlot(result, at + i, operand ? DupObj(operand) : nullptr);
  }
  return result;
}

bool IsInside(Handle obj, Handle root) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (h == root) return true;
  return false;
}

void ReplaceInside(Handle obj, Handle pattern, Handle replacement) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    Handle child = ObjSlot(obj, i);
    if (child == nullptr) continue;
    if (Equivalent(child, pattern))
      PutSlot(obj, i, DupObj(replacement));
    else
      ReplaceInside(child, pattern, replacement);
  }
}

// Owns a temporary object until released.
class Owned {
 public:
  explicit Owned(Handle h = nullptr) : h_(h) {}
  ~Owned() {
    try {
      DisposeObj(h_);
    } catch (...) {
      // Only reached while another failure unwinds; that one is reported.
    }
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Handle get() const { return h_; }
  Handle release() {
    Handle h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(Handle h) {
    DisposeObj(h_);
    h_ = h;
  }

 private:
  Handle h_;
};

}  // namespace

EquivalenceHooks gEquivalenceHooks = kDefaultHooks;

void ResetEquivalenceHooks() {
  gEquivalenceHooks = kDefaultHooks;
}

bool EquivObj(Handle a, Handle b) {
  if (gSwitches.searching > 0 && !match::ChargeWork(1)) return false;
  a = StripParens(a);
  b = StripParens(b);
  if (a == nullptr || b == nullptr) return a == b;
  Resolve(a);
  Resolve(b);
  TypeCode typeB = ObjType(b);
  if (gSwitches.questionMarks && typeB == kQuestion) return true;
  if (gSwitches.pattern && typeB == kWildcard && IsBindableKind(WildcardKind(b)))
    return WildcardRule(a, b);
  TypeCode typeA = ObjType(a);
  if (typeA != typeB) return false;
  if (!IsTypeCode(typeA)) InternalError("UnEquiv");
  NestingLevel level;
  return gEquivTable.Entry(typeA)(a, b);
}

bool Equivalent(Handle a, Handle b) {
  match::SwitchScope scope(false, false, true);
  return EquivObj(a, b);
}

bool EquivalentWithQuestionMarks(Handle a, Handle b) {
  match::SwitchScope scope(false, true, true);
  return EquivObj(a, b);
}

bool MatchPattern(Handle subject, Handle pattern) {
  if (!BindingTableClean()) ClearBindingTable();
  if (Equivalent(subject, pattern)) return true;
  bool matched = false;
  try {
    match::SwitchScope scope(true, false, true);
    matched = EquivObj(subject, pattern);
    match::gLastFigures = {gSwitches.trials, kOrderFreeBudget - std::max(gSwitches.budget, 0),
                           gSwitches.exhausted};
  } catch (...) {
    ClearBindingTable();
    throw;
  }
  if (!matched) ClearBindingTable();
  return matched;
}

Handle InstantiatePattern(Handle templ) {
  if (templ == nullptr) return nullptr;
  Owned result(templ);
  if (ObjType(templ) == kWildcard) {
    if (Handle bound = WildcardBinding(WildcardKind(templ))) result.reset(DupObj(bound));
  } else {
    SubstituteInside(templ);
  }
  for (int which = 0; which < kRestSlots; ++which) {
    const RestBinding& rest = match::gTable.rest[which];
    if (rest.operands == nullptr) continue;
    Handle joined = JoinRest(result.get(), rest, which == 0);
    result.release();
    result.reset(joined);
  }
  return result.release();
}

Handle ApplyRule(Handle subject, Handle from, Handle to) {
  if (!MatchPattern(subject, from)) return nullptr;
  return InstantiatePattern(DupObj(to));
}

Handle ReplaceAll(Handle expr, Handle pattern, Handle replacement) {
  if (expr == nullptr) return nullptr;
  // The pattern or the replacement may lie inside what is being rewritten.
  Owned patternCopy;
  Owned replacementCopy;
  if (IsInside(pattern, expr)) {
    patternCopy.reset(DupObj(pattern));
    pattern = patternCopy.get();
  }
  if (IsInside(replacement, expr)) {
    replacementCopy.reset(DupObj(replacement));
    replacement = replacementCopy.get();
  }
  if (Equivalent(expr, pattern)) {
    Handle copy = DupObj(replacement);
    if (ObjParent(expr) != nullptr)
      ReplaceInParent(expr, copy);
    else
      DisposeObj(expr);
    return copy;
  }
  ReplaceInside(expr, pattern, replacement);
  return expr;
}

bool IsNegatedSum(Handle a, Handle b) {
  a = StripParens(a);
  b = StripParens(b);
  if (a == nullptr || b == nullptr || ObjType(a) != kSum || ObjType(b) != kSum) return false;
  int count = ObjCount(a);
  if (count != ObjCount(b)) return false;
  for (int i = 0; i < count; ++i) {
    Handle termA = StripParens(ObjSlot(a, i));
    Handle termB = StripParens(ObjSlot(b, i));
    bool negA = termA != nullptr && ObjType(termA) == kNegation;
    bool negB = termB != nullptr && ObjType(termB) == kNegation;
    if (negA == negB) return false;
    bool opposite =
        negA ? Equivalent(ObjSlot(termA, 0), termB) : Equivalent(termA, ObjSlot(termB, 0));
    if (!opposite) return false;
  }
  return true;
}

bool WildcardKindAccepts(char kind, Handle obj) {
  obj = StripParens(obj);
  if (obj == nullptr) return false;
  if (kind >= 'a' && kind <= 'h') return IsConstantExpr(obj);
  if (kind >= 'i' && kind <= 'n') return ObjType(obj) == kInteger;
  if (kind >= 'o' && kind <= 'r') return true;
  if (kind >= 's' && kind <= 'z') return match::CommuteClassOf(obj) <= 2 || IsConstantExpr(obj);
  return false;
}

Handle WildcardBinding(char kind) {
  return IsBindableKind(kind) ? match::gTable.letters[kind - 'a'] : nullptr;
}

RestBinding RestSlot(int which) {
  if (which < 0 || which >= kRestSlots) return {};
  return match::gTable.rest[which];
}

bool BindingTableClean() {
  const auto& table = match::gTable;
  if (!table.log.empty()) return false;
  for (const RestBinding& rest : table.rest)
    if (rest.operands != nullptr) return false;
  return true;
}

void ClearBindingTable() {
  match::UnbindTo(0);
  for (RestBinding& rest : match::gTable.rest) {
    Handle operands = rest.operands;
    rest = {};
    DisposeObj(operands);
  }
}

OrderFreeFigures LastOrderFreeFigures() {
  return match::gLastFigures;
}

void RegisterEquivalence() {
#define LEMMABOX_REGISTER_TYPE(name, code, ...) \
  if (EquivFn fn = EquivEntryFor(code)) gEquivTable.Set(code, fn);
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
