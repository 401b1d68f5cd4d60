#include "editor/undo.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/notebook_edits.h"
#include "notebook/propositions.h"
#include "shell/alerts.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

struct Entry : UndoEntry {
  // A deletion registered whose object may still be in its parent: the
  // notebook may register several deletions from one theory before it
  // deletes any of them.
  Handle pending = nullptr;
};

struct Record {
  // Allocated on the first start and never freed.
  std::unique_ptr<Entry[]> entries;
  int count = 0;
  bool hasOwner = false;
  UndoOwner owner = nullptr;
  bool recording = false;
  // A change could not be recorded for lack of room.
  bool lost = false;
  // The last Undo took the entries back; the next one makes them again.
  bool takenBack = false;
};

Record gRecord;

UndoOwner NoWindow() {
  return nullptr;
}
bool NothingHeld(UndoOwner) {
  return false;
}
void NothingFor(UndoOwner) {}
void Nothing() {}
void NotBusy(UndoOwner, bool) {}
void NothingWith(Handle) {}

constexpr UndoHooks kDefaultHooks = {
    .frontWindow = &NoWindow,
    .commentUndoPending = &NothingHeld,
    .commentUndo = &NothingFor,
    .clearCommentSnapshot = &Nothing,
    .endTransientMode = &Nothing,
    .setBusy = &NotBusy,
    .clearSelection = &Nothing,
    .selectRestored = &NothingWith,
    .redisplay = &NothingWith,
    .reportChanged = &NothingWith,
    .updateWindow = &NothingFor,
};

Entry* Entries() {
  return gRecord.entries.get();
}

// --- Saved copies ---

// A declared name as text again: its declaration's spelling, or a question
// mark when the declaration's name is not a plain name.
Handle NameAsText(Handle name) {
  Handle decl = DeclOfName(name);
  const char* text =
      decl != nullptr && ObjType(decl) == kDeclaration ? DeclNameText(decl) : nullptr;
  return text != nullptr ? NewUndeclaredName(text) : NewQuestionMark();
}

// Turns every declared name in obj back into text, in place; returns what
// stands where obj stood (obj itself unless obj was a declared name).
Handle DetachNames(Handle obj) {
  if (ObjType(obj) == kName) {
    Handle text = NameAsText(obj);
    if (ObjParent(obj) != nullptr)
      ReplaceInParent(obj, text);
    else
      DisposeObj(obj);
    return text;
  }
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (Handle child = ObjSlot(obj, i)) DetachNames(child);
  return obj;
}

// --- Entries ---

bool IsWithin(Handle obj, Handle root) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (h == root) return true;
  return false;
}

void DisposeQuietly(Handle h) {
  try {
    DisposeObj(h);
  } catch (...) {
    // Only while another failure unwinds; that one is reported.
  }
}

// Removes the entries for which drop(entry) holds, keeping the order of the
// others, and disposes their saved copies.
template <class Drop>
void RemoveEntries(Drop&& drop) {
  int kept = 0;
  for (int k = 0; k < gRecord.count; ++k) {
    Entry& e = Entries()[k];
    if (drop(e)) {
      DisposeObj(e.saved);
      e = {};
    } else {
      if (kept != k) {
        Entries()[kept] = e;
        e = {};
      }
      ++kept;
    }
  }
  gRecord.count = kept;
}

// Entries inside obj are about to lose their parent: nobody needs them.
void DropInside(Handle obj) {
  RemoveEntries([obj](const UndoEntry& e) { return IsWithin(e.parent, obj); });
}

// The entry that will put back the whole object in slot `current` of parent:
// a save of that slot or the insertion of its object.
int FindWhole(Handle parent, int current) {
  for (int k = 0; k < gRecord.count; ++k) {
    const UndoEntry& e = Entries()[k];
    if (e.parent == parent && e.current == current && e.kind != kUndoDeleted) return k;
  }
  return -1;
}

