#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The separator set as a byte table, so that the test for a character is one look-up. Both extraction
// engines cut their tokens with it, so they agree on what a token is.
namespace glanex {

class SeparatorTable {
 public:
  explicit SeparatorTable(std::string_view separators) {
    for (const char c : separators) table_[static_cast<unsigned char>(c)] = true;
  }

  // IsSeparator's rule for one character, in one look-up.
  bool contains(char c) const { return table_[static_cast<unsigned char>(c)]; }

  // Makes CR and LF end tokens too, for text read as a stream rather than line by line.
  void addLineBreaks() {
    table_['\r'] = true;
    table_['\n'] = true;
  }

  // The token that CutTokens cuts around the "@" at `at`: back to just after the nearest separator on its
  // left (or the start of `line`), then on to the first separator at or after that start (or the end of
  // `line`).
  std::string_view tokenAround(std::string_view line, std::size_t at) const {
    std::size_t start = at;
    while (start > 0 && !contains(line[start - 1])) --start;
    std::size_t end = start;
    while (end < line.size() && !contains(line[end])) ++end;
    return line.substr(start, end - start);
  }

 private:
  std::array<bool, 256> table_{};
};

}  // namespace glanex
