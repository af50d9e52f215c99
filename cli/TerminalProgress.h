#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "extraction/ExtractionProgress.h"
#include "extraction/ProgressPacer.h"
#include "extraction/StreamingExtraction.h"

namespace glanex {

// A one-line progress bar on standard error, for a terminal. A run reports millions of times: the line is
// redrawn only when what it shows changes, at most ten times a second, and a run shorter than that draws
// nothing. The line is cleared when the bar goes, so messages that follow start on a clean line.
class TerminalProgress : public ExtractionProgress, public ReadProgress {
 public:
  TerminalProgress();
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void ReportRange(ProgressChannel channel, std::int64_t total) override;
  void ReportPosition(ProgressChannel channel, std::int64_t value) override;
  // The streaming extraction's one stage: reading, reported once per block.
  void ReportBytesRead(std::int64_t done, std::int64_t total) override;

  // The line drawn for a stage at `position` of `range`, the position held within the range.
  static std::string renderLine(ProgressChannel channel, std::int64_t position, std::int64_t range);
  // The same line for the reading of the streaming extraction; the megabytes read when `total` is unknown
  // (-1).
  static std::string renderReadingLine(std::int64_t done, std::int64_t total);

 private:
  ProgressPacer& stage(ProgressChannel channel) { return stages_[channelIndex(channel)]; }
  void draw(const std::string& line);

  std::array<ProgressPacer, kProgressChannelCount> stages_;
  ProgressPacer reading_;
  bool drawn_ = false;
};

}  // namespace glanex
