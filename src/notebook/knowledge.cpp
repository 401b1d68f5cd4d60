#include "notebook/knowledge.h"

#include <cstring>

#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// The block: this header, then the entries. In a theory's table `firstOwn`
// is the first entry of the theory's own declarations; a sub-table keeps
// room for `capacity` entries and doubles it when full.
struct TableHeader {
  int32_t count;
  int32_t firstOwn;
  int32_t capacity;
  int32_t reserved;
};

constexpr int kFirstSubTableCapacity = 4;

TableHeader& Header(Handle table) {
  return *reinterpret_cast<TableHeader*>(*table);
}

KnowledgeEntry* Entries(Handle table) {
  return reinterpret_cast<KnowledgeEntry*>(reinterpret_cast<uint8_t*>(*table) +
                                           sizeof(TableHeader));
}

size_t TableBytes(int capacity) {
  return sizeof(TableHeader) + static_cast<size_t>(capacity) * sizeof(KnowledgeEntry);
}

void ResetEntry(KnowledgeEntry& entry, int32_t key) {
  std::memset(&entry, 0, sizeof entry);
  entry.key = key;
  for (Handle& slot : entry.slots) slot = NotLookedUp();
  entry.slots[static_cast<int>(KnowledgeSlot::kIndependence)] = nullptr;
}

Handle NewTable(int count, int capacity) {
  Handle table = AllocObjHandle(TableBytes(capacity));
  Header(table) = TableHeader{count, 0, capacity, 0};
  for (int i = 0; i < count; ++i) ResetEntry(Entries(table)[i], i);
  return table;
}

Handle gLookupScope = nullptr;
// Counts the tables freed, so that a holder of an entry can tell whether the
// tables were rebuilt since it found the entry.
uint64_t gTablesFreed = 0;

Handle StripParens(Handle obj) {
  while (obj != nullptr && ObjType(obj) == '(' && ObjCount(obj) >= 1) obj = ObjSlot(obj, 0);
  return obj;
}

// The sub-table entry of `key` under base, made on first use.
KnowledgeRef SubEntry(const KnowledgeRef& base, int32_t key) {
  Handle sub = base.Entry().subTable;
  if (sub == nullptr) {
    sub = NewTable(0, kFirstSubTableCapacity);
    base.Entry().subTable = sub;
  }
  TableHeader& header = Header(sub);
  for (int i = 0; i < header.count; ++i)
    if (Entries(sub)[i].key == key) return {sub, i};
  if (header.count == header.capacity) {
    int capacity = header.capacity * 2;
    ResizeObjHandle(sub, TableBytes(capacity));
    Header(sub).capacity = capacity;
  }
  int index = Header(sub).count++;
  ResetEntry(Entries(sub)[index], key);
  return {sub, index};
}

// The key of a subscript, or false when it cannot have one.
bool SubscriptKey(Handle sub, int32_t& key) {
  sub = StripParens(sub);
  if (sub == nullptr) return false;
  bool negated = false;
  if (ObjType(sub) == '-' && ObjCount(sub) == 1) {
    negated = true;
    sub = StripParens(ObjSlot(sub, 0));
    if (sub == nullptr) return false;
  }
  if (ObjType(sub) == 'i') {
    int32_t value = IntegerValue(sub);
    if (value > kMaxSubscriptInteger) return false;
    key = kIntegerSubscriptKey + (negated ? -value : value);
    return true;
  }
  if (negated || ObjType(sub) != 'v') return false;
  int32_t number = NameNumberOf(DeclOfName(sub));
  if (number < 0) return false;
  key = kNameSubscriptKey + number;
  return true;
}

enum class Missing { kRaise, kNone };

