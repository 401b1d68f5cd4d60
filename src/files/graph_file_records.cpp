// The records of graphs, plots and tables, written and read field by field
// side by side, so that each record's layout is seen in one place.
#include <cfloat>
#include <charconv>
#include <cmath>

#include "editor/table_data.h"
#include "files/file_records.h"
#include "mathobj/constructors.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/graph_records.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

[[noreturn]] void Corrupt() {
  Raise(kMsgCorruptData);
}

int16_t Word(FieldReader& in) {
  return static_cast<int16_t>(in.Short(-32768, 32767));
}

void SkipDefaults(FieldReader& in, int n) {
  for (int i = 0; i < n; ++i) in.Long(INT32_MIN, INT32_MAX);
}

int32_t Colour(FieldReader& in) {
  return in.Long(0, kMaxPackedColour);
}

int16_t Choice(FieldReader& in) {
  return static_cast<int16_t>(in.Short(0, 255));
}

// --- Graphs ---
//
// 2D: "~G" top left bottom right LF, flags aspect setting cropping speed LF.
// 3D: "~Z" top left bottom right flags LF, three rotation rows, aspect
//     perspective cropping setting speed, the drag offsets "0 0 ? ?" LF.
// Then the setting expressions and the plots, "~t" and the trailer.

int WrittenGraphFlags(const GraphSettings& s) {
  return (s.flags & (kGraphFlagDisplayMask | kGraphFlagAnimationGraph)) |
         (s.upTo == 0 ? kGraphFlagOneWay : 0);
}

void WriteGraph(Handle graph, TextWriter& w) {
  const GraphSettings s = GetGraphSettings(graph);
  std::string& out = w.out;
  if (ObjType(graph) == 'G') {
    AppendFormat(out, "~G%d %d %d %d\n", s.top, s.left, s.bottom, s.right);
    AppendFormat(out, "%d %d %d %d %d\n", WrittenGraphFlags(s), s.aspect, s.setting, s.cropping,
                 s.speed);
  } else {
    AppendFormat(out, "~Z%d %d %d %d %d\n", s.top, s.left, s.bottom, s.right, WrittenGraphFlags(s));
    for (int row = 0; row < 3; ++row)
      AppendFormat(out, "%1.5f %1.5f %1.5f\n", double{s.rotation[row * 3]},
                   double{s.rotation[row * 3 + 1]}, double{s.rotation[row * 3 + 2]});
    AppendFormat(out, "%d %d %d %d %d ", s.aspect, s.perspective, s.cropping, s.setting, s.speed);
    // The offsets of a drag in progress are the window's; a saved graph is at rest.
    out.append("0 0 ? ?\n");
  }
  WriteContainerContents(graph, w);
  w.Put("~t");
  WriteTrailer(graph, w);
}

// --- Plots ---
//
// After each plot's trailer a save adds its cached point lists: "~gc" kind
// count, then one line per point (position x y z); or "~gs" with two words
// and two reals, then the point lines up to the next record.

void WritePoints(const PointList& list, std::string& out) {
  for (const PlotPoint& p : list.points) {
    const bool invalid = (p.flags & kPointInvalid) != 0 && (p.flags & kPointSecondLevel) == 0;
    AppendFormat(out, "%ld %d %d %d\n", long{p.position}, invalid ? kInvalidCoordinate : p.x, p.y,
                 p.z);
  }
}

void WritePointLists(const PlotSettings& s, std::string& out) {
  for (const PointList& list : s.pointLists) {
    if (list.form == 's') {
      AppendFormat(out, "~gs%d %d %lg %lg ? ", list.values[0], list.values[1], list.reals[0],
                   list.reals[1]);
    } else {
      AppendFormat(out, "~gc%d %ld ? ", list.kind, static_cast<long>(list.points.size()));
    }
    WritePoints(list, out);
  }
}

void WritePlot(Handle plot, TextWriter& w) {
  const PlotSettings s = GetPlotSettings(plot);
  std::string& out = w.out;
  switch (ObjType(plot)) {
    case 'S':
      AppendFormat(out, "~S%d ? %ld ? ? ", s.choices[0], long{s.colours[0]});
      break;
    case 'L':
      AppendFormat(out, "~L%d %ld ? ", s.choices[0], long{s.colours[0]});
      break;
    case 'X':
      AppendFormat(out, "~X%d %ld ", s.choices[0], long{s.colours[0]});
      break;
    case 'R':
      AppendFormat(out, "~R%ld ? ", long{s.colours[0]});
      break;
    case 'D':
      AppendFormat(out, "~D%d %d %d ? ? ? ", s.choices[0], s.choices[1], s.choices[2]);
      AppendFormat(out, "%ld ? ? %ld %ld ? ? ? ? ", long{s.colours[0]}, long{s.colours[1]},
                   long{s.colours[2]});
      AppendFormat(out, "%d ? ? ", s.choices[3]);
      break;
    case 'O':
      AppendFormat(out, "~O%d ? ? %ld ? ", s.choices[0], long{s.colours[0]});
      break;
    default:
      InternalError("UnText");
  }
  for (int i = FirstObjSlot(plot); i < ObjCount(plot); ++i) {
    if (i > FirstObjSlot(plot)) w.Put(':');
    w.Put('(');
    WriteObj(ObjSlot(plot, i), w);
    w.Put(')');
  }
  WriteTrailer(plot, w);
  if (WritingNotebookFile()) WritePointLists(s, out);
}

