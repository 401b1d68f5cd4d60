#include "notebook/working_statements.h"

#include <cstring>
#include <string_view>

#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/alerts.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/stack_check.h"

namespace lemmabox {
namespace {

// The capital delta that writes an increment (Δx).
constexpr char kIncrementSign[] = "\xEB";
constexpr int kMinOrder = 2;
constexpr int kMaxOrder = 250;

Handle Strip(Handle obj) {
  while (obj != nullptr && ObjType(obj) == '(' && ObjCount(obj) >= 1) obj = ObjSlot(obj, 0);
  return obj;
}

Handle Slot(Handle obj, int i) {
  return obj && i < ObjCount(obj) ? Strip(ObjSlot(obj, i)) : nullptr;
}

// The declaration of a user-defined declared name, or null.
Handle UserDecl(Handle obj) {
  obj = Strip(obj);
  if (obj == nullptr || ObjType(obj) != 'v') return nullptr;
  Handle decl = DeclOfName(obj);
  return decl != nullptr && ObjType(decl) == 'V' && IsUserDefinedDecl(decl) ? decl : nullptr;
}

// Subscripts that can index knowledge: integers within +-30000 and
// user-defined names.
bool UsableSubscript(Handle sub) {
  sub = Strip(sub);
  if (sub == nullptr) return false;
  if (ObjType(sub) == '-' && ObjCount(sub) == 1) sub = Slot(sub, 0);
  if (sub != nullptr && ObjType(sub) == 'i') return IntegerValue(sub) <= kMaxSubscriptInteger;
  return UserDecl(sub) != nullptr;
}

// The declaration of a user-defined name, possibly subscripted; null when
// expr is not one.
Handle UserNameDecl(Handle expr) {
  expr = Strip(expr);
  if (expr == nullptr) return nullptr;
  if (ObjType(expr) == '_' && ObjCount(expr) == 2)
    return UsableSubscript(ObjSlot(expr, 1)) ? UserNameDecl(ObjSlot(expr, 0)) : nullptr;
  return UserDecl(expr);
}

bool SpelledAs(Handle name, const char* text) {
  name = Strip(name);
  if (name == nullptr) return false;
  if (ObjType(name) == '\'') return std::strcmp(ObjText(name), text) == 0;
  if (ObjType(name) == 'v' && DeclOfName(name) && ObjType(DeclOfName(name)) == 'V') {
    const char* spelling = DeclNameText(DeclOfName(name));
    return spelling != nullptr && std::strcmp(spelling, text) == 0;
  }
  return false;
}

bool IsDifferentialOperator(Handle name) {
  name = Strip(name);
  if (name == nullptr) return false;
  if (ObjType(name) == 'v') return PredefinedKeyOfName(name) == kKeyDifferential;
  return SpelledAs(name, "d");
}

// The two parts of an operator written before its operand: "Δ x" as a
// product or as an application.
bool OperatorAndOperand(Handle expr, Handle& op, Handle& operand) {
  expr = Strip(expr);
  if (expr == nullptr || ObjCount(expr) != 2) return false;
  if (ObjType(expr) != '*' && ObjType(expr) != ';') return false;
  op = Slot(expr, 0);
  operand = Slot(expr, 1);
  return op != nullptr && operand != nullptr;
}

bool IsZero(Handle expr) {
  expr = Strip(expr);
  if (expr == nullptr) return false;
  if (ObjType(expr) == 'i') return IntegerValue(expr) == 0;
  if (ObjType(expr) == 'r') return RealValue(expr) == 0.0;
  return false;
}

// The integer value of an integer literal, possibly negated.
bool IntegerLiteral(Handle expr, int& value) {
  expr = Strip(expr);
  bool negated = false;
  if (expr != nullptr && ObjType(expr) == '-' && ObjCount(expr) == 1) {
    negated = true;
    expr = Slot(expr, 0);
  }
  if (expr == nullptr || ObjType(expr) != 'i') return false;
  value = negated ? -IntegerValue(expr) : IntegerValue(expr);
  return true;
}

struct Classified {
  MessageNumber message = 0;
  Handle constrained = nullptr;  // the name the statement constrains
  int order = 0;                 // for 'o'
};

Classified ClassifyValue(Handle statement, char kind) {
  if (ObjType(statement) != static_cast<TypeCode>(kind) || ObjCount(statement) != 2)
    return {kMsgBadWorkingStatement};
  Handle left = Slot(statement, 0);
  Handle decl = UserNameDecl(left);
  if (decl == nullptr) return {kMsgBadDefinitionLeftSide};
  if (DeclClass(decl) == kNameFunction) return {kMsgBadLeftSide};
  if (SameName(left, Slot(statement, 1))) return {kMsgSelfDefinition};
  return {0, left};
}

Classified ClassifyFunction(Handle statement) {
  if (ObjType(statement) != '=' || ObjCount(statement) != 2) return {kMsgBadWorkingStatement};
  Handle left = Slot(statement, 0);
  if (left == nullptr || ObjType(left) != ';' || ObjCount(left) != 2)
    return {kMsgBadWorkingStatement};
  Handle args = Slot(left, 1);
  if (args == nullptr) return {kMsgArgumentsNotWildcards};
  int n = 1;
  if (ObjType(args) == 'm') {
    if (MatrixRows(args) != 1) return {kMsgArgumentsNotWildcards};
    n = ObjCount(args);
  } else if (ObjType(args) != '`') {
    return {kMsgArgumentsNotWildcards};
  }
  char kinds[256] = {};
  for (int i = 0; i < n; ++i) {
    Handle arg = ObjType(args) == 'm' ? Slot(args, i) : args;
    if (arg == nullptr || ObjType(arg) != '`') return {kMsgArgumentsNotWildcards};
    auto kind = static_cast<unsigned char>(WildcardKind(arg));
    if (kinds[kind]) return {kMsgArgumentsNotDifferent};
    kinds[kind] = 1;
  }
  Handle function = Slot(left, 0);
  Handle decl = UserNameDecl(function);
  if (decl == nullptr || DeclClass(decl) != kNameFunction) return {kMsgFunctionNameNotFunction};
  return {0, function};
}

Classified ClassifyIncrement(Handle statement) {
  if (ObjType(statement) != '=' || ObjCount(statement) != 2) return {kMsgBadWorkingStatement};
  Handle op = nullptr;
  Handle operand = nullptr;
  if (!OperatorAndOperand(Slot(statement, 0), op, operand)) return {kMsgBadWorkingStatement};
  if (SpelledAs(op, kIncrementSign) && UserNameDecl(operand) != nullptr) return {0, operand};
  if (IsDifferentialOperator(op)) return {kMsgBadIncrementStatement};
  return {kMsgBadWorkingStatement};
}

Classified ClassifyOrder(Handle statement) {
  if (ObjType(statement) != '=' || ObjCount(statement) != 2) return {kMsgBadWorkingStatement};
  Handle left = Slot(statement, 0);
  if (left == nullptr || ObjType(left) != '^' || ObjCount(left) != 2)
    return {kMsgBadWorkingStatement};
  Handle base = Slot(left, 0);
  int order = 0;
  if (UserNameDecl(base) == nullptr || !IntegerLiteral(ObjSlot(left, 1), order))
    return {kMsgBadOrderLeftSide};
  if (!IsZero(ObjSlot(statement, 1))) return {kMsgBadOrderRightSide};
  return {0, base, order};
}

Classified Classify(Handle statement, char kind) {
  switch (kind) {
    case '=':
    case '<':
    case '>':
    case '[':
    case ']':
      return ClassifyValue(statement, kind);
    case 'f':
      return ClassifyFunction(statement);
    case 'd':
      return ClassifyIncrement(statement);
    case 'o':
      return ClassifyOrder(statement);
    default:
      InternalError("RecordDefinition");
  }
}

KnowledgeSlot SlotFor(char kind) {
  switch (kind) {
    case '>':
    case ']':
      return KnowledgeSlot::kLower;
    case '<':
    case '[':
      return KnowledgeSlot::kUpper;
    case 'd':
      return KnowledgeSlot::kIncrement;
    case 'o':
      return KnowledgeSlot::kOrder;
    default:
      return KnowledgeSlot::kDefinition;
  }
}

// Clears every registration of prop in its theory's table.
void ForgetRegistration(Handle prop) {
  Handle theory = KnowledgeTheory(ObjParent(prop));
  if (theory == nullptr) return;
  ForEachKnowledgeEntry(
      KnowledgeTableOf(theory),
      [](KnowledgeEntry& entry, void* p) {
        for (Handle& slot : entry.slots)
          if (slot == static_cast<Handle>(p)) slot = nullptr;
      },
      prop);
}

void SwitchOff(Handle prop) {
  SetWorkingBit(prop, false);
  ForgetRegistration(prop);
  gNotebookCascade.markDependents(prop);
  gNotebookDisplay.redraw(prop);
}

// Stores prop in the slot of the constrained name's entry of theory.
MessageNumber Store(Handle prop, Handle theory, Handle constrained, char kind) {
  return CatchFailure([&] {
    KnowledgeRef ref = GetKnowledgeIn(theory, constrained);
    int s = static_cast<int>(SlotFor(kind));
    Handle old = ref.Entry().slots[s];
    if (IsStatement(old) && old != prop && IsWorkingStatement(old) &&
        KnowledgeTheory(ObjParent(old)) == theory)
      SwitchOff(old);
    KnowledgeEntry& entry = ref.Entry();
    entry.slots[s] = prop;
    if (kind == '>' || kind == '<')
      entry.flags &= (kind == '>') ? ~kLowerInclusive : ~kUpperInclusive;
    if (kind == ']') entry.flags |= kLowerInclusive;
    if (kind == '[') entry.flags |= kUpperInclusive;
  });
}

bool GuessingOn(Handle scope) {
  NotebookRecord* record = NotebookRecordFor(scope);
  return record != nullptr && record->prefs.guessWorkingStmts != 0;
}

// Searches theory's own statements for one that can be registered for the
// name as one of `kinds`; the first that can is switched on.
Handle Guess(Handle theory, Handle nameExpr, std::string_view kinds) {
  for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (prop == nullptr) continue;
    if (IsAssumptionOrConclusion(ObjType(prop)) && StatementRecordOf(prop) &&
        ObjSlot(prop, 0) != nullptr) {
      for (char kind : kinds) {
        if (kind == 'n') continue;
        if (RecordDefinition(prop, nameExpr, kind) == 0) {
          SetWorkingBit(prop, true);
          gNotebookDisplay.redraw(prop);
          return prop;
        }
      }
    } else if (ObjType(prop) == 'N' && kinds.find('n') != std::string_view::npos) {
      if (RecordTable(prop, nameExpr) == 0) {
        SetWorkingBit(prop, true);
        gNotebookDisplay.redraw(prop);
        return prop;
      }
    }
  }
  return nullptr;
}

std::string_view WantedKinds(KnowledgeSlot slot) {
  switch (slot) {
    case KnowledgeSlot::kDefinition:
      return "=fn";
    case KnowledgeSlot::kLower:
      return ">]";
    case KnowledgeSlot::kUpper:
      return "<[";
    case KnowledgeSlot::kIncrement:
      return "d";
    case KnowledgeSlot::kOrder:
      return "o";
    default:
      return "";
  }
}

struct Found {
  Handle statement = nullptr;
  uint8_t flags = 0;
};

Found Find(Handle nameExpr, KnowledgeSlot slot) {
  Handle scope = KnowledgeScopeFor(nameExpr);
  int s = static_cast<int>(slot);
  for (Handle theory = scope; theory != nullptr; theory = ParentTheory(theory)) {
    KnowledgeRef ref = FindKnowledgeIn(theory, nameExpr);
    if (!ref) break;  // declared further in: the theories around know nothing of it
    Handle value = ref.Entry().slots[s];
    if (IsStatement(value)) return {value, ref.Entry().flags};
    if (value != NotLookedUp()) continue;
    Handle guessed = GuessingOn(theory) ? Guess(theory, nameExpr, WantedKinds(slot)) : nullptr;
    if (guessed != nullptr) {
      ref = FindKnowledgeIn(theory, nameExpr);
      return {guessed, ref ? ref.Entry().flags : uint8_t{0}};
    }
    ref.Entry().slots[s] = nullptr;
  }
  return {};
}

// The knowledge a dependence walk may follow: the definition of a
// user-defined name, or nothing for names that cannot have one.
Handle DefinitionToFollow(Handle name) {
  if (UserNameDecl(name) == nullptr) return nullptr;
  return LookupDefinition(name);
}

bool Depends(Handle expr, Handle v) {
  if (expr == nullptr) return false;
  if (StackTooDeep()) RaiseAtObject(kMsgCircularDefinition, expr);
  if (SameName(expr, v)) return true;
  TypeCode type = ObjType(expr);
  if (type == 'v' || type == '_') {
    if (Handle def = DefinitionToFollow(expr)) {
      if (ObjType(def) == 'N') return MentionsName(ObjSlot(def, 0), v);
      Handle statement = ObjSlot(def, 0);
      if (Depends(ObjSlot(statement, 1), v)) return true;
    }
    if (type == 'v') return false;
  }
  if (IsLeafType(type)) return false;
  for (int i = FirstObjSlot(expr); i < ObjCount(expr); ++i)
    if (Depends(ObjSlot(expr, i), v)) return true;
  return false;
}

// The independence declaration of a name (of its base, for a subscripted
// name), or null.
Handle IndependenceOf(Handle name) {
  name = Strip(name);
  while (name != nullptr && ObjType(name) == '_' && ObjCount(name) == 2) name = Slot(name, 0);
  if (UserDecl(name) == nullptr) return nullptr;
  return LookupKnowledge(name, KnowledgeSlot::kIndependence);
}

bool IsOtherPredefined(Handle name) {
  int key = PredefinedKeyOfName(Strip(name));
  return key != 0 && key != kKeyDifferential;
}

}  // namespace

