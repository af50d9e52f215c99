#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "extraction/Errors.h"
#include "widgets/GaugeMath.h"
#include "widgets/GaugeRange.h"

namespace glanex {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

TEST(GaugeMath, RoundsLikeExtendedPrecision) {
  const struct {
    const char* name;
    std::int32_t got, expected;
  } rows[] = {
      {"5 % of 100 comes out one short", PercentToLength(5, 100), 4},
      {"10 % of 10 comes out one short", PercentToLength(10, 10), 0},
      {"20 % of 5 comes out one short", PercentToLength(20, 5), 0},
      {"50 % of 99", PercentToLength(50, 99), 49},
      {"100 % of the largest length", PercentToLength(100, kMax32), kMax32},
      {"empty range", RatioToPercent(5, 0), 0},
      {"part × 100 beyond 32 bits", RatioToPercent(2000000000, 2100000000), 95},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.got, row.expected);
  }
}

// The functions must give what the 80-bit extended type gives; where long double is that type, compare.
TEST(GaugeMath, MatchesTheExtendedTypeWhereThePlatformHasIt) {
  if constexpr (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double is not the 80-bit extended type here";
  } else {
    const auto extendedLength = [](std::int32_t percent, std::int32_t length) {
      volatile long double fraction = percent * 0.01L;
      volatile long double product = length * fraction;
      return static_cast<std::int32_t>(static_cast<std::int64_t>(product));
    };
    const auto extendedPercent = [](std::int32_t part, std::int32_t whole) {
      volatile long double quotient = (part * 100.0L) / whole;
      return static_cast<std::int32_t>(static_cast<std::int64_t>(quotient));
    };
    int mismatches = 0;
    const auto check = [&](std::int32_t percent, std::int32_t length) {
      if (PercentToLength(percent, length) != extendedLength(percent, length) && ++mismatches <= 5) {
        ADD_FAILURE() << percent << " % of " << length;
      }
    };
    for (std::int32_t percent = 0; percent <= 100; ++percent) {
      for (std::int32_t length = 0; length <= 5000; ++length) check(percent, length);
      for (std::int32_t length :
           {65535, 65536, 1000000, 16777217, 123456789, kMax32 - 1, kMax32, -7, kMin32}) {
        check(percent, length);
      }
    }
    for (std::int32_t percent : {-1, 101, 1000, 123457, kMax32, kMin32 + 1}) {
      for (std::int32_t length : {1, 3, 100, 99999, kMax32}) check(percent, length);
    }
    for (std::int32_t whole : {1, 7, 3000, 999999937, kMax32, -3, kMin32}) {
      for (std::int32_t part : {0, 1, 2, 6, 2999, 21474836, 999999936, kMax32, -1, kMin32}) {
        if (RatioToPercent(part, whole) != extendedPercent(part, whole) && ++mismatches <= 5) {
          ADD_FAILURE() << part << " of " << whole;
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

std::string errorMessage(GaugeRange& range, void (*assign)(GaugeRange&)) {
  try {
    assign(range);
  } catch (const EInvalidOperation& error) {
    return error.what();
  }
  return "no error";
}

TEST(GaugeRange, RejectsCrossedBoundsWithTheValidRangeAndKeepsItsValues) {
  GaugeRange range;
  range.setProgress(40);
  EXPECT_EQ(errorMessage(range, [](GaugeRange& r) { r.setMinValue(101); }),
            "La valeur doit être comprise entre -2147483647 et 99");
  range.setMaxValue(50);
  range.setMinValue(0);
  EXPECT_EQ(errorMessage(range, [](GaugeRange& r) { r.setMaxValue(-1); }),
            "La valeur doit être comprise entre 1 et 2147483647");
  EXPECT_EQ(range.MinValue(), 0);
  EXPECT_EQ(range.MaxValue(), 50);
  EXPECT_EQ(range.Progress(), 40);
  EXPECT_EQ(range.PercentComplete(), 80);

  EXPECT_TRUE(range.setMinValue(50)) << "equal bounds are allowed";
  EXPECT_EQ(range.Progress(), 50);
  EXPECT_EQ(range.PercentComplete(), 0) << "an empty range shows 0 %";
}

TEST(GaugeRange, ClampsProgressAndReportsOnlyPercentChanges) {
  GaugeRange range;
  range.setMaxValue(1000);
  EXPECT_TRUE(range.setProgress(100));
  EXPECT_FALSE(range.setProgress(109)) << "still 10 %";
  EXPECT_EQ(range.Progress(), 109);
  EXPECT_TRUE(range.setProgress(1005));
  EXPECT_EQ(range.Progress(), 1000);
  EXPECT_EQ(range.PercentComplete(), 100);
  EXPECT_FALSE(range.setProgress(2000)) << "clamped to the value it already has";
  range.setProgress(-3);
  EXPECT_EQ(range.Progress(), 0);

  EXPECT_TRUE(range.setMaxValue(10)) << "a bound that moves repaints";
  EXPECT_FALSE(range.setMaxValue(10));
}

TEST(GaugeRange, BoundsSetWhileLoadingMayCrossAndStillPullProgress) {
  GaugeRange range;
  range.setProgress(30);
  {
    LoadingScope loading(range);
    range.setMinValue(200);
    EXPECT_EQ(range.Progress(), 200);
    range.setMaxValue(500);
  }
  EXPECT_FALSE(range.loading());
  EXPECT_EQ(range.Progress(), 200);
  EXPECT_THROW(range.setMinValue(600), EInvalidOperation);

  range.beginLoading();
  range.setMaxValue(-10);
  EXPECT_EQ(range.Progress(), -10);
  range.endLoading();
}

}  // namespace
}  // namespace glanex
