// Hand-made number formatting for the simulator's writers: integers and
// fixed-point values (an integer with an implied number of decimals) appended
// to a string, right-aligned in a field. No locale, no floating point, no
// iostream, so the bytes are the same everywhere and the hot loop stays fast.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varisift::simulate {

// How the sign of a fixed-point value is written.
enum class Sign {
  minus_only,  // "-" for negative values, nothing otherwise
  always,      // "+" or "-"
};

// value (>= 0) with at least `width` digits, leading zeros.
void append_zero_padded(std::string& out, std::int64_t value, int width);

// value in decimal, right-aligned in `width` (wider values are written whole).
void append_int(std::string& out, std::int64_t value, int width);

// scaled / 10^decimals with exactly `decimals` digits after the point,
// right-aligned in `width`. force_minus writes "-" also for a zero value (the
// "-0.00" of a residual that was negative before rounding).
void append_fixed(std::string& out, std::int64_t scaled, int decimals, int width, Sign sign = Sign::minus_only,
                  bool force_minus = false);

// text padded with blanks to `width` on the right, or cut to `width`.
void append_left(std::string& out, std::string_view text, int width);

// count blanks.
void append_blanks(std::string& out, int count);

}  // namespace varisift::simulate
