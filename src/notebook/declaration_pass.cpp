#include "notebook/declaration_pass.h"

#include <string_view>
#include <vector>

#include "mathobj/encode.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/alerts.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// A pass never starts again more often than this, whatever the answers.
constexpr int kMaxRounds = 16;

bool gPassRunning = false;
bool gRefreshing = false;

class Running {
 public:
  explicit Running(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~Running() { flag_ = saved_; }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

template <class Fn>
void EachTheoryProposition(Handle container, Fn&& fn) {
  if (ObjCount(container) <= FirstProp(container)) return;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    fn(prop);
    if (IsContainerType(ObjType(prop))) EachTheoryProposition(prop, fn);
  }
}

void RegisterStatement(Handle prop, bool validate) {
  TypeCode type = ObjType(prop);
  if (IsAssumptionOrConclusion(type) && IsWorkingStatement(prop)) {
    Handle statement = ObjSlot(prop, 0);
    while (statement != nullptr && ObjType(statement) == '(') statement = ObjSlot(statement, 0);
    bool registered = false;
    if (statement != nullptr && IsRelationType(ObjType(statement))) {
      for (char kind : std::string_view("=<>[]dfo")) {
        if (RecordDefinition(prop, nullptr, kind) == 0) {
          registered = true;
          break;
        }
      }
    }
    if (!registered) {
      SetWorkingBit(prop, false);
      gNotebookDisplay.redraw(prop);
    }
  } else if (type == 'I') {
    RecordIndependence(prop, validate);
  } else if (type == 'N' && IsWorkingStatement(prop)) {
    if (RecordTable(prop, nullptr) != 0) {
      SetWorkingBit(prop, false);
      gNotebookDisplay.redraw(prop);
    }
  }
}

void RegisterStatements(Handle theory, bool validate) {
  EachTheoryProposition(theory, [validate](Handle prop) { RegisterStatement(prop, validate); });
}

void MeasureDeclarations(Handle theory) {
  EachTheoryProposition(theory, [](Handle prop) {
    if (ObjType(prop) == 'V' && !DeclRecord(prop).measured)
      gNotebookDisplay.measureDeclaration(prop);
  });
}

// The slot indices from the root down to obj, for document order.
std::vector<int> PathOf(Handle obj) {
  std::vector<int> path;
  for (Handle h = obj; ObjParent(h) != nullptr; h = ObjParent(h))
    path.insert(path.begin(), ObjSlotIndex(h));
  return path;
}

Handle EarlierOf(Handle a, Handle b) {
  return PathOf(a) <= PathOf(b) ? a : b;
}

// The first doubled declaration and the first badly named one under theory.
void ReportDeclarations(Handle theory) {
  Handle doubled = nullptr;
  Handle bad = nullptr;
  EachTheoryProposition(theory, [&](Handle decl) {
    if (ObjType(decl) != 'V') return;
    const char* text = DeclNameText(decl);
    if (text == nullptr) {
      if (bad == nullptr) bad = decl;
      return;
    }
    if (doubled != nullptr) return;
    Handle own = ObjParent(decl);
    Handle other = VarLookup(own, text);
    if (other == decl && ObjParent(own) != nullptr) other = VarLookup(ObjParent(own), text);
    if (other != nullptr && other != decl) doubled = EarlierOf(other, decl);
  });
  if (doubled != nullptr) {
    gNotebookDisplay.selectOnly(doubled);
    Alert(kMsgDeclaredTwice);
  }
  if (bad != nullptr) {
    gNotebookDisplay.selectOnly(bad);
    Alert(kMsgBadDeclarationName);
  }
}

}  // namespace

void DeclarationPass(Handle theory, bool validate) {
  theory = KnowledgeTheory(theory);
  if (theory == nullptr || gPassRunning) return;
  Running running(gPassRunning);
  NameIndexScope index;
  Handle root = MainTheoryOf(theory);
  NotebookRecord* record = root ? &NotebookRecordOf(root) : nullptr;
  for (int round = 0; round < kMaxRounds; ++round) {
    if (validate) SetAutoDeclare(true);
    RebuildKnowledgeTables(theory);
    MeasureDeclarations(theory);
    if (record != nullptr) record->declarationsChanged = 0;
    if (validate)
      EncodeCommit(theory, true);
    else
      EncodeObj(theory);
    bool declared = record != nullptr && record->declarationsChanged != 0;
    if (!declared) {
      RegisterStatements(theory, validate);
      break;
    }
    // A name was declared meanwhile: the numbering is out of date everywhere.
    theory = root;
  }
  if (record != nullptr) record->declarationsChanged = 0;
  if (validate) ReportDeclarations(theory);
  gNotebookDisplay.relayoutRows(theory);
}

void Clarify(Handle mainTheory) {
  DeclarationPass(mainTheory, true);
}

void RefreshKnowledge(Handle mainTheory) {
  if (mainTheory == nullptr || gRefreshing) return;
  Running running(gRefreshing);
  RebuildKnowledgeTables(mainTheory);
  RegisterStatements(mainTheory, false);
}

void NotebookFollowUp(Handle obj) {
  if (gPassRunning || obj == nullptr) return;
  Handle main = MainTheoryOf(obj);
  if (main == nullptr) return;
  Handle prop = nullptr;
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
    if (IsPropositionType(ObjType(h))) {
      prop = h;
      break;
    }
  }
  TypeCode type = prop ? ObjType(prop) : 0;
  NotebookRecord& record = NotebookRecordOf(main);
  if (record.declarationsChanged || type == 'V' || type == 'I' || type == 'T' || type == 'M') {
    // While a notebook is read, the reader runs the pass once at the end.
    if (EncodeQuiet())
      record.declarationsChanged = 1;
    else
      DeclarationPass(main, true);
    return;
  }
  if (prop != nullptr && IsWorkingStatement(prop)) RefreshWorkingStatement(prop);
}

void PendingEditsPass(Handle mainTheory) {
  NotebookRecord& record = NotebookRecordOf(mainTheory);
  if (!record.pendingEdits) return;
  NameIndexScope index;
  EncodeObj(mainTheory);
  NotebookRecordOf(mainTheory).pendingEdits = 0;
}

}  // namespace lemmabox
