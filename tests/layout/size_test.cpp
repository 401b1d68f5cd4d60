// Sizing: levels, brackets, the size cache, collapsing, and the geometry of
// each expression type, on boxes that a wrong rule would move.
#include <gtest/gtest.h>

#include <string>

#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "layout/text.h"
#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using SizeTest = LayoutTest;

Rect Box(Handle obj) {
  return Hdr(obj).box;
}
int Level(Handle obj) {
  return Hdr(obj).sizeLevel;
}
int32_t Reference(Handle obj) {
  return Hdr(obj).box.top + Hdr(obj).baseline;
}

TEST_F(SizeTest, AutomaticParenthesesFollowBindingAndPlace) {
  struct Case {
    const char* tree;
    std::initializer_list<int> path;
    bool parens;
  };
  const Case cases[] = {
      {"*(+(a,b),c)", {0}, true},   // a sum inside a product
      {"+(*(a,b),c)", {0}, false},  // a product inside a sum
      {";(f,x)", {1}, true},        // a function's argument
      {";(f,((x))", {1}, true},     // ... that the user bracketed: once
      {";(f,((x))", {1, 0}, false},
      {"^(+(a,b),2)", {0}, true},   // a power's base
      {"^(x,+(a,b))", {1}, false},  // the exponent is set apart anyway
      {"_(x,+(i,j))", {1}, false},
      {"/(+(a,b),c)", {0}, false},  // a fraction delimits its operands
      {"%(+(a,b))", {0}, false},
      {"|(+(a,b))", {0}, false},
      {"-(+(a,b))", {0}, true},
      {"-(*(a,b))", {0}, false},
      {"+(a,-(b))", {1}, false},  // a - b
      {"*(a,-(b))", {1}, true},   // a(-b)
      {"=(a,=(b,c))", {1}, true},
      {"*(s(i,a,b),x)", {0}, false},    // a summation multiplies what follows
      {"x(+(a,b),i,a,b)", {1}, false},  // the index variable of a product
      {"j(+(a,b),a,b)", {2}, false},    // an integral's limit
      {"((m1x2(a,b))", {0}, false},     // brackets the user typed serve the matrix
      {"{(m2x2(a,b,c,d))", {0}, false},
      {"*(m1x2(a,b),x)", {0}, true},
      {"c(+(a,b),x)", {0}, true},
      {"c(*(a,b),x)", {0}, false},
  };
  for (const Case& c : cases) {
    Handle tree = Make(c.tree);
    Handle child = At(tree, c.path);
    EXPECT_EQ(c.parens, ShownInBrackets(ObjParent(child), child)) << c.tree;
  }
  // Matrices and for-all need brackets even on their own.
  EXPECT_TRUE(ShownInBrackets(nullptr, Make("m2x1(a,b)")));
  EXPECT_TRUE(ShownInBrackets(nullptr, Make("f(x,y)")));
  EXPECT_FALSE(ShownInBrackets(nullptr, Make("+(a,b)")));
  EXPECT_FALSE(ShownInBrackets(nullptr, Make("((a)")));
  // Notebooks of older versions bind cross products tighter than products.
  UseOlderBindingTable(true);
  Handle older = Make("c(*(a,b),x)");
  EXPECT_TRUE(ShownInBrackets(older, ObjSlot(older, 0)));
  UseOlderBindingTable(false);
}

TEST_F(SizeTest, BracketedOperandSitsInsideItsMargins) {
  Handle product = Make("*(+(a,b),c)");
  const LayoutBox whole = Lay(product);
  Handle sum = ObjSlot(product, 0);
  Handle c = ObjSlot(product, 1);
  const int32_t margin = M().parenBase + Box(sum).Height() / 16;
  EXPECT_EQ(margin, ParenMargin(M(), product, sum));
  EXPECT_EQ(margin, Box(sum).left) << "the left bracket lies before the sum's box";
  EXPECT_EQ(Box(sum).right + margin, Box(c).left) << "the right bracket lies after it";
  EXPECT_EQ(whole.width, Box(sum).Width() + 2 * margin + Box(c).Width());
  // Sizing the product again from its cache keeps the sum where it was.
  InvalidateSizes(c);
  Lay(product);
  EXPECT_EQ(margin, Box(sum).left);
  EXPECT_EQ(Box(sum).right + margin, Box(c).left);
}

