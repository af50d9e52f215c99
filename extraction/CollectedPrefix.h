#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "extraction/ChunkReader.h"
#include "extraction/MappedInput.h"

namespace glanex {

// Hands back the pages of a mapping's chunks once collected, from the mapping's start up to the first
// chunk not yet collected, the whole stretch each time: the kernel maps a page cache block at once when one
// of its pages is read, so the next chunk's first read maps again pages of the chunks behind it, already
// handed back (a freshly written dense 1 GB corpus so held 70 MB more). A chunk collected beyond one still
// out hands back its own pages at once: a thread held up, as a busy machine holds one, would otherwise
// keep mapped every chunk the others collect meanwhile (30 MB more seen).
class CollectedPrefix {
 public:
  explicit CollectedPrefix(const MappedInput& mapping) : mapping_(mapping) {}

  // On any thread, once `chunk`, a view of the mapping, is collected.
  void add(const Chunk& chunk);

 private:
  const MappedInput& mapping_;
  std::mutex mutex_;
  // The ends of the chunks collected beyond the first one still out.
  std::map<std::uint64_t, const char*> ends_;
  std::uint64_t nextIndex_ = 0;
};

}  // namespace glanex
