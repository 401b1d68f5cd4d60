#include "layout/comment_layout.h"

#include <algorithm>

#include "layout/brackets.h"
#include "layout/comment_caret.h"
#include "layout/entry_marks.h"
#include "layout/families.h"
#include "layout/hooks.h"
#include "layout/icons.h"
#include "layout/sentences.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "ports/font_metrics.h"
#include "shell/charset.h"

namespace lemmabox {
namespace {

// Tabs without stops of their own stop every half inch.
constexpr int32_t kDefaultTabPoints = 36;

PortFont FontOf(const CommentLook& look, const LayoutMetrics& m) {
  PortFont font;
  font.family = look.family;
  font.size = std::max(m.unit, look.points * m.em / 16);
  font.bold = look.bold;
  font.italic = look.italic;
  return font;
}

RgbColor ColorOf(const CommentLook& look) {
  return RgbColor{look.red, look.green, look.blue};
}

void Place(CommentBlock& into, const CommentBlock& block, int32_t x, int32_t y) {
  for (CommentInk ink : block.ink) {
    ink.r.left += x;
    ink.r.right += x;
    ink.r.top += y;
    ink.r.bottom += y;
    into.ink.push_back(std::move(ink));
  }
  for (CommentStop stop : block.stops) {
    stop.x += x;
    stop.top += y;
    stop.bottom += y;
    stop.line += into.lines;
    into.stops.push_back(std::move(stop));
  }
}

// The child of a paragraph that a piece of a line shows, when caret stops
// are recorded.
struct StopSource {
  const CommentPath* paragraph = nullptr;
  int32_t index = 0;
  explicit operator bool() const { return paragraph != nullptr; }
};

// A block placed among others; `y` may be above the eventual top.
struct Part {
  const CommentBlock* block;
  int32_t x;
  int32_t y;
};

// Puts parts together, moving everything down so that the topmost starts at
// 0; `baseline` is measured in the parts' coordinates.
CommentBlock Compose(const std::vector<Part>& parts, int32_t baseline) {
  int32_t top = 0;
  for (const Part& part : parts) top = std::min(top, part.y);
  CommentBlock result;
  for (const Part& part : parts) {
    Place(result, *part.block, part.x, part.y - top);
    result.width = std::max(result.width, part.x + part.block->width);
    result.height = std::max(result.height, part.y - top + part.block->height);
  }
  result.baseline = baseline - top;
  return result;
}

class CommentSetter;

// The lines of a paragraph, filled word by word.
class Flow {
 public:
  Flow(const CommentSetter& setter, int32_t width, std::vector<int32_t> stops, int32_t tab)
      : setter_(setter), width_(width), stops_(std::move(stops)), tab_(tab) {}

  void Word(const CommentItem& word, StopSource source);
  void Blank(CommentBlock block, StopSource source) {
    if (line_.empty() && wrapped_) {
      // Dropped at the start of a wrapped line; the caret still stops there.
      Around(source, 0);
      return;
    }
    Around(source, block.width);
    Add(std::move(block), true);
  }
  void Tab(CommentBlock block, StopSource source);
  void Box(CommentBlock block, StopSource source) {
    if (x_ + block.width > width_ && !line_.empty()) Wrap();
    Around(source, block.width);
    Add(std::move(block), false);
  }
  // A mark takes no room; the caret stops before and after it.
  void Mark(StopSource source) { Around(source, 0); }
  void Paragraph(const CommentBlock& block) {
    if (!line_.empty()) EndLine();
    FlushStops(lastTop_, lastBottom_, std::max(0, out_.lines - 1));
    if (out_.lines == 0) out_.baseline = y_ + block.baseline;
    Place(out_, block, 0, y_);
    y_ += block.height;
    out_.width = std::max(out_.width, block.width);
    out_.lines += std::max(1, block.lines);
    wrapped_ = false;
  }
  CommentBlock Finish(const CommentBlock& emptyLine) {
    if (!line_.empty()) EndLine();
    if (out_.lines == 0) {
      out_.baseline = emptyLine.baseline;
      y_ = emptyLine.height;
      out_.lines = 1;
      FlushStops(0, y_, 0);
    }
    FlushStops(lastTop_, lastBottom_, out_.lines - 1);
    out_.height = y_;
    return std::move(out_);
  }
  // A caret stop at x of the line being filled.
  void Stop(const StopSource& source, int32_t index, int32_t offset, int32_t x) {
    lineStops_.push_back(CommentStop{*source.paragraph, index, offset, x, 0, 0, 0});
  }

