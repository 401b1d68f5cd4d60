#include "layout/comment_caret.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "editor/comment_editing.h"
#include "editor/comment_text.h"
#include "layout/comment_layout.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "mathobj/optables.h"

namespace lemmabox {
namespace {

ClickFn gEntryClick = nullptr;

// A comment laid out with its caret stops, each stop with its caret.
struct LaidOutComment {
  CommentTree tree;
  CommentBlock block;
  Point origin;  // the content's top-left corner, absolute
  std::vector<int32_t> units;
};

LaidOutComment LayOut(const LayoutEnv& env, Handle comment, const Rect& box) {
  LaidOutComment laid;
  laid.tree = CommentContent(comment);
  const LayoutMetrics& m = env.metrics();
  laid.block = LayOutCommentWithStops(env, laid.tree, CommentWrapWidth(comment, m));
  const Point offset = CommentContentOffset(laid.block, m);
  laid.origin = Point{box.left + offset.x, box.top + offset.y};
  const CommentUnitIndex index(laid.tree.root);
  laid.units.reserve(laid.block.stops.size());
  for (const CommentStop& stop : laid.block.stops)
    laid.units.push_back(index.Unit(CommentPlace{stop.paragraph, stop.index, stop.offset}));
  return laid;
}

// The stop that shows a caret: the one at its own place (after the word it
// ends, when it ends one), else one with the same caret, else the nearest
// before it. The later of two equal stops wins: a caret at a line's wrap
// shows at the start of the next line.
const CommentStop* StopOf(const LaidOutComment& laid, int32_t unit) {
  const std::vector<CommentStop>& stops = laid.block.stops;
  if (stops.empty()) return nullptr;
  const CommentPlace place = PlaceOfUnit(laid.tree.root, unit);
  const CommentStop* own = nullptr;
  const CommentStop* same = nullptr;
  const CommentStop* before = nullptr;
  int32_t beforeUnit = std::numeric_limits<int32_t>::min();
  for (size_t i = 0; i < stops.size(); ++i) {
    const CommentStop& stop = stops[i];
    if (laid.units[i] == unit) {
      same = &stop;
      if (stop.paragraph == place.paragraph && stop.index == place.index &&
          stop.offset == place.offset) {
        own = &stop;
      }
    } else if (laid.units[i] < unit && laid.units[i] >= beforeUnit) {
      before = &stop;
      beforeUnit = laid.units[i];
    }
  }
  if (own != nullptr) return own;
  if (same != nullptr) return same;
  return before != nullptr ? before : &stops.front();
}

// The stop of a line nearest to x.
size_t NearestOnLine(const LaidOutComment& laid, int32_t line, int32_t x) {
  size_t best = laid.block.stops.size();
  int32_t distance = std::numeric_limits<int32_t>::max();
  for (size_t i = 0; i < laid.block.stops.size(); ++i) {
    const CommentStop& stop = laid.block.stops[i];
    if (stop.line != line) continue;
    const int32_t d = std::abs(stop.x - x);
    if (d < distance) {
      distance = d;
      best = i;
    }
  }
  return best;
}

int32_t LastLine(const LaidOutComment& laid) {
  int32_t last = 0;
  for (const CommentStop& stop : laid.block.stops) last = std::max(last, stop.line);
  return last;
}

// The unit at a point relative to the content's corner.
int32_t UnitAt(const LaidOutComment& laid, Point p) {
  const std::vector<CommentStop>& stops = laid.block.stops;
  if (stops.empty()) return 0;
  int32_t line = stops.front().line;
  if (p.y >= stops.back().bottom) line = stops.back().line;
  for (const CommentStop& stop : stops) {
    if (p.y >= stop.top && p.y < stop.bottom) {
      line = stop.line;
      break;
    }
  }
  const size_t i = NearestOnLine(laid, line, p.x);
  return i < stops.size() ? laid.units[i] : 0;
}

Rect CaretRect(const LaidOutComment& laid, int32_t unit, int32_t width) {
  const CommentStop* stop = StopOf(laid, unit);
  if (stop == nullptr)
    return Rect{laid.origin.x, laid.origin.y, laid.origin.x + width, laid.origin.y};
  const int32_t x = laid.origin.x + stop->x;
  return Rect{x, laid.origin.y + stop->top, x + width, laid.origin.y + stop->bottom};
}

// One rectangle per line from the stop of `from` to that of `to`.
std::vector<Rect> RangeRects(const LaidOutComment& laid, int32_t from, int32_t to) {
  std::vector<Rect> rects;
  const CommentStop* a = StopOf(laid, from);
  const CommentStop* b = StopOf(laid, to);
  if (a == nullptr || b == nullptr) return rects;
  for (int32_t line = a->line; line <= b->line; ++line) {
    int32_t left = std::numeric_limits<int32_t>::max();
    int32_t right = std::numeric_limits<int32_t>::min();
    int32_t top = 0;
    int32_t bottom = 0;
    for (const CommentStop& stop : laid.block.stops) {
      if (stop.line != line) continue;
      left = std::min(left, stop.x);
      right = std::max(right, stop.x);
      top = stop.top;
      bottom = stop.bottom;
    }
    if (left > right) continue;
    if (line == a->line) left = a->x;
    if (line == b->line) right = b->x;
    if (right <= left) continue;
    rects.push_back(Rect{laid.origin.x + left, laid.origin.y + top, laid.origin.x + right,
                         laid.origin.y + bottom});
  }
  return rects;
}

// --- The comment editor's line moves ---

bool LineMove(Handle comment, const CommentTree&, int32_t unit, CommentLineMove move,
              int32_t& goalX, int32_t& result) {
  DisplayTarget target;
  if (!gLayoutHooks.displayOf(comment, target) || target.env == nullptr) return false;
  const LaidOutComment laid = LayOut(*target.env, comment, AbsoluteBox(comment));
  const CommentStop* stop = StopOf(laid, unit);
  if (stop == nullptr) return false;
  const int32_t line = stop->line;
  switch (move) {
    case CommentLineMove::kLineStart:
    case CommentLineMove::kLineEnd: {
      const bool start = move == CommentLineMove::kLineStart;
      result = unit;
      bool found = false;
      for (size_t i = 0; i < laid.block.stops.size(); ++i) {
        if (laid.block.stops[i].line != line) continue;
        if (!found || (start ? laid.units[i] < result : laid.units[i] > result))
          result = laid.units[i];
        found = true;
      }
      return true;
    }
    case CommentLineMove::kUp:
    case CommentLineMove::kDown: {
      if (goalX < 0) goalX = stop->x;
      const int32_t to = line + (move == CommentLineMove::kUp ? -1 : 1);
      if (to < 0) {
        result = 0;
        return true;
      }
      if (to > LastLine(laid)) {
        result = CommentUnitCount(laid.tree.root);
        return true;
      }
      const size_t i = NearestOnLine(laid, to, goalX);
      result = i < laid.units.size() ? laid.units[i] : unit;
      return true;
    }
  }
  return false;
}

// --- Clicks ---

// A press right of the icon column, in the comment's text, places the caret
// (a double-click takes whole words); a drag selects from the press to the
// pointer.
bool ClickCommentEntry(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture,
                       Selection& out) {
  const LaidOutComment laid = LayOut(*ctx.env, obj, ctx.box);
  if (gesture.press.x < laid.origin.x - ctx.Metrics().u2)
    return gEntryClick(obj, ctx, gesture, out);
  const Point corner = laid.origin;
  int32_t anchor = UnitAt(laid, Point{gesture.press.x - corner.x, gesture.press.y - corner.y});
  int32_t caret = UnitAt(laid, Point{gesture.current.x - corner.x, gesture.current.y - corner.y});
  if (gesture.doubleClick) {
    const auto first = CommentWordAround(laid.tree.root, std::min(anchor, caret));
    const auto last = CommentWordAround(laid.tree.root, std::max(anchor, caret));
    const bool forward = caret >= anchor;
    anchor = forward ? first.first : last.second;
    caret = forward ? last.second : first.first;
  }
  ClickComment(obj, anchor, caret);
  out = Selection{obj, kPosWhole};
  return true;
}

}  // namespace

CommentEditShape CommentEditingShape(const LayoutEnv& env) {
  CommentEditShape shape;
  const CommentEditing* editing = EditedComment();
  if (editing == nullptr || ObjParent(editing->comment) == nullptr) return shape;
  const LaidOutComment laid = LayOut(env, editing->comment, AbsoluteBox(editing->comment));
  shape.shown = true;
  shape.caret = !editing->HasRange();
  shape.caretRect = CaretRect(laid, editing->caret, env.metrics().u);
  if (editing->HasRange()) shape.selection = RangeRects(laid, editing->From(), editing->To());
  return shape;
}

int32_t CommentCaretAt(const LayoutEnv& env, Handle comment, Point point) {
  const LaidOutComment laid = LayOut(env, comment, AbsoluteBox(comment));
  return UnitAt(laid, Point{point.x - laid.origin.x, point.y - laid.origin.y});
}

bool CommentEditingHighlight(const LayoutEnv& env, const Selection& selection,
                             HighlightShape& out) {
  const CommentEditing* editing = EditedComment();
  if (editing == nullptr || selection.obj != editing->comment) return false;
  const CommentEditShape shape = CommentEditingShape(env);
  if (!shape.shown) return false;
  out.shown = true;
  out.caret = shape.caret;
  if (shape.caret) {
    out.rect = shape.caretRect;
    return true;
  }
  // One rectangle around the whole selection; the desktop paints the lines
  // one by one from CommentEditingShape.
  Rect around = shape.selection.empty() ? shape.caretRect : shape.selection.front();
  for (const Rect& r : shape.selection) {
    around = Rect{std::min(around.left, r.left), std::min(around.top, r.top),
                  std::max(around.right, r.right), std::max(around.bottom, r.bottom)};
  }
  out.rect = around;
  return true;
}

void RegisterCommentCaret() {
  if (gEntryClick == nullptr) {
    gEntryClick = gClickTable.Entry(kComment);
    gClickTable.Set(kComment, &ClickCommentEntry);
  }
  gCommentGeometry.lineMove = &LineMove;
}

}  // namespace lemmabox
