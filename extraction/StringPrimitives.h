#pragma once

#include <cstdint>
#include <string>

// The string operations the line rules and the pipeline are written against: strings are Windows-1252
// bytes with positions counted from 1. Equality and concatenation are std::string's own.
namespace glanex {

// Number of characters of `s`.
inline std::int64_t Len(const std::string& s) {
  return static_cast<std::int64_t>(s.size());
}

// Up to `count` characters of `s` from the 1-based `index`; an index below 1 counts as 1, and a count that
// reaches past the end is cut there. Empty for an empty `s`, a negative count or an index past the end.
std::string Substring(const std::string& s, std::int64_t index, std::int64_t count);

// `n` in decimal digits, with a leading "-" when negative.
std::string DecimalText(std::int64_t n);

}  // namespace glanex
