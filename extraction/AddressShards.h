#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressList.h"
#include "extraction/LastOccurrenceList.h"

namespace glanex {

// How a chunk's addresses were read while the input's encoding was undecided (see ChunkReadings).
enum class ChunkReading : std::uint8_t { Alike, AsCp1252, AsUtf8 };

// The address lists of one input collected on several threads, shared out by the addresses' hash: each
// thread owns one shard, so the threads' tables hold a share of the distinct addresses each rather than
// all of them each, and the shards merge without looking anything up in one another. A thread lists the
// addresses of its own shard at once and posts the others to their shards, whose threads list them after
// their next chunk; when too many wait for a thread held up, the thread posting lists them.
class AddressShards {
 public:
  explicit AddressShards(std::size_t shards);

  // On the thread that owns shard `own`: lists `addresses` in their `reading` lists, their occurrences
  // numbered from `firstOccurrence` + 1 on.
  void add(std::size_t own, ChunkReading reading, std::span<const std::string_view> addresses,
           std::uint64_t firstOccurrence);
  // Lists what was posted to `shard`: on its thread, on a thread that finds too many posts waiting for
  // it, or once every thread has ended.
  void takePosted(std::size_t shard);
  // The posts waiting for `shard`'s thread.
  std::size_t postsWaiting(std::size_t shard);
  // Once every thread has ended: the addresses of the Alike lists and of the `other` lists, each once
  // where it occurred last, oldest first. Leaves no shard.
  AddressList merged(ChunkReading other);

 private:
  // Occurrences posted to a shard, with copies of their bytes: their chunk may be gone when they are
  // listed.
  struct Posted {
    std::size_t from = 0;
    ChunkReading reading = ChunkReading::Alike;
    std::string bytes;
    std::vector<std::size_t> ends;
    std::vector<std::uint64_t> hashes;
    std::vector<std::uint64_t> occurrences;
  };
  // The occurrences of a chunk that fall to one shard.
  struct Share {
    std::vector<std::string_view> addresses;
    std::vector<std::uint64_t> hashes;
    std::vector<std::uint64_t> occurrences;
  };
  struct Shard {
    std::array<LastOccurrenceList, 3> lists;
    // Held while the lists change, with listPosted's addresses: another thread may list what was posted
    // to a thread held up.
    std::mutex listing;
    // Held while posted or spare change.
    std::mutex mutex;
    std::vector<Posted> posted;
    // This shard's posts, listed and handed back empty: their memory serves again rather than being
    // allocated and, once large, mapped and unmapped for every chunk.
    std::vector<Posted> spare;
    // add's for this shard's thread: the occurrences of its chunk, grouped by shard, kept to spare
    // allocations per chunk.
    std::vector<Share> shares;
    std::vector<std::string_view> postedAddresses;
  };

  // Past this many posts per thread waiting for a shard, the thread posting lists them. Each thread posts
  // to a shard once or twice per chunk (twice while the encoding is undecided), and the shard's thread
  // lists them after each chunk of its own.
  static constexpr std::size_t kMostPostsPerShard = 4;

  using Survivors = std::vector<LastOccurrenceList::Survivor>;
  using ListPair = std::array<const LastOccurrenceList*, 2>;
  // A stretch of the merged list: from each shard, its survivors from begin to end.
  struct Part {
    std::vector<std::size_t> begin;
    std::vector<std::size_t> end;
    std::size_t firstIndex = 0;
    std::size_t firstOffset = 0;
    std::size_t count = 0;
  };
  struct Layout {
    std::vector<Part> parts;
    std::size_t count = 0;
    std::size_t bytes = 0;
  };

  // The Alike list and the `other` one of `shard`.
  ListPair listsOf(std::size_t shard, ChunkReading other) {
    return {&list(shard, ChunkReading::Alike), &list(shard, other)};
  }
  // The shard's addresses, each from the list (Alike or `other`) that holds its last occurrence, oldest
  // first. Lets go of the shard's index.
  Survivors sortedSurvivors(std::size_t shard, ChunkReading other);
  // The merged list cut into as many parts as the shards, where the largest shard's quantiles fall: the
  // hash shares the addresses out, so that each shard is a fair sample of all.
  static Layout layoutOf(const std::vector<Survivors>& shards, const std::vector<ListPair>& lists);
  // Sets the addresses of `part`, oldest last occurrence first.
  static void fill(AddressList& addresses, const Part& part, const std::vector<Survivors>& shards,
                   const std::vector<ListPair>& lists);
  // The hash's bits 32 to 63 scaled to the shards: a division here, once per address, took a third of
  // the sharing out.
  std::size_t shardOf(std::uint64_t hash) const { return ((hash >> 32) * shards_.size()) >> 32; }
  LastOccurrenceList& list(std::size_t shard, ChunkReading reading) {
    return shards_[shard].lists[static_cast<std::size_t>(reading)];
  }
  void listPosted(std::size_t shard, const Posted& posted);
  // Posts `share`, which falls to `shard`, from `own`; leaves `share` empty.
  void post(std::size_t own, std::size_t shard, ChunkReading reading, Share& share);
  void handBack(Posted posted);
  // An empty post of `own`'s, from its spares when it has one.
  Posted takeSpare(std::size_t own);

  std::vector<Shard> shards_;
};

}  // namespace glanex
