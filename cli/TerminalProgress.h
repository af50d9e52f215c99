#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "extraction/ExtractionProgress.h"
#include "extraction/StreamingExtraction.h"

namespace glanex {

// A one-line progress bar on standard error, for a terminal. A run reports millions of times, so the clock is
// read only every few thousand reports and the line redrawn at most ten times a second; a run shorter than
// that draws nothing. The line is cleared when the bar goes, so messages that follow start on a clean line.
class TerminalProgress : public ExtractionProgress, public ReadProgress {
 public:
  TerminalProgress();
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void ReportRange(ProgressChannel channel, std::int64_t total) override;
  void ReportPosition(ProgressChannel channel, std::int64_t value) override;
  // The streaming extraction's one stage: reading. It reports once per block, so every report checks the
  // clock.
  void ReportBytesRead(std::int64_t done, std::int64_t total) override;

  // The line drawn for a stage at `position` of `range`, the position held within the range.
  static std::string renderLine(ProgressChannel channel, std::int64_t position, std::int64_t range);
  // The same line for the reading of the streaming extraction.
  static std::string renderReadingLine(std::int64_t done, std::int64_t total);

 private:
  struct Gauge {
    std::int64_t range = 0;
    std::int64_t position = 0;
  };

  Gauge& gauge(ProgressChannel channel) { return gauges_[static_cast<std::size_t>(channel)]; }
  void noteReport(ProgressChannel channel);
  void redrawWhenDue(const std::string& line);

  std::array<Gauge, 5> gauges_{};
  ProgressChannel shown_ = ProgressChannel::LineScan;
  std::uint32_t reportsSinceClockCheck_ = 0;
  std::chrono::steady_clock::time_point lastDraw_;
  bool drawn_ = false;
};

}  // namespace glanex
