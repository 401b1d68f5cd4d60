// The PostScript port's output, checked as text.
#include "ports/postscript_port.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ports/postscript_document.h"
#include "shell/interrupt.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

class PostScriptPortTest : public HeadlessTest {
 protected:
  static PostScriptOptions Options(bool eps = true, bool flipped = false) {
    PostScriptOptions options;
    options.eps = eps;
    options.flipped = flipped;
    options.creationDate = "Mon Jan 01 00:00:00 2024";
    return options;
  }
  StringSink sink;
};

size_t Count(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::istringstream in(text);
  for (std::string token; in >> token;) tokens.push_back(token);
  return tokens;
}

size_t CountTokens(const std::string& text, const std::string& token) {
  size_t count = 0;
  for (const std::string& t : Tokens(text)) count += t == token;
  return count;
}

// The output with line breaks turned into blanks, for checking sequences
// that the port may break across lines.
std::string Flat(const std::string& text) {
  std::string flat;
  for (const std::string& t : Tokens(text)) flat += t + " ";
  return flat;
}

TEST_F(PostScriptPortTest, EpsFilesCarryHeaderBoundingBoxAndTrailer) {
  PostScriptOptions options = Options();
  options.resolution = 300;
  options.version = "2.1";
  {
    PostScriptPort port(sink, Rect{10, 20, 610, 320}, options);
    port.drawString("A", PortFont{"Times", 50}, 20, 100);
  }  // destroying the port writes the trailer
  const std::string& text = sink.text();
  EXPECT_EQ(0u, text.find("%!PS-Adobe-2.0 EPSF-1.2\n"
                          "%%Creator: Lemmabox (R) version 2.1\n"
                          "%%Title:Untitled\n"
                          "%%CreationDate:Mon Jan 01 00:00:00 2024\n"
                          "%%Pages 0\n"
                          "%%DocumentFonts: (atend)\n"
                          "%%BoundingBox:0 0 144 72\n"  // 600 x 300 units of 1/300 inch
                          "%%EndComments\n"
                          "save\n"
                          "1 setlinecap 0 setlinejoin  2 setmiterlimit\n"
                          "6 array currentmatrix aload pop pop pop abs exch abs add exch abs add "
                          "exch abs add 2 exch div /onepx exch def\n"
                          "[ 0.24 0 0 -0.24 0 72 ] concat\n"
                          "%%EndProlog\n"
                          "-10 -20  translate\n"
                          "gsave \n"))
      << text;
  const std::string trailer = "grestore\n%%Trailer\n%%DocumentFonts: Times-Roman\nrestore\n%%EOF\n";
  ASSERT_GE(text.size(), trailer.size());
  EXPECT_EQ(trailer, text.substr(text.size() - trailer.size()));

  StringSink landscapeSink;
  options.landscape = true;
  PostScriptPort landscape(landscapeSink, Rect{10, 20, 610, 320}, options);
  EXPECT_NE(std::string::npos, landscapeSink.text().find("%%BoundingBox:0 0 72 144\n"));
  EXPECT_NE(std::string::npos, landscapeSink.text().find("[ 0 0.24 0.24 0 0 0 ] concat"));
  EXPECT_EQ(72, landscape.boundingWidth());
  EXPECT_EQ(144, landscape.boundingHeight());
}

TEST_F(PostScriptPortTest, PagesOfADocumentHaveNoEpsComments) {
  PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options(false));
  port.close();
  port.close();  // only once
  EXPECT_EQ(0u, sink.text().find("1 setlinecap"));
  EXPECT_EQ(std::string::npos, sink.text().find("%%"));
  EXPECT_EQ(std::string::npos, Flat(sink.text()).find(" save "));
  EXPECT_EQ(1u, CountTokens(sink.text(), "grestore"));
}

void DrawOneOfEverything(PostScriptPort& port, RgbColor color) {
  Point triangle[] = {{0, 0}, {10, 0}, {0, 10}};
  port.setColors(color, kWhite);
  port.paintZone(Rect{0, 0, 5, 5});
  port.paintCircle(Rect{0, 0, 6, 6});
  port.paintHorn(Horn{{0, 0}, {2, 5}, {0, 10}, {1, 5}, {0, 0}});
  port.paintPolygon(triangle);
  port.drawString("Ab", PortFont{"Times", 12}, 5, 20);
  port.startDeluxeLine(2, color, LinePattern::kDotted, DrawMode::kNormal);
  port.moveTo(0, 0);
  port.lineTo(10, 10);
  port.endLine();
  port.startLine(1);
  port.dotAt(3, 3);
  port.endLine();
}