// Whether an object around parent (or parent itself) will be put back whole,
// so that a change inside it needs no entry of its own.
bool Covered(Handle parent) {
  for (Handle h = parent; h != nullptr; h = ObjParent(h)) {
    Handle up = ObjParent(h);
    if (up != nullptr && FindWhole(up, ObjSlotIndex(h)) >= 0) return true;
  }
  return false;
}

// Slot `index` of parent was inserted (delta +1) or deleted (delta -1): the
// slots after it moved.
void FollowSlots(Handle parent, int index, int delta) {
  for (int k = 0; k < gRecord.count; ++k) {
    Entry& e = Entries()[k];
    if (e.parent != parent || e.current < 0) continue;
    if (delta > 0 && e.current >= index)
      ++e.current;
    else if (delta < 0 && e.current == index)
      e.current = -1;
    else if (delta < 0 && e.current > index)
      --e.current;
  }
}

bool Holds(Handle parent, Handle obj) {
  for (int i = FirstObjSlot(parent); i < ObjCount(parent); ++i)
    if (ObjSlot(parent, i) == obj) return true;
  return false;
}

bool HasEntriesInside(Handle obj) {
  for (int k = 0; k < gRecord.count; ++k)
    if (IsWithin(Entries()[k].parent, obj)) return true;
  return false;
}

// The entries inside obj are taken back on copy (a copy of obj as it is
// now), newest first, and leave the record: copy then holds obj as it was
// before the command touched it.
void FoldInto(Handle obj, Handle copy) {
  std::vector<int> inner;
  std::vector<Handle> targets;
  for (int k = 0; k < gRecord.count; ++k) {
    if (!IsWithin(Entries()[k].parent, obj)) continue;
    inner.push_back(k);
    targets.push_back(CorrespondingObj(obj, Entries()[k].parent, copy));
  }
  for (size_t n = inner.size(); n-- > 0;) {
    Entry& e = Entries()[inner[n]];
    Handle target = targets[n];
    int count = ObjCount(target);
    switch (e.kind) {
      case kUndoReplaced:
        if (e.index >= 0 && e.index < count) {
          PutSlot(target, e.index, e.saved);
          e.saved = nullptr;
        }
        break;
      case kUndoDeleted:
        // A deletion registered but not made yet has nothing to put back.
        if (e.pending != nullptr && Holds(e.parent, e.pending)) break;
        if (e.index >= 0 && e.index <= count) {
          InsertSlot(target, e.index, e.saved);
          e.saved = nullptr;
        }
        break;
      case kUndoInserted:
        if (e.index >= 0 && e.index < count) DeleteSlots(target, e.index, e.index + 1);
        break;
    }
  }
  RemoveEntries([obj](const UndoEntry& e) { return IsWithin(e.parent, obj); });
}

void ResetRecord() {
  for (int k = 0; k < gRecord.count; ++k) {
    DisposeQuietly(Entries()[k].saved);
    Entries()[k] = {};
  }
  gRecord.count = 0;
  gRecord.hasOwner = false;
  gRecord.owner = nullptr;
  gRecord.lost = false;
  gRecord.takenBack = false;
}

// Whether the change about to be made is to be recorded; claims the record
// for the front window.
bool Recording() {
  if (!gRecord.entries) InternalError("UndoSave no reset");
  if (!gRecord.recording) return false;
  UndoOwner front = gUndoHooks.frontWindow();
  if (gRecord.hasOwner && gRecord.owner != front) InternalError("UndoSaveNB");
  gRecord.owner = front;
  gRecord.hasOwner = true;
  return true;
}

Entry MakeEntry(Handle saved, Handle parent, int index, UndoKind kind, int current) {
  Entry entry;
  entry.saved = saved;
  entry.parent = parent;
  entry.index = index;
  entry.kind = kind;
  entry.current = current;
  return entry;
}

void Append(const Entry& entry) {
  if (gRecord.count >= kUndoCapacity) {
    gRecord.lost = true;
    DisposeObj(entry.saved);
    return;
  }
  Entries()[gRecord.count++] = entry;
}

