// Speed of laying out whole notebooks on the measuring port: the full
// layout of a notebook of 1,000 propositions (and of 4,000, for the
// growth), the incremental re-layout after one character is typed into a
// proposition in the middle of it, which must cost at most a fiftieth of the
// full layout (the counter "full_over_typed" reports the ratio measured in
// the same run), and the notebook written as one EPS picture (MB/s).
// Baseline in the same run: a bare walk over the notebook's objects.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "core/registration.h"
#include "layout/hooks.h"
#include "layout/metrics.h"
#include "layout/notebook_render.h"
#include "layout/relayout.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"
#include "ports/measuring_port.h"
#include "ports/output_sink.h"

namespace lemmabox {
namespace {

// A deterministic mix of the common shapes.
Handle Expression(int depth, int& seed) {
  ++seed;
  if (depth == 0) {
    static const char* kNames[] = {"x", "y", "alpha", "t", "omega"};
    return seed % 3 == 0 ? NewInteger(seed % 97) : NewUndeclaredName(kNames[seed % 5]);
  }
  switch (seed % 6) {
    case 0:
      return NewSum(Expression(depth - 1, seed), Expression(depth - 1, seed),
                    Expression(depth - 1, seed));
    case 1:
      return NewProduct(Expression(depth - 1, seed), Expression(depth - 1, seed));
    case 2:
      return NewQuotient(Expression(depth - 1, seed), Expression(depth - 1, seed));
    case 3:
      return NewPower(Expression(depth - 1, seed), NewInteger(2));
    case 4:
      return NewSqrt(NewSum(Expression(depth - 1, seed), Expression(depth - 1, seed)));
    default:
      return NewObj2(kApply, NewUndeclaredName("f"), Expression(depth - 1, seed));
  }
}

// The first name on the path of first operands.
Handle FirstName(Handle obj) {
  while (ObjCount(obj) > 0 && ObjSlot(obj, 0)) obj = ObjSlot(obj, 0);
  return ObjType(obj) == kUndeclaredName ? obj : nullptr;
}

// A notebook of `count` propositions as people write them: equations,
// conclusions with their steps, declarations, rules, a case theory now and
// then, indented groups of which some are collapsed.
struct Notebook {
  HeadlessPlatform platform;
  MeasuringPort port{72};
  std::unique_ptr<LayoutEnv> env;
  Handle main = nullptr;
  Handle typedInto = nullptr;  // a name in a proposition in the middle

  explicit Notebook(int count) {
    RegisterCore();
    SetCurrentPlatform(&platform);
    main = NewNotebook();
    env = std::make_unique<LayoutEnv>(port, NotebookRecordOf(main).style);
    int seed = 0;
    Handle previous = nullptr;
    for (int i = 0; i < count; ++i) {
      Handle prop;
      int indentation = i % 5 == 4 ? 1 : 0;
      if (i % 25 == 0) {
        char name[16];
        std::snprintf(name, sizeof name, "n%d", i);
        prop = NewNameDecl(NewUndeclaredName(name), kNameVariable);
      } else if (i % 40 == 7) {
        prop = NewTransformRule(Expression(2, seed), Expression(2, seed));
      } else if (i % 100 == 50) {
        prop = NewCaseTheory();
        Handle inside = NewAssumption(NewEquation(NewUndeclaredName("x"), Expression(2, seed)));
        InsertProp(inside, prop, FirstProp(prop), 0);
      } else {
        prop = NewAssumption(NewEquation(NewUndeclaredName("y"), Expression(3, seed)));
        if (i % 3 == 0 && previous) {
          MakeConclusion(prop, previous);
          AppendDerivationStep(prop, NewDerivationStep(1 + i % 7, true, true, 0, {}));
        }
      }
      InsertProp(prop, main, ObjCount(main), indentation);
      if (i % 15 == 3) SetFlag(prop, kFlagCollapsed);
      if (ObjType(prop) == kAssumption || ObjType(prop) == kConclusion) {
        previous = prop;
        if (!typedInto && i >= count / 2) typedInto = FirstName(ObjSlot(prop, 0));
      }
    }
    CollapsePass(main);
  }
  ~Notebook() {
    ResetLayoutHooks();
    CloseNotebook(main);
    SetCurrentPlatform(nullptr);
  }
  double FullLayoutSeconds(int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
      InvalidateTree(main);
      LayOutNotebook(main, *env);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           repeats;
  }
};

Notebook* gShown = nullptr;

void BM_FullNotebookLayout(benchmark::State& state) {
  Notebook notebook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    InvalidateTree(notebook.main);
    benchmark::DoNotOptimize(LayOutNotebook(notebook.main, *notebook.env));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FullNotebookLayout)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// One character typed into a name of a proposition half-way down: the
// name's text changes and the shown notebook is laid out again from its
// cache, the rows after it moving along.
void BM_RelayoutAfterTypedCharacter(benchmark::State& state) {
  Notebook notebook(static_cast<int>(state.range(0)));
  LayOutNotebook(notebook.main, *notebook.env);
  gShown = &notebook;
  gLayoutHooks.displayOf = [](Handle, DisplayTarget& out) {
    out = DisplayTarget{gShown->env.get(), gShown->main};
    return true;
  };
  const double full = notebook.FullLayoutSeconds(5);
  Handle name = notebook.typedInto;
  bool longer = false;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    longer = !longer;
    std::strcpy(ObjText(name), longer ? "xy" : "x");
    IncrementalRelayout(name);
  }
  const double typed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.counters["full_over_typed"] = full / typed;
  state.SetItemsProcessed(state.iterations());
  gShown = nullptr;
}
BENCHMARK(BM_RelayoutAfterTypedCharacter)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);

// The bare walk the layout is set against: every object visited once.
void BM_WalkBaseline(benchmark::State& state) {
  Notebook notebook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    InvalidateTree(notebook.main);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);

// The whole notebook as one EPS picture, laid out afresh each time.
void BM_NotebookEps(benchmark::State& state) {
  Notebook notebook(static_cast<int>(state.range(0)));
  int64_t bytes = 0;
  for (auto _ : state) {
    StringSink sink;
    NotebookRenderOptions options;
    options.postScript.creationDate = "now";
    RenderNotebookEps(notebook.main, sink, options);
    bytes += static_cast<int64_t>(sink.text().size());
  }
  state.SetBytesProcessed(bytes);
  state.counters["eps_bytes"] =
      static_cast<double>(bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_NotebookEps)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
