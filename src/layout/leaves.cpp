// Leaves: names, numbers, question marks and wildcards. Each is a text in
// one font; highlighting and clicking work on positions in that text.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/number_text.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "notebook/propositions.h"
#include "shell/charset.h"

namespace lemmabox {
namespace {

// Declared names, integers and reals are clicked at a fixed number of
// positions; the offsets stop at the end of the text.
constexpr int32_t kFixedTextPositions = 32;

std::string_view TextField(Handle obj) {
  return std::string_view(ObjText(obj), strnlen(ObjText(obj), kTextFieldSize));
}

// A name of one character, perhaps primed (x, x', x''), is a single letter.
FontSet NameFontSet(std::string_view spelling) {
  if (spelling.empty()) return kFontMain;
  for (size_t i = 1; i < spelling.size(); ++i)
    if (spelling[i] != '\'') return kFontMain;
  return kFontLetter;
}

// The spelling a declared name shows: its declaration's name when that is a
// plain name; otherwise there is none.
const char* DeclaredSpelling(Handle name) {
  Handle declaration = DeclOfName(name);
  return declaration ? DeclNameText(declaration) : nullptr;
}

std::string_view SpellingView(const char* spelling) {
  return std::string_view(spelling, strnlen(spelling, kTextFieldSize));
}

bool IsOperatorName(Handle name) {
  Handle declaration = DeclOfName(name);
  return declaration && DeclClass(declaration) == kNameDLinearOperator;
}

// --- the text a leaf shows ---

struct LeafText {
  std::string text;
  FontSet set = kFontMain;
  int32_t inset = 0;  // from the left edge to the text
  bool number = false;
};

int32_t NameInset(const LayoutMetrics& m, int level) {
  return m.eighth[level] + m.Points(1);
}

LeafText TextOf(Handle obj, const LayoutEnv& env, int level) {
  const LayoutMetrics& m = env.metrics();
  LeafText leaf;
  switch (ObjType(obj)) {
    case kUndeclaredName:
      leaf.text = TextField(obj);
      leaf.set = NameFontSet(leaf.text);
      leaf.inset = NameInset(m, level);
      break;
    case kName:
      if (const char* spelling = DeclaredSpelling(obj)) {
        leaf.text = SpellingView(spelling);
        leaf.set = NameFontSet(leaf.text);
      } else {
        leaf.text = "??";
      }
      leaf.inset = NameInset(m, level) * (IsOperatorName(obj) ? 2 : 1);
      break;
    case kWildcard:
      leaf.text = std::string(1, WildcardKind(obj));
      leaf.set = kFontQuestion;
      leaf.inset = m.eighth[level] + m.Points(2);
      break;
    case kQuestion:
      leaf.text = "?";
      leaf.set = kFontQuestion;
      break;
    default:
      leaf.text = NumberDisplayText(obj, env.style().significantDigits);
      leaf.number = true;
      break;
  }
  return leaf;
}

// --- numbers: a mantissa and, after the exponent marker, a raised exponent ---

struct NumberLayout {
  size_t mantissaLength = 0;  // bytes up to and including the exponent marker
  int32_t mantissaWidth = 0;
  int32_t exponentTop = 0;  // from the box's top
  int32_t exponentBaseline = 0;
  LayoutBox box;
};

// A text's box; numbers end at the font baseline unless the digits descend.
TextBox NumberTextBox(const LayoutEnv& env, int level, std::string_view text) {
  TextBox box = MeasureText(env, level, kFontMain, text);
  if (!env.digitsDescend()) box.height = env.extents(kFontMain, level).ascent;
  return box;
}

NumberLayout LayOutNumber(const LayoutEnv& env, int level, std::string_view text) {
  NumberLayout n;
  const size_t marker = text.find(static_cast<char>(kCharExponent));
  n.mantissaLength = marker == std::string_view::npos ? text.size() : marker + 1;
  const TextBox mantissa = NumberTextBox(env, level, text.substr(0, n.mantissaLength));
  n.mantissaWidth = mantissa.width;
  if (n.mantissaLength == text.size()) {
    n.box = LayoutBox{mantissa.width, mantissa.height, mantissa.baseline};
    return n;
  }
  const TextBox exponent = NumberTextBox(env, kLevelSmallest, text.substr(n.mantissaLength));
  // The exponent's reference line lies halfway between the mantissa's top
  // and its reference line.
  const int32_t exponentTop = mantissa.baseline / 2 - exponent.baseline;
  const int32_t top = std::min(0, exponentTop);
  const int32_t bottom = std::max(mantissa.height, exponentTop + exponent.height);
  n.exponentTop = exponentTop - top;
  n.exponentBaseline = exponent.baseline;
  n.box = LayoutBox{mantissa.width + exponent.width, bottom - top, mantissa.baseline - top};
  return n;
}

// --- sizing ---

LayoutBox NameBox(const LayoutEnv& env, int level, std::string_view spelling) {
  const LayoutMetrics& m = env.metrics();
  TextBox text = MeasureText(env, level, NameFontSet(spelling), spelling);
  return LayoutBox{text.width + 2 * m.eighth[level] + m.Points(2), text.height, text.baseline};
}

void SizeUndeclaredName(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  out = NameBox(*ctx.env, ctx.level, TextField(obj));
}

// A declaration keeps the sizes of its name at the three levels, measured
// once for a layout environment. Its fourth size slot tags them with the
// environment's stamp and the spelling's, so sizes measured for another port
// or before the name was changed are not reused.
int32_t SpellingStamp(const char* spelling) {
  uint32_t hash = 2166136261u;
  for (const char* p = spelling; p && *p; ++p) hash = (hash ^ static_cast<uint8_t>(*p)) * 16777619u;
  return static_cast<int32_t>(hash);
}

bool NameSizesCurrent(const DeclarationRecord& record, const LayoutEnv& env, const char* spelling) {
  return record.measured &&
         record.metrics[kLevelCount].width == static_cast<int32_t>(env.stamp()) &&
         record.metrics[kLevelCount].height == SpellingStamp(spelling);
}

void MeasureNameSizes(Handle declaration, const LayoutEnv& env) {
  DeclarationRecord& record = DeclRecord(declaration);
  const char* spelling = DeclNameText(declaration);
  for (int level = 0; level < kLevelCount; ++level) {
    LayoutBox box = spelling ? NameBox(env, level, SpellingView(spelling))
                             : LayoutBox{env.metrics().size[level], env.metrics().size[level],
                                         env.metrics().size[level]};
    record.metrics[level] = NameMetrics{box.width, box.height, box.baseline};
  }
  record.metrics[kLevelCount] =
      NameMetrics{static_cast<int32_t>(env.stamp()), SpellingStamp(spelling), 0};
  record.measured = 1;
}

void SizeDeclaredName(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  Handle declaration = DeclOfName(obj);
  if (!declaration || !DeclNameText(declaration)) {
    const int32_t s = ctx.Size();
    out = LayoutBox{s, s, s};
    return;
  }
  if (!NameSizesCurrent(DeclRecord(declaration), *ctx.env, DeclNameText(declaration)))
    MeasureNameSizes(declaration, *ctx.env);
  const NameMetrics& size = DeclRecord(declaration).metrics[ctx.level];
  out = LayoutBox{size.width, size.height, size.baseline};
}

void SizeNumber(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  out = LayOutNumber(*ctx.env, ctx.level, TextOf(obj, *ctx.env, ctx.level).text).box;
}

void SizeQuestion(Handle, const SizeContext& ctx, LayoutBox& out) {
  TextBox text = MeasureText(*ctx.env, ctx.level, kFontQuestion, "?");
  out = LayoutBox{text.width, ctx.Metrics().half[ctx.level] + text.baseline, text.baseline};
}

void SizeWildcard(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const char kind = WildcardKind(obj);
  TextBox text = MeasureText(*ctx.env, ctx.level, kFontQuestion, std::string_view(&kind, 1));
  out = LayoutBox{text.width + 2 * m.eighth[ctx.level] + m.Points(5), text.height + m.Points(3),
                  text.baseline};
}

// --- drawing ---

void DrawLeafText(Handle obj, const DrawContext& ctx) {
  const LeafText leaf = TextOf(obj, *ctx.env, ctx.level);
  DrawTextOnReference(ctx, leaf.set, ctx.level, leaf.text, ctx.box.left + leaf.inset,
                      ctx.ReferenceY());
}

void DrawNumber(Handle obj, const DrawContext& ctx) {
  const LayoutEnv& env = *ctx.env;
  const std::string text = TextOf(obj, env, ctx.level).text;
  const NumberLayout n = LayOutNumber(env, ctx.level, text);
  const std::string_view all(text);
  DrawTextOnReference(ctx, kFontMain, ctx.level, all.substr(0, n.mantissaLength), ctx.box.left,
                      ctx.ReferenceY());
  if (n.mantissaLength < all.size()) {
    DrawTextOnReference(ctx, kFontMain, kLevelSmallest, all.substr(n.mantissaLength),
                        ctx.box.left + n.mantissaWidth,
                        ctx.box.top + n.exponentTop + n.exponentBaseline);
  }
}

void DrawWildcard(Handle obj, const DrawContext& ctx) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t side = m.Points(1);
  ctx.port->frameZone(Rect{ctx.box.left + side, ctx.box.top, ctx.box.right - side, ctx.box.bottom});
  DrawLeafText(obj, ctx);
}

// --- positions in the text ---

int32_t TextLength(Handle obj, const LeafText& leaf) {
  switch (ObjType(obj)) {
    case kName:
    case kInteger:
    case kReal:
      return kFixedTextPositions;
    default:
      return static_cast<int32_t>(leaf.text.size());
  }
}

// The x offset of text position k from the object's left edge: 0 before the
// text, the box's width at or beyond its end.
int32_t TextOffset(const PlaceContext& ctx, const LeafText& leaf, int32_t k) {
  if (k <= 0) return 0;
  if (k >= static_cast<int32_t>(leaf.text.size())) return ctx.box.Width();
  const LayoutEnv& env = *ctx.env;
  const std::string_view text(leaf.text);
  if (!leaf.number)
    return leaf.inset + ProgramTextWidth(env, leaf.set, ctx.level, text.substr(0, k));
  const NumberLayout n = LayOutNumber(env, ctx.level, text);
  if (static_cast<size_t>(k) <= n.mantissaLength)
    return ProgramTextWidth(env, kFontMain, ctx.level, text.substr(0, k));
  return n.mantissaWidth + ProgramTextWidth(env, kFontMain, kLevelSmallest,
                                            text.substr(n.mantissaLength, k - n.mantissaLength));
}

void HiliteText(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out) {
  if (position < 0) {
    HiliteGeneric(obj, ctx, position, out);
    return;
  }
  const LeafText leaf = TextOf(obj, *ctx.env, ctx.level);
  out = SpanRect(ctx, TextOffset(ctx, leaf, RangeStart(position)),
                 TextOffset(ctx, leaf, RangeEnd(position)));
}

void HiliteQuestion(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out) {
  if (position == 1) {
    const int32_t middle = ctx.box.Width() / 2;
    out = SpanRect(ctx, middle, middle);
    return;
  }
  HiliteGeneric(obj, ctx, position, out);
}

bool ClickText(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture, Selection& out) {
  const LeafText leaf = TextOf(obj, *ctx.env, ctx.level);
  const RangeResult range = ApplyRangeRule(
      ctx.box.left, TextLength(obj, leaf), [&](int32_t k) { return TextOffset(ctx, leaf, k); },
      gesture);
  SelectRange(obj, range, gesture, out);
  return true;
}

}  // namespace

