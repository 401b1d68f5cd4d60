// Font metrics: the one source of text sizes for every port.
//
// The screen, the printer and PostScript output all measure text with the
// Adobe font metric (AFM) files of the 35 standard PostScript fonts, as
// shipped by the URW base-35 fonts (Times is Nimbus Roman, Helvetica is Nimbus
// Sans, Courier is Nimbus Mono PS, Symbol is Standard Symbols PS, ...). So a
// notebook lays out the same on every device, and the tests see the same
// numbers on every machine. Each file is read once, the first time one of its
// fonts is needed, and kept for the rest of the run.
//
// Text handed to a port is a string of bytes in the font's encoding: the
// Windows ANSI character set for the text fonts, the font's own codes for
// Symbol and ZapfDingbats. Kerning is not applied.
//
// Failures: a font file that cannot be found or read raises 13202 (the
// "important file" message, naming the installation as the thing to check);
// a file that is not a readable AFM raises 13148.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ports/port.h"

namespace lemmabox {

// Glyph box in 1/1000 em, y upwards from the baseline as in the AFM file.
struct GlyphBox {
  int32_t left = 0;
  int32_t bottom = 0;
  int32_t right = 0;
  int32_t top = 0;
  bool IsEmpty() const { return right <= left || top <= bottom; }
};

struct GlyphMetrics {
  std::string name;
  int32_t width = 0;  // advance, 1/1000 em
  GlyphBox box;
};

// The metrics of one face. All values are in 1/1000 em.
struct FaceMetrics {
  std::string fontName;        // FontName in the file ("NimbusRoman-Regular")
  std::string familyName;      // FamilyName in the file
  std::string postScriptName;  // the standard name written into PostScript
  bool fontSpecific = false;   // Symbol, Dingbats: codes are drawn as they are
  bool bold = false;           // the face itself is bold / italic
  bool italic = false;
  double italicAngle = 0;
  int32_t capHeight = 0;
  int32_t xHeight = 0;
  // Line box: the tallest and deepest glyphs of the printable range (the
  // files' own Ascender and Descender when they give them).
  int32_t ascent = 0;
  int32_t descent = 0;  // positive, below the baseline
  int32_t underlinePosition = 0;
  int32_t underlineThickness = 0;
  GlyphBox fontBox;
  std::vector<GlyphMetrics> glyphs;
  // Glyph index for each code of the font's built-in encoding, -1 for none.
  std::array<int32_t, 256> encoding{};
  // Glyph index drawn for each byte of text handed to a port, -1 for none
  // (see the top of this file).
  std::array<int32_t, 256> byteGlyph{};

  // -1 when the face has no glyph of that name.
  int32_t GlyphIndex(std::string_view name) const;

  std::unordered_map<std::string, int32_t> glyphByName;
};

// Parses the text of an AFM file. Any byte sequence is accepted as input: a
// file that is not a usable AFM raises 13148. The PostScript name is left for
// the caller (the font table knows it); bold and italic come from the file's
// Weight and ItalicAngle; byteGlyph follows the file's encoding scheme (the
// font's own codes for FontSpecific faces, the Windows ANSI set otherwise).
std::unique_ptr<FaceMetrics> ParseAfm(std::string_view text);

// The glyph name of a Windows ANSI code (the text fonts' byte encoding), or
// ".notdef" for the codes it leaves undefined.
std::string_view WinAnsiGlyphName(uint8_t code);

// A font request resolved to a face.
struct ResolvedFont {
  const FaceMetrics* face = nullptr;
  // The family the request ended up with ("System" for unknown families).
  const char* family = "";
  // Emphasis the face does not have and that drawing must imitate.
  bool syntheticBold = false;
  bool syntheticItalic = false;
};

// Finds the face for a font, loading its file on first use. Family names
// are compared without regard to case, blanks and hyphens, and the common
// names of the same designs are understood ("Times New Roman", "Arial",
// "Nimbus Sans", ...). A family that cannot be found is replaced by "System",
// which is drawn with Helvetica's faces. A family without a bold or italic
// face (Symbol, ZapfDingbats, ZapfChancery) gets the missing emphasis
// synthesised.
ResolvedFont ResolveFont(const PortFont& font);

// The standard family names, for font menus: AvantGarde, Bookman, Courier,
// Helvetica, Helvetica-Narrow, NewCenturySchlbk, Palatino, Times, ZapfChancery,
// ZapfDingbats, Symbol.
std::vector<std::string> FontFamilyNames();

// Vertical metrics of a font in port units (the font's size is its em).
struct FontExtents {
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t capHeight = 0;
  int32_t xHeight = 0;
  int32_t Height() const { return ascent + descent; }
};

FontExtents MeasureFontExtents(const PortFont& font);
// Advance width of text in port units.
int32_t TextWidth(std::string_view text, const PortFont& font);
// The ink of text relative to its origin on the baseline, y downwards, in port
// units; an empty rectangle when nothing is inked.
Rect TextInkBox(std::string_view text, const PortFont& font);

// Scales a length in 1/1000 em to port units for a font size, rounding to
// the nearest unit.
int32_t ScaleFontUnits(int64_t thousandths, int32_t size);

// Loads the faces every notebook starts with (Times and Symbol, plain and
// italic), raising 13202 when their files are missing. Start-up calls it so
// that a machine without the fonts says so at once, not at the first drawing.
void LoadStartupFonts();

// Where the AFM files are looked for. The default is the system directory of
// the URW base-35 fonts; LEMMABOX_FONT_DIR overrides it, and so does this
// call, which also forgets every face loaded so far.
void SetFontDirectory(const std::string& directory);
std::string FontDirectory();

}  // namespace lemmabox
