#pragma once

#include <array>
#include <cstdint>

#include "extraction/ExtractionProgress.h"

namespace glanex {

// A progress sink that only keeps the last values, so that runs pay for reporting without any display.
class HeadlessProgress : public ExtractionProgress {
 public:
  void ReportRange(ProgressChannel channel, std::int64_t total) override { ranges_[index(channel)] = total; }
  void ReportPosition(ProgressChannel channel, std::int64_t value) override {
    positions_[index(channel)] = value;
  }

  std::int64_t position(ProgressChannel channel) const { return positions_[index(channel)]; }

 private:
  static std::size_t index(ProgressChannel channel) { return static_cast<std::size_t>(channel); }

  std::array<std::int64_t, 5> ranges_{};
  std::array<std::int64_t, 5> positions_{};
};

}  // namespace glanex