TEST_F(PostScriptPortTest, ProceduresAreDefinedOnceAndOnlyWhenUsed) {
  const std::string definitions[] = {"/G {",  "/C {",       "/Ls {", "/Ldt {", "/Lds {",
                                     "/Lw {", "/S /stroke", "/M {",  "/L {",   "/R {",
                                     "/H {",  "/T {",       "/t {",  "/ts {"};
  {
    PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
    port.close();
  }
  for (const std::string& definition : definitions) {
    EXPECT_EQ(0u, Count(sink.text(), definition)) << definition;
  }

  // Greys only: G without C.
  StringSink greys;
  {
    PostScriptPort port(greys, Rect{0, 0, 100, 100}, Options());
    DrawOneOfEverything(port, RgbColor{100, 100, 100});
    DrawOneOfEverything(port, kBlack);
  }
  EXPECT_EQ(1u, Count(greys.text(), "/G {"));
  EXPECT_EQ(0u, Count(greys.text(), "/C {"));

  StringSink both;
  {
    PostScriptPort port(both, Rect{0, 0, 100, 100}, Options());
    DrawOneOfEverything(port, RgbColor{200, 0, 0});
    DrawOneOfEverything(port, RgbColor{50, 50, 50});
    DrawOneOfEverything(port, RgbColor{0, 0, 200});
    port.drawString("x", PortFont{"Symbol", 12}, 0, 0);
  }
  for (const std::string& definition : definitions) {
    EXPECT_EQ(1u, Count(both.text(), definition)) << definition;
  }

  // Each file (and each page) defines its own.
  StringSink second;
  {
    PostScriptPort port(second, Rect{0, 0, 100, 100}, Options());
    DrawOneOfEverything(port, RgbColor{200, 0, 0});
  }
  EXPECT_EQ(1u, Count(second.text(), "/R {"));
  EXPECT_EQ(1u, Count(second.text(), "/T {"));
}

TEST_F(PostScriptPortTest, LongLinesStartAFreshPathEvery300Segments) {
  {
    PostScriptPort port(sink, Rect{0, 0, 1000, 100}, Options());
    port.startLine(1);
    port.moveTo(0, 0);
    for (int32_t i = 1; i <= 650; ++i) port.lineTo(i, i % 7);
    port.endLine();
  }
  // The 301st segment begins a new path at the point the 300th ended.
  std::string flat = Flat(sink.text());
  EXPECT_NE(std::string::npos, flat.find(" 300 6 L S 300 6 M 301 0 L "));
  EXPECT_NE(std::string::npos, flat.find(" 600 5 L S 600 5 M 601 6 L "));
  size_t longest = 0;
  size_t segments = 0;
  size_t strokes = 0;
  for (const std::string& token : Tokens(sink.text())) {
    if (token == "L") longest = std::max(longest, ++segments);
    if (token == "S") {
      segments = 0;
      ++strokes;
    }
  }
  EXPECT_EQ(300u, longest);
  EXPECT_EQ(3u, strokes);  // two restarts and the end of the line
  EXPECT_EQ(650u, CountTokens(sink.text(), "L"));
}