TEST_F(SizeTest, DetachedMatrixIsLaidOutInsideItsOwnBrackets) {
  Handle matrix = Make("m2x2(a,b,c,d)");
  const LayoutBox box = Lay(matrix);
  const int32_t margin = M().parenBase + Box(matrix).Height() / 16;
  EXPECT_EQ(margin, Box(matrix).left);
  EXPECT_EQ(box.width - margin, Box(matrix).right);
  // Laid out again unchanged, it does not grow.
  EXPECT_EQ(box.width, Lay(matrix).width);
  EXPECT_EQ(box.width, Lay(matrix).width);
}

TEST_F(SizeTest, NestedBracketsCycleThroughThreeShapes) {
  // ((((a+b)c+d)e+f)g+h)k: four bracketed sums, outermost first.
  Handle tree = Make("*(+(*(+(*(+(*(+(a,b),c),d),e),f),g),h),k)");
  Lay(tree);
  const int expected[] = {0, 1, 2, 0};
  Handle sum = ObjSlot(tree, 0);
  for (int depth = 0; depth < 4; ++depth) {
    ASSERT_EQ(kSum, ObjType(sum));
    EXPECT_EQ(expected[depth], ParenStyle(sum)) << "bracket level " << depth;
    sum = At(sum, {0, 0});
  }
}

TEST_F(SizeTest, SmallerOperandsTakeTheirLevels) {
  struct Case {
    const char* tree;
    int level;
    std::initializer_list<int> path;
    int expected;
  };
  const Case cases[] = {
      {"^(x,2)", 0, {1}, 2},  // a single exponent: two steps smaller
      {"^(x,+(a,b))", 0, {1}, 1},
      {"^(x,2)", 0, {0}, 0},
      {"^(x,+(a,b))", 1, {1}, 2},
      {"^(x,2)", 2, {1}, 2},  // nothing is smaller than the smallest
      {"_(x,i)", 0, {1}, 2},
      {"_(x,+(i,j))", 0, {1}, 1},
      {"/(3,4)", 0, {0}, 2},  // a fraction of numbers is set smallest
      {"/(3,4)", 0, {1}, 2},
      {"/(#3,2.5)", 0, {0}, 2},
      {"/(x,4)", 0, {1}, 0},
      {"/(x,4)", 1, {0}, 1},
      {"j(x,a,b)", 0, {0}, 0},
      {"j(x,a,b)", 0, {1}, 1},
      {"s(i,a,n)", 0, {0}, 2},
      {"s(i,a,n)", 0, {2}, 2},
      {"x(y,i,a,n)", 0, {0}, 0},
      {"x(y,i,a,n)", 0, {3}, 2},
      {"l(x,a,y)", 0, {1}, 2},
      {"l(x,a,y)", 0, {2}, 0},
      {")(y,a,b)", 0, {1}, 2},
      {")(y,a,b)", 0, {0}, 0},
      {"m2x2(a,b,c,d)", 0, {3}, 1},
      {"m1x2(a,b)", 0, {1}, 0},  // a row is an operand list at the level
  };
  for (const Case& c : cases) {
    Handle tree = Make(c.tree);
    Lay(tree, c.level);
    EXPECT_EQ(c.expected, Level(At(tree, c.path))) << c.tree << " at level " << c.level;
  }
}

