#pragma once

#include <cstddef>

// Blocks of memory the kernel may back with 2 MiB pages, each a mapping of its own. A table probed at
// random, tens of megabytes large, otherwise costs a page-table walk on most of its probes besides the
// cache miss, and in a virtual machine such a walk reads memory many times.
namespace glanex {

inline constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// `bytes` rounded up to whole huge pages.
std::size_t hugePageBytes(std::size_t bytes);
// A block of hugePageBytes(bytes), zero, aligned on a huge page. Throws std::bad_alloc.
void* mapHugePages(std::size_t bytes);
// Lets go of a block of mapHugePages(bytes).
void unmapHugePages(void* block, std::size_t bytes);
// A block of mapHugePages(bytes) that starts with the pages of `block`, a block of
// mapHugePages(oldBytes), moved rather than copied: old and new never take memory at once. `block` is
// gone, unless this throws std::bad_alloc.
void* grownHugePages(void* block, std::size_t oldBytes, std::size_t bytes);

}  // namespace glanex
