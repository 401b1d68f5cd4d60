// The knowledge of names: one table per theory, one entry per name number.
//
// A theory's table has an entry for every user-defined name its parent
// theories declare (at the same numbers as in the parent's table) followed by
// one for each user-defined name it declares itself. An entry holds the
// statements that constrain the name in that theory (working statements,
// tables, independence declarations), the name's temporary numeric value
// while the calculation engine has one bound, and a sub-table of entries for
// the name's subscripted forms (x_1, x_k).
//
// Statement slots start out "not looked up yet"; the first look-up searches
// the theories for a statement of the right shape when "Guess Working
// Stmts" is on (notebook/working_statements.h) and remembers the result.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "mathobj/object.h"

namespace lemmabox {

// The statement slots of an entry, in their order.
enum class KnowledgeSlot : int {
  kDefinition = 0,  // '=' and function definitions, tables
  kLower = 1,       // '>' and '>='
  kUpper = 2,       // '<' and '<='
  kIncrement = 3,
  kIndependence = 4,  // the independence declaration naming the name
  kOrder = 5,         // order of approximation
};
constexpr int kKnowledgeSlots = 6;

// Bits of KnowledgeEntry::flags.
constexpr uint8_t kLowerInclusive = 0x01;
constexpr uint8_t kUpperInclusive = 0x02;
constexpr uint8_t kTemporaryBound = 0x04;

// Subscript keys of sub-table entries.
constexpr int32_t kIntegerSubscriptKey = 0x10000;  // plus the integer (within +-30000)
constexpr int32_t kNameSubscriptKey = 0x20000;     // plus the subscript's name number
constexpr int32_t kMaxSubscriptInteger = 30000;

// Element kinds of a temporary value, as on the calculation stack.
constexpr char kValueInteger = '1';
constexpr char kValueReal = '2';
constexpr char kValueComplex = '3';

struct TemporaryValue {
  char kind = 0;  // 0: none
  int32_t integer = 0;
  double re = 0;  // the real value, or the real part
  double im = 0;
  friend bool operator==(const TemporaryValue&, const TemporaryValue&) = default;
};

struct KnowledgeEntry {
  int32_t key;  // the name number, or a subscript key in a sub-table
  uint8_t flags;
  char valueKind;
  Handle declaration;  // the name's declaration (entries of a theory's table)
  Handle subTable;     // entries of the subscripted forms; null until first used
  Handle slots[kKnowledgeSlots];
  union {
    int32_t integer;
    double real;
    double complex[2];
  } value;
};

// The mark of a statement slot that has not been looked up yet.
inline Handle NotLookedUp() {
  return reinterpret_cast<Handle>(~uintptr_t{0});
}
inline bool IsStatement(Handle slot) {
  return slot != nullptr && slot != NotLookedUp();
}

// --- Tables ---

// A table of count entries, each reset.
Handle NewKnowledgeTable(int count);
// Frees a table with its sub-tables; null is ignored.
void FreeKnowledgeTable(Handle table);
int KnowledgeCount(Handle table);
// The entries a theory inherits from its parent come first; this is the first
// of its own.
int KnowledgeFirstOwn(Handle table);
// Valid until the table grows (sub-tables grow when a subscripted form is
// first used); hold a KnowledgeRef across calls instead.
KnowledgeEntry& KnowledgeAt(Handle table, int index);

// The knowledge table of a theory ('M' or 'T'), in its first data slot.
Handle& KnowledgeTableOf(Handle theory);
// The theory whose table answers for a container: the container itself when
// it is a theory, else the nearest theory around it; null when there is none.
Handle KnowledgeTheory(Handle container);
// The nearest theory around a theory, or null for a Main Theory.
Handle ParentTheory(Handle theory);

// Step two of the declaration pass: numbers the user-defined declarations of
// theory and of every theory inside it (outer theories first, in proposition
// order; predefined ones get kNamePredefined) and gives each a new table with
// every entry reset. Internal errors "no par kno" and "AllocKnowledge".
void RebuildKnowledgeTables(Handle theory);
// Makes sure theory has a table, building the notebook's tables when a theory
// was added without one (a copied Case Theory, for instance).
void EnsureKnowledge(Handle theory);

// An entry that survives the growth of its table.
struct KnowledgeRef {
  Handle table = nullptr;
  int index = -1;
  KnowledgeEntry& Entry() const { return KnowledgeAt(table, index); }
  explicit operator bool() const { return table != nullptr; }
};

// --- Look-up scope ---

// The theory whose knowledge answers look-ups until cleared (the manipulation
// driver sets it to the theory of the conclusion being derived). Internal
// error "SetTheoryImmature" when no table can be had for it.
void SetLookupScope(Handle theory);
void ClearLookupScope();
Handle LookupScope();
class LookupScopeGuard {
 public:
  explicit LookupScopeGuard(Handle theory);
  ~LookupScopeGuard();
  LookupScopeGuard(const LookupScopeGuard&) = delete;
  LookupScopeGuard& operator=(const LookupScopeGuard&) = delete;

