// Scores against stars of similar magnitude on small tables of stars: the
// bin size asked for, a bin widened in steps of 0.02 mag with its ends
// included, a wide bin next to narrow ones, a table smaller than a bin, and
// a spread of 0 with and without a floor.
#include "indices/magnitude_bins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace varisift {
namespace {

TEST(StarsPerBin, ATenthOfTheStarsBetween20And100) {
  const std::size_t cases[][2] = {{0, 20}, {209, 20}, {210, 21}, {999, 99}, {1000, 100}, {30000, 100}};
  for (const auto& c : cases) EXPECT_EQ(stars_per_bin(c[0]), c[1]) << c[0];
}

TEST(SimilarMagnitudeScores, BinWidenedUntilItHolds20Stars) {
  // 19 stars at 10.00 with values 0..18, and stars at 10.26, 10.27, 10.28
  // (value 100 each) and 11.00 (value 50): 23 stars, bins of 20. The bin of
  // 10.00 reaches its 20th star at 0.26 mag, so it is widened to 0.27 and
  // holds 10.27 too, not 10.28: 21 values, median 10; |v - 10| has median 5.
  std::vector<MagnitudeAndIndex> stars{{1100, 50}};
  for (int v = 0; v < 19; ++v) stars.push_back({1000, static_cast<double>(v)});
  stars.push_back({1028, 100});
  stars.push_back({1026, 100});
  stars.push_back({1027, 100});
  std::vector<std::optional<double>> scores = similar_magnitude_scores(stars);
  ASSERT_EQ(scores.size(), stars.size());
  const double spread = 1.4826 * 5;
  EXPECT_EQ(scores[1], (0 - 10) / spread);
  EXPECT_EQ(scores[19], (18 - 10) / spread);
  // 11.00 is 0.72 mag from 10.28 and 1.00 from the 19 at 10.00: its bin is
  // widened to 1.01 mag and holds every star: median 11, |v - 11| median 6.
  EXPECT_EQ(scores[0], (50 - 11) / (1.4826 * 6));
}

TEST(SimilarMagnitudeScores, ANarrowerBinNextToAWideOneDropsItsEnds) {
  // Two stars at 9.00 (value 1000), one at 10.00 (50), one at 10.01 (60),
  // 18 at 11.00 (0..17) and one at 11.01 (1000). The bin of 10.00 reaches
  // its 20th star at 1.00 mag and widens to 1.01, holding all 23: median 11,
  // |v - 11| median 6. The bin of 10.01 has its 20th at 0.99 mag: 9.00 and
  // 11.01 drop out, 20 values, median 9.5, |v - 9.5| median 5.
  std::vector<MagnitudeAndIndex> stars{{900, 1000}, {900, 1000}, {1000, 50}, {1001, 60}};
  for (int v = 0; v < 18; ++v) stars.push_back({1100, static_cast<double>(v)});
  stars.push_back({1101, 1000});
  std::vector<std::optional<double>> scores = similar_magnitude_scores(stars);
  EXPECT_EQ(scores[2], (50 - 11) / (1.4826 * 6));
  EXPECT_EQ(scores[3], (60 - 9.5) / (1.4826 * 5));
}

TEST(SimilarMagnitudeScores, FewerStarsThanABinHoldThemAll) {
  // Five stars 1 mag apart: every bin holds all five, median 3, |v - 3|
  // median 1.
  const std::vector<MagnitudeAndIndex> stars{{1200, 3}, {1000, 1}, {1400, 10}, {1100, 2}, {1300, 4}};
  std::vector<std::optional<double>> scores = similar_magnitude_scores(stars);
  const double expected[] = {0, -2, 7, -1, 1};
  for (std::size_t i = 0; i < stars.size(); ++i) EXPECT_EQ(scores[i], expected[i] / 1.4826) << i;
}

TEST(SimilarMagnitudeScores, AFloorStandsInForASpreadOfZero) {
  // Most values equal, as the IQRs of bright constant stars are: the median
  // absolute deviation is 0. Without a floor no star gets a score; with it
  // every star does, the spread being the floor.
  const std::vector<MagnitudeAndIndex> stars{{1000, 1}, {1000, 1}, {1010, 1}, {1020, 5}, {1030, 1}};
  for (const std::optional<double>& score : similar_magnitude_scores(stars)) EXPECT_FALSE(score.has_value());
  EXPECT_TRUE(similar_magnitude_scores({}).empty());
  const std::vector<std::optional<double>> floored = similar_magnitude_scores(stars, 0.25);
  const double expected[] = {0, 0, 0, 16, 0};
  for (std::size_t i = 0; i < stars.size(); ++i) EXPECT_EQ(floored[i], expected[i]) << i;
  // A spread above the floor is kept: 1.4826 x 1 beats 0.25.
  const std::vector<MagnitudeAndIndex> spread{{1000, 1}, {1000, 2}, {1000, 3}};
  EXPECT_EQ(similar_magnitude_scores(spread, 0.25)[2], 1 / 1.4826);
}

// The score of one star the plain way: its bin widened from 0.25 mag in
// steps of 0.02 mag until it holds enough stars (or all of them), its
// values sorted, the median and the median of the sorted deviations.
std::optional<double> direct_score(std::span<const MagnitudeAndIndex> stars, std::size_t i, double min_spread) {
  const std::size_t wanted = std::min(stars_per_bin(stars.size()), stars.size());
  std::vector<double> bin;
  for (int half_width = 25;; half_width += 2) {
    bin.clear();
    for (const MagnitudeAndIndex& s : stars)
      if (std::abs(s.magnitude - stars[i].magnitude) <= half_width) bin.push_back(s.value);
    if (bin.size() >= wanted) break;
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  };
  const double expected = median(bin);
  for (double& v : bin) v = v < expected ? expected - v : v - expected;
  const double spread = std::max(1.4826 * median(bin), min_spread);
  if (!(spread > 0)) return std::nullopt;
  return (stars[i].value - expected) / spread;
}

// The scores of bins shared by the stars of one magnitude, found from the
// bin of the magnitude before, equal those of each star's bin worked out
// alone, to the bit, on random tables: clusters of equal magnitudes and
// values, sparse and dense ranges, tables smaller and larger than a bin.
TEST(SimilarMagnitudeScores, EqualTheScoresOfEachBinWorkedOutAlone) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    const int n = std::uniform_int_distribution<int>(1, 400)(random);
    const int magnitude_spread = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? 30 : 800;
    const bool steps = round % 2 == 0;  // index values in steps, with many ties
    std::vector<MagnitudeAndIndex> stars(static_cast<std::size_t>(n));
    for (MagnitudeAndIndex& s : stars) {
      s.magnitude = static_cast<std::int16_t>(1200 + std::uniform_int_distribution<int>(0, magnitude_spread)(random));
      s.value = steps ? 0.0025 * std::uniform_int_distribution<int>(0, 8)(random)
                      : std::uniform_real_distribution<double>(0, 1)(random);
    }
    const double min_spread = round % 3 == 0 ? 0.0 : 0.0025;
    const std::vector<std::optional<double>> scores = similar_magnitude_scores(stars, min_spread);
    for (std::size_t i = 0; i < stars.size(); ++i)
      ASSERT_EQ(scores[i], direct_score(stars, i, min_spread)) << "round " << round << ", star " << i;
  }
}

}  // namespace
}  // namespace varisift
