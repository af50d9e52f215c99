#include "extraction/ChunkReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "extraction/Errors.h"

namespace glanex {

ChunkReader::ChunkReader(ByteSource& source, std::size_t chunkSize, std::string_view separators,
                         std::string start, std::size_t longestStretch)
    : ChunkReader(&source, chunkSize, separators, std::move(start), {}, longestStretch) {}

// An input in memory holds nothing more for a stretch without an edge: its chunk is a view of it.
ChunkReader::ChunkReader(std::string_view input, std::size_t chunkSize, std::string_view separators)
    : ChunkReader(nullptr, chunkSize, separators, {}, input, SIZE_MAX) {}

ChunkReader::ChunkReader(ByteSource* source, std::size_t chunkSize, std::string_view separators,
                         std::string start, std::string_view input, std::size_t longestStretch)
    : source_(source),
      rest_(input),
      chunkSize_(std::max<std::size_t>(chunkSize, 1)),
      longestStretch_(longestStretch),
      carried_(std::move(start)) {
  for (const char c : separators) {
    if (static_cast<unsigned char>(c) < 0x80) edges_[static_cast<unsigned char>(c)] = true;
  }
  edges_['\r'] = true;
  edges_['\n'] = true;
}

std::size_t ChunkReader::edgeCut(std::string_view bytes) const {
  if (const void* lineEnd = ::memrchr(bytes.data(), '\n', bytes.size())) {
    return static_cast<std::size_t>(static_cast<const char*>(lineEnd) - bytes.data()) + 1;
  }
  std::size_t cut = bytes.size();
  while (cut > 0 && !edges_[static_cast<unsigned char>(bytes[cut - 1])]) --cut;
  return cut;
}

bool ChunkReader::next(Chunk& chunk) {
  return source_ != nullptr ? nextRead(chunk) : nextInMemory(chunk);
}

bool ChunkReader::nextInMemory(Chunk& chunk) {
  if (rest_.empty()) return false;
  std::size_t cut = 0;
  // A stretch without an edge makes the chunk longer, as it does when reading; the last piece is whole.
  for (std::size_t from = 0; cut == 0 && from + chunkSize_ < rest_.size(); from += chunkSize_) {
    const std::size_t inPiece = edgeCut(rest_.substr(from, chunkSize_));
    if (inPiece > 0) cut = from + inPiece;
  }
  if (cut == 0) cut = rest_.size();
  chunk.bytes = rest_.substr(0, cut);
  chunk.index = nextIndex_++;
  handedOut_ += static_cast<std::int64_t>(cut);
  rest_.remove_prefix(cut);
  return true;
}

bool ChunkReader::nextRead(Chunk& chunk) {
  std::size_t size = carried_.size();
  if (chunk.buffer.size() < size + chunkSize_) chunk.buffer.resize(size + chunkSize_);
  std::memcpy(chunk.buffer.data(), carried_.data(), size);
  carried_.clear();
  // The bytes before it hold no edge: only what each read adds is searched, so that a long stretch without
  // one costs time in its length, not in its square.
  std::size_t searched = 0;
  for (;;) {
    if (!ended_) {
      if (chunk.buffer.size() < size + chunkSize_) chunk.buffer.resize(size + chunkSize_);
      const std::size_t count = source_->read({chunk.buffer.data() + size, chunkSize_});
      ended_ = count < chunkSize_;
      size += count;
    }
    const std::size_t cutInRead = edgeCut({chunk.buffer.data() + searched, size - searched});
    const std::size_t cut = ended_ ? size : cutInRead > 0 ? searched + cutInRead : 0;
    searched = size;
    if (cut > 0) {
      carried_.assign(chunk.buffer.data() + cut, size - cut);
      chunk.bytes = {chunk.buffer.data(), cut};
      chunk.index = nextIndex_++;
      handedOut_ += static_cast<std::int64_t>(cut);
      return true;
    }
    if (ended_) return false;
    if (size > longestStretch_) throw EOutOfResources(kOutOfMemoryMessage);
  }
}

}  // namespace glanex
