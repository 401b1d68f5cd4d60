// The propositions of a notebook: the kinds, their records and constructors.
//
// A proposition is a math object whose type code is an upper-case letter; its
// `aux` byte is its indentation (255: it continues the row before it). The
// kinds that carry more than their sub-objects keep a record right after
// their slots:
//   'A', 'C'  slot 0 the statement, then a StatementRecord
//   'V'       slot 0 the declared name, then a DeclarationRecord
//   'I'       slot 0 the variable or a row of variables, then a Popup
//   'H'       slot 0 the pattern, slot 1 the replacement, then a Popup
//   'N'       slot 0 the tabulated name, slot 1 an auxiliary expression, then
//             a TableRecord and its values
// 'M' and 'T' are theories: data slot 0 holds the knowledge table, the Main
// Theory's data slot 1 the notebook record; their propositions follow.
#pragma once

#include <cstdint>

#include "mathobj/object.h"
#include "mathobj/predefined.h"
#include "notebook/popups.h"

namespace lemmabox {

// --- Kinds ---

inline bool IsAssumptionOrConclusion(TypeCode c) {
  return c == 'A' || c == 'C';
}
inline bool IsGraphType(TypeCode c) {
  return c == 'G' || c == 'Z';
}
inline bool IsTheoryType(TypeCode c) {
  return c == 'M' || c == 'T';
}
inline bool HasContingencies(TypeCode c) {
  return c == 'C' || c == 'G' || c == 'Z';
}

// --- Indentation ---

constexpr uint8_t kInline = 255;
constexpr uint8_t kMaxIndentation = 254;
inline uint8_t Indentation(Handle prop) {
  return Hdr(prop).aux;
}
inline bool IsInline(Handle prop) {
  return Hdr(prop).aux == kInline;
}

// --- Assumptions and conclusions ---

constexpr uint8_t kStateWorking = 0x01;  // a working statement
constexpr uint8_t kStateStale = 0x02;    // must be derived again

struct StatementRecord {
  Handle contingencies;  // counted array of propositions; null for an assumption
  Handle chain;          // the oldest derivation step; null for an assumption
  int32_t error;         // message number of the failure that stopped the last re-derivation
  uint8_t state;
};

// The record of an assumption or conclusion; null for anything else (or for
// an object that was not built with one).
StatementRecord* StatementRecordOf(Handle prop);
// The same, as an internal error "StatementRecord" when there is none.
StatementRecord& StmtRecord(Handle prop);
// The statement (slot 0) of an assumption or conclusion.
Handle StatementOf(Handle prop);

// A new assumption holding statement (a question mark when null); no
// contingencies, no chain, error 0, state bits clear, indentation 0.
Handle NewAssumption(Handle statement);

bool IsWorkingStatement(Handle prop);  // 'A', 'C' and tables
void SetWorkingBit(Handle prop, bool on);
bool IsStale(Handle prop);
void SetStale(Handle prop, bool stale);
int32_t ErrorNumber(Handle prop);
void SetErrorNumber(Handle prop, int32_t error);

// --- Name declarations ---

constexpr int32_t kNameNotNumbered = -9999;
constexpr int32_t kNamePredefined = -1;

struct NameMetrics {
  int32_t width;
  int32_t height;
  int32_t baseline;
};

struct DeclarationRecord {
  int32_t nameNumber;  // index into the knowledge tables; kNameNotNumbered until numbered
  Popup classPopup;
  Popup behaviourPopup;
  NameMetrics metrics[4];  // the name in the four drawing styles; filled by layout
  uint8_t measured;
};

// A declaration of name (which it takes) with the class, behaving as defined
// by the user; not numbered.
Handle NewNameDecl(Handle name, NameClass nameClass);
DeclarationRecord& DeclRecord(Handle decl);  // internal error "DeclRecord" for non-'V'
// The same, or null for anything that is not a declaration built with one.
DeclarationRecord* DeclRecordOf(Handle decl);
NameClass DeclClass(Handle decl);
void SetDeclClass(Handle decl, NameClass nameClass);
// The behaviour item and the predefined key it stands for (0: defined by user).
int DeclBehaviour(Handle decl);
void SetDeclBehaviour(Handle decl, int item);
int DeclKey(Handle decl);
bool IsUserDefinedDecl(Handle decl);
// The declared name with explicit parentheses and function-application
// wrappers taken off; null when there is none.
Handle DeclNameObj(Handle decl);
// The spelling of a declaration whose name is a simple name; null otherwise.
const char* DeclNameText(Handle decl);

// --- Independence declarations and rules ---

Handle NewIndependenceDecl(Handle variables, int item = kIndependentOfEachOther);
Popup& IndependencePopup(Handle decl);
Handle NewTransformRule(Handle pattern, Handle replacement, int item = kRuleTransform);
Popup& RulePopup(Handle rule);

// --- Tables ---

constexpr uint8_t kTableComplex = 0x02;
constexpr uint8_t kTableWorking = 0x04;
constexpr uint8_t kTableChanged = 0x08;

struct TableRecord {
  int32_t first;   // 0 when new
  int32_t second;  // -1 when new
  uint8_t flags;
  uint8_t kind;
  int32_t capacity;  // value slots allocated
  double start;      // point k lies at start + k * step
  double step;
  int32_t count;  // points
};

// A table of n undefined values; name a question mark, auxiliary expression
// the number 0. Internal error "NewTable" for a negative n.
Handle NewTable(int kind, bool complex, int n);
TableRecord& TableRec(Handle table);  // internal error "TableRecord" for non-'N'
// The values: one double per point, two (real, imaginary) for a complex table.
// A value not yet computed is the calculation engine's undefined value (the
// quiet NaN with every bit but the sign set).
double* TableValues(Handle table);

// --- Other kinds ---

Handle NewPageBreak();
// A Case Theory with no propositions and an empty knowledge table.
Handle NewCaseTheory();
// A Main Theory with an empty knowledge table and a notebook record with the
// default settings.
Handle NewMainTheory();

// The index of the first proposition of a container: 2 for 'M', 1 for 'T',
// 68 for 'G', 92 for 'Z'; internal error "FirstProp" for anything else.
int FirstProp(Handle container);

}  // namespace lemmabox
