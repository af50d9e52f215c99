#include <benchmark/benchmark.h>

#include <string>

#include "extraction/RtfReader.h"
#include "extraction/TextEncoding.h"

namespace glanex {
namespace {

std::string repeatedTo(const std::string& chunk, std::size_t size) {
  std::string text;
  text.reserve(size + chunk.size());
  while (text.size() < size) text += chunk;
  return text;
}

constexpr std::size_t kTenMegabytes = 10'000'000;

void BM_ReadRtf(benchmark::State& state) {
  const std::string rtf =
      "{\\rtf1" +
      repeatedTo("{\\b gras} texte \\'e9\\u233? {\\*\\x ignor\\'e9} anne@ex.test\\tab suite\\par\r\n",
                 kTenMegabytes) +
      "}";
  for (auto _ : state) benchmark::DoNotOptimize(RtfReader::read(rtf));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}

void BM_DecodePlainText(benchmark::State& state, const std::string& chunk) {
  const std::string bytes = repeatedTo(chunk, kTenMegabytes);
  for (auto _ : state) benchmark::DoNotOptimize(decodePlainText(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodePlainText, ascii_crlf, std::string("Contact : anne@ex.test, bob@ex.test\r\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodePlainText, windows1252_lf, std::string("R\xE9sum\xE9 : andr\xC9@ex.test\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodePlainText, utf8_lf, std::string("R\xC3\xA9sum\xC3\xA9 : andr\xC3\x89@ex.test\n"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glanex
