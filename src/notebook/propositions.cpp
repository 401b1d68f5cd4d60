#include "notebook/propositions.h"

#include <bit>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/handles.h"
#include "mathobj/slots.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_record.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

// Where a kind's record begins: right after its slots.
uint8_t* AfterSlots(Handle obj) {
  return ObjPayload(obj) + ObjCount(obj) * sizeof(Handle);
}

// Whether the block holds `slots` slots and a record of `bytes` after them.
bool HasRecord(Handle obj, int slots, size_t bytes) {
  return ObjCount(obj) == slots &&
         ObjHandleSize(obj) >= kObjHeaderSize + slots * sizeof(Handle) + bytes;
}

template <class Record>
Record& RecordAfterSlots(Handle obj) {
  return *reinterpret_cast<Record*>(AfterSlots(obj));
}

// A new object of `type` with `slots` empty slots and a zeroed record.
Handle NewWithRecord(TypeCode type, int slots, size_t recordBytes) {
  Handle obj = NewObj(type, slots * sizeof(Handle) + recordBytes);
  Hdr(obj).count = slots;
  return obj;
}

constexpr uint64_t kUndefinedBits = 0x7FFFFFFFFFFFFFFFull;

}  // namespace

// --- Assumptions and conclusions ---

StatementRecord* StatementRecordOf(Handle prop) {
  if (prop == nullptr || !IsAssumptionOrConclusion(ObjType(prop))) return nullptr;
  if (!HasRecord(prop, 1, sizeof(StatementRecord))) return nullptr;
  return &RecordAfterSlots<StatementRecord>(prop);
}

StatementRecord& StmtRecord(Handle prop) {
  StatementRecord* record = StatementRecordOf(prop);
  if (record == nullptr) InternalError("StatementRecord");
  return *record;
}

Handle StatementOf(Handle prop) {
  StmtRecord(prop);
  return ObjSlot(prop, 0);
}

Handle NewAssumption(Handle statement) {
  Handle prop = NewWithRecord('A', 1, sizeof(StatementRecord));
  PutSlot(prop, 0, statement ? statement : NewQuestionMark());
  return prop;
}

bool IsWorkingStatement(Handle prop) {
  if (ObjType(prop) == 'N') return (TableRec(prop).flags & kTableWorking) != 0;
  StatementRecord* record = StatementRecordOf(prop);
  return record != nullptr && (record->state & kStateWorking) != 0;
}

void SetWorkingBit(Handle prop, bool on) {
  if (ObjType(prop) == 'N') {
    TableRecord& table = TableRec(prop);
    table.flags = on ? (table.flags | kTableWorking) : (table.flags & ~kTableWorking);
    return;
  }
  StatementRecord& record = StmtRecord(prop);
  record.state = on ? (record.state | kStateWorking) : (record.state & ~kStateWorking);
}

bool IsStale(Handle prop) {
  StatementRecord* record = StatementRecordOf(prop);
  return record != nullptr && (record->state & kStateStale) != 0;
}

void SetStale(Handle prop, bool stale) {
  StatementRecord& record = StmtRecord(prop);
  record.state = stale ? (record.state | kStateStale) : (record.state & ~kStateStale);
}

int32_t ErrorNumber(Handle prop) {
  StatementRecord* record = StatementRecordOf(prop);
  return record ? record->error : 0;
}

void SetErrorNumber(Handle prop, int32_t error) {
  StmtRecord(prop).error = error;
}

// --- Name declarations ---

Handle NewNameDecl(Handle name, NameClass nameClass) {
  Handle decl = NewWithRecord('V', 1, sizeof(DeclarationRecord));
  DeclarationRecord& record = DeclRecord(decl);
  record.nameNumber = kNameNotNumbered;
  record.classPopup = Popup{kPopupClass, static_cast<uint16_t>(nameClass)};
  record.behaviourPopup = Popup{kPopupBehavior, kBehaviourDefinedByUser};
  PutSlot(decl, 0, name ? name : NewQuestionMark());
  return decl;
}

DeclarationRecord* DeclRecordOf(Handle decl) {
  if (decl == nullptr || ObjType(decl) != 'V' || !HasRecord(decl, 1, sizeof(DeclarationRecord)))
    return nullptr;
  return &RecordAfterSlots<DeclarationRecord>(decl);
}

DeclarationRecord& DeclRecord(Handle decl) {
  DeclarationRecord* record = DeclRecordOf(decl);
  if (record == nullptr) InternalError("DeclRecord");
  return *record;
}

NameClass DeclClass(Handle decl) {
  return static_cast<NameClass>(DeclRecord(decl).classPopup.item);
}

