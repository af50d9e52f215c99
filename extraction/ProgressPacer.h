#pragma once

#include <cstdint>

#include "extraction/FramePacer.h"

namespace glanex {

// Decides when one progress indicator shows the positions reported to it. The indicator has `steps`
// distinct looks across its range (100 for a percentage), so the positions fall into bands that look the
// same: a report inside the band on screen costs two comparisons. A report that changes the look is shown
// unless the indicator was shown less than a frame ago; one held back that way waits for the next change of
// look, so a caller that must show the last position (at the end of a run, on error) shows it itself.
class ProgressPacer {
 public:
  // By default, a percentage at most once a frame.
  explicit ProgressPacer(std::int64_t steps = 100, FramePacer frame = FramePacer());

  // A new range, empty when negative: the next report is shown whatever it is, once the frame allows.
  void setRange(std::int64_t total);

  // Keeps `value` as the position. True when the indicator should show it now; the showing is counted.
  bool report(std::int64_t value) { return !keep(value) && changeLook(); }

  // The two halves of report, for a hot loop that keeps the second out of line. keep stores `value` and
  // tells whether it looks like the position before; if not, changeLook takes the new look and tells whether
  // to show it now.
  bool keep(std::int64_t value) {
    position_ = value;
    return value >= low_ && value < high_;
  }
  bool changeLook();

  // Counts now as a showing of the last position, for callers that show it without being asked.
  void markShown();

  std::int64_t range() const { return range_; }
  // The last position reported, as it came.
  std::int64_t position() const { return position_; }
  // The last position held between 0 and the range: what the indicator shows.
  std::int64_t shownPosition() const;

 private:
  void moveBand();

  std::int64_t steps_;
  FramePacer frame_;
  std::int64_t range_ = 0;
  std::int64_t position_ = 0;
  // The positions that look like the last one: [low_, high_).
  std::int64_t low_ = 0;
  std::int64_t high_ = 0;
};

}  // namespace glanex
