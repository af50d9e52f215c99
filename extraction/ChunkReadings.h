#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressCollector.h"
#include "extraction/AddressShards.h"

namespace glanex {

// How the chunks of an input are to be read.
enum class ChunkEncoding {
  // No byte-order mark: UTF-8 if the whole input is valid UTF-8 with a sequence beyond ASCII, else
  // Windows-1252; known only once every chunk has been seen.
  Undecided,
  Cp1252,
  Utf8,
};

// What the chunks seen so far tell of an undecided encoding; shared by every thread.
struct EncodingEvidence {
  std::atomic<bool> invalidUtf8{false};
  std::atomic<bool> beyondAscii{false};
};

// Reads the chunks one thread collects into the thread's shard of the lists. While the encoding is
// undecided, a chunk that is not all ASCII is collected in both readings, so that the input is read once
// whatever its last byte decides; once a chunk proves the input is no UTF-8, only the Windows-1252 reading
// goes on.
class ChunkReadings {
 public:
  ChunkReadings(std::string_view separators, ChunkEncoding encoding, EncodingEvidence& evidence,
                AddressShards& shards, std::size_t shard);

  void collect(std::string_view chunk, std::uint64_t index);

  // The list of the whole input, in the reading the evidence decides, once every thread has ended.
  static AddressList merged(AddressShards& shards, const EncodingEvidence& evidence);

 private:
  void read(std::string_view chunk, std::uint64_t firstOccurrence);
  void add(ChunkReading reading, std::string_view text, std::uint64_t firstOccurrence);

  ChunkEncoding encoding_;
  EncodingEvidence& evidence_;
  AddressShards& shards_;
  std::size_t shard_;
  AddressCollector finder_;
  std::string decoded_;
};

}  // namespace glanex
