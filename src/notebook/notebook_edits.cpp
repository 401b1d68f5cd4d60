#include "notebook/notebook_edits.h"

#include <algorithm>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsAncestor(Handle ancestor, Handle obj) {
  for (Handle h = ObjParent(obj); h != nullptr; h = ObjParent(h))
    if (h == ancestor) return true;
  return false;
}

// The propositions of the objects that lie in a theory, without those inside
// another of them and without the Main Theory.
std::vector<Handle> OutermostPropositions(std::span<const Handle> objects) {
  std::vector<Handle> props = PropositionsOf(objects);
  std::erase_if(props, [](Handle p) { return ObjParent(p) == nullptr; });
  std::vector<Handle> outermost;
  for (Handle p : props) {
    bool inside = std::any_of(props.begin(), props.end(),
                              [p](Handle q) { return q != p && IsAncestor(q, p); });
    if (!inside) outermost.push_back(p);
  }
  return outermost;
}

// When the proposition at i starts a row that others continue, the first of
// those takes over the row (it is about to lose its start).
void HandOverRow(Handle theory, int i, const std::unordered_set<Handle>& leaving) {
  if (IsInline(ObjSlot(theory, i))) return;
  for (int j = i + 1; j < ObjCount(theory) && IsInline(ObjSlot(theory, j)); ++j) {
    Handle follower = ObjSlot(theory, j);
    if (leaving.contains(follower)) continue;
    Hdr(follower).aux = Indentation(ObjSlot(theory, i));
    return;
  }
}

// Takes prop out of its theory, slot and all, telling the change observer.
Handle RemoveProp(Handle prop) {
  Handle theory = ObjParent(prop);
  int i = ObjSlotIndex(prop);
  gNotebookObserver.deleting(prop);
  Handle taken = TakeSlot(theory, i);
  DeleteSlots(theory, i, i + 1);
  return taken;
}

bool AffectsKnowledge(Handle prop) {
  TypeCode type = ObjType(prop);
  return type == 'V' || type == 'I' || IsContainerType(type);
}

void Select(Handle obj) {
  if (obj != nullptr) gNotebookDisplay.selectOnly(obj);
}

Handle FirstOf(std::span<const Handle> selected) {
  return selected.empty() ? nullptr : selected.front();
}

char* BaseText(NotebookPrefs& prefs, ArbitraryKind kind) {
  switch (kind) {
    case ArbitraryKind::kInteger:
      return prefs.integerBase;
    case ArbitraryKind::kVariable:
      return prefs.variableBase;
    default:
      return prefs.constantBase;
  }
}

}  // namespace

std::unordered_set<Handle> PropositionsWithin(std::span<const Handle> props) {
  std::unordered_set<Handle> all;
  for (Handle prop : props) {
    WalkTree(
        prop,
        [&all](Handle h) {
          if (IsPropositionType(ObjType(h))) all.insert(h);
        },
        [](Handle) {});
  }
  return all;
}

void ForgetPropositions(Handle mainTheory, const std::unordered_set<Handle>& gone) {
  if (mainTheory == nullptr || gone.empty()) return;
  std::unordered_set<Handle> decls;
  for (Handle prop : gone)
    if (ObjType(prop) == 'V') decls.insert(prop);
  UnresolveNames(mainTheory, decls);
  CutOffDependents(mainTheory, gone);
  ForgetStatements(mainTheory, gone);
  for (Handle prop : gone) {
    if (ObjType(prop) == 'C') ForgetQueuedConclusion(prop);
    if (prop == ContingencyTarget()) ClearContingencyTarget();
    if (prop == LookupScope()) ClearLookupScope();
  }
}

void DeletePropositions(std::span<const Handle> objects) {
  std::vector<Handle> props = OutermostPropositions(objects);
  if (props.empty()) return;
  for (Handle prop : props) CheckNotLocked(prop);
  // Each proposition with the rows of its outline group.
  std::vector<Handle> units;
  for (Handle prop : props) {
    Handle theory = ObjParent(prop);
    int i = ObjSlotIndex(prop);
    units.push_back(prop);
    if (IsInline(prop)) continue;
    for (int j = NextRow(theory, i); j < OutlineEnd(theory, i); ++j)
      units.push_back(ObjSlot(theory, j));
  }
  std::sort(units.begin(), units.end());
  units.erase(std::unique(units.begin(), units.end()), units.end());
  for (Handle unit : units) CheckNotLocked(unit);

  Handle main = MainTheoryOf(props.front());
  std::unordered_set<Handle> leaving(units.begin(), units.end());
  std::unordered_set<Handle> gone = PropositionsWithin(units);
  bool knowledge = std::any_of(gone.begin(), gone.end(), AffectsKnowledge);
  std::vector<Handle> theories;
  for (Handle unit : units) {
    Handle theory = ObjParent(unit);
    if (std::find(theories.begin(), theories.end(), theory) == theories.end())
      theories.push_back(theory);
    HandOverRow(theory, ObjSlotIndex(unit), leaving);
  }
  for (Handle unit : units) gNotebookObserver.deleting(unit);
  ForgetPropositions(main, gone);
  for (Handle unit : units) {
    Handle theory = ObjParent(unit);
    int i = ObjSlotIndex(unit);
    DeleteSlots(theory, i, i + 1);
  }
  if (main != nullptr && knowledge) DeclarationPass(main, false);
  for (Handle theory : theories) {
    CollapsePass(theory);
    gNotebookDisplay.relayoutRows(theory);
  }
}

Handle InsertPageBreak(std::span<const Handle> selected) {
  Handle pageBreak = NewPageBreak();
  InsertAfter(pageBreak, nullptr, FirstOf(selected));
  return pageBreak;
}

