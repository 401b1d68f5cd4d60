// The fonts of the screen: the same URW faces whose metric files lay the
// notebook out, drawn through Qt without hinting.
//
// Layout measures every text with the AFM metrics (ports/font_metrics.h);
// the screen draws each glyph of the very face those metrics describe, placed
// at the advance the metrics give, so what the screen shows lines up with what
// layout computed and with what PostScript prints.
#pragma once

#include <QRawFont>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <string_view>

#include "ports/port.h"

namespace lemmabox {

struct FaceMetrics;

// One face made ready for drawing at one pixel size.
struct ScreenFace {
  const FaceMetrics* metrics = nullptr;
  QRawFont raw;  // invalid when the face's font file cannot be loaded
  // The glyph of the raw font for each byte of text, 0 for none.
  const std::array<quint32, 256>* glyphs = nullptr;
  bool syntheticBold = false;
  bool syntheticItalic = false;
};

// The face for a port font at a size in pixels (the font's em).
ScreenFace ScreenFaceFor(const PortFont& font);

// The file a face is drawn from: the Type 1 file beside its metrics, else the
// OpenType file of the same face; "" when neither exists.
QString ScreenFontFile(const FaceMetrics& face);

// Glyph indices and positions for text, the positions relative to the start
// of the text on its baseline, advancing by the metrics' widths in pixels.
struct PlacedGlyphs {
  QVector<quint32> glyphs;
  QVector<QPointF> positions;
  double advance = 0;  // the whole text's advance
};
PlacedGlyphs PlaceGlyphs(const ScreenFace& face, std::string_view text, int32_t size);

// The Unicode character a byte of text stands for in a face's byte encoding:
// Windows-1252 for the text faces, the Symbol encoding for Symbol.
char32_t UnicodeOfFaceByte(const FaceMetrics& face, uint8_t byte);

// Forgets every loaded font (after the font directory changed).
void ResetScreenFonts();

}  // namespace lemmabox