TEST_F(SizeTest, CachedSizeIsReusedOnlyAtItsLevel) {
  Handle sum = Make("+(abc,d)");
  Handle name = ObjSlot(sum, 0);
  const int32_t wide = Lay(sum).width;
  // A change that nobody reported is not seen: the cache answers.
  std::strcpy(ObjText(name), "abcdefgh");
  EXPECT_EQ(wide, Lay(sum).width);
  // Needed at another level, everything is sized again although the cache is valid.
  const int32_t smaller = Lay(sum, kLevelSmaller).width;
  EXPECT_EQ(kLevelSmaller, Level(sum));
  EXPECT_EQ(kLevelSmaller, Level(name));
  EXPECT_EQ(Lay(Make("+(abcdefgh,d)"), kLevelSmaller).width, smaller);
  // Reported, a change is seen at the same level too.
  std::strcpy(ObjText(name), "a");
  EXPECT_EQ(smaller, Lay(sum, kLevelSmaller).width);
  InvalidateSizes(name);
  EXPECT_EQ(Lay(Make("+(a,d)"), kLevelSmaller).width, Lay(sum, kLevelSmaller).width);
  EXPECT_TRUE(HasFlag(sum, kFlagSizeValid));
}

TEST_F(SizeTest, OperandListsSpaceTheirOperators) {
  // a+b: the "+" with a gap of 2/16 of the level size on each side.
  Handle sum = Make("+(a,b)");
  Lay(sum);
  const int32_t s = M().size[0];
  const int32_t gap = (2 * s + 8) / 16;
  const int32_t plus = FontWidth("+", kFontMain, 0);
  EXPECT_EQ(Box(ObjSlot(sum, 0)).right + gap + plus + gap, Box(ObjSlot(sum, 1)).left);
  // a - b: the negation's own sign serves; no "+" is set before it.
  Handle difference = Make("+(a,-(b))");
  Lay(difference);
  EXPECT_EQ(Box(ObjSlot(difference, 0)).right, Box(ObjSlot(difference, 1)).left);
  // Relations have wider gaps than sums.
  Handle equation = Make("=(a,b)");
  Lay(equation);
  EXPECT_EQ(Box(ObjSlot(equation, 0)).right + 2 * ((4 * s + 8) / 16) + FontWidth("=", kFontMain, 0),
            Box(ObjSlot(equation, 1)).left);
  // All operands share one reference line.
  Handle mixed = Make("+(/(a,b),c)");
  Lay(mixed);
  EXPECT_EQ(Reference(ObjSlot(mixed, 0)), Reference(ObjSlot(mixed, 1)));
  EXPECT_EQ(Hdr(mixed).baseline, Reference(ObjSlot(mixed, 1)));
}

TEST_F(SizeTest, NumberFactorsGetRoomForTheirDot) {
  Handle numbers = Make("*(2,3)");
  Lay(numbers);
  EXPECT_EQ(Box(ObjSlot(numbers, 0)).right + M().quarter[0], Box(ObjSlot(numbers, 1)).left);
  Handle power = Make("*(x,^(2,n))");
  Lay(power);
  EXPECT_EQ(Box(ObjSlot(power, 0)).right + M().quarter[0], Box(ObjSlot(power, 1)).left);
  Handle juxtaposed = Make("*(2,x)");
  Lay(juxtaposed);
  EXPECT_EQ(Box(ObjSlot(juxtaposed, 0)).right, Box(ObjSlot(juxtaposed, 1)).left);
}

TEST_F(SizeTest, FractionStacksCentredOperandsAroundItsRule) {
  Handle fraction = Make("/(x,+(a,b))");
  const LayoutBox box = Lay(fraction);
  const Rect num = Box(ObjSlot(fraction, 0));
  const Rect den = Box(ObjSlot(fraction, 1));
  const int32_t t = M().rule[0];
  EXPECT_LE(std::abs((num.left - 0) - (box.width - num.right)), 1) << "numerator centred";
  EXPECT_EQ(t, den.left) << "the wider operand keeps a rule's width on each side";
  EXPECT_EQ(box.width - t, den.right);
  EXPECT_EQ(0, num.top);
  EXPECT_EQ(num.bottom + t, box.baseline) << "the rule is the reference line";
  EXPECT_EQ(box.baseline + 2 * t, den.top);
  EXPECT_EQ(box.height, den.bottom);
}