 private:
  struct Placed {
    CommentBlock block;
    int32_t x;
    bool blank;
  };

  // Stops before and after a child that is one unit wide.
  void Around(const StopSource& source, int32_t width) {
    if (!source) return;
    Stop(source, source.index, 0, x_);
    Stop(source, source.index + 1, 0, x_ + width);
  }
  void FlushStops(int32_t top, int32_t bottom, int32_t line) {
    for (CommentStop& stop : lineStops_) {
      stop.top = top;
      stop.bottom = bottom;
      stop.line = line;
      out_.stops.push_back(std::move(stop));
    }
    lineStops_.clear();
  }
  void Add(CommentBlock block, bool blank) {
    const int32_t width = block.width;
    line_.push_back(Placed{std::move(block), x_, blank});
    x_ += width;
  }
  void Wrap() {
    EndLine();
    wrapped_ = true;
  }
  void EndLine() {
    int32_t ascent = 0;
    int32_t descent = 0;
    for (const Placed& p : line_) {
      ascent = std::max(ascent, p.block.baseline);
      descent = std::max(descent, p.block.height - p.block.baseline);
    }
    // Blanks at the end of a line take no room.
    size_t used = line_.size();
    while (used > 0 && line_[used - 1].blank) --used;
    for (size_t i = 0; i < used; ++i)
      Place(out_, line_[i].block, line_[i].x, y_ + ascent - line_[i].block.baseline);
    if (out_.lines == 0) out_.baseline = y_ + ascent;
    if (used > 0)
      out_.width = std::max(out_.width, line_[used - 1].x + line_[used - 1].block.width);
    lastTop_ = y_;
    lastBottom_ = y_ + ascent + descent;
    FlushStops(lastTop_, lastBottom_, out_.lines);
    y_ += ascent + descent;
    ++out_.lines;
    line_.clear();
    x_ = 0;
  }
  int32_t NextStop(int32_t x) const {
    for (int32_t stop : stops_)
      if (stop > x) return stop;
    return (x / tab_ + 1) * tab_;
  }

  const CommentSetter& setter_;
  int32_t width_;
  std::vector<int32_t> stops_;
  int32_t tab_;
  std::vector<Placed> line_;
  int32_t x_ = 0;
  bool wrapped_ = false;
  int32_t y_ = 0;
  CommentBlock out_;
  std::vector<CommentStop> lineStops_;
  int32_t lastTop_ = 0;
  int32_t lastBottom_ = 0;
};

class CommentSetter {
 public:
  CommentSetter(const LayoutEnv& env, bool stops) : m_(env.metrics()), stops_(stops) {}

  // A word, space or other text in a look: plain characters in its font,
  // the program's mathematical characters in the Symbol font.
  CommentBlock Text(const std::string& text, const CommentLook& look) const {
    const PortFont font = FontOf(look, m_);
    const FontExtents extents = MeasureFontExtents(font);
    CommentBlock block;
    block.height = extents.ascent + extents.descent;
    block.baseline = extents.ascent;
    PortFont symbol = font;
    symbol.family = "Symbol";
    symbol.bold = false;
    symbol.italic = false;
    std::string run;
    bool runIsSymbol = false;
    auto flush = [&] {
      if (run.empty()) return;
      const PortFont& runFont = runIsSymbol ? symbol : font;
      CommentInk ink;
      ink.kind = CommentInk::Kind::kText;
      ink.r = Rect{block.width, block.baseline, block.width, block.baseline};
      ink.text = run;
      ink.font = runFont;
      ink.style = look.underline ? TextStyle::kUnderline : TextStyle::kPlain;
      ink.color = ColorOf(look);
      block.width += TextWidth(run, runFont);
      block.ink.push_back(std::move(ink));
      run.clear();
    };
    for (char c : text) {
      const uint8_t byte = static_cast<uint8_t>(c);
      bool symbolic = false;
      char code = c;
      // Hyphens stay hyphens in prose; the mathematical characters of the
      // upper half are drawn as the formulas draw them.
      if (byte >= 0x80 && !look.ownCodes) {
        const Glyph glyph = GlyphOf(byte);
        if (glyph.kind == GlyphKind::kSymbol) {
          symbolic = true;
          code = static_cast<char>(glyph.code);
        }
      }
      if (symbolic != runIsSymbol) flush();
      runIsSymbol = symbolic;
      run += code;
    }
    flush();
    return block;
  }

