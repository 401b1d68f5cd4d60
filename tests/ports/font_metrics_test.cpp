// Font metrics from the AFM files: known widths, family resolution, the
// derived line box, and what happens with bad or missing files.
#include "ports/font_metrics.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/charset.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

class FontMetricsTest : public HeadlessTest {};

PortFont Font(const char* family, int32_t size, bool bold = false, bool italic = false) {
  return PortFont{family, size, bold, italic};
}

// At size 1000 a port unit is one AFM unit, so the file's numbers come back
// unchanged.
TEST_F(FontMetricsTest, WidthsComeFromTheFontFiles) {
  struct Case {
    PortFont font;
    std::string text;
    int32_t width;
  } cases[] = {
      {Font("Times", 1000), "A", 722},
      {Font("Times", 1000, true), "A", 722},
      {Font("Times", 1000, false, true), "A", 611},
      {Font("Helvetica", 1000), "A", 667},
      {Font("Courier", 1000), "Ax(", 1800},
      {Font("Symbol", 1000), "a", 631},           // alpha
      {Font("Symbol", 1000), "\xE5", 713},        // summation
      {Font("Symbol", 1000), "\xA5", 713},        // infinity
      {Font("ZapfDingbats", 1000), "\x21", 974},  // the font's own code
      {Font("Times", 1000), "gx0", 1500},
      {Font("Times", 1000), "\xE9", 444},  // eacute, outside the font's own encoding
      {Font("Times", 1000), "'", 180},     // the straight quote of the ANSI set
      {Font("Times", 1000), "", 0},
      {Font("Times", 1000), "\x81\x8D\x01", 0},  // undefined codes draw nothing
      {Font("Times", 12), "A", 9},               // 722 * 12 / 1000 = 8.66
      {Font("Times", 12), "AAAA", 35},           // summed before rounding: 34.66
      {Font("Times", 1), "I", 0},                // 333 thousandths round down
      {Font("Times", 0), "AAAA", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.width, TextWidth(c.text, c.font)) << c.font.family << " \"" << c.text << "\"";
  }
}

TEST_F(FontMetricsTest, FamiliesResolveToTheStandardFaces) {
  struct Case {
    PortFont font;
    const char* postScriptName;
    const char* family;
    bool syntheticBold;
    bool syntheticItalic;
  } cases[] = {
      {Font("Times", 10), "Times-Roman", "Times", false, false},
      {Font("times new roman", 10, true, true), "Times-BoldItalic", "Times", false, false},
      {Font("Arial", 10, false, true), "Helvetica-Oblique", "Helvetica", false, false},
      {Font("Nimbus Sans", 10, true), "Helvetica-Bold", "Helvetica", false, false},
      {Font("Courier New", 10, true, true), "Courier-BoldOblique", "Courier", false, false},
      {Font("Helvetica-Narrow", 10, true), "Helvetica-Narrow-Bold", "Helvetica-Narrow", false,
       false},
      {Font("New Century Schoolbook", 10, true, true), "NewCenturySchlbk-BoldItalic",
       "NewCenturySchlbk", false, false},
      {Font("Palatino", 10, false, true), "Palatino-Italic", "Palatino", false, false},
      {Font("Bookman", 10), "Bookman-Light", "Bookman", false, false},
      {Font("AvantGarde", 10, true), "AvantGarde-Demi", "AvantGarde", false, false},
      // One-face families imitate what they lack.
      {Font("Symbol", 10, true, true), "Symbol", "Symbol", true, true},
      {Font("ZapfChancery", 10, true, true), "ZapfChancery-MediumItalic", "ZapfChancery", true,
       false},
      {Font("ZapfDingbats", 10), "ZapfDingbats", "ZapfDingbats", false, false},
      // Unknown families become "System".
      {Font("No Such Family", 10), "Helvetica", "System", false, false},
      {Font("", 10, true), "Helvetica-Bold", "System", false, false},
  };
  for (const Case& c : cases) {
    ResolvedFont resolved = ResolveFont(c.font);
    ASSERT_NE(nullptr, resolved.face);
    EXPECT_EQ(c.postScriptName, resolved.face->postScriptName) << c.font.family;
    EXPECT_STREQ(c.family, resolved.family) << c.font.family;
    EXPECT_EQ(c.syntheticBold, resolved.syntheticBold) << c.font.family;
    EXPECT_EQ(c.syntheticItalic, resolved.syntheticItalic) << c.font.family;
  }
  EXPECT_EQ(11u, FontFamilyNames().size());
}

