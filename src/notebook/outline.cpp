#include "notebook/outline.h"

#include <algorithm>

#include "mathobj/slots.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

uint8_t AuxAt(Handle theory, int i) {
  return Hdr(ObjSlot(theory, i)).aux;
}

bool StartsRow(Handle theory, int i) {
  Handle prop = ObjSlot(theory, i);
  return prop != nullptr && Hdr(prop).aux != kInline;
}

// The props' row starts, each once, in the order given.
std::vector<Handle> RowsOf(std::span<const Handle> objects) {
  std::vector<Handle> rows;
  for (Handle prop : PropositionsOf(objects)) {
    Handle row = ObjParent(prop) ? StartOfRowProp(prop) : prop;
    if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
  }
  return rows;
}

bool GroupIsEmpty(Handle theory, int i) {
  return IsInline(ObjSlot(theory, i)) || OutlineEnd(theory, i) == NextRow(theory, i);
}

void SetCollapsed(Handle prop, bool collapsed) {
  if (collapsed)
    SetFlag(prop, kFlagCollapsed);
  else
    ClearFlag(prop, kFlagCollapsed | kFlagLocked);
}

// Calls fn for every proposition of container and of the containers in it.
template <class Fn>
void EachProposition(Handle container, Fn&& fn) {
  if (ObjCount(container) <= FirstProp(container)) return;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    fn(container, i, prop);
    if (IsContainerType(ObjType(prop))) EachProposition(prop, fn);
  }
}

void SetAllCollapsed(Handle mainTheory, bool collapsed) {
  EachProposition(mainTheory, [collapsed](Handle theory, int i, Handle prop) {
    if (IsLocked(prop)) return;
    if (collapsed && GroupIsEmpty(theory, i)) return;
    if (HasFlag(prop, kFlagCollapsed) != collapsed) {
      SetCollapsed(prop, collapsed);
      gNotebookDisplay.redraw(prop);
    }
  });
  gNotebookDisplay.relayoutRows(mainTheory);
}

void RefuseLocked(const std::vector<Handle>& rows) {
  for (Handle row : rows)
    if (IsLocked(row)) RaiseAtObject(kMsgLockedProposition, row);
}

void SaveRow(Handle row) {
  if (Handle theory = ObjParent(row)) gNotebookObserver.savingSlot(theory, ObjSlotIndex(row));
}

void Indent(std::span<const Handle> objects, int delta) {
  std::vector<Handle> rows = RowsOf(objects);
  RefuseLocked(rows);
  std::vector<Handle> theories;
  for (Handle row : rows) {
    int level = Indentation(row) + delta;
    if (level < 0 || level > kMaxIndentation || ObjParent(row) == nullptr) continue;
    SaveRow(row);
    Hdr(row).aux = static_cast<uint8_t>(level);
    gNotebookDisplay.redraw(row);
    if (std::find(theories.begin(), theories.end(), ObjParent(row)) == theories.end())
      theories.push_back(ObjParent(row));
  }
  for (Handle theory : theories) {
    CollapsePass(theory);
    gNotebookDisplay.relayoutRows(theory);
  }
}

}  // namespace

// --- Rows ---

int StartOfRowIndex(Handle theory, int i) {
  int first = FirstProp(theory);
  for (int j = i; j >= first; --j)
    if (StartsRow(theory, j)) return j;
  InternalError("StartOfRowProp: All inline.");
}

Handle StartOfRowProp(Handle prop) {
  Handle theory = ObjParent(prop);
  if (theory == nullptr) InternalError("StartOfRowProp: All inline.");
  return ObjSlot(theory, StartOfRowIndex(theory, ObjSlotIndex(prop)));
}

int NextRow(Handle theory, int i) {
  int count = ObjCount(theory);
  int j = i + 1;
  while (j < count && !StartsRow(theory, j)) ++j;
  return j;
}

int RowIndentation(Handle theory, int i) {
  return AuxAt(theory, StartOfRowIndex(theory, i));
}

int OutlineEnd(Handle theory, int i) {
  int level = RowIndentation(theory, i);
  int count = ObjCount(theory);
  int j = NextRow(theory, i);
  while (j < count && AuxAt(theory, j) > level) j = NextRow(theory, j);
  return j;
}

bool IsPropositionShown(Handle prop) {
  for (Handle p = prop; p != nullptr;) {
    Handle theory = ObjParent(p);
    if (theory == nullptr) return true;
    int start = StartOfRowIndex(theory, ObjSlotIndex(p));
    int threshold = AuxAt(theory, start);
    for (int j = start - 1; j >= FirstProp(theory) && threshold > 0; --j) {
      if (!StartsRow(theory, j) || AuxAt(theory, j) >= threshold) continue;
      if (HasFlag(ObjSlot(theory, j), kFlagCollapsed)) return false;
      threshold = AuxAt(theory, j);
    }
    p = IsPropositionType(ObjType(theory)) ? theory : nullptr;
  }
  return true;
}

std::vector<Handle> PropositionsOf(std::span<const Handle> objects) {
  std::vector<Handle> props;
  for (Handle obj : objects) {
    Handle prop = nullptr;
    for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
      if (IsPropositionType(ObjType(h))) {
        prop = h;
        break;
      }
    }
    if (prop != nullptr && std::find(props.begin(), props.end(), prop) == props.end())
      props.push_back(prop);
  }
  return props;
}

