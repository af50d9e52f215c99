#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "extraction/SeparatorTable.h"

namespace glanex {

// Finds the token around each "@" of a text in which "@" is no separator: one pass out from each "@"
// finds the token's ends and its "." together, and the other "@" of the token give the same token again.
// The bytes around an "@" are classed sixteen at a time with vector instructions where the processor has
// them (chosen when the program runs), one at a time otherwise; both give the same tokens.
class AddressScan {
 public:
  enum class InstructionSet { Plain, Ssse3, Sse4, Avx2, Neon };

  // The sets the running processor has, the plain one first, the best last.
  static std::vector<InstructionSet> availableInstructionSets();

  // Scans with the best set the processor has.
  explicit AddressScan(const SeparatorTable& separators);
  // Scans with `set`, one of the available ones, or the plain one when it is not.
  AddressScan(const SeparatorTable& separators, InstructionSet set);

  // Appends to `found`, in order, each token around an "@" of `text` that holds "." and does not begin
  // with "@".
  void findAddresses(std::string_view text, std::vector<std::string_view>& found) const;

  enum CharacterClass : std::uint8_t { kOrdinary, kSeparator, kDot };

  // The separator set as nibble tables for a byte shuffle: byte b is a separator when
  // lowNibbles[h][b & 15] & highNibbles[h][b >> 4] is not zero for h 0 (b below 0x80) or 1 (from 0x80).
  struct NibbleTables {
    alignas(16) std::array<std::array<std::uint8_t, 16>, 2> lowNibbles{};
    alignas(16) std::array<std::array<std::uint8_t, 16>, 2> highNibbles{};
  };

  CharacterClass classOf(char c) const { return classes_[static_cast<unsigned char>(c)]; }
  const NibbleTables& nibbles() const { return nibbles_; }

  // Where the token holding text[at] starts, looking back from `from` (at most `at`): `dotted` notes a
  // "." passed on the way.
  std::size_t startBack(std::string_view text, std::size_t from, bool& dotted) const {
    std::size_t start = from;
    for (CharacterClass c; start > 0 && (c = classOf(text[start - 1])) != kSeparator; --start)
      dotted |= c == kDot;
    return start;
  }
  // Where the token ends, looking on from `from`; `dotted` as above.
  std::size_t endOn(std::string_view text, std::size_t from, bool& dotted) const {
    std::size_t end = from;
    for (CharacterClass c; end < text.size() && (c = classOf(text[end])) != kSeparator; ++end)
      dotted |= c == kDot;
    return end;
  }

 private:
  void (*find_)(const AddressScan&, std::string_view, std::vector<std::string_view>*);
  std::array<CharacterClass, 256> classes_{};
  NibbleTables nibbles_;
};

}  // namespace glanex