// Registered deletions whose objects have left their parents are put in the
// order of a sequence of single deletions: each parent's, highest index
// first (so every index stays what it was when registered), after every
// entry made before they happened. With `final` (the command is over),
// deletions that never happened are dropped.
void Settle(bool final) {
  for (bool changed = true; changed;) {
    changed = false;
    for (int k = 0; k < gRecord.count && !changed; ++k) {
      if (Entries()[k].pending == nullptr) continue;
      Handle parent = Entries()[k].parent;
      bool waiting = false;
      for (int j = 0; j < gRecord.count && !waiting; ++j) {
        const Entry& e = Entries()[j];
        waiting = e.pending != nullptr && e.parent == parent && Holds(parent, e.pending);
      }
      if (waiting && !final) continue;
      std::vector<Entry> done;
      int kept = 0;
      for (int j = 0; j < gRecord.count; ++j) {
        Entry e = Entries()[j];
        if (e.pending == nullptr || e.parent != parent) {
          Entries()[kept++] = e;
        } else if (Holds(parent, e.pending)) {
          DisposeObj(e.saved);  // registered, but never deleted
        } else {
          e.pending = nullptr;
          done.push_back(e);
        }
      }
      for (int j = kept; j < gRecord.count; ++j) Entries()[j] = {};
      gRecord.count = kept;
      std::sort(done.begin(), done.end(),
                [](const Entry& a, const Entry& b) { return a.index > b.index; });
      for (const Entry& e : done) {
        FollowSlots(parent, e.index, -1);
        Entries()[gRecord.count++] = e;
      }
      changed = true;
    }
  }
}

// Copies obj for an entry with what is recorded inside it taken back, then
// hands the copy to add. A copy that fails leaves no Undo at all for this
// command rather than half of one.
template <class Add>
void RecordCopy(Handle obj, Add&& add) {
  Handle copy = nullptr;
  MessageNumber failure = CatchFailure([&] {
    if (obj != nullptr) {
      copy = UndoCopy(obj);
      FoldInto(obj, copy);
    }
    Handle made = copy;
    copy = nullptr;
    add(made);
  });
  if (failure == 0) return;
  DisposeQuietly(copy);
  ResetRecord();
  gRecord.recording = false;
  Alert(failure);
}

// --- Undo ---

Handle OwningEntry(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (IsPropositionType(ObjType(h))) return h;
  return nullptr;
}

// A proposition whose content changed, unless it is a Conclusion (which
// Undo puts back as derived) or a container (whose propositions speak for
// themselves).
void ReportChange(Handle obj) {
  Handle prop = OwningEntry(obj);
  if (prop == nullptr || ObjType(prop) == kConclusion || IsContainerType(ObjType(prop))) return;
  gUndoHooks.reportChanged(prop);
}

void Restored(Handle obj, Handle parent) {
  if (obj != nullptr) gUndoHooks.selectRestored(obj);
  gUndoHooks.redisplay(obj != nullptr ? obj : parent);
  ReportChange(obj != nullptr ? obj : parent);
}

Handle RootOf(Handle obj) {
  Handle top = obj;
  while (top != nullptr && ObjParent(top) != nullptr) top = ObjParent(top);
  return top;
}

// A proposition (or theory) leaving the notebook: conclusions, knowledge
// and declared names must stop referring to what is in it.
void Forget(Handle leaving) {
  if (!IsPropositionType(ObjType(leaving))) return;
  Handle root = RootOf(leaving);
  if (root == leaving || ObjType(root) != kMainTheory) return;
  Handle props[] = {leaving};
  ForgetPropositions(root, PropositionsWithin(props));
}

void CollectPropositions(Handle obj, std::unordered_set<Handle>& out) {
  if (obj == nullptr || !IsPropositionType(ObjType(obj))) return;
  out.insert(obj);
  if (!IsContainerType(ObjType(obj))) return;
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) CollectPropositions(ObjSlot(obj, i), out);
}

