#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/ByteSource.h"

namespace glanex {

// A piece of the input that starts and ends on token edges, numbered in input order.
struct Chunk {
  std::vector<char> buffer;  // only grows, so that a reused chunk costs no new allocation
  std::string_view bytes;    // in buffer, or in the input itself when it is all in memory
  std::uint64_t index = 0;
};

// Cuts an input into chunks of about `chunkSize` bytes, each ending right after a line end (CR or LF) or,
// in a stretch without one, after an ASCII separator. Such a byte is a token edge whether the text turns
// out to be Windows-1252 or UTF-8, and never part of a UTF-8 sequence, so every chunk can be decoded and
// collected alone. What follows the last edge of a read waits for the next chunk: the input is read once,
// and only the longest stretch without an edge is ever held beyond the chunk size.
class ChunkReader {
 public:
  // `start`: bytes already taken from `source`, which the input begins with. next() throws
  // EOutOfResources "Mémoire insuffisante" rather than hold more than `longestStretch` bytes without an
  // edge.
  ChunkReader(ByteSource& source, std::size_t chunkSize, std::string_view separators, std::string start,
              std::size_t longestStretch);
  // The same for an input all in memory, whose chunks are views of it.
  ChunkReader(std::string_view input, std::size_t chunkSize, std::string_view separators);

  // Fills `chunk` with the next chunk; false at the end of the input.
  bool next(Chunk& chunk);
  // The bytes of the chunks given so far.
  std::int64_t handedOut() const { return handedOut_; }
  // Whether the chunks are views of an input all in memory, which cost nothing to cut.
  bool inMemory() const { return source_ == nullptr; }
  // For an input in memory, about how many chunks it gives.
  std::size_t chunksInMemory() const { return (rest_.size() + chunkSize_ - 1) / chunkSize_; }

 private:
  ChunkReader(ByteSource* source, std::size_t chunkSize, std::string_view separators, std::string start,
              std::string_view input, std::size_t longestStretch);

  bool nextRead(Chunk& chunk);
  bool nextInMemory(Chunk& chunk);
  // The length of the longest start of `bytes` that ends on an edge, 0 when none does.
  std::size_t edgeCut(std::string_view bytes) const;

  ByteSource* source_;  // null for an input in memory
  std::string_view rest_;
  std::size_t chunkSize_;
  std::size_t longestStretch_;
  std::array<bool, 256> edges_{};
  std::string carried_;
  std::uint64_t nextIndex_ = 0;
  std::int64_t handedOut_ = 0;
  bool ended_ = false;
};

}  // namespace glanex
