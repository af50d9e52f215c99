#include "app/ResultPunctuation.h"

namespace glanex {

namespace {

// Only the first 255 positions are searched: a comma further on does not cut the line.
constexpr std::size_t kCommaSearchWidth = 255;

}  // namespace

void AddCommas(TStrings& lines) {
  const std::int64_t count = lines.LineCount();
  for (std::int64_t i = 0; i < count; ++i) {
    // Appending after the last character, rather than rewriting GetLine's text, keeps lines longer than
    // GetLine's 4,096 characters whole.
    if (!lines.GetLine(i).empty()) lines.AppendToLine(i, ",");
  }
}

void RemoveCommas(TStrings& lines) {
  const std::int64_t count = lines.LineCount();
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string line = lines.GetLine(i);
    // Substring's rule, by substr: search Substring(line, 1, 255), keep Substring(line, 1, p - 1).
    const std::size_t comma = line.substr(0, kCommaSearchWidth).find(',');
    if (comma != std::string::npos) lines.ReplaceLine(i, line.substr(0, comma));
  }
}

}  // namespace glanex
