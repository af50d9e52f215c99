#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressCollector.h"

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

// The addresses of the chunks one thread collects. While the encoding is undecided, a chunk that is not
// all ASCII is collected in both readings, so that the input is read once whatever its last byte decides;
// once a chunk proves the input is no UTF-8, only the Windows-1252 reading goes on.
class ChunkReadings {
 public:
  ChunkReadings(std::string_view separators, ChunkEncoding encoding, EncodingEvidence& evidence);

  void collect(std::string_view chunk, std::uint64_t index);

  // The list of the whole input, in the reading the evidence decides, from every thread's readings.
  static std::vector<std::string> merged(std::span<const ChunkReadings> threads,
                                         const EncodingEvidence& evidence);

 private:
  ChunkEncoding encoding_;
  EncodingEvidence& evidence_;
  // Chunks that read the same in every reading left.
  AddressCollector alike_;
  AddressCollector asCp1252_;
  AddressCollector asUtf8_;
  std::string decoded_;
};

}  // namespace glanex
