// The counting sort of magnitudes gives std::sort's order on random curves:
// narrow and wide spans, the whole 16-bit range, many equal values.
#include "stars/magnitude_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace varisift {
namespace {

TEST(MagnitudeSort, EqualsAComparisonSortOnRandomCurves) {
  std::mt19937 rng(2026);
  const int spans[] = {0, 1, 255, 256, 257, 1000, 65535};
  for (int round = 0; round < 20000; ++round) {
    const std::size_t n = rng() % 210;
    const int span = spans[round % 7];
    const int low = -32768 + static_cast<int>(rng() % static_cast<unsigned>(65536 - span));
    std::vector<std::int16_t> values(n);
    for (std::int16_t& v : values) v = static_cast<std::int16_t>(low + static_cast<int>(rng() % (span + 1u)));
    std::vector<std::int16_t> sorted(n), scratch(n);
    sort_magnitudes(values, sorted, scratch);
    std::vector<std::int16_t> expected = values;
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(sorted, expected) << "span " << span << ", " << n << " values";
  }
}

}  // namespace
}  // namespace varisift
