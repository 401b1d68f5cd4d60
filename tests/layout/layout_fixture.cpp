#include "layout_fixture.h"

#include <cstring>

#include "layout/size_obj.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/propositions.h"
#include "ports/font_metrics.h"
#include "shell/stack_check.h"

namespace lemmabox::testing {

void LayoutTest::SetUp() {
  HeadlessTest::SetUp();
  RecordStackBase();
  style = DefaultNotebookStyle();
  Rebuild();
}

void LayoutTest::TearDown() {
  for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) DisposeObj(*it);
  owned_.clear();
  HeadlessTest::TearDown();
}

void LayoutTest::Rebuild() {
  env.reset();
  env = std::make_unique<LayoutEnv>(port, style);
}

Handle LayoutTest::Make(const std::string& text) {
  return Own(Build(text));
}

Handle LayoutTest::Own(Handle obj) {
  owned_.push_back(obj);
  return obj;
}

Handle LayoutTest::Declared(const std::string& spelling, int nameClass) {
  Handle declaration =
      Own(NewNameDecl(NewUndeclaredName(spelling.c_str()), static_cast<NameClass>(nameClass)));
  Handle name = NewObj(kName, kTextPayload);
  DeclOfName(name) = declaration;
  return name;
}

LayoutBox LayoutTest::Lay(Handle obj, int level) {
  return SizeAtLevel(obj, *env, level);
}

Handle LayoutTest::Statement(Handle expr, int level) {
  for (auto it = owned_.begin(); it != owned_.end(); ++it) {
    if (*it == expr) {
      owned_.erase(it);
      break;
    }
  }
  Handle entry = Own(NewAssumption(expr));
  SizeAtLevel(expr, *env, level);
  ApplyParenMargins(M(), entry, 0);
  return entry;
}

Handle LayoutTest::At(Handle obj, std::initializer_list<int> path) {
  for (int i : path) obj = ObjSlot(obj, i);
  return obj;
}

int32_t LayoutTest::FontWidth(const std::string& text, FontSet set, int level) const {
  return TextWidth(text, env->font(set, level));
}

// --- the recording port ---

void RecordingPort::drawDeluxeString(std::string_view text, const PortFont& font, uint8_t,
                                     int32_t x, int32_t y, TextMode) {
  DrawCall call;
  call.op = "text";
  call.text = std::string(text);
  call.family = font.family;
  call.size = font.size;
  call.points = {Point{x, y}};
  calls.push_back(call);
}

void RecordingPort::startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern,
                                    DrawMode mode) {
  MeasuringPort::startDeluxeLine(width, color, pattern, mode);
  line_ = DrawCall{};
  line_.op = "line";
  line_.size = width;
  lineOpen_ = true;
}

void RecordingPort::moveTo(int32_t x, int32_t y) {
  MeasuringPort::moveTo(x, y);
  line_.points.push_back(Point{x, y});
}

void RecordingPort::lineTo(int32_t x, int32_t y) {
  MeasuringPort::lineTo(x, y);
  line_.points.push_back(Point{x, y});
}

void RecordingPort::dotAt(int32_t x, int32_t y) {
  MeasuringPort::dotAt(x, y);
  DrawCall call;
  call.op = "dot";
  call.size = line_.size;
  call.points = {Point{x, y}};
  calls.push_back(call);
}

void RecordingPort::endLine() {
  if (lineOpen_ && line_.points.size() > 1) calls.push_back(line_);
  lineOpen_ = false;
  line_ = DrawCall{};
}

void RecordingPort::paintPolygon(std::span<const Point> polygon) {
  DrawCall call;
  call.op = "polygon";
  call.points.assign(polygon.begin(), polygon.end());
  calls.push_back(call);
}

void RecordingPort::frameZone(const Rect& zone) {
  DrawCall call;
  call.op = "frame";
  call.zone = zone;
  calls.push_back(call);
}

void RecordingPort::integralSign(const Rect& zone, int32_t thickness) {
  DrawCall call;
  call.op = "integral";
  call.zone = zone;
  call.size = thickness;
  calls.push_back(call);
}

void RecordingPort::stretchImage(const PortImage& image, const Rect& zone) {
  DrawCall call;
  call.op = "image";
  call.text = std::to_string(image.width) + "x" + std::to_string(image.height);
  call.zone = zone;
  calls.push_back(call);
}

int RecordingPort::Count(const std::string& op) const {
  int n = 0;
  for (const DrawCall& call : calls) n += call.op == op;
  return n;
}

std::vector<DrawCall> RecordingPort::Texts() const {
  std::vector<DrawCall> texts;
  for (const DrawCall& call : calls)
    if (call.op == "text") texts.push_back(call);
  return texts;
}

}  // namespace lemmabox::testing
