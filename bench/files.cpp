// Notebook files at notebook scale: opening and saving a generated notebook
// of n propositions: the declarations of 64 names, then in every ten a
// comment, seven equations of about 30 typed characters and two conclusions
// with their derivation and contingency records. (The names are a fixed set:
// a name is looked up among the declarations in order, so a notebook whose
// declarations grow with it opens in more than linear time.)
//
//   OpenNotebook/n       the file's bytes read into a new notebook (typing
//                        every expression through the editor, then the
//                        declaration pass); bytes/s is the file's size
//   NotebookBytes/n      the notebook written as the bytes of its file
//   SaveNotebook/n       the same written to a file beside the build: a
//                        temporary file, flushed to the disk and renamed
//                        (its peak: the memory saving adds to the notebook's)
//   ReadFileBaseline/n   the same bytes only copied into a string: what
//                        any reader pays at least
//
// Every benchmark reports seconds per proposition (s_per_prop), which must
// stay flat from 1,000 to 10,000 propositions. The Open and Save ones also
// report the peak memory of one run per proposition (peak_per_prop: the
// object heap the notebook takes plus the largest amount of other memory in
// use at once, measured on an object heap of its own).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <string>

#include "core/registration.h"
#include "editor/comment_tree.h"
#include "editor/comment_writer.h"
#include "editor/compact_integer.h"
#include "files/file_reader.h"
#include "files/file_writer.h"
#include "notebook/document.h"
#include "platform/headless_platform.h"
#include "shell/memory.h"

// --- Counting the memory of operator new ---

namespace {
std::atomic<int64_t> gNewBytes{0};
std::atomic<int64_t> gNewPeak{0};

void* Allocate(size_t size) {
  // The size rides in front of the block so that delete can subtract it.
  auto* block = static_cast<size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = size;
  const int64_t now = gNewBytes += static_cast<int64_t>(size);
  int64_t peak = gNewPeak.load();
  while (now > peak && !gNewPeak.compare_exchange_weak(peak, now)) {
  }
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}

void Release(void* p) {
  if (p == nullptr) return;
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(p) - sizeof(std::max_align_t));
  gNewBytes -= static_cast<int64_t>(*block);
  std::free(block);
}
}  // namespace

void* operator new(size_t size) {
  return Allocate(size);
}
void* operator new[](size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, size_t) noexcept {
  Release(p);
}

