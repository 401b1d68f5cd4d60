// Equivalence and pattern matching.
//
//   Equivalent/n        exact comparison of a sum of n terms k*x^k with its
//                       copy (the like-term test of Simplify); per-node cost
//                       at 16 and 4096 terms shows the growth
//   DirectCompare/n     baseline in the same run: the same trees compared by
//                       a plain recursive walk without tables or switches
//   Copy/n              baseline: DupObj of the same tree
//   OrderFree/n         a sum pattern of n terms against the same terms in
//                       reverse order (every term placed by the order-free
//                       search), n = 4, 8, 16
//   RuleWithRest        sin(y)^2 + cos(y)^2 found among 16 terms: two open
//                       operands bind y, the other 14 terms become the rest,
//                       and the rule's other side is instantiated
//   Absorbers           a product pattern p*q*x against 16 factors: two
//                       wildcards share the 15 left over
//   WorstCase/s         the hardest case we could construct: 16 patterns
//                       x^x of distinct letters against 8 x^x and 8 x^(x+1),
//                       where every pairing looks feasible until its letters
//                       are compared; the search budget ends it (no match).
//                       With s = 64 every base and exponent is a sum of 64
//                       terms, so each pairing copies and compares ~400 nodes
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/registration.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/slots.h"
#include "platform/headless_platform.h"
#include "shell/interrupt.h"

