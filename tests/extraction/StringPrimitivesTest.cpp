#include <gtest/gtest.h>

#include "extraction/StringPrimitives.h"

namespace glanex {
namespace {

TEST(Substring, CountsFromOneAndClampsBothEnds) {
  const struct {
    const char* name;
    const char* s;
    std::int64_t index, count;
    const char* expected;
  } rows[] = {
      {"index 0 counts as 1", "abc", 0, 1, "a"},
      {"negative index counts as 1", "abc", -5, 2, "ab"},
      {"count past the end is cut", "abc", 3, 5, "c"},
      {"index past the end", "abc", 4, 1, ""},
      {"negative count", "abc", 2, -1, ""},
      {"zero count", "abc", 2, 0, ""},
      {"whole string", "abc", 1, 3, "abc"},
      {"empty string", "", 1, 1, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Substring(row.s, row.index, row.count), row.expected);
  }
}

TEST(Substring, KeepsEveryByteValue) {
  const std::string s("a\0\xE9\xFF", 4);
  EXPECT_EQ(Substring(s, 2, 3), std::string("\0\xE9\xFF", 3));
  EXPECT_EQ(Len(s), 4);
}

TEST(DecimalText, WritesSignAndDigitsOnly) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(1234567), "1234567");
  EXPECT_EQ(DecimalText(-42), "-42");
}

}  // namespace
}  // namespace glanex
