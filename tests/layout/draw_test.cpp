// Drawing: clipping, the collapsed placeholder, brackets, the marks of each
// type and the characters that need the Symbol font, as a recording port
// sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "layout/brackets.h"
#include "layout/draw_obj.h"
#include "layout/icons.h"
#include "layout/size_obj.h"
#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/propositions.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class DrawTest : public LayoutTest {
 protected:
  // Lays expr out and draws it at the origin, everything in the clip.
  void Draw(Handle expr, Rect clip = Rect{-10000, -10000, 10000, 10000}) {
    Lay(expr);
    recorder.calls.clear();
    DrawAtOrigin(expr, *env, recorder, clip);
  }
  // The texts drawn in a font family, in order.
  std::vector<std::string> TextsIn(const std::string& family) const {
    std::vector<std::string> texts;
    for (const DrawCall& call : recorder.Texts())
      if (call.family == family) texts.push_back(call.text);
    return texts;
  }
  DrawContext ContextFor(const Rect& box, int32_t baseline) {
    DrawContext ctx;
    ctx.env = env.get();
    ctx.port = &recorder;
    ctx.box = box;
    ctx.baseline = baseline;
    return ctx;
  }

  RecordingPort recorder;
};

TEST_F(DrawTest, OnlyWhatMeetsTheClipIsDrawnButAllIsMarked) {
  Handle sum = Make("+(a,b)");
  Lay(sum);
  SetFlag(sum, kFlagHidden);
  DrawAtOrigin(sum, *env, recorder, Rect{500, 500, 600, 600});
  EXPECT_TRUE(recorder.calls.empty());
  EXPECT_TRUE(HasFlag(sum, kFlagDrawn));
  EXPECT_FALSE(HasFlag(sum, kFlagHidden));
  EXPECT_FALSE(HasFlag(ObjSlot(sum, 0), kFlagDrawn)) << "its operands were not reached";

  // A clip that takes in only the second operand draws it (and the sum's
  // own sign) but not the first operand.
  const Rect b = Hdr(ObjSlot(sum, 1)).box;
  DrawAtOrigin(sum, *env, recorder, Rect{b.left + 1, b.top, b.right, b.bottom});
  EXPECT_EQ((std::vector<std::string>{"+", "b"}), TextsIn("Times"));
  EXPECT_TRUE(HasFlag(ObjSlot(sum, 0), kFlagDrawn));
}

TEST_F(DrawTest, CollapsedObjectsDrawDotsOrTheirShownOperand) {
  Handle integral = Make("j(x,a,b)");
  SetFlag(integral, kFlagCollapsed);
  Draw(integral);
  EXPECT_EQ(0, recorder.Count("integral"));
  EXPECT_EQ(0, recorder.Count("text"));
  // Dots every 5 units across two level sizes, on the reference line less a unit.
  EXPECT_EQ((M().twice[0] + 4) / 5, recorder.Count("dot"));
  for (const DrawCall& call : recorder.calls) {
    if (call.op == "dot") {
      EXPECT_EQ(Hdr(integral).baseline - 1, call.points[0].y);
    }
  }

  Handle product = Make("*(a,b,c)");
  SetFlag(product, kFlagCollapsed);
  Hdr(product).aux = 1;
  Draw(product);
  EXPECT_EQ(std::vector<std::string>{"b"}, TextsIn("Times"));
  EXPECT_EQ(2 * ((M().twice[0] + 4) / 5), recorder.Count("dot")) << "dots before and after";
}

TEST_F(DrawTest, ThinOrBigBracketsByMargin) {
  // Margin K + height / 16: 4 + 79 / 16 = 8 draws thin polylines, 4 + 80 / 16
  // = 9 big brackets.
  DrawAutoParens(ContextFor(Rect{100, 0, 200, 79}, 40), 0);
  EXPECT_EQ(2, recorder.Count("line"));
  EXPECT_EQ(0, recorder.Count("polygon"));
  EXPECT_LE(recorder.calls[0].points[0].x, 100);
  EXPECT_GE(recorder.calls[0].points[0].x, 100 - 8);
  recorder.calls.clear();
  DrawAutoParens(ContextFor(Rect{100, 0, 200, 80}, 40), 0);
  EXPECT_EQ(2, recorder.Count("polygon"));
  for (const DrawCall& call : recorder.calls) {
    for (const Point& p : call.points) {
      EXPECT_TRUE((p.x >= 100 - 9 && p.x <= 100) || (p.x >= 200 && p.x <= 200 + 9)) << p.x;
      EXPECT_GE(p.y, 0);
      EXPECT_LE(p.y, 80);
    }
  }
  recorder.calls.clear();
  DrawAutoParens(ContextFor(Rect{100, 0, 200, 80}, 40), 1);
  EXPECT_EQ(2, recorder.Count("polygon"));
  recorder.calls.clear();
  DrawAutoParens(ContextFor(Rect{100, 0, 200, 80}, 40), 2);
  EXPECT_EQ(2, recorder.Count("line")) << "a big brace is stroked";
  EXPECT_INTERNAL_ERROR("Bad Paren Style", DrawAutoParens(ContextFor(Rect{0, 0, 10, 10}, 5), 3));
}

