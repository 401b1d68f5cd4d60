// Typing an expression into a notebook, one keystroke at a time through the
// command routing, as the user and the file reader do.
//
//   TypeScript/n      a 2,000-character typing script typed into a new
//                     assumption of a notebook that holds n other
//                     propositions, then committed; the cost of a keystroke
//                     must not depend on n (10 against 1,000 within 1.5x)
//   WriteScript/n     the same expression written back by the expression
//                     writer, n other propositions as above
//
// The names of the script are declared in the notebook, so committing asks
// nothing; the other propositions are sums of declared names.
#include <benchmark/benchmark.h>

#include <string>

#include "core/registration.h"
#include "editor/perform.h"
#include "editor/selection_list.h"
#include "editor/undo.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

constexpr size_t kScriptLength = 2000;
constexpr const char* kNames[] = {"a", "b", "c", "x", "y", "t"};

// About 2,000 characters of sums, products, powers, quotients, brackets and
// a function, ending where the next piece can start.
std::string Script() {
  const std::string piece = "a*x^2+(b-c)/(x+1)*y-sqrt(t+2.5)*f(x)+3*y^(a+b)-";
  std::string script;
  while (script.size() + piece.size() < kScriptLength) script += piece;
  return script + "c";
}

struct Fixture {
  Handle notebook = nullptr;
  NotebookView* view = nullptr;
};

Fixture BuildNotebook(int others) {
  RegisterCore();
  Fixture fixture;
  fixture.notebook = NewNotebook();
  for (const char* name : kNames) {
    InsertProp(NewNameDecl(NewUndeclaredName(name), kNameVariable), fixture.notebook,
               ObjCount(fixture.notebook), 0);
  }
  InsertProp(NewNameDecl(NewUndeclaredName("f"), kNameFunction), fixture.notebook,
             ObjCount(fixture.notebook), 0);
  for (int i = 0; i < others; ++i) {
    Handle sum = NewSum(NewUndeclaredName(kNames[i % 6]), NewInteger(i));
    InsertProp(NewAssumption(sum), fixture.notebook, ObjCount(fixture.notebook), 0);
  }
  DeclarationPass(fixture.notebook, false);
  fixture.view = OpenNotebookView(fixture.notebook);
  return fixture;
}

void Close(Fixture& fixture) {
  StartUndoRecord(false);
  CloseNotebookView(fixture.view);
  CloseNotebook(fixture.notebook);
}

void TypeScript(benchmark::State& state) {
  const std::string script = Script();
  int64_t keystrokes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Fixture fixture = BuildNotebook(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    PerformCommandCode(kCmdNewAssumption);
    for (char c : script) PerformCommandCode(TypeCharCommand(static_cast<uint8_t>(c)));
    CommitPendingEdits();
    keystrokes += static_cast<int64_t>(script.size()) + 1;
    state.PauseTiming();
    Close(fixture);
    state.ResumeTiming();
  }
  state.counters["keystrokes/s"] =
      benchmark::Counter(static_cast<double>(keystrokes), benchmark::Counter::kIsRate);
}
BENCHMARK(TypeScript)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

void WriteScript(benchmark::State& state) {
  Fixture fixture = BuildNotebook(static_cast<int>(state.range(0)));
  PerformCommandCode(kCmdNewAssumption);
  for (char c : Script()) PerformCommandCode(TypeCharCommand(static_cast<uint8_t>(c)));
  CommitPendingEdits();
  Handle statement = StatementOf(ObjSlot(fixture.notebook, ObjCount(fixture.notebook) - 1));
  size_t written = 0;
  for (auto _ : state) {
    std::string text;
    AppendExpressionScript(text, statement);
    written += text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(written));
  Close(fixture);
}
BENCHMARK(WriteScript)->Arg(10)->Arg(1000);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
