#pragma once

#include <cstdint>

namespace glanex {

// The indicators a run reports on, one per stage that counts.
enum class ProgressChannel : std::uint8_t { LineScan, Cutting, Filtering, DedupOuter, DedupInner };

// Where a run reports its progress. Positions may lie outside the range last reported; the sink clamps.
class ExtractionProgress {
 public:
  virtual ~ExtractionProgress() = default;

  virtual void ReportRange(ProgressChannel channel, std::int64_t total) = 0;
  virtual void ReportPosition(ProgressChannel channel, std::int64_t value) = 0;
};

}  // namespace glanex
