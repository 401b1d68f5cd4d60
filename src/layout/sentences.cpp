#include "layout/sentences.h"

#include <algorithm>
#include <unordered_map>

#include "layout/draw_obj.h"
#include "layout/entry_marks.h"
#include "layout/hooks.h"
#include "layout/size_obj.h"
#include "layout/text.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

int32_t gPrintableWidth = kDefaultPrintableWidth;

// Layouts recorded by sizing, for drawing and pop-up hits. An entry's layout
// is rewritten whenever it is sized and read only while its size is valid,
// so a handle that is reused for another object never shows a stale one.
std::unordered_map<Handle, SentenceLayout>& Recorded() {
  static std::unordered_map<Handle, SentenceLayout> layouts;
  return layouts;
}

// Internal-error names made from a template must outlive the failure.
[[noreturn]] void TemplateError(std::string name) {
  static std::string text;
  text = std::move(name);
  InternalError(text.c_str());
}

bool IsSlotDigit(char c) {
  return c >= 0x30 && c <= 0x3F;
}

// One item waiting on the line being filled: its box and where it went.
struct LineItem {
  SentencePiece piece;
  Handle object = nullptr;
  LayoutBox box;
  int32_t x = 0;  // from the line's start
};

struct FilledLine {
  std::vector<LineItem> items;
  int32_t x = 0;  // the running x: how much of the line is used
  int32_t ascent = 0;
  int32_t descent = 0;
  size_t end = 0;  // the template offset the next line starts at
};

class LineFiller {
 public:
  LineFiller(const SizeContext& ctx, const std::string& text, const SentenceSlots& slots)
      : ctx_(ctx), text_(text), slots_(slots) {}

  // Fills one line from offset `from` within `limit`.
  FilledLine Fill(size_t from, int32_t limit) {
    FilledLine line;
    line.end = text_.size();
    size_t runStart = from;
    for (size_t i = from; i < text_.size();) {
      if (text_[i] != '&' || i + 1 >= text_.size() || !IsSlotDigit(text_[i + 1])) {
        ++i;
        continue;
      }
      if (!AppendRun(line, runStart, i, limit)) {
        line.end = runStart;
        return line;
      }
      if (!AppendSlot(line, i, limit)) {
        line.end = i;
        return line;
      }
      i += 3;
      runStart = i;
    }
    if (!AppendRun(line, runStart, text_.size(), limit)) line.end = runStart;
    return line;
  }

 private:
  static void Append(FilledLine& line, LineItem item) {
    item.x = line.x;
    line.x += item.box.width;
    line.ascent = std::max(line.ascent, item.box.baseline);
    line.descent = std::max(line.descent, item.box.Depth());
    line.items.push_back(std::move(item));
  }

  bool AppendRun(FilledLine& line, size_t from, size_t to, int32_t limit) {
    if (from >= to) return true;
    LineItem item;
    item.piece.kind = SentencePieceKind::kText;
    item.piece.text = text_.substr(from, to - from);
    const TextBox text = MeasureText(*ctx_.env, kLevelMain, kFontMain, item.piece.text);
    if (line.x + text.width > limit) return false;
    item.box = LayoutBox{text.width, text.height, text.baseline};
    Append(line, std::move(item));
    return true;
  }

  const SentenceSlot* SlotAt(int index) const {
    return index >= 0 && index < kMaxSentenceSlots ? &slots_[index] : nullptr;
  }

  // The slot marker at `at`: false when it does not fit on the line.
  bool AppendSlot(FilledLine& line, size_t at, int32_t limit) {
    const char letter = at + 2 < text_.size() ? text_[at + 2] : '\0';
    const int index = text_[at + 1] - '1';
    const SentenceSlot* slot = SlotAt(index);
    LineItem item;
    item.piece.slot = index;
    switch (letter) {
      case 'i': {
        const int32_t side = ctx_.Metrics().iconSize;
        item.piece.kind = SentencePieceKind::kIcon;
        item.box = LayoutBox{side, side, side / 2};
        Append(line, std::move(item));
        return true;
      }
      case 'p': {
        item.piece.kind = SentencePieceKind::kPopup;
        item.piece.text = slot ? slot->popupText : std::string();
        item.box = SizePopup(*ctx_.env, item.piece.text);
        if (line.x + item.box.width > limit) return false;
        Append(line, std::move(item));
        return true;
      }
      case 't': {
        Handle object = slot ? slot->object : nullptr;
        if (!object || !IsTypeCode(ObjType(object))) TemplateError(text_);
        item.piece.kind = SentencePieceKind::kSlot;
        item.object = object;
        item.box = SizeObj(object, SizeContext{ctx_.env, kLevelMain, 0});
        if (line.x + item.box.width > limit) return false;
        Append(line, std::move(item));
        return true;
      }
      default:
        TemplateError("No letter after digit: " + text_.substr(0, at));
    }
  }

