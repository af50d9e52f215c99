#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressList.h"
#include "extraction/HugePageAllocator.h"
#include "extraction/WordArray.h"

namespace glanex {

// The distinct tokens of a stream in the order of their last occurrence: what RemoveDuplicates gives by
// comparing every token with every later one, in time linear in the tokens (plus sorting the distinct ones
// once at the end). Each token is stored once, so memory follows the distinct tokens, not the stream.
class LastOccurrenceList {
 public:
  LastOccurrenceList();

  // The hash that the table files `token` under; other tables may share the tokens out by it.
  static std::uint64_t hashOf(std::string_view token);

  // Records an occurrence of `token`, which becomes its last one.
  void add(std::string_view token);
  // The same as add for each token in turn, with the memory reads of the tokens a few places ahead started
  // early: once the table outgrows the processor's caches, waiting for memory is most of the time.
  void addAll(std::span<const std::string_view> tokens);
  // Records occurrence `occurrences[i]` of `tokens[i]`, whose hash is `hashes[i]`, as its last one unless a
  // later one is recorded: occurrences numbered apart may then come in any order.
  void addNumbered(std::span<const std::string_view> tokens, std::span<const std::uint64_t> hashes,
                   std::span<const std::uint64_t> occurrences);

  std::size_t size() const { return count_; }
  // The bytes of the tokens together.
  std::size_t tokenBytes() const { return tokenBytes_; }
  // The tokens, oldest last occurrence first.
  AddressList inOrder() const;
  // A token of one of several lists, as small as can be: millions of them are sorted at the end of a run,
  // beside the lists, at the peak of memory.
  struct Survivor {
    std::uint64_t lastOccurrence;
    // Which of the lists holds the token, and where.
    std::uint64_t place;
  };
  // Appends to `survivors` the tokens of up to four lists that number their occurrences apart, each from
  // the list that holds its last occurrence.
  static void appendSurvivors(std::span<const LastOccurrenceList* const> lists,
                              std::vector<Survivor>& survivors);
  // The token of `survivor`, one of the survivors of `lists`; the view lives as long as the lists.
  static std::string_view tokenOf(std::span<const LastOccurrenceList* const> lists, Survivor survivor);
  // The length of that token, most often without reading it.
  static std::size_t lengthOf(std::span<const LastOccurrenceList* const> lists, Survivor survivor);
  // Starts reading the token of `survivor` from memory: in the order of their last occurrences, the tokens
  // lie all over the lists.
  static void prefetch(std::span<const LastOccurrenceList* const> lists, Survivor survivor);
  // Lets go of the index, once no token will be added or looked up any more: the survivors only read the
  // tokens.
  void dropIndex() { slots_ = {}; }
  // Oldest last occurrence first.
  static void sortByLastOccurrence(std::vector<Survivor>& survivors);
  // The tokens of several lists that number their occurrences apart, each where it occurred last in any
  // of them, oldest first.
  static AddressList mergedInOrder(std::span<const LastOccurrenceList* const> lists);

 private:
  // Each distinct token is one record of words_: when it last occurred (counted in occurrences: one store
  // per repeat, where keeping a list in order would move links around), its length, then its bytes. A
  // repeat thus reads one slot and one record, whose head and bytes lie side by side.
  static constexpr std::size_t kHeadWords = 2;

  static std::size_t recordWords(std::size_t length) { return kHeadWords + (length + 7) / 8; }
  std::string_view tokenAt(std::size_t record) const {
    return {reinterpret_cast<const char*>(&words_[record + kHeadWords]), words_[record + 1]};
  }
  // Calls `visit(record)` for every record, in the order they were added.
  template <typename Visit>
  void forEachRecord(Visit visit) const {
    for (std::size_t record = 0; record < words_.size(); record += recordWords(words_[record + 1])) {
      visit(record);
    }
  }
  void addHashed(std::string_view token, std::uint64_t hash, std::uint64_t occurrence);
  // The slot holding `token`, or the empty slot where it belongs.
  std::size_t slotFor(std::string_view token, std::uint64_t hash) const;
  void growSlots();
  // The record of `token`, if it occurred.
  std::optional<std::size_t> recordOf(std::string_view token, std::uint64_t hash) const;

  // The tables are read at random: on huge pages, most reads cost one cache miss rather than two misses
  // and a page-table walk. The index is made anew as it grows; the records only grow.
  using Table = std::vector<std::uint64_t, HugePageAllocator<std::uint64_t>>;

  WordArray words_;
  // Open addressing, never more than half full: 0 for an empty slot, else the record's place + 1 in the
  // low bits and the top bits of the token's hash above them, so that most other tokens are told apart
  // without reading their record.
  Table slots_;
  std::size_t count_ = 0;
  std::size_t tokenBytes_ = 0;
  // addAll's, kept to spare allocations per call.
  std::vector<std::uint64_t> hashes_;
  std::vector<std::uint64_t> numbers_;
  std::uint64_t occurrences_ = 0;
};

}  // namespace glanex