// --- Tables ---
//
// "~N" 'r' or 'c' (real or complex), the flag and kind bytes, the two words,
// then the point count; the domain start and step and one line per point
// (a value, or the real and imaginary parts; '?' where undefined); then the
// tabulated name and the auxiliary expression, and the trailer.

void AppendReal(std::string& out, double value) {
  if (std::isnan(value)) {
    out.push_back('?');
    return;
  }
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void WriteTable(Handle table, TextWriter& w) {
  const TableRecord& r = TableRec(table);
  const bool complex = (r.flags & kTableComplex) != 0;
  std::string& out = w.out;
  AppendFormat(out, "~N%c%d %d ", complex ? 'c' : 'r', r.flags, r.kind);
  AppendFormat(out, " %ld \n", long{r.count});
  AppendFormat(out, "%ld %ld ", long{r.first}, long{r.second});
  AppendReal(out, r.start);
  out.push_back(' ');
  AppendReal(out, r.step);
  out.push_back('\n');
  const double* values = TableValues(table);
  const int perPoint = complex ? 2 : 1;
  for (int32_t k = 0; k < r.count; ++k) {
    for (int j = 0; j < perPoint; ++j) {
      if (j > 0) out.push_back(' ');
      AppendReal(out, values[k * perPoint + j]);
    }
    out.push_back('\n');
  }
  w.Put('(');
  WriteObj(ObjSlot(table, 0), w);
  w.Put("):(");
  WriteObj(ObjSlot(table, 1), w);
  w.Put(')');
  WriteTrailer(table, w);
}

bool InsideGraph(Handle container) {
  for (Handle h = container; h != nullptr; h = ObjParent(h))
    if (IsGraphType(ObjType(h))) return true;
  return false;
}

PlotPoint ReadPoint(FieldReader& in) {
  PlotPoint p;
  p.position = static_cast<uint16_t>(in.Long(0, 65535));
  p.x = Word(in);
  p.y = Word(in);
  p.z = Word(in);
  if (p.x == kInvalidCoordinate) p.flags = kPointInvalid;
  return p;
}

}  // namespace

void ReadGraphRecord(FieldReader& in, ReadState& state, char tag) {
  GraphSettings s;
  s.top = in.Short(-3000, 10000);
  s.left = in.Short(-3000, 10000);
  s.bottom = in.Short(-3000, 10000);
  s.right = in.Short(-3000, 10000);
  const int flags = in.Short(0, 15);
  if (tag == 'G') {
    s.aspect = in.Short(1, 2);
    s.setting = in.Short(0, 12);
    s.cropping = in.Short(0, 7);
    s.speed = in.Short(-1, 120);
  } else {
    for (float& entry : s.rotation) entry = static_cast<float>(in.Real(-1, 1));
    s.aspect = in.Short(1, 2);
    s.perspective = in.Short(1, 7);
    s.cropping = in.Short(0, 7);
    s.setting = in.Short(0, 12);
    s.speed = in.Short(-1, 120);
    SkipDefaults(in, 4);  // the drag offsets of a graph being turned
  }
  if (s.cropping == 0) s.cropping = kCroppingModerately;
  if (s.speed == -1) s.speed = kDefaultAnimationSpeed;
  s.upTo = (flags & kGraphFlagOneWay) != 0 ? 0 : 1;
  s.flags = flags & ~kGraphFlagOneWay;
  Handle graph = NewGraph(static_cast<TypeCode>(tag));
  SetGraphSettings(graph, s);
  PlaceProposition(state, graph, ObjSlot(graph, FirstObjSlot(graph)));
  state.Enter(graph);
}