// Every character of the text fonts' byte encoding must exist in every text
// face, or it would silently vanish from screen and paper.
TEST_F(FontMetricsTest, EveryTextFaceHasEveryAnsiGlyph) {
  for (const std::string& family : FontFamilyNames()) {
    for (int style = 0; style < 4; ++style) {
      const FaceMetrics& face = *ResolveFont(Font(family.c_str(), 10, style & 1, style & 2)).face;
      if (face.fontSpecific) continue;
      for (int code = 0x20; code < 0x100; ++code) {
        std::string_view name = WinAnsiGlyphName(static_cast<uint8_t>(code));
        if (name == ".notdef") continue;
        EXPECT_GE(face.byteGlyph[code], 0) << face.postScriptName << " lacks " << name;
      }
    }
  }
}

// Every character of the notebook's character set prints: the plain ones in
// each text face, the others in the Symbol font.
TEST_F(FontMetricsTest, EveryProgramCharacterHasAGlyph) {
  const FaceMetrics& symbol = *ResolveFont(Font("Symbol", 10)).face;
  for (int c = 0x20; c < 0x100; ++c) {
    Glyph glyph = GlyphOf(static_cast<uint8_t>(c));
    char32_t unicode = UnicodeFromProgramChar(static_cast<uint8_t>(c));
    if (glyph.kind == GlyphKind::kSymbol) {
      EXPECT_GE(symbol.byteGlyph[glyph.code], 0) << std::hex << c;
    } else if (glyph.kind == GlyphKind::kPlain && unicode != 0x7F &&
               !(unicode >= 0x80 && unicode < 0xA0)) {  // controls print nothing
      for (const char* family : {"Times", "Helvetica", "Courier", "Palatino"}) {
        EXPECT_GE(ResolveFont(Font(family, 10)).face->byteGlyph[glyph.code], 0)
            << family << " " << std::hex << c;
      }
    }
  }
}

TEST_F(FontMetricsTest, LineBoxAndHeightsArePlausibleForEveryFace) {
  for (const std::string& family : FontFamilyNames()) {
    for (int style = 0; style < 4; ++style) {
      const FaceMetrics& face = *ResolveFont(Font(family.c_str(), 10, style & 1, style & 2)).face;
      SCOPED_TRACE(face.postScriptName);
      EXPECT_GT(face.ascent, 500);
      EXPECT_LT(face.ascent, 1100);
      EXPECT_GT(face.descent, 50);
      EXPECT_LT(face.descent, 400);
      if (!face.fontSpecific) {
        EXPECT_GT(face.capHeight, face.xHeight);
        EXPECT_GT(face.xHeight, 0);
        EXPECT_LT(face.capHeight, face.ascent);
      }
    }
  }
  FontExtents times = MeasureFontExtents(Font("Times", 1000));
  EXPECT_EQ(662, times.capHeight);
  EXPECT_EQ(450, times.xHeight);
  FontExtents small = MeasureFontExtents(Font("Times", 12));
  EXPECT_EQ(12, small.Height());  // 749 + 249 thousandths of 12
}

TEST_F(FontMetricsTest, InkBoxFollowsTheGlyphs) {
  // "g" hangs below the baseline, "x" sits on it; y grows downwards.
  Rect g = TextInkBox("g", Font("Times", 1000));
  EXPECT_EQ((Rect{28, -460, 470, 218}), g);
  Rect xs = TextInkBox("xx", Font("Times", 1000));
  EXPECT_EQ((Rect{17, -450, 500 + 479, 0}), xs);
  EXPECT_EQ(Rect{}, TextInkBox("   ", Font("Times", 1000)));
  // An imitated slant leans the ink right; the advance is unchanged.
  Rect slanted = TextInkBox("x", Font("Symbol", 1000, false, true));
  Rect upright = TextInkBox("x", Font("Symbol", 1000));
  EXPECT_GT(slanted.right, upright.right);
  EXPECT_EQ(TextWidth("x", Font("Symbol", 1000, false, true)),
            TextWidth("x", Font("Symbol", 1000)));
}

