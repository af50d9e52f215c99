#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>

#include "extraction/AddressCollector.h"
#include "extraction/AddressScan.h"
#include "extraction/AddressShards.h"
#include "extraction/CollectedPrefix.h"
#include "extraction/Errors.h"
#include "extraction/FileDescriptor.h"
#include "extraction/HugePageAllocator.h"
#include "extraction/HugePages.h"
#include "extraction/LastOccurrenceList.h"
#include "extraction/MappedInput.h"
#include "extraction/Pipeline.h"
#include "extraction/RtfWriter.h"
#include "extraction/SeparatorTable.h"
#include "extraction/StagedExtraction.h"
#include "extraction/StreamingExtraction.h"
#include "extraction/TextEncoding.h"
#include "extraction/WordArray.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using Addresses = AddressList;

// The staged extraction's list for `text` loaded into a source pane, or nothing when a working list
// overflows.
std::optional<Addresses> stagedAddresses(const std::string& text, std::string_view separators) {
  TextPane source = TextPane::document();
  setPaneText(source.buffer(), text);
  StagedExtraction staged;
  try {
    staged.run(source.Lines(), separators, nullptr);
  } catch (const EOutOfResources&) {
    return std::nullopt;
  }
  const TextPane& t2 = staged.RichEditT2();
  Addresses addresses;
  for (std::int64_t i = 0; i < t2.Lines().LineCount(); ++i) addresses.push_back(t2.Lines().GetLine(i));
  return addresses;
}

std::optional<Addresses> stagedFileAddresses(const std::string& path) {
  TextPane source = TextPane::document();
  source.RichLines()->LoadFile(path);
  return stagedAddresses(source.buffer().text(), kDefaultSeparators);
}

// Compares without printing lists that may hold megabytes; returns whether there was a staged list.
bool expectSameList(const Addresses& streamed, const std::optional<Addresses>& staged, unsigned seed) {
  if (!staged) return false;
  EXPECT_TRUE(streamed == *staged) << "seed " << seed;
  return true;
}

// Text made to hit the rules' corners: many "@" and ".", separators of both sets, accents, every kind of
// line break, lines from empty to 4,000 characters.
class InputGenerator {
 public:
  explicit InputGenerator(unsigned seed) : random_(seed) {}

  std::string text() {
    std::string text;
    const int lines = pick(0, 12);
    for (int i = 0; i < lines; ++i) {
      text += line();
      static constexpr const char* kBreaks[] = {"\r\n", "\r", "\n", "\r\n\r\n"};
      text += kBreaks[pick(0, 3)];
    }
    return text;
  }

  std::string line() {
    static constexpr std::string_view kAlphabet = "ab@@@...x-_ ,;:<>()\t'\"\xE9\xE0\xA3\x80\x01z9";
    const int length = pick(0, 20) == 0 ? pick(100, 4'000) : pick(0, 60);
    std::string line;
    for (int i = 0; i < length; ++i)
      line += kAlphabet[static_cast<std::size_t>(pick(0, kAlphabet.size() - 1))];
    return line;
  }

  std::string separators() {
    if (pick(0, 1) == 0) return std::string(kDefaultSeparators);
    static constexpr std::string_view kCandidates = " ,;.@a<\t\xE9";
    std::string separators;
    for (int i = pick(0, 4); i > 0; --i) {
      separators += kCandidates[static_cast<std::size_t>(pick(0, kCandidates.size() - 1))];
    }
    return separators;
  }

  int pick(std::size_t low, std::size_t high) {
    return static_cast<int>(std::uniform_int_distribution<std::size_t>(low, high)(random_));
  }

 private:
  std::mt19937 random_;
};

TEST(LastOccurrenceList, ListsEachTokenOnceAtItsLastOccurrence) {
  LastOccurrenceList list;
  for (const char* token : {"a", "b", "a", "c", "b", "b", ""}) list.add(token);
  EXPECT_EQ(list.inOrder(), (Addresses{"a", "c", "b", ""}));

  // Enough tokens to grow the table several times, checked against the quadratic rule.
  std::mt19937 random(7);
  std::vector<std::string> tokens;
  for (int i = 0; i < 20'000; ++i) tokens.push_back("t" + std::to_string(random() % 5'000));
  LastOccurrenceList grown;
  for (const std::string& token : tokens) grown.add(token);
  Addresses expected;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (std::find(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1, tokens.end(), tokens[i]) ==
        tokens.end()) {
      expected.push_back(tokens[i]);
    }
  }
  EXPECT_EQ(grown.inOrder(), expected);
}

