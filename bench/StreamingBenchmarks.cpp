#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/CorpusGenerator.h"
#include "extraction/AddressCollector.h"
#include "extraction/LastOccurrenceList.h"
#include "extraction/Pipeline.h"
#include "extraction/SeparatorTable.h"
#include "extraction/StreamingExtraction.h"

// The streaming extraction's pieces, each on the same mail-archive text, and the whole engine on a file.
namespace glanex {
namespace {

constexpr std::uint64_t kSeed = 42;

const std::string& mailText(std::size_t size) {
  static std::string text;
  if (text.size() != size) {
    text.clear();
    CorpusGenerator(CorpusKind::Mail, kSeed).generate(size, [](std::string_view chunk) {
      text.append(chunk);
    });
  }
  return text;
}

void setBytesProcessed(benchmark::State& state, std::size_t bytesPerIteration) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytesPerIteration));
}

// The one table look-up per byte that decides where tokens end.
void BM_SeparatorScan(benchmark::State& state) {
  const std::string& text = mailText(16 << 20);
  SeparatorTable separators(kDefaultSeparators);
  separators.addLineBreaks();
  for (auto _ : state) {
    std::size_t count = 0;
    for (const char c : text) count += separators.contains(c);
    benchmark::DoNotOptimize(count);
  }
  setBytesProcessed(state, text.size());
}

// Finding every "@" and cutting the token around it, without keeping anything.
void BM_TokenCut(benchmark::State& state) {
  const std::string& text = mailText(16 << 20);
  const SeparatorTable separators(kDefaultSeparators);
  std::size_t tokens = 0;
  for (auto _ : state) {
    tokens = 0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while ((at = static_cast<const char*>(std::memchr(at, '@', static_cast<std::size_t>(end - at)))) !=
           nullptr) {
      benchmark::DoNotOptimize(separators.tokenAround(text, static_cast<std::size_t>(at - text.data())));
      ++tokens;
      ++at;
    }
  }
  state.counters["tokens"] = static_cast<double>(tokens);
  setBytesProcessed(state, text.size());
}

// De-duplication of every address occurrence of the text, most of them repeats.
void BM_Deduplication(benchmark::State& state) {
  AddressCollector collector(kDefaultSeparators);
  collector.feed(mailText(16 << 20));
  collector.finish();
  // The occurrences in text order, as the collector gives them to the list.
  std::vector<std::string> occurrences;
  const std::string& text = mailText(16 << 20);
  const SeparatorTable separators(kDefaultSeparators);
  for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
    occurrences.emplace_back(separators.tokenAround(text, at));
  }
  for (auto _ : state) {
    LastOccurrenceList list;
    for (const std::string& token : occurrences) list.add(token);
    benchmark::DoNotOptimize(list.size());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * occurrences.size()));
  state.counters["distinct"] = static_cast<double>(collector.addresses().size());
}

// The whole engine on text in memory.
void BM_StreamingText(benchmark::State& state) {
  const std::string& text = mailText(16 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(extractAddressesUnlimited(text, kDefaultSeparators));
  setBytesProcessed(state, text.size());
}

// The whole engine on a file in the page cache, as glanex-cli --sans-limite reads it.
void BM_StreamingFile(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "glanex-bench-mail.txt";
  const std::size_t size = 64 << 20;
  {
    std::ofstream file(path, std::ios::binary);
    CorpusGenerator(CorpusKind::Mail, kSeed).generate(size, [&](std::string_view chunk) {
      file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
  }
  const auto bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
  std::size_t addresses = 0;
  for (auto _ : state) {
    addresses = extractAddressesFromFile(path.string(), kDefaultSeparators, nullptr).size();
  }
  std::filesystem::remove(path);
  state.counters["addresses"] = static_cast<double>(addresses);
  setBytesProcessed(state, bytes);
}

BENCHMARK(BM_SeparatorScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokenCut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Deduplication)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamingText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamingFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glanex