TEST_F(SizeTest, PowerRaisesItsExponentBesideTheBase) {
  Handle power = Make("^(x,+(a,b))");
  const LayoutBox box = Lay(power);
  const Rect base = Box(ObjSlot(power, 0));
  const Rect exponent = Box(ObjSlot(power, 1));
  EXPECT_EQ(base.right, exponent.left);
  EXPECT_EQ(0, exponent.top);
  EXPECT_EQ(box.baseline, Reference(ObjSlot(power, 0)));
  EXPECT_LT(Reference(ObjSlot(power, 1)), box.baseline) << "exponent above the base's line";
  EXPECT_EQ(box.height, base.bottom);
}

TEST_F(SizeTest, IndexHangsFromTheBase) {
  Handle index = Make("_(x,i)");
  const LayoutBox box = Lay(index);
  const Rect base = Box(ObjSlot(index, 0));
  const Rect sub = Box(ObjSlot(index, 1));
  EXPECT_EQ(base.right, sub.left);
  EXPECT_EQ(0, base.top);
  EXPECT_EQ(box.baseline, Hdr(ObjSlot(index, 0)).baseline);
  EXPECT_GE(Reference(ObjSlot(index, 1)), base.bottom - Hdr(ObjSlot(index, 0)).baseline)
      << "the index's line is at least as low as the base's depth below its own line";
  EXPECT_EQ(box.height, sub.bottom);
}

TEST_F(SizeTest, RootLeavesRoomForItsSign) {
  Handle root = Make("%(x)");
  const LayoutBox box = Lay(root);
  const Rect radicand = Box(ObjSlot(root, 0));
  const int32_t t = M().rule[0];
  EXPECT_EQ(M().u2 + radicand.Height() / 2, radicand.left);
  EXPECT_EQ(2 * t, radicand.top);
  EXPECT_EQ(radicand.Width() + M().parenBase + radicand.Height() / 2, box.width);
  EXPECT_EQ(radicand.bottom, box.height);
  EXPECT_EQ(Reference(ObjSlot(root, 0)), box.baseline);
}

TEST_F(SizeTest, IntegralPlacesItsLimitsBesideTheSign) {
  Handle integral = Make("j(x,a,b)");
  const LayoutBox box = Lay(integral);
  const int32_t s = M().size[0];
  const int32_t h = s / 2, g = h / 4;
  const Rect integrand = Box(ObjSlot(integral, 0));
  const Rect lower = Box(ObjSlot(integral, 1));
  const Rect upper = Box(ObjSlot(integral, 2));
  EXPECT_EQ(0, upper.top);
  EXPECT_EQ(g + h, upper.left);
  EXPECT_EQ(h - g, lower.left);
  EXPECT_EQ(box.height, lower.bottom);
  EXPECT_EQ(box.width - h, integrand.right);
  EXPECT_EQ(box.baseline, Reference(ObjSlot(integral, 0)));
  EXPECT_GE(box.baseline, Reference(ObjSlot(integral, 2)) + s);
  // Without limits: the sign, a small gap, the integrand and a half-size margin.
  Handle plain = Make("j(x)");
  const LayoutBox plainBox = Lay(plain);
  EXPECT_EQ(g + 2 * h + Box(ObjSlot(plain, 0)).Width(), plainBox.width);
}

