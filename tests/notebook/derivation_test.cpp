// Conclusions: what they remember of their derivation, how copying and
// disposing treat it, the label, and the to-do queue of the cascade.
#include "notebook/derivation.h"

#include <gtest/gtest.h>

#include <array>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using DerivationTest = NotebookTest;

Handle Step(int32_t manipulation, std::vector<int32_t> path = {}) {
  return NewDerivationStep(manipulation, true, false, 0x4000, path);
}

TEST_F(DerivationTest, AssumptionsBecomeConclusionsAndBack) {
  Handle source = Assume(N("a"));
  Handle prop = Assume(Op('=', N("a"), N("b")));
  SetStale(prop, true);
  SetWorkingBit(prop, true);
  MakeConclusion(prop, source);
  EXPECT_EQ('C', ObjType(prop));
  StatementRecord& record = StmtRecord(prop);
  EXPECT_EQ(1, ContingencyCount(record.contingencies));
  EXPECT_EQ(source, ContingencyAt(record.contingencies, 0));
  EXPECT_EQ(nullptr, record.chain);
  EXPECT_FALSE(IsStale(prop));
  EXPECT_TRUE(IsWorkingStatement(prop));  // only the derivation changes
  AppendDerivationStep(prop, Step(1023));
  AppendDerivationStep(prop, Step(1, {0x3D02, 1, 0x2B02, -1, -1, -1}));
  SetErrorNumber(prop, 13281);
  SetStale(prop, true);
  ToDoPush(main, prop);
  ConclusionToAssumption(prop);
  EXPECT_EQ('A', ObjType(prop));
  EXPECT_EQ(nullptr, StmtRecord(prop).contingencies);
  EXPECT_EQ(nullptr, StmtRecord(prop).chain);
  EXPECT_EQ(0, ErrorNumber(prop));
  EXPECT_FALSE(IsStale(prop));
  EXPECT_EQ(0, ToDoCount(main));
  EXPECT_EQ("=(a,b)", Show(StatementOf(prop)));
}

TEST_F(DerivationTest, CopiesOwnTheirDerivation) {
  Handle source = Assume(N("a"));
  Handle rule = Append(NewTransformRule(nullptr, nullptr));
  Handle prop = Assume(N("b"));
  MakeConclusion(prop, source);
  AddContingency(StmtRecord(prop).contingencies, rule);
  AddContingency(StmtRecord(prop).contingencies, source);  // already there
  AppendDerivationStep(prop, Step(1022));
  AppendDerivationStep(prop, Step(3, {0x6200, -1, -1, -1, 1}));
  Handle copy = DupObj(prop);
  EXPECT_NE(StmtRecord(prop).chain, StmtRecord(copy).chain);
  EXPECT_NE(StmtRecord(prop).contingencies, StmtRecord(copy).contingencies);
  // Disposing the original leaves the copy whole.
  DisposeObj(DetachFromParent(prop));
  std::vector<Handle> steps = DerivationSteps(copy);
  ASSERT_EQ(2u, steps.size());
  EXPECT_EQ(1022, StepOf(steps[0]).manipulation);
  EXPECT_EQ(3, StepOf(steps[1]).manipulation);
  ASSERT_EQ(5, StepOf(steps[1]).pathLength);
  EXPECT_EQ(1, StepPath(steps[1])[4]);
  EXPECT_EQ(1, StepOf(steps[1]).autoSimplify);
  EXPECT_EQ(0x4000, StepOf(steps[1]).answer);
  Handle list = StmtRecord(copy).contingencies;
  ASSERT_EQ(2, ContingencyCount(list));
  EXPECT_EQ(1, ContingencyIndex(list, rule));
  DisposeObj(copy);
}

// The label lists the steps' words; it stops with "..." before 45 characters.
TEST_F(DerivationTest, TheLabelListsStepsWithinItsLength) {
  struct {
    std::vector<int32_t> steps;
    const char* label;
  } cases[] = {
      {{1023, 1}, " Simplify"},
      {{1022, 2, 7, 6}, " Expand Factor Collect"},
      {{1033, 1034, 1035, 1040}, "Isolate Move Over Commute Substitute"},
      {{1021, 8, 1}, "  Simplify"},
      {{1, 1, 1, 1, 1}, "Simplify Simplify Simplify Simplify Simplify"},  // 44 characters
      {{1, 1, 1, 1, 1, 1}, "Simplify Simplify Simplify Simplify Simplify..."},
      {{15, 15, 12}, "Integrate by Parts Integrate by Parts..."},
      {{}, ""},
  };
  for (auto& c : cases) {
    Handle prop = Assume(nullptr);
    MakeConclusion(prop, nullptr);
    for (int32_t m : c.steps) AppendDerivationStep(prop, Step(m));
    EXPECT_EQ(c.label, ConclusionLabel(prop));
  }
  EXPECT_STREQ("Integrate by Parts", ManipulationWord(15));
  EXPECT_STREQ("", ManipulationWord(1023));
}

TEST_F(DerivationTest, TheConclusionBeingDerivedCollectsWhatWasConsulted) {
  Handle source = Assume(N("a"));
  Handle rule = Append(NewTransformRule(nullptr, nullptr));
  Handle prop = Assume(N("b"));
  NoteConsulted(rule);  // no target: nothing happens
  MakeConclusion(prop, source);
  SetContingencyTarget(prop);
  NoteConsulted(rule);
  NoteConsulted(rule);
  NoteConsulted(prop);
  EXPECT_EQ(2, ContingencyCount(StmtRecord(prop).contingencies));
  // The target going away clears it.
  DisposeObj(DetachFromParent(prop));
  EXPECT_EQ(nullptr, ContingencyTarget());
}

TEST_F(DerivationTest, TheToDoQueueForgetsConclusionsThatGoAway) {
  std::array<Handle, 3> c;
  for (Handle& h : c) {
    h = Assume(nullptr);
    MakeConclusion(h, nullptr);
  }
  ToDoPush(main, c[0]);
  ToDoPush(main, c[1]);
  ToDoPush(main, c[0]);
  ToDoPush(main, c[2]);
  EXPECT_EQ(4, ToDoCount(main));
  EXPECT_EQ(c[2], ToDoFront(main));  // newest first
  DisposeObj(DetachFromParent(c[0]));
  EXPECT_EQ(2, ToDoCount(main));
  ToDoPopFront(main);
  EXPECT_EQ(c[1], ToDoFront(main));
  ToDoRemove(main, c[1]);
  EXPECT_EQ(nullptr, ToDoFront(main));
  ToDoPopFront(main);  // on an empty queue: nothing
  EXPECT_EQ(0, ToDoCount(main));
}

TEST_F(DerivationTest, CuttingOffDependentsReachesIntoCaseTheories) {
  Handle source = Assume(N("a"));
  Handle theory = CaseTheory();
  Handle inner = Assume(N("b"), 0, theory);
  Handle other = Assume(N("c"));
  MakeConclusion(inner, source);
  MakeConclusion(other, inner);
  std::vector<Handle> found;
  ForEachDependent(
      main, {source}, [](Handle d, void* v) { static_cast<std::vector<Handle>*>(v)->push_back(d); },
      &found);
  EXPECT_EQ(std::vector<Handle>{inner}, found);
  CutOffDependents(main, {source, inner});
  EXPECT_EQ('A', ObjType(inner));
  EXPECT_EQ('A', ObjType(other));
}

}  // namespace
}  // namespace lemmabox::testing
