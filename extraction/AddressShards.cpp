#include "extraction/AddressShards.h"

#include <algorithm>

#include "extraction/RunOnThreads.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace glanex {

AddressShards::AddressShards(std::size_t shards) : shards_(shards) {
  for (Shard& shard : shards_) shard.shares.resize(shards);
}

// The occurrences are grouped by shard first, the same way whichever shard they fall to: on two threads,
// a branch on whether an occurrence stayed or left was mispredicted on every other one.
void AddressShards::add(std::size_t own, ChunkReading reading, std::span<const std::string_view> addresses,
                        std::uint64_t firstOccurrence) {
  std::vector<Share>& shares = shards_[own].shares;
  for (Share& share : shares) {
    share.addresses.clear();
    share.hashes.clear();
    share.occurrences.clear();
  }
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const std::uint64_t hash = LastOccurrenceList::hashOf(addresses[i]);
    Share& share = shares[shardOf(hash)];
    share.addresses.push_back(addresses[i]);
    share.hashes.push_back(hash);
    share.occurrences.push_back(firstOccurrence + i + 1);
  }
  const Share& mine = shares[own];
  {
    const std::lock_guard lock(shards_[own].listing);
    list(own, reading).addNumbered(mine.addresses, mine.hashes, mine.occurrences);
  }
  for (std::size_t shard = 0; shard < shards_.size(); ++shard) {
    if (shard != own && !shares[shard].addresses.empty()) post(own, shard, reading, shares[shard]);
  }
}

void AddressShards::post(std::size_t own, std::size_t shard, ChunkReading reading, Share& share) {
  Posted out = takeSpare(own);
  out.from = own;
  out.reading = reading;
  for (const std::string_view address : share.addresses) {
    out.bytes.append(address);
    out.ends.push_back(out.bytes.size());
  }
  // Swapped rather than copied: each side keeps the other's memory for its next use.
  out.hashes.swap(share.hashes);
  out.occurrences.swap(share.occurrences);
  share.addresses.clear();
  bool pilingUp = false;
  {
    const std::lock_guard lock(shards_[shard].mutex);
    shards_[shard].posted.push_back(std::move(out));
    pilingUp = shards_[shard].posted.size() > kMostPostsPerShard * shards_.size();
  }
  // A thread held up, as a busy machine holds one for a tenth of a second at times, would otherwise
  // gather the others' posts all that time: 45 MB more at the peak was seen on 1 GB.
  if (pilingUp) takePosted(shard);
}

AddressShards::Posted AddressShards::takeSpare(std::size_t own) {
  const std::lock_guard lock(shards_[own].mutex);
  std::vector<Posted>& spare = shards_[own].spare;
  if (spare.empty()) return {};
  Posted posted = std::move(spare.back());
  spare.pop_back();
  return posted;
}

void AddressShards::handBack(Posted posted) {
  posted.bytes.clear();
  posted.ends.clear();
  posted.hashes.clear();
  posted.occurrences.clear();
  const std::lock_guard lock(shards_[posted.from].mutex);
  std::vector<Posted>& spare = shards_[posted.from].spare;
  // A shard posts to each other one at a time. More spares come back only after a thread was held up
  // while the others posted to it, and kept they would hold their memory to the end of the run.
  if (spare.size() < shards_.size()) spare.push_back(std::move(posted));
}

void AddressShards::takePosted(std::size_t shard) {
  const std::lock_guard listing(shards_[shard].listing);
  std::vector<Posted> posted;
  {
    const std::lock_guard lock(shards_[shard].mutex);
    posted.swap(shards_[shard].posted);
  }
  for (Posted& batch : posted) {
    listPosted(shard, batch);
    handBack(std::move(batch));
  }
}

std::size_t AddressShards::postsWaiting(std::size_t shard) {
  const std::lock_guard lock(shards_[shard].mutex);
  return shards_[shard].posted.size();
}

void AddressShards::listPosted(std::size_t shard, const Posted& posted) {
  std::vector<std::string_view>& addresses = shards_[shard].postedAddresses;
  addresses.clear();
  std::size_t start = 0;
  for (const std::size_t end : posted.ends) {
    addresses.emplace_back(posted.bytes.data() + start, end - start);
    start = end;
  }
  list(shard, posted.reading).addNumbered(addresses, posted.hashes, posted.occurrences);
}

AddressShards::Survivors AddressShards::sortedSurvivors(std::size_t shard, ChunkReading other) {
  takePosted(shard);
  const ListPair lists = listsOf(shard, other);
  // Reserved whole: growing would copy, and fault in, each buffer about twice.
  Survivors survivors;
  survivors.reserve(lists[0]->size() + lists[1]->size());
  LastOccurrenceList::appendSurvivors(lists, survivors);
  // From here on the run is at its peak of memory: the sort's second buffer, then the list, beside the
  // tables.
  for (LastOccurrenceList& list : shards_[shard].lists) list.dropIndex();
  LastOccurrenceList::sortByLastOccurrence(survivors);
  return survivors;
}