  // A paragraph flowed into lines. With a path (the paragraph's place in the
  // comment) the caret stops of its text are recorded when asked for.
  CommentBlock Paragraph(const CommentItem& paragraph, int32_t width,
                         const CommentPath* path = nullptr) const {
    std::vector<int32_t> tabStops;
    for (int32_t points : paragraph.tabStops) tabStops.push_back(points * m_.em / 16);
    Flow flow(*this, width, std::move(tabStops), std::max(1, kDefaultTabPoints * m_.em / 16));
    const bool recording = stops_ && path != nullptr;
    for (size_t i = 0; i < paragraph.children.size(); ++i) {
      const CommentItem& child = paragraph.children[i];
      const StopSource source{recording ? path : nullptr, static_cast<int32_t>(i)};
      switch (child.kind) {
        case CommentItemKind::kWord:
          flow.Word(child, source);
          break;
        case CommentItemKind::kSpace:
          flow.Blank(Text(" ", child.look), source);
          break;
        case CommentItemKind::kTab:
          flow.Tab(Text("", child.look), source);
          break;
        case CommentItemKind::kMark:
          flow.Mark(source);
          break;
        case CommentItemKind::kParagraph: {
          CommentPath inner;
          if (recording) {
            inner = *path;
            inner.push_back(static_cast<int32_t>(i));
          }
          flow.Paragraph(Paragraph(child, width, recording ? &inner : nullptr));
          break;
        }
        default:
          flow.Box(Inline(child, width), source);
          break;
      }
    }
    CommentBlock block = flow.Finish(Text("", paragraph.look));
    if (recording && paragraph.children.empty())
      block.stops.push_back(CommentStop{*path, 0, 0, 0, 0, block.height, 0});
    return block;
  }

  // Everything but the flow itself: a box in a line.
  CommentBlock Inline(const CommentItem& item, int32_t width) const {
    switch (item.kind) {
      case CommentItemKind::kWord:
        return Text(item.text, item.look);
      case CommentItemKind::kSpace:
        return Text(" ", item.look);
      case CommentItemKind::kTab: {
        CommentBlock block = Text("", item.look);
        block.width = FontOf(item.look, m_).size;
        return block;
      }
      case CommentItemKind::kMark:
        return CommentBlock{};
      case CommentItemKind::kParagraph:
        return Paragraph(item, width);
      case CommentItemKind::kPicture:
        return Picture(item.look);
      case CommentItemKind::kPile:
        return Pile(item, width);
      case CommentItemKind::kGrid:
        return Grid(item, width);
      case CommentItemKind::kFence:
        return Fence(item, width);
      case CommentItemKind::kFraction:
        return Fraction(item, width);
      case CommentItemKind::kScript:
        return Script(item, width);
      case CommentItemKind::kStack:
        return Stack(item, width);
      case CommentItemKind::kOverline:
        return Overline(item, width);
      case CommentItemKind::kRow:
        break;
    }
    return Row(item.children, width);
  }

 private:
  std::vector<CommentBlock> Blocks(const std::vector<CommentItem>& items, int32_t width) const {
    std::vector<CommentBlock> blocks;
    blocks.reserve(items.size());
    for (const CommentItem& item : items) blocks.push_back(Inline(item, width));
    return blocks;
  }
  CommentBlock Child(const CommentItem& item, size_t i, int32_t width) const {
    return i < item.children.size() ? Inline(item.children[i], width) : Text("", item.look);
  }
  int32_t Rule(const CommentLook& look) const { return std::max(1, FontOf(look, m_).size / 16); }

  CommentBlock Row(const std::vector<CommentItem>& items, int32_t width) const {
    const std::vector<CommentBlock> blocks = Blocks(items, width);
    int32_t ascent = 0;
    for (const CommentBlock& b : blocks) ascent = std::max(ascent, b.baseline);
    std::vector<Part> parts;
    int32_t x = 0;
    for (const CommentBlock& b : blocks) {
      parts.push_back(Part{&b, x, ascent - b.baseline});
      x += b.width;
    }
    CommentBlock row = Compose(parts, ascent);
    row.width = x;
    return row;
  }

