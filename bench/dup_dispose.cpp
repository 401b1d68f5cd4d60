// Deep copy and disposal of whole expressions: DupObj then DisposeObj of the
// copy, for expressions of 10^4 and 10^5 objects. The work per object should
// not grow with the size of the expression.
#include "mathobj/dup_dispose.h"

#include <benchmark/benchmark.h>

#include <random>

#include "mathobj/constructors.h"
#include "mathobj/registration.h"
#include "mathobj/slots.h"

namespace lemmabox {
namespace {

// A random expression of about `budget` objects: sums and products of two to
// five operands, powers, quotients and negations over names and numbers.
Handle Grow(std::mt19937& random, int& budget) {
  --budget;
  if (budget <= 0 || random() % 4 == 0) {
    switch (random() % 3) {
      case 0:
        return NewInteger(static_cast<int32_t>(random() % 100));
      case 1:
        return NewReal(0.5 + random() % 100);
      default: {
        char name[2] = {static_cast<char>('a' + random() % 26), 0};
        return NewUndeclaredName(name);
      }
    }
  }
  switch (random() % 5) {
    case 0:
      return NewNegation(Grow(random, budget));
    case 1: {
      Handle base = Grow(random, budget);
      return NewPower(base, Grow(random, budget));
    }
    case 2: {
      Handle numerator = Grow(random, budget);
      return NewQuotient(numerator, Grow(random, budget));
    }
    default: {
      int n = 2 + static_cast<int>(random() % 4);
      Handle h = NewObjN(random() % 2 ? kSum : kProduct, n);
      for (int i = 0; i < n; ++i) PutSlot(h, i, Grow(random, budget));
      return h;
    }
  }
}

int CountObjects(Handle h) {
  if (h == nullptr) return 0;
  int n = 1;
  for (int i = 0; i < ObjCount(h); ++i) n += CountObjects(ObjSlot(h, i));
  return n;
}

void DupAndDispose(benchmark::State& state) {
  RegisterMathObj();
  std::mt19937 random(42);
  // A sum of many random terms, so the tree stays shallow at any size.
  int target = static_cast<int>(state.range(0));
  Handle tree = NewObjN(kSum, 0);
  for (int objects = 1; objects < target;) {
    int budget = 50;
    Handle term = Grow(random, budget);
    objects += CountObjects(term);
    InsertSlot(tree, ObjCount(tree), term);
  }
  int objects = CountObjects(tree);
  for (auto _ : state) {
    Handle copy = DupObj(tree);
    DisposeObj(copy);
  }
  DisposeObj(tree);
  state.counters["objects"] = objects;
  state.SetItemsProcessed(state.iterations() * objects);
}

BENCHMARK(DupAndDispose)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
