#pragma once

#include <cstddef>
#include <cstdint>

namespace glanex {

// The indicators a run reports on, one per stage that counts.
enum class ProgressChannel : std::uint8_t { LineScan, Cutting, Filtering, DedupOuter, DedupInner };

// How many channels there are: every receiver that keeps something per channel sizes its arrays with it.
inline constexpr std::size_t kProgressChannelCount = 5;

// Where `channel` stands in such an array.
constexpr std::size_t channelIndex(ProgressChannel channel) {
  return static_cast<std::size_t>(channel);
}

static_assert(channelIndex(ProgressChannel::DedupInner) + 1 == kProgressChannelCount);

// Where a run reports its progress. Positions may lie outside the range last reported; the sink clamps.
class ExtractionProgress {
 public:
  virtual ~ExtractionProgress() = default;

  virtual void ReportRange(ProgressChannel channel, std::int64_t total) = 0;
  virtual void ReportPosition(ProgressChannel channel, std::int64_t value) = 0;
};

}  // namespace glanex
