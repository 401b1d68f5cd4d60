#include "files/notebook_builder.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/registration.h"
#include "editor/perform.h"
#include "editor/undo.h"
#include "files/comment_store.h"
#include "files/file_kinds.h"
#include "files/file_reader.h"
#include "manip/manipulations.h"
#include "mathobj/constructors.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/graph_records.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox::testing {
namespace {

NodeStyle StyleOf(const TextRun& run) {
  NodeStyle style;
  StyleBits bits;
  bits.a[0] = run.bold ? 1 : 0;
  bits.a[1] = run.italic ? 1 : 0;
  style.record.SetBits(bits);
  style.record.SetSize(run.size);
  style.colour = PackColour(run.colour);
  return style;
}

void AddWords(std::vector<CommentNode>& into, std::string_view text, const NodeStyle& style) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      into.push_back(MakeCommentSpace(style));
      ++i;
      continue;
    }
    const size_t end = std::min(text.find(' ', i), text.size());
    into.push_back(MakeCommentWord(std::string(text.substr(i, end - i)), style));
    i = end;
  }
}

constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kDarkRed{160, 0, 0};
constexpr Rgb kDarkGreen{0, 110, 0};

TextRun Heading(std::string text) {
  return {std::move(text), true, false, 18, kNavy};
}
TextRun Plain(std::string text) {
  return {std::move(text)};
}
TextRun Emphasis(std::string text) {
  return {std::move(text), false, true, 12, kDarkRed};
}

}  // namespace

CommentTree RichComment(const std::vector<TextRun>& runs) {
  std::vector<std::vector<CommentNode>> paragraphs(1);
  for (const TextRun& run : runs) {
    const NodeStyle style = StyleOf(run);
    std::string_view text = run.text;
    for (size_t start = 0;;) {
      const size_t line = text.find('\n', start);
      AddWords(paragraphs.back(), text.substr(start, line - start), style);
      if (line == std::string_view::npos) break;
      paragraphs.emplace_back();
      start = line + 1;
    }
  }
  CommentTree tree = NewCommentTree();
  if (paragraphs.size() == 1) {
    tree.root.children = std::move(paragraphs.front());
  } else {
    for (auto& children : paragraphs)
      tree.root.children.push_back(MakeCommentParagraph(std::move(children)));
  }
  return tree;
}

NotebookBuilder::NotebookBuilder(Handle notebook) {
  RegisterCore();
  SetCurrentPlatform(&platform_);
  ResetInterruptCheck();
  notebook_ = notebook != nullptr ? notebook : NewNotebook();
  NotebookRecordOf(notebook_).prefs.fortranish = 1;
  view_ = OpenNotebookView(notebook_);
}

NotebookBuilder::~NotebookBuilder() {
  StartUndoRecord(false);
  CloseNotebookView(view_);
  CloseNotebook(notebook_);
  SetCurrentPlatform(nullptr);
}

void NotebookBuilder::Type(std::string_view script) {
  SetFrontView(view_);
  for (char c : script) PerformCommandCode(TypeCharCommand(static_cast<uint8_t>(c)));
}

Handle NotebookBuilder::Append(Handle prop, int indentation, Handle theory) {
  if (theory == nullptr) theory = notebook_;
  InsertProp(prop, theory, ObjCount(theory), indentation);
  Hdr(prop).aux = static_cast<uint8_t>(indentation);
  return prop;
}

void NotebookBuilder::TypeInto(Handle obj, int slot, std::string_view script) {
  SetFrontView(view_);
  view_->selections = {{ObjSlot(obj, slot), kPosWhole}};
  Type(script);
  CommitPendingEdits();
}

Handle NotebookBuilder::Assume(std::string_view script, int indentation, Handle theory) {
  Handle prop = Append(NewAssumption(nullptr), indentation, theory);
  TypeInto(prop, 0, script);
  return prop;
}

Handle NotebookBuilder::Declare(std::string_view name, char classLetter, int indentation,
                                Handle theory) {
  const std::string text(name);
  const NameClass classes[] = {kNameConstant, kNameVariable, kNameMLinearOperator,
                               kNameDLinearOperator, kNameFunction};
  const std::string letters = "cvmdf";
  const NameClass nameClass = classes[letters.find(classLetter)];
  Handle decl = NewNameDecl(NewUndeclaredName(text.c_str()), nameClass);
  Append(decl, indentation, theory);
  DeclarationPass(notebook_, false);
  return decl;
}

Handle NotebookBuilder::Comment(const std::vector<TextRun>& runs, int indentation, Handle theory) {
  return Append(NewCommentWith(RichComment(runs)), indentation, theory);
}

