// Numbers in scientific notation with two significant digits, given by
// their base-10 logarithm so that values far below the smallest double
// keep their size: "3.1e-12", "1.0e-391", "5.0e-1".
#pragma once

#include <string>

namespace varisift {

// The value 10^log10_value as d.de<exponent>: the mantissa rounded to one
// decimal ("10.0" carries to "1.0" and the next exponent), the exponent
// without a plus sign or leading zeros. "0" for minus infinity (the value
// 0), "inf" and "nan" for the others that are not finite.
std::string two_digit_scientific(double log10_value);

}  // namespace varisift
