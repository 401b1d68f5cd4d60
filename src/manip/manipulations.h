// The manipulations of the Manipulate menu by number, and the Manipulate
// command that runs them.
//
//   1 Simplify   2 Expand   3 Transform   4 Calculate   5 MiniExpand
//   6 Collect    7 Factor   9 Isolate    10 Move Over  11 Commute
//  12 Taylor Series  13 Apply  14 UnCalculate  15 Integrate by Parts
//  16 Substitute
//
// A manipulation of one object in, one object out has a function here; the
// driver runs it on every selection. The ones that need more than one
// selection or a dialog (Isolate, Move Over, Apply, Substitute, Integrate by
// Parts) have a command of their own. The cascade replays a step through the
// function of its number, or through the step replayer registered for it.
// A number with neither answers "Sorry, that feature is unimplemented".
#pragma once

#include <cstdint>

#include "manip/driver.h"

namespace lemmabox {

constexpr int32_t kManipSimplify = 1;
constexpr int32_t kManipExpand = 2;
constexpr int32_t kManipTransform = 3;
constexpr int32_t kManipCalculate = 4;
constexpr int32_t kManipMiniExpand = 5;
constexpr int32_t kManipCollect = 6;
constexpr int32_t kManipFactor = 7;
constexpr int32_t kManipIsolate = 9;
constexpr int32_t kManipMoveOver = 10;
constexpr int32_t kManipCommute = 11;
constexpr int32_t kManipTaylorSeries = 12;
constexpr int32_t kManipApply = 13;
constexpr int32_t kManipUnCalculate = 14;
constexpr int32_t kManipIntegrateByParts = 15;
constexpr int32_t kManipSubstitute = 16;

// The manipulations a step replays through their function (the rest have a
// step replayer of their own).
bool IsFunctionManipulation(int32_t number);

// --- The table ---

// The function of a manipulation number, or null.
ManipulationFn ManipulationFunction(int32_t number);
void SetManipulationFunction(int32_t number, ManipulationFn fn);
// A manipulation with its own command (it runs the driver itself).
using ManipulationCommand = void (*)();
void SetManipulationCommand(int32_t number, ManipulationCommand command);
// How the cascade replays a step of this number on a conclusion: the steps
// of Isolate, Move Over, Apply, Integrate by Parts, Substitute and the drag
// forms need one; a manipulation that asked the user (Taylor Series) has one
// so as to replay from the words it recorded. Null when there is none: the
// step is replayed through its selection path and function.
using StepReplayer = void (*)(Handle conclusion, Handle step);
StepReplayer StepReplayerFor(int32_t number);
void SetStepReplayer(int32_t number, StepReplayer replayer);

// The Manipulate command: the manipulation of this number on the front
// window's selections. Simplify that leaves a selected integral an integral
// says so (13239). Raises 13147 for a manipulation that does not exist yet.
void RunManipulationCommand(int32_t number);

// --- The manipulations made here ---

// Numeric evaluation, then Auto-simplify.
Handle CalculateManipulation(Handle obj);
// Familiar numbers recognised, then Auto-simplify.
Handle UnCalculateManipulation(Handle obj);
// The operands of a sum, product, list or dot product in reverse order. Any
// other object raises 13268; a product (or list, or dot product) whose
// operands do not all commute with each other raises 13269. Not simplified
// afterwards, since that would put the operands back in their order.
Handle CommuteManipulation(Handle obj);
// The user's Transform rules: the one that matches, or the one the user
// chooses among several; the rule's place among the conclusion's
// contingencies (-1 for none) is recorded after the selection path. No match
// leaves the object as it was. Then Auto-simplify.
Handle TransformManipulation(Handle obj);
// Replaying a Transform step with the rule it used (null: none). A rule that
// is no longer a Transformation Rule raises 13282, one that no longer
// matches 13286.
Handle TransformByRule(Handle obj, Handle rule);

// Fills the table with the manipulations made here and registers the
// Manipulate command.
void RegisterManipulations();

}  // namespace lemmabox
