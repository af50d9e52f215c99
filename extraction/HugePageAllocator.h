#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include <sys/mman.h>

namespace glanex {

// Hands out large blocks on memory the kernel may back with 2 MiB pages. A table probed at random, tens of
// megabytes large, otherwise costs a page-table walk on most of its probes besides the cache miss, and in a
// virtual machine such a walk reads memory many times; small blocks come from the usual heap.
template <typename T>
class HugePageAllocator {
 public:
  using value_type = T;

  HugePageAllocator() = default;
  template <typename U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kHugePage) return std::allocator<T>().allocate(count);
    return static_cast<T*>(mapAligned(bytes));
  }

  void deallocate(T* block, std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kHugePage) {
      std::allocator<T>().deallocate(block, count);
      return;
    }
    ::munmap(block, roundedUp(bytes));
  }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }

  static constexpr std::size_t kHugePage = std::size_t{2} << 20;

 private:
  static std::size_t roundedUp(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

  // A huge page must start on a 2 MiB boundary: the block is cut out of a mapping one page larger.
  static void* mapAligned(std::size_t bytes) {
    const std::size_t length = roundedUp(bytes);
    void* mapped =
        ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) ::munmap(mapped, aligned - start);
    ::munmap(reinterpret_cast<void*>(aligned + length), start + kHugePage - aligned);
    // Only advice: where the system has no huge page to give, the block is made of small ones.
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
  }
};

}  // namespace glanex