TEST_F(FontMetricsTest, MissingFontFilesRaiseTheImportantFileMessage) {
  std::string saved = FontDirectory();
  SetFontDirectory("/nonexistent/lemmabox-fonts");
  EXPECT_RAISES(kMsgMissingImportantFile, LoadStartupFonts());
  EXPECT_RAISES(kMsgMissingImportantFile, TextWidth("A", Font("Times", 12)));
  EXPECT_RAISES(kMsgMissingImportantFile, MeasureFontExtents(Font("Symbol", 12)));
  SetFontDirectory(saved);
  EXPECT_RAISES(0, LoadStartupFonts());
  EXPECT_EQ(9, TextWidth("A", Font("Times", 12)));
}

constexpr const char* kSmallAfm =
    "StartFontMetrics 2.0\r\n"
    "Comment a made-up face\r\n"
    "FontName Test-Face\r\n"
    "Weight Bold\r\n"
    "ItalicAngle -12.5\r\n"
    "FontBBox -10 -200 900 800\r\n"
    "CapHeight 700\r\n"
    "XHeight 480.4\r\n"
    "Ascender 720\r\n"
    "Descender -210\r\n"
    "EncodingScheme FontSpecific\r\n"
    "StartCharMetrics 4\r\n"
    "C 32 ; WX 250 ; N space ; B 0 0 0 0 ;\r\n"
    "CH <41> ; W0X 600.6 ; N A ; B 10 0 590 700 ; L A AA ;\r\n"
    "C -1 ; WX 500 ; N extra ; B 0 0 1 1 ;\r\n"
    "C 255 ; W 300 0 ; N last ;\n"
    "EndCharMetrics\n"
    "StartKernData\n"
    "StartKernPairs 1\n"
    "KPX A A -50\n"
    "EndKernPairs\n"
    "EndKernData\n"
    "EndFontMetrics\n";

TEST_F(FontMetricsTest, ParserReadsTheFieldsItNeeds) {
  std::unique_ptr<FaceMetrics> face = ParseAfm(kSmallAfm);
  EXPECT_EQ("Test-Face", face->fontName);
  EXPECT_TRUE(face->bold);
  EXPECT_TRUE(face->italic);
  EXPECT_TRUE(face->fontSpecific);
  EXPECT_DOUBLE_EQ(-12.5, face->italicAngle);
  EXPECT_EQ(700, face->capHeight);
  EXPECT_EQ(480, face->xHeight);
  EXPECT_EQ(720, face->ascent);
  EXPECT_EQ(210, face->descent);
  ASSERT_EQ(4u, face->glyphs.size());
  EXPECT_EQ(601, face->glyphs[face->encoding['A']].width);
  EXPECT_EQ(300, face->glyphs[face->encoding[255]].width);
  EXPECT_EQ(2, face->GlyphIndex("extra"));
  EXPECT_EQ(-1, face->encoding['B']);
  // Symbol-like faces draw bytes as the codes they are.
  EXPECT_EQ(face->encoding['A'], face->byteGlyph['A']);
}

TEST_F(FontMetricsTest, ParserRefusesWhatIsNotAnAfmFile) {
  const std::string good = kSmallAfm;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string cases[] = {
      "",
      "\x89PNG\r\n\x1a\n",
      replaced("StartFontMetrics 2.0", "Comment"),
      replaced("FontName Test-Face", "FontName"),
      replaced("FontName Test-Face", "Comment no name"),
      replaced("C 32 ;", "C 256 ;"),
      replaced("C 32 ;", "C 3.5 ;"),
      replaced("CH <41>", "CH <141>"),
      replaced("W0X 600.6", "W0X 6e9"),
      replaced("W0X 600.6", "W0X nan"),
      replaced("B 10 0 590 700", "B 10 0 590"),
      replaced("N A ;", "N \x01 ;"),
      replaced("N A ;", "N A) show (x ;"),
      replaced("C -1 ; WX 500", "WX 500"),
      replaced("EndCharMetrics", "EndCharMetrix"),
      replaced("StartCharMetrics 4", "StartCharMetrics 4\nStartCharMetrics 4"),
      good.substr(0, good.find("C 32")),
  };
  for (const std::string& text : cases) {
    EXPECT_RAISES(kMsgCorruptData, ParseAfm(text)) << text.substr(0, 60);
  }
}

}  // namespace
}  // namespace lemmabox
