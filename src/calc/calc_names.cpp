// Names, subscripts and function application.
//
// A name's value is, in this order: the value of a predefined constant (or a
// graph bound); a temporary value the engine bound to it (a summation index,
// the variable of an integral or an Evaluate At, a plot parameter); and, when
// working statements are allowed, its definition: an equation whose right
// side is evaluated, or a table. A user function f(?x) = body is called by
// evaluating its arguments onto the stack and pointing the wildcard slots of
// its parameters at them; the body's wildcards copy those elements, and
// saving the slots around each call makes recursion work.
#include <array>

#include "calc/calc_elements.h"
#include "calc/calc_engine.h"
#include "calc/calc_entries.h"
#include "calc/calc_knowledge.h"
#include "calc/calc_stack.h"
#include "calc/predefined_math.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

int KeyOf(Handle name) {
  return PredefinedKeyOfCalcName(name);
}

bool IsSubscriptableKey(int key) {
  return key == kKeyLog || key == kKeyLn || IsBesselKey(key);
}

// A definition of f(w) or f(w1, ..., wk) whose right side is evaluated with
// the wildcards pointing at the arguments.
struct FunctionDefinition {
  Handle body = nullptr;
  std::array<char, kMaxFunctionArguments> letters{};
  int count = 0;
};

FunctionDefinition ReadFunctionDefinition(Handle statement) {
  if (statement == nullptr || ObjType(statement) != '=' || ObjCount(statement) != 2)
    RaiseAtCalcObj(kMsgNoLongerEquation);
  Handle left = StripCalcParens(ObjSlot(statement, 0));
  if (left == nullptr || ObjType(left) != ';' || ObjCount(left) != 2)
    RaiseAtCalcObj(kMsgCannotEvaluateFunction);
  Handle params = StripCalcParens(ObjSlot(left, 1));
  FunctionDefinition def;
  def.body = ObjSlot(statement, 1);
  auto add = [&](Handle w) {
    w = StripCalcParens(w);
    if (w == nullptr || ObjType(w) != '`') RaiseAtCalcObj(kMsgCannotEvaluateFunction);
    char letter = WildcardKind(w);
    if (letter < 'a' || letter > 'z') RaiseAtCalcObj(kMsgCannotEvaluateFunction);
    if (def.count == kMaxFunctionArguments) RaiseAtCalcObj(kMsgTooManyArguments);
    def.letters[def.count++] = letter;
  };
  if (params != nullptr && ObjType(params) == 'm') {
    for (int i = 0; i < ObjCount(params); ++i) add(ObjSlot(params, i));
  } else {
    add(params);
  }
  return def;
}

// The entries of an argument list: a matrix of one row or one column, or an
// internal list.
bool ArgumentList(Handle arg, int count) {
  if (arg == nullptr) return false;
  if (ObjType(arg) == ',') return ObjCount(arg) == count;
  if (ObjType(arg) != 'm' || ObjCount(arg) != count) return false;
  return MatrixRows(arg) == 1 || MatrixCols(arg) == 1;
}

// Puts the saved wildcard slots back when the call ends, also on failure.
class SlotRestorer {
 public:
  explicit SlotRestorer(const FunctionDefinition& def) : def_(def) {
    for (int i = 0; i < def_.count; ++i) saved_[i] = WildcardSlot(def_.letters[i]);
  }
  ~SlotRestorer() {
    for (int i = def_.count - 1; i >= 0; --i) SetWildcardSlot(def_.letters[i], saved_[i]);
  }
  SlotRestorer(const SlotRestorer&) = delete;
  SlotRestorer& operator=(const SlotRestorer&) = delete;

 private:
  const FunctionDefinition& def_;
  std::array<size_t, kMaxFunctionArguments> saved_{};
};

void CallUserFunction(Handle definition, Handle arg) {
  FunctionDefinition def = ReadFunctionDefinition(StatementOfDefinition(definition));
  // A definition that calls itself without end runs out of calculation
  // space, or out of machine stack first.
  if (CalcRecursionTooDeep()) RaiseAtCalcObj(kMsgCircularDefinition);
  std::array<size_t, kMaxFunctionArguments> positions{};
  if (def.count == 1) {
    CalcObj(arg);
    positions[0] = TopPosition();
  } else {
    Handle list = StripCalcParens(arg);
    if (!ArgumentList(list, def.count)) RaiseAtObject(kMsgWrongArgumentCount, arg);
    // Every argument is evaluated with the caller's wildcards; the slots
    // switch only once all of them are on the stack.
    for (int i = 0; i < def.count; ++i) {
      CalcObj(ObjSlot(list, i));
      positions[i] = TopPosition();
    }
  }
  {
    SlotRestorer restorer(def);
    for (int i = 0; i < def.count; ++i) SetWildcardSlot(def.letters[i], positions[i]);
    CalcObj(def.body);
  }
  // The result slides down over the arguments.
  RemoveElements(1, def.count);
}