Handle InsertCaseTheory(std::span<const Handle> selected) {
  std::vector<Handle> props = OutermostPropositions(selected);
  Handle theory = NewCaseTheory();
  if (props.empty()) {
    Handle main = CurrentNotebook();
    if (main == nullptr) {
      DisposeObj(theory);
      Raise(kMsgCorruptData);
    }
    Handle assumption = NewAssumption(nullptr);
    InsertSlot(theory, FirstProp(theory), assumption);
    InsertProp(theory, main, ObjCount(main), 0);
    DeclarationPass(main, false);
    Select(StatementOf(assumption));
    return theory;
  }
  for (Handle p : props) {
    for (Handle q : props) {
      Handle a = ObjParent(p);
      Handle b = ObjParent(q);
      if (a != b && !IsAncestor(a, b) && !IsAncestor(b, a)) {
        DisposeObj(theory);
        Raise(kMsgSelectionsFromDifferentTheories);
      }
    }
  }
  for (Handle p : props) CheckNotLocked(p);
  Handle first = props.front();
  Handle receiver = ObjParent(first);
  int base = 255;
  for (Handle p : props)
    if (!IsInline(p)) base = std::min(base, static_cast<int>(Indentation(p)));
  if (base == 255) base = 0;
  InsertProp(theory, receiver, ObjSlotIndex(first), RowIndentation(receiver, ObjSlotIndex(first)));
  std::unordered_set<Handle> leaving(props.begin(), props.end());
  for (Handle p : props) {
    HandOverRow(ObjParent(p), ObjSlotIndex(p), leaving);
    int indentation = IsInline(p) ? kInline : Indentation(p) - base;
    Handle moved = RemoveProp(p);
    InsertProp(moved, theory, ObjCount(theory), indentation);
  }
  DeclarationPass(receiver, false);
  Select(theory);
  return theory;
}

std::vector<Handle> InsertTransformRules(std::span<const Handle> selected) {
  std::vector<Handle> rules;
  for (Handle prop : PropositionsOf(selected)) {
    if (!IsAssumptionOrConclusion(ObjType(prop)) || StatementRecordOf(prop) == nullptr ||
        ObjParent(prop) == nullptr)
      continue;
    Handle statement = StatementOf(prop);
    while (statement != nullptr && ObjType(statement) == '(') statement = ObjSlot(statement, 0);
    Handle rule = nullptr;
    if (statement != nullptr && ObjType(statement) == '=' && ObjCount(statement) == 2)
      rule = NewTransformRule(ObjSlot(statement, 0) ? DupObj(ObjSlot(statement, 0)) : nullptr,
                              ObjSlot(statement, 1) ? DupObj(ObjSlot(statement, 1)) : nullptr);
    else
      rule = NewTransformRule(nullptr, nullptr);
    InsertAfter(rule, prop);
    rules.push_back(rule);
  }
  if (rules.empty()) {
    Handle rule = NewTransformRule(nullptr, nullptr);
    InsertAfter(rule, nullptr, FirstOf(selected));
    rules.push_back(rule);
  }
  Select(rules.front());
  return rules;
}

Handle InsertNameDecl(std::span<const Handle> selected) {
  Handle decl = NewNameDecl(nullptr, kNameVariable);
  InsertAfter(decl, nullptr, FirstOf(selected));
  Select(ObjSlot(decl, 0));
  return decl;
}

Handle InsertIndependenceDecl(std::span<const Handle> selected) {
  Handle decl = NewIndependenceDecl(nullptr, kIndependentOfEachOther);
  InsertAfter(decl, nullptr, FirstOf(selected));
  Select(ObjSlot(decl, 0));
  return decl;
}

void MakeWorkingStatements(std::span<const Handle> selected) {
  for (Handle prop : PropositionsOf(selected)) {
    TypeCode type = ObjType(prop);
    if (!(IsAssumptionOrConclusion(type) && StatementRecordOf(prop)) && type != 'N') continue;
    if (ObjParent(prop) == nullptr) continue;
    CheckNotLocked(prop);
    SetWorkingStatement(prop, true, true, true);
  }
}

void StopWorkingStatements(std::span<const Handle> selected) {
  for (Handle prop : PropositionsOf(selected)) {
    TypeCode type = ObjType(prop);
    if (!(IsAssumptionOrConclusion(type) && StatementRecordOf(prop)) && type != 'N') continue;
    CheckNotLocked(prop);
    SetWorkingStatement(prop, false, false, true);
  }
}

Handle NewArbitraryName(Handle near, ArbitraryKind kind) {
  Handle main = near ? MainTheoryOf(near) : nullptr;
  if (main == nullptr) main = CurrentNotebook();
  if (main == nullptr) Raise(kMsgNoArbitraryConstantDeclaration);
  NotebookPrefs& prefs = NotebookRecordOf(main).prefs;
  Handle name = NewUndeclaredName(BaseText(prefs, kind));
  int32_t serial = prefs.arbitrarySerial;
  prefs.arbitrarySerial = (serial + 1) % kArbitrarySerialLimit;
  Handle scope = near ? KnowledgeTheory(OwningScope(near)) : main;
  if (Handle decl = VarLookup(scope ? scope : main, ObjText(name))) MakeDeclaredName(name, decl);
  MarkNotebookChanged(main);
  return NewIndex(name, NewInteger(serial));
}

void SetArbitraryBase(Handle mainTheory, ArbitraryKind kind, const char* text) {
  char* base = BaseText(NotebookRecordOf(mainTheory).prefs, kind);
  std::memset(base, 0, kBaseTextBytes);
  std::strncpy(base, text ? text : "", kBaseTextBytes - 1);
}

}  // namespace lemmabox
