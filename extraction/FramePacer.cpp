#include "extraction/FramePacer.h"

#include <ctime>
#include <limits>
#include <utility>

namespace glanex {

std::int64_t monotonicMilliseconds() {
#ifdef CLOCK_MONOTONIC_COARSE
  constexpr clockid_t kClock = CLOCK_MONOTONIC_COARSE;
#else
  constexpr clockid_t kClock = CLOCK_MONOTONIC;
#endif
  timespec now{};
  clock_gettime(kClock, &now);
  return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// Never shown: long enough ago for any interval, yet far from overflowing when subtracted.
FramePacer::FramePacer(std::int64_t intervalMs, MillisecondClock clock)
    : intervalMs_(intervalMs),
      clock_(std::move(clock)),
      shownAtMs_(std::numeric_limits<std::int64_t>::min() / 2) {}

bool FramePacer::due() const {
  return clock_() - shownAtMs_ >= intervalMs_;
}

void FramePacer::markShown() {
  shownAtMs_ = clock_();
}

}  // namespace glanex
