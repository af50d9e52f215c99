#include <benchmark/benchmark.h>

#include <stdexcept>

#include "bench/BenchmarkSources.h"
#include "bench/HeadlessProgress.h"
#include "extraction/Pipeline.h"
#include "extraction/StagedExtraction.h"
#include "extraction/TextPane.h"

namespace glanex {
namespace {

void loadPane(TextPane& pane, const std::string& text) {
  pane.buffer().setDocument(FormattedText::fromPlainText(text));
}

// One whole run per iteration, fresh working lists included, as the command line does it.
void BM_Extraction(benchmark::State& state, const std::string& text) {
  TextPane source = TextPane::document();
  loadPane(source, text);
  HeadlessProgress progress;
  std::int64_t addresses = 0;
  for (auto _ : state) {
    StagedExtraction staged;
    try {
      addresses = staged.run(source.Lines(), kDefaultSeparators, &progress);
    } catch (const std::exception& error) {
      // A source that overflows a working list measures an error path, not the extraction.
      state.SkipWithError(error.what());
      break;
    }
    benchmark::DoNotOptimize(progress.position(ProgressChannel::DedupOuter));
  }
  state.counters["addresses"] = static_cast<double>(addresses);
  state.counters["source_bytes"] = static_cast<double>(text.size());
}

BENCHMARK_CAPTURE(BM_Extraction, worked_example, workedExampleSource())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Extraction, web_page_60kb, webPageSource(20, 60'000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Extraction, full_working_list, fullWorkingListSource())->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glanex