// log_b(x), ln_b(x), J_v(x), Y_v(x), I_v(x), K_v(x).
void ApplySubscripted(int key, Handle subscript, Handle arg) {
  if (key == kKeyLog || key == kKeyLn) {
    NumScalar x = CalcScalarOf(arg);
    // The base matters only for a positive or complex argument.
    bool needBase = x.IsComplex() || x.re > 0.0;
    NumScalar base = needBase ? CalcScalarOf(subscript) : NumScalar::Real(1.0);
    PushScalar(LogWithBase(x, base));
    return;
  }
  NumScalar order = CalcScalarOf(subscript);
  NumScalar x = CalcScalarOf(arg);
  PushScalar(ApplyBesselFunction(key, RealOfScalar(order), x));
}

// A bound value as the engine pushes it: a whole real in the 32-bit range
// as an integer, a complex with a zero imaginary part as a real.
void PushBoundValue(const KnowledgeEntry& entry) {
  double re = 0;
  switch (entry.valueKind) {
    case kValueInteger:
      PushInt(entry.value.integer);
      return;
    case kValueReal:
      re = entry.value.real;
      break;
    case kValueComplex:
      if (entry.value.complex[1] != 0.0) {
        PushComplex(entry.value.complex[0], entry.value.complex[1]);
        return;
      }
      re = entry.value.complex[0];
      break;
    default:
      InternalError("PushBoundValue");
  }
  if (re >= -2147483648.0 && re <= 2147483647.0) {
    auto whole = static_cast<int32_t>(re);
    if (whole == re) {
      PushInt(whole);
      return;
    }
  }
  PushReal(re);
}

// The value a name has from the knowledge of the notebook; false when it has
// none. userName: nameExpr is a declared name known to be user-defined.
bool PushKnownValue(Handle nameExpr, bool userName) {
  const KnowledgeEntry* bound =
      userName ? BoundEntryOfUserName(nameExpr) : BoundEntryOfName(nameExpr);
  if (bound != nullptr) {
    PushBoundValue(*bound);
    return true;
  }
  if (!WorkingStatementsAllowed()) return false;
  Handle definition = DefinitionOfName(nameExpr);
  if (definition == nullptr) return false;
  if (IsTableDefinition(definition)) {
    gCalcHooks.pushTableValue(definition, nullptr);
    return true;
  }
  Handle statement = StatementOfDefinition(definition);
  Handle left = StripCalcParens(ObjSlot(statement, 0));
  // A function's definition says nothing about the function standing alone.
  if (left != nullptr && ObjType(left) == ';') RaiseAtCalcObj(kMsgCannotEvaluateFunction);
  // A definition that refers to itself recurses until the machine stack
  // runs short.
  if (CalcRecursionTooDeep()) RaiseAtCalcObj(kMsgCircularDefinition);
  CalcObj(ObjSlot(statement, 1));
  return true;
}

// Subscripting a value: the top is the subscript, the second the value.
void SubscriptElements() {
  NumValue subscript = PopValue();
  int row = 0;
  int col = 0;
  bool pair = false;
  if (const NumScalar* s = std::get_if<NumScalar>(&subscript)) {
    row = IntOfScalar(*s);
  } else {
    const NumMatrix& list = std::get<NumMatrix>(subscript);
    if (list.Size() != 2 || !list.IsVector()) Raise(kMsgBadMatrixSubscript);
    row = IntOfScalar(list.At(0));
    col = IntOfScalar(list.At(1));
    pair = true;
  }
  NumMatrix m = MatrixOfValue(PopValue());
  // Indices count from 1.
  int64_t r = int64_t{row} - 1;
  int64_t c = int64_t{col} - 1;
  auto inside = [](int64_t i, int n) { return i >= 0 && i < n; };
  if (pair) {
    if (inside(r, m.rows) && inside(c, m.cols))
      PushScalar(m.At(static_cast<int>(r), static_cast<int>(c)));
    else
      PushUndefined();
    return;
  }
  if (m.IsVector()) {
    if (inside(r, m.Size()))
      PushScalar(m.At(static_cast<int>(r)));
    else
      PushUndefined();
    return;
  }
  if (!inside(r, m.rows)) {
    PushUndefined();
    return;
  }
  NumMatrix rowOf(1, m.cols, m.kind);
  for (int j = 0; j < m.cols; ++j) rowOf.Set(j, m.At(static_cast<int>(r), j));
  PushMatrix(rowOf);
}

}  // namespace

