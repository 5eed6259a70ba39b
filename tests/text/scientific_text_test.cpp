// Two significant digits from a base-10 logarithm: rounding of the
// mantissa, its carry into the exponent, values below the smallest double.
#include "text/scientific_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varisift {
namespace {

TEST(ScientificText, TwoSignificantDigits) {
  struct Case {
    double log10_value;
    const char* text;
  };
  const Case cases[] = {
      {std::log10(3.1e-12), "3.1e-12"},
      {std::log10(3.16e-12), "3.2e-12"},
      {std::log10(9.96e-5), "1.0e-4"},  // the mantissa carries: 10.0 is 1.0 of the next power
      {std::log10(9.94e-5), "9.9e-5"},
      {-3, "1.0e-3"},
      {0, "1.0e0"},
      {std::log10(0.5), "5.0e-1"},
      {-390.98948, "1.0e-391"},  // far below the smallest double
      {-std::numeric_limits<double>::infinity(), "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(two_digit_scientific(c.log10_value), c.text) << c.log10_value;
}

}  // namespace
}  // namespace varisift
