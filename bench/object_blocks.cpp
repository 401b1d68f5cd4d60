// Object blocks against the C library's malloc and free, on the patterns of
// symbolic work: a tree of objects built and then disposed, and an
// interleaved churn of allocations and releases. Sizes are 40..200 bytes;
// both allocators see exactly the same sequence in the same run.
//
//   TreeBuildDispose/n   build a tree of n blocks (parents first), dispose it
//                        depth-first (children before parents)
//   Churn/n              n allocations, each second one followed by the
//                        release of a random live block; the rest released
//   YoungChurn/n         the same, the victim one of the 1000 youngest blocks
//                        (temporaries of a manipulation die young)
//   TreeBuild/n          only the building, from an empty heap each time
//                        (per-object cost at 10^5 and 10^6 shows the growth)
// The *Handles variants go through the handle layer, as math objects do.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <type_traits>
#include <vector>

#include "mathobj/handles.h"
#include "shell/memory.h"

namespace lemmabox {
namespace {

struct Pattern {
  std::vector<uint32_t> sizes;
  std::vector<uint32_t> disposeOrder;  // tree: post-order of a heap-shaped tree
  std::vector<uint32_t> picks;         // churn: random numbers choosing the victim
};

void PostOrder(uint32_t node, uint32_t n, std::vector<uint32_t>& out) {
  std::vector<std::pair<uint32_t, bool>> stack{{node, false}};
  while (!stack.empty()) {
    auto [i, expanded] = stack.back();
    stack.pop_back();
    if (expanded) {
      out.push_back(i);
      continue;
    }
    stack.push_back({i, true});
    if (2 * i + 2 < n) stack.push_back({2 * i + 2, false});
    if (2 * i + 1 < n) stack.push_back({2 * i + 1, false});
  }
}

const Pattern& PatternOf(uint32_t n) {
  static std::vector<std::pair<uint32_t, Pattern>> cache;
  for (auto& [size, pattern] : cache)
    if (size == n) return pattern;
  Pattern p;
  std::mt19937 random(n);
  for (uint32_t i = 0; i < n; ++i) p.sizes.push_back(40 + random() % 161);
  PostOrder(0, n, p.disposeOrder);
  for (uint32_t i = 0; i < n; ++i) p.picks.push_back(random());
  cache.emplace_back(n, std::move(p));
  return cache.back().second;
}

struct ObjBlocks {
  static void* Alloc(size_t n) { return AllocObjBlock(n); }
  static void Free(void* p) { DisposeObjBlock(p); }
};
struct ClearedObjBlocks {
  static void* Alloc(size_t n) { return AllocClearedObjBlock(n); }
  static void Free(void* p) { DisposeObjBlock(p); }
};
struct Handles {
  static void* Alloc(size_t n) { return AllocObjHandle(n); }
  static void Free(void* p) { ReleaseObjHandle(static_cast<Handle>(p)); }
};
struct Malloc {
  static void* Alloc(size_t n) { return std::malloc(n); }
  static void Free(void* p) { std::free(p); }
};
struct Calloc {
  static void* Alloc(size_t n) { return std::calloc(1, n); }
  static void Free(void* p) { std::free(p); }
};

template <class A>
void TreeBuildDispose(benchmark::State& state) {
  auto n = static_cast<uint32_t>(state.range(0));
  const Pattern& p = PatternOf(n);
  std::vector<void*> blocks(n);
  for (auto _ : state) {
    for (uint32_t i = 0; i < n; ++i) blocks[i] = A::Alloc(p.sizes[i]);
    benchmark::ClobberMemory();
    for (uint32_t i : p.disposeOrder) A::Free(blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// The victim of each release: any live block (window 0) or one of the
// `window` youngest.
template <class A>
void RunChurn(benchmark::State& state, uint32_t window) {
  auto n = static_cast<uint32_t>(state.range(0));
  const Pattern& p = PatternOf(n);
  std::vector<void*> live;
  live.reserve(n);
  for (auto _ : state) {
    for (uint32_t i = 0; i < n; ++i) {
      live.push_back(A::Alloc(p.sizes[i]));
      if (i % 2 == 1) {
        uint32_t victim = p.picks[i] % live.size();
        if (window != 0 && live.size() > window)
          victim = static_cast<uint32_t>(live.size() - 1 - p.picks[i] % window);
        A::Free(live[victim]);
        live[victim] = live.back();
        live.pop_back();
      }
    }
    for (void* block : live) A::Free(block);
    live.clear();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

template <class A>
void Churn(benchmark::State& state) {
  RunChurn<A>(state, 0);
}

template <class A>
void YoungChurn(benchmark::State& state) {
  RunChurn<A>(state, 1000);
}

template <class A>
void TreeBuild(benchmark::State& state) {
  auto n = static_cast<uint32_t>(state.range(0));
  const Pattern& p = PatternOf(n);
  std::vector<void*> blocks(n);
  for (auto _ : state) {
    for (uint32_t i = 0; i < n; ++i) blocks[i] = A::Alloc(p.sizes[i]);
    benchmark::ClobberMemory();
    state.PauseTiming();
    for (uint32_t i : p.disposeOrder) A::Free(blocks[i]);
    if constexpr (std::is_same_v<A, ObjBlocks>) FreeAllChunks();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

constexpr int64_t kSmall = 100000;
constexpr int64_t kLarge = 1000000;

BENCHMARK(TreeBuildDispose<ObjBlocks>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuildDispose<Malloc>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuildDispose<ClearedObjBlocks>)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuildDispose<Calloc>)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuildDispose<Handles>)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(Churn<ObjBlocks>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(Churn<Malloc>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(Churn<Handles>)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(YoungChurn<ObjBlocks>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(YoungChurn<Malloc>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuild<ObjBlocks>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBuild<Malloc>)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