Handle StripCalcParens(Handle h) {
  while (h != nullptr && ObjType(h) == '(' && ObjCount(h) >= 1) h = ObjSlot(h, 0);
  return h;
}

NumScalar CalcScalarOf(Handle obj) {
  CalcObj(obj);
  if (TopHasDimensions()) RaiseAtObject(kMsgNeedScalar, obj);
  return PopScalar();
}

void CalcDeclaredName(Handle obj) {
  if (int key = KeyOf(obj)) {
    if (IsConstantKey(key)) {
      PushScalar(PredefinedConstant(key));
    } else if (IsGraphBoundKey(key)) {
      PushReal(gCalcHooks.graphBound(key, obj));
    } else {
      RaiseAtCalcObj(kMsgPredefinedMisuse);
    }
    return;
  }
  if (!PushKnownValue(obj, true)) RaiseAtCalcObj(kMsgNoValueForVariable);
}

void CalcUndeclaredName(Handle obj) {
  if (!ResolveUndeclaredName(obj)) RaiseAtCalcObj(kMsgUndeclaredName);
  CalcDeclaredName(obj);
}

void CalcWildcard(Handle obj) {
  size_t position = WildcardSlot(WildcardKind(obj));
  if (position == 0) RaiseAtCalcObj(kMsgNoValueForVariable);
  PushElementCopy(ElementAtPosition(position));
}

void CalcIndex(Handle obj) {
  if (ObjCount(obj) != 2) RaiseAtCalcObj(kMsgBadMatrixSubscript);
  Handle base = StripCalcParens(ObjSlot(obj, 0));
  Handle subscript = ObjSlot(obj, 1);
  // A subscript written after a predefined function's argument: log(x)_2.
  if (base != nullptr && ObjType(base) == ';' && ObjCount(base) == 2) {
    int key = KeyOf(StripCalcParens(ObjSlot(base, 0)));
    if (IsSubscriptableKey(key)) {
      ApplySubscripted(key, subscript, ObjSlot(base, 1));
      return;
    }
  }
  // x_1 or x_k with a value or definition of its own.
  if (PushKnownValue(obj, false)) return;
  // Otherwise an entry or row of the base's value.
  CalcObj(base);
  CalcObj(subscript);
  SubscriptElements();
}

void CalcApply(Handle obj) {
  if (ObjCount(obj) != 2) RaiseAtCalcObj(kMsgCannotEvaluateFunction);
  Handle name = StripCalcParens(ObjSlot(obj, 0));
  Handle arg = ObjSlot(obj, 1);
  if (name == nullptr) RaiseAtCalcObj(kMsgCannotEvaluateFunction);
  if (ObjType(name) == '\'' && !ResolveUndeclaredName(name))
    RaiseAtObject(kMsgUndeclaredName, name);
  int key = KeyOf(name);
  if (key == 0) {
    if (ObjType(name) == '_' && ObjCount(name) == 2) {
      Handle base = StripCalcParens(ObjSlot(name, 0));
      if (base != nullptr && ObjType(base) == '\'' && !ResolveUndeclaredName(base))
        RaiseAtObject(kMsgUndeclaredName, base);
      int baseKey = KeyOf(base);
      if (IsSubscriptableKey(baseKey)) {
        ApplySubscripted(baseKey, ObjSlot(name, 1), arg);
        return;
      }
    }
    if (WorkingStatementsAllowed()) {
      if (Handle definition = DefinitionOfName(name)) {
        if (IsTableDefinition(definition))
          gCalcHooks.pushTableValue(definition, arg);
        else
          CallUserFunction(definition, arg);
        return;
      }
    }
    RaiseAtCalcObj(kMsgCannotEvaluateFunction);
  }
  if (IsListKey(key)) {
    CalcObj(arg);
    PushValue(ApplyListFunction(key, PopValue()));
    return;
  }
  if (!IsOneArgumentKey(key)) RaiseAtCalcObj(kMsgPredefinedMisuse);
  PushScalar(ApplyPredefinedFunction(key, CalcScalarOf(arg)));
}

}  // namespace lemmabox
