// Sentences: filling lines from a template, wrapping before what would
// overflow, the last line taking the rest, the line records, pop-ups, the
// width a sentence may use, and the declaration, rule and plot entries.
#include "layout/sentences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/highlight.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/size_obj.h"
#include "layout/text.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/propositions.h"
#include "rows_fixture.h"
#include "shell/string_cache.h"
#include "shell/strings.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class SentenceTest : public RowsTest {
 protected:
  void TearDown() override {
    SetPrintableWidth(kDefaultPrintableWidth);
    ResetLayoutHooks();
    RowsTest::TearDown();
  }
  SizeContext Ctx() const { return SizeContext{env.get(), kLevelMain, 0}; }
  int32_t RunWidth(const std::string& text) const {
    return MeasureText(*env, kLevelMain, kFontMain, text).width;
  }
  // The pieces of a layout as text: runs as they are, [icon], <pop-up>,
  // {slot}; lines separated by '/'.
  static std::string Pieces(const SentenceLayout& layout) {
    std::string text;
    int32_t referenceY = layout.pieces.empty() ? 0 : layout.pieces[0].referenceY;
    for (const SentencePiece& piece : layout.pieces) {
      if (piece.referenceY != referenceY) text += "/";
      referenceY = piece.referenceY;
      switch (piece.kind) {
        case SentencePieceKind::kText:
          text += piece.text;
          break;
        case SentencePieceKind::kIcon:
          text += "[icon]";
          break;
        case SentencePieceKind::kPopup:
          text += "<" + piece.text + ">";
          break;
        case SentencePieceKind::kSlot:
          text += "{" + std::to_string(piece.slot + 1) + "}";
          break;
      }
    }
    return text;
  }
  static const char* Template(int id) { return StringById(id); }
};

TEST_F(SentenceTest, ADeclarationFitsOnOneLineWhenThereIsRoom) {
  Handle declaration = Add(NewNameDecl(NewUndeclaredName("x"), kNameVariable));
  LayOut();
  const SentenceLayout* layout = SentenceLayoutOf(declaration);
  ASSERT_NE(nullptr, layout);
  EXPECT_EQ("[icon] A <Variable> named {3} behaves as <defined by user>.", Pieces(*layout));
  ASSERT_EQ(3u, layout->lines.size());
  EXPECT_EQ(0, layout->lines[0].offset);
  EXPECT_EQ(M().u, layout->lines[0].x);
  EXPECT_EQ(-1, layout->lines[1].offset);
  EXPECT_EQ(-1, layout->lines[2].offset);
  // The name sits right after " named ", on the line's reference line.
  Handle name = ObjSlot(declaration, 0);
  const SentencePiece& named = layout->pieces[3];
  ASSERT_EQ(" named ", named.text);
  EXPECT_EQ(named.box.right, Hdr(name).box.left);
  EXPECT_EQ(layout->lines[0].referenceY, Hdr(name).box.top + ObjBaseline(name));
  // The sentence's size: the line, one unit in, between a unit above and below.
  const SentencePiece& last = layout->pieces.back();
  EXPECT_EQ(last.box.right, BoxOf(declaration).Width());
  EXPECT_EQ(layout->lines[0].referenceY, ObjBaseline(declaration));
  int32_t top = 1 << 30, bottom = 0;
  for (const SentencePiece& piece : layout->pieces) {
    top = std::min(top, piece.box.top);
    bottom = std::max(bottom, piece.box.bottom);
  }
  EXPECT_EQ(M().u, top);
  EXPECT_EQ(bottom + M().u, BoxOf(declaration).Height());
}