TEST_F(PostScriptPortTest, FlippedPortsWriteHeightMinusY) {
  {
    PostScriptPort port(sink, Rect{0, 0, 200, 100}, Options(true, true));
    port.setColors(kBlack, kWhite);
    port.paintZone(Rect{10, 20, 30, 40});
    port.paintCircle(Rect{10, 20, 30, 40});
    port.startLine(1);
    port.moveTo(5, 0);
    port.lineTo(5, 100);
    port.endLine();
    port.drawString("x", PortFont{"Times", 10}, 7, 90);
  }
  const std::string& text = sink.text();
  EXPECT_NE(std::string::npos, text.find("[ 1 0 0 1 0 0 ] concat"));
  EXPECT_NE(std::string::npos,
            text.find("10 80 moveto 30 80 lineto 30 60 lineto 10 60 lineto closepath fill"));
  EXPECT_NE(std::string::npos, text.find("10 60 20 R"));  // the corner nearest the origin
  EXPECT_NE(std::string::npos, text.find("5 100 M 5 0 L S"));
  EXPECT_NE(std::string::npos, text.find("7 10 /Times-Roman"));
  EXPECT_NE(std::string::npos, text.find("/M {currentlinewidth .5 mul sub exch"));
  EXPECT_NE(std::string::npos, text.find("/L {currentlinewidth .5 mul sub exch"));
  // The user space is upright, so glyphs need no turning over and the
  // underline goes down by going down.
  EXPECT_NE(std::string::npos, text.find("/fmat [ fsize 0 fital fsize 0 0 ]"));
  EXPECT_NE(std::string::npos, text.find("0 fsize 12 div neg rmoveto"));

  StringSink upright;
  {
    PostScriptPort port(upright, Rect{0, 0, 200, 100}, Options(true, false));
    port.paintZone(Rect{10, 20, 30, 40});
    port.startLine(1);
    port.moveTo(5, 0);
    port.drawString("x", PortFont{"Times", 10}, 7, 90);
  }
  EXPECT_NE(std::string::npos, upright.text().find("10 20 moveto 30 20 lineto"));
  EXPECT_NE(std::string::npos, upright.text().find("/M {currentlinewidth .5 mul add exch"));
  EXPECT_NE(std::string::npos, upright.text().find("/fmat [ fsize 0 fital fsize neg 0 0 ]"));
  EXPECT_NE(std::string::npos, upright.text().find("0 fsize 12 div rmoveto"));
}

TEST_F(PostScriptPortTest, MisuseIsReportedAsInternalErrors) {
  PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
  PortImage broken{PortImage::Kind::kMask, 16, 2, std::vector<uint8_t>(3)};
  struct Case {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"PS moveTo", [&] { port.moveTo(1, 1); }},
      {"PS moveTo", [&] { port.move(1, 1); }},
      {"PS moveTo", [&] { port.dotAt(1, 1); }},
      {"PS lineTo", [&] { port.lineTo(1, 1); }},
      {"PS lineTo", [&] { port.line(1, 1); }},
      {"PS moveTo",
       [&] {
         port.startLine(1);
         port.endLine();
         port.moveTo(2, 2);
       }},
      {"paintCircle not square",
       [&] {
         port.paintCircle(Rect{0, 0, 10, 11});
       }},
      {"pCopy mode not supported for PS text",
       [&] { port.drawDeluxeString("x", PortFont{}, 0, 0, 0, TextMode::kCopy); }},
      {"pPostScriptPort::savePix",
       [&] {
         port.savePix(Rect{0, 0, 5, 5});
       }},
      {"PS::drawImage", [&] { port.drawImage(broken, 0, 0); }},
      {"pPostScriptPort::stretchImage",
       [&] {
         port.stretchImage(broken, Rect{0, 0, 5, 5});
       }},
      {"pPostScriptPort::restorePix",
       [&] {
         port.restorePix(SavedPixels{{}, broken});
       }},
      {"pGr::drawAsianString", [&] { port.drawAsianString("x", PortFont{}, 0, 0); }},
  };
  for (const Case& c : cases) {
    EXPECT_INTERNAL_ERROR(c.name, c.call());
  }
  // Empty saved pixels (from a port that had nothing to save) draw nothing.
  size_t before = sink.text().size();
  port.restorePix(SavedPixels{});
  EXPECT_EQ(before, sink.text().size());
}

