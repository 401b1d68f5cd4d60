#include "rows_fixture.h"

#include "layout/notebook_render.h"
#include "layout/relayout.h"
#include "mathobj/tree_text.h"
#include "notebook/document.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"

namespace lemmabox::testing {

void RowsTest::SetUp() {
  LayoutTest::SetUp();
  main = NewNotebook();
  SetCurrentNotebook(main);
}

void RowsTest::TearDown() {
  CloseNotebook(main);
  main = nullptr;
  LayoutTest::TearDown();
}

Handle RowsTest::Add(Handle prop, int indentation, Handle theory) {
  theory = theory ? theory : main;
  InsertProp(prop, theory, ObjCount(theory), indentation);
  // InsertProp turns an inline first proposition into a row start.
  Hdr(prop).aux = static_cast<uint8_t>(indentation);
  return prop;
}

Handle RowsTest::Assume(const std::string& tree, int indentation, Handle theory) {
  return Add(NewAssumption(Build(tree)), indentation, theory);
}

Handle RowsTest::Collapsed(Handle prop) {
  SetFlag(prop, kFlagCollapsed);
  return prop;
}

LayoutBox RowsTest::LayOut() {
  InvalidateTree(main);
  return LayOutNotebook(main, *env);
}

void RowsTest::ShowIcons(bool shown) {
  style.iconMode = shown ? kIconsAlways : kIconsNever;
  Rebuild();
}

Rect RowsTest::BoxOf(Handle obj) {
  return AbsoluteBox(obj);
}

void InkPort::drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style,
                               int32_t x, int32_t y, TextMode mode) {
  RecordingPort::drawDeluxeString(text, font, style, x, y, mode);
  texts.push_back(Text{std::string(text), foreground(), Point{x, y}, font.size, font.italic});
}

void InkPort::startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) {
  RecordingPort::startDeluxeLine(width, color, pattern, mode);
  patterns.push_back(pattern);
}

void InkPort::eraseArea(std::span<const Point>) {
  ++erased;
}

void InkPort::paintCircle(const Rect&) {
  ++circles;
}

std::string InkPort::AllText() const {
  std::string all;
  for (const Text& t : texts) all += (all.empty() ? "" : " ") + t.text;
  return all;
}

}  // namespace lemmabox::testing
