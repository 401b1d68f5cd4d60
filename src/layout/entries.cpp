// Notebook entries, as far as expressions are concerned: how a selected
// entry is shown, how a click reaches the expressions of an entry or
// selects the entry itself, and the pointer help over entries and their
// icons. Their rows, sentences and sizes are laid out by the notebook rows.
#include <algorithm>

#include "layout/click.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "layout/rows.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

constexpr TypeCode kEntryTypes[] = {
    kAssumption,   kPageBreak,   kConclusion, kSurfacePlot, kGraph2D,     kRule,
    kIndependence, kLinePlot,    kMainTheory, kTable,       kContourPlot, kComment,
    kGridPlot,     kScatterPlot, kCaseTheory, kDeclaration, kAxisPlot,    kGraph3D,
};

// The indentation of the row an entry belongs to.
int RowLevel(Handle entry) {
  Handle theory = ObjParent(entry);
  int level = Hdr(entry).aux;
  for (int i = ObjSlotIndex(entry) - 1; level == 255 && theory && i >= FirstObjSlot(theory); --i)
    if (Handle before = ObjSlot(theory, i)) level = Hdr(before).aux;
  return level == 255 ? 0 : level;
}

Rect RowBox(Handle entry, const Rect& box) {
  Rect r = box;
  if (HasFlag(entry, kFlagCollapsed)) r.bottom += kCollapsedRowExtra;
  return r;
}

// The entry and the shown entries of its outline group.
void HiliteEntry(Handle obj, const PlaceContext& ctx, int32_t, Rect& out) {
  out = RowBox(obj, ctx.box);
  Handle theory = ObjParent(obj);
  if (!theory) return;
  const int level = RowLevel(obj);
  for (int i = ObjSlotIndex(obj) + 1; i < ObjCount(theory); ++i) {
    Handle next = ObjSlot(theory, i);
    if (!next) continue;
    if (Hdr(next).aux != 255 && Hdr(next).aux <= level) break;
    if (HasFlag(next, kFlagHidden)) continue;
    const Rect box = RowBox(next, AbsoluteBox(next));
    out = Rect{std::min(out.left, box.left), std::min(out.top, box.top),
               std::max(out.right, box.right), std::max(out.bottom, box.bottom)};
  }
}

// --- clicking ---

bool SelectedByIcon(TypeCode type) {
  switch (type) {
    case kAssumption:
    case kConclusion:
    case kPageBreak:
    case kMainTheory:
    case kCaseTheory:
      return true;
    default:
      return false;
  }
}

// Whether the rows after an entry's row are indented deeper than it.
bool HeadsOutlineGroup(Handle entry) {
  Handle theory = ObjParent(entry);
  if (!theory || !IsContainerType(ObjType(theory))) return false;
  const int i = ObjSlotIndex(entry);
  return OutlineEnd(theory, i) > NextRow(theory, i);
}

// Selecting the entry itself, or opening and closing its outline group.
bool SelectEntry(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture, Selection& out) {
  out = Selection{nullptr, kPosWhole};
  if (SelectedByIcon(ObjType(obj))) {
    // These are taken as a whole only on their icon.
    const int32_t iconEdge = ctx.box.left + ctx.Metrics().iconSize;
    if (!ObjParent(obj) || gesture.MaxX() >= iconEdge) return false;
  }
  if (gesture.doubleClick && !HasFlag(obj, kFlagLocked) && HeadsOutlineGroup(obj)) {
    Rect area = ctx.box;
    HiliteEntry(obj, ctx, kPosWhole, area);
    if (HasFlag(obj, kFlagCollapsed)) {
      ClearFlag(obj, kFlagCollapsed);
    } else {
      SetFlag(obj, kFlagCollapsed);
    }
    MarkAreaForRedraw(obj, area);
    InvalidateSizes(obj);
    gNotebookDisplay.relayoutRows(ObjParent(obj));
    return false;
  }
  out = Selection{obj, kPosWhole};
  return true;
}

bool ClickEntry(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture, Selection& out) {
  if (ClickSlots(obj, FirstObjSlot(obj), ctx, gesture, out)) return true;
  if (gLayoutHooks.clickEntryParts(obj, ctx, gesture, out)) return true;
  return SelectEntry(obj, ctx, gesture, out);
}