TEST_F(DrawTest, NestedBracketShapesRepeatAfterThree) {
  Draw(Make("*(+(*(+(*(+(*(+(a,b),c),d),e),f),g),h),k)"));
  // Each small bracket is one polyline: a parenthesis has 5 or 6 corners, a
  // square bracket 4, a brace 7. Outermost first, left bracket then right.
  std::vector<size_t> corners;
  for (const DrawCall& call : recorder.calls)
    if (call.op == "line") corners.push_back(call.points.size());
  ASSERT_EQ(8u, corners.size());
  auto shape = [](size_t n) { return n == 4 ? 1 : n == 7 ? 2 : 0; };
  // Drawing goes inside out: the innermost brackets come first.
  const int expected[4] = {0, 2, 1, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(expected[i], shape(corners[2 * i])) << "bracket pair " << i;
    EXPECT_EQ(corners[2 * i], corners[2 * i + 1]);
  }
}

TEST_F(DrawTest, NumberFactorsAreSetApartByADot) {
  Draw(Make("*(2,3)"));
  ASSERT_EQ(1, recorder.Count("dot"));
  Draw(Make("*(2,x)"));
  EXPECT_EQ(0, recorder.Count("dot"));
  Draw(Make("*(x,^(2,n))"));
  EXPECT_EQ(1, recorder.Count("dot"));
}

TEST_F(DrawTest, ProgramCharactersUseTheSymbolFont) {
  struct Case {
    const char* spelling;
    std::string symbolText;
  };
  const Case cases[] = {{"\xB0", "\xA5"},  // infinity
                        {"\xB9", "p"},     // pi
                        {"\x8C", "a"},     // alpha
                        {"\xA4", "\xB6"},  // partial
                        {"-", "-"}};       // the hyphen is the Symbol font's minus
  for (const Case& c : cases) {
    Handle name = Own(NewUndeclaredName(c.spelling));
    Draw(name);
    EXPECT_EQ(std::vector<std::string>{c.symbolText}, TextsIn("Symbol")) << c.spelling;
    EXPECT_TRUE(TextsIn("Times").empty());
  }
  // A name of plain and mapped characters is drawn run by run, in order.
  Handle mixed =
      Own(NewUndeclaredName("a\x8C"
                            "b"));
  Draw(mixed);
  const std::vector<DrawCall> texts = recorder.Texts();
  ASSERT_EQ(3u, texts.size());
  EXPECT_EQ("a", texts[0].text);
  EXPECT_EQ("a", texts[1].text);
  EXPECT_EQ("Symbol", texts[1].family);
  EXPECT_EQ("b", texts[2].text);
  EXPECT_LT(texts[0].points[0].x, texts[1].points[0].x);
  EXPECT_LT(texts[1].points[0].x, texts[2].points[0].x);
  EXPECT_EQ(texts[1].points[0].x + FontWidth("a", kFontSymbol, 0), texts[2].points[0].x);

  // The exponent marker: "x10" in the Symbol font and the raised exponent.
  Handle number =
      Own(NewNumberText("2\x90"
                        "5"));
  Draw(number);
  EXPECT_EQ((std::vector<std::string>{"2", "5"}), TextsIn("Times"));
  EXPECT_EQ(std::vector<std::string>{"\xB4"
                                     "10"},
            TextsIn("Symbol"));
  const std::vector<DrawCall> parts = recorder.Texts();
  EXPECT_EQ(env->font(kFontMain, kLevelSmallest).size, parts.back().size);
  EXPECT_LT(parts.back().points[0].y, parts.front().points[0].y) << "the exponent is raised";

  // h-bar is an "h" with a stroke.
  Draw(Own(NewUndeclaredName("\xEE")));
  EXPECT_EQ(std::vector<std::string>{"h"}, TextsIn("Times"));
  EXPECT_EQ(1, recorder.Count("line"));
}

