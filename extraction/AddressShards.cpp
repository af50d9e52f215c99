#include "extraction/AddressShards.h"

#include <exception>
#include <thread>

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
  shards_[posted.from].spare.push_back(std::move(posted));
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

AddressShards::SortedShard AddressShards::sortedShard(std::size_t shard, ChunkReading other) {
  takePosted(shard);
  const std::array<const LastOccurrenceList*, 2> lists{&list(shard, ChunkReading::Alike),
                                                       &list(shard, other)};
  // Reserved whole: growing would copy, and fault in, each buffer about twice.
  std::vector<LastOccurrenceList::Survivor> survivors;
  survivors.reserve(lists[0]->size() + lists[1]->size());
  LastOccurrenceList::appendSurvivors(lists, survivors);
  // The rest is the peak of memory: the sort's second buffer, then the packed addresses, beside the tables.
  for (LastOccurrenceList& list : shards_[shard].lists) list.dropIndex();
  LastOccurrenceList::sortByLastOccurrence(survivors);
  // The bytes are packed in order and the tables let go before the strings are made: the tables and the
  // strings together would be the peak of memory.
  SortedShard sorted;
  sorted.lastOccurrences.reserve(survivors.size());
  for (const LastOccurrenceList::Survivor& survivor : survivors) {
    sorted.lastOccurrences.push_back(survivor.lastOccurrence);
  }
  LastOccurrenceList::appendTokens(survivors, sorted.addresses);
  survivors = {};
  shards_[shard].lists = {};
  return sorted;
}

AddressList AddressShards::merged(ChunkReading other) {
  std::vector<SortedShard> sorted(shards_.size());
  {
    // Each shard on a thread of its own: on one, this would be the longest stretch on a single core.
    std::vector<std::exception_ptr> failures(shards_.size());
    const auto sort = [&](std::size_t shard) {
      try {
        sorted[shard] = sortedShard(shard, other);
      } catch (...) {
        failures[shard] = std::current_exception();
      }
    };
    std::vector<std::jthread> threads;
    for (std::size_t shard = 1; shard < shards_.size(); ++shard) threads.emplace_back(sort, shard);
    sort(0);
    threads.clear();
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
  }
  shards_.clear();
  return interleaved(std::move(sorted));
}

AddressList AddressShards::interleaved(std::vector<SortedShard> shards) {
  if (shards.size() == 1) return std::move(shards.front().addresses);
  std::size_t count = 0;
  std::size_t bytes = 0;
  for (const SortedShard& shard : shards) {
    count += shard.addresses.size();
    bytes += shard.addresses.bytes();
  }
  AddressList addresses;
  addresses.reserve(count, bytes);
  std::vector<std::size_t> next(shards.size(), 0);
  const auto remains = [&](std::size_t shard) { return next[shard] < shards[shard].addresses.size(); };
  const auto lastOccurrence = [&](std::size_t shard) { return shards[shard].lastOccurrences[next[shard]]; };
  while (addresses.size() < count) {
    // The shards are as few as the threads: a look at each one's next address is enough.
    std::size_t oldest = shards.size();
    for (std::size_t shard = 0; shard < shards.size(); ++shard) {
      if (remains(shard) && (oldest == shards.size() || lastOccurrence(shard) < lastOccurrence(oldest))) {
        oldest = shard;
      }
    }
    addresses.push_back(shards[oldest].addresses[next[oldest]++]);
  }
  return addresses;
}

}  // namespace glanex
