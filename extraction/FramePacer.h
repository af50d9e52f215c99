#pragma once

#include <cstdint>
#include <functional>

namespace glanex {

// Milliseconds on a clock that never goes back. Injected, so that tests move time by hand instead of
// waiting for it.
using MillisecondClock = std::function<std::int64_t()>;

// The system's monotonic clock. Progress indicators read it whenever what they show changes, hundreds of
// thousands of times in a big run: the coarse clock reads several times faster than the precise one, and its
// resolution of a few milliseconds is finer than a frame.
std::int64_t monotonicMilliseconds();

// Indicators repaint at most this often while a run holds the event loop: about 60 times a second.
inline constexpr std::int64_t kFrameIntervalMs = 16;

// Keeps the showings of one indicator at least an interval apart.
class FramePacer {
 public:
  explicit FramePacer(std::int64_t intervalMs = kFrameIntervalMs,
                      MillisecondClock clock = monotonicMilliseconds);

  // Whether showing now keeps to the interval; true until the first showing.
  bool due() const;
  // Counts now as a showing.
  void markShown();

 private:
  std::int64_t intervalMs_;
  MillisecondClock clock_;
  std::int64_t shownAtMs_;
};

}  // namespace glanex
