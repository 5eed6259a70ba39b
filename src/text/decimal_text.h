// Numbers in plain decimal with a fixed number of decimals, for the files
// that other tools read (CSV, AAVSO, HTML): the same bytes on every
// platform and in every locale.
#pragma once

#include <cstdint>
#include <string>

namespace varisift {

// The value with exactly `decimals` decimals (0 to 17), rounded from its
// exact binary value to the nearest, ties to even, as std::to_chars does; a
// value that rounds to zero is written without a sign ("0.000", never
// "-0.000"); "inf", "-inf" or "nan" for values that are not finite.
std::string fixed_decimals(double value, int decimals);

// A whole number of units of 10^-decimals as exact decimal text: -150 with
// 2 decimals is "-1.50", 5 with 5 decimals "0.00005".
std::string scaled_integer_text(std::int64_t value, int decimals);

}  // namespace varisift
