// Selected parts taken out and put back, and selection paths found again in
// a statement that changed since the path was recorded.
#include "manip/selection_paths.h"

#include <gtest/gtest.h>

#include <functional>

#include "derivation_helpers.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using Finder = std::function<Selection(Handle statement)>;

Finder Whole() {
  return [](Handle st) { return Selection{st, kPosWhole}; };
}
Finder Range(int start, int end) {
  return [=](Handle st) { return Selection{st, PackRange(start, end)}; };
}
Finder Named(const char* name, int32_t position) {
  return [=](Handle st) { return Selection{FindName(st, name), position}; };
}
Finder Typed(TypeCode type, int32_t position) {
  return [=](Handle st) { return Selection{Find(st, type), position}; };
}

TEST(SelectionParts, ExtractAndSpliceEveryKind) {
  struct Case {
    const char* statement;
    Finder select;
    const char* extracted;  // "(none)" for nothing
    const char* result;     // what replaces it
    const char* spliced;
  };
  const Case cases[] = {
      {"a+b+c", Whole(), "a+b+c", "r", "r"},
      {"a+b+c", Range(1, 3), "b+c", "r", "a+r"},
      {"a+b+c", Range(0, 3), "a+b+c", "r", "r"},
      {"a*b*c", Range(0, 2), "a*b", "r", "r*c"},
      // A result of the list's own operator joins the list.
      {"a+b+c", Range(0, 2), "a+b", "x+y", "x+y+c"},
      {"[1,2;3,4]", Typed(kMatrix, PackBlock(1, 0, 2, 2)), "(3,4)", "[7,8]", "1,2;7,8"},
      {"[1,2;3,4]", Typed(kMatrix, PackBlock(0, 0, 2, 2)), "(1,2;3,4)", "r", "r"},
      {"alpha+1", Named("alpha", PackRange(1, 3)), "lp", "r", "r+1"},
      {"12345+x", Typed(kInteger, PackRange(1, 3)), "23", "r", "r+x"},
      {"a+b", Named("b", kPosCaretBefore), "(none)", "r", "a+r*b"},
      {"a+b", Named("b", kPosCaretAfter), "(none)", "r", "a+b*r"},
  };
  for (const Case& c : cases) {
    TypingSession s(TypingOptions{.predefinedNames = true});
    TypeAssumptions(s, {c.statement, c.result});
    std::vector<Handle> props = StatementProps(s.Notebook());
    const Selection selection = c.select(StatementOf(props[0]));
    ASSERT_NE(selection.obj, nullptr) << c.statement;
    Handle part = ExtractPart(selection, true);
    EXPECT_EQ(Script(part), c.extracted) << c.statement;
    if (std::string(c.extracted) == "23") {
      EXPECT_EQ(ObjType(part), kInteger);
    }
    DisposeObj(part);
    Splice(selection, DupObj(StatementOf(props[1])));
    EXPECT_EQ(Script(StatementOf(props[0])), c.spliced) << c.statement;
  }
}

TEST(SelectionPaths, ChangesAreToleratedAndScored) {
  struct Case {
    const char* recorded;
    Finder select;
    const char* now;
    const char* found;  // what is selected in now
    int score;
  };
  const Case cases[] = {
      // Unchanged statements: found where they were, at no cost.
      {"a+b*c=d", Named("c", kPosWhole), "a+b*c=d", "c", 0},
      {"a+b*c+d", Range(1, 3), "a+b*c+d", "b*c+d", 0},
      {"[1,2;3,4]*x", Typed(kMatrix, PackBlock(0, 1, 2, 2)), "[1,2;3,4]*x", "(2;4)", 0},
      {"alpha+1", Named("alpha", PackRange(1, 3)), "alpha+1", "lp", 0},
      // A numeric factor in front of a product shifts the factors by one.
      {"a*b*c*d", Named("c", kPosWhole), "2*a*b*c*d", "c", 2},
      // One factor fewer and no number in front: the shift goes back.
      {"a*b*c*d", Named("c", kPosWhole), "a*c*d", "c", 8},
      // A sum keeps its numeric term last: the indices stay.
      {"a+b+c", Named("b", kPosWhole), "a+b+c+1", "b", 2},
      // A wrapper appeared around the selected level.
      {"x+y", Named("y", kPosWhole), "(x+y)^2", "y", 2},
      // Twice the terms: the index scales.
      {"a+b+c+d", Named("c", kPosWhole), "a+b+c+d+e+f+g+h", "e", 8},
      // A range scales with its sum.
      {"a+b+c+d", Range(2, 4), "a+b+c+d+e+f+g+h", "e+f+g+h", 12},
  };
  for (const Case& c : cases) {
    TypingSession s(TypingOptions{.predefinedNames = true});
    TypeAssumptions(s, {c.recorded, c.now});
    std::vector<Handle> props = StatementProps(s.Notebook());
    const Selection selection = c.select(StatementOf(props[0]));
    std::vector<int32_t> path;
    AppendSelectionPath(path, StatementOf(props[0]), selection.obj, selection.position);
    LocatedPath found;
    ASSERT_EQ(RaisedBy([&] { found = LocateSelectionPath(StatementOf(props[1]), path); }), 0)
        << c.recorded << " in " << c.now;
    Handle part = ExtractPart(found.selection, false);
    EXPECT_EQ(Script(part), c.found) << c.recorded << " in " << c.now;
    DisposeObj(part);
    EXPECT_EQ(found.score, c.score) << c.recorded << " in " << c.now;
  }
}

TEST(SelectionPaths, LostSelectionsRaise13281) {
  // Paths as a damaged or outdated step may hold them.
  const int32_t sum2 = ('+' << 8) | 2;
  const int32_t sum6 = ('+' << 8) | 6;
  const int32_t name = ('v' << 8);
  const std::vector<int32_t> paths[] = {
      {},                                              // empty
      {sum2, 1, name},                                 // cut short
      {sum2, 5, name, -1, -1, -1},                     // no such child
      {sum6, 5, name, -1, -1, -1},                     // scaled beyond the children
      {sum2, -7, name, -1, -1, -1},                    // a negative index
      {sum2, -1, 0, 9},                                // a range beyond the operands
      {('=' << 8) | 2, 7, sum2, 0, name, -1, -1, -1},  // skipping costs too much
  };
  TypingSession s(TypingOptions{.predefinedNames = true});
  TypeAssumptions(s, {"a+b"});
  for (const std::vector<int32_t>& path : paths) {
    EXPECT_RAISES(kMsgSelectionUnavailable, LocateSelectionPath(s.Statement(), path))
        << path.size();
  }
}

}  // namespace
}  // namespace lemmabox::testing