// Blocks of 2 MiB and more are mappings of their own, aligned for huge pages, copied and let go as the
// table grows through them.
TEST(HugePageAllocator, GivesAlignedBlocksThatKeepTheirContentsAsTheyGrow) {
  std::vector<std::uint64_t, HugePageAllocator<std::uint64_t>> table;
  constexpr std::uint64_t kCount = 3 * kHugePageSize / sizeof(std::uint64_t);
  for (std::uint64_t i = 0; i < kCount; ++i) table.push_back(i * 7);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.data()) % kHugePageSize, 0u);
  std::uint64_t wrong = 0;
  for (std::uint64_t i = 0; i < kCount; ++i) wrong += table[i] != i * 7 ? 1 : 0;
  EXPECT_EQ(wrong, 0u);
  table.resize(10);
  table.shrink_to_fit();
  EXPECT_EQ(table.back(), 63u);
}

// From the heap to huge pages, then moved from block to block: the words written stay, the ones added
// are zero, and a moved-from array is empty.
TEST(WordArray, KeepsItsWordsAndAddsZerosThroughEveryKindOfGrowth) {
  WordArray words;
  std::uint64_t wrong = 0;
  for (const std::size_t step : {1u, 7u, 1000u, 100'000u, 300'000u, 1'000'000u}) {
    const std::size_t start = words.size();
    words.grow(step);
    for (std::size_t i = start; i < words.size(); ++i) wrong += words[i] != 0 ? 1 : 0;
    for (std::size_t i = start; i < words.size(); ++i) words[i] = i * 3 + 1;
  }
  for (std::size_t i = 0; i < words.size(); ++i) wrong += words[i] != i * 3 + 1 ? 1 : 0;
  EXPECT_EQ(wrong, 0u);
  EXPECT_GT(words.size() * sizeof(std::uint64_t), 2 * kHugePageSize);
  WordArray moved = std::move(words);
  EXPECT_EQ(words.size(), 0u);
  EXPECT_EQ(moved[moved.size() - 1], (moved.size() - 1) * 3 + 1);
}

// A byte the hash leaves out would not change the list, only file every token that differs there alone
// under one slot: the table would slow to a crawl.
TEST(LastOccurrenceList, HashesEveryByteAndTheLength) {
  std::mt19937 random(11);
  for (std::size_t length = 0; length <= 70; ++length) {
    std::string token(length, '\0');
    for (char& c : token) c = static_cast<char>(random());
    const std::uint64_t hash = LastOccurrenceList::hashOf(token);
    EXPECT_NE(LastOccurrenceList::hashOf(token + '\0'), hash) << length;
    for (std::size_t pos = 0; pos < length; ++pos) {
      for (const char flip : {'\x01', '\x80'}) {
        std::string changed = token;
        changed[pos] = static_cast<char>(changed[pos] ^ flip);
        EXPECT_NE(LastOccurrenceList::hashOf(changed), hash) << length << " " << pos;
      }
    }
  }
}