TEST_F(SizeTest, SummationAndProductStackTheirLimits) {
  Handle sum = Make("s(i,+(k,1),n)");
  const LayoutBox box = Lay(sum);
  const Rect variable = Box(ObjSlot(sum, 0));
  const Rect start = Box(ObjSlot(sum, 1));
  const Rect end = Box(ObjSlot(sum, 2));
  const int32_t equals = FontWidth("=", kFontMain, kLevelSmallest);
  EXPECT_EQ(0, end.top);
  EXPECT_LE(std::abs(end.left - (box.width - end.right)), 1) << "end value centred";
  EXPECT_EQ(2 * equals, start.left - variable.right) << "room for = between them";
  EXPECT_EQ(Reference(ObjSlot(sum, 0)), Reference(ObjSlot(sum, 1)));
  EXPECT_GT(variable.top, box.baseline) << "the index row lies below the sign";
  EXPECT_LE(variable.bottom, box.height);

  Handle product = Make("x(y,i,a,n)");
  const LayoutBox pbox = Lay(product);
  const Rect body = Box(ObjSlot(product, 0));
  EXPECT_EQ(pbox.width - M().u2, body.right);
  EXPECT_EQ(pbox.baseline, Reference(ObjSlot(product, 0)));
  EXPECT_EQ(Reference(ObjSlot(product, 1)), Reference(ObjSlot(product, 2)));
  EXPECT_LT(Box(ObjSlot(product, 3)).right, body.left);
  // A body taller than the sign keeps the index row inside the box.
  Handle tall = Make("x(/(/(a,b),/(c,d)),i,a,n)");
  const LayoutBox tallBox = Lay(tall);
  EXPECT_LE(Box(ObjSlot(tall, 1)).bottom, tallBox.height);
  EXPECT_GE(Box(ObjSlot(tall, 3)).top, 0);
  EXPECT_LT(Box(ObjSlot(tall, 3)).bottom, tallBox.baseline);
}

TEST_F(SizeTest, LimitAndEvaluateAtPlaceTheirParts) {
  Handle limit = Make("l(x,a,y)");
  const LayoutBox box = Lay(limit);
  const Rect variable = Box(ObjSlot(limit, 0));
  const Rect value = Box(ObjSlot(limit, 1));
  const Rect expression = Box(ObjSlot(limit, 2));
  EXPECT_EQ(Reference(ObjSlot(limit, 0)), Reference(ObjSlot(limit, 1)));
  EXPECT_GT(variable.top, box.baseline);
  EXPECT_LT(value.right, expression.left);
  EXPECT_EQ(box.width - M().u2, expression.right);
  EXPECT_GE(expression.left, FontWidth("lim", kFontMain, 0));

  Handle at = Make(")(y,a,b)");
  const LayoutBox atBox = Lay(at);
  const Rect body = Box(ObjSlot(at, 0));
  EXPECT_EQ(atBox.width - M().parenBase, body.right);
  EXPECT_EQ(0, Box(ObjSlot(at, 2)).top);
  EXPECT_EQ(atBox.height, Box(ObjSlot(at, 1)).bottom);
  EXPECT_LT(Box(ObjSlot(at, 1)).right, body.left);
  // The upper value may be missing.
  Handle open = Own(NewObj2(kEvalAt, NewUndeclaredName("y"), NewUndeclaredName("a")));
  EXPECT_GT(Lay(open).width, 0);
}

TEST_F(SizeTest, MatrixCellsAreEqualAndCapped) {
  Handle matrix = Make("m2x2(a,bcdef,c,d)");
  const LayoutBox box = Lay(matrix);
  const Rect a = Box(At(matrix, {0})), wide = Box(At(matrix, {1})), c = Box(At(matrix, {2}));
  const int32_t cell = wide.Width() + M().parenBase;
  EXPECT_EQ(2 * cell, Box(matrix).Width());
  EXPECT_EQ(a.left + a.right, cell) << "centred in the first cell";
  EXPECT_EQ(a.left, c.left);
  EXPECT_EQ(box.height / 2, box.baseline) << "two rows: the line runs between them";
  Handle odd = Make("m3x1(a,b,c)");
  Lay(odd);
  EXPECT_EQ(Reference(At(odd, {1})), Hdr(odd).baseline) << "three rows: the middle row's line";

  // 2000 rows stay within the 16-bit coordinates of the devices.
  Handle tall = Own(NewMatrix(2000, 2));
  for (int i = 0; i < ObjCount(tall); ++i) PutSlot(tall, i, NewInteger(i % 10));
  const LayoutBox tallBox = Lay(tall);
  EXPECT_EQ(16000, tallBox.height);
  for (int i = 0; i < ObjCount(tall); ++i) ASSERT_LE(Box(ObjSlot(tall, i)).top, 16000);
}

