#include "extraction/AddressShards.h"

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

std::vector<std::string> AddressShards::merged(ChunkReading other) {
  std::size_t count = 0;
  std::size_t bytesCount = 0;
  for (std::size_t shard = 0; shard < shards_.size(); ++shard) {
    takePosted(shard);
    for (const ChunkReading reading : {ChunkReading::Alike, other}) {
      count += list(shard, reading).size();
      bytesCount += list(shard, reading).tokenBytes();
    }
  }
  // Reserved whole: growing would copy, and fault in, each buffer about twice.
  std::vector<LastOccurrenceList::Survivor> survivors;
  survivors.reserve(count);
  for (std::size_t shard = 0; shard < shards_.size(); ++shard) {
    const std::array<const LastOccurrenceList*, 2> lists{&list(shard, ChunkReading::Alike),
                                                         &list(shard, other)};
    LastOccurrenceList::appendSurvivors(lists, survivors);
  }
  LastOccurrenceList::sortByLastOccurrence(survivors);
  // The bytes are packed in order and the tables let go before the strings are made: the tables and the
  // strings together would be the peak of memory.
  std::string bytes;
  bytes.reserve(bytesCount);
  std::vector<std::size_t> ends;
  ends.reserve(survivors.size());
  for (const LastOccurrenceList::Survivor& survivor : survivors) {
    bytes.append(survivor.token);
    ends.push_back(bytes.size());
  }
  survivors = {};
  shards_.clear();
  std::vector<std::string> addresses;
  addresses.reserve(ends.size());
  std::size_t start = 0;
  for (const std::size_t end : ends) {
    addresses.emplace_back(bytes, start, end - start);
    start = end;
  }
  return addresses;
}

}  // namespace glanex