// --- Inserting ---

InsertionPoint FindInsertionPoint(Handle anchor, Handle firstSelected) {
  Handle from = anchor ? anchor : firstSelected;
  if (from == nullptr) {
    Handle main = CurrentNotebook();
    if (main == nullptr) Raise(kMsgCorruptData);
    return {main, ObjCount(main), 0};
  }
  std::vector<Handle> props = PropositionsOf(std::span<const Handle>(&from, 1));
  if (props.empty()) Raise(kMsgCorruptData);
  Handle prop = props.front();
  if (IsContainerType(ObjType(prop)) && ObjCount(prop) <= FirstProp(prop))
    return {prop, FirstProp(prop), 0};
  if (ObjType(prop) == 'M') return {prop, ObjCount(prop), 0};
  Handle theory = ObjParent(prop);
  if (theory == nullptr || !IsContainerType(ObjType(theory))) Raise(kMsgCorruptData);
  int i = ObjSlotIndex(prop);
  return {theory, OutlineEnd(theory, i), RowIndentation(theory, i)};
}

void InsertProp(Handle prop, Handle theory, int index, int indentation) {
  if (index <= FirstProp(theory) && indentation == kInline) indentation = 0;
  Hdr(prop).aux = static_cast<uint8_t>(std::clamp(indentation, 0, 255));
  InsertSlot(theory, index, prop);
  if (ObjType(prop) == 'V') {
    ForgetNameIndex(theory);
    if (NotebookRecord* record = NotebookRecordFor(theory)) record->declarationsChanged = 1;
  }
  gNotebookObserver.inserted(prop);
  gNotebookDisplay.relayoutRows(theory);
}

InsertionPoint InsertAfter(Handle prop, Handle anchor, Handle firstSelected, int deeper) {
  InsertionPoint point = FindInsertionPoint(anchor, firstSelected);
  point.indentation = std::min(point.indentation + deeper, static_cast<int>(kMaxIndentation));
  InsertProp(prop, point.theory, point.index, point.indentation);
  return point;
}

void InsertDecl(Handle decl, Handle theory) {
  if (theory == nullptr || !IsTheoryType(ObjType(theory))) InternalError("InsertDecl");
  NotebookRecord* record = NotebookRecordFor(theory);
  if (record == nullptr) InternalError("InsertDecl");
  int index = FirstProp(theory);
  int indentation = 0;
  if (index < ObjCount(theory) && ObjSlot(theory, index) != nullptr &&
      ObjType(ObjSlot(theory, index)) == 'Q') {
    ++index;
    indentation = 1;
  }
  InsertProp(decl, theory, index, indentation);
}

// --- Collapsing, indentation, locking ---

bool CollapsePass(Handle container) {
  bool changed = false;
  if (container == nullptr || !IsContainerType(ObjType(container))) return false;
  EachProposition(container, [&changed](Handle theory, int i, Handle prop) {
    if (HasFlag(prop, kFlagCollapsed) && GroupIsEmpty(theory, i)) {
      SetCollapsed(prop, false);
      gNotebookDisplay.redraw(prop);
      changed = true;
    }
  });
  return changed;
}

void CollapseAll(Handle mainTheory) {
  SetAllCollapsed(mainTheory, true);
}
void ExposeAll(Handle mainTheory) {
  SetAllCollapsed(mainTheory, false);
}

void Collapse(std::span<const Handle> objects) {
  for (Handle row : RowsOf(objects)) {
    Handle theory = ObjParent(row);
    if (theory == nullptr || IsLocked(row) || HasFlag(row, kFlagCollapsed)) continue;
    if (GroupIsEmpty(theory, ObjSlotIndex(row))) continue;
    SaveRow(row);
    SetCollapsed(row, true);
    gNotebookDisplay.redraw(row);
    gNotebookDisplay.relayoutRows(theory);
  }
}

void Expose(std::span<const Handle> objects) {
  std::vector<Handle> rows = RowsOf(objects);
  RefuseLocked(rows);
  for (Handle row : rows) {
    if (!HasFlag(row, kFlagCollapsed)) continue;
    SaveRow(row);
    SetCollapsed(row, false);
    gNotebookDisplay.redraw(row);
    if (Handle theory = ObjParent(row)) gNotebookDisplay.relayoutRows(theory);
  }
}

void IndentLeft(std::span<const Handle> objects) {
  Indent(objects, -1);
}
void IndentRight(std::span<const Handle> objects) {
  Indent(objects, +1);
}

bool LockProposition(std::span<const Handle> objects) {
  std::vector<Handle> props = PropositionsOf(objects);
  if (props.size() != 1 || !HasFlag(props.front(), kFlagCollapsed)) Raise(kMsgLockNeedsCollapsed);
  Handle prop = props.front();
  if (IsLocked(prop)) return true;
  if (!gNotebookDisplay.confirmLock(prop)) return false;
  SaveRow(prop);
  SetFlag(prop, kFlagLocked);
  gNotebookDisplay.redraw(prop);
  return true;
}

bool IsLocked(Handle prop) {
  return HasFlag(prop, kFlagLocked);
}

void CheckNotLocked(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
    if (IsPropositionType(ObjType(h)) && IsLocked(h)) RaiseAtObject(kMsgLockedProposition, h);
  }
}

}  // namespace lemmabox
