#include "extraction/WordArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "extraction/HugePages.h"

namespace glanex {

WordArray::~WordArray() {
  release();
}

WordArray::WordArray(WordArray&& other) noexcept
    : words_(std::exchange(other.words_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

WordArray& WordArray::operator=(WordArray&& other) noexcept {
  if (this != &other) {
    release();
    words_ = std::exchange(other.words_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void WordArray::grow(std::size_t count) {
  if (count > std::numeric_limits<std::size_t>::max() / sizeof(std::uint64_t) - size_) throw std::bad_alloc();
  if (size_ + count > capacity_) reserve(size_ + count);
  size_ += count;
}

bool WordArray::onHugePages() const {
  return capacity_ * sizeof(std::uint64_t) >= kHugePageSize;
}

void WordArray::release() {
  if (onHugePages()) {
    unmapHugePages(words_, capacity_ * sizeof(std::uint64_t));
  } else {
    std::free(words_);
  }
}

// Small arrays come from the heap, zeroed; from 2 MiB on, from fresh mappings, zero of themselves. The
// words past size_ were never written, so they stay zero whichever way the array grows.
void WordArray::reserve(std::size_t words) {
  const std::size_t capacity = std::max(words, capacity_ * 2);
  const std::size_t bytes = capacity * sizeof(std::uint64_t);
  if (bytes < kHugePageSize) {
    auto* grown = static_cast<std::uint64_t*>(std::calloc(capacity, sizeof(std::uint64_t)));
    if (grown == nullptr) throw std::bad_alloc();
    if (size_ > 0) std::memcpy(grown, words_, size_ * sizeof(std::uint64_t));
    std::free(words_);
    words_ = grown;
    capacity_ = capacity;
    return;
  }
  void* grown =
      onHugePages() ? grownHugePages(words_, capacity_ * sizeof(std::uint64_t), bytes) : mapHugePages(bytes);
  if (!onHugePages()) {
    if (size_ > 0) std::memcpy(grown, words_, size_ * sizeof(std::uint64_t));
    std::free(words_);
  }
  words_ = static_cast<std::uint64_t*>(grown);
  capacity_ = hugePageBytes(bytes) / sizeof(std::uint64_t);
}

}  // namespace glanex
