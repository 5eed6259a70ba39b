// Floored field means (toward minus infinity, exact for every 64-bit sum),
// the mean image magnitude, and the variation threshold lowered to the
// number of images.
#include "fields/field_means.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

TEST(FieldMean, FloorsTowardMinusInfinity) {
  struct Case {
    std::int64_t sum;
    std::uint16_t count;
    std::int64_t mean;
  };
  const Case cases[] = {
      {-7, 2, -4},  // a negative half goes down, not toward zero
      {7, 2, 3},
      {-8, 2, -4},
      {-1, 3, -1},
      {86400001, 2, 43200000},
      {9007199254740993, 1, 9007199254740993},  // beyond 2^53: no trip through a double
      {std::numeric_limits<std::int64_t>::min(), 3, -3074457345618258603},
      {12345, 0, 0},  // a field without measurements reads as 0
  };
  for (const Case& c : cases) EXPECT_EQ(field_mean(c.sum, c.count), c.mean) << c.sum << " / " << c.count;

  ObservationStore store;
  detect_fixtures::add_image(store, "20170301180000", {-3, -2});
  EXPECT_EQ(mean_image_mag(store.images[1]), -3);
}

TEST(FieldMean, VariationThresholdIsLoweredToTheNumberOfImages) {
  struct Case {
    std::size_t images;
    std::uint16_t threshold;
  };
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{12, 12}, Case{30, 30}, Case{40, 30}}) {
    ObservationStore store;
    store.images.resize(c.images + 1);
    lower_variation_threshold(store);
    EXPECT_EQ(store.parameters.min_variation, c.threshold) << c.images << " images";
  }
}

}  // namespace
}  // namespace varisift
