// Speed of laying out expressions on the measuring port: a full layout of
// 1,000 large expressions, and laying one out again after one of its leaves
// changed, which must cost a small fraction of the full layout (the size
// cache makes the work follow the changed path). Baseline in the same run:
// a bare walk over the same trees. Growth is measured at two expression sizes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/registration.h"
#include "layout/metrics.h"
#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/notebook_record.h"
#include "ports/measuring_port.h"

namespace lemmabox {
namespace {

// A deterministic mix of the common shapes: sums, products, fractions,
// powers, roots, function applications, integrals and small matrices.
Handle Expression(int depth, int& seed) {
  ++seed;
  if (depth == 0) {
    static const char* kNames[] = {"x", "y", "alpha", "t", "sin"};
    return seed % 3 == 0 ? NewInteger(seed % 97) : NewUndeclaredName(kNames[seed % 5]);
  }
  switch (seed % 8) {
    case 0:
      return NewSum(Expression(depth - 1, seed), Expression(depth - 1, seed),
                    Expression(depth - 1, seed), Expression(depth - 1, seed));
    case 1:
      return NewProduct(Expression(depth - 1, seed), Expression(depth - 1, seed),
                        Expression(depth - 1, seed));
    case 2:
      return NewQuotient(Expression(depth - 1, seed), Expression(depth - 1, seed));
    case 3:
      return NewPower(Expression(depth - 1, seed), NewInteger(2));
    case 4:
      return NewSqrt(NewSum(Expression(depth - 1, seed), Expression(depth - 1, seed)));
    case 5:
      return NewObj2(kApply, NewUndeclaredName("f"), Expression(depth - 1, seed));
    case 6: {
      Handle integral = NewObjN(kIntegral, 3);
      PutSlot(integral, 0, Expression(depth - 1, seed));
      PutSlot(integral, 1, NewInteger(0));
      PutSlot(integral, 2, Expression(depth - 1, seed));
      return integral;
    }
    default: {
      Handle matrix = NewMatrix(2, 2);
      for (int i = 0; i < 4; ++i) PutSlot(matrix, i, Expression(depth - 1, seed));
      return matrix;
    }
  }
}

int CountNodes(Handle obj) {
  int n = 1;
  for (int i = 0; i < ObjCount(obj); ++i)
    if (Handle child = ObjSlot(obj, i)) n += CountNodes(child);
  return n;
}

// The deepest leaf reached by always taking the first operand.
Handle FirstLeaf(Handle obj) {
  while (ObjCount(obj) > 0 && ObjSlot(obj, 0)) obj = ObjSlot(obj, 0);
  return obj;
}

struct Workload {
  MeasuringPort port{72};
  NotebookStyle style = DefaultNotebookStyle();
  std::unique_ptr<LayoutEnv> env;
  std::vector<Handle> trees;
  int64_t nodes = 0;

  Workload(int count, int depth) {
    RegisterCore();
    env = std::make_unique<LayoutEnv>(port, style);
    int seed = 0;
    for (int i = 0; i < count; ++i) {
      trees.push_back(Expression(depth, seed));
      nodes += CountNodes(trees.back());
    }
  }
  ~Workload() {
    for (Handle tree : trees) DisposeObj(tree);
  }
};

void BM_FullLayout(benchmark::State& state) {
  Workload work(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    for (Handle tree : work.trees) {
      InvalidateTree(tree);
      benchmark::DoNotOptimize(SizeAtLevel(tree, *work.env, kLevelMain));
    }
  }
  state.counters["nodes"] = static_cast<double>(work.nodes);
  state.SetItemsProcessed(state.iterations() * work.nodes);
}
// 1,000 expressions of about 500 objects each; and 1,000 of about 60 for
// the growth.
BENCHMARK(BM_FullLayout)->Args({1000, 7})->Args({1000, 4})->Unit(benchmark::kMillisecond);

// The bare walk the full layout is set against: visiting every object and
// clearing a flag, as the invalidation does.
void BM_WalkBaseline(benchmark::State& state) {
  Workload work(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    for (Handle tree : work.trees) InvalidateTree(tree);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * work.nodes);
}
BENCHMARK(BM_WalkBaseline)->Args({1000, 7})->Unit(benchmark::kMillisecond);

// One leaf of every expression changes and is reported; each expression is
// laid out again from its cache.
void BM_RelayoutAfterLeafEdit(benchmark::State& state) {
  Workload work(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::vector<Handle> leaves;
  for (Handle tree : work.trees) {
    SizeAtLevel(tree, *work.env, kLevelMain);
    leaves.push_back(FirstLeaf(tree));
  }
  bool wide = false;
  for (auto _ : state) {
    wide = !wide;
    for (size_t i = 0; i < work.trees.size(); ++i) {
      Handle leaf = leaves[i];
      if (ObjType(leaf) == kUndeclaredName) std::strcpy(ObjText(leaf), wide ? "omega" : "x");
      InvalidateSizes(leaf);
      benchmark::DoNotOptimize(SizeAtLevel(work.trees[i], *work.env, kLevelMain));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(work.trees.size()));
}
BENCHMARK(BM_RelayoutAfterLeafEdit)
    ->Args({1000, 7})
    ->Args({1000, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
