// Whole expressions drawn to EPS and rendered by Ghostscript: the files
// must render without errors, with the ink inside the picture and where the
// layout put it. Set LEMMABOX_KEEP_RENDERINGS to a directory to keep the
// PNG renderings for looking at.
#include "layout/render.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "ports/output_sink.h"
#include "support/ghostscript.h"

namespace lemmabox::testing {
namespace {

namespace fs = std::filesystem;

class RenderTest : public LayoutTest {
 protected:
  void SetUp() override {
    LayoutTest::SetUp();
    directory_ = fs::temp_directory_path() /
                 ("lemmabox_render_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override {
    fs::remove_all(directory_);
    LayoutTest::TearDown();
  }

  // Writes the EPS of expr, renders it at `scale` pixels per point and reads
  // the picture back; the size of the EPS in points comes back in `size`.
  bool Render(Handle expr, const std::string& name, int scale, GrayPicture& picture, Point& size,
              std::string* eps = nullptr) {
    StringSink sink;
    size = WriteExpressionEps(sink, expr, style);
    if (eps) *eps = sink.text();
    const fs::path epsPath = directory_ / (name + ".eps");
    std::ofstream(epsPath) << sink.text();
    return RenderWithGhostscript(epsPath, true, 72 * scale, picture);
  }

 private:
  fs::path directory_;
};

TEST_F(RenderTest, ExpressionsRenderWithInkInsideThePicture) {
  if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript is not installed";
  struct Case {
    const char* name;
    const char* tree;
  };
  const Case cases[] = {
      {"fraction", "=(y,/(+(*(2,x),-(1)),^(+(x,1),2)))"},
      {"integral", "=(j(*(^(x,2),dx),0,1),/(1,3))"},
      {"summation", "*(s(k,1,n),^(k,2))"},
      {"product", "x(+(1,/(1,^(k,2))),k,1,n)"},
      {"limit", "l(x,0,/(;(sin,x),x))"},
      {"matrix", "*(m2x2(a,b,c,d),m2x1(x,y))"},
      {"brackets", "*(+(*(+(*(+(*(+(a,b),c),d),e),f),g),h),k)"},
      {"roots", "=(%(+(^(a,2),^(b,2))),|(-(z)))"},
      {"evaluate", ")(+(^(x,3),x),0,1)"},
      {"partial", "*(p(x),;(f,x))"},
      {"misc", "=(+(!(n),a(A),_(x,i),`a,?),f(x,>(x,0)))"},
      {"conditional", "{(m2x2(x,>(x,0),-(x),<(x,0)))"},
      {"numbers",
       "=(*(2,3,^(2,n)),+(#1.5\x90"
       "20,2.5,-(#7)))"},
      {"greek", "=(+(\x8C,\xBA,\xEE),*(2,\xB9,r))"},
      {"calculus", "=(j(*(^(x,2),dx),0,1),l(n,\xB0,*(s(k,1,n),/(^(k,2),^(n,3)))))"},
      {"structures", "=(*(m2x2(a,b,c,d),m2x1(x,y)),m2x1(+(*(a,x),*(b,y)),+(*(c,x),*(d,y))))"},
  };
  for (const Case& c : cases) {
    Handle expr = Make(c.tree);
    GrayPicture picture;
    Point size;
    ASSERT_TRUE(Render(expr, c.name, 4, picture, size)) << c.name;
    EXPECT_EQ(size.x * 4, picture.width) << c.name;
    EXPECT_EQ(size.y * 4, picture.height) << c.name;
    EXPECT_GT(picture.InkCount(), 50) << c.name << " drew nothing";
    // The 2-point margin around the expression stays clear.
    for (int x = 0; x < picture.width; ++x) {
      EXPECT_FALSE(picture.Ink(x, 0)) << c.name << " ink at the top edge, x " << x;
      EXPECT_FALSE(picture.Ink(x, picture.height - 1)) << c.name << " ink at the bottom edge";
    }
    for (int y = 0; y < picture.height; ++y) {
      EXPECT_FALSE(picture.Ink(0, y)) << c.name << " ink at the left edge, y " << y;
      EXPECT_FALSE(picture.Ink(picture.width - 1, y)) << c.name << " ink at the right edge";
    }
  }
}

TEST_F(RenderTest, CollapsedPartsShowAsDots) {
  if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript is not installed";
  Handle integral = Build("j(x,a,b)");
  SetFlag(integral, kFlagCollapsed);
  Handle sum = Build("+(a,b,c,d)");
  SetFlag(sum, kFlagCollapsed);
  Hdr(sum).aux = 2;
  Handle expr = Own(NewEquation(integral, sum));
  GrayPicture picture;
  Point size;
  std::string eps;
  ASSERT_TRUE(Render(expr, "collapsed", 4, picture, size, &eps));
  EXPECT_GT(picture.InkCount(), 50);
  // Only the shown term's letter is written; the rest are dots.
  EXPECT_NE(std::string::npos, eps.find("(c) t"));
  EXPECT_EQ(std::string::npos, eps.find("(a) t"));
  EXPECT_EQ(std::string::npos, eps.find("(d) t"));
}

}  // namespace
}  // namespace lemmabox::testing
