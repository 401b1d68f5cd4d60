// Whole notebooks drawn to EPS and PostScript: the picture is the size of
// the laid-out notebook, Ghostscript renders it without an error and with
// ink where the rows are, and the notebook is left to be laid out again for
// its window. Set LEMMABOX_KEEP_RENDERINGS to a directory to keep the PNG
// renderings for looking at.
#include "layout/notebook_render.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comment_trees.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/derivation.h"
#include "notebook/propositions.h"
#include "ports/output_sink.h"
#include "rows_fixture.h"
#include "shell/messages.h"
#include "support/ghostscript.h"

namespace lemmabox::testing {
namespace {

namespace fs = std::filesystem;

class NotebookRenderTest : public RowsTest {
 protected:
  void SetUp() override {
    RowsTest::SetUp();
    gLayoutHooks.commentTree = TestCommentTree;
    directory_ = fs::temp_directory_path() /
                 ("lemmabox_notebook_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override {
    fs::remove_all(directory_);
    ResetLayoutHooks();
    RowsTest::TearDown();
    ForgetTestComments();
  }

  // A notebook with one of every kind of row; tables and graphs only when
  // asked for (they are shown as placeholders).
  void BuildSample(bool tablesAndGraphs = true) {
    Handle heading = Add(NewPlainComment("Motion under constant acceleration", 14, true));
    for (const char* name : {"a", "t", "v"})
      Add(NewNameDecl(NewUndeclaredName(name), kNameVariable), 1);
    Collapsed(heading);
    Add(
        NewPlainComment("The velocity grows linearly with time; integrating once more "
                        "gives the distance covered, which we then solve for the time."));
    Handle velocity = Assume("=(v,*(a,t))");
    Handle distance = Assume("=(s,*(/(1,2),a,^(t,2)))");
    Handle solved = Assume("=(t,%(/(*(2,s),a)))", 1);
    MakeConclusion(solved, distance);
    AppendDerivationStep(solved, NewDerivationStep(9, true, true, 0, {}));
    AppendDerivationStep(solved, NewDerivationStep(1, true, true, 0, {}));
    Assume("=(E,*(/(1,2),m,^(v,2)))", kInline);
    Handle failed = Assume("=(x,+(j(*(^(x,2),dx),0,1),s(k,1,n)))");
    MakeConclusion(failed, velocity);
    SetErrorNumber(failed, kMsgErrorInSource);
    Add(NewTransformRule(Build("*(`a,0)"), Build("0"), kRuleSimplify));
    Add(NewIndependenceDecl(Build("m1x2(x,y)")));
    Handle theory = Add(NewCaseTheory());
    Assume("<(x,0)", 0, theory);
    Assume("=(|(x),-(x))", 1, theory);
    Add(NewPageBreak());
    if (!tablesAndGraphs) return;
    Handle table = Add(NewTable(1, false, 11));
    PutSlot(table, 0, Build(";(f,x)"));
    Handle graph = Add(NewObjN(kGraph2D, 69));
    Handle plot = NewObjN(kLinePlot, 3);
    PutSlot(plot, 1, Build("m1x2(x,;(f,x))"));
    PutSlot(plot, 2, Build("=(x,:(0,1))"));
    PutSlot(graph, 68, plot);
  }

  // Renders PostScript text with Ghostscript at `scale` pixels per point.
  bool Render(const std::string& text, const std::string& name, bool eps, int scale,
              GrayPicture& picture, std::string* messages = nullptr) {
    const fs::path in = directory_ / (name + (eps ? ".eps" : ".ps"));
    std::ofstream(in, std::ios::binary) << text;
    picture.inkBelow = 160;
    return RenderWithGhostscript(in, eps, 72 * scale, picture, messages);
  }

 private:
  fs::path directory_;
};

TEST_F(NotebookRenderTest, TheEpsPictureIsTheNotebookAndRendersCleanly) {
  BuildSample(false);
  StringSink sink;
  NotebookRenderOptions options;
  options.printing = false;  // icons as on the screen
  options.postScript.creationDate = "today";
  const Point size = RenderNotebookEps(main, sink, options);

  // The same layout, made here for the screen, gives the bounding box.
  const LayoutBox box = LayOut();
  EXPECT_EQ(box.width, size.x);
  EXPECT_EQ(box.height, size.y);
  const std::string& eps = sink.text();
  EXPECT_EQ(0u, eps.find("%!PS-Adobe-2.0 EPSF-1.2"));
  EXPECT_NE(std::string::npos, eps.find("%%BoundingBox:0 0 " + std::to_string(size.x) + " " +
                                        std::to_string(size.y) + "\n"));
  EXPECT_NE(std::string::npos, eps.find("(Cannot ReManipulate this Conclusion:"))
      << "the error area";

  if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript is not installed";
  GrayPicture picture;
  std::string messages;
  ASSERT_TRUE(Render(eps, "notebook", true, 2, picture, &messages)) << messages;
  EXPECT_EQ(2 * size.x, picture.width);
  EXPECT_EQ(2 * size.y, picture.height);
  // Ink on every shown row, nothing on the hidden declarations.
  for (int i = FirstProp(main); i < ObjCount(main); ++i) {
    Handle prop = ObjSlot(main, i);
    const Rect r = BoxOf(prop);
    if (Hidden(prop)) continue;
    if (ObjType(prop) == kPageBreak) continue;  // its icon shows; checked below
    EXPECT_TRUE(picture.InkIn(Rect{2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom}))
        << "row " << i << " of type " << ObjType(prop);
  }
}

TEST_F(NotebookRenderTest, ThePostScriptVariantIsOnePageOfTheNotebooksSize) {
  BuildSample();
  StringSink sink;
  const Point size = RenderNotebookPostScript(main, sink);
  const std::string& ps = sink.text();
  EXPECT_EQ(0u, ps.find("%!PS-Adobe-3.0"));
  EXPECT_NE(std::string::npos, ps.find("%%Pages: 1"));
  EXPECT_NE(std::string::npos, ps.find("%%BoundingBox: 0 0 " + std::to_string(size.x) + " " +
                                       std::to_string(size.y) + "\n"));
  if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript is not installed";
  GrayPicture picture;
  std::string messages;
  ASSERT_TRUE(Render(ps, "notebook_page", false, 1, picture, &messages)) << messages;
  EXPECT_EQ(size.x, picture.width);
  EXPECT_EQ(size.y, picture.height);
  EXPECT_TRUE(picture.InkIn(Rect{0, 0, picture.width, picture.height}));
}

TEST_F(NotebookRenderTest, TablesAndGraphsShowAFramedBoxWithTheirKind) {
  BuildSample();
  StringSink sink;
  const Point size = RenderNotebookEps(main, sink);
  const std::string& eps = sink.text();
  EXPECT_NE(std::string::npos, eps.find("(Table \\(Tabulation\\)) t"));
  EXPECT_NE(std::string::npos, eps.find("(11 points) t"));
  EXPECT_NE(std::string::npos, eps.find("(2D Graph) t"));
  EXPECT_NE(std::string::npos, eps.find("( Line at ) t"));
  LayOut();
  Handle graph = ObjSlot(main, ObjCount(main) - 1);
  Handle table = ObjSlot(main, ObjCount(main) - 2);
  // Rounded up to whole 32s past 34 more; a graph keeps its frame's size.
  EXPECT_EQ(0, BoxOf(table).Width() % 32);
  EXPECT_EQ(0, BoxOf(graph).Width() % 32);
  EXPECT_GE(BoxOf(graph).Width(), kDefaultGraphFrameWidth);
  EXPECT_GE(BoxOf(graph).Height(), kDefaultGraphFrameHeight);
  // The plot's sentence lies inside the graph's box.
  const Rect plot = BoxOf(ObjSlot(graph, 68));
  EXPECT_GT(plot.top, BoxOf(graph).top);
  EXPECT_LT(plot.right, BoxOf(graph).right);
  if (!HaveGhostscript()) GTEST_SKIP() << "Ghostscript is not installed";
  GrayPicture picture;
  std::string messages;
  ASSERT_TRUE(Render(eps, "notebook_placeholders", true, 1, picture, &messages)) << messages;
  EXPECT_EQ(size.x, picture.width);
  for (Handle entry : {table, graph}) {
    const Rect r = BoxOf(entry);
    EXPECT_TRUE(picture.InkIn(Rect{r.left, r.top, r.left + 2, r.bottom})) << "its frame";
  }
}

TEST_F(NotebookRenderTest, ExportingLeavesTheWindowsLayoutToBeMadeAgain) {
  BuildSample();
  LayOut();
  static int refreshes;
  static DisplayTarget shown;
  refreshes = 0;
  shown = DisplayTarget{env.get(), main};
  gLayoutHooks.displayOf = [](Handle, DisplayTarget& out) {
    out = shown;
    return true;
  };
  gLayoutHooks.refreshNotebook = [](Handle) { ++refreshes; };
  StringSink sink;
  RenderNotebookEps(main, sink);
  EXPECT_FALSE(HasFlag(main, kFlagSizeValid));
  EXPECT_FALSE(HasFlag(ObjSlot(main, FirstProp(main)), kFlagSizeValid));
  EXPECT_EQ(1, refreshes);
  EXPECT_GT(sink.text().size(), 1000u);
}

TEST_F(NotebookRenderTest, AnEmptyNotebookIsAOneUnitPicture) {
  StringSink sink;
  const Point size = RenderNotebookEps(main, sink);
  EXPECT_EQ((Point{1, 1}), size);
  EXPECT_NE(std::string::npos, sink.text().find("%%BoundingBox:0 0 1 1"));
}

}  // namespace
}  // namespace lemmabox::testing