Handle NotebookBuilder::Derive(Handle source, int number, std::vector<int> part) {
  SetFrontView(view_);
  CommitPendingEdits();
  Handle target = StatementOf(source);
  for (int slot : part) target = ObjSlot(target, slot);
  view_->selections = {{target, kPosWhole}};
  const int before = ObjCount(ObjParent(source));
  if (CatchFailure([&] { RunManipulationCommand(number); }) != 0) return nullptr;
  Handle theory = ObjParent(source);
  if (ObjCount(theory) == before) return nullptr;
  return ObjSlot(theory, ObjSlotIndex(source) + 1);
}

void NotebookBuilder::Settle() {
  SetFrontView(view_);
  CommitPendingEdits();
  view_->selections.clear();
  DeclarationPass(notebook_, false);
}

// --- The template ---

Handle BuildTemplate() {
  NotebookBuilder b;
  Handle heading = b.Comment(
      {Heading("Predefined names"),
       Plain("\nThe constants and functions Lemmabox knows: pi, e, infinity, i, degree, d and "
             "the predefined functions. Each is declared here with its predefined behaviour; "
             "expose this group to see them.")});
  for (const PredefinedName& name : PredefinedNames()) {
    Handle decl = NewNameDecl(NewUndeclaredName(name.spelling), name.Class());
    SetDeclBehaviour(decl, BehaviourItemForKey(name.key));
    b.Append(decl, 1);
  }
  SetFlag(heading, kFlagCollapsed);
  b.Settle();
  // The builder closes its notebook; the caller gets a copy read back.
  return ReadNotebookBytes(NotebookText(b.Notebook()));
}