namespace lemmabox {
namespace {

HeadlessPlatform gPlatform;

void Start() {
  static bool started = false;
  if (started) return;
  started = true;
  RegisterCore();
  SetCurrentPlatform(&gPlatform);
}

Handle Name(const char* text) {
  return NewUndeclaredName(text);
}

// k * x^k
Handle Term(int k) {
  return NewProduct(NewInteger(k + 2), NewPower(Name("x"), NewInteger(k + 1)));
}

Handle SumOf(const std::vector<Handle>& terms) {
  Handle sum = NewObjN(kSum, static_cast<int>(terms.size()));
  for (size_t i = 0; i < terms.size(); ++i) PutSlot(sum, static_cast<int>(i), terms[i]);
  return sum;
}

Handle Polynomial(int n, bool reversed = false) {
  std::vector<Handle> terms;
  for (int k = 0; k < n; ++k) terms.push_back(Term(reversed ? n - 1 - k : k));
  return SumOf(terms);
}

bool DirectlyEqual(Handle a, Handle b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (ObjType(a) != ObjType(b)) return false;
  switch (ObjType(a)) {
    case kInteger:
      return IntegerValue(a) == IntegerValue(b);
    case kUndeclaredName:
      return std::string(ObjText(a)) == ObjText(b);
    default:
      break;
  }
  if (ObjCount(a) != ObjCount(b)) return false;
  for (int i = 0; i < ObjCount(a); ++i)
    if (!DirectlyEqual(ObjSlot(a, i), ObjSlot(b, i))) return false;
  return true;
}

int Nodes(Handle h) {
  if (h == nullptr) return 0;
  int n = 1;
  for (int i = 0; i < ObjCount(h); ++i) n += Nodes(ObjSlot(h, i));
  return n;
}

void Equivalent(benchmark::State& state) {
  Start();
  Handle a = Polynomial(static_cast<int>(state.range(0)));
  Handle b = DupObj(a);
  for (auto _ : state) benchmark::DoNotOptimize(lemmabox::Equivalent(a, b));
  state.counters["nodes"] = Nodes(a);
  state.counters["ns/node"] =
      benchmark::Counter(static_cast<double>(Nodes(a)) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DisposeObj(a);
  DisposeObj(b);
}
BENCHMARK(Equivalent)->Arg(16)->Arg(4096);

void DirectCompare(benchmark::State& state) {
  Start();
  Handle a = Polynomial(static_cast<int>(state.range(0)));
  Handle b = DupObj(a);
  for (auto _ : state) benchmark::DoNotOptimize(DirectlyEqual(a, b));
  state.counters["ns/node"] =
      benchmark::Counter(static_cast<double>(Nodes(a)) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DisposeObj(a);
  DisposeObj(b);
}
BENCHMARK(DirectCompare)->Arg(16)->Arg(4096);

void Copy(benchmark::State& state) {
  Start();
  Handle a = Polynomial(static_cast<int>(state.range(0)));
  for (auto _ : state) DisposeObj(DupObj(a));
  state.counters["ns/node"] =
      benchmark::Counter(static_cast<double>(Nodes(a)) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DisposeObj(a);
}
BENCHMARK(Copy)->Arg(16)->Arg(4096);

void OrderFree(benchmark::State& state) {
  Start();
  int n = static_cast<int>(state.range(0));
  Handle subject = Polynomial(n);
  Handle pattern = Polynomial(n, true);
  for (auto _ : state) {
    ResetInterruptCheck();
    if (!MatchPattern(subject, pattern)) state.SkipWithError("no match");
  }
  state.counters["trials"] = LastOrderFreeFigures().trials;
  ClearBindingTable();
  DisposeObj(subject);
  DisposeObj(pattern);
}
BENCHMARK(OrderFree)->Arg(4)->Arg(8)->Arg(16);

Handle Squared(const char* function, Handle argument) {
  return NewPower(NewObj2(kApply, Name(function), argument), NewInteger(2));
}

void RuleWithRest(benchmark::State& state) {
  Start();
  std::vector<Handle> terms;
  for (int k = 0; k < 14; ++k) terms.push_back(Term(k));
  terms.insert(terms.begin() + 5, Squared("sin", Name("y")));
  terms.insert(terms.begin() + 11, Squared("cos", Name("y")));
  Handle subject = SumOf(terms);
  Handle from = NewSum(Squared("sin", NewWildcard('o')), Squared("cos", NewWildcard('o')));
  Handle to = NewInteger(1);
  for (auto _ : state) {
    ResetInterruptCheck();
    Handle result = ApplyRule(subject, from, to);
    if (result == nullptr || ObjCount(result) != 15) state.SkipWithError("rule did not apply");
    DisposeObj(result);
  }
  state.counters["trials"] = LastOrderFreeFigures().trials;
  ClearBindingTable();
  DisposeObj(subject);
  DisposeObj(from);
  DisposeObj(to);
}
BENCHMARK(RuleWithRest);

void Absorbers(benchmark::State& state) {
  Start();
  Handle subject = NewObjN(kProduct, 16);
  for (int k = 0; k < 16; ++k)
    PutSlot(subject, k, k == 9 ? Name("x") : NewPower(Name("y"), NewInteger(k + 1)));
  Handle pattern = NewProduct(NewWildcard('p'), NewWildcard('q'), Name("x"));
  for (auto _ : state) {
    ResetInterruptCheck();
    if (!MatchPattern(subject, pattern)) state.SkipWithError("no match");
  }
  state.counters["trials"] = LastOrderFreeFigures().trials;
  ClearBindingTable();
  DisposeObj(subject);
  DisposeObj(pattern);
}
BENCHMARK(Absorbers);

// A number, or with size > 1 a sum of that many terms around it, so that
// every binding copies and every comparison walks a large operand.
Handle Operand(int value, int size) {
  if (size <= 1) return NewInteger(value);
  Handle sum = NewObjN(kSum, size);
  for (int k = 0; k < size; ++k)
    PutSlot(sum, k, k == 0 ? NewInteger(value) : NewProduct(NewInteger(k), NewInteger(k + 1)));
  return sum;
}

void WorstCase(benchmark::State& state) {
  Start();
  int size = static_cast<int>(state.range(0));
  Handle subject = NewObjN(kSum, 16);
  Handle pattern = NewObjN(kSum, 16);
  // Kinds that accept what they meet here (integers; sums of numbers).
  const char* letters = size > 1 ? "abcdefghopqrstuv" : "ijklmnopqrstuvwx";
  for (int k = 0; k < 16; ++k) {
    int base = k % 8 + 1;
    PutSlot(subject, k, NewPower(Operand(base, size), Operand(k < 8 ? base : base + 1, size)));
    PutSlot(pattern, k, NewPower(NewWildcard(letters[k]), NewWildcard(letters[k])));
  }
  Handle outerSubject = NewObj2(kApply, Name("f"), subject);
  Handle outerPattern = NewObj2(kApply, Name("f"), pattern);
  for (auto _ : state) {
    ResetInterruptCheck();
    if (MatchPattern(outerSubject, outerPattern)) state.SkipWithError("matched");
  }
  state.counters["trials"] = LastOrderFreeFigures().trials;
  state.counters["work"] = LastOrderFreeFigures().work;
  state.counters["exhausted"] = LastOrderFreeFigures().budgetExhausted;
  state.counters["nodes"] = Nodes(outerSubject);
  DisposeObj(outerSubject);
  DisposeObj(outerPattern);
}
BENCHMARK(WorstCase)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