TEST(AddressCollector, GivesTheSameListHoweverTheTextIsCut) {
  const std::string text = "de : ana@ex.test, bob@ex.test\r\nrenvoi: ana@ex.test;@x.y z@w.v\nzed@ex.test";
  const Addresses whole = extractAddressesUnlimited(text, kDefaultSeparators);
  EXPECT_EQ(whole, (Addresses{"bob@ex.test", "ana@ex.test", "z@w.v", "zed@ex.test"}));
  for (std::size_t first = 0; first <= text.size(); ++first) {
    for (std::size_t second = first; second <= text.size(); second += 7) {
      AddressCollector collector(kDefaultSeparators);
      collector.feed(std::string_view(text).substr(0, first));
      collector.feed(std::string_view(text).substr(first, second - first));
      collector.feed(std::string_view(text).substr(second));
      collector.finish();
      ASSERT_EQ(collector.addresses().inOrder(), whole) << first << " " << second;
    }
  }
}

// The tokens the staged extraction cuts around the "@" of `text`, each once, kept as an address would be.
std::vector<std::string_view> tokensOfTheStagedRule(std::string_view text, const SeparatorTable& separators) {
  std::vector<std::string_view> tokens;
  for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
    const std::string_view token = separators.tokenAround(text, at);
    if (!tokens.empty() && tokens.back().data() == token.data()) continue;
    if (token.front() != '@' && token.find('.') != std::string_view::npos) tokens.push_back(token);
  }
  return tokens;
}

TEST(AddressScan, CutsTheStagedTokensWithEveryInstructionSet) {
  const std::vector<AddressScan::InstructionSet> sets = AddressScan::availableInstructionSets();
  for (const AddressScan::InstructionSet set : sets) {
    for (unsigned seed = 0; seed < 1'000; ++seed) {
      InputGenerator generator(seed);
      const std::string text = generator.text();
      SeparatorTable separators(generator.separators());
      if (separators.contains('@')) continue;
      separators.addLineBreaks();
      std::vector<std::string_view> found;
      AddressScan(separators, set).findAddresses(text, found);
      ASSERT_EQ(found, tokensOfTheStagedRule(text, separators))
          << "set " << static_cast<int>(set) << " seed " << seed;
    }
  }
  // Beyond the plain one, at least one set of vector instructions was tried.
  EXPECT_GT(sets.size(), 1u);
}

// The streaming list of `text` given to the collector in two pieces cut at `cut`, as blocks of a file cut it.
Addresses collectedInTwoPieces(std::string_view text, std::size_t cut, std::string_view separators) {
  AddressCollector collector(separators);
  collector.feed(text.substr(0, cut));
  collector.feed(text.substr(cut));
  collector.finish();
  return collector.addresses().inOrder();
}

TEST(StreamingExtraction, FindsWhatTheStagedExtractionFindsOnGeneratedTextCutAnywhere) {
  int compared = 0;
  for (unsigned seed = 0; seed < 4'000; ++seed) {
    InputGenerator generator(seed);
    const std::string text = generator.text();
    const std::string separators = generator.separators();
    const std::optional<Addresses> staged = stagedAddresses(text, separators);
    if (!staged) continue;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      ASSERT_TRUE(collectedInTwoPieces(text, cut, separators) == *staged)
          << "seed " << seed << " cut " << cut;
    }
    ++compared;
  }
  // The comparison is only worth something if most runs fit the working lists.
  EXPECT_GT(compared, 3'000);
}

// The file as each encoding writes it, for the same Windows-1252 text.
std::vector<std::string> encodedForms(const std::string& cp1252) {
  const std::string utf8 = cp1252ToUtf8(cp1252);
  std::string utf16le = "\xFF\xFE";
  std::string utf16be = "\xFE\xFF";
  // Every Windows-1252 character is in the Basic Multilingual Plane: one UTF-16 unit each.
  for (std::size_t pos = 0; pos < cp1252.size(); ++pos) {
    const char32_t unit = codePointFromCp1252(static_cast<unsigned char>(cp1252[pos]));
    utf16le += static_cast<char>(unit & 0xFF);
    utf16le += static_cast<char>(unit >> 8);
    utf16be += static_cast<char>(unit >> 8);
    utf16be += static_cast<char>(unit & 0xFF);
  }
  return {cp1252, utf8, "\xEF\xBB\xBF" + utf8, utf16le, utf16be};
}