  const SizeContext& ctx_;
  const std::string& text_;
  const SentenceSlots& slots_;
};

Rect Offset(const Rect& r, int32_t dx, int32_t dy) {
  return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The arrow of a pop-up: a small triangle pointing down.
int32_t PopupArrowWidth(const LayoutMetrics& m) {
  return std::max(3 * m.u, m.parenBase + m.parenBase / 2);
}

}  // namespace

LayoutBox LayOutSentence(const SizeContext& ctx, int32_t y, int templateId, int32_t width,
                         int lineLimit, const SentenceSlots& slots, SentenceLayout& out,
                         int sentence) {
  const char* stored = StringById(templateId);
  // The cache may hand out a buffer that the next load reuses.
  const std::string text = stored ? stored : "";
  return LayOutSentenceText(ctx, y, text, width, lineLimit, slots, out, sentence);
}

LayoutBox LayOutSentenceText(const SizeContext& ctx, int32_t y, const std::string& text,
                             int32_t width, int lineLimit, const SentenceSlots& slots,
                             SentenceLayout& out, int sentence) {
  if (lineLimit < 0 || lineLimit > kMaxSentenceLines) InternalError("dwSize");
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t limit = width == 0 ? 27 * m.em : std::max(width, 16 * m.size[kLevelMain]);

  LineFiller filler(ctx, text, slots);
  LayoutBox result;
  bool firstLine = true;
  size_t at = 0;
  const size_t firstRecord = out.lines.size();
  out.lines.resize(firstRecord + lineLimit);
  for (int j = 0; j < lineLimit && at < text.size(); ++j) {
    const int32_t startX = j == 0 ? m.u : 2 * m.iconSize;
    FilledLine line = filler.Fill(at, j == lineLimit - 1 ? kLastLineLimit : limit);
    const int32_t reference = y + line.ascent;
    out.lines[firstRecord + j] =
        SentenceLine{line.items.empty() ? -1 : static_cast<int32_t>(at), reference, startX};
    for (LineItem& item : line.items) {
      const int32_t left = startX + item.x;
      const int32_t top = reference - item.box.baseline;
      if (item.object) PlaceChild(item.object, left, top);
      item.piece.sentence = sentence;
      item.piece.box = Rect{left, top, left + item.box.width, top + item.box.height};
      item.piece.referenceY = reference;
      out.pieces.push_back(std::move(item.piece));
    }
    if (firstLine) result.baseline = reference;
    firstLine = false;
    y = reference + line.descent + m.u;
    result.width = std::max(result.width, line.x + startX);
    at = line.end;
  }
  result.height = y;
  return result;
}

int32_t AvailableSentenceWidth(Handle entry, const LayoutMetrics& m) {
  for (Handle h = entry; h; h = ObjParent(h)) {
    if (IsGraphType(ObjType(h))) {
      const int32_t frame = gLayoutHooks.graphFrameWidth(h);
      return std::max(1, frame * m.em / 16 - m.halfEm - m.iconSize);
    }
  }
  return std::max(1, PrintableWidthUnits(m));
}

void SetPrintableWidth(int32_t points) {
  gPrintableWidth = std::max(1, points);
}

int32_t PrintableWidth() {
  return gPrintableWidth;
}

int32_t PrintableWidthUnits(const LayoutMetrics& m) {
  return static_cast<int32_t>(static_cast<int64_t>(gPrintableWidth) * m.em / 16);
}

