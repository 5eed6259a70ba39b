// Rendering numbers as report text: the plain form of a value of a declared
// width, and a value through a "#" mask such as "##.##" or "###:".
//
// Rendering is separate from output: each function appends bytes to a
// string and touches nothing else, so a row can be checked without a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varisift {

// The declared type of a value written in plain form.
enum class PlainKind { U8, S8, U16, S16, U32, S32, Real };

// Plain form of an integer held in the width of kind (the value is first
// reduced to that width, keeping the low bits): unsigned kinds as bare digits,
// signed kinds with one leading blank or "-". kind must not be Real.
void append_plain(std::string& out, std::int64_t value, PlainKind kind);

// Plain form of a real: one blank or "-" (negative zero included), then the
// value rounded half up to 16 significant digits from its exact binary value;
// fixed notation when the decimal exponent X of the rounded value satisfies
// -4 <= X < 16, else d.ddd with "e", sign and at least three exponent digits.
// Trailing fraction zeros and a trailing point are removed.
void append_plain_real(std::string& out, double value);

// The value through a mask: one field of "#" with an optional "." and more
// "#", then literal text. Reals are first rounded half up to 16 significant
// digits, then half up to the mask's decimals. A negative value takes one
// integer position for its "-". A value up to three digits too wide widens
// the field behind a leading "%"; a wider one is written in exponent form.
void append_masked(std::string& out, std::string_view mask, double value);
void append_masked(std::string& out, std::string_view mask, std::int64_t value);
void append_masked_unsigned(std::string& out, std::string_view mask, std::uint64_t value);

}  // namespace varisift
