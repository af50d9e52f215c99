#include "extraction/LastOccurrenceList.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace glanex {

namespace {

constexpr std::size_t kInitialSlots = 1024;

std::uint64_t mix(std::uint64_t value) {
  value ^= value >> 32;
  value *= 0xD6E8FEB86659FD93ULL;
  value ^= value >> 32;
  return value;
}

// Eight bytes at a time: tokens are short, and this runs once per "@" of the input.
std::uint64_t hashOf(std::string_view token) {
  std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ token.size();
  std::size_t pos = 0;
  for (; pos + 8 <= token.size(); pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, token.data() + pos, sizeof word);
    hash = mix(hash ^ word);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, token.data() + pos, token.size() - pos);
  return mix(hash ^ tail);
}

}  // namespace

LastOccurrenceList::LastOccurrenceList() : slots_(kInitialSlots, 0) {}

std::size_t LastOccurrenceList::slotFor(std::string_view token, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t held = slots_[slot];
    if (held == 0) return slot;
    const Entry& entry = entries_[held - 1];
    if (entry.hash == hash && textOf(entry) == token) return slot;
  }
}

void LastOccurrenceList::growSlots() {
  std::vector<std::uint32_t> grown(slots_.size() * 2, 0);
  const std::size_t mask = grown.size() - 1;
  for (std::uint32_t index = 0; index < entries_.size(); ++index) {
    std::size_t slot = entries_[index].hash & mask;
    while (grown[slot] != 0) slot = (slot + 1) & mask;
    grown[slot] = index + 1;
  }
  slots_ = std::move(grown);
}

void LastOccurrenceList::add(std::string_view token) {
  const std::uint64_t hash = hashOf(token);
  const std::size_t slot = slotFor(token, hash);
  if (const std::uint32_t held = slots_[slot]; held != 0) {
    entries_[held - 1].lastOccurrence = ++occurrences_;
    return;
  }
  if (entries_.size() >= UINT32_MAX - 1) throw std::length_error("too many distinct tokens");
  entries_.push_back({hash, arena_.size(), token.size(), ++occurrences_});
  arena_.append(token);
  slots_[slot] = static_cast<std::uint32_t>(entries_.size());
  if (entries_.size() * 2 > slots_.size()) growSlots();
}

void LastOccurrenceList::continueFrom(std::uint64_t occurrence) {
  occurrences_ = std::max(occurrences_, occurrence);
}

std::uint64_t LastOccurrenceList::lastOccurrenceOf(std::string_view token, std::uint64_t hash) const {
  const std::uint32_t held = slots_[slotFor(token, hash)];
  return held == 0 ? 0 : entries_[held - 1].lastOccurrence;
}

std::vector<std::string> LastOccurrenceList::inOrder() const {
  const LastOccurrenceList* const self = this;
  return mergedInOrder({&self, 1});
}

std::vector<std::string> LastOccurrenceList::mergedInOrder(std::span<const LastOccurrenceList* const> lists) {
  struct Survivor {
    std::uint64_t lastOccurrence;
    std::string_view token;
  };
  std::vector<Survivor> survivors;
  for (const LastOccurrenceList* list : lists) {
    for (const Entry& entry : list->entries_) {
      const std::string_view token = list->textOf(entry);
      // An occurrence is never numbered twice, so exactly one list holds the last of each token.
      const bool lastHere = std::all_of(lists.begin(), lists.end(), [&](const LastOccurrenceList* other) {
        return other == list || other->lastOccurrenceOf(token, entry.hash) < entry.lastOccurrence;
      });
      if (lastHere) survivors.push_back({entry.lastOccurrence, token});
    }
  }
  std::sort(survivors.begin(), survivors.end(),
            [](const Survivor& a, const Survivor& b) { return a.lastOccurrence < b.lastOccurrence; });
  std::vector<std::string> tokens;
  tokens.reserve(survivors.size());
  for (const Survivor& survivor : survivors) tokens.emplace_back(survivor.token);
  return tokens;
}

}  // namespace glanex