std::string SourceDir() {
  const char* dir = std::getenv("LEMMABOX_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// --- The examples ---

namespace {

Handle FromTemplate() {
  return ReadNotebookBytes(ReadBytes(SourceDir() + "/support/" + TemplateFileName()));
}

void Welcome(NotebookBuilder& b) {
  b.Comment({Heading("Welcome to Lemmabox")});
  b.Comment(
      {Plain("A notebook is a page of mathematics: equations and expressions you type "
             "(assumptions), equations Lemmabox derives from them (conclusions), comments "
             "like this one, declarations of names, rules, tables and graphs. Each entry "
             "sits on a row of the outline; rows can be indented under a heading and "
             "collapsed to one line.")});
  b.Comment({Heading("Typing"),
             Plain("\nClick below the last row and type mathematics as you would write it: "),
             Emphasis("x^2+2*x+1"), Plain(" gives a power and a sum, "), Emphasis("/"),
             Plain(" makes a fraction and "), Emphasis("_"),
             Plain(" a subscript. Press Return for a new assumption, Enter for a new comment.")});
  b.Declare("x", 'v', 0);
  b.Declare("a", 'c', 0);
  Handle square = b.Assume("x^2+2*x+3*x^2+x");
  b.Comment({Heading("Declaring names"),
             Plain("\nEvery name has a class: constant, variable, operator or function. When "
                   "you type a new name Lemmabox asks for its class; the answer is kept as a "
                   "name declaration at the top of the notebook. Names such as pi, e, sin and "
                   "J are declared already, in the collapsed group at the top.")});
  b.Comment({Heading("Selecting and manipulating"),
             Plain("\nClick an expression, or drag across part of it, to select it. Then choose "
                   "a manipulation from the Manipulate menu or the palette: Simplify, Expand, "
                   "Factor, Collect, Calculate and more. The result is a new conclusion, "
                   "labelled with the steps that made it; change the assumption and the "
                   "conclusion is derived again.")});
  b.Derive(square, kManipSimplify);
  Handle product = b.Assume("a*(x+1)*x");
  b.Derive(product, kManipCommute);
  Handle area = b.Assume("2*'p*3^2");
  b.Derive(area, kManipCalculate);
  b.Comment({Heading("Help"), Plain("\nPress F1 for the help pages: typing, the keyboard and "
                                    "the manipulations. The other examples in this folder "
                                    "show tables, graphs, case theories and rules.")});
}

void Algebra(NotebookBuilder& b) {
  b.Comment({Heading("Names, rules and derivations")});
  Handle section = b.Comment({Plain("Declarations of every class:")});
  b.Declare("k", 'c', 1);
  b.Declare("u", 'v', 1);
  b.Declare("v", 'v', 1);
  b.Declare("w", 'v', 1);
  b.Declare("L", 'm', 1);
  b.Declare("D", 'd', 1);
  b.Declare("g", 'f', 1);
  SetFlag(section, kFlagCollapsed);
  Handle each = b.Append(NewIndependenceDecl(nullptr, kIndependentOfEachOther));
  b.TypeInto(each, 0, "u,v");
  Handle all = b.Append(NewIndependenceDecl(nullptr, kIndependentOfAllVariables));
  b.TypeInto(all, 0, "w");
  Handle simplifyRule = b.Append(NewTransformRule(nullptr, nullptr, kRuleSimplify));
  b.TypeInto(simplifyRule, 0, "g(?x)^2");
  b.TypeInto(simplifyRule, 1, "1");
  Handle expandRule = b.Append(NewTransformRule(nullptr, nullptr, kRuleExpand));
  b.TypeInto(expandRule, 0, "L(?x+?y)");
  b.TypeInto(expandRule, 1, "L(?x)+L(?y)");
  Handle transformRule = b.Append(NewTransformRule(nullptr, nullptr, kRuleTransform));
  b.TypeInto(transformRule, 0, "g(?x)");
  b.TypeInto(transformRule, 1, "k*?x");
  Handle product = b.Assume("(u+v)*(u-v)");
  Handle commuted = b.Derive(product, kManipCommute);
  if (commuted != nullptr) b.Derive(commuted, kManipSimplify, {1});
  Handle definition = b.Assume("w=3*k");
  SetWorkingBit(definition, true);
  Handle sum = b.Assume("u*k+v*k+k");
  b.Derive(sum, kManipSimplify);
  Handle transformed = b.Assume("g(u)+1");
  b.Derive(transformed, kManipTransform, {0});
  b.Append(NewPageBreak());
  b.Comment({Plain("After the page break: a matrix and a few operators.")});
  b.Assume("(1,2;3,4)^*");
  b.Assume("abs(u-v)+sqrt(u)+5!");
  b.Declare("n", 'v');
  b.Assume("Summation(u^n:(n=1):10)");
}

void Cases(NotebookBuilder& b) {
  b.Comment({Heading("Case theories")});
  b.Declare("t", 'v');
  b.Comment(
      {Plain("A case theory holds what is true in one case; names declared inside it "
             "are its own.")});
  Handle positive = b.Append(NewCaseTheory());
  b.Assume("t>0", 0, positive);
  Handle inside = b.Assume("t^2+t", 0, positive);
  b.Derive(inside, kManipCommute);
  Handle negative = b.Append(NewCaseTheory());
  b.Declare("s", 'c', 0, negative);
  Handle nested = b.Assume("t<s", 0, negative);
  Handle indented = b.Assume("t*s+s", 1, negative);
  (void)nested;
  SetFlag(ObjSlot(negative, FirstProp(negative)), kFlagCollapsed);
  b.Derive(indented, kManipSimplify);
  Handle locked = b.Comment({Emphasis("A locked heading: its group stays collapsed.")});
  b.Assume("t+1", 1);
  b.Assume("t+2", 255);
  SetFlag(locked, kFlagCollapsed);
  SetFlag(locked, kFlagLocked);
}

std::vector<PlotPoint> SampledCurve(int n, double (*f)(double)) {
  std::vector<PlotPoint> points;
  for (int k = 0; k < n; ++k) {
    const double u = -1 + 2.0 * k / (n - 1);
    PlotPoint p;
    p.position = static_cast<uint16_t>(k * 65535 / (n - 1));
    p.x = static_cast<int16_t>(std::lround(u * 4096));
    const double v = f(u * 3);
    p.y = static_cast<int16_t>(std::lround(v / 3 * 4096));
    p.flags = 0;
    points.push_back(p);
  }
  // One point off the graph: undefined.
  points[n / 2].flags = kPointInvalid;
  points[n / 2].x = kInvalidCoordinate;
  return points;
}

void TablesAndGraphs(NotebookBuilder& b) {
  b.Comment({Heading("Tables and graphs")});
  b.Declare("x", 'v');
  b.Declare("y", 'v');
  b.Declare("z", 'v');
  b.Declare("f", 'f');
  b.Declare("h", 'f');
  Handle table = NewTable(1, false, 9);
  TableRecord& r = TableRec(table);
  r.start = 0;
  r.step = 0.25;
  for (int k = 0; k < 9; ++k) TableValues(table)[k] = std::sin(0.25 * k);
  TableValues(table)[8] = std::nan("");
  b.Append(table);
  b.TypeInto(table, 0, "f");
  Handle complexTable = NewTable(1, true, 3);
  TableRec(complexTable).start = -1;
  TableRec(complexTable).step = 0.5;
  for (int k = 0; k < 6; ++k) TableValues(complexTable)[k] = k * 1.5 - 2;
  b.Append(complexTable);
  b.TypeInto(complexTable, 0, "h");

  Handle graph = b.Append(NewGraph('G'));
  b.TypeInto(graph, 63, "x=left...right");
  b.TypeInto(graph, 64, "y=bottom...top");
  b.TypeInto(graph, 65, "left=-3");
  b.TypeInto(graph, 66, "right=3");
  b.TypeInto(graph, 67, "0");
  Handle line = b.Append(NewPlot('L'), 0, graph);
  b.TypeInto(line, 1, "(x,sin(x))");
  b.TypeInto(line, 2, "x=left...right");
  PlotSettings lineSettings = GetPlotSettings(line);
  lineSettings.choices[0] = 2;
  lineSettings.colours[0] = 0xC00000;
  lineSettings.pointLists.push_back(
      {0, 'c', {}, {}, SampledCurve(9, [](double u) { return std::sin(u); })});
  SetPlotSettings(line, lineSettings);
  Handle axis = b.Append(NewPlot('X'), 0, graph);
  b.TypeInto(axis, 1, "(x,0)");
  b.TypeInto(axis, 2, "x=left...right");
  b.TypeInto(axis, 3, "x");
  Handle grid = b.Append(NewPlot('R'), 0, graph);
  b.TypeInto(grid, 1, "(x,y)");
  b.TypeInto(grid, 2, "y=bottom...top");
  b.TypeInto(grid, 3, "x");
  b.TypeInto(grid, 4, "1");
  PlotSettings gridSettings = GetPlotSettings(grid);
  gridSettings.colours[0] = 0x808080;
  gridSettings.pointLists.push_back({1, 'c', {}, {}, SampledCurve(3, [](double) { return 0.0; })});
  gridSettings.pointLists.push_back(
      {0, 's', {4, -2}, {0.5, 1.25}, SampledCurve(3, [](double) { return 1.0; })});
  SetPlotSettings(grid, gridSettings);
  Handle scatter = b.Append(NewPlot('S'), 0, graph);
  b.TypeInto(scatter, 1, "f");
  b.TypeInto(scatter, 2, "x=0...2");
  b.TypeInto(scatter, 3, "x");
  GraphSettings settings = GetGraphSettings(graph);
  settings.aspect = 2;
  settings.upTo = 0;
  SetGraphSettings(graph, settings);

  Handle space = b.Append(NewGraph('Z'));
  b.TypeInto(space, 86, "x=west...east");
  b.TypeInto(space, 87, "y=south...north");
  b.TypeInto(space, 88, "z=bottom...top");
  b.TypeInto(space, 89, "west=-2");
  b.TypeInto(space, 90, "east=2");
  b.TypeInto(space, 91, "0");
  Handle surface = b.Append(NewPlot('D'), 0, space);
  b.TypeInto(surface, 1, "(x,y,x^2-y^2)");
  b.TypeInto(surface, 2, "x=west...east");
  b.TypeInto(surface, 3, "y=south...north");
  b.TypeInto(surface, 4, "z");
  PlotSettings surfaceSettings = GetPlotSettings(surface);
  surfaceSettings.choices = {2, 1, 3, 4};
  surfaceSettings.colours = {0x3366CC, 0x000080, 0xFFFF00};
  SetPlotSettings(surface, surfaceSettings);
  Handle contour = b.Append(NewPlot('O'), 0, space);
  b.TypeInto(contour, 1, "(x,y,0)");
  b.TypeInto(contour, 2, "x=west...east");
  b.TypeInto(contour, 3, "y=south...north");
  b.TypeInto(contour, 4, "x*y");
  GraphSettings spaceSettings = GetGraphSettings(space);
  spaceSettings.rotation = {0.70711f, -0.70711f, 0,         0.40825f, 0.40825f,
                            0.8165f,  -0.57735f, -0.57735f, 0.57735f};
  spaceSettings.perspective = 5;
  spaceSettings.speed = 4;
  SetGraphSettings(space, spaceSettings);
}

}  // namespace

std::vector<std::string> ExampleNames() {
  return {"welcome.axn", "algebra.axn", "case_theories.axn", "tables_and_graphs.axn"};
}

Handle BuildExample(const std::string& name) {
  NotebookBuilder b(FromTemplate());
  if (name == "welcome.axn") Welcome(b);
  if (name == "algebra.axn") Algebra(b);
  if (name == "case_theories.axn") Cases(b);
  if (name == "tables_and_graphs.axn") TablesAndGraphs(b);
  b.Settle();
  return ReadNotebookBytes(NotebookText(b.Notebook()));
}

}  // namespace lemmabox::testing
