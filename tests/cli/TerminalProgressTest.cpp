#include "cli/TerminalProgress.h"

#include <gtest/gtest.h>

namespace glanex {
namespace {

// The pipeline may report positions outside the range it announced; the bar must hold them.
TEST(cliProgressBar, HoldsPositionsWithinTheRange) {
  EXPECT_EQ(TerminalProgress::renderLine(ProgressChannel::LineScan, 250, 100),
            TerminalProgress::renderLine(ProgressChannel::LineScan, 100, 100));
  EXPECT_EQ(TerminalProgress::renderLine(ProgressChannel::LineScan, -5, 100),
            TerminalProgress::renderLine(ProgressChannel::LineScan, 0, 100));
  EXPECT_NE(TerminalProgress::renderLine(ProgressChannel::Cutting, 7, 0).find(" 0 %"), std::string::npos);
}

TEST(cliProgressBar, ShowsTheShareDone) {
  const std::string half = TerminalProgress::renderLine(ProgressChannel::Filtering, 50, 100);
  EXPECT_NE(half.find("[###############---------------] 50 %"), std::string::npos) << half;
  // Huge counts must not overflow on the way to a percentage.
  const std::int64_t huge = std::int64_t{1} << 62;
  EXPECT_NE(TerminalProgress::renderLine(ProgressChannel::DedupOuter, huge, huge).find("100 %"),
            std::string::npos);
  // Reading gigabytes counts bytes the same way.
  EXPECT_EQ(TerminalProgress::renderReadingLine(huge / 4 * 3, huge),
            "Lecture   [######################--------] 75 %");
  // A pipe has no size: the bytes read so far.
  EXPECT_EQ(TerminalProgress::renderReadingLine(2'500'000'000, -1), "Lecture   2500 Mo lus");
}

}  // namespace
}  // namespace glanex
