#include "widgets/GaugeMath.h"

#include <bit>

namespace glanex {
namespace {

// The products need up to 95 bits. __extension__ silences the pedantic warning for this declaration only.
__extension__ typedef unsigned __int128 Uint128;

// A positive binary value mantissa × 2^exponent, as the extended type holds it: at most 64 significant bits.
struct Extended {
  std::uint64_t mantissa;
  int exponent;
};

int bitLength(Uint128 v) {
  const auto high = static_cast<std::uint64_t>(v >> 64);
  return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<std::uint64_t>(v));
}

// Rounds the exact value v × 2^exponent to 64 significant bits, to nearest with ties to even, as every
// extended operation does.
Extended roundToExtended(Uint128 v, int exponent) {
  const int excess = bitLength(v) - 64;
  if (excess <= 0) return {static_cast<std::uint64_t>(v), exponent};
  Uint128 kept = v >> excess;
  const Uint128 rest = v & ((Uint128{1} << excess) - 1);
  const Uint128 half = Uint128{1} << (excess - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  int shift = excess;
  // Rounding up may carry into a 65th bit; the dropped bit is then 0.
  if (bitLength(kept) > 64) {
    kept >>= 1;
    ++shift;
  }
  return {static_cast<std::uint64_t>(kept), exponent + shift};
}

// The magnitude truncated toward zero; the callers' values stay far below 2^64.
std::uint64_t truncate(Extended x) {
  if (x.exponent >= 0) return x.mantissa << x.exponent;
  if (x.exponent <= -64) return 0;
  return x.mantissa >> -x.exponent;
}

std::uint64_t magnitude(std::int32_t v) {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : v;
}

// A truncated result that overflows 32 bits keeps its low 32 bits, as the gauge's integer conversion always
// has; since C++20 this narrowing is defined as exactly that.
std::int32_t wrapToInt32(std::uint64_t magnitude, bool negative) {
  const std::uint64_t bits = negative ? 0 - magnitude : magnitude;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
}

// The extended value nearest to 0.01 is 0xA3D70A3D70A3D70A × 2^-70; the exact 0.01 lies 0.24 units of the
// last place above it.
constexpr std::uint64_t kHundredthMantissa = 0xA3D70A3D70A3D70AULL;
constexpr int kHundredthExponent = -70;

}  // namespace

std::int32_t RatioToPercent(std::int32_t part, std::int32_t whole) {
  if (whole == 0) return 0;
  // part × 100 is exact in the extended type, and the one rounding of the division never reaches the next
  // integer: a non-integral quotient is at least 1/|whole| away from one, far more than the rounding error.
  // So the extended result's truncation is the exact quotient's, which integer division gives.
  const std::int64_t quotient = static_cast<std::int64_t>(part) * 100 / whole;
  return static_cast<std::int32_t>(quotient);
}

std::int32_t PercentToLength(std::int32_t percent, std::int32_t length) {
  if (percent == 0 || length == 0) return 0;
  const bool negative = (percent < 0) != (length < 0);
  const Extended fraction =
      roundToExtended(Uint128{magnitude(percent)} * kHundredthMantissa, kHundredthExponent);
  const Extended product = roundToExtended(Uint128{fraction.mantissa} * magnitude(length), fraction.exponent);
  return wrapToInt32(truncate(product), negative);
}

}  // namespace glanex