  CommentBlock Pile(const CommentItem& item, int32_t width) const {
    const std::vector<CommentBlock> blocks = Blocks(item.children, width);
    int32_t widest = 0;
    for (const CommentBlock& b : blocks) widest = std::max(widest, b.width);
    std::vector<Part> parts;
    int32_t y = 0;
    int32_t baseline = 0;
    const size_t middle = blocks.empty() ? 0 : (blocks.size() - 1) / 2;
    for (size_t i = 0; i < blocks.size(); ++i) {
      if (i == middle) baseline = y + blocks[i].baseline;
      parts.push_back(Part{&blocks[i], (widest - blocks[i].width) / 2, y});
      y += blocks[i].height + m_.u;
    }
    return blocks.empty() ? Text("", item.look) : Compose(parts, baseline);
  }

  CommentBlock Grid(const CommentItem& item, int32_t width) const {
    const int32_t rows = std::max(0, item.rows);
    const int32_t columns = std::max(0, item.columns);
    if (rows == 0 || columns == 0) return Row(item.children, width);
    const std::vector<CommentBlock> cells = Blocks(item.children, width);
    std::vector<int32_t> columnWidth(columns, 0), ascent(rows, 0), descent(rows, 0);
    for (size_t i = 0; i < cells.size() && i < static_cast<size_t>(rows) * columns; ++i) {
      const int32_t r = static_cast<int32_t>(i / columns), c = static_cast<int32_t>(i % columns);
      columnWidth[c] = std::max(columnWidth[c], cells[i].width);
      ascent[r] = std::max(ascent[r], cells[i].baseline);
      descent[r] = std::max(descent[r], cells[i].height - cells[i].baseline);
    }
    const int32_t gap = std::max(m_.u, FontOf(item.look, m_).size / 2);
    std::vector<int32_t> left(columns, 0), top(rows, 0);
    for (int32_t c = 1; c < columns; ++c) left[c] = left[c - 1] + columnWidth[c - 1] + gap;
    for (int32_t r = 1; r < rows; ++r) top[r] = top[r - 1] + ascent[r - 1] + descent[r - 1] + m_.u;
    std::vector<Part> parts;
    for (size_t i = 0; i < cells.size() && i < static_cast<size_t>(rows) * columns; ++i) {
      const int32_t r = static_cast<int32_t>(i / columns), c = static_cast<int32_t>(i % columns);
      parts.push_back(Part{&cells[i], left[c] + (columnWidth[c] - cells[i].width) / 2,
                           top[r] + ascent[r] - cells[i].baseline});
    }
    const int32_t middle = (rows - 1) / 2;
    CommentBlock grid = Compose(parts, top[middle] + ascent[middle]);
    grid.width = left[columns - 1] + columnWidth[columns - 1];
    grid.height = std::max(grid.height, top[rows - 1] + ascent[rows - 1] + descent[rows - 1]);
    return grid;
  }

  CommentBlock Fence(const CommentItem& item, int32_t width) const {
    const CommentBlock content = Row(item.children, width);
    const int32_t bracket = m_.parenBase + content.height / 16;
    const int32_t leftWidth = item.leftFence ? bracket : 0;
    const int32_t rightWidth = item.rightFence ? bracket : 0;
    CommentBlock fence;
    fence.width = leftWidth + content.width + rightWidth;
    fence.height = content.height;
    fence.baseline = content.baseline;
    Place(fence, content, leftWidth, 0);
    auto add = [&](uint8_t kind, const Rect& zone, bool left) {
      if (!kind) return;
      CommentInk ink;
      ink.kind = CommentInk::Kind::kBracket;
      ink.r = zone;
      ink.bracket = kind;
      ink.left = left;
      ink.font = FontOf(item.look, m_);
      ink.color = ColorOf(item.look);
      fence.ink.push_back(std::move(ink));
    };
    add(item.leftFence, Rect{0, 0, leftWidth, content.height}, true);
    add(item.rightFence, Rect{fence.width - rightWidth, 0, fence.width, content.height}, false);
    return fence;
  }

  CommentInk Line(const CommentLook& look, Point from, Point to) const {
    CommentInk ink;
    ink.kind = CommentInk::Kind::kLine;
    ink.r = Rect{from.x, from.y, to.x, to.y};
    ink.thickness = Rule(look);
    ink.color = ColorOf(look);
    return ink;
  }

  CommentBlock Fraction(const CommentItem& item, int32_t width) const {
    const CommentBlock over = Child(item, 0, width);
    const CommentBlock under = Child(item, 1, width);
    const int32_t t = Rule(item.look);
    const int32_t w = std::max(over.width, under.width) + 2 * t;
    const int32_t ruleY = over.height + t;
    // The bar sits half an x-height above the text's baseline.
    const int32_t axis = std::max(1, MeasureFontExtents(FontOf(item.look, m_)).xHeight / 2);
    CommentBlock fraction = Compose(
        {Part{&over, (w - over.width) / 2, 0}, Part{&under, (w - under.width) / 2, ruleY + 2 * t}},
        ruleY + axis);
    fraction.width = w;
    fraction.ink.push_back(Line(item.look, Point{t, ruleY}, Point{w - t, ruleY}));
    return fraction;
  }