TEST_F(PostScriptPortTest, ClippingKeepsSavesBalancedAndForgetsTheGraphicsState) {
  Point triangle[] = {{0, 0}, {10, 0}, {0, 10}};
  PortImage mask{PortImage::Kind::kMask, 8, 1, {0xAA}};
  {
    PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
    port.setColors(RgbColor{200, 0, 0}, kWhite);
    port.startLine(3);
    port.moveTo(0, 0);
    port.lineTo(5, 5);
    port.clipToZone(Rect{10, 10, 50, 50});  // ends the open path first
    port.lineTo(9, 9);
    port.endLine();
    port.paintZone(Rect{0, 0, 5, 5});
    port.paintPolygon(triangle);
    port.clipToZone(Rect{0, 0, 100, 100});
    port.drawRotatedString("up", PortFont{"Helvetica", 9}, 0, 0, 50);
    port.drawImage(mask, 3, 3);
    port.clipToZone(Rect{20, 20, 30, 30});
    port.paintZone(Rect{0, 0, 5, 5});
    port.startLine(3);
    port.endLine();
  }
  const std::string& text = sink.text();
  EXPECT_EQ(CountTokens(text, "gsave"), CountTokens(text, "grestore"));
  EXPECT_EQ(1u, CountTokens(text, "save"));
  EXPECT_EQ(1u, CountTokens(text, "restore"));
  EXPECT_NE(std::string::npos,
            text.find("grestore gsave 10 10 moveto 50 10 lineto 50 50 lineto 10 50 lineto "
                      "clip newpath"));
  // After each clip the colour and the pen are set again when next used.
  EXPECT_EQ(4u, Count(text, "200 0 0 C"));
  EXPECT_EQ(3u, Count(text, "3 Lw"));
  // The line open at the first clip was stroked before it and goes on after.
  EXPECT_NE(std::string::npos, Flat(text).find("5 5 L S grestore gsave"));
  EXPECT_NE(std::string::npos, Flat(text).find("5 5 M 9 9 L S"));
}

TEST_F(PostScriptPortTest, TextIsEscapedReencodedAndStyled) {
  {
    PostScriptPort port(sink, Rect{0, 0, 300, 100}, Options());
    PortFont times{"Times", 12};
    port.drawString("a(b)c\\d", times, 1, 2);
    port.drawString("\x92'\x81", times, 1, 2);  // quoteright, quotesingle, undefined
    port.drawString("caf\xE9!", times, 1, 2);
    port.drawString("\xE5\x01p", PortFont{"Symbol", 14}, 3, 4);
    port.drawDeluxeString("w", PortFont{"Times", 20, false, true},
                          TextStyle::kBold | TextStyle::kUnderline, 5, 6, TextMode::kTransparent);
    port.drawDeluxeString("s", PortFont{"Symbol", 20, true, false}, TextStyle::kItalic, 7, 8,
                          TextMode::kTransparent);
  }
  const std::string& text = sink.text();
  EXPECT_NE(std::string::npos, text.find("1 2 /Times-Roman 0 0 0 12 T (a\\(b\\)c\\\\d) t "));
  // The font's own encoding has both quotes, at other codes than the ANSI set.
  EXPECT_NE(std::string::npos, text.find("1 2 /Times-Roman 0 0 0 12 T ('\\251) t "));
  EXPECT_NE(std::string::npos,
            text.find("(caf) t \ncurrentfont dup length dict /over_fdic exch def\n"
                      "{1 index /FID ne {over_fdic 3 1 roll put} {pop pop} "
                      "ifelse } forall\n"
                      "/over_enc 256 array def over_fdic /Encoding get "
                      "over_enc copy\n"
                      "200 /eacute put\n"
                      "over_fdic /Encoding over_enc put /over_font over_fdic "
                      "definefont\n"
                      "currentfont exch setfont (\\310) t setfont\n(!) t "));
  EXPECT_NE(std::string::npos, text.find("3 4 /Symbol 0 0 0 14 T (\\345p) ts "));
  EXPECT_NE(std::string::npos, text.find("5 6 /Times-Italic 1 0 1 20 T (w) t "));
  EXPECT_NE(std::string::npos, text.find("7 8 /Symbol 1 1 0 20 T (s) ts "));
  EXPECT_NE(std::string::npos, text.find("%%DocumentFonts: Times-Roman Symbol Times-Italic\n"));
}

TEST_F(PostScriptPortTest, OutputLinesStayShort) {
  {
    PostScriptPort port(sink, Rect{0, 0, 30000, 100}, Options());
    std::string long_text(600, 'x');
    long_text[100] = '(';
    long_text[200] = '\xE5';
    port.drawString(long_text, PortFont{"Symbol", 10}, 0, 50);
    port.startLine(1);
    port.moveTo(0, 0);
    for (int32_t i = 0; i < 250; ++i) port.lineTo(i * 100, i % 2);
    port.endLine();
  }
  std::istringstream lines(sink.text());
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 255u) << line.substr(0, 40);
  }
  // The long string was continued with backslash-newline and lost nothing.
  std::string text = sink.text();
  std::string joined;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == '\n') {
      ++at;
      continue;
    }
    joined += text[at];
  }
  std::string expected = "(" + std::string(100, 'x') + "\\(" + std::string(99, 'x') + "\\345" +
                         std::string(399, 'x') + ") ts";
  EXPECT_NE(std::string::npos, joined.find(expected));
}

