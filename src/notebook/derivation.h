// What a conclusion was derived from and how: its contingency list and its
// derivation chain.
//
// The contingency list is a counted array of the propositions a conclusion
// depends on (its sources, and the rules, declarations and working statements
// its manipulations consulted). The chain is a singly linked list of
// derivation steps, oldest first, each with its selection path inline. Both
// are plain blocks owned by the conclusion; DupObj copies them and DisposeObj
// frees them through the object store's hooks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

// --- Contingency lists ---

// A new empty list.
Handle NewContingencyList();
int ContingencyCount(Handle list);  // 0 for null
Handle ContingencyAt(Handle list, int i);
// The index of prop in the list, or -1.
int ContingencyIndex(Handle list, Handle prop);
// Appends prop unless it is already there.
void AddContingency(Handle& list, Handle prop);
void FreeContingencyList(Handle list);

// --- Derivation steps ---

struct DerivationStep {
  Handle next;
  int32_t manipulation;
  uint8_t autoSimplify;
  uint8_t autoCasing;
  int32_t answer;
  int32_t pathLength;
  // pathLength path words follow.
};

DerivationStep& StepOf(Handle step);
int32_t* StepPath(Handle step);
// A new step (not linked) holding these values and a copy of the path.
Handle NewDerivationStep(int32_t manipulation, bool autoSimplify, bool autoCasing, int32_t answer,
                         std::span<const int32_t> path);
// Appends a step at the end of a conclusion's chain.
void AppendDerivationStep(Handle conclusion, Handle step);
// The steps of a conclusion's chain, oldest first.
std::vector<Handle> DerivationSteps(Handle conclusion);
void FreeDerivationChain(Handle chain);

// --- Conclusions ---

// Turns an assumption (or a conclusion) into a conclusion: type 'C', an empty
// chain, error 0, not stale, and a fresh contingency list holding source (when
// given).
void MakeConclusion(Handle prop, Handle source);
// Turns a conclusion back into an assumption: its chain and contingency list
// are freed, its error and stale bit cleared, and it leaves every to-do queue.
void ConclusionToAssumption(Handle prop);

// The label shown beside a conclusion: the words of its steps' manipulations,
// oldest first, one blank between the entries of two steps; "..." ends a
// label that would reach 45 characters.
std::string ConclusionLabel(Handle conclusion);
// The word of a manipulation number (by its low ten bits), or "" for none.
const char* ManipulationWord(int32_t manipulation);
constexpr size_t kConclusionLabelLimit = 45;

// --- The conclusion being derived ---

// The manipulation driver names the conclusion it is deriving; what the
// manipulation consults (rules, working statements) becomes one of its
// contingencies.
void SetContingencyTarget(Handle conclusion);
void ClearContingencyTarget();
Handle ContingencyTarget();
// Adds prop to the target's contingencies (nothing without a target, and
// nothing when prop is the target itself).
void NoteConsulted(Handle prop);

// --- Dependents ---

// The contingency list of a conclusion or graph, or null.
Handle ContingenciesOf(Handle prop);
// Calls fn for every conclusion and graph in container (and the containers in
// it, at any depth) whose contingency list holds one of `sources`.
void ForEachDependent(Handle container, const std::unordered_set<Handle>& sources,
                      void (*fn)(Handle dependent, void* context), void* context);
// Cuts off what was derived from sources: the contingency list of each
// dependent is emptied and each dependent conclusion becomes an assumption.
void CutOffDependents(Handle container, const std::unordered_set<Handle>& sources);

// The object store's Dup and Dispose extras for conclusions.
void CopyDerivation(Handle source, Handle copy);
void FreeDerivation(Handle conclusion);

}  // namespace lemmabox