void ReadPlotRecord(FieldReader& in, ReadState& state, char tag) {
  if (!InsideGraph(state.Container())) Corrupt();
  PlotSettings s;
  s.choices = {1, 1, 1, 1};
  switch (tag) {
    case 'S':
      s.choices[0] = Choice(in);
      SkipDefaults(in, 1);
      s.colours[0] = Colour(in);
      SkipDefaults(in, 2);
      break;
    case 'L':
      s.choices[0] = Choice(in);
      s.colours[0] = Colour(in);
      SkipDefaults(in, 1);
      break;
    case 'X':
      s.choices[0] = Choice(in);
      s.colours[0] = Colour(in);
      break;
    case 'R':
      s.colours[0] = Colour(in);
      SkipDefaults(in, 1);
      break;
    case 'D':
      for (int i = 0; i < 3; ++i) s.choices[i] = Choice(in);
      SkipDefaults(in, 3);
      s.colours[0] = Colour(in);
      SkipDefaults(in, 2);
      s.colours[1] = Colour(in);
      s.colours[2] = Colour(in);
      SkipDefaults(in, 4);
      s.choices[3] = Choice(in);
      SkipDefaults(in, 2);
      break;
    case 'O':
      s.choices[0] = Choice(in);
      SkipDefaults(in, 2);
      s.colours[0] = Colour(in);
      SkipDefaults(in, 1);
      break;
    default:
      Corrupt();
  }
  Handle plot = NewPlot(static_cast<TypeCode>(tag));
  SetPlotSettings(plot, s);
  PlaceProposition(state, plot, ObjSlot(plot, FirstObjSlot(plot)));
}

void ReadPointListRecord(FieldReader& in, ReadState& state) {
  const int form = in.Get();
  Handle plot = state.Current();
  if ((form != 'c' && form != 's') || plot == nullptr || !IsPlotType(ObjType(plot))) Corrupt();
  PointList list;
  list.form = static_cast<char>(form);
  if (form == 'c') {
    list.kind = static_cast<int8_t>(in.Short(-128, 127));
    const int32_t count = in.Long(0, kMaxPlotPoints);
    SkipDefaults(in, 1);
    for (int32_t i = 0; i < count; ++i) {
      list.points.push_back(ReadPoint(in));
      if ((i & 0xFF) == 0) CheckInterrupt();
    }
  } else {
    list.values[0] = Word(in);
    list.values[1] = Word(in);
    list.reals[0] = in.Real(-DBL_MAX, DBL_MAX);
    list.reals[1] = in.Real(-DBL_MAX, DBL_MAX);
    SkipDefaults(in, 1);
    while (in.MoreFields()) {
      if (static_cast<int32_t>(list.points.size()) >= kMaxPlotPoints) Corrupt();
      list.points.push_back(ReadPoint(in));
    }
  }
  PlotSettings s = GetPlotSettings(plot);
  s.pointLists.push_back(std::move(list));
  SetPlotSettings(plot, s);
}

void ReadTableRecord(FieldReader& in, ReadState& state) {
  const int form = in.Get();
  if (form != 'r' && form != 'c') Corrupt();
  const bool complex = form == 'c';
  const int flags = in.Short(0, 255);
  const int kind = in.Short(0, 255);
  const int32_t count = in.Long(0, 16000000);
  const int32_t first = in.Long(INT32_MIN, INT32_MAX);
  const int32_t second = in.Long(INT32_MIN, INT32_MAX);
  const double start = in.Real(-DBL_MAX, DBL_MAX);
  const double step = in.Real(-DBL_MAX, DBL_MAX);
  // The values are read before the table is made, so that a count the file
  // does not back with values costs nothing.
  std::vector<double> values;
  const int64_t wanted = int64_t{count} * (complex ? 2 : 1);
  for (int64_t i = 0; i < wanted; ++i) {
    values.push_back(in.RealOrUndefined());
    if ((i & 0xFFF) == 0) CheckInterrupt();
  }
  Handle table = NewTable(kind, complex, count);
  TableRecord& r = TableRec(table);
  r.flags = static_cast<uint8_t>((flags & ~kTableComplex) | (complex ? kTableComplex : 0));
  r.first = first;
  r.second = second;
  r.start = start;
  r.step = step;
  std::copy(values.begin(), values.end(), TableValues(table));
  PutSlot(table, 1, NewQuestionMark());
  PlaceProposition(state, table, ObjSlot(table, 0));
}

void RegisterGraphWriters() {
  OpTable<TextExportFn>& t = gTextExportTable;
  t.Set(kGraph2D, &WriteGraph);
  t.Set(kGraph3D, &WriteGraph);
  for (TypeCode plot : {kLinePlot, kAxisPlot, kGridPlot, kContourPlot, kSurfacePlot, kScatterPlot})
    t.Set(plot, &WritePlot);
  t.Set(kTable, &WriteTable);
}

}  // namespace lemmabox
