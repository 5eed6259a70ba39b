// The indices of the report pass's stars scored against stars of similar
// magnitude: the spread of a bin of equal IQRs or MADs is 0, and the finest
// step each index can show stands in for it (0.0025 mag for the IQR of
// quartiles by position, 0.005 mag for the MAD); 1/eta has no such floor.
#include "indices/star_indices.h"

#include <gtest/gtest.h>

#include <vector>

namespace varisift {
namespace {

TEST(VariabilityIndices, TheStepOfEachIndexIsTheFloorOfItsSpread) {
  // Five stars of 12.00 mag with an IQR and a MAD of 0.05 mag, but the third
  // with 0.06 mag; every 1/eta is 1.
  DetectionResults results;
  for (std::uint32_t star = 1; star <= 5; ++star) {
    StarResult r{.star = star, .has_statistics = true, .median = 1200};
    r.indices = {star == 3 ? 6.0 : 5.0, star == 3 ? 6.0 : 5.0, 1.0};
    results.stars.push_back(r);
  }
  const std::vector<StarIndices> indices = variability_indices(results);
  ASSERT_EQ(indices.size(), 5u);
  EXPECT_NEAR(*indices[2].iqr, 0.06, 1e-12);
  EXPECT_NEAR(*indices[2].iqr_score, 0.01 / 0.0025, 1e-9);
  EXPECT_NEAR(*indices[2].mad_score, 0.01 / 0.005, 1e-9);
  EXPECT_EQ(indices[0].iqr_score, 0.0);
  EXPECT_FALSE(indices[2].inv_eta_score.has_value());
}

}  // namespace
}  // namespace varisift