void SetDeclClass(Handle decl, NameClass nameClass) {
  DeclRecord(decl).classPopup.item = static_cast<uint16_t>(nameClass);
}

int DeclBehaviour(Handle decl) {
  return DeclRecord(decl).behaviourPopup.item;
}

void SetDeclBehaviour(Handle decl, int item) {
  DeclRecord(decl).behaviourPopup.item =
      static_cast<uint16_t>(IsBehaviourItem(item) ? item : kBehaviourDefinedByUser);
}

int DeclKey(Handle decl) {
  return BehaviourKey(DeclBehaviour(decl));
}

bool IsUserDefinedDecl(Handle decl) {
  return DeclKey(decl) == 0;
}

Handle DeclNameObj(Handle decl) {
  Handle name = ObjCount(decl) >= 1 ? ObjSlot(decl, 0) : nullptr;
  while (name != nullptr && (ObjType(name) == '(' || ObjType(name) == ';') && ObjCount(name) >= 1)
    name = ObjSlot(name, 0);
  return name;
}

const char* DeclNameText(Handle decl) {
  Handle name = DeclNameObj(decl);
  if (name == nullptr || ObjType(name) != '\'' || ObjText(name)[0] == '\0') return nullptr;
  return ObjText(name);
}

// --- Independence declarations and rules ---

Handle NewIndependenceDecl(Handle variables, int item) {
  Handle decl = NewWithRecord('I', 1, sizeof(Popup));
  IndependencePopup(decl) = Popup{kPopupIndependence, static_cast<uint16_t>(item)};
  PutSlot(decl, 0, variables ? variables : NewQuestionMark());
  return decl;
}

Popup& IndependencePopup(Handle decl) {
  if (ObjType(decl) != 'I' || !HasRecord(decl, 1, sizeof(Popup)))
    InternalError("IndependenceRecord");
  return RecordAfterSlots<Popup>(decl);
}

Handle NewTransformRule(Handle pattern, Handle replacement, int item) {
  Handle rule = NewWithRecord('H', 2, sizeof(Popup));
  RulePopup(rule) = Popup{kPopupRule, static_cast<uint16_t>(item)};
  PutSlot(rule, 0, pattern ? pattern : NewQuestionMark());
  PutSlot(rule, 1, replacement ? replacement : NewQuestionMark());
  return rule;
}

Popup& RulePopup(Handle rule) {
  if (ObjType(rule) != 'H' || !HasRecord(rule, 2, sizeof(Popup))) InternalError("RuleRecord");
  return RecordAfterSlots<Popup>(rule);
}

// --- Tables ---

Handle NewTable(int kind, bool complex, int n) {
  if (n < 0) InternalError("NewTable");
  size_t valueBytes = static_cast<size_t>(n) * sizeof(double) * (complex ? 2 : 1);
  Handle table = NewWithRecord('N', 2, sizeof(TableRecord) + valueBytes);
  TableRecord& record = TableRec(table);
  record.first = 0;
  record.second = -1;
  record.flags = complex ? kTableComplex : 0;
  record.kind = static_cast<uint8_t>(kind);
  record.capacity = n;
  record.count = n;
  double* values = TableValues(table);
  for (size_t i = 0; i < valueBytes / sizeof(double); ++i)
    values[i] = std::bit_cast<double>(kUndefinedBits);
  PutSlot(table, 0, NewQuestionMark());
  PutSlot(table, 1, NewZero());
  return table;
}

TableRecord& TableRec(Handle table) {
  if (table == nullptr || ObjType(table) != 'N' || !HasRecord(table, 2, sizeof(TableRecord)))
    InternalError("TableRecord");
  return RecordAfterSlots<TableRecord>(table);
}

double* TableValues(Handle table) {
  return reinterpret_cast<double*>(AfterSlots(table) + sizeof(TableRecord));
}

// --- Other kinds ---

Handle NewPageBreak() {
  return NewObj('B', 0);
}

Handle NewCaseTheory() {
  Handle theory = NewObjN('T', 1);
  DataSlot(theory, 0) = reinterpret_cast<SlotWord>(NewKnowledgeTable(0));
  return theory;
}

Handle NewMainTheory() {
  Handle theory = NewObjN('M', 2);
  DataSlot(theory, 0) = reinterpret_cast<SlotWord>(NewKnowledgeTable(0));
  GiveNotebookRecord(theory);
  return theory;
}

int FirstProp(Handle container) {
  switch (container ? ObjType(container) : 0) {
    case 'M':
      return 2;
    case 'T':
      return 1;
    case 'G':
      return 68;
    case 'Z':
      return 92;
    default:
      InternalError("FirstProp");
  }
}

}  // namespace lemmabox
