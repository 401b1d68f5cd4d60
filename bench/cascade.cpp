// The derivation cascade along a chain of conclusions.
//
//   Chain/n        an assumption x + x + y and n conclusions, each derived
//                  from the one before by Simplify (the first from the
//                  assumption's expression, the others from the whole
//                  equation before them); one iteration edits the
//                  assumption (y and z in turn), which marks the chain stale
//                  and queues it, and runs the idle steps until the queue is
//                  empty. items/s is conclusions derived again per second;
//                  the cost per conclusion should not grow with n (50 and
//                  500 within 1.5x).
//   SimplifyOnly/n the same n Simplify passes on detached copies of the
//                  equation, as a baseline: what the cascade adds to the
//                  manipulation itself (copy steps, locating the selection,
//                  marking, the queue).
#include "cascade/cascade.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "core/registration.h"
#include "manip/driver.h"
#include "manip/manipulations.h"
#include "manip/selection_paths.h"
#include "manip/simplify.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"

namespace lemmabox {
namespace {

HeadlessPlatform gPlatform;

Handle Name(const char* spelling) {
  return NewUndeclaredName(spelling);
}

struct ChainNotebook {
  Handle notebook = nullptr;
  Handle root = nullptr;
  std::vector<Handle> conclusions;
};

// The root assumption and n conclusions, each with its copy step and its
// Simplify step, all derived once.
ChainNotebook MakeChain(int n) {
  RegisterCore();
  SetCurrentPlatform(&gPlatform);
  ChainNotebook chain;
  chain.notebook = NewNotebook();
  SetCurrentNotebook(chain.notebook);
  for (const char* name : {"x", "y", "z"})
    InsertProp(NewNameDecl(Name(name), kNameVariable), chain.notebook, ObjCount(chain.notebook), 0);
  chain.root = NewAssumption(NewSum(Name("x"), Name("x"), Name("y")));
  InsertProp(chain.root, chain.notebook, ObjCount(chain.notebook), 0);
  DeclarationPass(chain.notebook, false);
  const std::array<int32_t, 1> first{0};
  Handle source = chain.root;
  for (int k = 0; k < n; ++k) {
    Handle conclusion = NewAssumption(NewEquation(NewZero(), NewZero()));
    MakeConclusion(conclusion, source);
    const bool fromRoot = k == 0;
    AppendDerivationStep(conclusion,
                         NewDerivationStep(fromRoot ? kStepCopyExpression : kStepCopyRelation, true,
                                           true, 0, first));
    // The first simplifies the right side (the root's expression), the
    // others the whole equation.
    std::vector<int32_t> path{('=' << 8) | 2};
    if (fromRoot) path.insert(path.end(), {1, ('+' << 8) | 3});
    path.insert(path.end(), {kPathEnd, -1, -1});
    AppendDerivationStep(conclusion, NewDerivationStep(kManipSimplify, true, true, 0, path));
    InsertProp(conclusion, chain.notebook, ObjCount(chain.notebook), 0);
    chain.conclusions.push_back(conclusion);
    source = conclusion;
  }
  RederiveNotebook(chain.notebook);
  NotebookPrefs& prefs = NotebookRecordOf(chain.notebook).prefs;
  prefs.alwaysReManipulate = 1;
  prefs.rippleChangesImmediately = 1;
  return chain;
}

void Chain(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ChainNotebook chain = MakeChain(n);
  bool toZ = true;
  for (auto _ : state) {
    Handle statement = StatementOf(chain.root);
    PutSlot(statement, 2, Name(toZ ? "z" : "y"));
    ResolveNamesIn(statement);
    toZ = !toZ;
    PropositionChanged(chain.root);
    RunCascade(chain.notebook, 4 * n);
  }
  for (Handle conclusion : chain.conclusions) {
    if (IsStale(conclusion) || ErrorNumber(conclusion) != 0) {
      state.SkipWithError("the chain was not derived again");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
  CloseNotebook(chain.notebook);
}
BENCHMARK(Chain)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

void SimplifyOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ChainNotebook chain = MakeChain(1);
  Handle equation = StatementOf(chain.conclusions.front());
  for (auto _ : state) {
    for (int k = 0; k < n; ++k) DisposeObj(Simplify(DupObj(equation)));
  }
  state.SetItemsProcessed(state.iterations() * n);
  CloseNotebook(chain.notebook);
}
BENCHMARK(SimplifyOnly)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
