#include "extraction/LastOccurrenceList.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include <hwy/base.h>

namespace glanex {

namespace {

constexpr std::size_t kInitialSlots = 1024;
// A slot holds a record's place + 1 below this many bits and the hash's top bits above.
constexpr int kPlaceBits = 40;
constexpr std::uint64_t kPlaceMask = (std::uint64_t{1} << kPlaceBits) - 1;
// A survivor's place holds its list's index above the record's place, and the token's length above both, up
// to kLongToken: the merged list is laid out from the survivors alone, before a token is read.
constexpr int kListBits = 2;
constexpr std::uint64_t kListMask = (std::uint64_t{1} << kListBits) - 1;
constexpr int kLengthShift = kPlaceBits + kListBits;
constexpr std::uint64_t kLongToken = (std::uint64_t{1} << (64 - kLengthShift)) - 1;

// The two halves of the 128-bit product a * b, exclusive-ored.
std::uint64_t folded(std::uint64_t a, std::uint64_t b) {
  std::uint64_t high;
  const std::uint64_t low = hwy::Mul128(a, b, &high);
  return low ^ high;
}

std::uint64_t word8(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

std::uint64_t word4(const char* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

std::uint64_t tagOf(std::uint64_t hash) {
  return hash & ~kPlaceMask;
}

}  // namespace

// Sixteen bytes at a time, each pair of words folded by one 64 x 64 -> 128-bit product: tokens are short,
// and this runs once per "@" of the input. Every bit of the result depends on every byte: the low bits
// pick the slot, the high ones tell tokens apart.
std::uint64_t LastOccurrenceList::hashOf(std::string_view token) {
  constexpr std::uint64_t kOdd1 = 0xA0761D6478BD642FULL;
  constexpr std::uint64_t kOdd2 = 0xE7037ED1A0B428DBULL;
  constexpr std::uint64_t kOdd3 = 0x8EBC6AF09C88C6E3ULL;
  const char* bytes = token.data();
  std::size_t left = token.size();
  std::uint64_t seed = kOdd3 ^ token.size();
  for (; left > 16; bytes += 16, left -= 16) seed = folded(word8(bytes) ^ kOdd1, word8(bytes + 8) ^ seed);
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  if (token.size() >= 16) {
    // The last sixteen bytes, overlapping the ones already folded.
    first = word8(bytes + left - 16);
    second = word8(bytes + left - 8);
  } else if (left >= 8) {
    first = word8(bytes);
    second = word8(bytes + left - 8);
  } else if (left >= 4) {
    first = word4(bytes);
    second = word4(bytes + left - 4);
  } else if (left > 0) {
    first = std::uint64_t{static_cast<unsigned char>(bytes[0])} << 16 |
            std::uint64_t{static_cast<unsigned char>(bytes[left / 2])} << 8 |
            static_cast<unsigned char>(bytes[left - 1]);
  }
  return folded(kOdd1 ^ token.size(), folded(first ^ kOdd2, second ^ seed));
}

LastOccurrenceList::LastOccurrenceList() : slots_(kInitialSlots, 0) {}

std::size_t LastOccurrenceList::slotFor(std::string_view token, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = tagOf(hash);
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint64_t held = slots_[slot];
    if (held == 0) return slot;
    if (tagOf(held) == tag && tokenAt((held & kPlaceMask) - 1) == token) return slot;
  }
}

void LastOccurrenceList::growSlots() {
  Table grown(slots_.size() * 2, 0);
  const std::size_t mask = grown.size() - 1;
  forEachRecord([&](std::size_t record) {
    const std::uint64_t hash = hashOf(tokenAt(record));
    std::size_t slot = hash & mask;
    while (grown[slot] != 0) slot = (slot + 1) & mask;
    grown[slot] = tagOf(hash) | (record + 1);
  });
  slots_ = std::move(grown);
}

void LastOccurrenceList::add(std::string_view token) {
  addHashed(token, hashOf(token), ++occurrences_);
}

void LastOccurrenceList::addAll(std::span<const std::string_view> tokens) {
  hashes_.resize(tokens.size());
  std::transform(tokens.begin(), tokens.end(), hashes_.begin(), hashOf);
  numbers_.resize(tokens.size());
  for (std::uint64_t& number : numbers_) number = ++occurrences_;
  addNumbered(tokens, hashes_, numbers_);
}

void LastOccurrenceList::addNumbered(std::span<const std::string_view> tokens,
                                     std::span<const std::uint64_t> hashes,
                                     std::span<const std::uint64_t> occurrences) {
  // Far enough ahead that the slot has arrived when the record is asked for, and the record when the
  // token is added.
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::size_t mask = slots_.size() - 1;
    if (i + 2 * kAhead < tokens.size()) __builtin_prefetch(&slots_[hashes[i + 2 * kAhead] & mask]);
    if (i + kAhead < tokens.size()) {
      // Only a hint: a token added before then may take that slot, a growth move everything.
      if (const std::uint64_t held = slots_[hashes[i + kAhead] & mask]; held != 0) {
        __builtin_prefetch(&words_[(held & kPlaceMask) - 1]);
      }
    }
    addHashed(tokens[i], hashes[i], occurrences[i]);
  }
}

void LastOccurrenceList::addHashed(std::string_view token, std::uint64_t hash, std::uint64_t occurrence) {
  const std::size_t slot = slotFor(token, hash);
  if (const std::uint64_t held = slots_[slot]; held != 0) {
    std::uint64_t& last = words_[(held & kPlaceMask) - 1];
    last = std::max(last, occurrence);
    return;
  }
  const std::size_t record = words_.size();
  if (record + recordWords(token.size()) >= kPlaceMask) throw std::length_error("too many distinct tokens");
  words_.grow(recordWords(token.size()));
  words_[record] = occurrence;
  words_[record + 1] = token.size();
  std::memcpy(&words_[record + kHeadWords], token.data(), token.size());
  slots_[slot] = tagOf(hash) | (record + 1);
  tokenBytes_ += token.size();
  if (++count_ * 2 > slots_.size()) growSlots();
}

std::optional<std::size_t> LastOccurrenceList::recordOf(std::string_view token, std::uint64_t hash) const {
  const std::uint64_t held = slots_[slotFor(token, hash)];
  if (held == 0) return std::nullopt;
  return (held & kPlaceMask) - 1;
}

AddressList LastOccurrenceList::inOrder() const {
  const LastOccurrenceList* const self = this;
  return mergedInOrder({&self, 1});
}

AddressList LastOccurrenceList::mergedInOrder(std::span<const LastOccurrenceList* const> lists) {
  std::vector<Survivor> survivors;
  appendSurvivors(lists, survivors);
  sortByLastOccurrence(survivors);
  std::size_t bytes = 0;
  for (const LastOccurrenceList* list : lists) bytes += list->tokenBytes();
  AddressList tokens;
  tokens.reserve(survivors.size(), bytes);
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < survivors.size(); ++i) {
    if (i + kAhead < survivors.size()) prefetch(lists, survivors[i + kAhead]);
    tokens.push_back(tokenOf(lists, survivors[i]));
  }
  return tokens;
}

