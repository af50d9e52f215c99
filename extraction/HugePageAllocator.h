#pragma once

#include <cstddef>
#include <memory>

#include "extraction/HugePages.h"

namespace glanex {

// Hands out blocks of 2 MiB and more on huge pages (see HugePages.h), smaller ones from the usual heap.
template <typename T>
class HugePageAllocator {
 public:
  using value_type = T;

  HugePageAllocator() = default;
  template <typename U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(std::size_t count) {
    if (count * sizeof(T) < kHugePageSize) return std::allocator<T>().allocate(count);
    return static_cast<T*>(mapHugePages(count * sizeof(T)));
  }

  void deallocate(T* block, std::size_t count) {
    if (count * sizeof(T) < kHugePageSize) {
      std::allocator<T>().deallocate(block, count);
      return;
    }
    unmapHugePages(block, count * sizeof(T));
  }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }
};

}  // namespace glanex