TEST_F(PostScriptPortTest, PenAndColourAreWrittenOnlyWhenTheyChange) {
  {
    PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
    port.setColors(RgbColor{10, 20, 30}, RgbColor{250, 250, 250});
    port.paintZone(Rect{0, 0, 1, 1});
    port.paintZone(Rect{0, 0, 2, 2});
    port.eraseZone(Rect{0, 0, 3, 3});
    port.paintZone(Rect{0, 0, 4, 4});
    port.startLine(2);
    port.endLine();
    port.startLine(2);
    port.endLine();
    port.drawDeluxeString("u", PortFont{"Times", 12}, TextStyle::kUnderline, 0, 0,
                          TextMode::kTransparent);
    port.startLine(2);  // the underline changed the width
    port.endLine();
  }
  const std::string& text = sink.text();
  EXPECT_EQ(2u, Count(text, "10 20 30 C"));  // the pen shares the fill's colour
  EXPECT_EQ(1u, Count(text, "250 G"));
  EXPECT_EQ(2u, Count(text, "2 Lw"));
  EXPECT_EQ(1u, CountTokens(text, "Ls"));
}

TEST_F(PostScriptPortTest, DotsAndDashPatterns) {
  PostScriptOptions options = Options();
  options.resolution = 300;
  {
    PostScriptPort port(sink, Rect{-100, 0, 100, 100}, options);
    port.startDeluxeLine(3, kBlack, LinePattern::kDotted, DrawMode::kInvert);
    port.dotAt(7, 8);
    port.dotAt(-3, 8);
    port.dotAt(-1, 8);
    port.startDeluxeLine(3, kBlack, LinePattern::kDashed, DrawMode::kNormal);
    port.endLine();
  }
  const std::string& text = sink.text();
  // A tenth of a unit to the right of the point, on either side of zero.
  EXPECT_NE(std::string::npos, text.find("7 8 M 7.1 8 L "));
  EXPECT_NE(std::string::npos, text.find("-3 8 M -2.9 8 L "));
  EXPECT_NE(std::string::npos, text.find("-1 8 M -0.9 8 L "));
  // u is a 32nd of the resolution: dotted u on 3u off, dashed 6u on 6u off.
  EXPECT_NE(std::string::npos,
            text.find("/Ldt { [9 27] 0 setdash} bind def /Lds { [54] 0 setdash} bind def"));
  std::string flat = Flat(text);
  EXPECT_LT(flat.find(" Ldt "), flat.find("7 8 M"));
  EXPECT_NE(std::string::npos, flat.find("S Lds"));
}

TEST_F(PostScriptPortTest, ImagesBecomeImageOperators) {
  PortImage mask{PortImage::Kind::kMask, 16, 2, {0xF0, 0x0F, 0xAA, 0x55}};
  PortImage rgb{PortImage::Kind::kRgb, 2, 1, {255, 0, 0, 255, 255, 255}};
  {
    PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
    port.setColors(RgbColor{0, 0, 255}, kWhite);
    port.drawImage(mask, 5, 6);
    port.stretchImage(rgb, Rect{10, 10, 50, 30});
    port.restoreColorize(SavedPixels{Rect{1, 2, 3, 3}, rgb}, RgbColor{0, 128, 0});
    port.restoreStretch(SavedPixels{Rect{}, mask}, Rect{0, 0, 32, 4});
  }
  std::string flat = Flat(sink.text());
  EXPECT_NE(std::string::npos,
            flat.find("0 0 255 C gsave /picstr 2 string def 5 6 translate 16 2 true [1 0 0 1 0 "
                      "0] {currentfile picstr readhexstring pop} imagemask f00faa55 grestore"));
  EXPECT_NE(std::string::npos,
            flat.find("10 10 translate 2 1 8 [2 40 div 0 0 1 20 div 0 0] {currentfile picstr "
                      "readhexstring pop} false 3 colorimage ff0000ffffff grestore"));
  // Colourised: the ink of the picture (its red pixel) in the given colour.
  EXPECT_NE(std::string::npos,
            flat.find("0 128 0 C gsave /picstr 1 string def 1 2 translate 2 1 true [1 0 0 1 0 "
                      "0] {currentfile picstr readhexstring pop} imagemask 80 grestore"));
  EXPECT_NE(std::string::npos, flat.find("[16 32 div 0 0 2 4 div 0 0]"));
}

