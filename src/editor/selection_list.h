// Notebook views and their selection lists.
//
// Each notebook window has a view: the notebook it shows and the ordered list
// of what is selected in it, each record an object and a position word
// (mathobj/selection.h). The first record is the primary selection; most
// commands act on every record in turn. One view is in front; the editor's
// commands act on its list.
//
// A record never outlives its object: when an object is disposed, every
// record on it becomes stale (its object null) and is dropped at the next
// clean-up, so that a command never acts on a freed object.
#pragma once

#include <span>
#include <vector>

#include "mathobj/selection.h"

namespace lemmabox {

constexpr int kMaxSelections = 250;

struct NotebookView {
  Handle notebook = nullptr;  // the Main Theory shown
  std::vector<Selection> selections;
  // Propositions edited by typing whose expressions have not been
  // interpreted for good yet (the edit is committed when the selection has
  // left them).
  std::vector<Handle> edited;
  // A drag is selecting: End leaves the object selected as an operand (-2)
  // rather than a caret after it.
  bool dragSelect = false;
};

// A view onto mainTheory; it comes to the front.
NotebookView* OpenNotebookView(Handle mainTheory);
// Forgets a view (the notebook itself stays open).
void CloseNotebookView(NotebookView* view);
// The front view, or null when no notebook window is open.
NotebookView* FrontView();
// Brings a view to the front and makes its notebook the current one.
void SetFrontView(NotebookView* view);

// --- The front view's list ---

// Adds a record. A record whose object contains, or lies inside, the object
// of an existing record is not added: the existing record is removed instead
// (clicking again on a selection deselects it). Any comment being edited is
// left first. Internal error "Select_Nowin" without a view; 13206 when the
// list already holds 250 records.
void Select(Handle obj, int32_t position);
void SelectRange(Handle obj, int start, int end);
// Removes the first record on obj or inside it (the first record of all for
// null). Internal error "Unselect_nowin" without a view.
void Unselect(Handle obj);
// Ends any comment editing and empties the list.
void ClearSelection();
std::vector<Selection> CopySelectionList();
void RestoreSelectionList(const std::vector<Selection>& list);
// The records of the front view (empty without one).
std::span<Selection> SelectionList();
// The first record, or an empty one.
Selection PrimarySelection();

// Appends a record as a command's result, without the deselecting rule;
// 13206 on the 251st.
void AppendSelection(Handle obj, int32_t position);
// Drops the records whose objects were disposed.
void DropStaleSelections();
// Whether a record of view lies on obj or inside it.
bool SelectionInside(const NotebookView& view, Handle obj);

// Records a command still has to work through. While one lives, a record of
// `list` whose object is disposed becomes stale (its object null).
class PendingSelections {
 public:
  explicit PendingSelections(std::vector<Selection>& list);
  ~PendingSelections();
  PendingSelections(const PendingSelections&) = delete;
  PendingSelections& operator=(const PendingSelections&) = delete;

 private:
  std::vector<Selection>* list_;
};

// Puts an observer in front of every Dispose entry so that disposed objects
// leave the selection lists (and the views' edited lists). Called once at
// registration, after the object store filled its entries.
void WatchDisposals();

}  // namespace lemmabox
