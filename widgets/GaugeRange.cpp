#include "widgets/GaugeRange.h"

#include <string>

#include "extraction/Errors.h"
#include "widgets/GaugeMath.h"

namespace glanex {
namespace {

// The 32-bit difference a − b, wrapping as the gauge's arithmetic always has: a span beyond the 32-bit range
// gives a meaningless percentage but no fault.
std::int32_t wrappingDifference(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// The bounds are 64-bit so that a bound one step past the 32-bit range is written as it is, not wrapped
// round to the opposite end.
EInvalidOperation outOfRangeError(std::int64_t lowest, std::int64_t highest) {
  return EInvalidOperation("La valeur doit être comprise entre " + std::to_string(lowest) + " et " +
                           std::to_string(highest));
}

}  // namespace

bool GaugeRange::setMinValue(std::int32_t value) {
  if (value == minValue_) return false;
  if (value > maxValue_ && !loading()) {
    throw outOfRangeError(-2147483647, std::int64_t{maxValue_} - 1);
  }
  minValue_ = value;
  if (progress_ < value) progress_ = value;
  updatePercent();
  return true;
}

bool GaugeRange::setMaxValue(std::int32_t value) {
  if (value == maxValue_) return false;
  if (value < minValue_ && !loading()) {
    throw outOfRangeError(std::int64_t{minValue_} + 1, 2147483647);
  }
  maxValue_ = value;
  if (progress_ > value) progress_ = value;
  updatePercent();
  return true;
}

bool GaugeRange::setProgress(std::int32_t value) {
  if (value < minValue_) {
    value = minValue_;
  } else if (value > maxValue_) {
    value = maxValue_;
  }
  if (value == progress_) return false;
  progress_ = value;
  const std::int32_t previous = percent_;
  updatePercent();
  return percent_ != previous;
}

void GaugeRange::endLoading() {
  if (loadingDepth_ > 0) --loadingDepth_;
}

void GaugeRange::updatePercent() {
  percent_ =
      RatioToPercent(wrappingDifference(progress_, minValue_), wrappingDifference(maxValue_, minValue_));
}

}  // namespace glanex
