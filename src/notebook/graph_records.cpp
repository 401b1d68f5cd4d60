#include "notebook/graph_records.h"

#include <bit>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/handles.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

bool IsGraph(Handle obj) {
  return obj != nullptr && (ObjType(obj) == 'G' || ObjType(obj) == 'Z');
}

// --- The plot block: a byte image of PlotSettings ---
//
//   int16 choices[4], int32 colours[3], int32 list count, then per list:
//   int8 kind, char form, int16 values[2], double reals[2], int32 count, and
//   count points of { uint16 position, int16 x, y, z, uint8 flags }.

template <class T>
void Put(std::vector<uint8_t>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

class BlockReader {
 public:
  BlockReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
  template <class T>
  T Get() {
    T value{};
    if (at_ + sizeof value > size_) InternalError("PlotBlock");
    std::memcpy(&value, bytes_ + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t at_ = 0;
};

Handle& PlotBlock(Handle plot) {
  if (plot == nullptr || !IsPlotType(ObjType(plot)) || ObjCount(plot) < 1)
    InternalError("PlotBlock");
  return reinterpret_cast<Handle&>(DataSlot(plot, 0));
}

}  // namespace

GraphSettings GetGraphSettings(Handle graph) {
  if (!IsGraph(graph)) InternalError("GraphSettings");
  GraphSettings s;
  auto word = [&](int i) { return static_cast<int32_t>(DataSlot(graph, i)); };
  s.top = word(kGraphWordTop);
  s.left = word(kGraphWordLeft);
  s.bottom = word(kGraphWordBottom);
  s.right = word(kGraphWordRight);
  s.flags = word(kGraphWordFlags);
  s.aspect = word(kGraphWordAspect);
  s.setting = word(kGraphWordSetting);
  s.cropping = word(kGraphWordCropping);
  s.speed = word(kGraphWordSpeed);
  s.upTo = word(kGraphWordUpTo);
  if (ObjType(graph) == 'Z') {
    for (int i = 0; i < 9; ++i)
      s.rotation[i] = std::bit_cast<float>(static_cast<uint32_t>(word(kGraphWordRotation + i)));
    s.perspective = word(kGraphWordPerspective);
  }
  return s;
}

void SetGraphSettings(Handle graph, const GraphSettings& s) {
  if (!IsGraph(graph)) InternalError("GraphSettings");
  auto set = [&](int i, int32_t value) { DataSlot(graph, i) = value; };
  set(kGraphWordTop, s.top);
  set(kGraphWordLeft, s.left);
  set(kGraphWordBottom, s.bottom);
  set(kGraphWordRight, s.right);
  set(kGraphWordFlags, s.flags & ~kGraphFlagOneWay);
  set(kGraphWordAspect, s.aspect);
  set(kGraphWordSetting, s.setting);
  set(kGraphWordCropping, s.cropping);
  set(kGraphWordSpeed, s.speed);
  set(kGraphWordUpTo, s.upTo);
  if (ObjType(graph) == 'Z') {
    for (int i = 0; i < 9; ++i)
      set(kGraphWordRotation + i, static_cast<int32_t>(std::bit_cast<uint32_t>(s.rotation[i])));
    set(kGraphWordPerspective, s.perspective);
  }
}

int GraphSettingSlots(TypeCode type) {
  switch (type) {
    case 'G':
      return 5;
    case 'Z':
      return 6;
    default:
      InternalError("GraphSettingSlots");
  }
}

Handle NewGraph(TypeCode type) {
  const int settings = GraphSettingSlots(type);
  const int first = LeadingDataSlots(type);
  Handle graph = NewObjN(type, first + settings);
  for (int i = 0; i < first; ++i) DataSlot(graph, i) = 0;
  for (int i = first; i < first + settings; ++i) PutSlot(graph, i, NewQuestionMark());
  SetGraphSettings(graph, GraphSettings{});
  return graph;
}

int PlotExpressionCount(TypeCode type) {
  switch (type) {
    case 'L':
      return 2;
    case 'X':
    case 'S':
      return 3;
    case 'R':
    case 'O':
    case 'D':
      return 4;
    default:
      InternalError("PlotExpressionCount");
  }
}

PlotSettings GetPlotSettings(Handle plot) {
  PlotSettings s;
  Handle block = PlotBlock(plot);
  if (block == nullptr) return s;
  BlockReader in(reinterpret_cast<const uint8_t*>(*block), ObjHandleSize(block));
  for (int16_t& choice : s.choices) choice = in.Get<int16_t>();
  for (int32_t& colour : s.colours) colour = in.Get<int32_t>();
  const auto lists = in.Get<int32_t>();
  for (int32_t l = 0; l < lists; ++l) {
    PointList list;
    list.kind = in.Get<int8_t>();
    list.form = in.Get<char>();
    for (int16_t& value : list.values) value = in.Get<int16_t>();
    for (double& real : list.reals) real = in.Get<double>();
    const auto count = in.Get<int32_t>();
    list.points.resize(static_cast<size_t>(count));
    for (PlotPoint& p : list.points) {
      p.position = in.Get<uint16_t>();
      p.x = in.Get<int16_t>();
      p.y = in.Get<int16_t>();
      p.z = in.Get<int16_t>();
      p.flags = in.Get<uint8_t>();
    }
    s.pointLists.push_back(std::move(list));
  }
  return s;
}

void SetPlotSettings(Handle plot, const PlotSettings& s) {
  std::vector<uint8_t> bytes;
  for (int16_t choice : s.choices) Put(bytes, choice);
  for (int32_t colour : s.colours) Put(bytes, colour);
  Put(bytes, static_cast<int32_t>(s.pointLists.size()));
  for (const PointList& list : s.pointLists) {
    Put(bytes, list.kind);
    Put(bytes, list.form);
    for (int16_t value : list.values) Put(bytes, value);
    for (double real : list.reals) Put(bytes, real);
    Put(bytes, static_cast<int32_t>(list.points.size()));
    for (const PlotPoint& p : list.points) {
      Put(bytes, p.position);
      Put(bytes, p.x);
      Put(bytes, p.y);
      Put(bytes, p.z);
      Put(bytes, p.flags);
    }
  }
  Handle block = AllocObjHandle(bytes.size());
  std::memcpy(*block, bytes.data(), bytes.size());
  Handle& slot = PlotBlock(plot);
  ReleaseObjHandle(slot);
  slot = block;
}

Handle NewPlot(TypeCode type) {
  const int expressions = PlotExpressionCount(type);
  Handle plot = NewObjN(type, 1 + expressions);
  DataSlot(plot, 0) = 0;
  for (int i = 1; i <= expressions; ++i) PutSlot(plot, i, NewQuestionMark());
  PlotSettings settings;
  settings.choices = {1, 1, 1, 1};
  SetPlotSettings(plot, settings);
  return plot;
}

}  // namespace lemmabox
