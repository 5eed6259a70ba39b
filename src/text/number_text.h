// Reading numbers from text and storing them in integer fields.
//
// text_to_number takes the longest decimal prefix of a text (after leading
// blanks): optional sign, digits with at most one point and at least one
// digit, then optionally an exponent letter (e, E, d or D) with an optional
// sign and at least one digit. The value is the correctly rounded double of
// that prefix; a text without such a prefix reads as 0. It never fails, never
// throws and never allocates. Hostile prefixes are well defined: an exponent
// too large gives +-infinity, one too small gives +-0; words such as "inf" or
// "nan" and hexadecimal texts read as 0 (or as the digits before the "x").
//
// The integer conversions round to nearest, ties to even, as every integer
// field of the store is filled. A value beyond the 64-bit range saturates
// (+-infinity included), NaN gives 0, and a field narrower than 64 bits keeps
// the low bits of the 64-bit result, as the 8-bit FWHM keeps 300 as 44.
#pragma once

#include <cstdint>
#include <string_view>

namespace varisift {

double text_to_number(std::string_view s);

// The nearest whole number, ties to even, as a double (infinities and NaN
// unchanged); the same as std::nearbyint in the default rounding mode.
double round_half_even(double value);

// Nearest integer, ties to even, saturated to the 64-bit range; NaN gives 0.
std::int64_t round_to_int64(double value);

// round_to_int64, then the low bits that fit the field.
std::int32_t round_to_s32(double value);
std::uint32_t round_to_u32(double value);
std::int16_t round_to_s16(double value);
std::uint8_t round_to_u8(double value);

}  // namespace varisift