TEST_F(SentenceTest, LinesBreakBeforeWhatOverflowsAndTheLastTakesTheRest) {
  // A narrow page: the lines are 16 main sizes wide.
  SetPrintableWidth(1);
  Handle declaration =
      Add(NewNameDecl(NewUndeclaredName("averyveryverylongnameindeed"), kNameVariable));
  LayOut();
  const SentenceLayout* layout = SentenceLayoutOf(declaration);
  ASSERT_NE(nullptr, layout);
  const int32_t limit = 16 * M().size[0];
  // The name does not fit after " named ", and " behaves as " not after the
  // name: lines break before a slot or a whole run.
  EXPECT_EQ("[icon] A <Variable> named /{3}/ behaves as <defined by user>.", Pieces(*layout));
  const std::string text = Template(kStrNameDeclarationSentence);
  EXPECT_EQ(static_cast<int32_t>(text.find("&3t")), layout->lines[1].offset);
  EXPECT_EQ(static_cast<int32_t>(text.find(" behaves")), layout->lines[2].offset);
  // Later lines hang two icons in; no line but the last passes the limit.
  EXPECT_EQ(2 * M().iconSize, layout->lines[1].x);
  for (const SentencePiece& piece : layout->pieces) {
    if (piece.referenceY == layout->lines[2].referenceY) continue;
    EXPECT_LE(piece.box.right, limit + 2 * M().iconSize);
  }
  // Each line starts a unit below the one before.
  EXPECT_LT(layout->lines[0].referenceY, layout->lines[1].referenceY);
  EXPECT_EQ(BoxOf(declaration).Height(), layout->box.height);

  // With a limit of two lines, the second holds everything left.
  SentenceLayout two;
  SentenceSlots slots;
  slots[1].popupText = "Variable";
  slots[2].object = ObjSlot(declaration, 0);
  slots[3].popupText = "defined by user";
  LayOutSentence(Ctx(), M().u, kStrNameDeclarationSentence, limit, 2, slots, two);
  EXPECT_EQ("[icon] A <Variable> named /{3} behaves as <defined by user>.", Pieces(two));
  // One line: everything, however wide.
  SentenceLayout one;
  const LayoutBox box =
      LayOutSentence(Ctx(), M().u, kStrNameDeclarationSentence, limit, 1, slots, one);
  EXPECT_EQ("[icon] A <Variable> named {3} behaves as <defined by user>.", Pieces(one));
  EXPECT_GT(box.width, limit);
}

TEST_F(SentenceTest, ALineThatCannotTakeItsFirstPieceStaysEmpty) {
  Handle wide = Make("+(aaaaaaaaaa,bbbbbbbbbb,cccccccccc,dddddddddd,eeeeeeeeee,ffffffffff)");
  SentenceSlots slots;
  slots[0].object = wide;
  SentenceLayout layout;
  LayOutSentenceText(Ctx(), 0, "&1t and so on", 1, 2, slots, layout);
  ASSERT_EQ(2u, layout.lines.size());
  EXPECT_EQ(-1, layout.lines[0].offset);
  EXPECT_EQ(0, layout.lines[1].offset);
  const int32_t ascent =
      std::max(ObjBaseline(wide), MeasureText(*env, kLevelMain, kFontMain, " and so on").baseline);
  EXPECT_EQ(M().u + ascent, layout.lines[1].referenceY) << "the empty line takes only its unit";
}

TEST_F(SentenceTest, MalformedTemplatesAreInternalErrors) {
  SentenceSlots slots;
  SentenceLayout layout;
  for (int limit : {-1, 16})
    EXPECT_INTERNAL_ERROR("dwSize",
                          LayOutSentenceText(Ctx(), 0, "&1i Hi.", 0, limit, slots, layout));
  EXPECT_INTERNAL_ERROR("No letter after digit: &1i Upon ",
                        LayOutSentenceText(Ctx(), 0, "&1i Upon &2q here.", 0, 2, slots, layout));
  EXPECT_INTERNAL_ERROR("No letter after digit: &1i Upon ",
                        LayOutSentenceText(Ctx(), 0, "&1i Upon &2", 0, 2, slots, layout));
  // An expression slot without an expression is named by its template.
  EXPECT_INTERNAL_ERROR("&1i Upon &2t.",
                        LayOutSentenceText(Ctx(), 0, "&1i Upon &2t.", 0, 2, slots, layout));
  // A '&' that is not followed by a slot digit is text.
  SentenceLayout plain;
  LayOutSentenceText(Ctx(), 0, "R&D & more", 0, 1, slots, plain);
  EXPECT_EQ("R&D & more", Pieces(plain));
}

TEST_F(SentenceTest, RulesAndIndependenceDeclarationsFillTheirSlots) {
  Handle rule = Add(NewTransformRule(Build("*(`a,0)"), Build("0"), kRuleSimplify));
  Handle independence = Add(NewIndependenceDecl(Build("m1x2(x,y)")));
  LayOut();
  EXPECT_EQ("[icon] Upon <Simplify> transform {3} into {4}.", Pieces(*SentenceLayoutOf(rule)));
  EXPECT_EQ("[icon] The variables {2} are independent of <each other>.",
            Pieces(*SentenceLayoutOf(independence)));
  // The variables are a matrix, shown in its brackets inside the sentence.
  Handle variables = ObjSlot(independence, 0);
  const int32_t margin = OwnParenMargin(M(), variables);
  EXPECT_GT(margin, 0);
  for (const SentencePiece& piece : SentenceLayoutOf(independence)->pieces) {
    if (piece.text != " are independent of ") continue;
    EXPECT_EQ(Hdr(variables).box.right + margin, piece.box.left);
  }
}