void MeasureDeclarationName(Handle declaration, const LayoutEnv& env) {
  MeasureNameSizes(declaration, env);
}

void RegisterLeafLayout() {
  gSizeTable.Set(kUndeclaredName, SizeUndeclaredName);
  gSizeTable.Set(kName, SizeDeclaredName);
  gSizeTable.Set(kNumberText, SizeNumber);
  gSizeTable.Set(kInteger, SizeNumber);
  gSizeTable.Set(kReal, SizeNumber);
  gSizeTable.Set(kQuestion, SizeQuestion);
  gSizeTable.Set(kWildcard, SizeWildcard);
  for (TypeCode type : {kUndeclaredName, kName, kQuestion}) gDrawTable.Set(type, DrawLeafText);
  for (TypeCode type : {kNumberText, kInteger, kReal}) gDrawTable.Set(type, DrawNumber);
  gDrawTable.Set(kWildcard, DrawWildcard);
  for (TypeCode type : {kUndeclaredName, kName, kNumberText, kInteger, kReal, kWildcard}) {
    gHiliteTable.Set(type, HiliteText);
    gClickTable.Set(type, ClickText);
    gCursorTable.Set(type, CursorExpression);
  }
  // A wildcard is one character: a click selects it whole or puts a caret by it.
  gClickTable.Set(kWildcard, ClickGeneric);
  gHiliteTable.Set(kQuestion, HiliteQuestion);
  gClickTable.Set(kQuestion, ClickGeneric);
  gCursorTable.Set(kQuestion, CursorExpression);
}

}  // namespace lemmabox
