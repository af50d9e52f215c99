#include "extraction/CollectedPrefix.h"

#include <algorithm>

namespace glanex {

void CollectedPrefix::add(const Chunk& chunk) {
  const std::lock_guard lock(mutex_);
  ends_.emplace(chunk.index, chunk.bytes.data() + chunk.bytes.size());
  for (auto next = ends_.find(nextIndex_); next != ends_.end(); next = ends_.find(nextIndex_)) {
    prefixEnd_ = next->second;
    ends_.erase(next);
    ++nextIndex_;
  }
  const char* start = mapping_.bytes().data();
  const auto behind = static_cast<std::size_t>(chunk.bytes.data() - start);
  const char* end =
      std::max(prefixEnd_ == nullptr ? start : prefixEnd_, start + (behind - std::min(behind, lag_)));
  if (released_ == nullptr) released_ = start;
  if (static_cast<std::size_t>(end - released_) < kReleaseStep) return;
  released_ = end;
  mapping_.release({start, static_cast<std::size_t>(end - start)});
}

}  // namespace glanex
