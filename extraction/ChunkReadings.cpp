#include "extraction/ChunkReadings.h"

#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// A chunk's occurrences are numbered after index << 40: no chunk holds 2^40 tokens, and the numbers order
// the occurrences of different chunks as the input does.
constexpr int kOccurrenceBits = 40;

}  // namespace

ChunkReadings::ChunkReadings(std::string_view separators, ChunkEncoding encoding, EncodingEvidence& evidence)
    : encoding_(encoding),
      evidence_(evidence),
      alike_(separators),
      asCp1252_(separators),
      asUtf8_(separators) {}

void ChunkReadings::collect(const std::string_view chunk, std::uint64_t index) {
  const std::uint64_t firstOccurrence = index << kOccurrenceBits;
  if (encoding_ == ChunkEncoding::Utf8) {
    utf8ToCp1252(chunk, decoded_);
    alike_.collectChunk(decoded_, firstOccurrence);
    return;
  }
  if (encoding_ == ChunkEncoding::Cp1252 || evidence_.invalidUtf8.load(std::memory_order_relaxed) ||
      asciiPrefixLength(chunk) == chunk.size()) {
    alike_.collectChunk(chunk, firstOccurrence);
    return;
  }
  asCp1252_.collectChunk(chunk, firstOccurrence);
  if (validUtf8ToCp1252(chunk, decoded_) < chunk.size()) {
    evidence_.invalidUtf8.store(true, std::memory_order_relaxed);
    return;
  }
  evidence_.beyondAscii.store(true, std::memory_order_relaxed);
  asUtf8_.collectChunk(decoded_, firstOccurrence);
}

std::vector<std::string> ChunkReadings::merged(std::span<const ChunkReadings> threads,
                                               const EncodingEvidence& evidence) {
  const bool utf8 = !evidence.invalidUtf8 && evidence.beyondAscii;
  std::vector<const LastOccurrenceList*> lists;
  for (const ChunkReadings& readings : threads) {
    lists.push_back(&readings.alike_.addresses());
    lists.push_back(utf8 ? &readings.asUtf8_.addresses() : &readings.asCp1252_.addresses());
  }
  return LastOccurrenceList::mergedInOrder(lists);
}

}  // namespace glanex
