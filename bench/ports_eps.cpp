// Speed of what every picture does: measuring text through the shared font
// metrics, and writing PostScript. Each is set against a baseline in the same
// run: summing widths from a plain array, and formatting the same numbers
// with snprintf into a string.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "ports/font_metrics.h"
#include "ports/postscript_port.h"

namespace lemmabox {
namespace {

const std::string kText = "sin(x)+Lemmabox_2";

void BM_TextWidth(benchmark::State& state) {
  PortFont font{"Times", 12};
  for (auto _ : state) benchmark::DoNotOptimize(TextWidth(kText, font));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}
BENCHMARK(BM_TextWidth);

void BM_TextWidthBaseline(benchmark::State& state) {
  const FaceMetrics& face = *ResolveFont(PortFont{"Times", 12}).face;
  int32_t widths[256];
  for (int c = 0; c < 256; ++c) {
    widths[c] = face.byteGlyph[c] >= 0 ? face.glyphs[face.byteGlyph[c]].width : 0;
  }
  for (auto _ : state) {
    int64_t total = 0;
    for (char c : kText) total += widths[static_cast<uint8_t>(c)];
    benchmark::DoNotOptimize(ScaleFontUnits(total, 12));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}
BENCHMARK(BM_TextWidthBaseline);

void BM_EpsPolyline(benchmark::State& state) {
  const int32_t segments = static_cast<int32_t>(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    StringSink sink;
    {
      PostScriptOptions options;
      options.creationDate = "now";
      PostScriptPort port(sink, Rect{0, 0, 10000, 1000}, options);
      port.startLine(1);
      port.moveTo(0, 0);
      for (int32_t i = 1; i <= segments; ++i) port.lineTo(i % 10000, (i * 7) % 1000);
      port.endLine();
      port.close();
    }
    bytes = sink.text().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EpsPolyline)->Arg(1000)->Arg(100000);

void BM_EpsPolylineBaseline(benchmark::State& state) {
  const int32_t segments = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    std::string text;
    char piece[32];
    for (int32_t i = 1; i <= segments; ++i) {
      std::snprintf(piece, sizeof piece, "%d %d L ", i % 10000, (i * 7) % 1000);
      text += piece;
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EpsPolylineBaseline)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace lemmabox

BENCHMARK_MAIN();
