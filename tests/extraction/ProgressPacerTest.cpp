#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "extraction/FramePacer.h"
#include "extraction/ProgressPacer.h"

namespace glanex::test {
namespace {

// Time stands still until a test moves it.
struct FakeClock {
  std::int64_t now = 1'000;
  MillisecondClock read() {
    return [this] { return now; };
  }
};

TEST(FramePacer, AllowsOneShowingPerInterval) {
  FakeClock clock;
  FramePacer frame(16, clock.read());
  EXPECT_TRUE(frame.due()) << "never shown";
  frame.markShown();
  EXPECT_FALSE(frame.due());
  clock.now += 15;
  EXPECT_FALSE(frame.due());
  clock.now += 1;
  EXPECT_TRUE(frame.due());

  FramePacer unlimited(0, clock.read());
  unlimited.markShown();
  EXPECT_TRUE(unlimited.due());
}

// With every frame long past, a report is shown exactly when it changes how the indicator looks.
TEST(ProgressPacer, ShowsAReportOnlyWhenItChangesTheLook) {
  constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
  const struct {
    const char* name;
    std::int64_t steps, range;
    std::vector<std::int64_t> positions;
    std::vector<bool> shown;
  } rows[] = {
      {"percent of 1000", 100, 1000, {0, 9, 10, 9, 999, 1000, 5000, -3}, {1, 0, 1, 1, 1, 1, 0, 1}},
      {"percent of 7: bounds round up", 100, 7, {0, 1, 1, 6, 7}, {1, 1, 0, 1, 1}},
      {"percent of 300", 100, 300, {0, 2, 3, 5, 6}, {1, 0, 1, 0, 1}},
      {"empty range has one look", 100, 0, {0, 5, -5, 100}, {1, 0, 0, 0}},
      {"negative range is empty", 100, -4, {0, 3}, {1, 0}},
      {"300 looks over 30", 300, 30, {0, 1, 1, 2}, {1, 1, 0, 1}},
      {"too wide for exact bands: every move", 100, kHuge, {0, 0, 1, kHuge}, {1, 0, 1, 1}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeClock clock;
    ProgressPacer pacer(row.steps, FramePacer(16, clock.read()));
    pacer.setRange(row.range);
    for (std::size_t i = 0; i < row.positions.size(); ++i) {
      clock.now += 1'000;
      EXPECT_EQ(pacer.report(row.positions[i]), row.shown[i]) << "report " << i;
      EXPECT_EQ(pacer.position(), row.positions[i]);
    }
  }
}

TEST(ProgressPacer, HoldsAChangeBackWithinAFrame) {
  FakeClock clock;
  ProgressPacer pacer(100, FramePacer(16, clock.read()));
  pacer.setRange(100);
  ASSERT_TRUE(pacer.report(10));
  EXPECT_FALSE(pacer.report(50)) << "a frame has not passed";
  clock.now += 16;
  EXPECT_TRUE(pacer.report(51));

  // A showing the caller makes without being asked starts a frame too.
  clock.now += 16;
  pacer.markShown();
  EXPECT_FALSE(pacer.report(70));
  clock.now += 16;
  // A new range makes the next report a change, the same position included.
  pacer.setRange(1000);
  EXPECT_TRUE(pacer.report(70));
  EXPECT_EQ(pacer.range(), 1000);
}

TEST(ProgressPacer, ShowsThePositionHeldWithinTheRange) {
  ProgressPacer pacer;
  pacer.setRange(40);
  for (const auto& [reported, held] : {std::pair{-7, 0}, {13, 13}, {41, 40}}) {
    pacer.report(reported);
    EXPECT_EQ(pacer.shownPosition(), held);
  }
}

}  // namespace
}  // namespace glanex::test