TEST_F(SentenceTest, PopUpsAreFoundUnderThePointer) {
  Handle declaration = Add(NewNameDecl(NewUndeclaredName("x"), kNameConstant));
  LayOut();
  const PlaceContext ctx = PlaceOf(*env, declaration);
  int found = 0;
  for (const SentencePiece& piece : SentenceLayoutOf(declaration)->pieces) {
    if (piece.kind != SentencePieceKind::kPopup) continue;
    SentencePopupHit hit;
    const Point middle{ctx.box.left + (piece.box.left + piece.box.right) / 2,
                       ctx.box.top + (piece.box.top + piece.box.bottom) / 2};
    ASSERT_TRUE(SentencePopupAt(declaration, ctx, middle, hit));
    EXPECT_EQ(piece.slot + 1, hit.slotNumber);
    EXPECT_EQ(middle.x, (hit.box.left + hit.box.right) / 2);
    ++found;
  }
  EXPECT_EQ(2, found);
  SentencePopupHit none;
  EXPECT_FALSE(SentencePopupAt(declaration, ctx, Point{ctx.box.left + 1, ctx.box.top + 1}, none));
}

TEST_F(SentenceTest, TheWidthComesFromTheGraphAboveOrThePage) {
  Handle declaration = Add(NewNameDecl(NewUndeclaredName("x"), kNameConstant));
  EXPECT_EQ(kDefaultPrintableWidth * M().em / 16, AvailableSentenceWidth(declaration, M()));
  SetPrintableWidth(300);
  EXPECT_EQ(300, AvailableSentenceWidth(declaration, M()));

  Handle graph = Add(NewObjN(kGraph2D, 69));
  Handle plot = NewObjN(kLinePlot, 3);
  PutSlot(graph, 68, plot);
  gLayoutHooks.graphFrameWidth = [](Handle) { return int32_t{200}; };
  EXPECT_EQ(200 - M().halfEm - M().iconSize, AvailableSentenceWidth(plot, M()));
}

TEST_F(SentenceTest, PlotsShowTheirExpressionsAndTheGraphsPopUps) {
  gLayoutHooks.plotPopupText = [](Handle, int sentence, int slot) -> const char* {
    static const std::string texts[] = {"normal", "Red", "solid", "Blue"};
    return texts[(sentence * 2 + slot) % 4].c_str();
  };
  gLayoutHooks.surfaceColouring = [](Handle) { return 2; };
  Handle graph = Add(NewObjN(kGraph3D, 93));
  Handle surface = NewObjN(kSurfacePlot, 7);
  const char* trees[] = {"m1x3(x,y,z)", "=(u,:(0,1))", "=(v,:(0,1))", "z", "cc", "extra"};
  for (int i = 0; i < 6; ++i) PutSlot(surface, i + 1, Build(trees[i]));
  PutSlot(graph, 92, surface);
  LayOut();
  const SentenceLayout* layout = SentenceLayoutOf(surface);
  ASSERT_NE(nullptr, layout);
  std::vector<std::string> popups;
  int32_t firstBottom = 0;
  int32_t secondTop = 1 << 30;
  for (const SentencePiece& piece : layout->pieces) {
    if (piece.kind == SentencePieceKind::kPopup) popups.push_back(piece.text);
    if (piece.sentence == 0) firstBottom = std::max(firstBottom, piece.box.bottom);
    if (piece.sentence == 1) secondTop = std::min(secondTop, piece.box.top);
  }
  // Slots 5, 6, 7 of the surface sentence, then 2 and 3 of its colouring line.
  EXPECT_EQ((std::vector<std::string>{"Red", "solid", "Blue", "normal", "Red"}), popups);
  EXPECT_LE(firstBottom, secondTop) << "the colouring line comes below";
  // The colouring line takes the fourth expression; the others are not shown.
  EXPECT_FALSE(Hidden(ObjSlot(surface, 4)));
  EXPECT_TRUE(Hidden(ObjSlot(surface, 5)));
  EXPECT_TRUE(Hidden(ObjSlot(surface, 6)));

  // In a 2D graph a surface is a density plot, without a colouring line.
  Handle flat = Add(NewObjN(kGraph2D, 69));
  Handle density = NewObjN(kSurfacePlot, 4);
  for (int i = 0; i < 3; ++i) PutSlot(density, i + 1, Build(trees[i]));
  PutSlot(flat, 68, density);
  LayOut();
  const SentenceLayout* flatLayout = SentenceLayoutOf(density);
  ASSERT_NE(nullptr, flatLayout);
  EXPECT_EQ(" Surface at ", flatLayout->pieces[1].text);
  for (const SentencePiece& piece : flatLayout->pieces) {
    EXPECT_EQ(0, piece.sentence);
    EXPECT_NE(SentencePieceKind::kPopup, piece.kind);
  }
}

}  // namespace
}  // namespace lemmabox::testing
