#include "extraction/HugePages.h"

#include <cstdint>
#include <new>

#include <sys/mman.h>

namespace glanex {

std::size_t hugePageBytes(std::size_t bytes) {
  return (bytes + kHugePageSize - 1) & ~(kHugePageSize - 1);
}

// A huge page must start on a 2 MiB boundary: the block is cut out of a mapping one page larger.
void* mapHugePages(std::size_t bytes) {
  const std::size_t length = hugePageBytes(bytes);
  void* mapped =
      ::mmap(nullptr, length + kHugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePageSize - 1) & ~(kHugePageSize - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  ::munmap(reinterpret_cast<void*>(aligned + length), start + kHugePageSize - aligned);
  // Only advice: where the system has no huge page to give, the block is made of small ones.
  ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void unmapHugePages(void* block, std::size_t bytes) {
  ::munmap(block, hugePageBytes(bytes));
}

// Both ends lie on huge page boundaries, so the kernel moves whole huge pages by their page-table
// entries.
void* grownHugePages(void* block, std::size_t oldBytes, std::size_t bytes) {
  void* grown = mapHugePages(bytes);
  const std::size_t oldLength = hugePageBytes(oldBytes);
  if (::mremap(block, oldLength, oldLength, MREMAP_MAYMOVE | MREMAP_FIXED, grown) == MAP_FAILED) {
    unmapHugePages(grown, bytes);
    throw std::bad_alloc();
  }
  return grown;
}

}  // namespace glanex
