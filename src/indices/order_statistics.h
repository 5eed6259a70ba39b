// The median of values in ascending order, and the median of their absolute
// deviations from a centre, for values reached through an accessor: a
// sorted light curve, or the stars of a magnitude bin counted by the rank of
// their index. value_at(i) is the (i+1)-th smallest of n values.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace varisift {

// The middle value, or for an even count the mean of the two middle values.
// Equal values are interchangeable, so no tie rule is needed. n >= 1.
template <typename ValueAt>
double median_of_ascending(const ValueAt& value_at, std::size_t n) {
  if (n % 2 == 1) return value_at(n / 2);
  return (value_at(n / 2 - 1) + value_at(n / 2)) / 2;
}

// The k-th smallest (1-based, 1 <= k <= n) of |value - centre|. The k
// values nearest the centre are k neighbours in ascending order, from the
// first start s where moving one further up would not bring a nearer value
// in: value(s + k) - centre >= centre - value(s). That difference grows
// with s, so a binary search finds it in log n steps. The k-th smallest
// deviation is the larger of the two at the ends of that run; where
// deviations are equal, any such run gives the same value.
template <typename ValueAt>
double kth_deviation(const ValueAt& value_at, std::size_t n, double centre, std::size_t k) {
  std::size_t low = 0;
  std::size_t high = n - k;  // the last possible start
  while (low < high) {
    std::size_t start = low + (high - low) / 2;
    if (value_at(start + k) - centre >= centre - value_at(start))
      high = start;
    else
      low = start + 1;
  }
  return std::max(std::fabs(value_at(low) - centre), std::fabs(value_at(low + k - 1) - centre));
}

// The median of |value - centre|, by the median rule above. n >= 1.
template <typename ValueAt>
double median_deviation(const ValueAt& value_at, std::size_t n, double centre) {
  if (n % 2 == 1) return kth_deviation(value_at, n, centre, n / 2 + 1);
  return (kth_deviation(value_at, n, centre, n / 2) + kth_deviation(value_at, n, centre, n / 2 + 1)) / 2;
}

}  // namespace varisift
