// Mantissa and exponent from a base-10 logarithm.
#include "text/scientific_text.h"

#include <cmath>

#include "text/decimal_text.h"

namespace varisift {

std::string two_digit_scientific(double log10_value) {
  if (std::isnan(log10_value)) return "nan";
  if (std::isinf(log10_value)) return log10_value < 0 ? "0" : "inf";
  double exponent = std::floor(log10_value);
  std::string mantissa = fixed_decimals(std::pow(10.0, log10_value - exponent), 1);
  if (mantissa == "10.0") {
    mantissa = "1.0";
    exponent += 1;
  }
  return mantissa + "e" + fixed_decimals(exponent, 0);
}

}  // namespace varisift