KnowledgeRef Lookup(Handle theory, Handle nameExpr, Missing missing) {
  Handle name = StripParens(nameExpr);
  if (name == nullptr) InternalError("GVK_NotElement");
  switch (ObjType(name)) {
    case '\'':
      RaiseAtObject(kMsgNoNameDeclaration, name);
    case 'v': {
      Handle decl = DeclOfName(name);
      int32_t number = NameNumberOf(decl);
      if (number == kNameNotNumbered) RaiseAtObject(kMsgIntermediateVar, name);
      Handle kt = KnowledgeTheory(theory);
      if (number < 0 || kt == nullptr) {
        if (missing == Missing::kNone) return {};
        RaiseAtObject(kMsgPredefinedMisuse, name);
      }
      EnsureKnowledge(kt);
      Handle table = KnowledgeTableOf(kt);
      if (table == nullptr) InternalError("GVK_NoKnowledge");
      if (number >= Header(table).count || Entries(table)[number].declaration != decl) {
        if (missing == Missing::kNone) return {};
        RaiseAtObject(kMsgPredefinedMisuse, name);
      }
      return {table, number};
    }
    case '_': {
      if (ObjCount(name) != 2) InternalError("Bad Subscript");
      KnowledgeRef base = Lookup(theory, ObjSlot(name, 0), missing);
      if (!base) return {};
      int32_t key = 0;
      if (!SubscriptKey(ObjSlot(name, 1), key)) RaiseAtObject(kMsgBadSubscript, name);
      return SubEntry(base, key);
    }
    default:
      InternalError("GVK_NotElement");
  }
}

// The entry of nameExpr in its scope, or none, without ever raising (for
// destructors).
KnowledgeRef QuietLookup(Handle theory, Handle nameExpr) {
  KnowledgeRef ref;
  try {
    ref = Lookup(theory, nameExpr, Missing::kNone);
  } catch (const Failure&) {
    ref = {};
  }
  return ref;
}

void WriteValue(KnowledgeEntry& entry, const TemporaryValue& value) {
  entry.valueKind = value.kind;
  entry.value = {};
  switch (value.kind) {
    case kValueInteger:
      entry.value.integer = value.integer;
      break;
    case kValueReal:
      entry.value.real = value.re;
      break;
    case kValueComplex:
      entry.value.complex[0] = value.re;
      entry.value.complex[1] = value.im;
      break;
    default:
      entry.valueKind = 0;
      break;
  }
  if (entry.valueKind != 0)
    entry.flags |= kTemporaryBound;
  else
    entry.flags &= ~kTemporaryBound;
}

TemporaryValue ReadValue(const KnowledgeEntry& entry) {
  TemporaryValue value;
  if ((entry.flags & kTemporaryBound) == 0) return value;
  value.kind = entry.valueKind;
  switch (entry.valueKind) {
    case kValueInteger:
      value.integer = entry.value.integer;
      break;
    case kValueReal:
      value.re = entry.value.real;
      break;
    case kValueComplex:
      value.re = entry.value.complex[0];
      value.im = entry.value.complex[1];
      break;
    default:
      value.kind = 0;
      break;
  }
  return value;
}

// Numbers the declarations of theory, gives it a new table, then does the same
// for the theories inside it.
void Rebuild(Handle theory);

void RebuildInside(Handle container) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (ObjType(prop) == 'T')
      Rebuild(prop);
    else if (IsGraphType(ObjType(prop)) && ObjCount(prop) > FirstProp(prop))
      RebuildInside(prop);
  }
}

void Rebuild(Handle theory) {
  Handle parent = ParentTheory(theory);
  Handle parentTable = nullptr;
  int inherited = 0;
  if (parent != nullptr) {
    parentTable = KnowledgeTableOf(parent);
    if (parentTable == nullptr) InternalError("no par kno");
    inherited = Header(parentTable).count;
  }
  int own = 0;
  for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (prop != nullptr && ObjType(prop) == 'V' && IsUserDefinedDecl(prop)) ++own;
  }
  Handle table = NewTable(inherited + own, inherited + own);
  Header(table).firstOwn = inherited;
  for (int n = 0; n < inherited; ++n)
    Entries(table)[n].declaration = Entries(parentTable)[n].declaration;
  int next = inherited;
  for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (prop == nullptr || ObjType(prop) != 'V') continue;
    if (!IsUserDefinedDecl(prop)) {
      DeclRecord(prop).nameNumber = kNamePredefined;
      continue;
    }
    if (next >= Header(table).count) InternalError("AllocKnowledge");
    DeclRecord(prop).nameNumber = next;
    Entries(table)[next].declaration = prop;
    ++next;
  }
  if (next != Header(table).count) InternalError("AllocKnowledge");
  Handle& slot = KnowledgeTableOf(theory);
  FreeKnowledgeTable(slot);
  slot = table;
  RebuildInside(theory);
}