TEST_F(SizeTest, CollapsedObjectsShowAPlaceholderOrOneOperand) {
  // A collapsed integral is a row of dots two sizes wide.
  Handle integral = Make("j(x,a,b)");
  SetFlag(integral, kFlagCollapsed);
  const LayoutBox dots = Lay(integral);
  EXPECT_EQ(M().twice[0], dots.width);
  EXPECT_EQ(M().size[0], dots.height);
  EXPECT_EQ(M().half[0], dots.baseline);
  EXPECT_TRUE(HasFlag(ObjSlot(integral, 0), kFlagHidden));

  // A collapsed sum still shows operand `aux`, with room for the dots.
  Handle sum = Make("+(a,bb,ccc,d)");
  SetFlag(sum, kFlagCollapsed);
  Hdr(sum).aux = 2;
  const LayoutBox shown = Lay(sum);
  const Rect third = Box(ObjSlot(sum, 2));
  const int32_t s = M().size[0];
  const int32_t span = 2 * ((2 * s + 8) / 16) + FontWidth("+", kFontMain, 0);
  EXPECT_EQ(M().twice[0] + span, third.left);
  EXPECT_EQ(third.right + span + M().twice[0], shown.width);
  for (int i : {0, 1, 3}) {
    EXPECT_TRUE(HasFlag(ObjSlot(sum, i), kFlagHidden));
    EXPECT_EQ(Rect{}, Box(ObjSlot(sum, i)));
  }
  // aux beyond the last operand shows the last one, with nothing after it.
  Hdr(sum).aux = 9;
  InvalidateSizes(sum);
  EXPECT_EQ(Box(ObjSlot(sum, 3)).right, Lay(sum).width);
}

TEST_F(SizeTest, FreshOversizedResultsCollapseUnlessRelations) {
  auto wideSum = [&] {
    Handle sum = NewObjN(kSum, 60);
    for (int i = 0; i < 60; ++i) PutSlot(sum, i, NewUndeclaredName("xyz"));
    SetFlag(sum, kFlagFresh);
    return sum;
  };
  Handle sum = Own(wideSum());
  const LayoutBox box = Lay(sum);
  EXPECT_TRUE(HasFlag(sum, kFlagCollapsed)) << "wider than 32 em";
  EXPECT_FALSE(HasFlag(sum, kFlagFresh));
  EXPECT_LT(box.width, 32 * M().em);
  EXPECT_TRUE(HasFlag(ObjSlot(sum, 1), kFlagHidden)) << "a collapsed sum shows one term";

  // An equation is never collapsed; its oversized sides are.
  Handle equation = Own(NewEquation(wideSum(), NewUndeclaredName("y")));
  SetFlag(equation, kFlagFresh);
  Lay(equation);
  EXPECT_FALSE(HasFlag(equation, kFlagCollapsed));
  EXPECT_TRUE(HasFlag(ObjSlot(equation, 0), kFlagCollapsed));

  // Not when the notebook turned automatic collapsing off; nor a second time.
  style.autoCollapse = 0;
  Rebuild();
  Handle kept = Own(wideSum());
  EXPECT_GT(Lay(kept).width, 32 * M().em);
  EXPECT_FALSE(HasFlag(kept, kFlagCollapsed));
  EXPECT_FALSE(HasFlag(kept, kFlagFresh));
}

