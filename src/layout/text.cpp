#include "layout/text.h"

#include <string>

#include "shell/charset.h"

namespace lemmabox {
namespace {

// The exponent marker is shown as the Symbol font's times sign and "10".
constexpr std::string_view kExponentSymbols =
    "\xB4"
    "10";

// Advance of bytes already in a face's encoding, in 1/1000 em.
int64_t FaceAdvance(const FaceMetrics& face, std::string_view bytes) {
  int64_t total = 0;
  for (char c : bytes) {
    int32_t index = face.byteGlyph[static_cast<uint8_t>(c)];
    if (index >= 0) total += face.glyphs[index].width;
  }
  return total;
}

// Walks text run by run: plain runs in the requested set, single characters
// in the Symbol set, and the specials. `visit(set, bytes, special)` is called
// for each piece in order; `special` is the special byte or 0.
template <class Visit>
void ForEachRun(FontSet set, std::string_view text, Visit&& visit) {
  size_t runStart = 0;
  auto flush = [&](size_t end) {
    if (end > runStart) visit(set, text.substr(runStart, end - runStart), uint8_t{0});
  };
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t byte = static_cast<uint8_t>(text[i]);
    Glyph glyph = GlyphOf(byte);
    if (glyph.kind == GlyphKind::kPlain) continue;
    flush(i);
    runStart = i + 1;
    if (glyph.kind == GlyphKind::kSymbol) {
      char code = static_cast<char>(glyph.code);
      visit(kFontSymbol, std::string_view(&code, 1), uint8_t{0});
    } else if (byte == kCharExponent) {
      visit(kFontSymbol, kExponentSymbols, byte);
    } else if (byte == kCharQuestionGlyph) {
      visit(kFontQuestion, std::string_view("?"), byte);
    } else {
      visit(set, std::string_view("h"), byte);
    }
  }
  flush(text.size());
}

}  // namespace

int32_t ProgramTextWidth(const LayoutEnv& env, FontSet set, int level, std::string_view text) {
  // Widths are summed per font in 1/1000 em and scaled once per font, as the
  // port measures a run; so a plain text measures exactly as the port does.
  int64_t total[kFontSetCount] = {};
  ForEachRun(set, text, [&](FontSet runSet, std::string_view bytes, uint8_t) {
    total[runSet] += FaceAdvance(env.face(runSet), bytes);
  });
  int32_t width = 0;
  for (int s = 0; s < kFontSetCount; ++s)
    if (total[s] != 0)
      width += ScaleFontUnits(total[s], env.font(static_cast<FontSet>(s), level).size);
  return width;
}

TextBox MeasureText(const LayoutEnv& env, int level, FontSet set, std::string_view text) {
  const FontExtents& extents = env.extents(set, level);
  TextBox box;
  box.width = ProgramTextWidth(env, set, level, text);
  box.height = extents.ascent + extents.descent;
  box.baseline = extents.ascent - env.metrics().quarter[level];
  return box;
}

int32_t SymbolTextWidth(const LayoutEnv& env, int level, std::string_view codes) {
  return ScaleFontUnits(FaceAdvance(env.face(kFontSymbol), codes),
                        env.font(kFontSymbol, level).size);
}

void DrawSymbolText(const LayoutEnv& env, GraphicsPort& port, int level, std::string_view codes,
                    int32_t x, int32_t y) {
  port.drawString(codes, env.font(kFontSymbol, level), x, y);
}

void DrawProgramText(const LayoutEnv& env, GraphicsPort& port, FontSet set, int level,
                     std::string_view text, int32_t x, int32_t y) {
  int64_t advance[kFontSetCount] = {};
  auto xAt = [&]() {
    int32_t offset = 0;
    for (int s = 0; s < kFontSetCount; ++s)
      if (advance[s] != 0)
        offset += ScaleFontUnits(advance[s], env.font(static_cast<FontSet>(s), level).size);
    return x + offset;
  };
  ForEachRun(set, text, [&](FontSet runSet, std::string_view bytes, uint8_t special) {
    const PortFont& font = env.font(runSet, level);
    int32_t at = xAt();
    port.drawString(bytes, font, at, y);
    if (special == kCharHBar) {
      // The bar of h-bar: a short rising stroke across the ascender.
      const int32_t s = env.metrics().size[level];
      const int32_t hWidth = ScaleFontUnits(FaceAdvance(env.face(runSet), bytes), font.size);
      port.startLine(s / 32 + 1);
      port.moveTo(at, y - s / 2);
      port.lineTo(at + hWidth / 2, y - 3 * s / 4);
      port.endLine();
    }
    advance[runSet] += FaceAdvance(env.face(runSet), bytes);
  });
}

}  // namespace lemmabox
