// Assumption and conclusion rows: the statement boxed beside the icon
// column, and for a conclusion the names of the manipulations that derived
// it ("Show Steps") or, when it could not be derived again, the reason in
// an area at the right end of the row.
#include "layout/statement_rows.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "layout/draw_obj.h"
#include "layout/entry_marks.h"
#include "layout/families.h"
#include "layout/hooks.h"
#include "layout/icons.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "ports/font_metrics.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

// The error area is this many smaller sizes wide and at least this many
// label lines tall.
constexpr int32_t kErrorAreaSizes = 30;
constexpr int32_t kErrorAreaLines = 4;

bool ShowsSteps(Handle conclusion) {
  const NotebookRecord* record = NotebookRecordFor(conclusion);
  return !record || record->prefs.showSteps != 0;
}

int32_t ErrorAreaWidth(const LayoutMetrics& m) {
  return kErrorAreaSizes * m.size[kLevelSmaller];
}

struct RowParts {
  int32_t error = 0;
  std::string label;               // shown when there is no error
  std::vector<std::string> lines;  // the error text, wrapped
};

RowParts PartsOf(Handle obj, const LayoutEnv& env) {
  RowParts parts;
  if (ObjType(obj) != kConclusion) return parts;
  parts.error = ErrorNumber(obj);
  if (parts.error == 0) {
    if (ShowsSteps(obj)) parts.label = ConclusionLabel(obj);
    return parts;
  }
  parts.lines =
      WrapLabelText(ConclusionErrorText(obj), LabelFont(env), ErrorAreaWidth(env.metrics()));
  return parts;
}

void SizeStatementRow(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t icon = m.iconSize;
  Handle statement = SlotOrNull(obj, FirstObjSlot(obj));
  const LayoutBox s =
      statement ? SizeObj(statement, SizeContext{ctx.env, kLevelMain, 0}) : LayoutBox{};
  const int32_t ascent = m.u + std::max(icon / 2, s.baseline);
  const int32_t depth = std::max(icon / 2, s.Depth());
  out = LayoutBox{s.width + icon + m.em, ascent + m.u + depth, ascent};
  if (statement) PlaceChild(statement, icon + m.parenBase, ascent - s.baseline);

  const RowParts parts = PartsOf(obj, *ctx.env);
  if (parts.error != 0) {
    const PortFont font = LabelFont(*ctx.env);
    const int32_t lines =
        std::max<int32_t>(kErrorAreaLines, static_cast<int32_t>(parts.lines.size()));
    out.width += ErrorAreaWidth(m);
    out.height = std::max(out.height, lines * MeasureFontExtents(font).Height());
  } else if (ObjType(obj) == kConclusion && ShowsSteps(obj)) {
    out.width += m.u + TextWidth(parts.label, LabelFont(*ctx.env));
  }
}

void DrawStatementRow(Handle obj, const DrawContext& ctx) {
  const LayoutEnv& env = *ctx.env;
  const LayoutMetrics& m = ctx.Metrics();
  GraphicsPort& port = *ctx.port;
  const RowParts parts = PartsOf(obj, env);
  const RgbColor ink = port.foreground();
  if (parts.error != 0)
    SetPenColor(port, parts.error == kMsgErrorInSource ? kDependencyErrorColor : kErrorColor);

  if (IsWorkingStatement(obj))
    DrawWorkingStatementDot(env, port, EntryIconBox(m, ctx.box.left, ctx.ReferenceY()));
  Handle statement = SlotOrNull(obj, FirstObjSlot(obj));
  if (statement) DrawObj(statement, ctx);

  const PortFont font = LabelFont(env);
  if (parts.error != 0) {
    const FontExtents extents = MeasureFontExtents(font);
    const int32_t left = ctx.box.right - ErrorAreaWidth(m);
    int32_t baseline = ctx.box.top + extents.ascent;
    for (const std::string& line : parts.lines) {
      port.drawString(line, font, left, baseline);
      baseline += extents.Height();
    }
  } else if (!parts.label.empty()) {
    const int32_t x = ctx.box.right - m.u - TextWidth(parts.label, font);
    const RgbColor labelInk = port.foreground();
    SetPenColor(port, kMarkColor);
    port.drawString(parts.label, font, x, FontBaselineFor(env, kLevelMain, ctx.ReferenceY()));
    SetPenColor(port, labelInk);
  }
  if (statement && IsStale(obj)) DrawStaleFrame(env, port, ctx.Child(statement).box);
  SetPenColor(port, ink);
}

// Breaks text at blanks into lines no wider than width; a word wider than
// a line is broken between characters.
void AppendWrapped(std::vector<std::string>& lines, std::string_view word, const PortFont& font,
                   int32_t width) {
  std::string piece;
  for (char c : word) {
    std::string longer = piece + c;
    if (!piece.empty() && TextWidth(longer, font) > width) {
      lines.push_back(piece);
      piece.assign(1, c);
    } else {
      piece = std::move(longer);
    }
  }
  if (!piece.empty()) lines.push_back(piece);
}

}  // namespace

PortFont LabelFont(const LayoutEnv& env) {
  PortFont font = env.font(kFontMain, kLevelSmallest);
  font.bold = false;
  font.italic = true;
  return font;
}

std::string ConclusionErrorText(Handle conclusion) {
  const int32_t error = ErrorNumber(conclusion);
  if (error == 0) return {};
  const char* prefix = StringById(kStrCannotReManipulate);
  std::string text = prefix ? prefix : "";
  text += MessageText(error);
  const std::string detail = gLayoutHooks.conclusionErrorDetail(conclusion);
  if (!detail.empty()) text += " -- " + detail;
  return text;
}

std::vector<std::string> WrapLabelText(std::string_view text, const PortFont& font, int32_t width) {
  std::vector<std::string> lines;
  std::string line;
  size_t at = 0;
  while (at < text.size()) {
    const size_t blank = text.find(' ', at);
    const size_t end = blank == std::string_view::npos ? text.size() : blank;
    const std::string_view word = text.substr(at, end - at);
    at = end == text.size() ? end : end + 1;
    if (word.empty()) continue;
    const std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (TextWidth(joined, font) <= width) {
      line = joined;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    if (TextWidth(word, font) <= width) {
      line = std::string(word);
    } else {
      AppendWrapped(lines, word, font, width);
      line = lines.back();
      lines.pop_back();
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void RegisterStatementLayout() {
  for (TypeCode type : {kAssumption, kConclusion}) {
    gSizeTable.Set(type, SizeStatementRow);
    gDrawTable.Set(type, DrawStatementRow);
  }
}

}  // namespace lemmabox