 private:
  Handle saved_;
};
// The theory whose knowledge answers for obj: the look-up scope when one is
// set, else the theory holding obj (the current notebook's Main Theory for a
// detached object).
Handle KnowledgeScopeFor(Handle obj);

// --- Get-knowledge ---

// The entry of a declared name, or of a subscripted name (x_1, x_k: the base
// name's entry's sub-table), in theory's table. Raises 13181 for an
// undeclared name, 13182 for a declaration that cannot be numbered, 13183 for
// a predefined name or one the theory does not know, 13235 for a subscript
// that is neither a user-defined name nor an integer within +-30000.
// Anything else is the internal error "GVK_NotElement".
KnowledgeRef GetKnowledgeIn(Handle theory, Handle nameExpr);
// The same in the scope that answers for nameExpr.
KnowledgeRef GetKnowledge(Handle nameExpr);
// The same, but no entry (and no failure) when the theory does not know the
// name; still raises for an undeclared name.
KnowledgeRef FindKnowledgeIn(Handle theory, Handle nameExpr);

// The name number of a declaration, numbering the notebook's declarations
// first when it has none yet; kNameNotNumbered for a detached declaration.
int32_t NameNumberOf(Handle decl);

// --- Temporary values ---

// Binds a number to a name in its scope's entry; the calculation engine reads
// it back while evaluating (a summation index, a plot parameter).
void BindTemporaryValue(Handle nameExpr, const TemporaryValue& value);
void ClearTemporaryValue(Handle nameExpr);
// The bound value, or kind 0 when none is bound.
TemporaryValue TemporaryValueOf(Handle nameExpr);
// Binds for as long as it lives, then puts back what was bound before (so
// nested bindings of one name unwind correctly, on failure too).
class TemporaryBinding {
 public:
  TemporaryBinding(Handle nameExpr, const TemporaryValue& value);
  ~TemporaryBinding();
  TemporaryBinding(const TemporaryBinding&) = delete;
  TemporaryBinding& operator=(const TemporaryBinding&) = delete;
  void Set(const TemporaryValue& value);

 private:
  KnowledgeRef Current();
  Handle name_;
  Handle theory_;
  KnowledgeRef ref_;
  uint64_t generation_;
  TemporaryValue saved_;
};

// --- Housekeeping ---

// Every statement slot (and independence slot) of every table in the
// notebook under mainTheory that refers to one of these propositions is reset.
void ForgetStatements(Handle mainTheory, const std::unordered_set<Handle>& gone);
// Calls fn(entry) for every entry, sub-table entries included, of table.
void ForEachKnowledgeEntry(Handle table, void (*fn)(KnowledgeEntry&, void*), void* context);

}  // namespace lemmabox