MessageNumber RecordDefinition(Handle prop, Handle requiredName, char kind) {
  if (prop == nullptr || !IsAssumptionOrConclusion(ObjType(prop)) ||
      StatementRecordOf(prop) == nullptr)
    InternalError("RecordDefinition");
  Handle theory = KnowledgeTheory(ObjParent(prop));
  if (theory == nullptr) InternalError("RecordDefinition");
  Handle statement = Strip(ObjSlot(prop, 0));
  if (statement == nullptr) return kMsgBadWorkingStatement;
  Classified c = Classify(statement, kind);
  if (c.message != 0) return c.message;
  if (requiredName != nullptr && !SameName(c.constrained, requiredName))
    return kMsgBadWorkingStatement;
  if (kind == 'o' && (c.order < kMinOrder || c.order > kMaxOrder)) Alert(kMsgBadApproximationOrder);
  return Store(prop, theory, c.constrained, kind);
}

MessageNumber RecordTable(Handle table, Handle requiredName) {
  Handle theory = KnowledgeTheory(ObjParent(table));
  if (theory == nullptr || ObjType(table) != 'N') InternalError("RecordDefinition");
  Handle name = Slot(table, 0);
  Handle constrained = nullptr;
  if (Handle decl = UserNameDecl(name); decl && DeclClass(decl) == kNameFunction) {
    constrained = name;
  } else if (name != nullptr && (ObjType(name) == ';' || ObjType(name) == '*') &&
             ObjCount(name) == 2) {
    Handle base = Slot(name, 0);
    Handle baseDecl = UserNameDecl(base);
    if (baseDecl != nullptr && DeclClass(baseDecl) != kNameFunction) constrained = base;
  }
  if (constrained == nullptr) return kMsgCannotTabulate;
  if (requiredName != nullptr && !SameName(constrained, requiredName))
    return kMsgBadWorkingStatement;
  return Store(table, theory, constrained, '=');
}

