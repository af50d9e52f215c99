#include "extraction/AddressShards.h"

#include "extraction/RunOnThreads.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace glanex {

AddressShards::AddressShards(std::size_t shards) : shards_(shards) {
  for (Shard& shard : shards_) shard.outgoing.resize(shards);
}

void AddressShards::add(std::size_t own, ChunkReading reading, std::span<const std::string_view> addresses,
                        std::uint64_t firstOccurrence) {
  Shard& mine = shards_[own];
  mine.ownAddresses.clear();
  mine.ownHashes.clear();
  mine.ownOccurrences.clear();
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const std::uint64_t hash = LastOccurrenceList::hashOf(addresses[i]);
    const std::uint64_t occurrence = firstOccurrence + i + 1;
    const std::size_t shard = shardOf(hash);
    if (shard == own) {
      mine.ownAddresses.push_back(addresses[i]);
      mine.ownHashes.push_back(hash);
      mine.ownOccurrences.push_back(occurrence);
      continue;
    }
    Posted& out = mine.outgoing[shard];
    out.bytes.append(addresses[i]);
    out.ends.push_back(out.bytes.size());
    out.hashes.push_back(hash);
    out.occurrences.push_back(occurrence);
  }
  list(own, reading).addNumbered(mine.ownAddresses, mine.ownHashes, mine.ownOccurrences);
  for (std::size_t shard = 0; shard < shards_.size(); ++shard) {
    Posted& out = mine.outgoing[shard];
    if (out.ends.empty()) continue;
    out.from = own;
    out.reading = reading;
    {
      const std::lock_guard lock(shards_[shard].mutex);
      shards_[shard].posted.push_back(std::move(out));
    }
    out = takeSpare(own);
  }
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

void AddressShards::listPosted(std::size_t shard, const Posted& posted) {
  std::vector<std::string_view>& addresses = shards_[shard].ownAddresses;
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

// Each shard's survivors are sorted on a thread of their own; the list is then made in one pass that takes
// the addresses straight from the tables: packing each shard first, then copying the packed shards into
// the list, cost as much memory again and a copy of every address.
AddressList AddressShards::merged(ChunkReading other) {
#ifdef __GLIBC__
  // What the threads allocated and let go, the posts piled up for a thread held up among them, stays
  // with the C library unless asked for: it would add to the peak the sort and the list reach next.
  malloc_trim(0);
#endif
  std::vector<Survivors> sorted(shards_.size());
  runOnThreads(shards_.size(), [&](std::size_t shard) { sorted[shard] = sortedSurvivors(shard, other); });
  AddressList addresses = interleaved(sorted, other);
  shards_.clear();
  return addresses;
}

AddressList AddressShards::interleaved(const std::vector<Survivors>& shards, ChunkReading other) {
  std::vector<ListPair> lists;
  std::size_t count = 0;
  std::size_t bytes = 0;
  for (std::size_t shard = 0; shard < shards.size(); ++shard) {
    lists.push_back(listsOf(shard, other));
    count += shards[shard].size();
    bytes += lists[shard][0]->tokenBytes() + lists[shard][1]->tokenBytes();
  }
  AddressList addresses;
  addresses.reserve(count, bytes);
  std::vector<std::size_t> next(shards.size(), 0);
  const auto remains = [&](std::size_t shard) { return next[shard] < shards[shard].size(); };
  const auto lastOccurrence = [&](std::size_t shard) { return shards[shard][next[shard]].lastOccurrence; };
  // The tokens lie all over the tables: each shard's are read ahead in the shard's own order, which the
  // list follows.
  constexpr std::size_t kAhead = 16;
  while (addresses.size() < count) {
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
    addresses.push_back(LastOccurrenceList::tokenOf(lists[oldest], from[at]));
  }
  return addresses;
}

}  // namespace glanex
