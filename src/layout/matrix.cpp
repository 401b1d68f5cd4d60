// Matrices: a grid of elements set one level smaller, in equal cells; a
// matrix of one row is a comma-separated operand list. The brackets come
// from the automatic parentheses.
#include <algorithm>
#include <cstdint>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"

namespace lemmabox {
namespace {

// Drawing devices take 16-bit coordinates: a huge matrix is cut off here.
constexpr int64_t kMatrixCoordinateCap = 16000;
// A block position holds each of its four values in one byte.
constexpr int32_t kLargestBlockIndex = 255;

int32_t Capped(int64_t value) {
  return static_cast<int32_t>(std::min(value, kMatrixCoordinateCap));
}

void SizeMatrix(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const int rows = MatrixRows(obj);
  const int cols = MatrixCols(obj);
  if (rows == 1) {
    SizeOperandList(obj, ctx, out);
    return;
  }
  const LayoutMetrics& m = ctx.Metrics();
  const SizeContext inner = ctx.Smaller();
  int32_t widest = 0;
  int32_t ascent = 0;
  int32_t depth = 0;
  for (int i = 0; i < ObjCount(obj); ++i) {
    Handle element = ObjSlot(obj, i);
    if (!element) continue;
    LayoutBox box = SizeObj(element, inner);
    widest = std::max(widest, box.width);
    ascent = std::max(ascent, box.baseline);
    depth = std::max(depth, box.Depth());
  }
  const int64_t cell = widest + m.parenBase;
  const int64_t pitch = ascent + depth + m.u2;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      Handle element = MatrixElement(obj, r, c);
      if (!element) continue;
      const Obj& h = Hdr(element);
      PlaceChild(element, Capped(c * cell + (cell - h.box.right) / 2),
                 Capped(r * pitch + ascent + m.u - h.baseline));
    }
  }
  const int32_t width = Capped(cell * cols);
  const int32_t height = Capped(pitch * rows);
  // The reference line runs through the middle, or the middle row's.
  const int32_t baseline =
      rows % 2 == 0 ? height / 2 : static_cast<int32_t>((height - pitch) / 2 + ascent + m.u);
  out = LayoutBox{width, height, baseline};
}

void DrawMatrix(Handle obj, const DrawContext& ctx) {
  if (MatrixRows(obj) == 1) {
    DrawOperandList(obj, ctx);
    return;
  }
  for (int i = 0; i < ObjCount(obj); ++i) DrawSlot(obj, i, ctx);
}

struct Block {
  int32_t firstRow;
  int32_t firstCol;
  int32_t endRow;
  int32_t endCol;
};

Block DecodeBlock(int32_t position) {
  const uint32_t p = static_cast<uint32_t>(position);
  return Block{static_cast<int32_t>(p >> 24), static_cast<int32_t>((p >> 16) & 0xFF),
               static_cast<int32_t>((p >> 8) & 0xFF), static_cast<int32_t>(p & 0xFF)};
}

void HiliteMatrix(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out) {
  const int rows = MatrixRows(obj);
  const int cols = MatrixCols(obj);
  // Blocks whose first row is 128 or more read as negative words; only -1
  // to -8 are the whole-object codes.
  if ((position < 0 && position >= -8) || rows <= 0 || cols <= 0) {
    HiliteGeneric(obj, ctx, position, out);
    return;
  }
  const Block b = DecodeBlock(position);
  if (rows == 1 && b.firstRow == 0 && b.endRow == 1) {
    out = SpanRect(ctx, OperandBoundary(ctx, obj, b.firstCol), OperandBoundary(ctx, obj, b.endCol));
    return;
  }
  const int32_t cellWidth = ctx.box.Width() / cols;
  const int32_t cellHeight = ctx.box.Height() / rows;
  out = Rect{ctx.box.left + b.firstCol * cellWidth, ctx.box.top + b.firstRow * cellHeight,
             ctx.box.left + b.endCol * cellWidth, ctx.box.top + b.endRow * cellHeight};
}

bool ClickMatrix(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture, Selection& out) {
  if (ClickSlots(obj, 0, ctx, gesture, out)) return true;
  const int rows = MatrixRows(obj);
  const int cols = MatrixCols(obj);
  const int32_t width = ctx.box.Width();
  const int32_t height = ctx.box.Height();
  if (gesture.doubleClick || rows <= 0 || cols <= 0 || width < cols || height < rows) {
    out = Selection{obj, kPosWhole};
    return true;
  }
  Block b{};
  if (rows == 1) {
    const RangeResult range = ApplyRangeRule(
        ctx.box.left, cols, [&](int32_t k) { return OperandBoundary(ctx, obj, k); }, gesture);
    b = Block{0, range.start, 1, range.end};
  } else {
    const int32_t K = ctx.Metrics().parenBase;
    const int32_t cellWidth = width / cols;
    const int32_t cellHeight = height / rows;
    const int32_t left = ctx.box.left;
    const int32_t top = ctx.box.top;
    b.firstCol = std::max(0, (gesture.MinX() - left + K) / cellWidth);
    b.endCol = std::min(cols, (gesture.MaxX() - left - K + cellWidth) / cellWidth);
    b.firstRow = std::max(0, (gesture.MinY() - top + K) / cellHeight);
    b.endRow = std::min(rows, (gesture.MaxY() - top - K + cellHeight) / cellHeight);
    b.endCol = std::max(b.endCol, b.firstCol);
    b.endRow = std::max(b.endRow, b.firstRow);
  }
  // A drag between two columns is the place between them, in every row; one
  // between two rows, in every column.
  if (b.firstCol >= b.endCol) {
    b.firstRow = 0;
    b.endRow = rows;
  } else if (b.firstRow >= b.endRow) {
    b.firstCol = 0;
    b.endCol = cols;
  }
  if (std::max({b.firstRow, b.firstCol, b.endRow, b.endCol}) > kLargestBlockIndex) {
    // Too large for a block position: the matrix as a whole.
    out = Selection{obj, kPosWhole};
    return true;
  }
  const uint32_t packed = (static_cast<uint32_t>(b.firstRow) << 24) |
                          (static_cast<uint32_t>(b.firstCol) << 16) |
                          (static_cast<uint32_t>(b.endRow) << 8) | static_cast<uint32_t>(b.endCol);
  out = Selection{obj, static_cast<int32_t>(packed)};
  return true;
}

}  // namespace

void RegisterMatrixLayout() {
  gSizeTable.Set(kMatrix, SizeMatrix);
  gDrawTable.Set(kMatrix, DrawMatrix);
  gHiliteTable.Set(kMatrix, HiliteMatrix);
  gClickTable.Set(kMatrix, ClickMatrix);
  gCursorTable.Set(kMatrix, CursorExpression);
}

}  // namespace lemmabox
