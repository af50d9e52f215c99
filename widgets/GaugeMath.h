#pragma once

#include <cstdint>

// The gauge's two rounding functions. Both reproduce, bit for bit and on every platform, what a computation
// in 80-bit extended floating point (64-bit mantissa, round to nearest even at each step, result truncated
// toward zero) gives, using exact integer arithmetic, so that a bar is the same length wherever the program
// runs.
namespace glanex {

// The truncation of part × 100 / whole; 0 when whole is 0. A quotient beyond the 32-bit range wraps.
std::int32_t RatioToPercent(std::int32_t part, std::int32_t whole);

// The truncation of length × (percent × 0.01), with 0.01 held as its nearest extended value, just below it:
// 50 % and 100 % are exact, but 5 % of 100 gives 4. A result beyond the 32-bit range wraps.
std::int32_t PercentToLength(std::int32_t percent, std::int32_t length);

}  // namespace glanex
