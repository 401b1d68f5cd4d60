#include "editor/selection_list.h"

#include <algorithm>
#include <array>
#include <memory>

#include "editor/editor_hooks.h"
#include "mathobj/optables.h"
#include "notebook/document.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

std::vector<std::unique_ptr<NotebookView>>& Views() {
  static std::vector<std::unique_ptr<NotebookView>> views;
  return views;
}

NotebookView* gFront = nullptr;

// Lists that commands are working through. Never destroyed: lists kept in
// statics of their own unregister as the program ends.
std::vector<std::vector<Selection>*>& Pending() {
  static auto* pending = new std::vector<std::vector<Selection>*>();
  return *pending;
}

NotebookView& RequireFront(const char* routine) {
  if (gFront == nullptr) InternalError(routine);
  return *gFront;
}

bool Within(Handle obj, Handle ancestor) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (h == ancestor) return true;
  return false;
}

// --- Disposals ---

std::array<DisposeFn, kTypeTableSize> gDisposeEntries{};
bool gWatching = false;

void Forget(std::vector<Selection>& list, Handle gone) {
  for (Selection& record : list)
    if (record.obj == gone) record.obj = nullptr;
}

void ObjectGoesAway(Handle gone) {
  for (const auto& view : Views()) {
    Forget(view->selections, gone);
    std::erase(view->edited, gone);
    if (view->notebook == gone) view->notebook = nullptr;
  }
  for (std::vector<Selection>* list : Pending()) Forget(*list, gone);
}

void WatchedDispose(Handle obj) {
  const TypeCode type = ObjType(obj);
  ObjectGoesAway(obj);
  gDisposeEntries[TypeIndex(type)](obj);
}

}  // namespace

NotebookView* OpenNotebookView(Handle mainTheory) {
  Views().push_back(std::make_unique<NotebookView>());
  NotebookView* view = Views().back().get();
  view->notebook = mainTheory;
  SetFrontView(view);
  return view;
}

void CloseNotebookView(NotebookView* view) {
  if (view == gFront) gFront = nullptr;
  std::erase_if(Views(), [view](const auto& owned) { return owned.get() == view; });
  if (gFront == nullptr && !Views().empty()) SetFrontView(Views().back().get());
}

NotebookView* FrontView() {
  return gFront;
}

void SetFrontView(NotebookView* view) {
  gFront = view;
  if (view != nullptr && view->notebook != nullptr) SetCurrentNotebook(view->notebook);
}

void Select(Handle obj, int32_t position) {
  NotebookView& view = RequireFront("Select_Nowin");
  if (obj == nullptr) return;
  gCommentEditor.end();
  for (auto it = view.selections.begin(); it != view.selections.end(); ++it) {
    if (it->obj == nullptr) continue;
    if (Within(it->obj, obj) || Within(obj, it->obj)) {
      view.selections.erase(it);
      return;
    }
  }
  AppendSelection(obj, position);
}

void SelectRange(Handle obj, int start, int end) {
  Select(obj, PackRange(start, end));
}

void Unselect(Handle obj) {
  NotebookView& view = RequireFront("Unselect_nowin");
  auto& list = view.selections;
  auto it = obj == nullptr ? list.begin()
                           : std::find_if(list.begin(), list.end(), [obj](const Selection& s) {
                               return s.obj != nullptr && Within(s.obj, obj);
                             });
  if (it != list.end()) list.erase(it);
}

void ClearSelection() {
  gCommentEditor.end();
  if (gFront != nullptr) gFront->selections.clear();
}

std::vector<Selection> CopySelectionList() {
  return gFront != nullptr ? gFront->selections : std::vector<Selection>{};
}

void RestoreSelectionList(const std::vector<Selection>& list) {
  if (gFront == nullptr) return;
  gFront->selections.clear();
  for (const Selection& record : list)
    if (record.obj != nullptr) gFront->selections.push_back(record);
}

std::span<Selection> SelectionList() {
  if (gFront == nullptr) return {};
  return gFront->selections;
}

Selection PrimarySelection() {
  if (gFront == nullptr) return {};
  for (const Selection& record : gFront->selections)
    if (record.obj != nullptr) return record;
  return {};
}

void AppendSelection(Handle obj, int32_t position) {
  NotebookView& view = RequireFront("Select_Nowin");
  if (obj == nullptr) return;
  if (static_cast<int>(view.selections.size()) >= kMaxSelections) Raise(kMsgTooManySelections);
  view.selections.push_back({obj, position});
}

void DropStaleSelections() {
  if (gFront == nullptr) return;
  std::erase_if(gFront->selections, [](const Selection& s) { return s.obj == nullptr; });
}

bool SelectionInside(const NotebookView& view, Handle obj) {
  for (const Selection& record : view.selections)
    if (record.obj != nullptr && Within(record.obj, obj)) return true;
  return false;
}

PendingSelections::PendingSelections(std::vector<Selection>& list) : list_(&list) {
  Pending().push_back(list_);
}

PendingSelections::~PendingSelections() {
  std::erase(Pending(), list_);
}

void WatchDisposals() {
  if (gWatching) return;
  gWatching = true;
  for (int code = 0x20; code <= 0x7E; ++code) {
    const auto type = static_cast<TypeCode>(code);
    if (!gDisposeTable.Has(type)) continue;
    gDisposeEntries[TypeIndex(type)] = gDisposeTable.Entry(type);
    gDisposeTable.Set(type, &WatchedDispose);
  }
}

}  // namespace lemmabox
