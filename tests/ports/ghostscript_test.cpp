// The PostScript port's output rendered by Ghostscript: it must run without
// errors and put the ink where the port was told to.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ports/font_metrics.h"
#include "ports/postscript_document.h"
#include "ports/postscript_port.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

bool HaveGhostscript() {
  return std::system("gs --version >/dev/null 2>&1") == 0;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // RGB, top row first

  RgbColor At(int x, int y) const {
    const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
    return RgbColor{p[0], p[1], p[2]};
  }
  bool IsInk(int x, int y) const { return At(x, y) != kWhite; }
};

// Reads a binary PPM, skipping the comment lines Ghostscript puts in.
bool ReadPpm(const std::string& path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  auto field = [&]() {
    std::string word;
    while (in >> word && word[0] == '#') {
      std::string rest;
      std::getline(in, rest);
    }
    return word;
  };
  std::string magic = field();
  picture.width = std::atoi(field().c_str());
  picture.height = std::atoi(field().c_str());
  std::string maximum = field();
  in.get();
  if (!in || magic != "P6" || maximum != "255" || picture.width <= 0 || picture.height <= 0) {
    return false;
  }
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 3);
  in.read(reinterpret_cast<char*>(picture.pixels.data()),
          static_cast<std::streamsize>(picture.pixels.size()));
  return static_cast<bool>(in);
}

class GhostscriptTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    directory = std::filesystem::path(::testing::TempDir()) / "lemmabox_gs_test";
    std::filesystem::create_directories(directory);
  }
  void TearDown() override {
    if (!directory.empty()) std::filesystem::remove_all(directory);
    HeadlessTest::TearDown();
  }

  // Renders an EPS at 72 dots per inch, one pixel per point.
  bool Render(const std::string& eps, Picture& picture) {
    std::string input = (directory / "picture.eps").string();
    std::string output = (directory / "picture.ppm").string();
    std::ofstream(input, std::ios::binary) << eps;
    std::string command =
        "gs -q -dNOPAUSE -dBATCH -dSAFER -dEPSCrop -r72 -sDEVICE=ppmraw "
        "-sOutputFile=" +
        output + " " + input + " -c showpage 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char buffer[512];
    messages.clear();
    while (std::fgets(buffer, sizeof buffer, pipe)) messages += buffer;
    int status = pclose(pipe);
    return status == 0 && messages.empty() && ReadPpm(output, picture);
  }

  std::filesystem::path directory;
  std::string messages;
};

// A scene with every kind of mark, drawn into a 100 x 60 point picture.
std::string DrawScene(const PostScriptOptions& options) {
  StringSink sink;
  PostScriptPort port(sink, Rect{200, 100, 300, 160}, options);
  port.setColors(RgbColor{255, 0, 0}, kWhite);
  port.paintZone(Rect{210, 110, 230, 130});  // red square at the top left
  port.setColors(kBlack, kWhite);
  port.drawDeluxeString("Ab\xE9\x92(x)", PortFont{"Times", 14}, TextStyle::kUnderline, 240, 125,
                        TextMode::kTransparent);
  port.drawString("\xE5p", PortFont{"Symbol", 14}, 240, 150);
  port.drawRotatedString("up", PortFont{"Helvetica", 8, true}, 0, 295, 155);
  port.integralSign(Rect{212, 135, 220, 158}, 2);
  port.paintCircle(Rect{265, 140, 275, 150});
  port.paintHorn(Horn{{280, 135}, {288, 145}, {280, 155}, {284, 145}, {280, 135}});
  port.startDeluxeLine(1, RgbColor{0, 0, 255}, LinePattern::kDashed, DrawMode::kNormal);
  port.moveTo(200, 159);
  port.lineTo(299, 159);
  port.endLine();
  PortImage mask{PortImage::Kind::kMask, 8, 2, {0xFF, 0xFF}};
  port.drawImage(mask, 230, 104);
  port.clipToZone(Rect{250, 100, 260, 110});
  port.setColors(RgbColor{0, 160, 0}, kWhite);
  port.paintZone(Rect{200, 100, 300, 160});  // only the clip shows: green
  port.close();
  return sink.text();
}

