#pragma once

#include <cstdint>

// The values of a progress gauge and the rules that bind them, apart from any window: the bounds, the
// current value kept between them, and the whole percentage that the gauge shows.
namespace glanex {

// MinValue ≤ Progress ≤ MaxValue, outside loading. Each setter reports whether the gauge must repaint.
class GaugeRange {
 public:
  std::int32_t MinValue() const { return minValue_; }
  std::int32_t MaxValue() const { return maxValue_; }
  std::int32_t Progress() const { return progress_; }
  // The share of the range that Progress has covered, in whole percent truncated toward zero.
  std::int32_t PercentComplete() const { return percent_; }

  // Sets the value shown as 0 % and pulls Progress up to it. Returns whether MinValue changed. Outside
  // loading, a value above MaxValue throws EInvalidOperation and changes nothing.
  bool setMinValue(std::int32_t value);
  // Sets the value shown as 100 % and pulls Progress down to it. Returns whether MaxValue changed. Outside
  // loading, a value below MinValue throws EInvalidOperation and changes nothing.
  bool setMaxValue(std::int32_t value);
  // Stores the value clamped into the range. Returns whether PercentComplete changed, the only case in which
  // the gauge looks different.
  bool setProgress(std::int32_t value);

  // Suspends the check that the bounds do not cross, so that initial values can be set in any order; calls
  // nest.
  void beginLoading() { ++loadingDepth_; }
  void endLoading();
  bool loading() const { return loadingDepth_ > 0; }

 private:
  void updatePercent();

  std::int32_t minValue_ = 0;
  std::int32_t maxValue_ = 100;
  std::int32_t progress_ = 0;
  std::int32_t percent_ = 0;
  int loadingDepth_ = 0;
};

// Holds `target` (a GaugeRange or a gauge) in its loading state for the lifetime of the scope.
template <typename Loadable>
class LoadingScope {
 public:
  explicit LoadingScope(Loadable& target) : target_(target) { target_.beginLoading(); }
  ~LoadingScope() { target_.endLoading(); }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  Loadable& target_;
};

}  // namespace glanex