// A conclusion Undo puts back was copied when it left; what it was derived
// from may have left with it and come back as a copy, or be gone. Its
// contingency list keeps only propositions the notebook still holds.
void DropDeadContingencies(Handle restored) {
  if (restored == nullptr || !IsPropositionType(ObjType(restored))) return;
  Handle root = RootOf(restored);
  if (ObjType(root) != kMainTheory) return;
  std::unordered_set<Handle> live, back;
  CollectPropositions(root, live);
  CollectPropositions(restored, back);
  for (Handle prop : back) {
    StatementRecord* record = ObjType(prop) == kConclusion ? StatementRecordOf(prop) : nullptr;
    if (record == nullptr || record->contingencies == nullptr) continue;
    Handle old = record->contingencies;
    bool allLive = true;
    for (int i = 0; i < ContingencyCount(old) && allLive; ++i)
      allLive = live.contains(ContingencyAt(old, i));
    if (allLive) continue;
    Handle kept = NewContingencyList();
    for (int i = 0; i < ContingencyCount(old); ++i)
      if (live.contains(ContingencyAt(old, i))) AddContingency(kept, ContingencyAt(old, i));
    record->contingencies = kept;
    FreeContingencyList(old);
  }
}

void TakeBack(Entry& e) {
  Handle parent = e.parent;
  int index = e.index;
  int count = ObjCount(parent);
  switch (e.kind) {
    case kUndoReplaced: {
      if (index < 0 || index >= count) return;
      if (Handle leaving = ObjSlot(parent, index)) Forget(leaving);
      Handle current = TakeSlot(parent, index);
      Handle back = e.saved;
      e.saved = nullptr;
      PutSlot(parent, index, back);
      e.saved = current != nullptr ? DetachNames(current) : nullptr;
      DropDeadContingencies(back);
      Restored(back, parent);
      break;
    }
    case kUndoDeleted: {
      if (index < 0 || index > count) return;
      Handle back = e.saved;
      e.saved = nullptr;
      InsertSlot(parent, index, back);
      e.kind = kUndoInserted;
      DropDeadContingencies(back);
      Restored(back, parent);
      break;
    }
    case kUndoInserted: {
      if (index < 0 || index >= count) return;
      if (Handle leaving = ObjSlot(parent, index)) Forget(leaving);
      Handle out = TakeSlot(parent, index);
      DeleteSlots(parent, index, index + 1);
      e.saved = out != nullptr ? DetachNames(out) : nullptr;
      e.kind = kUndoDeleted;
      gUndoHooks.redisplay(parent);
      if (!IsContainerType(ObjType(parent))) ReportChange(parent);
      break;
    }
  }
}

// Copying and disposing poll for interruption; Undo must not stop half-way.
class Uninterruptible {
 public:
  Uninterruptible() : saved_(BusyFlag()) { SetBusyFlag(true); }
  ~Uninterruptible() { SetBusyFlag(saved_); }
  Uninterruptible(const Uninterruptible&) = delete;
  Uninterruptible& operator=(const Uninterruptible&) = delete;

 private:
  bool saved_;
};

}  // namespace

UndoHooks gUndoHooks = kDefaultHooks;

void ResetUndoHooks() {
  gUndoHooks = kDefaultHooks;
}

void StartUndoRecord(bool recording) {
  if (!gRecord.entries) gRecord.entries = std::make_unique<Entry[]>(kUndoCapacity);
  ResetRecord();
  gRecord.recording = recording;
  gUndoHooks.clearCommentSnapshot();
}

void StopUndoRecording() {
  if (gRecord.entries && gRecord.recording) Settle(true);
  gRecord.recording = false;
}

bool UndoRecording() {
  return gRecord.entries != nullptr && gRecord.recording;
}

Handle UndoCopy(Handle obj) {
  Handle copy = DupObj(obj);
  try {
    return DetachNames(copy);
  } catch (...) {
    DisposeQuietly(copy);
    throw;
  }
}