void RecordIndependence(Handle decl, bool validate) {
  Handle theory = KnowledgeTheory(ObjParent(decl));
  if (theory == nullptr) return;
  Handle vars = Slot(decl, 0);
  std::vector<Handle> names;
  if (UserDecl(vars) != nullptr) {
    names.push_back(vars);
  } else if (vars != nullptr && ObjType(vars) == 'm' && MatrixRows(vars) == 1) {
    for (int i = 0; i < ObjCount(vars); ++i) {
      if (UserDecl(ObjSlot(vars, i)) == nullptr) {
        names.clear();
        break;
      }
      names.push_back(ObjSlot(vars, i));
    }
  }
  if (names.empty()) {
    if (validate) Alert(kMsgBadIndependenceDeclaration);
    return;
  }
  bool doubled = false;
  for (Handle name : names) {
    CatchFailure([&] {
      KnowledgeRef ref = GetKnowledgeIn(theory, name);
      Handle& slot = ref.Entry().slots[static_cast<int>(KnowledgeSlot::kIndependence)];
      if (slot != nullptr && slot != decl) {
        doubled = true;
        return;
      }
      slot = decl;
    });
  }
  if (doubled && validate) Alert(kMsgDoubleIndependence);
}

bool SetWorkingStatement(Handle prop, bool on, bool check, bool redraw) {
  bool result = true;
  if (!on) {
    if (IsWorkingStatement(prop)) SwitchOff(prop);
  } else if (ObjType(prop) == 'N') {
    MessageNumber message = RecordTable(prop, nullptr);
    SetWorkingBit(prop, message == 0);
    if (message != 0 && check) Alert(message);
    result = message == 0;
  } else {
    SetWorkingBit(prop, true);
    MessageNumber best = 0;
    result = false;
    Handle statement = Strip(ObjSlot(prop, 0));
    if (statement != nullptr && IsRelationType(ObjType(statement))) {
      for (char kind : std::string_view("f<>[]do=")) {
        MessageNumber message = RecordDefinition(prop, nullptr, kind);
        if (message == 0) {
          result = true;
          break;
        }
        if (best == 0 || best == kMsgBadWorkingStatement) best = message;
      }
    }
    if (!result) {
      SetWorkingBit(prop, false);
      if (check) Alert(best != 0 ? best : kMsgBadWorkingStatement);
    }
  }
  if (redraw) gNotebookDisplay.redraw(prop);
  return result;
}

