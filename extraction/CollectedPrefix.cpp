#include "extraction/CollectedPrefix.h"

namespace glanex {

void CollectedPrefix::add(const Chunk& chunk) {
  const std::lock_guard lock(mutex_);
  ends_.emplace(chunk.index, chunk.bytes.data() + chunk.bytes.size());
  const char* end = nullptr;
  for (auto next = ends_.find(nextIndex_); next != ends_.end(); next = ends_.find(nextIndex_)) {
    end = next->second;
    ends_.erase(next);
    ++nextIndex_;
  }
  if (end == nullptr) {
    mapping_.release(chunk.bytes);
    return;
  }
  const char* start = mapping_.bytes().data();
  mapping_.release({start, static_cast<std::size_t>(end - start)});
}

}  // namespace glanex
