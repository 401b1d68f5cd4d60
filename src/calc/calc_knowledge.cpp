#include "calc/calc_knowledge.h"

#include <cstdint>

#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "notebook/names.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"

namespace lemmabox {
namespace {

Handle StripParens(Handle h) {
  while (h != nullptr && ObjType(h) == '(' && ObjCount(h) >= 1) h = ObjSlot(h, 0);
  return h;
}

bool IsUserName(Handle h) {
  if (h == nullptr || ObjType(h) != 'v') return false;
  Handle decl = DeclOfName(h);
  return decl != nullptr && ObjType(decl) == 'V' && IsUserDefinedDecl(decl);
}

// A subscript the knowledge table keys: an integer within +-30000 or a
// user-defined name.
bool IsKeyedSubscript(Handle sub) {
  sub = StripParens(sub);
  if (sub != nullptr && ObjType(sub) == '-' && ObjCount(sub) == 1) {
    sub = StripParens(ObjSlot(sub, 0));
    return sub != nullptr && ObjType(sub) == 'i' && IntegerValue(sub) <= kMaxSubscriptInteger;
  }
  if (sub == nullptr) return false;
  if (ObjType(sub) == 'i') return IntegerValue(sub) <= kMaxSubscriptInteger;
  return IsUserName(sub);
}

// A name the knowledge table has an entry for: a user-defined name, or one
// with keyed subscripts.
bool IsKnowable(Handle h) {
  h = StripParens(h);
  if (h == nullptr) return false;
  if (ObjType(h) == '_' && ObjCount(h) == 2)
    return IsKnowable(ObjSlot(h, 0)) && IsKeyedSubscript(ObjSlot(h, 1));
  return IsUserName(h);
}

// What earlier look-ups of plain names found: a sampled formula or a summand
// looks up the same few names over and over. An entry is trusted only while
// no object handle has been allocated since it was made (so its object is
// not a new one that reuses the handle, and the knowledge tables have not
// been rebuilt), the scopes that answer for names are the same, and the
// theory's current table still has the name's declaration at that index.
constexpr size_t kMemoSlots = 64;
struct EntryMemo {
  Handle name = nullptr;
  uint64_t allocations = 0;
  Handle lookupScope = nullptr;
  bool detached = false;  // outside every notebook entry: the current scope answers
  Handle currentScope = nullptr;
  Handle theory = nullptr;
  int index = 0;
};
EntryMemo gEntryMemo[kMemoSlots];

size_t MemoSlot(Handle h) {
  return (reinterpret_cast<uintptr_t>(h) >> 3) % kMemoSlots;
}

// The remembered entry of a plain name, when it can still be trusted.
const KnowledgeEntry* RememberedEntry(Handle name) {
  const EntryMemo& m = gEntryMemo[MemoSlot(name)];
  if (m.name != name || m.allocations != ObjHandleAllocations() || m.lookupScope != LookupScope())
    return nullptr;
  if (m.detached && m.currentScope != gObjStoreHooks.currentScope()) return nullptr;
  Handle table = KnowledgeTableOf(m.theory);
  if (table == nullptr || m.index >= KnowledgeCount(table)) return nullptr;
  const KnowledgeEntry& entry = KnowledgeAt(table, m.index);
  return entry.declaration == DeclOfName(name) ? &entry : nullptr;
}

void RememberEntry(Handle name, Handle theory, int index) {
  bool detached = true;
  for (Handle h = name; h != nullptr && detached; h = ObjParent(h))
    detached = !IsPropositionType(ObjType(h));
  gEntryMemo[MemoSlot(name)] = {name,
                                ObjHandleAllocations(),
                                LookupScope(),
                                detached,
                                detached ? gObjStoreHooks.currentScope() : nullptr,
                                theory,
                                index};
}

// The declaration at the bottom of a chain of subscripts.
Handle BaseDeclaration(Handle h) {
  h = StripParens(h);
  while (h != nullptr && ObjType(h) == '_' && ObjCount(h) == 2) h = StripParens(ObjSlot(h, 0));
  return IsUserName(h) ? DeclOfName(h) : nullptr;
}

}  // namespace

int PredefinedKeyOfCalcName(Handle name) {
  if (name == nullptr || ObjType(name) != 'v') return 0;
  Handle decl = DeclOfName(name);
  if (decl == nullptr || ObjType(decl) != 'V') return 0;
  return DeclKey(decl);
}

bool IsVariableName(Handle nameExpr) {
  if (!IsKnowable(nameExpr)) return false;
  Handle decl = BaseDeclaration(nameExpr);
  return decl != nullptr && DeclClass(decl) == kNameVariable;
}

bool IsBindableName(Handle nameExpr) {
  return IsKnowable(nameExpr);
}

bool SameCalcName(Handle a, Handle b) {
  return SameName(a, b);
}

bool ResolveUndeclaredName(Handle name) {
  ResolveName(name);
  return ObjType(name) == 'v';
}

const KnowledgeEntry* BoundEntryOfName(Handle nameExpr) {
  if (!IsKnowable(nameExpr)) return nullptr;
  return BoundEntryOfUserName(StripParens(nameExpr));
}

const KnowledgeEntry* BoundEntryOfUserName(Handle name) {
  const KnowledgeEntry* entry = ObjType(name) == 'v' ? RememberedEntry(name) : nullptr;
  if (entry == nullptr) {
    Handle theory = KnowledgeScopeFor(name);
    KnowledgeRef ref = FindKnowledgeIn(theory, name);
    if (!ref) return nullptr;
    if (ObjType(name) == 'v' && ref.table == KnowledgeTableOf(theory))
      RememberEntry(name, theory, ref.index);
    entry = &ref.Entry();
  }
  return (entry->flags & kTemporaryBound) != 0 ? entry : nullptr;
}

Handle DefinitionOfName(Handle nameExpr) {
  if (!IsKnowable(nameExpr)) return nullptr;
  return LookupDefinition(StripParens(nameExpr));
}

Handle StatementOfDefinition(Handle definition) {
  return StripParens(StatementOf(definition));
}

bool IsTableDefinition(Handle definition) {
  return ObjType(definition) == 'N';
}

bool DeclaredLimit(Handle nameExpr, bool upper, Handle& bound, bool& inclusive) {
  if (!IsKnowable(nameExpr)) return false;
  LimitStatement limit = LookupLimit(StripParens(nameExpr), upper);
  if (limit.statement == nullptr || !IsAssumptionOrConclusion(ObjType(limit.statement)))
    return false;
  Handle relation = StripParens(StatementOf(limit.statement));
  if (relation == nullptr || ObjCount(relation) != 2) return false;
  bound = ObjSlot(relation, 1);
  inclusive = limit.inclusive;
  return bound != nullptr;
}

TemporaryValue TemporaryOfScalar(const NumScalar& value) {
  TemporaryValue t;
  switch (value.kind) {
    case NumKind::kInteger:
      t.kind = kValueInteger;
      t.integer = value.integer;
      break;
    case NumKind::kReal:
      t.kind = kValueReal;
      t.re = value.re;
      break;
    case NumKind::kComplex:
      t.kind = kValueComplex;
      t.re = value.re;
      t.im = value.im;
      break;
  }
  return t;
}

}  // namespace lemmabox
