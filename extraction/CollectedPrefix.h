#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>

#include "extraction/ChunkReader.h"
#include "extraction/MappedInput.h"

namespace glanex {

// Hands back the pages of a mapping as its chunks are collected, from the mapping's start each time: the
// kernel maps a page cache block at once when one of its pages is read (a freshly written file's blocks
// are up to 2 MiB), so a chunk's first read maps again pages behind it already handed back. The stretch
// handed back runs up to the first chunk not yet collected, or further: chunks are handed out in order,
// so those the other threads still read start at most `lag` bytes before the last one collected. A thread
// held up further back, as a busy machine holds one, only reads its pages again from the page cache, where
// waiting for it would keep mapped every chunk the others collect meanwhile (30 MB more seen). Pages are
// handed back kReleaseStep bytes at a time at least: each hand-back makes the kernel interrupt every other
// core running the program, to drop the pages from its address cache (900 interruptions per GB, 3 % of
// the time on two cores, where 8 MiB steps leave 140 and 8 MB more mapped).
class CollectedPrefix {
 public:
  CollectedPrefix(const MappedInput& mapping, std::size_t lag) : mapping_(mapping), lag_(lag) {}

  // On any thread, once `chunk`, a view of the mapping, is collected.
  void add(const Chunk& chunk);

  static constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

 private:
  const MappedInput& mapping_;
  const std::size_t lag_;
  std::mutex mutex_;
  // The ends of the chunks collected beyond the first one still out.
  std::map<std::uint64_t, const char*> ends_;
  std::uint64_t nextIndex_ = 0;
  const char* prefixEnd_ = nullptr;
  const char* released_ = nullptr;
};

}  // namespace glanex
