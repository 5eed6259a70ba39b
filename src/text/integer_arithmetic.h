// Small exact integer operations shared by the phases: floored division,
// magnitudes and sums that cannot overflow on hostile input.
#pragma once

#include <cstdint>
#include <limits>

namespace varisift {

// floor(a / b) for b > 0, exact for every 64-bit a.
inline std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t quotient = a / b;  // truncates toward zero
  if (a % b != 0 && a < 0) --quotient;
  return quotient;
}

// |v|, with the one value that has no positive counterpart held at the largest.
inline std::int64_t abs64(std::int64_t v) {
  if (v >= 0) return v;
  return v == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -v;
}

// a + b wrapping around at 64 bits instead of overflowing.
inline std::int64_t wrapping_add(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

}  // namespace varisift
