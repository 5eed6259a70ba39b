// Reading numbers from the columns of the measurement log and the catalogue,
// and storing the results in the integer fields of the store.
//
// text_to_number runs once per numeric column of every measurement line, so
// the common case (a few digits, perhaps a point and a sign) is handled by one
// pass over the text and at most one floating-point multiplication or
// division. Anything else goes through std::from_chars on a cleaned copy of
// the number in a stack buffer.
#include "text/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace varisift {

namespace {

constexpr char blank = ' ';

// Up to 19 decimal digits always fit a 64-bit unsigned integer.
constexpr std::int64_t max_fast_digits = 19;
// Integers up to 2^53 are exact doubles.
constexpr std::uint64_t max_exact_integer = std::uint64_t{1} << 53;
// Powers of ten up to 10^22 are exact doubles.
constexpr int max_exact_power = 22;
constexpr double exact_powers_of_ten[max_exact_power + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Exponent digits stop accumulating beyond this; the saturated value still
// decides overflow or underflow correctly for any text shorter than 10^12 bytes.
constexpr std::int64_t exponent_cap = 1'000'000'000'000;

// A value whose first significant digit stands at 10^X with X above this is
// beyond the largest double (about 1.8e308): infinity. One with X below the
// other bound is below half the smallest subnormal (about 4.9e-324): zero.
constexpr std::int64_t overflow_power = 310;
constexpr std::int64_t underflow_power = -330;

// Significant digits kept for the slow path. Every value halfway between two
// adjacent doubles has fewer than 770 significant digits, so cutting a longer
// digit string here and appending one nonzero "sticky" digit when anything
// nonzero was cut off leaves the correctly rounded result unchanged.
constexpr std::int64_t max_kept_digits = 800;
// Kept digits, the sticky digit, "e", a sign and a short exponent.
constexpr std::size_t slow_buffer_size = max_kept_digits + 32;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// The scanned shape of a decimal prefix: its digit characters (with perhaps one
// point among them) and the exponent that follows.
struct DecimalPrefix {
  const char* digits_begin = nullptr;  // first digit or point of the mantissa
  const char* digits_end = nullptr;    // one past the mantissa
  std::int64_t significant = 0;        // digits from the first nonzero one on
  std::int64_t fraction_digits = 0;    // digits after the point
  std::uint64_t leading_value = 0;     // the first min(significant, 19) digits as an integer
  std::int64_t exponent = 0;           // value of the exponent part, saturated
};

// The value of a prefix whose fast path did not apply, as a positive double.
// Precondition: prefix.significant > 0.
double slow_value(const DecimalPrefix& prefix) {
  const std::int64_t scale = prefix.exponent - prefix.fraction_digits;
  const std::int64_t first_power = prefix.significant - 1 + scale;
  if (first_power > overflow_power) {
    return std::numeric_limits<double>::infinity();
  }
  if (first_power < underflow_power) {
    return 0.0;
  }

  char buffer[slow_buffer_size];
  std::int64_t kept = 0;
  bool cut_nonzero = false;
  bool started = false;
  for (const char* p = prefix.digits_begin; p != prefix.digits_end; ++p) {
    const char c = *p;
    if (!is_digit(c)) {
      continue;  // the point
    }
    if (!started && c == '0') {
      continue;
    }
    started = true;
    if (kept < max_kept_digits) {
      buffer[kept++] = c;
    } else if (c != '0') {
      cut_nonzero = true;
      break;
    }
  }
  std::int64_t buffer_exponent = scale + (prefix.significant - kept);
  std::size_t length = static_cast<std::size_t>(kept);
  if (cut_nonzero) {
    buffer[length++] = '1';
    buffer_exponent -= 1;
  }
  buffer[length++] = 'e';
  // first_power is bounded above, so buffer_exponent has at most five characters.
  const auto written = std::to_chars(buffer + length, buffer + slow_buffer_size, buffer_exponent);
  length = static_cast<std::size_t>(written.ptr - buffer);

  double value = 0.0;
  const auto result = std::from_chars(buffer, buffer + length, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range after rounding: a large first digit overflowed, a small one
    // underflowed.
    value = first_power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

}  // namespace

double text_to_number(std::string_view s) {
  const char* p = s.data();
  const char* const end = p + s.size();
  while (p != end && *p == blank) {
    ++p;
  }
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }

  DecimalPrefix prefix;
  prefix.digits_begin = p;
  bool any_digit = false;
  bool seen_point = false;
  for (; p != end; ++p) {
    const char c = *p;
    if (is_digit(c)) {
      any_digit = true;
      if (prefix.significant > 0 || c != '0') {
        if (prefix.significant < max_fast_digits) {
          prefix.leading_value = prefix.leading_value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        ++prefix.significant;
      }
      if (seen_point) {
        ++prefix.fraction_digits;
      }
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (!any_digit) {
    return 0.0;
  }
  prefix.digits_end = p;

  // The exponent counts only when its letter is followed by at least one digit.
  if (p != end && is_exponent_letter(*p)) {
    const char* q = p + 1;
    bool exponent_negative = false;
    if (q != end && (*q == '+' || *q == '-')) {
      exponent_negative = *q == '-';
      ++q;
    }
    if (q != end && is_digit(*q)) {
      std::int64_t exponent = 0;
      for (; q != end && is_digit(*q); ++q) {
        if (exponent < exponent_cap) {
          exponent = exponent * 10 + (*q - '0');
        }
      }
      prefix.exponent = exponent_negative ? -exponent : exponent;
    }
  }

  double magnitude = 0.0;
  if (prefix.significant == 0) {
    magnitude = 0.0;  // all digits zero: the sign is kept below
  } else {
    const std::int64_t scale = prefix.exponent - prefix.fraction_digits;
    if (prefix.significant <= max_fast_digits && prefix.leading_value <= max_exact_integer &&
        scale >= -max_exact_power && scale <= max_exact_power) {
      // Both operands are exact, so one IEEE operation rounds correctly.
      const double mantissa = static_cast<double>(prefix.leading_value);
      magnitude = scale >= 0 ? mantissa * exact_powers_of_ten[scale] : mantissa / exact_powers_of_ten[-scale];
    } else {
      magnitude = slow_value(prefix);
    }
  }
  return negative ? -magnitude : magnitude;
}

std::int64_t round_to_int64(double value) {
  constexpr double two_to_63 = 9223372036854775808.0;
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= two_to_63) {
    return std::numeric_limits<std::int64_t>::max();
  }
  if (value < -two_to_63) {
    return std::numeric_limits<std::int64_t>::min();
  }
  // Every double in [-2^63, 2^63) rounds to an integer in that range.
  return static_cast<std::int64_t>(round_half_even(value));
}

double round_half_even(double value) {
  // From 2^52 on every double is a whole number. Below it, adding 2^52
  // leaves no fraction bits, so the IEEE addition itself rounds to the
  // nearest whole number, ties to even; subtracting 2^52 again is exact.
  constexpr double two_to_52 = 4503599627370496.0;
  double magnitude = std::fabs(value);
  if (!(magnitude < two_to_52)) {
    return value;  // whole already, or infinite, or NaN
  }
  double rounded = (magnitude + two_to_52) - two_to_52;
  return std::copysign(rounded, value);
}

// C++20 defines integer narrowing as reduction modulo 2^N: the low bits stay.
std::int32_t round_to_s32(double value) { return static_cast<std::int32_t>(round_to_int64(value)); }
std::uint32_t round_to_u32(double value) { return static_cast<std::uint32_t>(round_to_int64(value)); }
std::int16_t round_to_s16(double value) { return static_cast<std::int16_t>(round_to_int64(value)); }
std::uint8_t round_to_u8(double value) { return static_cast<std::uint8_t>(round_to_int64(value)); }

}  // namespace varisift
