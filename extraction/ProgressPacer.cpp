#include "extraction/ProgressPacer.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace glanex {

namespace {

constexpr std::int64_t kBelowAll = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kAboveAll = std::numeric_limits<std::int64_t>::max();

std::int64_t divideRoundingUp(std::int64_t numerator, std::int64_t denominator) {
  return (numerator + denominator - 1) / denominator;
}

}  // namespace

ProgressPacer::ProgressPacer(std::int64_t steps, FramePacer frame)
    : steps_(steps), frame_(std::move(frame)) {}

void ProgressPacer::setRange(std::int64_t total) {
  range_ = std::max<std::int64_t>(total, 0);
  // An empty band: the next report changes the look, whatever it is.
  low_ = high_ = 0;
}

void ProgressPacer::markShown() {
  frame_.markShown();
}

std::int64_t ProgressPacer::shownPosition() const {
  return std::clamp<std::int64_t>(position_, 0, range_);
}

bool ProgressPacer::changeLook() {
  moveBand();
  if (!frame_.due()) return false;
  frame_.markShown();
  return true;
}

// Step s of the range covers the positions p with floor(p * steps / range) = s: from ceil(s * range / steps)
// up to ceil((s + 1) * range / steps), the first and last steps reaching out to every position beyond.
void ProgressPacer::moveBand() {
  if (range_ == 0) {
    // An empty range has a single look.
    low_ = kBelowAll;
    high_ = kAboveAll;
    return;
  }
  if (range_ > (kAboveAll - steps_) / steps_) {
    // Too wide for exact products in 64 bits (petabytes): every move counts as a change.
    low_ = position_;
    high_ = position_ == kAboveAll ? kAboveAll : position_ + 1;
    return;
  }
  const std::int64_t step = shownPosition() * steps_ / range_;
  low_ = step == 0 ? kBelowAll : divideRoundingUp(step * range_, steps_);
  high_ = step == steps_ ? kAboveAll : divideRoundingUp((step + 1) * range_, steps_);
}

}  // namespace glanex
