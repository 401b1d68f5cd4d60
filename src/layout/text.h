// Text of math objects: measuring and drawing strings of the program's
// character set with the fonts of a layout environment.
//
// Each byte is drawn by the rule of shell/charset.h: plain bytes in the
// requested font, mapped ones in the Symbol font of the same level, and the
// three specials by rules of their own (the exponent marker as "x10" in the
// Symbol font, the question glyph as "?" in the question-mark font, h-bar as
// an "h" with a stroke). Measuring follows the same classification, so the
// widths that layout computes are the widths that drawing covers.
#pragma once

#include <cstdint>
#include <string_view>

#include "layout/metrics.h"

namespace lemmabox {

// A measured text at one level, relative to the object's reference line
// (which lies a quarter of the level size above the font baseline).
struct TextBox {
  int32_t width = 0;
  int32_t height = 0;    // font ascent + descent
  int32_t baseline = 0;  // reference offset: from the top to the reference line
};

// The advance width of text.
int32_t ProgramTextWidth(const LayoutEnv& env, FontSet set, int level, std::string_view text);

// Width and box of text: the top lies (ascent - quarter) above the reference
// line, the bottom (descent + quarter) below it.
TextBox MeasureText(const LayoutEnv& env, int level, FontSet set, std::string_view text);

// Draws text starting at x with its font baseline at y.
void DrawProgramText(const LayoutEnv& env, GraphicsPort& port, FontSet set, int level,
                     std::string_view text, int32_t x, int32_t y);

// Text already in the Symbol font's own codes (the big operators, arrows),
// measured and drawn without the character-set mapping.
int32_t SymbolTextWidth(const LayoutEnv& env, int level, std::string_view codes);
void DrawSymbolText(const LayoutEnv& env, GraphicsPort& port, int level, std::string_view codes,
                    int32_t x, int32_t y);

// Where the font baseline of text lies for an object whose reference line is at y.
inline int32_t FontBaselineFor(const LayoutEnv& env, int level, int32_t referenceY) {
  return referenceY + env.metrics().quarter[level];
}

}  // namespace lemmabox