TEST_F(SizeTest, NamesAreMeasuredInTheirFonts) {
  const int32_t e = M().eighth[0];
  struct Case {
    const char* spelling;
    FontSet set;
  };
  const Case cases[] = {
      {"x", kFontLetter}, {"x''", kFontLetter}, {"xy", kFontMain}, {"sin", kFontMain}};
  for (const Case& c : cases) {
    Handle name = Own(NewUndeclaredName(c.spelling));
    const LayoutBox box = Lay(name);
    EXPECT_EQ(FontWidth(c.spelling, c.set, 0) + 2 * e + 2, box.width) << c.spelling;
    const FontExtents& font = env->extents(c.set, 0);
    EXPECT_EQ(font.ascent + font.descent, box.height);
    EXPECT_EQ(font.ascent - M().quarter[0], box.baseline) << "a quarter size above the baseline";
  }
  // Greek letters come from the Symbol font: alpha is 'a' there.
  Handle alpha = Own(NewUndeclaredName("\x8C"));
  EXPECT_EQ(FontWidth("a", kFontSymbol, 0) + 2 * e + 2, Lay(alpha).width);
}

TEST_F(SizeTest, DeclaredNamesUseTheirDeclarationsMeasuredSizes) {
  Handle x = Own(Declared("x"));
  Handle undeclared = Own(NewUndeclaredName("x"));
  EXPECT_EQ(Lay(undeclared).width, Lay(x).width);
  // The sizes are kept by the declaration for all three levels at once.
  const DeclarationRecord& record = DeclRecord(DeclOfName(x));
  EXPECT_TRUE(record.measured);
  EXPECT_EQ(Lay(Own(NewUndeclaredName("x")), kLevelSmallest).width, record.metrics[2].width);
  // Renamed, the declaration's name is measured again.
  std::strcpy(ObjText(ObjSlot(DeclOfName(x), 0)), "xyz");
  InvalidateSizes(x);
  EXPECT_EQ(Lay(Own(NewUndeclaredName("xyz"))).width, Lay(x).width);
  // Laid out for another port, the name is measured afresh.
  MeasuringPort printer(300);
  LayoutEnv printing(printer, style);
  InvalidateSizes(x);
  const LayoutBox big = SizeAtLevel(x, printing, 0);
  EXPECT_GT(big.width, 3 * Lay(undeclared).width);
  // A declaration of something that is not a simple name shows a square.
  Handle odd = Own(NewObj(kName, kTextPayload));
  DeclOfName(odd) = Own(NewNameDecl(Build("+(a,b)"), kNameVariable));
  const LayoutBox square = Lay(odd);
  EXPECT_EQ(M().size[0], square.width);
  EXPECT_EQ(M().size[0], square.height);
}

TEST_F(SizeTest, NumbersSplitAtTheExponentMarker) {
  Handle plain = Own(NewNumberText("1.5"));
  const LayoutBox box = Lay(plain);
  EXPECT_EQ(FontWidth("1.5", kFontMain, 0), box.width);
  // Digits that do not descend end the box at the font baseline.
  EXPECT_EQ(env->extents(kFontMain, 0).ascent, box.height);

  Handle scientific =
      Own(NewNumberText("1.5\x90"
                        "20"));
  const LayoutBox sbox = Lay(scientific);
  const int32_t mantissa = FontWidth("1.5", kFontMain, 0) + FontWidth(
                                                                "\xB4"
                                                                "10",
                                                                kFontSymbol, 0);
  EXPECT_EQ(mantissa + FontWidth("20", kFontMain, kLevelSmallest), sbox.width);
  EXPECT_GT(sbox.height, box.height) << "the raised exponent reaches above the mantissa";
  EXPECT_GT(sbox.baseline, box.baseline);

  // An integer shows its value; a real its display text.
  Handle integer = Make("42");
  EXPECT_EQ(FontWidth("42", kFontMain, 0), Lay(integer).width);
}

TEST_F(SizeTest, QuestionMarksAndWildcards) {
  Handle question = Make("?");
  const LayoutBox q = Lay(question);
  const TextBox text = MeasureText(*env, 0, kFontQuestion, "?");
  EXPECT_EQ(text.width, q.width);
  EXPECT_EQ(text.baseline, q.baseline);
  EXPECT_EQ(M().half[0] + text.baseline, q.height);
  Handle wildcard = Make("`a");
  const LayoutBox w = Lay(wildcard);
  EXPECT_EQ(MeasureText(*env, 0, kFontQuestion, "a").width + 2 * M().eighth[0] + 5, w.width);
  EXPECT_EQ(text.height + 3, w.height);
}

