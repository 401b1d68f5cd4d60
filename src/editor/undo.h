// The Undo record: one level of Undo, shared by all windows.
//
// A record lists the slots that the last recorded command replaced, inserted
// or deleted, with copies of what they held, enough to put the notebook back.
// Undo exchanges the saved state with the current one, so a second Undo
// redoes. The editor starts a record at the beginning of each command it
// records; the manipulation driver and the notebook's own commands save what
// they change into the same record.
//
// Entries, in the order they were made:
//   kind 2  slot `index` of `parent` held `saved` before it was replaced;
//   kind 3  `saved` was deleted from slot `index` of `parent` (the slot went too);
//   kind 4  an object was inserted as the new slot `index` of `parent`.
// An entry's index is the slot's index at the time of its change. Undo
// takes the changes back newest first, so each index is right again when its
// entry's turn comes; the Undo after that (Redo) makes them again oldest
// first. While a command is being recorded, each entry also follows where
// its slot is now (slots inserted or deleted before it move it), so that a
// slot saved once is recognised when it is saved again.
//
// Saved copies are detached from the notebook: declared names in them are
// turned back into name text (a question mark when the declaration's name is
// not a plain name), so deleting a declaration never leaves a saved copy
// pointing at it. A proposition Undo takes out of a notebook is forgotten by
// everything that referred to it, as when it is deleted; after an Undo the
// declaration pass runs over each notebook it changed, so names are resolved
// again and the knowledge fits.
//
// A record belongs to the window it was made for (the owner, an opaque id the
// desktop gives through UndoHooks::frontWindow); Undo in another window does
// nothing.
#pragma once

#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

constexpr int kUndoCapacity = 251;

enum UndoKind : uint8_t {
  kUndoReplaced = 2,
  kUndoDeleted = 3,
  kUndoInserted = 4,
};

// The window a record was made for, as the desktop identifies it.
using UndoOwner = const void*;

struct UndoHooks {
  // The front notebook window. Default: null (the headless program has one
  // implicit window).
  UndoOwner (*frontWindow)();
  // The comment editor's own undo: whether it holds something for the front
  // window, undoing it, and dropping it when a new record starts. Defaults:
  // nothing held.
  bool (*commentUndoPending)(UndoOwner front);
  void (*commentUndo)(UndoOwner front);
  void (*clearCommentSnapshot)();
  // Ends a transient editing mode (typing a name, dragging). Default: nothing.
  void (*endTransientMode)();
  // Marks the owner's notebook busy while Undo runs. Default: nothing.
  void (*setBusy)(UndoOwner owner, bool busy);
  void (*clearSelection)();
  // An object Undo put back: selected, laid out again and redrawn.
  void (*selectRestored)(Handle obj);
  void (*redisplay)(Handle obj);
  // A proposition (not a Conclusion) whose content Undo changed: the cascade
  // marks what was derived from it.
  void (*reportChanged)(Handle prop);
  // The window is brought up to date.
  void (*updateWindow)(UndoOwner owner);
};
extern UndoHooks gUndoHooks;
void ResetUndoHooks();

// Starts a record: disposes every saved copy, empties the record and sets the
// owner to none; clears the comment editor's snapshot. With recording off the
// record stays empty until the next start (a command that acts on four or
// more selections cannot be undone).
void StartUndoRecord(bool recording = true);
// The command is over: later changes are not its own. The record stays for
// the next Undo.
void StopUndoRecording();
// Whether saves and registrations are being recorded now.
bool UndoRecording();

// A recorded command: starts the record, and stops recording when it ends.
class RecordedCommand {
 public:
  explicit RecordedCommand(bool recording = true) { StartUndoRecord(recording); }
  ~RecordedCommand() { StopUndoRecording(); }
  RecordedCommand(const RecordedCommand&) = delete;
  RecordedCommand& operator=(const RecordedCommand&) = delete;
};

// Records the current occupant of slot `index` of `parent` before it is
// replaced (kind 2). A slot already saved, or one inside an object this
// record already saved or inserted, needs nothing more. Entries inside the
// occupant are folded into its copy first. A copy that fails (memory,
// interruption) shows its alert and empties the record for the rest of the
// command, since a half-kept Undo would restore a mixture. Internal errors:
// "UndoSave no reset" before any record was started, "UndoSaveNB" when the
// front window is not the record's owner. The owner becomes the front window.
void UndoSaveSlot(Handle parent, int index);
// The same for the slot that holds obj (nothing for a detached object).
void UndoSaveObj(Handle obj);
// After obj was inserted into its parent as a new slot (kind 4).
void UndoRegisterInsertion(Handle obj);
// Before obj's slot is deleted from its parent (kind 3). Several deletions
// from one parent may be registered before any of them is made; they count
// from the moment their objects have left.
void UndoRegisterDeletion(Handle obj);
// Before obj itself is replaced when slots inside it were saved: the entries
// inside obj become one save of obj's own slot.
void UndoWiden(Handle obj);

// The Undo command (also Redo, the second time). It is a command of its own:
// it starts no record, and ends the recording of the one before.
void UndoCommand();
// Whether the last Undo took the record back (the next one makes it again).
bool UndoTakenBack();

// --- Looking at the record ---

struct UndoEntry {
  Handle saved = nullptr;
  Handle parent = nullptr;
  int32_t index = 0;  // at the time of the change
  UndoKind kind = kUndoReplaced;
  int32_t current = -1;  // where the slot is now while recording; -1 when gone
};
int UndoEntryCount();
UndoEntry UndoEntryAt(int i);
// Something could not be recorded for lack of room, or the record is full:
// the next Undo warns that not everything may come back.
bool UndoRecordFull();
// The owner, and whether the record has one.
bool UndoHasOwner();
UndoOwner UndoRecordOwner();

// A detached copy of obj with its declared names turned back into text.
Handle UndoCopy(Handle obj);

}  // namespace lemmabox
