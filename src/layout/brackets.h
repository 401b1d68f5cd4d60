// Automatic brackets around parenthesised objects, in three shapes that
// nested brackets cycle through: round (0), square (1) and brace (2).
#pragma once

#include <cstdint>

#include "layout/context.h"

namespace lemmabox {

enum BigBracketKind : int {
  kBigParen = 1,
  kBigBrace = 2,
  kBigSquare = 7,
};

// Draws the brackets of obj, whose box (inside the brackets) ctx describes,
// in the shape its parenStyle names. Brackets narrower than 9 port units are
// thin polylines; wider ones are drawn as big brackets. Internal error "Bad
// Paren Style" for a shape other than 0, 1 and 2.
void DrawAutoParens(const DrawContext& ctx, int style);

// A bracket filling the height of `zone`, with strokes proportioned to a
// font of `fontSize` port units; `left` picks the opening bracket.
void DrawBigBracket(GraphicsPort& port, const Rect& zone, int32_t fontSize, BigBracketKind kind,
                    bool left);

}  // namespace lemmabox