// Each shard's survivors are sorted on a thread of their own, and the list is filled in parts on as many
// threads, each part straight from the tables: packing each shard first, then copying the packed shards
// into the list, cost as much memory again and a copy of every address. Reading the tokens, spread all
// over the tables, waits on memory: on one thread the fill took 40 ms of a run of 0.4 s.
AddressList AddressShards::merged(ChunkReading other) {
#ifdef __GLIBC__
  // What the threads allocated and let go, the posts piled up for a thread held up among them, stays
  // with the C library unless asked for: it would add to the peak the sort and the list reach next.
  malloc_trim(0);
#endif
  std::vector<Survivors> sorted(shards_.size());
  runOnThreads(shards_.size(), [&](std::size_t shard) { sorted[shard] = sortedSurvivors(shard, other); });
  std::vector<ListPair> lists;
  for (std::size_t shard = 0; shard < shards_.size(); ++shard) lists.push_back(listsOf(shard, other));
  const Layout layout = layoutOf(sorted, lists);
  AddressList addresses;
  addresses.presize(layout.count, layout.bytes);
  runOnThreads(layout.parts.size(),
               [&](std::size_t part) { fill(addresses, layout.parts[part], sorted, lists); });
  shards_.clear();
  return addresses;
}

AddressShards::Layout AddressShards::layoutOf(const std::vector<Survivors>& shards,
                                              const std::vector<ListPair>& lists) {
  const Survivors& largest =
      *std::max_element(shards.begin(), shards.end(),
                        [](const Survivors& a, const Survivors& b) { return a.size() < b.size(); });
  Layout layout;
  layout.parts.resize(shards.size());
  for (std::size_t index = 0; index < layout.parts.size(); ++index) {
    Part& part = layout.parts[index];
    const bool last = index + 1 == layout.parts.size() || largest.empty();
    const std::uint64_t pivot =
        last ? 0 : largest[largest.size() * (index + 1) / layout.parts.size()].lastOccurrence;
    const auto beforePivot = [&](const LastOccurrenceList::Survivor& survivor) {
      return survivor.lastOccurrence < pivot;
    };
    part.firstIndex = layout.count;
    part.firstOffset = layout.bytes;
    for (std::size_t shard = 0; shard < shards.size(); ++shard) {
      const Survivors& from = shards[shard];
      const std::size_t begin = index == 0 ? 0 : layout.parts[index - 1].end[shard];
      const auto first = from.begin() + static_cast<std::ptrdiff_t>(begin);
      const std::size_t end =
          last
              ? from.size()
              : static_cast<std::size_t>(std::partition_point(first, from.end(), beforePivot) - from.begin());
      part.begin.push_back(begin);
      part.end.push_back(end);
      part.count += end - begin;
      for (std::size_t at = begin; at < end; ++at) {
        layout.bytes += LastOccurrenceList::lengthOf(lists[shard], from[at]);
      }
    }
    layout.count += part.count;
  }
  return layout;
}

void AddressShards::fill(AddressList& addresses, const Part& part, const std::vector<Survivors>& shards,
                         const std::vector<ListPair>& lists) {
  std::vector<std::size_t> next = part.begin;
  const auto remains = [&](std::size_t shard) { return next[shard] < part.end[shard]; };
  const auto lastOccurrence = [&](std::size_t shard) { return shards[shard][next[shard]].lastOccurrence; };
  // The tokens lie all over the tables: each shard's are read ahead in the shard's own order, which the
  // list follows.
  constexpr std::size_t kAhead = 16;
  std::size_t offset = part.firstOffset;
  for (std::size_t index = part.firstIndex; index < part.firstIndex + part.count; ++index) {
    // The shards are as few as the threads: a look at each one's next address is enough.
    std::size_t oldest = shards.size();
    for (std::size_t shard = 0; shard < shards.size(); ++shard) {
      if (remains(shard) && (oldest == shards.size() || lastOccurrence(shard) < lastOccurrence(oldest))) {
        oldest = shard;
      }
    }
    const Survivors& from = shards[oldest];
    const std::size_t at = next[oldest]++;
    if (at + kAhead < from.size()) LastOccurrenceList::prefetch(lists[oldest], from[at + kAhead]);
    const std::string_view token = LastOccurrenceList::tokenOf(lists[oldest], from[at]);
    addresses.set(index, offset, token);
    offset += token.size();
  }
}

}  // namespace glanex