Handle LookupKnowledge(Handle nameExpr, KnowledgeSlot slot) {
  Found found = Find(nameExpr, slot);
  if (found.statement != nullptr) NoteConsulted(found.statement);
  return found.statement;
}

Handle LookupDefinition(Handle nameExpr) {
  Handle def = LookupKnowledge(nameExpr, KnowledgeSlot::kDefinition);
  if (def == nullptr || !IsAssumptionOrConclusion(ObjType(def))) return def;
  if (ObjType(def) == 'C' && ErrorNumber(def) != 0) Raise(ErrorNumber(def));
  Handle statement = Strip(ObjSlot(def, 0));
  if (statement == nullptr || ObjType(statement) != '=' || ObjCount(statement) != 2)
    RaiseAtObject(kMsgNoLongerEquation, def);
  return def;
}

LimitStatement LookupLimit(Handle nameExpr, bool upper) {
  Found found = Find(nameExpr, upper ? KnowledgeSlot::kUpper : KnowledgeSlot::kLower);
  if (found.statement == nullptr) return {};
  NoteConsulted(found.statement);
  return {found.statement, (found.flags & (upper ? kUpperInclusive : kLowerInclusive)) != 0};
}

int ApproximationOrder(Handle nameExpr) {
  Handle prop = LookupKnowledge(nameExpr, KnowledgeSlot::kOrder);
  if (prop == nullptr) return 0;
  Handle statement = Strip(ObjSlot(prop, 0));
  Handle left = Slot(statement, 0);
  int order = 0;
  if (left == nullptr || ObjType(left) != '^' || !IntegerLiteral(ObjSlot(left, 1), order)) return 0;
  return order;
}

