#include "extraction/ChunkReader.h"

#include <algorithm>
#include <cstring>

namespace glanex {

ChunkReader::ChunkReader(ByteSource& source, std::size_t chunkSize, std::string_view separators,
                         std::string start)
    : source_(source), chunkSize_(std::max<std::size_t>(chunkSize, 1)), carried_(std::move(start)) {
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
  std::size_t size = carried_.size();
  if (chunk.buffer.size() < size + chunkSize_) chunk.buffer.resize(size + chunkSize_);
  std::memcpy(chunk.buffer.data(), carried_.data(), size);
  carried_.clear();
  for (;;) {
    if (!ended_) {
      if (chunk.buffer.size() < size + chunkSize_) chunk.buffer.resize(size + chunkSize_);
      const std::size_t count = source_.read({chunk.buffer.data() + size, chunkSize_});
      ended_ = count < chunkSize_;
      size += count;
    }
    const std::size_t cut = ended_ ? size : edgeCut({chunk.buffer.data(), size});
    if (cut > 0) {
      carried_.assign(chunk.buffer.data() + cut, size - cut);
      chunk.size = cut;
      chunk.index = nextIndex_++;
      return true;
    }
    if (ended_) return false;
  }
}

}  // namespace glanex