void EachEntry(Handle table, void (*fn)(KnowledgeEntry&, void*), void* context) {
  int count = Header(table).count;
  for (int i = 0; i < count; ++i) {
    fn(Entries(table)[i], context);
    if (Handle sub = Entries(table)[i].subTable) EachEntry(sub, fn, context);
  }
}

void ForEachTable(Handle container, void (*fn)(Handle table, void*), void* context) {
  if (IsTheoryType(ObjType(container))) {
    if (Handle table = KnowledgeTableOf(container)) fn(table, context);
  }
  if (!IsContainerType(ObjType(container)) || ObjCount(container) <= FirstProp(container)) return;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop != nullptr && IsContainerType(ObjType(prop))) ForEachTable(prop, fn, context);
  }
}

}  // namespace

// --- Tables ---

Handle NewKnowledgeTable(int count) {
  return NewTable(count, count);
}

void FreeKnowledgeTable(Handle table) {
  if (table == nullptr) return;
  int count = Header(table).count;
  for (int i = 0; i < count; ++i) FreeKnowledgeTable(Entries(table)[i].subTable);
  ReleaseObjHandle(table);
  ++gTablesFreed;
}

int KnowledgeCount(Handle table) {
  return table ? Header(table).count : 0;
}
int KnowledgeFirstOwn(Handle table) {
  return table ? Header(table).firstOwn : 0;
}
KnowledgeEntry& KnowledgeAt(Handle table, int index) {
  return Entries(table)[index];
}

Handle& KnowledgeTableOf(Handle theory) {
  if (theory == nullptr || !IsTheoryType(ObjType(theory)) || ObjCount(theory) < 1)
    InternalError("no knowledge in theory");
  return reinterpret_cast<Handle&>(DataSlot(theory, 0));
}

Handle KnowledgeTheory(Handle container) {
  Handle h = container;
  while (h != nullptr && !IsTheoryType(ObjType(h))) h = ObjParent(h);
  return h;
}

Handle ParentTheory(Handle theory) {
  if (theory == nullptr || ObjType(theory) == 'M') return nullptr;
  return KnowledgeTheory(ObjParent(theory));
}

void RebuildKnowledgeTables(Handle theory) {
  theory = KnowledgeTheory(theory);
  if (theory == nullptr) return;
  Handle parent = ParentTheory(theory);
  if (parent != nullptr && KnowledgeTableOf(parent) == nullptr) {
    // The parent is new too; building it builds this one.
    RebuildKnowledgeTables(parent);
    return;
  }
  Rebuild(theory);
}

void EnsureKnowledge(Handle theory) {
  theory = KnowledgeTheory(theory);
  if (theory == nullptr || KnowledgeTableOf(theory) != nullptr) return;
  if (Handle main = MainTheoryOf(theory))
    RefreshKnowledge(main);
  else
    RebuildKnowledgeTables(theory);
}

// --- Look-up scope ---

void SetLookupScope(Handle theory) {
  Handle kt = KnowledgeTheory(theory);
  if (kt == nullptr) InternalError("SetTheoryImmature");
  EnsureKnowledge(kt);
  if (KnowledgeTableOf(kt) == nullptr) InternalError("SetTheoryImmature");
  gLookupScope = kt;
}

void ClearLookupScope() {
  gLookupScope = nullptr;
}
Handle LookupScope() {
  return gLookupScope;
}

