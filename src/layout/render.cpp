#include "layout/render.h"

#include <limits>

#include "layout/draw_obj.h"
#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "mathobj/dup_dispose.h"
#include "ports/measuring_port.h"

namespace lemmabox {
namespace {

// A private copy of an expression, laid out afresh and disposed of however
// the work ends.
class LayoutCopy {
 public:
  explicit LayoutCopy(Handle expr) : copy_(DupObj(expr)) { InvalidateTree(copy_); }
  ~LayoutCopy() { DisposeObj(copy_); }
  LayoutCopy(const LayoutCopy&) = delete;
  LayoutCopy& operator=(const LayoutCopy&) = delete;
  Handle get() const { return copy_; }

 private:
  Handle copy_;
};

constexpr int32_t kFar = std::numeric_limits<int32_t>::max() / 4;

}  // namespace

LayoutBox MeasureExpression(GraphicsPort& port, Handle expr, const NotebookStyle& style,
                            int level) {
  const LayoutEnv env(port, style);
  LayoutCopy copy(expr);
  return SizeAtLevel(copy.get(), env, level);
}

LayoutBox RenderExpression(GraphicsPort& port, Handle expr, const NotebookStyle& style,
                           Point origin, int level) {
  const LayoutEnv env(port, style);
  LayoutCopy copy(expr);
  const LayoutBox box = SizeAtLevel(copy.get(), env, level);
  DrawAtOrigin(copy.get(), env, port, Rect{-kFar, -kFar, kFar, kFar}, origin);
  return box;
}

Point WriteExpressionEps(OutputSink& sink, Handle expr, const NotebookStyle& style,
                         const PostScriptOptions& options, int32_t margin) {
  MeasuringPort measuring(options.resolution);
  const LayoutBox box = MeasureExpression(measuring, expr, style);
  const Rect zone{0, 0, box.width + 2 * margin, box.height + 2 * margin};
  PostScriptPort port(sink, zone, options);
  RenderExpression(port, expr, style, Point{margin, margin});
  port.close();
  return Point{zone.right, zone.bottom};
}

}  // namespace lemmabox
