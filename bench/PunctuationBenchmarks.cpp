#include <benchmark/benchmark.h>

#include "app/ResultPunctuation.h"
#include "bench/BenchmarkSources.h"
#include "extraction/TextPane.h"

namespace glanex {
namespace {

// A document pane: 10,000 lines with their commas would not fit in a working list.
void BM_AddCommas(benchmark::State& state) {
  const FormattedText list = FormattedText::fromPlainText(addressListSource(10'000));
  TextPane pane = TextPane::document();
  for (auto _ : state) {
    state.PauseTiming();
    pane.buffer().setDocument(list);
    state.ResumeTiming();
    AddCommas(pane.Lines());
  }
  state.counters["lines"] = static_cast<double>(pane.Lines().LineCount());
}

BENCHMARK(BM_AddCommas)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glanex
