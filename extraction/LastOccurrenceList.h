#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace glanex {

// The distinct tokens of a stream in the order of their last occurrence: what RemoveDuplicates gives by
// comparing every token with every later one, in time linear in the tokens (plus sorting the distinct ones
// once at the end). Each token is stored once, so memory follows the distinct tokens, not the stream.
class LastOccurrenceList {
 public:
  LastOccurrenceList();

  // Records an occurrence of `token`, which becomes its last one.
  void add(std::string_view token);
  // Numbers the occurrences that follow from `occurrence` + 1 on, which must be no step back: the lists
  // of the chunks of one text then number their occurrences as the whole text would order them.
  void continueFrom(std::uint64_t occurrence);

  std::size_t size() const { return entries_.size(); }
  // The tokens, oldest last occurrence first.
  std::vector<std::string> inOrder() const;
  // The tokens of several lists that number their occurrences apart, each where it occurred last in any
  // of them, oldest first.
  static std::vector<std::string> mergedInOrder(std::span<const LastOccurrenceList* const> lists);

 private:
  struct Entry {
    std::uint64_t hash;
    std::size_t offset;  // in arena_
    std::size_t length;
    // When the token last occurred, counted in occurrences: one store per repeat, where keeping a list in
    // order would move links around.
    std::uint64_t lastOccurrence;
  };

  std::string_view textOf(const Entry& entry) const { return {arena_.data() + entry.offset, entry.length}; }
  // The slot holding `token`, or the empty slot where it belongs.
  std::size_t slotFor(std::string_view token, std::uint64_t hash) const;
  void growSlots();
  // When `token` last occurred, 0 when never.
  std::uint64_t lastOccurrenceOf(std::string_view token, std::uint64_t hash) const;

  std::string arena_;
  std::vector<Entry> entries_;
  // Open addressing: entry index + 1 per slot, 0 for an empty slot; never more than half full.
  std::vector<std::uint32_t> slots_;
  std::uint64_t occurrences_ = 0;
};

}  // namespace glanex