std::string_view LastOccurrenceList::tokenOf(std::span<const LastOccurrenceList* const> lists,
                                             Survivor survivor) {
  return lists[(survivor.place >> kPlaceBits) & kListMask]->tokenAt(survivor.place & kPlaceMask);
}

std::size_t LastOccurrenceList::lengthOf(std::span<const LastOccurrenceList* const> lists,
                                         Survivor survivor) {
  const std::uint64_t length = survivor.place >> kLengthShift;
  return length < kLongToken ? length : tokenOf(lists, survivor).size();
}

void LastOccurrenceList::prefetch(std::span<const LastOccurrenceList* const> lists, Survivor survivor) {
  __builtin_prefetch(&lists[(survivor.place >> kPlaceBits) & kListMask]->words_[survivor.place & kPlaceMask]);
}

// Only the tokens of the smaller lists are looked up in the others: the largest list, most often the only
// one, is walked without a look, once its tokens that occurred later in another list are known. Looking up
// every token of every list took as long as the sort.
void LastOccurrenceList::appendSurvivors(std::span<const LastOccurrenceList* const> lists,
                                         std::vector<Survivor>& survivors) {
  if (lists.size() > kListMask + 1) throw std::invalid_argument("too many lists");
  if (lists.empty()) return;
  const auto append = [&](std::size_t index, std::size_t record) {
    const std::uint64_t length = std::min<std::uint64_t>(lists[index]->words_[record + 1], kLongToken);
    survivors.push_back(
        {lists[index]->words_[record], length << kLengthShift | index << kPlaceBits | record});
  };
  const auto largest =
      static_cast<std::size_t>(std::max_element(lists.begin(), lists.end(),
                                                [](const LastOccurrenceList* a, const LastOccurrenceList* b) {
                                                  return a->size() < b->size();
                                                }) -
                               lists.begin());
  // The largest list's records whose token occurred last in another list.
  std::vector<std::size_t> overtaken;
  for (std::size_t index = 0; index < lists.size(); ++index) {
    if (index == largest) continue;
    lists[index]->forEachRecord([&](std::size_t record) {
      const std::string_view token = lists[index]->tokenAt(record);
      const std::uint64_t hash = hashOf(token);
      // An occurrence is never numbered twice, so exactly one list holds the last of each token.
      std::uint64_t latest = 0;
      std::optional<std::size_t> inLargest;
      for (std::size_t other = 0; other < lists.size(); ++other) {
        const std::optional<std::size_t> found =
            other == index ? record : lists[other]->recordOf(token, hash);
        if (!found) continue;
        latest = std::max(latest, lists[other]->words_[*found]);
        if (other == largest) inLargest = found;
      }
      if (lists[index]->words_[record] == latest) append(index, record);
      if (inLargest && lists[largest]->words_[*inLargest] < latest) overtaken.push_back(*inLargest);
    });
  }
  std::sort(overtaken.begin(), overtaken.end());
  auto next = overtaken.begin();
  lists[largest]->forEachRecord([&](std::size_t record) {
    // A token may be overtaken from several lists.
    if (next != overtaken.end() && *next == record) {
      while (next != overtaken.end() && *next == record) ++next;
      return;
    }
    append(largest, record);
  });
}