const SentenceLayout* SentenceLayoutOf(Handle entry) {
  if (!entry || !HasFlag(entry, kFlagSizeValid)) return nullptr;
  auto found = Recorded().find(entry);
  return found == Recorded().end() ? nullptr : &found->second;
}

SentenceLayout& RecordSentenceLayout(Handle entry) {
  SentenceLayout& layout = Recorded()[entry];
  layout = SentenceLayout{};
  return layout;
}

void ForgetSentenceLayout(Handle entry) {
  Recorded().erase(entry);
}

void HideUnplacedSlots(Handle entry, int first, std::span<const Handle> placed) {
  for (int i = first; i < ObjCount(entry); ++i) {
    Handle child = ObjSlot(entry, i);
    if (!child || std::find(placed.begin(), placed.end(), child) != placed.end()) continue;
    SetFlag(child, kFlagHidden);
    ClearFlag(child, kFlagSizeValid);
    Hdr(child).box = Rect{};
  }
}

void DrawSentence(Handle entry, const DrawContext& ctx) {
  const SentenceLayout* layout = SentenceLayoutOf(entry);
  if (!layout) return;
  const int32_t dx = ctx.box.left;
  const int32_t dy = ctx.box.top;
  for (const SentencePiece& piece : layout->pieces) {
    const Rect box = Offset(piece.box, dx, dy);
    switch (piece.kind) {
      case SentencePieceKind::kText:
        DrawTextOnReference(ctx, kFontMain, kLevelMain, piece.text, box.left,
                            piece.referenceY + dy);
        break;
      case SentencePieceKind::kIcon:
        DrawTypeIcon(*ctx.env, *ctx.port, ObjType(entry), box);
        break;
      case SentencePieceKind::kPopup:
        DrawPopup(ctx, box, piece.referenceY + dy, piece.text);
        break;
      case SentencePieceKind::kSlot:
        break;
    }
  }
  for (int i = FirstObjSlot(entry); i < ObjCount(entry); ++i) {
    Handle child = ObjSlot(entry, i);
    if (child && !HasFlag(child, kFlagHidden)) DrawObj(child, ctx);
  }
}

bool SentencePopupAt(Handle entry, const PlaceContext& ctx, Point point, SentencePopupHit& hit) {
  const SentenceLayout* layout = SentenceLayoutOf(entry);
  if (!layout) return false;
  for (const SentencePiece& piece : layout->pieces) {
    if (piece.kind != SentencePieceKind::kPopup) continue;
    const Rect box = Offset(piece.box, ctx.box.left, ctx.box.top);
    if (!box.Contains(point)) continue;
    hit = SentencePopupHit{piece.sentence, piece.slot + 1, box};
    return true;
  }
  return false;
}

LayoutBox SizePopup(const LayoutEnv& env, const std::string& item) {
  const LayoutMetrics& m = env.metrics();
  const TextBox text = MeasureText(env, kLevelMain, kFontMain, item);
  // Text, a gap, the arrow, a margin, and the shadow on the right and below.
  const int32_t width =
      m.parenBase + text.width + m.parenBase / 2 + PopupArrowWidth(m) + m.parenBase / 2 + m.u;
  return LayoutBox{width, text.height + 3 * m.u, text.baseline + m.u};
}

void DrawPopup(const DrawContext& ctx, const Rect& box, int32_t referenceY,
               const std::string& item) {
  const LayoutMetrics& m = ctx.Metrics();
  GraphicsPort& port = *ctx.port;
  const Rect frame{box.left, box.top, box.right - m.u, box.bottom - m.u};
  port.frameZone(frame);
  port.paintZone(Rect{frame.left + 2 * m.u, frame.bottom, box.right, box.bottom});
  port.paintZone(Rect{frame.right, frame.top + 2 * m.u, box.right, box.bottom});
  DrawTextOnReference(ctx, kFontMain, kLevelMain, item, box.left + m.parenBase, referenceY);
  const int32_t a = PopupArrowWidth(m);
  const int32_t x = frame.right - m.parenBase / 2 - a;
  const Point arrow[] = {
      {x, referenceY - a / 4}, {x + a, referenceY - a / 4}, {x + a / 2, referenceY + a / 4 + m.u}};
  port.paintPolygon(arrow);
}

}  // namespace lemmabox
