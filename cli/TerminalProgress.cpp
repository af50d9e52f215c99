#include "cli/TerminalProgress.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "cli/StandardStreams.h"

namespace glanex {

namespace {

constexpr std::int64_t kRedrawIntervalMs = 100;
constexpr std::int64_t kBarWidth = 30;
// The line changes only where the bar gains a mark or the percentage a unit.
constexpr std::int64_t kLineLooks = std::lcm(kBarWidth, std::int64_t{100});

// Indexed by ProgressChannel, padded to one width so the bar stays put from stage to stage.
constexpr std::array<const char*, kProgressChannelCount> kStageLabels = {
    "Lignes    ", "Découpage ", "Filtrage  ", "Doublons  ", "Doublons  "};
constexpr const char* kReadingLabel = "Lecture   ";

// "\r" returns to the start of the line, "\x1b[K" erases what a longer previous line left behind.
constexpr const char* kReturnAndErase = "\r\x1b[K";

// A label, a bar and a percentage, the position held within the range.
std::string renderBar(std::string_view label, std::int64_t position, std::int64_t range) {
  const std::int64_t held = range > 0 ? std::clamp<std::int64_t>(position, 0, range) : 0;
  // Widened before multiplying: ranges count characters or bytes of inputs that may be gigabytes long.
  const auto fraction = [&](std::int64_t scale) {
    return range > 0 ? static_cast<std::int64_t>(static_cast<long double>(held) * scale / range) : 0;
  };
  const std::int64_t filled = fraction(kBarWidth);
  return std::string(label) + "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " +
         std::to_string(fraction(100)) + " %";
}

// The start counts as a drawing, so that nothing is drawn before one interval has passed.
ProgressPacer linePacer() {
  ProgressPacer pacer(kLineLooks, FramePacer(kRedrawIntervalMs));
  pacer.markShown();
  return pacer;
}

}  // namespace

TerminalProgress::TerminalProgress() : reading_(linePacer()) {
  stages_.fill(linePacer());
}

TerminalProgress::~TerminalProgress() {
  if (drawn_) writeStandardError(kReturnAndErase);
}

// The line shows the outer count of duplicate removal; the inner one restarts for every token.
void TerminalProgress::ReportRange(ProgressChannel channel, std::int64_t total) {
  if (channel != ProgressChannel::DedupInner) stage(channel).setRange(total);
}

void TerminalProgress::ReportPosition(ProgressChannel channel, std::int64_t value) {
  if (channel == ProgressChannel::DedupInner) return;
  ProgressPacer& shown = stage(channel);
  if (shown.report(value)) draw(renderLine(channel, shown.position(), shown.range()));
}

void TerminalProgress::ReportBytesRead(std::int64_t done, std::int64_t total) {
  if (total != reading_.range()) reading_.setRange(total);
  if (reading_.report(done)) draw(renderReadingLine(done, total));
}

void TerminalProgress::draw(const std::string& line) {
  writeStandardError(kReturnAndErase + line);
  drawn_ = true;
}

std::string TerminalProgress::renderLine(ProgressChannel channel, std::int64_t position, std::int64_t range) {
  return renderBar(kStageLabels[channelIndex(channel)], position, range);
}

std::string TerminalProgress::renderReadingLine(std::int64_t done, std::int64_t total) {
  // Of a pipe only the bytes read so far are known.
  if (total < 0) return std::string(kReadingLabel) + std::to_string(done / 1'000'000) + " Mo lus";
  return renderBar(kReadingLabel, done, total);
}

}  // namespace glanex
