#include "extraction/StringPrimitives.h"

namespace glanex {

std::string Substring(const std::string& s, std::int64_t index, std::int64_t count) {
  const std::int64_t length = Len(s);
  if (length == 0 || count < 0 || index > length) return {};
  if (index < 1) index = 1;
  if (count > length - index + 1) count = length - index + 1;
  return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

std::string DecimalText(std::int64_t n) {
  return std::to_string(n);
}

}  // namespace glanex
