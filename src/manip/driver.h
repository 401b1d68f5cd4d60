// The manipulation driver: turns a Manipulate command into a derivation.
//
// It takes the selections of the front notebook window, makes a new
// Conclusion for each Assumption or Conclusion they lie in (or, with the Alt
// key held, works on the proposition itself), takes each selected part out,
// runs the manipulation on it, puts the result back and records a
// derivation step, so that the cascade can replay the manipulation when a
// source changes. A manipulation that fails leaves no unchanged conclusion
// behind, and the selection goes back to where it was.
//
// A manipulation function takes an object it owns and returns an object the
// caller owns (possibly its argument changed in place). When it fails, what
// it was given is its own business: the driver never touches it again.
//
// The driver's state (the in-place flag, the sources, the path buffer, the
// answer word, the replay flag) is process-wide and lives for one command;
// only the "Don't Ask Again" answer bytes of the callers outlive it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

using ManipulationFn = Handle (*)(Handle obj);

// Steps recorded without a menu command.
constexpr int32_t kStepImplicitPlot = 1021;    // right side := source's left - right
constexpr int32_t kStepCopyExpression = 1022;  // the source's statement was no relation
constexpr int32_t kStepCopyRelation = 1023;    // the source's statement was a relation
constexpr int32_t kStepIsolateCases = 1033;
constexpr int32_t kStepMoveOverCases = 1034;
constexpr int32_t kStepCommuteDrag = 1035;
constexpr int32_t kStepSubstituteDrag = 1040;

// Runs a manipulation on the selections of the front notebook window (see
// above). `number` is recorded in each step. `extras` become contingencies
// of each new conclusion (the equations a Substitute used, for instance),
// and the conclusion goes into the innermost theory among its source's and
// theirs. Raises 13259 without a selection and 13300 for a selection inside
// a table or a name declaration; a failure of the manipulation is raised
// again after the unchanged conclusions were removed.
void RunManipulation(ManipulationFn fn, int32_t number, std::span<const Handle> extras = {});

// Whether the command running works in place (the Alt key was held).
bool ManipulatingInPlace();

// --- Recording steps ---

// Appends the selection path of obj (inside prop's statement, or prop
// itself for the whole statement) to the path buffer.
void RememberPath(Handle prop, Handle obj, int32_t position);
// Appends a word a manipulation records after the selection path.
void RememberWord(int32_t word);
// The path buffer as it stands, and putting a saved copy back: internal
// error "RestoreRemember" when the buffer is not empty.
std::vector<int32_t> RememberedPath();
void RestoreRemember(const std::vector<int32_t>& saved);
void ClearRemembered();
// For a Conclusion: a step with the manipulation number, the current Auto
// Simplify and Auto Casing settings, the folded answer word and the path
// buffer, appended to its chain. For anything else only the buffer is
// emptied. Either way the answer word starts again.
void RecordStep(int32_t number, Handle prop);

// --- The "Big Expand?" question ---

constexpr int kAnswerNo = 0;           // "No, not this time"
constexpr int kAnswerYes = 1;          // "Yes, go ahead"
constexpr int kAnswerNumerically = 2;  // "do it Numerically"

// The answer word as a step starts: the marker bit alone.
constexpr int32_t kAnswerWordStart = 0x4000;
// At most this many answers are kept per step.
constexpr int kMaxRecordedAnswers = 7;

// Asks before an operation whose result may explode. While replaying, the
// answer comes from the step's answer word; otherwise a non-zero answer
// memory byte is the answer, else the user is asked with shown displayed.
// The answer is packed into the answer word; with "Don't Ask Again" ticked it
// is also kept in `memory` (a kept 0 goes on asking). `variant` tells the
// desktop which caller asks.
int AskBig(Handle shown, uint8_t& memory, int variant = 0);

// The answer word of the step being made.
int32_t AnswerWord();
void ResetAnswerWord();
// Packs one answer into an answer word (nothing once seven are in).
int32_t PackAnswer(int32_t word, int answer);
// The word as a step stores it: the first answer in bits 0..1, the next in
// bits 2..3 and so on.
int32_t FoldAnswerWord(int32_t word);

// --- Replay ---

// Set while derivation steps are replayed: Ask-big then answers from the
// replayed word (SetReplayAnswers) instead of asking.
bool ReplayFlag();
void SetReplayFlag(bool on);
void SetReplayAnswers(int32_t storedWord);

}  // namespace lemmabox