TEST_F(DrawTest, OperatorsDrawTheirMarks) {
  // Text is drawn a quarter size below the reference line.
  Handle sum = Make("+(a,b)");
  Draw(sum);
  const std::vector<DrawCall> texts = recorder.Texts();
  ASSERT_EQ(3u, texts.size());
  EXPECT_EQ("+", texts[1].text);
  EXPECT_EQ(Hdr(sum).baseline + M().quarter[0], texts[1].points[0].y);
  EXPECT_EQ(Hdr(ObjSlot(sum, 0)).box.right + (2 * 12 + 8) / 16, texts[1].points[0].x);

  // A fraction's rule runs along its reference line, a rule's width in.
  Handle fraction = Make("/(a,b)");
  Draw(fraction);
  ASSERT_EQ(1, recorder.Count("line"));
  const DrawCall& rule = recorder.calls.back();
  EXPECT_EQ(Hdr(fraction).baseline, rule.points[0].y);
  EXPECT_EQ(M().rule[0], rule.points[0].x);
  EXPECT_EQ(Hdr(fraction).box.right - 2 * M().rule[0], rule.points[1].x);

  // An integral's sign stands between its limits' reference lines.
  Handle integral = Make("j(x,a,b)");
  Draw(integral);
  ASSERT_EQ(1, recorder.Count("integral"));
  for (const DrawCall& call : recorder.calls) {
    if (call.op != "integral") continue;
    EXPECT_EQ(Hdr(ObjSlot(integral, 2)).baseline, call.zone.top);
    EXPECT_EQ(M().half[0], call.zone.Width());
    EXPECT_EQ(M().u2, call.size);
  }

  // The big operators are Symbol characters; lim is a word.
  Draw(Make("s(i,a,b)"));
  EXPECT_EQ(std::vector<std::string>{"\xE5"}, TextsIn("Symbol"));
  Draw(Make("x(y,i,a,b)"));
  EXPECT_EQ(std::vector<std::string>{"\xD5"}, TextsIn("Symbol"));
  Draw(Make("l(x,a,y)"));
  EXPECT_EQ(std::vector<std::string>{"\xAE"}, TextsIn("Symbol"));
  const std::vector<std::string> words = TextsIn("Times");
  EXPECT_NE(words.end(), std::find(words.begin(), words.end(), "lim"));
  Draw(Make("f(x,y)"));
  EXPECT_EQ((std::vector<std::string>{"\x22", ":"}), TextsIn("Symbol"));
  // A wildcard is framed.
  Draw(Make("`k"));
  EXPECT_EQ(1, recorder.Count("frame"));
  // An unmeasurable declared name shows "??".
  Handle odd = Own(NewObj(kName, kTextPayload));
  DeclOfName(odd) = Own(NewNameDecl(Build("+(a,b)"), kNameVariable));
  Draw(odd);
  EXPECT_EQ(std::vector<std::string>{"??"}, TextsIn("Times"));
  EXPECT_INTERNAL_ERROR("DrawObj", DrawObj(nullptr, ContextFor(Rect{}, 0)));
}

TEST_F(DrawTest, EntryIconsComeInThreeSizes) {
  struct Case {
    EntryIcon icon;
    int step;
    int32_t id;
    int32_t side;
  };
  const Case cases[] = {{EntryIcon::kCaseTheory, 0, 8254, 8}, {EntryIcon::kCaseTheory, 1, 8253, 16},
                        {EntryIcon::kComment, 2, 12512, 32},  {EntryIcon::kPageBreak, 5, 12528, 32},
                        {EntryIcon::kPageBreak, 0, 8260, 8},  {EntryIcon::kComment, 1, 8257, 16}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.id, EntryIconImageId(c.icon, c.step));
    const PortImage& image = EntryIconImage(c.id);
    EXPECT_TRUE(image.IsWellFormed());
    EXPECT_EQ(c.side, image.width);
    EXPECT_EQ(c.side, image.height);
    int ink = 0;
    for (uint8_t byte : image.data) ink += __builtin_popcount(byte);
    EXPECT_GT(ink, c.side * 2) << c.id;
    EXPECT_LT(ink, c.side * c.side * 2 / 3) << c.id;
  }
  EXPECT_INTERNAL_ERROR("EntryIconImage", EntryIconImage(1));

  const Rect box = EntryIconBox(M(), 10, 20);
  EXPECT_EQ((Rect{10, 16, 18, 24}), box);
  DrawEntryIcon(*env, recorder, EntryIcon::kComment, box);
  ASSERT_EQ(1, recorder.Count("image"));
  EXPECT_EQ("8x8", recorder.calls[0].text);
  style.iconMode = kIconsNever;
  Rebuild();
  DrawEntryIcon(*env, recorder, EntryIcon::kComment, box);
  EXPECT_EQ(1, recorder.Count("image")) << "no icons in mode Never";
}

}  // namespace
}  // namespace lemmabox::testing