TEST_F(PostScriptPortTest, ClonesDrawIntoTheSameOutput) {
  {
    PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options());
    port.setColors(RgbColor{9, 9, 9}, kWhite);
    {
      std::unique_ptr<GraphicsPort> copy = port.clone();
      copy->paintZone(Rect{0, 0, 1, 1});
    }  // a clone writes no trailer
    EXPECT_EQ(std::string::npos, sink.text().find("%%Trailer"));
    port.paintZone(Rect{0, 0, 2, 2});
  }
  EXPECT_EQ(1u, Count(sink.text(), "9 G"));  // the clone set it for both
  EXPECT_EQ(1u, Count(sink.text(), "%%Trailer"));
}

TEST_F(PostScriptPortTest, EscapeCancelsALongPicture) {
  PostScriptPort port(sink, Rect{0, 0, 100, 100}, Options(false));
  ResetInterruptCheck();  // as the idle pass before a command does
  platform.autoAdvanceMs = 100;
  platform.escapeHeld = true;
  EXPECT_RAISES(kMsgUserInterrupt, {
    for (int i = 0; i < 100000; ++i) port.paintZone(Rect{0, 0, 1, 1});
  });
  platform.escapeHeld = false;
  ResetInterruptCheck();
}

TEST_F(PostScriptPortTest, DocumentsHaveNumberedIndependentPages) {
  PostScriptPageSetup setup;
  setup.creationDate = "today";
  setup.title = "Notes.axn\nshowpage";  // a title cannot slip code in
  {
    PostScriptDocument document(sink, setup);
    EXPECT_EQ((Rect{0, 0, 2479, 3508}), document.pageZone());  // A4 at 300 dpi
    PostScriptPort& first = document.BeginPage();
    first.drawString("one", PortFont{"Times", 50}, 100, 100);
    PostScriptPort& second = document.BeginPage();  // ends the first
    second.drawString("two", PortFont{"Helvetica", 50}, 100, 100);
    document.Finish();
    EXPECT_EQ(2, document.pageCount());
  }
  const std::string& text = sink.text();
  EXPECT_EQ(0u, text.find("%!PS-Adobe-3.0\n%%Creator: Lemmabox (R) "));
  EXPECT_NE(std::string::npos, text.find("\n%%Title: Notes.axn showpage\n%%CreationDate: today\n"));
  EXPECT_NE(std::string::npos, text.find("%%Pages: (atend)"));
  EXPECT_NE(std::string::npos, text.find("%%BoundingBox: 0 0 595 842"));
  EXPECT_NE(std::string::npos, text.find("%%Page: 1 1\nsave\n1 setlinecap"));
  EXPECT_NE(std::string::npos, text.find("%%Page: 2 2\nsave\n1 setlinecap"));
  EXPECT_EQ(2u, Count(text, "grestore\nrestore showpage\n"));
  EXPECT_EQ(2u, Count(text, "/T {"));  // every page defines what it uses
  EXPECT_NE(std::string::npos,
            text.find("%%Trailer\n%%Pages: 2\n%%DocumentFonts: Times-Roman Helvetica\n%%EOF\n"));

  setup.landscape = true;
  StringSink wide;
  PostScriptDocument landscape(wide, setup);
  EXPECT_EQ((Rect{0, 0, 3508, 2479}), landscape.pageZone());
}

TEST_F(PostScriptPortTest, FilesAppearOnlyWhenCommitted) {
  std::string path = ::testing::TempDir() + "lemmabox_sink_test.eps";
  std::remove(path.c_str());
  { std::ofstream(path) << "old"; }
  {
    FileSink file(path);
    file.Write("new picture");
  }  // dropped: the old file stays
  auto contents = [&] {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ("old", contents());
  {
    FileSink file(path);
    file.Write("new ");
    file.Write("picture");
    file.Commit();
    EXPECT_FALSE(std::ifstream(file.temporaryPath()).good());
  }
  EXPECT_EQ("new picture", contents());
  std::remove(path.c_str());
  EXPECT_RAISES(kMsgFileAccessDenied, FileSink("/nonexistent-dir/x.eps"));
}

}  // namespace
}  // namespace lemmabox