  CommentBlock Script(const CommentItem& item, int32_t width) const {
    const CommentBlock base = Child(item, 0, width);
    const CommentBlock script = Child(item, 1, width);
    const int32_t shift = item.superscript ? -(base.baseline / 2) : script.baseline / 2;
    return Compose(
        {Part{&base, 0, 0}, Part{&script, base.width, base.baseline + shift - script.baseline}},
        base.baseline);
  }

  CommentBlock Stack(const CommentItem& item, int32_t width) const {
    const CommentBlock middle = Child(item, 0, width);
    const CommentBlock above = Child(item, 1, width);
    const CommentBlock below = Child(item, 2, width);
    const int32_t w = std::max({middle.width, above.width, below.width});
    const int32_t middleTop = above.height + m_.u;
    return Compose(
        {Part{&above, (w - above.width) / 2, 0}, Part{&middle, (w - middle.width) / 2, middleTop},
         Part{&below, (w - below.width) / 2, middleTop + middle.height + m_.u}},
        middleTop + middle.baseline);
  }

  CommentBlock Overline(const CommentItem& item, int32_t width) const {
    const CommentBlock content = Row(item.children, width);
    const int32_t t = Rule(item.look);
    CommentBlock block = Compose({Part{&content, 0, 3 * t}}, 3 * t + content.baseline);
    block.ink.push_back(Line(item.look, Point{0, t}, Point{content.width, t}));
    return block;
  }

  // A picture is shown as a framed square with its diagonals.
  CommentBlock Picture(const CommentLook& look) const {
    const int32_t side = std::max(4 * m_.u, FontOf(look, m_).size * 3 / 2);
    CommentBlock block;
    block.width = side;
    block.height = side;
    block.baseline = side;
    CommentInk frame;
    frame.kind = CommentInk::Kind::kFrame;
    frame.r = Rect{0, 0, side, side};
    frame.color = kMarkColor;
    block.ink.push_back(frame);
    CommentLook grey = look;
    grey.red = grey.green = grey.blue = kMarkColor.red;
    block.ink.push_back(Line(grey, Point{0, 0}, Point{side, side}));
    block.ink.push_back(Line(grey, Point{side, 0}, Point{0, side}));
    return block;
  }