bool NamesIndependent(Handle x, Handle v) {
  if (SameName(x, v) || MentionsName(x, v)) return false;
  if (IsOtherPredefined(x) || IsOtherPredefined(v)) return true;
  Handle dx = IndependenceOf(x);
  Handle dv = IndependenceOf(v);
  if (dx != nullptr && IndependencePopup(dx).item == kIndependentOfAllVariables) return true;
  if (dv != nullptr && IndependencePopup(dv).item == kIndependentOfAllVariables) return true;
  return dx != nullptr && dx == dv;
}

bool DependsOn(Handle expr, Handle v) {
  return Depends(expr, v);
}

void RefreshWorkingStatement(Handle prop) {
  if (!IsWorkingStatement(prop) || KnowledgeTheory(ObjParent(prop)) == nullptr) return;
  ForgetRegistration(prop);
  if (ObjType(prop) == 'N') {
    RecheckTable(prop);
    return;
  }
  if (!SetWorkingStatement(prop, true, false, false)) gNotebookCascade.markDependents(prop);
  gNotebookDisplay.redraw(prop);
}

void RecheckTable(Handle table) {
  if (!IsWorkingStatement(table) || KnowledgeTheory(ObjParent(table)) == nullptr) return;
  if (RecordTable(table, nullptr) != 0) {
    SetWorkingBit(table, false);
    ForgetRegistration(table);
    gNotebookDisplay.redraw(table);
  }
}

}  // namespace lemmabox