void UndoSaveSlot(Handle parent, int index) {
  if (!Recording()) return;
  Settle(false);
  if (parent == nullptr || index < 0 || index >= ObjCount(parent)) return;
  Handle occupant = ObjSlot(parent, index);
  if (FindWhole(parent, index) >= 0 || Covered(parent)) {
    // Undo puts back the whole of what lies around this slot.
    if (occupant != nullptr) DropInside(occupant);
    return;
  }
  bool folds = occupant != nullptr && HasEntriesInside(occupant);
  if (gRecord.count >= kUndoCapacity && !folds) {
    gRecord.lost = true;
    return;
  }
  RecordCopy(occupant,
             [&](Handle copy) { Append(MakeEntry(copy, parent, index, kUndoReplaced, index)); });
}

void UndoSaveObj(Handle obj) {
  if (obj == nullptr || ObjParent(obj) == nullptr) return;
  UndoSaveSlot(ObjParent(obj), ObjSlotIndex(obj));
}

void UndoWiden(Handle obj) {
  UndoSaveObj(obj);
}

void UndoRegisterInsertion(Handle obj) {
  if (!Recording()) return;
  Settle(false);
  Handle parent = ObjParent(obj);
  if (parent == nullptr) return;
  int index = ObjSlotIndex(obj);
  DropInside(obj);
  FollowSlots(parent, index, +1);
  if (Covered(parent)) return;
  Append(MakeEntry(nullptr, parent, index, kUndoInserted, index));
}

void UndoRegisterDeletion(Handle obj) {
  if (!Recording()) return;
  Settle(false);
  Handle parent = ObjParent(obj);
  if (parent == nullptr) return;
  int index = ObjSlotIndex(obj);
  if (Covered(parent)) {
    DropInside(obj);
    FollowSlots(parent, index, -1);
    return;
  }
  if (gRecord.count >= kUndoCapacity && !HasEntriesInside(obj)) {
    gRecord.lost = true;
    FollowSlots(parent, index, -1);
    return;
  }
  RecordCopy(obj, [&](Handle copy) {
    Entry entry = MakeEntry(copy, parent, index, kUndoDeleted, -1);
    entry.pending = obj;
    Append(entry);
  });
}

void UndoCommand() {
  gUndoHooks.endTransientMode();
  UndoOwner front = gUndoHooks.frontWindow();
  if (gUndoHooks.commentUndoPending(front)) {
    gUndoHooks.commentUndo(front);
    return;
  }
  // Undo is a command of its own: nothing it does is recorded.
  StopUndoRecording();
  if (!gRecord.hasOwner || gRecord.owner != front) return;
  if (UndoRecordFull()) Alert(kMsgTooManyChangesToUndo);
  if (gRecord.count == 0) return;
  UndoOwner owner = gRecord.owner;
  gUndoHooks.setBusy(owner, true);
  gUndoHooks.clearSelection();
  std::vector<Handle> roots;
  for (int k = 0; k < gRecord.count; ++k) {
    Handle root = RootOf(Entries()[k].parent);
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
  }
  auto finish = [&] {
    for (Handle root : roots)
      if (root != nullptr && ObjType(root) == kMainTheory) DeclarationPass(root, false);
    gUndoHooks.updateWindow(owner);
    gUndoHooks.clearSelection();
    gUndoHooks.setBusy(owner, false);
  };
  try {
    Uninterruptible whole;
    bool backwards = !gRecord.takenBack;
    for (int n = 0; n < gRecord.count; ++n)
      TakeBack(Entries()[backwards ? gRecord.count - 1 - n : n]);
    gRecord.takenBack = backwards;
  } catch (const Failure&) {
    // What was put back so far stays; the record cannot say what is left.
    ResetRecord();
    finish();
    throw;
  }
  finish();
}

bool UndoTakenBack() {
  return gRecord.takenBack;
}

int UndoEntryCount() {
  return gRecord.count;
}

UndoEntry UndoEntryAt(int i) {
  if (i < 0 || i >= gRecord.count) return {};
  return Entries()[i];
}

bool UndoRecordFull() {
  return gRecord.count >= kUndoCapacity || gRecord.lost;
}

bool UndoHasOwner() {
  return gRecord.hasOwner;
}

UndoOwner UndoRecordOwner() {
  return gRecord.owner;
}

}  // namespace lemmabox