TEST_F(SizeTest, EveryExpressionTypeHasASizeEntry) {
  const char* trees[] = {"!(x)",   "%(x)",     "((x)",       ")(x,a,b)",         "*(a,b)", "+(a,b)",
                         "-(a)",   "/(a,b)",   ":(a,b)",     ";(f,x)",           "<(a,b)", "=(a,b)",
                         ">(a,b)", "?",        "[(a,b)",     "\\(a,b)",          "](a,b)", "^(a,b)",
                         "_(a,b)", "`a",       "a(x)",       "c(a,b)",           "d(a,b)", "f(a,b)",
                         "1",      "j(x)",     "l(x,a,y)",   "m2x2(a,b,c,d)",    "#12",    "p(x)",
                         "2.5",    "s(i,a,b)", "x(y,i,a,b)", "{(m2x2(a,b,c,d))", "|(x)"};
  for (const char* tree : trees) {
    Handle obj = Make(tree);
    const LayoutBox box = Lay(obj);
    EXPECT_GT(box.width, 0) << tree;
    EXPECT_GT(box.height, 0) << tree;
    EXPECT_TRUE(HasFlag(obj, kFlagSizeValid)) << tree;
  }
  EXPECT_INTERNAL_ERROR("SizeObj", SizeObj(nullptr, SizeContext{env.get()}));
  EXPECT_INTERNAL_ERROR("UnSize", Lay(Make(",(a,b)")));
}

// --- large and deep expressions ---

// Recursive walkers may use 100,000 bytes of stack. Optimised, a level of
// nesting costs the layout about 250 to 350 bytes, so 200 levels fit;
// unoptimised and sanitised builds have frames three or four times larger and
// may refuse such an expression with 13174 instead, which is no crash either.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr bool kLeanFrames = true;
#else
constexpr bool kLeanFrames = false;
#endif

TEST_F(SizeTest, DeepNestingLaysOut) {
  Handle tree = NewUndeclaredName("x");
  for (int i = 0; i < 200; ++i) {
    switch (i % 4) {
      case 0:
        tree = NewQuotient(tree, NewInteger(2));
        break;
      case 1:
        tree = NewNegation(tree);
        break;
      case 2:
        tree = NewPower(tree, NewUndeclaredName("n"));
        break;
      default:
        tree = NewProduct(tree, NewUndeclaredName("y"));
        break;
    }
  }
  Own(tree);
  LayoutBox box;
  const MessageNumber raised = RaisedBy([&] { box = Lay(tree); });
  if (kLeanFrames || raised == 0) {
    EXPECT_EQ(0, raised);
    EXPECT_GT(box.width, 0);
    EXPECT_GT(box.height, 0);
  } else {
    EXPECT_EQ(kMsgCircularDefinition, raised);
  }
}

TEST_F(SizeTest, RunawayNestingIsRefusedNotACrash) {
  Handle tree = NewUndeclaredName("x");
  for (int i = 0; i < 20000; ++i) tree = NewAbs(tree);
  Own(tree);
  EXPECT_RAISES(kMsgCircularDefinition, Lay(tree));
}

TEST_F(SizeTest, LargestSumAndMatrixLayOut) {
  Handle sum = Own(NewObjN(kSum, kMaxOperands));
  for (int i = 0; i < kMaxOperands; ++i) PutSlot(sum, i, NewUndeclaredName("x"));
  const LayoutBox box = Lay(sum);
  EXPECT_GT(box.width, kMaxOperands * M().size[0] / 2);
  Handle matrix = Own(NewMatrix(1600, 20));
  for (int i = 0; i < ObjCount(matrix); ++i) PutSlot(matrix, i, NewInteger(i));
  EXPECT_EQ(16000, Lay(matrix).height);
}

}  // namespace
}  // namespace lemmabox::testing