  const LayoutMetrics& m_;
  bool stops_;
};

void Flow::Word(const CommentItem& word, StopSource source) {
  // The caret stops at every character of a piece, measured as drawn.
  auto piece = [&](size_t from, size_t to) {
    CommentBlock block = setter_.Text(word.text.substr(from, to - from), word.look);
    for (size_t k = from; source && k <= to; ++k) {
      const int32_t x =
          k == to ? block.width : setter_.Text(word.text.substr(from, k - from), word.look).width;
      Stop(source, source.index, static_cast<int32_t>(k), x_ + x);
    }
    Add(std::move(block), false);
  };
  const int32_t whole = setter_.Text(word.text, word.look).width;
  if (x_ + whole > width_ && !line_.empty()) Wrap();
  if (whole <= width_ - x_) {
    piece(0, word.text.size());
    return;
  }
  // Wider than a whole line: broken between characters. Each piece is
  // measured whole, as it will be drawn.
  size_t start = 0;
  for (size_t i = 0; i < word.text.size(); ++i) {
    if (i > start &&
        setter_.Text(word.text.substr(start, i + 1 - start), word.look).width > width_) {
      piece(start, i);
      Wrap();
      start = i;
    }
  }
  if (start < word.text.size()) piece(start, word.text.size());
}

void Flow::Tab(CommentBlock block, StopSource source) {
  int32_t next = NextStop(x_);
  if (next > width_ && !line_.empty()) {
    Wrap();
    next = NextStop(0);
  }
  block.width = std::max(0, next - x_);
  Around(source, block.width);
  Add(std::move(block), true);
}

// The depth of the row an entry lies in.
int RowDepth(Handle entry) {
  if (!IsInline(entry)) return Indentation(entry);
  if (Handle theory = ObjParent(entry)) {
    for (int i = ObjSlotIndex(entry) - 1; i >= FirstObjSlot(theory); --i) {
      Handle before = ObjSlot(theory, i);
      if (before && !IsInline(before)) return Indentation(before);
    }
  }
  return 0;
}

// Where a comment's content goes in its row.
struct CommentPlace {
  int32_t ascent = 0;      // the row's reference line
  int32_t contentTop = 0;  // the content's top
};

CommentPlace PlaceContent(const CommentBlock& block, const LayoutMetrics& m) {
  // The icon centres on the first line where a formula's reference line
  // would be: a quarter of the main size above the text's baseline.
  const int32_t reference = std::max(0, block.baseline - m.quarter[kLevelMain]);
  CommentPlace place;
  place.ascent = m.u + std::max(m.iconSize / 2, reference);
  place.contentTop = place.ascent - reference;
  return place;
}

void SizeComment(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const CommentBlock block = LayOutCommentEntry(obj, *ctx.env);
  const CommentPlace place = PlaceContent(block, m);
  const int32_t height =
      std::max(place.contentTop + block.height, place.ascent + m.iconSize / 2) + m.u;
  out = LayoutBox{m.iconSize + 2 * m.parenBase + block.width, height, place.ascent};
}

void DrawComment(Handle obj, const DrawContext& ctx) {
  const LayoutMetrics& m = ctx.Metrics();
  const CommentBlock block = LayOutCommentEntry(obj, *ctx.env);
  const CommentPlace place = PlaceContent(block, m);
  DrawTypeIcon(*ctx.env, *ctx.port, kComment,
               EntryIconBox(m, ctx.box.left, ctx.box.top + place.ascent));
  const Point offset = CommentContentOffset(block, m);
  DrawCommentBlock(*ctx.port, block, Point{ctx.box.left + offset.x, ctx.box.top + offset.y});
}

}  // namespace

CommentBlock LayOutCommentItems(const LayoutEnv& env, const CommentItem& root, int32_t width) {
  return CommentSetter(env, false).Paragraph(root, std::max(1, width));
}

CommentBlock LayOutCommentWithStops(const LayoutEnv& env, const CommentTree& tree, int32_t width) {
  const CommentPath root;
  return CommentSetter(env, true).Paragraph(CommentItemsOf(tree), std::max(1, width), &root);
}

void DrawCommentBlock(GraphicsPort& port, const CommentBlock& block, Point origin) {
  const RgbColor ink = port.foreground();
  for (const CommentInk& piece : block.ink) {
    const Rect r{piece.r.left + origin.x, piece.r.top + origin.y, piece.r.right + origin.x,
                 piece.r.bottom + origin.y};
    if (piece.color != port.foreground()) SetPenColor(port, piece.color);
    switch (piece.kind) {
      case CommentInk::Kind::kText:
        port.drawDeluxeString(piece.text, piece.font, piece.style, r.left, r.top,
                              TextMode::kTransparent);
        break;
      case CommentInk::Kind::kLine:
        port.startLine(piece.thickness);
        port.moveTo(r.left, r.top);
        port.lineTo(r.right, r.bottom);
        port.endLine();
        break;
      case CommentInk::Kind::kFrame:
        port.frameZone(r);
        break;
      case CommentInk::Kind::kBracket:
        DrawBigBracket(port, r, piece.font.size, static_cast<BigBracketKind>(piece.bracket),
                       piece.left);
        break;
    }
  }
  SetPenColor(port, ink);
}

int32_t CommentWrapWidth(Handle comment, const LayoutMetrics& m) {
  const int32_t available =
      PrintableWidthUnits(m) - m.iconSize - 2 * m.parenBase - m.iconSize * RowDepth(comment);
  return std::max(16 * m.size[kLevelMain], available);
}

CommentBlock LayOutCommentEntry(Handle comment, const LayoutEnv& env) {
  CommentItem root;
  root.kind = CommentItemKind::kParagraph;
  if (const CommentTree* tree = gLayoutHooks.commentTree(comment)) root = CommentItemsOf(*tree);
  return LayOutCommentItems(env, root, CommentWrapWidth(comment, env.metrics()));
}

Point CommentContentOffset(const CommentBlock& block, const LayoutMetrics& m) {
  return Point{m.iconSize + m.parenBase, PlaceContent(block, m).contentTop};
}

void RegisterCommentLayout() {
  gSizeTable.Set(kComment, SizeComment);
  gDrawTable.Set(kComment, DrawComment);
  RegisterCommentCaret();
}

}  // namespace lemmabox
