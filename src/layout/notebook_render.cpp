#include "layout/notebook_render.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "layout/draw_obj.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "notebook/notebook_record.h"
#include "ports/measuring_port.h"
#include "ports/postscript_document.h"

namespace lemmabox {
namespace {

constexpr int32_t kFar = std::numeric_limits<int32_t>::max() / 4;

// Laying a notebook out for an export overwrites the sizes cached for the
// screen. However the export ends, the notebook is left to be laid out
// again, and a window showing it is told so.
class ExportLayout {
 public:
  explicit ExportLayout(Handle mainTheory) : main_(mainTheory) { InvalidateTree(main_); }
  ~ExportLayout() {
    InvalidateTree(main_);
    DisplayTarget display;
    if (gLayoutHooks.displayOf(main_, display) && display.root)
      gLayoutHooks.refreshNotebook(display.root);
  }
  ExportLayout(const ExportLayout&) = delete;
  ExportLayout& operator=(const ExportLayout&) = delete;

 private:
  Handle main_;
};

// Lays the notebook out on a measuring port and hands the drawing to
// `draw` with the picture's zone.
Point Render(Handle mainTheory, const NotebookRenderOptions& options,
             const std::function<void(const Rect& zone, const NotebookStyle& style)>& draw) {
  const NotebookStyle style = NotebookRecordOf(mainTheory).style;
  ExportLayout guard(mainTheory);
  MeasuringPort measuring(options.postScript.resolution);
  const LayoutEnv env(measuring, style, options.printing);
  const LayoutBox box = LayOutNotebook(mainTheory, env);
  // An empty notebook still makes a picture of one unit.
  const Rect zone{0, 0, std::max(1, box.width), std::max(1, box.height)};
  draw(zone, style);
  return Point{zone.right, zone.bottom};
}

}  // namespace

LayoutBox LayOutNotebook(Handle mainTheory, const LayoutEnv& env) {
  const LayoutBox box = SizeAtLevel(mainTheory, env, kLevelMain);
  Hdr(mainTheory).box = Rect{0, 0, box.width, box.height};
  return box;
}

void DrawNotebook(Handle mainTheory, const LayoutEnv& env, GraphicsPort& port, const Rect& clip,
                  Point origin) {
  DrawAtOrigin(mainTheory, env, port, clip, origin);
}

Point RenderNotebookEps(Handle mainTheory, OutputSink& sink, const NotebookRenderOptions& options) {
  return Render(mainTheory, options, [&](const Rect& zone, const NotebookStyle& style) {
    PostScriptOptions ps = options.postScript;
    ps.eps = true;
    PostScriptPort port(sink, zone, ps);
    const LayoutEnv env(port, style, options.printing);
    DrawNotebook(mainTheory, env, port, Rect{-kFar, -kFar, kFar, kFar});
    port.close();
  });
}

Point RenderNotebookPostScript(Handle mainTheory, OutputSink& sink,
                               const NotebookRenderOptions& options) {
  return Render(mainTheory, options, [&](const Rect& zone, const NotebookStyle& style) {
    const PostScriptOptions& ps = options.postScript;
    const int32_t resolution = std::max(1, ps.resolution);
    PostScriptPageSetup setup;
    // The paper is the notebook's size, rounded up to whole points.
    setup.paperWidth =
        static_cast<int32_t>((int64_t{zone.right} * 72 + resolution - 1) / resolution);
    setup.paperHeight =
        static_cast<int32_t>((int64_t{zone.bottom} * 72 + resolution - 1) / resolution);
    setup.resolution = resolution;
    setup.title = ps.title;
    setup.creationDate = ps.creationDate;
    setup.programName = ps.programName;
    setup.version = ps.version;
    PostScriptDocument document(sink, setup);
    PostScriptPort& port = document.BeginPage();
    const LayoutEnv env(port, style, options.printing);
    DrawNotebook(mainTheory, env, port, Rect{-kFar, -kFar, kFar, kFar});
    document.Finish();
  });
}

}  // namespace lemmabox
