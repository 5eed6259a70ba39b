// Median by selection.
#include "indices/medians.h"

#include <algorithm>

namespace varisift {

double median_in_place(std::span<double> values) {
  const std::size_t n = values.size();
  if (n == 0) return 0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (n % 2 == 1) return *middle;
  // nth_element leaves every value before the upper middle no larger than
  // it, so the lower middle is the largest of them.
  double lower_middle = *std::max_element(values.begin(), middle);
  return (lower_middle + *middle) / 2;
}

}  // namespace varisift
