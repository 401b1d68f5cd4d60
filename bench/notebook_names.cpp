// The notebook model at notebook scale: finding names' declarations, the
// declaration pass, and growing a theory one proposition at a time.
//
//   ResolveNames/d           10,000 names (in 1,000 assumptions) resolved among d
//                            declarations; time per name grows with d, since a
//                            look-up scans the declarations in order
//   ResolveNamesInPass/d     the same inside a pass, which indexes each theory's
//                            declarations by spelling once
//   ResolveBaseline/d        the same look-ups as a plain scan of d strings: the
//                            least a scan in order can cost
//   DeclarationPassOver/n    Clarify over n propositions (50 declarations, every
//                            twentieth proposition a working statement): per
//                            proposition it should stay flat from 1,000 to 10,000
//   AppendPropositions/n     n assumptions appended at the end of the Main Theory
//   InsertAfterLast/n        n assumptions each inserted after the one before it
//                            (the insertion point is searched every time)
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/registration.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"

namespace lemmabox {
namespace {

constexpr int kNames = 10000;
constexpr int kNamesPerAssumption = 10;

std::string Spelling(int i) {
  return "n" + std::to_string(i);
}

// A notebook with `decls` declarations, then assumptions holding `names`
// names (sums of ten), each name one of the declared ones.
Handle BuildNamesNotebook(int decls, int names) {
  RegisterCore();
  Handle main = NewNotebook();
  SetCurrentNotebook(main);
  for (int i = 0; i < decls; ++i) {
    Handle decl = NewNameDecl(NewUndeclaredName(Spelling(i).c_str()), kNameVariable);
    InsertProp(decl, main, ObjCount(main), 0);
  }
  uint32_t seed = 12345;
  for (int done = 0; done < names; done += kNamesPerAssumption) {
    Handle sum = NewObjN('+', kNamesPerAssumption);
    for (int k = 0; k < kNamesPerAssumption; ++k) {
      seed = seed * 1103515245 + 12345;
      PutSlot(sum, k, NewUndeclaredName(Spelling(static_cast<int>(seed >> 8) % decls).c_str()));
    }
    InsertProp(NewAssumption(sum), main, ObjCount(main), 0);
  }
  return main;
}

std::unordered_set<Handle> Declarations(Handle main) {
  std::unordered_set<Handle> decls;
  for (int i = FirstProp(main); i < ObjCount(main); ++i)
    if (ObjType(ObjSlot(main, i)) == 'V') decls.insert(ObjSlot(main, i));
  return decls;
}

void ResolveNames(benchmark::State& state) {
  int decls = static_cast<int>(state.range(0));
  Handle main = BuildNamesNotebook(decls, kNames);
  std::unordered_set<Handle> all = Declarations(main);
  for (auto _ : state) {
    state.PauseTiming();
    UnresolveNames(main, all);
    state.ResumeTiming();
    ResolveNamesIn(main);
  }
  state.SetItemsProcessed(state.iterations() * kNames);
  state.counters["ns_per_name_per_decl"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kNames * decls,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  CloseNotebook(main);
}
BENCHMARK(ResolveNames)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// The same inside a pass, where each theory's declarations are indexed once.
void ResolveNamesInPass(benchmark::State& state) {
  int decls = static_cast<int>(state.range(0));
  Handle main = BuildNamesNotebook(decls, kNames);
  std::unordered_set<Handle> all = Declarations(main);
  for (auto _ : state) {
    state.PauseTiming();
    UnresolveNames(main, all);
    state.ResumeTiming();
    NameIndexScope index;
    ResolveNamesIn(main);
  }
  state.SetItemsProcessed(state.iterations() * kNames);
  CloseNotebook(main);
}
BENCHMARK(ResolveNamesInPass)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void ResolveBaseline(benchmark::State& state) {
  int decls = static_cast<int>(state.range(0));
  std::vector<std::string> spellings;
  for (int i = 0; i < decls; ++i) spellings.push_back(Spelling(i));
  std::vector<std::string> wanted;
  uint32_t seed = 12345;
  for (int i = 0; i < kNames; ++i) {
    seed = seed * 1103515245 + 12345;
    wanted.push_back(Spelling(static_cast<int>(seed >> 8) % decls));
  }
  for (auto _ : state) {
    int found = 0;
    for (const std::string& name : wanted) {
      for (const std::string& spelling : spellings) {
        if (std::strcmp(spelling.c_str(), name.c_str()) == 0) {
          ++found;
          break;
        }
      }
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(ResolveBaseline)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// n propositions over 50 names: sums of names set equal to a number; every
// twentieth one a working statement defining a name.
Handle BuildPassNotebook(int n) {
  RegisterCore();
  Handle main = NewNotebook();
  SetCurrentNotebook(main);
  constexpr int kDecls = 50;
  for (int i = 0; i < kDecls; ++i) {
    Handle decl = NewNameDecl(NewUndeclaredName(Spelling(i).c_str()), kNameVariable);
    InsertProp(decl, main, ObjCount(main), 0);
  }
  for (int i = 0; i < n; ++i) {
    Handle statement;
    bool working = i % 20 == 0;
    if (working) {
      statement = NewEquation(NewUndeclaredName(Spelling(i / 20 % kDecls).c_str()), NewInteger(i));
    } else {
      statement = NewEquation(NewSum(NewUndeclaredName(Spelling(i % kDecls).c_str()),
                                     NewUndeclaredName(Spelling((i * 7) % kDecls).c_str())),
                              NewInteger(i));
    }
    Handle prop = NewAssumption(statement);
    if (working) SetWorkingBit(prop, true);
    InsertProp(prop, main, ObjCount(main), i % 3);
  }
  Clarify(main);
  return main;
}

void DeclarationPassOver(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  Handle main = BuildPassNotebook(n);
  for (auto _ : state) Clarify(main);
  state.SetItemsProcessed(state.iterations() * n);
  CloseNotebook(main);
}
BENCHMARK(DeclarationPassOver)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void AppendPropositions(benchmark::State& state) {
  RegisterCore();
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Handle main = NewNotebook();
    for (int i = 0; i < n; ++i) InsertProp(NewAssumption(nullptr), main, ObjCount(main), 0);
    state.PauseTiming();
    CloseNotebook(main);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(AppendPropositions)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void InsertAfterLast(benchmark::State& state) {
  RegisterCore();
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Handle main = NewNotebook();
    SetCurrentNotebook(main);
    Handle last = nullptr;
    for (int i = 0; i < n; ++i) {
      Handle prop = NewAssumption(nullptr);
      InsertAfter(prop, last, nullptr, i % 2);
      last = prop;
    }
    state.PauseTiming();
    CloseNotebook(main);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(InsertAfterLast)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