// Assumptions and conclusions: the statement takes every click right of the
// icon, clamped into its box when it lands beside it; a failed conclusion is
// derived again instead.
bool ClickStatement(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture,
                    Selection& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const bool rightOfIcon = gesture.press.x > ctx.box.left + m.iconSize + m.u2;
  if (rightOfIcon && ObjType(obj) == kConclusion && ErrorNumber(obj) != 0) {
    out = Selection{nullptr, kPosWhole};
    gLayoutHooks.redoConclusion(obj);
    return false;
  }
  Handle statement = SlotOrNull(obj, 0);
  if (statement) {
    if (ClickObj(statement, ctx, gesture, out)) return true;
    if (rightOfIcon && !HasFlag(statement, kFlagHidden)) {
      const Rect box = ctx.Child(statement).box;
      const int32_t low = box.left + m.u2;
      const int32_t high = std::max(low, box.right - m.u);
      ClickGesture clamped = gesture;
      clamped.press.x = std::clamp(gesture.press.x, low, high);
      clamped.current.x = std::clamp(gesture.current.x, low, high);
      if (ClickObj(statement, ctx, clamped, out)) return true;
    }
  }
  return SelectEntry(obj, ctx, gesture, out);
}

// --- pointer help ---

int32_t EntryHelpId(Handle obj) {
  switch (ObjType(obj)) {
    case kPageBreak:
      return kStrHelpPageBreak;
    case kCaseTheory:
      return kStrHelpCaseTheory;
    case kDeclaration:
      return IsUserDefinedDecl(obj) ? kStrHelpNameDeclaration : kStrHelpPredefinedDeclaration;
    case kIndependence:
      return kStrHelpIndependence;
    case kRule:
      return kStrHelpTransformationRule;
    case kTable:
      return kStrHelpTable;
    case kComment:
      return kStrHelpComment;
    case kSurfacePlot:
      return kStrHelpSurfacePlot;
    case kContourPlot:
      return kStrHelpContourPlot;
    case kScatterPlot:
      return kStrHelpScatterPlot;
    case kLinePlot:
      return kStrHelpLinePlot;
    case kAxisPlot:
      return kStrHelpAxisPlot;
    case kGridPlot:
      return kStrHelpGridPlot;
    case kGraph2D:
      return kStrHelp2DGraph;
    case kGraph3D:
      return kStrHelp3DGraph;
    default:  // the Main Theory
      return 0;
  }
}

void CursorEntry(Handle obj, const PlaceContext&, Point, CursorInfo& out) {
  out.helpId = EntryHelpId(obj);
  out.cursorKind = kCursorArrow;
}

void CursorStatement(Handle obj, const PlaceContext& ctx, Point point, CursorInfo& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t icon = m.iconSize;
  const int32_t reference = ctx.ReferenceY();
  out.cursorKind = kCursorArrow;
  if (point.x >= ctx.box.left && point.x < ctx.box.left + icon && point.y >= reference - icon / 2 &&
      point.y < reference + icon / 2) {
    out.helpId = kStrHelpIcon;
    out.cursorKind = kCursorIcon;
    out.sensitive =
        Rect{ctx.box.left, reference - icon / 2, ctx.box.left + icon, reference + icon / 2};
    return;
  }
  if (IsWorkingStatement(obj)) {
    out.helpId = kStrHelpWorkingStatement;
    return;
  }
  const bool conclusion = ObjType(obj) == kConclusion;
  Handle statement = SlotOrNull(obj, 0);
  if (conclusion && statement && point.x >= ctx.Child(statement).box.right) {
    out.helpId = kStrHelpConclusionSteps;
    out.sensitive.left = std::max(out.sensitive.left, ctx.Child(statement).box.right);
    return;
  }
  out.helpId = conclusion ? kStrHelpConclusion : kStrHelpAssumption;
}

}  // namespace

void RegisterEntryLayout() {
  for (TypeCode type : kEntryTypes) {
    gHiliteTable.Set(type, HiliteEntry);
    gClickTable.Set(type, ClickEntry);
    gCursorTable.Set(type, CursorEntry);
  }
  for (TypeCode type : {kAssumption, kConclusion}) {
    gClickTable.Set(type, ClickStatement);
    gCursorTable.Set(type, CursorStatement);
  }
  // A picture inside a comment is highlighted as its own box.
  gHiliteTable.Set(kPicture, HiliteGeneric);
}

}  // namespace lemmabox
