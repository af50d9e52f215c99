#include "extraction/ChunkReadings.h"

#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// A chunk's occurrences are numbered after index << 40: no chunk holds 2^40 tokens, and the numbers order
// the occurrences of different chunks as the input does.
constexpr int kOccurrenceBits = 40;

}  // namespace

ChunkReadings::ChunkReadings(std::string_view separators, ChunkEncoding encoding, EncodingEvidence& evidence,
                             AddressShards& shards, std::size_t shard)
    : encoding_(encoding), evidence_(evidence), shards_(shards), shard_(shard), finder_(separators) {}

void ChunkReadings::collect(std::string_view chunk, std::uint64_t index) {
  read(chunk, index << kOccurrenceBits);
  shards_.takePosted(shard_);
}

void ChunkReadings::read(std::string_view chunk, std::uint64_t firstOccurrence) {
  if (encoding_ == ChunkEncoding::Utf8) {
    utf8ToCp1252(chunk, decoded_);
    add(ChunkReading::Alike, decoded_, firstOccurrence);
    return;
  }
  if (encoding_ == ChunkEncoding::Cp1252 || evidence_.invalidUtf8.load(std::memory_order_relaxed) ||
      asciiPrefixLength(chunk) == chunk.size()) {
    add(ChunkReading::Alike, chunk, firstOccurrence);
    return;
  }
  add(ChunkReading::AsCp1252, chunk, firstOccurrence);
  if (validUtf8ToCp1252(chunk, decoded_) < chunk.size()) {
    evidence_.invalidUtf8.store(true, std::memory_order_relaxed);
    return;
  }
  evidence_.beyondAscii.store(true, std::memory_order_relaxed);
  add(ChunkReading::AsUtf8, decoded_, firstOccurrence);
}

void ChunkReadings::add(ChunkReading reading, std::string_view text, std::uint64_t firstOccurrence) {
  shards_.add(shard_, reading, finder_.addressesOfChunk(text), firstOccurrence);
}

AddressList ChunkReadings::merged(AddressShards& shards, const EncodingEvidence& evidence) {
  const bool utf8 = !evidence.invalidUtf8 && evidence.beyondAscii;
  return shards.merged(utf8 ? ChunkReading::AsUtf8 : ChunkReading::AsCp1252);
}

}  // namespace glanex