namespace lemmabox {
namespace {

const char* const kSpellings[] = {"x", "y", "u", "v", "w", "a", "b", "c"};

std::string CommentForm(int n) {
  CommentTree tree = NewCommentTree();
  const std::string words[] = {"Group", std::to_string(n), "of", "the", "generated", "notebook"};
  for (const std::string& word : words) {
    if (!tree.root.children.empty()) tree.root.children.push_back(MakeCommentSpace());
    tree.root.children.push_back(MakeCommentWord(word));
  }
  std::string form;
  WriteComment(tree, form);
  return form;
}

std::string Trailer(int indentation) {
  return "~p0\n" + std::to_string(indentation) + " ";
}

// The text of a notebook of n propositions (n a multiple of ten), as the
// writer writes it: the declarations of the 64 names it uses, then groups of
// a comment, seven equations and two conclusions.
std::string GenerateNotebook(int n) {
  RegisterCore();
  Handle empty = NewNotebook();
  std::string text = NotebookText(empty);
  CloseNotebook(empty);
  text.resize(text.rfind("~e"));
  auto name = [](int i) { return std::string(kSpellings[i % 8]) + "_" + std::to_string(i / 8); };
  constexpr int kNames = 64;
  for (int i = 0; i < kNames; ++i) text += "~V?v1 (" + name(i) + ")" + Trailer(0);
  std::string contingencies;
  for (int group = 0; group < (n - kNames) / 10; ++group) {
    const std::string x = name(group % kNames);
    const std::string y = name((group * 7 + 3) % kNames);
    const int first = kNames + group * 10;
    text += "~Q\n" + CommentForm(group) + Trailer(0);
    for (int k = 0; k < 7; ++k)
      text += "~A(" + x + "^2+" + std::to_string(k + 2) + "*" + x + "*" + y + "-" + y +
              "/7=" + std::to_string(group * 7 + k) + ")" + Trailer(1);
    for (int k = 0; k < 2; ++k) {
      text += "~A(" + y + "*" + x + "+" + std::to_string(k + 1) + "=" + x + "*" + y + "+" +
              std::to_string(k + 1) + ")" + Trailer(2) + "~s";
      for (int32_t word : {11, 1, 1, 1, 0, 0}) AppendCompactInteger(text, word);
      text += "}\n";
      for (int32_t word : {-2, 0, -1}) AppendCompactInteger(text, word);
      contingencies +=
          "~c1\n" + std::to_string(first + 8 + k) + " -1 " + std::to_string(first + 1 + k) + " -1 ";
    }
  }
  text += contingencies + "~e\n";
  // What the writer makes of it: the line breaks and fields as it puts them.
  Handle notebook = ReadNotebookBytes(text);
  std::string written = NotebookText(notebook);
  CloseNotebook(notebook);
  return written;
}

const std::string& NotebookOf(int n) {
  static auto* cache = new std::map<int, std::string>();
  std::string& text = (*cache)[n];
  if (text.empty()) text = GenerateNotebook(n);
  return text;
}

size_t ObjectHeapBytes() {
  size_t bytes = 0;
  for (int i = 0; i < ObjHeapChunkCount(); ++i) bytes += ObjHeapChunkSize(i);
  return bytes;
}

// The peak memory of work() on an object heap of its own.
template <class Work>
double PeakBytes(Work&& work) {
  BeginIsolatedObjectHeap();
  const size_t heapBefore = ObjectHeapBytes();
  const int64_t newBefore = gNewBytes.load();
  gNewPeak = newBefore;
  work();
  const double peak =
      static_cast<double>(ObjectHeapBytes() - heapBefore) + double(gNewPeak.load() - newBefore);
  EndIsolatedObjectHeap();
  return peak;
}

void SetCounters(benchmark::State& state, int n, double peak) {
  state.counters["s_per_prop"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  if (peak > 0) state.counters["peak_per_prop"] = peak / n;
}

void OpenNotebook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string& text = NotebookOf(n);
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  const double peak = PeakBytes([&] { CloseNotebook(ReadNotebookBytes(text)); });
  for (auto _ : state) {
    Handle notebook = ReadNotebookBytes(text);
    state.PauseTiming();
    CloseNotebook(notebook);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  SetCounters(state, n, peak);
  SetCurrentPlatform(nullptr);
}

void NotebookBytes(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string& text = NotebookOf(n);
  Handle notebook = ReadNotebookBytes(text);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string file = NotebookFileBytes(notebook);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  CloseNotebook(notebook);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  SetCounters(state, n, 0);
}

void SaveNotebook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string path = "bench_files_" + std::to_string(n) + ".axn";
  Handle notebook = ReadNotebookBytes(NotebookOf(n));
  // Only what saving adds counts: the notebook is there already.
  const int64_t before = gNewBytes.load();
  gNewPeak = before;
  WriteNotebookFile(notebook, path);
  const double peak = double(gNewPeak.load() - before);
  for (auto _ : state) WriteNotebookFile(notebook, path);
  CloseNotebook(notebook);
  state.SetBytesProcessed(
      static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
  std::filesystem::remove(path);
  SetCounters(state, n, peak);
}

void ReadFileBaseline(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string& text = NotebookOf(n);
  for (auto _ : state) {
    std::string copy(text.begin(), text.end());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  SetCounters(state, n, 0);
}

BENCHMARK(OpenNotebook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(NotebookBytes)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveNotebook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadFileBaseline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