TEST_F(GhostscriptTest, EpsRendersWithTheInkInPlace) {
  struct Case {
    bool flipped;
    bool landscape;
  } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.flipped ? "flipped" : "upright") +
                 (c.landscape ? " landscape" : ""));
    PostScriptOptions options;
    options.flipped = c.flipped;
    options.landscape = c.landscape;
    Picture picture;
    ASSERT_TRUE(Render(DrawScene(options), picture)) << messages;
    // Port point (x, y) of the zone lands at this pixel.
    auto pixel = [&](int x, int y) {
      x -= 200;
      y -= 100;
      return c.landscape ? RgbColor(picture.At(y, picture.height - 1 - x)) : picture.At(x, y);
    };
    ASSERT_EQ(c.landscape ? 60 : 100, picture.width);
    ASSERT_EQ(c.landscape ? 100 : 60, picture.height);
    EXPECT_EQ((RgbColor{255, 0, 0}), pixel(220, 120));
    EXPECT_EQ(kWhite, pixel(205, 105));
    EXPECT_EQ(kWhite, pixel(235, 120));
    EXPECT_EQ((RgbColor{0, 160, 0}), pixel(255, 105));
    EXPECT_EQ(kWhite, pixel(262, 105));  // outside the clip
    EXPECT_EQ(kBlack, pixel(270, 145));  // the circle's centre
    EXPECT_EQ(kBlack, pixel(232, 105));  // the image
    EXPECT_EQ((RgbColor{0, 0, 255}), pixel(201, 159));
  }
}

TEST_F(GhostscriptTest, TextLandsInsideItsMeasuredBox) {
  StringSink sink;
  PortFont font{"Times", 40};
  const std::string text = "Hxg";
  {
    PostScriptOptions options;
    PostScriptPort port(sink, Rect{0, 0, 120, 60}, options);
    port.drawString(text, font, 10, 40);
  }
  Picture picture;
  ASSERT_TRUE(Render(sink.text(), picture)) << messages;
  Rect ink = TextInkBox(text, font);
  ink.left += 10;
  ink.right += 10;
  ink.top += 40;
  ink.bottom += 40;
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!picture.IsInk(x, y)) continue;
      bool in = x >= ink.left - 1 && x <= ink.right + 1 && y >= ink.top - 1 && y <= ink.bottom + 1;
      (in ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(0, outside);
  // The advance ends where the next text would start: "H" then "xg".
  EXPECT_EQ(TextWidth("H", font) + TextWidth("xg", font), TextWidth(text, font));
}

TEST_F(GhostscriptTest, DocumentsPrintEveryPage) {
  StringSink sink;
  PostScriptPageSetup setup;
  setup.resolution = 300;
  {
    PostScriptDocument document(sink, setup);
    for (int page = 1; page <= 3; ++page) {
      PostScriptPort& port = document.BeginPage();
      port.drawString("Page " + std::to_string(page) + " caf\xE9", PortFont{"Times", 50}, 100, 300);
      port.startLine(3);
      port.moveTo(100, 400);
      port.lineTo(2000, 400);
      port.endLine();
    }
    document.Finish();
  }
  std::string input = (directory / "document.ps").string();
  std::ofstream(input, std::ios::binary) << sink.text();
  std::string pattern = (directory / "page%d.ppm").string();
  std::string command =
      "gs -q -dNOPAUSE -dBATCH -dSAFER -r10 -sDEVICE=ppmraw -sOutputFile=" + pattern + " " + input +
      " 2>&1";
  ASSERT_EQ(0, std::system(command.c_str()));
  for (int page = 1; page <= 3; ++page) {
    Picture picture;
    ASSERT_TRUE(ReadPpm((directory / ("page" + std::to_string(page) + ".ppm")).string(), picture));
    EXPECT_EQ(83, picture.width);  // A4 at 10 dots per inch
    EXPECT_EQ(117, picture.height);
    // The rule sits 400/300 inch below the top of the paper.
    EXPECT_TRUE(picture.IsInk(30, 13)) << page;
  }
  EXPECT_FALSE(std::filesystem::exists(directory / "page4.ppm"));
}

}  // namespace
}  // namespace lemmabox