LookupScopeGuard::LookupScopeGuard(Handle theory) : saved_(gLookupScope) {
  SetLookupScope(theory);
}
LookupScopeGuard::~LookupScopeGuard() {
  gLookupScope = saved_;
}

Handle KnowledgeScopeFor(Handle obj) {
  if (gLookupScope != nullptr) return gLookupScope;
  return KnowledgeTheory(obj ? OwningScope(obj) : gObjStoreHooks.currentScope());
}

// --- Get-knowledge ---

KnowledgeRef GetKnowledgeIn(Handle theory, Handle nameExpr) {
  return Lookup(theory, nameExpr, Missing::kRaise);
}

KnowledgeRef GetKnowledge(Handle nameExpr) {
  return GetKnowledgeIn(KnowledgeScopeFor(nameExpr), nameExpr);
}

KnowledgeRef FindKnowledgeIn(Handle theory, Handle nameExpr) {
  return Lookup(theory, nameExpr, Missing::kNone);
}

int32_t NameNumberOf(Handle decl) {
  int32_t number = DeclRecord(decl).nameNumber;
  if (number != kNameNotNumbered) return number;
  // A declaration inserted since the tables were last built.
  if (Handle main = MainTheoryOf(decl)) {
    RefreshKnowledge(main);
    number = DeclRecord(decl).nameNumber;
  }
  return number;
}

// --- Temporary values ---

void BindTemporaryValue(Handle nameExpr, const TemporaryValue& value) {
  WriteValue(GetKnowledge(nameExpr).Entry(), value);
}

void ClearTemporaryValue(Handle nameExpr) {
  WriteValue(GetKnowledge(nameExpr).Entry(), TemporaryValue{});
}

TemporaryValue TemporaryValueOf(Handle nameExpr) {
  return ReadValue(GetKnowledge(nameExpr).Entry());
}

TemporaryBinding::TemporaryBinding(Handle nameExpr, const TemporaryValue& value)
    : name_(nameExpr),
      theory_(KnowledgeScopeFor(nameExpr)),
      ref_(GetKnowledgeIn(theory_, nameExpr)),
      generation_(gTablesFreed),
      saved_(ReadValue(ref_.Entry())) {
  WriteValue(ref_.Entry(), value);
}

KnowledgeRef TemporaryBinding::Current() {
  // The tables may have been rebuilt meanwhile (a declaration numbered while
  // the expression was evaluated): the entry is found again.
  if (generation_ != gTablesFreed) {
    ref_ = QuietLookup(theory_, name_);
    generation_ = gTablesFreed;
  }
  return ref_;
}

TemporaryBinding::~TemporaryBinding() {
  if (KnowledgeRef ref = Current()) WriteValue(ref.Entry(), saved_);
}

void TemporaryBinding::Set(const TemporaryValue& value) {
  if (KnowledgeRef ref = Current()) WriteValue(ref.Entry(), value);
}

// --- Housekeeping ---

void ForEachKnowledgeEntry(Handle table, void (*fn)(KnowledgeEntry&, void*), void* context) {
  if (table != nullptr) EachEntry(table, fn, context);
}

void ForgetStatements(Handle mainTheory, const std::unordered_set<Handle>& gone) {
  if (mainTheory == nullptr || gone.empty()) return;
  ForEachTable(
      mainTheory,
      [](Handle table, void* context) {
        EachEntry(
            table,
            [](KnowledgeEntry& entry, void* c) {
              auto& set = *static_cast<const std::unordered_set<Handle>*>(c);
              for (int s = 0; s < kKnowledgeSlots; ++s) {
                if (!IsStatement(entry.slots[s]) || !set.contains(entry.slots[s])) continue;
                entry.slots[s] =
                    s == static_cast<int>(KnowledgeSlot::kIndependence) ? nullptr : NotLookedUp();
              }
            },
            context);
      },
      const_cast<std::unordered_set<Handle>*>(&gone));
}

}  // namespace lemmabox
