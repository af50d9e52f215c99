#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "extraction/Errors.h"
#include "extraction/Pipeline.h"
#include "extraction/StagedExtraction.h"
#include "extraction/StreamingExtraction.h"
#include "extraction/TextPane.h"

namespace {

using namespace glanex;

constexpr std::ptrdiff_t kMostAtSigns = 64;

// The separator set: the default one, none, or a few bytes of the input.
std::string separatorsFrom(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return std::string(kDefaultSeparators);
    case 1:
      return {};
    default:
      return input.ConsumeRandomLengthString(24);
  }
}

std::vector<std::string> linesOf(const TStrings& lines) {
  std::vector<std::string> result;
  for (std::int64_t i = 0; i < lines.LineCount(); ++i) result.push_back(lines.GetLine(i));
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string separators = separatorsFrom(input);
  // Chunks of a few bytes put the parallel engine's read edges everywhere in small inputs.
  const auto chunkSize = input.ConsumeIntegralInRange<std::size_t>(1, 64);
  // Pane text as the command line gives it, its lines ended by CR, LF or both.
  const std::string text = input.ConsumeRemainingBytesAsString();
  // The staged run costs the square of its "@" count by design; beyond a few dozen an input only makes the
  // run slower, while every stage and the working lists' overflow stay within reach below that.
  if (std::count(text.begin(), text.end(), '@') > kMostAtSigns) return -1;

  // The same bytes as a file: several threads give the list of one, whatever the chunk edges.
  const AddressList oneThread = extractAddressesFromBytes(text, separators, {1, chunkSize});
  FUZZ_CHECK(extractAddressesFromBytes(text, separators, {3, chunkSize}) == oneThread);

  TextPane source = TextPane::document();
  source.buffer().setDocument(FormattedText::fromPlainText(text));
  StagedExtraction staged;
  std::int64_t count = 0;
  try {
    count = staged.run(source.Lines(), separators, nullptr);
  } catch (const EOutOfResources& error) {
    // A working list full up is the one way a run may end early.
    FUZZ_CHECK(std::strcmp(error.what(), kLineInsertionError) == 0);
    return 0;
  }

  const std::vector<std::string> sourceLines = linesOf(source.Lines());
  const std::vector<std::string> addresses = linesOf(staged.RichEditT2().Lines());
  FUZZ_CHECK(count == static_cast<std::int64_t>(addresses.size()));
  const bool atIsSeparator = separators.find('@') != std::string::npos;
  std::set<std::string> seen;
  for (const std::string& address : addresses) {
    FUZZ_CHECK(!address.empty());
    FUZZ_CHECK(address.find_first_of(separators) == std::string::npos);
    FUZZ_CHECK(address.find('.') != std::string::npos);
    FUZZ_CHECK(address.front() != '@');
    FUZZ_CHECK(atIsSeparator || address.find('@') != std::string::npos);
    FUZZ_CHECK(seen.insert(address).second);
    bool found = false;
    for (const std::string& line : sourceLines) found = found || line.find(address) != std::string::npos;
    FUZZ_CHECK(found);
  }

  // The unlimited engine sees whole lines, the staged one only their first 4,096 characters.
  bool linesWithinBuffer = true;
  const TextBuffer& buffer = source.buffer();
  for (std::int64_t i = 0; i < buffer.lineCount(); ++i) {
    linesWithinBuffer = linesWithinBuffer && buffer.lineLength(i) <= kLineBufferSize;
  }
  if (linesWithinBuffer)
    FUZZ_CHECK(std::ranges::equal(extractAddressesUnlimited(text, separators), addresses));
  return 0;
}