// Least significant digit first, one pass per digit in which the occurrences differ: they are numbered
// from a chunk's index in the high bits, so most of the middle digits are alike, and a sort by comparisons
// took as long as listing the merged addresses.
void LastOccurrenceList::sortByLastOccurrence(std::vector<Survivor>& survivors) {
  constexpr int kDigitBits = 11;
  constexpr std::size_t kDigits = 64 / kDigitBits + 1;
  constexpr std::size_t kDigitValues = std::size_t{1} << kDigitBits;
  const auto digitOf = [](std::uint64_t key, std::size_t digit) {
    return static_cast<std::size_t>((key >> (digit * kDigitBits)) & (kDigitValues - 1));
  };
  std::vector<std::size_t> counts(kDigits * kDigitValues, 0);
  for (const Survivor& survivor : survivors) {
    for (std::size_t digit = 0; digit < kDigits; ++digit) {
      ++counts[digit * kDigitValues + digitOf(survivor.lastOccurrence, digit)];
    }
  }
  std::vector<Survivor> sorted(survivors.size());
  for (std::size_t digit = 0; digit < kDigits; ++digit) {
    const std::span<std::size_t> places(&counts[digit * kDigitValues], kDigitValues);
    if (std::find(places.begin(), places.end(), survivors.size()) != places.end()) continue;
    std::exclusive_scan(places.begin(), places.end(), places.begin(), std::size_t{0});
    for (const Survivor& survivor : survivors) {
      sorted[places[digitOf(survivor.lastOccurrence, digit)]++] = survivor;
    }
    survivors.swap(sorted);
  }
}

}  // namespace glanex