TEST(StreamingExtraction, ReadsFilesInEveryEncodingAndRtfAsLoadingDoes) {
  ScratchDir scratch;
  const std::string path = scratch.file("source");
  int compared = 0;
  for (unsigned seed = 0; seed < 300; ++seed) {
    InputGenerator generator(seed);
    const std::string text = generator.text();
    for (const std::string& bytes : encodedForms(text)) {
      writeBytes(path, bytes);
      compared += expectSameList(extractAddressesFromFile(path, kDefaultSeparators, nullptr),
                                 stagedFileAddresses(path), seed);
    }
    FormattedText document = FormattedText::fromPlainText(text);
    document.paragraphs.front().runs.push_back({"x@bold.test", Format().bold()});
    std::ostringstream rtf;
    RtfWriter(rtf).write(document);
    writeBytes(path, rtf.str());
    compared += expectSameList(extractAddressesFromFile(path, kDefaultSeparators, nullptr),
                               stagedFileAddresses(path), seed);
  }
  // Five encodings and RTF for each text; most must fit the working lists for this to mean something.
  EXPECT_GT(compared, 1'200);
}

// Every thread count and chunk size against the whole text decoded and collected in one piece. Chunks of
// a few bytes put their read edges inside tokens, CR LF pairs and UTF-8 sequences; the forms include UTF-8
// broken late, which one thread may learn only after another has read chunks both ways.
TEST(StreamingExtraction, GivesOneListWhateverTheThreadsAndTheChunkEdges) {
  ScratchDir scratch;
  const std::string path = scratch.file("source");
  for (unsigned seed = 0; seed < 300; ++seed) {
    InputGenerator generator(seed);
    const std::string text = generator.text();
    const std::string separators = generator.separators();
    std::vector<std::string> forms = encodedForms(text);
    const std::string utf8 = forms[1];
    forms.push_back(utf8.substr(0, utf8.size() / 2) + "\xE9" + utf8.substr(utf8.size() / 2));
    for (const std::string& bytes : forms) {
      const Addresses expected = extractAddressesUnlimited(decodePlainText(bytes), separators);
      // Read as a pipe gives them, and mapped as a file is.
      writeBytes(path, bytes);
      for (const std::size_t threads : {1, 2, 3, 8}) {
        const StreamingSettings settings{threads, static_cast<std::size_t>(generator.pick(1, 64))};
        ASSERT_TRUE(extractAddressesFromBytes(bytes, separators, settings) == expected)
            << "seed " << seed << ", " << threads << " threads, chunks of " << settings.chunkSize;
        ASSERT_TRUE(extractAddressesFromFile(path, separators, nullptr, settings) == expected)
            << "seed " << seed << ", " << threads << " threads, chunks of " << settings.chunkSize
            << ", mapped";
      }
    }
  }
}

class RecordingReadProgress : public ReadProgress {
 public:
  void ReportBytesRead(std::int64_t done, std::int64_t total) override { reports.emplace_back(done, total); }
  std::vector<std::pair<std::int64_t, std::int64_t>> reports;
};

TEST(StreamingExtraction, DecidesTheEncodingOnBytesBeyondTheFirstBlocks) {
  ScratchDir scratch;
  const std::string path = scratch.file("big");
  // Three mebibytes of ASCII before the first other byte, and addresses on both sides of it.
  const std::string ascii = "a@ex.test " + std::string(3 << 20, 'x') + " b@ex.test ";
  writeBytes(path, ascii + "caf\xC3\xA9@ex.test " + std::string(2 << 20, 'y') + " \xC3\xA9t\xC3\xA9@ex.test");
  RecordingReadProgress progress;
  EXPECT_EQ(extractAddressesFromFile(path, " ", &progress),
            (Addresses{"a@ex.test", "b@ex.test", "caf\xE9@ex.test", "\xE9t\xE9@ex.test"}));
  ASSERT_FALSE(progress.reports.empty());
  EXPECT_EQ(progress.reports.back().first, progress.reports.back().second);

  // One broken sequence at the very end makes the whole file Windows-1252.
  writeBytes(path, ascii + "caf\xC3\xA9@ex.test " + std::string(2 << 20, 'y') + " \xC3");
  EXPECT_EQ(extractAddressesFromFile(path, " ", nullptr),
            (Addresses{"a@ex.test", "b@ex.test", "caf\xC3\xA9@ex.test"}));
}

TEST(StreamingExtraction, TakesLinesAndListsBeyondTheStagedLimits) {
  ScratchDir scratch;
  const std::string path = scratch.file("long");
  std::string text = std::string(5'000, 'x') + " far@ex.test\r\n";
  for (int i = 0; i < 20'000; ++i) text += "u" + std::to_string(i) + "@ex.test\r\n";
  writeBytes(path, text);
  const Addresses addresses = extractAddressesFromFile(path, kDefaultSeparators, nullptr);
  ASSERT_EQ(addresses.size(), 20'001u);
  EXPECT_EQ(addresses[0], "far@ex.test");
  EXPECT_EQ(addresses[20'000], "u19999@ex.test");
}

TEST(StreamingExtraction, RefusesAReadInputWhoseStretchWithoutAnEdgePassesItsBound) {
  const StreamingSettings settings{.threads = 2, .chunkSize = 4096, .longestStretch = 64 * 1024};
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += std::string(1'000, 'x') + "\n";
  EXPECT_EQ(extractAddressesFromBytes(lines + "a@ex.test", kDefaultSeparators, settings),
            Addresses{"a@ex.test"});
  EXPECT_THROW(
      extractAddressesFromBytes(std::string(100'000, 'x') + " a@ex.test", kDefaultSeparators, settings),
      EOutOfResources);
  // An endless device without a line end, which would otherwise be held until memory runs out.
  EXPECT_THROW(extractAddressesFromFile("/dev/zero", kDefaultSeparators, nullptr, settings), EOutOfResources);
}

TEST(StreamingExtraction, ReportsFilesThatCannotBeOpened) {
  ScratchDir scratch;
  for (const std::string& path : {scratch.file("missing"), scratch.path().string()}) {
    try {
      extractAddressesFromFile(path, kDefaultSeparators, nullptr);
      ADD_FAILURE() << path;
    } catch (const EFOpenError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
    }
  }
}

// Shortens the file being read at its first progress report, as another program could.
class TruncatingProgress : public ReadProgress {
 public:
  explicit TruncatingProgress(std::string path) : path_(std::move(path)) {}
  void ReportBytesRead(std::int64_t, std::int64_t) override {
    if (!done_) std::filesystem::resize_file(path_, 0);
    done_ = true;
  }

 private:
  std::string path_;
  bool done_ = false;
};

TEST(StreamingExtraction, ReportsAFileShortenedWhileItIsRead) {
  ScratchDir scratch;
  const std::string path = scratch.file("shrinking");
  for (const std::size_t threads : {1u, 2u}) {
    writeBytes(path, std::string(1 << 20, 'x') + " a@ex.test\r\n");
    TruncatingProgress progress(path);
    EXPECT_THROW(extractAddressesFromFile(path, kDefaultSeparators, &progress,
                                          {.threads = threads, .chunkSize = 4096}),
                 EOutOfResources)
        << threads << " threads";
  }
}

// The merged list is laid out from the tokens' lengths before the tokens are read; a length of several
// mebibytes is too long to be kept beside a token's place.
TEST(StreamingExtraction, ListsATokenOfSeveralMebibytesOnEveryThreadCount) {
  const std::string huge = std::string(5 << 20, 'h') + "@ex.test";
  std::string text;
  for (int i = 0; i < 2'000; ++i) text += "u" + std::to_string(i % 700) + "@ex.test\n";
  text += huge + "\n" + text;
  const Addresses expected = extractAddressesFromBytes(text, kDefaultSeparators, {1, 4096});
  ASSERT_EQ(expected.size(), 701u);
  for (const std::size_t threads : {2u, 3u}) {
    EXPECT_TRUE(extractAddressesFromBytes(text, kDefaultSeparators, {threads, 4096}) == expected) << threads;
  }
}

TEST(AddressShards, ListsWhatPilesUpForAThreadHeldUp) {
  std::vector<std::string> owned;
  for (int i = 0; i < 400; ++i) owned.push_back("u" + std::to_string(i) + "@ex.test");
  const std::vector<std::string_view> addresses(owned.begin(), owned.end());
  AddressShards shards(2);
  // Shard 1's thread never comes back: shard 0's reads every chunk.
  for (std::uint64_t chunk = 0; chunk < 100; ++chunk) {
    shards.add(0, ChunkReading::Alike, addresses, chunk << 40);
    ASSERT_LT(shards.postsWaiting(1), 20u) << chunk;
  }
  AddressList expected;
  for (const std::string_view address : addresses) expected.push_back(address);
  EXPECT_TRUE(shards.merged(ChunkReading::AsCp1252) == expected);
}

// Fails at its third report, as a progress display whose terminal went away could.
class FailingProgress : public ReadProgress {
 public:
  void ReportBytesRead(std::int64_t, std::int64_t) override {
    if (++reports_ == 3) throw EOutOfResources("progression");
  }

 private:
  int reports_ = 0;
};

TEST(StreamingExtraction, AFailureOnAnyThreadEndsTheRunWithIt) {
  ScratchDir scratch;
  const std::string path = scratch.file("many chunks");
  std::string lines;
  for (int i = 0; i < 1'000; ++i) lines += "u" + std::to_string(i) + "@ex.test, une ligne de plus\r\n";
  writeBytes(path, lines);
  for (const std::size_t threads : {1u, 2u, 3u}) {
    FailingProgress progress;
    EXPECT_THROW(extractAddressesFromFile(path, kDefaultSeparators, &progress,
                                          {.threads = threads, .chunkSize = 4096}),
                 EOutOfResources)
        << threads << " threads";
  }
}

// The file pages this process has mapped, in kB; a file in a memory file system counts as shared memory.
long mappedFileKilobytes() {
  std::ifstream status("/proc/self/status");
  long total = 0;
  for (std::string field; status >> field;) {
    if (field == "RssFile:" || field == "RssShmem:") {
      long kilobytes = 0;
      status >> kilobytes;
      total += kilobytes;
    }
  }
  return total;
}

// A thread held up on the first chunk while the others collect the rest.
TEST(CollectedPrefix, HandsBackTheChunksCollectedBeyondOneStillOut) {
  ScratchDir scratch;
  const std::string path = scratch.file("mapped");
  constexpr std::size_t kChunk = 1 << 20;
  constexpr std::size_t kChunks = 32;
  writeBytes(path, std::string(kChunk * kChunks, 'x'));
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  const std::unique_ptr<MappedInput> mapping = MappedInput::map(file.get(), 0, kChunk * kChunks);
  ASSERT_NE(mapping, nullptr);
  const long before = mappedFileKilobytes();
  volatile char sum = 0;
  for (std::size_t pos = 0; pos < mapping->bytes().size(); pos += 4096) sum = sum + mapping->bytes()[pos];
  ASSERT_GT(mappedFileKilobytes() - before, 30'000);
  // Another thread may still read the chunk before the last one collected.
  CollectedPrefix collected(*mapping, kChunk);
  for (std::uint64_t index = 1; index < kChunks; ++index) {
    collected.add({{}, mapping->bytes().substr(index * kChunk, kChunk), index});
  }
  // What stays mapped: the chunk held up, the lag and a step's worth not handed back yet.
  EXPECT_LT(mappedFileKilobytes() - before, (2 * kChunk + CollectedPrefix::kReleaseStep) / 1024);
  // The held-up thread reads its chunk on, from the page cache.
  EXPECT_EQ(mapping->bytes().substr(kChunk - 1, 2), "xx");
}

}  // namespace
}  // namespace glanex::test
