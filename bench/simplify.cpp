// Simplify of large sums and products, in a notebook that declares the names
// (as the command-line tool and new notebooks do).
//
//   SumPass/n        one Simplify pass over a sum of n terms k*x^p*y^q*z
//                    in scrambled order, with p, q < 8: 64 monomials, so
//                    most terms are like terms; the pass sorts the terms
//                    and combines them. 1,000 and 10,000 terms show the
//                    growth (n log n: the time per term may grow by the
//                    log factor, 1.33, from 1,000 to 10,000)
//   SumSimplify/n    the Simplify command on the same sum: the passes
//                    until nothing changes (two here)
//   ProductPass/n    one pass over a product of n factors a_j^k drawn from
//                    40 names, numbers and square roots of integers
//   Copy/n, Compare/n  baselines in the same run: DupObj of the sum and the
//                    structural comparison Auto-simplify makes after a pass
#include "manip/simplify.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/registration.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"
#include "shell/interrupt.h"

namespace lemmabox {
namespace {

HeadlessPlatform gPlatform;
constexpr int kProductNames = 40;

std::string ProductName(int j) {
  return std::string(1, static_cast<char>('a' + j % 20)) + (j >= 20 ? "q" : "");
}

void Start() {
  static bool started = false;
  if (started) return;
  started = true;
  RegisterCore();
  SetCurrentPlatform(&gPlatform);
  Handle notebook = NewNotebook();
  SetCurrentNotebook(notebook);
  auto declare = [&](const std::string& name) {
    InsertProp(NewNameDecl(NewUndeclaredName(name.c_str()), kNameVariable), notebook,
               ObjCount(notebook), 0);
  };
  for (const char* name : {"x", "y", "z"}) declare(name);
  for (int j = 0; j < kProductNames; ++j) declare(ProductName(j));
  DeclarationPass(notebook, false);
}

Handle Name(const std::string& text) {
  return NewUndeclaredName(text.c_str());
}

Handle Power(const std::string& name, int exponent) {
  if (exponent == 1) return Name(name);
  return NewPower(Name(name), NewInteger(exponent));
}

Handle Composite(TypeCode type, const std::vector<Handle>& operands) {
  Handle h = NewObjN(type, static_cast<int>(operands.size()));
  for (size_t i = 0; i < operands.size(); ++i) PutSlot(h, static_cast<int>(i), operands[i]);
  return h;
}

// k*x^p*y^q*z with the factors in a random order.
Handle LikeTermSum(int n) {
  std::mt19937 random(12345);
  std::vector<Handle> terms;
  for (int i = 0; i < n; ++i) {
    std::vector<Handle> factors = {NewInteger(1 + static_cast<int>(random() % 9)),
                                   Power("x", 1 + static_cast<int>(random() % 8)),
                                   Power("y", 1 + static_cast<int>(random() % 8)), Name("z")};
    std::shuffle(factors.begin(), factors.end(), random);
    Handle term = Composite(kProduct, factors);
    terms.push_back(random() % 4 == 0 ? NewNegation(term) : term);
  }
  return Composite(kSum, terms);
}

Handle LongProduct(int n) {
  std::mt19937 random(777);
  std::vector<Handle> factors;
  for (int i = 0; i < n; ++i) {
    switch (random() % 8) {
      case 0:
        factors.push_back(NewInteger(2 + static_cast<int>(random() % 5)));
        break;
      case 1:
        factors.push_back(NewSqrt(NewInteger(2 + static_cast<int>(random() % 30))));
        break;
      default:
        factors.push_back(Power(ProductName(static_cast<int>(random() % kProductNames)),
                                1 + static_cast<int>(random() % 3)));
    }
  }
  return Composite(kProduct, factors);
}

int Nodes(Handle h) {
  if (h == nullptr) return 0;
  int n = 1;
  for (int i = 0; i < ObjCount(h); ++i) n += Nodes(ObjSlot(h, i));
  return n;
}

void PerOperand(benchmark::State& state, int operands) {
  state.counters["operands"] = operands;
  state.counters["ns/operand"] =
      benchmark::Counter(static_cast<double>(operands) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RunPasses(benchmark::State& state, Handle tree, bool full) {
  int terms = ObjCount(tree);
  int resultTerms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Handle copy = DupObj(tree);
    ResetInterruptCheck();
    state.ResumeTiming();
    Handle result = full ? Simplify(copy) : SimpOne(copy);
    state.PauseTiming();
    resultTerms = ObjType(result) == ObjType(tree) ? ObjCount(result) : 1;
    DisposeObj(result);
    state.ResumeTiming();
  }
  PerOperand(state, terms);
  state.counters["result operands"] = resultTerms;
  DisposeObj(tree);
}

void SumPass(benchmark::State& state) {
  Start();
  RunPasses(state, LikeTermSum(static_cast<int>(state.range(0))), false);
}
BENCHMARK(SumPass)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

void SumSimplify(benchmark::State& state) {
  Start();
  RunPasses(state, LikeTermSum(static_cast<int>(state.range(0))), true);
}
BENCHMARK(SumSimplify)->Arg(5000)->Unit(benchmark::kMillisecond);

void ProductPass(benchmark::State& state) {
  Start();
  RunPasses(state, LongProduct(static_cast<int>(state.range(0))), false);
}
BENCHMARK(ProductPass)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

void ProductSimplify(benchmark::State& state) {
  Start();
  RunPasses(state, LongProduct(static_cast<int>(state.range(0))), true);
}
BENCHMARK(ProductSimplify)->Arg(2000)->Unit(benchmark::kMillisecond);

void Copy(benchmark::State& state) {
  Start();
  Handle tree = LikeTermSum(static_cast<int>(state.range(0)));
  for (auto _ : state) DisposeObj(DupObj(tree));
  PerOperand(state, ObjCount(tree));
  state.counters["nodes"] = Nodes(tree);
  DisposeObj(tree);
}
BENCHMARK(Copy)->Arg(5000)->Unit(benchmark::kMillisecond);

void Compare(benchmark::State& state) {
  Start();
  Handle tree = LikeTermSum(static_cast<int>(state.range(0)));
  Handle copy = DupObj(tree);
  for (auto _ : state) benchmark::DoNotOptimize(Equivalent(tree, copy));
  PerOperand(state, ObjCount(tree));
  DisposeObj(tree);
  DisposeObj(copy);
}
BENCHMARK(Compare)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
