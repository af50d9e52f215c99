#include "cli/TerminalProgress.h"

#include <algorithm>

#include "cli/StandardStreams.h"

namespace glanex {

namespace {

constexpr std::uint32_t kReportsPerClockCheck = 4096;
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr std::int64_t kBarWidth = 30;

// Indexed by ProgressChannel, padded to one width so the bar stays put from stage to stage.
constexpr const char* kStageLabels[] = {"Lignes    ", "Découpage ", "Filtrage  ", "Doublons  ", "Doublons  "};
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

}  // namespace

TerminalProgress::TerminalProgress() : lastDraw_(std::chrono::steady_clock::now()) {}

TerminalProgress::~TerminalProgress() {
  if (drawn_) writeStandardError(kReturnAndErase);
}

void TerminalProgress::ReportRange(ProgressChannel channel, std::int64_t total) {
  gauge(channel).range = total;
  noteReport(channel);
}

void TerminalProgress::ReportPosition(ProgressChannel channel, std::int64_t value) {
  gauge(channel).position = value;
  noteReport(channel);
}

void TerminalProgress::ReportBytesRead(std::int64_t done, std::int64_t total) {
  redrawWhenDue(renderReadingLine(done, total));
}

void TerminalProgress::noteReport(ProgressChannel channel) {
  // The inner count of duplicate removal restarts for every token; the outer one shows the stage's advance.
  if (channel != ProgressChannel::DedupInner) shown_ = channel;
  if (++reportsSinceClockCheck_ < kReportsPerClockCheck) return;
  reportsSinceClockCheck_ = 0;
  const Gauge& shown = gauge(shown_);
  redrawWhenDue(renderLine(shown_, shown.position, shown.range));
}

void TerminalProgress::redrawWhenDue(const std::string& line) {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  writeStandardError(kReturnAndErase + line);
  drawn_ = true;
}

std::string TerminalProgress::renderLine(ProgressChannel channel, std::int64_t position, std::int64_t range) {
  return renderBar(kStageLabels[static_cast<std::size_t>(channel)], position, range);
}

std::string TerminalProgress::renderReadingLine(std::int64_t done, std::int64_t total) {
  return renderBar(kReadingLabel, done, total);
}

}  // namespace glanex
