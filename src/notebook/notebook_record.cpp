#include "notebook/notebook_record.h"

#include <cstring>
#include <type_traits>
#include <unordered_map>

#include "mathobj/handles.h"
#include "mathobj/object.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

static_assert(std::is_trivially_copyable_v<NotebookRecord>);

// Which Main Theory owns each record. DupObj copies a Main Theory's data
// slots as they are, so a copy first holds the original's record; ownership
// tells the two apart.
std::unordered_map<Handle, Handle>& Owners() {
  static std::unordered_map<Handle, Handle> owners;
  return owners;
}

struct ToDoNode {
  Handle next;
  Handle conclusion;
};

ToDoNode& Node(Handle node) {
  return *reinterpret_cast<ToDoNode*>(*node);
}

NotebookRecord& RecordIn(Handle record) {
  return *reinterpret_cast<NotebookRecord*>(*record);
}

Handle& RecordSlot(Handle mainTheory) {
  return reinterpret_cast<Handle&>(DataSlot(mainTheory, 1));
}

void ReleaseQueue(NotebookRecord& record) {
  Handle node = record.toDoHead;
  record.toDoHead = nullptr;
  while (node != nullptr) {
    Handle next = Node(node).next;
    ReleaseObjHandle(node);
    node = next;
  }
}

Handle NewRecordBlock(const NotebookRecord& contents) {
  Handle record = AllocObjHandle(sizeof(NotebookRecord));
  std::memcpy(static_cast<void*>(*record), &contents, sizeof contents);
  return record;
}

NotebookRecord DefaultRecord() {
  NotebookRecord record{};
  record.prefs = DefaultNotebookPrefs();
  record.style = DefaultNotebookStyle();
  return record;
}

void CopyText(char* to, size_t size, const char* text) {
  std::memset(to, 0, size);
  std::strncpy(to, text, size - 1);
}

}  // namespace

NotebookPrefs DefaultNotebookPrefs() {
  NotebookPrefs prefs{};
  prefs.paletteShown = 1;
  prefs.autoSimplify = 1;
  prefs.autoCasing = 1;
  prefs.fortranish = 0;
  prefs.paletteAutoToggle = 0;
  prefs.alwaysRedraw = 1;
  prefs.showSteps = 1;
  prefs.alwaysReManipulate = 1;
  prefs.autoSave = 0;
  prefs.withBlankSlots = 0;
  prefs.guessWorkingStmts = 1;
  prefs.rippleChangesImmediately = 1;
  prefs.enterKeys = EnterKeyCommands{};
  CopyText(prefs.constantBase, sizeof prefs.constantBase, "C");
  CopyText(prefs.integerBase, sizeof prefs.integerBase, "n");
  CopyText(prefs.variableBase, sizeof prefs.variableBase, "t");
  prefs.arbitrarySerial = 1;
  return prefs;
}

NotebookStyle DefaultNotebookStyle() {
  NotebookStyle style{};
  CopyText(style.fontFamily, sizeof style.fontFamily, "Times");
  // The sizes keep the Notebook Font dialog's proportions for a main size of 12.
  style.mainSize = 12;
  style.smallerSize = 11;
  style.smallestSize = 9;
  style.useItalics = 1;
  style.iconMode = kIconsUnlessPrinting;
  style.significantDigits = 6;
  style.autoCollapse = 1;
  return style;
}

void GiveNotebookRecord(Handle mainTheory) {
  if (mainTheory == nullptr || ObjType(mainTheory) != 'M') InternalError("NotebookRecord");
  Handle record = NewRecordBlock(DefaultRecord());
  RecordSlot(mainTheory) = record;
  Owners()[record] = mainTheory;
}

NotebookRecord& NotebookRecordOf(Handle mainTheory) {
  if (mainTheory == nullptr || ObjType(mainTheory) != 'M' || ObjCount(mainTheory) < 2)
    InternalError("NotebookRecord");
  Handle& slot = RecordSlot(mainTheory);
  auto& owners = Owners();
  auto owner = slot ? owners.find(slot) : owners.end();
  if (owner == owners.end()) {
    // A theory built without a record (or holding one that went away).
    slot = NewRecordBlock(DefaultRecord());
    owners[slot] = mainTheory;
  } else if (owner->second != mainTheory) {
    // A copy made by DupObj: it takes its own copy of the settings, but the
    // queue and the marks stay with the original.
    NotebookRecord contents = RecordIn(slot);
    contents.toDoHead = nullptr;
    std::memset(contents.style.fontSets, 0, sizeof contents.style.fontSets);
    slot = NewRecordBlock(contents);
    owners[slot] = mainTheory;
  }
  return RecordIn(slot);
}

Handle MainTheoryOf(Handle obj) {
  if (obj == nullptr) return nullptr;
  Handle top = obj;
  while (ObjParent(top) != nullptr) top = ObjParent(top);
  return ObjType(top) == 'M' ? top : nullptr;
}

NotebookRecord* NotebookRecordFor(Handle obj) {
  Handle main = MainTheoryOf(obj);
  return main ? &NotebookRecordOf(main) : nullptr;
}

void ReleaseNotebookRecord(Handle mainTheory) {
  if (ObjCount(mainTheory) < 2) return;
  Handle& slot = RecordSlot(mainTheory);
  if (slot == nullptr) return;
  auto& owners = Owners();
  auto owner = owners.find(slot);
  if (owner != owners.end() && owner->second == mainTheory) {
    ReleaseQueue(RecordIn(slot));
    owners.erase(owner);
    ReleaseObjHandle(slot);
  }
  slot = nullptr;
}

void ToDoPush(Handle mainTheory, Handle conclusion) {
  NotebookRecord& record = NotebookRecordOf(mainTheory);
  Handle node = AllocObjHandle(sizeof(ToDoNode));
  Node(node) = ToDoNode{record.toDoHead, conclusion};
  // The allocation cannot move the record: blocks move only when resized.
  record.toDoHead = node;
}

Handle ToDoFront(Handle mainTheory) {
  Handle head = NotebookRecordOf(mainTheory).toDoHead;
  return head ? Node(head).conclusion : nullptr;
}

void ToDoPopFront(Handle mainTheory) {
  NotebookRecord& record = NotebookRecordOf(mainTheory);
  Handle head = record.toDoHead;
  if (head == nullptr) return;
  record.toDoHead = Node(head).next;
  ReleaseObjHandle(head);
}

void ToDoRemove(Handle mainTheory, Handle conclusion) {
  NotebookRecord& record = NotebookRecordOf(mainTheory);
  Handle* link = &record.toDoHead;
  while (*link != nullptr) {
    Handle node = *link;
    if (Node(node).conclusion == conclusion) {
      *link = Node(node).next;
      ReleaseObjHandle(node);
    } else {
      link = &Node(node).next;
    }
  }
}

void ForgetQueuedConclusion(Handle conclusion) {
  for (const auto& [record, owner] : Owners()) {
    if (RecordIn(record).toDoHead != nullptr) ToDoRemove(owner, conclusion);
  }
}

int ToDoCount(Handle mainTheory) {
  int n = 0;
  for (Handle node = NotebookRecordOf(mainTheory).toDoHead; node; node = Node(node).next) ++n;
  return n;
}

}  // namespace lemmabox
