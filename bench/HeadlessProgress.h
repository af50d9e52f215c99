#pragma once

#include <array>
#include <cstdint>

#include "extraction/ExtractionProgress.h"

namespace glanex {

// A progress sink that only keeps the last values, so that runs pay for reporting without any display.
class HeadlessProgress : public ExtractionProgress {
 public:
  void ReportRange(ProgressChannel channel, std::int64_t total) override {
    ranges_[channelIndex(channel)] = total;
  }
  void ReportPosition(ProgressChannel channel, std::int64_t value) override {
    positions_[channelIndex(channel)] = value;
  }

  std::int64_t position(ProgressChannel channel) const { return positions_[channelIndex(channel)]; }

 private:
  std::array<std::int64_t, kProgressChannelCount> ranges_{};
  std::array<std::int64_t, kProgressChannelCount> positions_{};
};

}  // namespace glanex
