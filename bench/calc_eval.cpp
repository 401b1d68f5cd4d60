// Evaluating a formula at 10^6 points: sin(x) exp(-x^2) + x^3 / (1 + x^2)
// through CalcReal, with x bound as a temporary value the way graphs and
// tables sample, against the same formula compiled as C++.
//
//   NativeFormula     the compiled formula at the 10^6 points
//   CalcRealFormula   the evaluator at the same points; its counters give
//                     the time per evaluation, the ratio to the compiled
//                     formula measured in the same run, and the heap and
//                     object-handle allocations per evaluation (the target is
//                     none: the calculation stack is one fixed block)
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <new>

#include "calc/calc_engine.h"
#include "core/registration.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"

namespace {
std::atomic<uint64_t> gHeapAllocations{0};

// Out of line, so that the compiler does not pair the malloc and free across
// the replaced operators.
[[gnu::noinline]] void* Acquire(std::size_t n) {
  gHeapAllocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(n ? n : 1);
}
[[gnu::noinline]] void Release(void* p) {
  std::free(p);
}
}  // namespace

// Every heap allocation of the program passes here while the benchmark runs.
void* operator new(std::size_t n) {
  if (void* p = Acquire(n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}

namespace lemmabox {
namespace {

constexpr int kPoints = 1000000;

double PointAt(int i) {
  return -3.0 + 6.0 * i / kPoints;
}

double Native(double x) {
  return std::sin(x) * std::exp(-x * x) + x * x * x / (1 + x * x);
}

// A notebook that declares x, sin and exp, and the formula in it.
struct Setup {
  HeadlessPlatform platform;
  Handle notebook = nullptr;
  Handle formula = nullptr;
  Handle x = nullptr;

  Setup() {
    RegisterCore();
    SetCurrentPlatform(&platform);
    notebook = NewNotebook();
    SetCurrentNotebook(notebook);
    InsertDecl(NewNameDecl(NewUndeclaredName("x"), kNameVariable), notebook);
    for (auto [name, key] : {std::pair{"sin", 0x100}, std::pair{"exp", 0x123}}) {
      Handle decl = NewNameDecl(NewUndeclaredName(name), kNameFunction);
      SetDeclBehaviour(decl, BehaviourItemForKey(key));
      InsertDecl(decl, notebook);
    }
    RefreshKnowledge(notebook);
    auto name = [](const char* text) { return NewUndeclaredName(text); };
    auto apply = [&](const char* f, Handle arg) { return NewObj2(kApply, name(f), arg); };
    // sin(x) * exp(-(x^2)) + x^3 / (1 + x^2)
    Handle left = NewProduct(apply("sin", name("x")),
                             apply("exp", NewNegation(NewPower(name("x"), NewTwo()))));
    Handle right = NewQuotient(NewPower(name("x"), NewThree()),
                               NewSum(NewOne(), NewPower(name("x"), NewTwo())));
    Handle prop = NewAssumption(NewSum(left, right));
    InsertProp(prop, notebook, ObjCount(notebook), 0);
    ResolveNamesIn(prop);
    formula = StatementOf(prop);
    x = ObjSlot(ObjSlot(ObjSlot(formula, 0), 0), 1);
  }
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

double NativeLoop() {
  double sum = 0;
  for (int i = 0; i < kPoints; ++i) sum += Native(PointAt(i));
  return sum;
}

double CalcLoop(Setup& s) {
  TemporaryBinding binding(s.x, TemporaryValue{kValueReal, 0, 0.0, 0});
  double sum = 0;
  for (int i = 0; i < kPoints; ++i) {
    binding.Set(TemporaryValue{kValueReal, 0, PointAt(i), 0});
    sum += CalcReal(s.formula);
  }
  return sum;
}

void BM_NativeFormula(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(NativeLoop());
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_CalcRealFormula(benchmark::State& state) {
  Setup& s = TheSetup();
  // Both sums must agree: the evaluator computes the same formula.
  double native = NativeLoop();
  double calc = CalcLoop(s);
  if (std::fabs(native - calc) > 1e-9 * std::fabs(native)) state.SkipWithError("sums differ");
  double nativeSeconds = 0;
  double calcSeconds = 0;
  uint64_t heap = 0;
  uint64_t handles = 0;
  // Processor time, not wall time: the machine may be shared.
  auto seconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
  for (auto _ : state) {
    double t0 = seconds();
    benchmark::DoNotOptimize(NativeLoop());
    double t1 = seconds();
    uint64_t heapBefore = gHeapAllocations.load();
    uint64_t handlesBefore = ObjHandleAllocations();
    benchmark::DoNotOptimize(CalcLoop(s));
    heap += gHeapAllocations.load() - heapBefore;
    handles += ObjHandleAllocations() - handlesBefore;
    double t2 = seconds();
    nativeSeconds += t1 - t0;
    calcSeconds += t2 - t1;
  }
  double evaluations = static_cast<double>(state.iterations()) * kPoints;
  state.counters["ns_per_eval"] = calcSeconds / evaluations * 1e9;
  state.counters["native_ns"] = nativeSeconds / evaluations * 1e9;
  state.counters["ratio"] = calcSeconds / nativeSeconds;
  state.counters["heap_allocs_per_eval"] = static_cast<double>(heap) / evaluations;
  state.counters["handle_allocs_per_eval"] = static_cast<double>(handles) / evaluations;
}

BENCHMARK(BM_NativeFormula)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcRealFormula)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
