// Light-curve assembly: per-image trend offsets against the faintest floored
// image mean among the star's images, the curve in time order, its extremes,
// and whether the star has enough measurements to go on.
#include "stars/light_curve.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::add_image;
using detect_fixtures::one_per_image;
using detect_fixtures::set_stars;

// count1 magnitudes mag1, then count2 magnitudes mag2.
std::vector<std::int16_t> mags(int count1, std::int16_t mag1, int count2, std::int16_t mag2) {
  std::vector<std::int16_t> m(count1, mag1);
  m.insert(m.end(), count2, mag2);
  return m;
}

TEST(TrendOffset, RoundsTheDistanceToTheExactImageMeanHalfUp) {
  struct Case {
    const char* mean;
    std::vector<std::int16_t> mags;
    std::int16_t reference;
    std::int8_t correction;
    std::int16_t offset;
  };
  const Case cases[] = {
      {"1234.7", mags(3, 1234, 7, 1235), 1234, 1, -1},
      {"1230.5", {1230, 1231}, 1234, 1, 4},
      {"1234.5", {1234, 1235}, 1234, 1, 0},
      {"1234.51", mags(49, 1234, 51, 1235), 1234, 1, -1},
      {"-0.5", {-1, 0}, 0, 1, 1},
      {"1230.5 without correction", {1230, 1231}, 1234, 0, 0},
  };
  for (const Case& c : cases) {
    ObservationStore store;
    add_image(store, "20170301180000", c.mags);
    EXPECT_EQ(trend_offset(store.images[1], c.reference, c.correction), c.offset) << "image mean " << c.mean;
  }
}

TEST(BuildLightCurve, WithoutCorrectionTheMeasuredMagnitudesInTimeOrder) {
  ObservationStore store;
  const char* times[] = {"20170301190000", "20170301180000", "20170301200000", "20170301170000",
                         "20170301210000", "20170301220000", "20170301230000"};
  for (int k = 0; k < 7; ++k) add_image(store, times[k], {static_cast<std::int16_t>(1010 + 10 * k), 900});
  store.image_order = {0, 4, 2, 1, 3, 5, 6, 7};
  set_stars(store, {one_per_image(1, 7)});
  LightCurve curve;
  EXPECT_TRUE(build_light_curve(store, 1, curve));
  EXPECT_EQ(std::vector<std::int16_t>(curve.in_time_order.begin(), curve.in_time_order.begin() + curve.count),
            (std::vector<std::int16_t>{1040, 1020, 1010, 1030, 1050, 1060, 1070}));
  EXPECT_EQ(std::vector<int>(curve.image.begin(), curve.image.begin() + curve.count),
            (std::vector<int>{4, 2, 1, 3, 5, 6, 7}));
  EXPECT_EQ(curve.curve_min, 1010);
  EXPECT_EQ(curve.curve_max, 1070);
}

TEST(BuildLightCurve, CorrectionShiftsEachImageToTheFaintestFlooredMean) {
  ObservationStore store;
  // Image 1 has the mean 1234.7 and the star at 1235; image 2 the mean
  // 1230.5 and the star at 1230. Image 3, fainter still, lacks the star.
  std::vector<std::int16_t> first = mags(1, 1235, 3, 1234);
  first.insert(first.end(), 6, 1235);
  add_image(store, "20170301180000", first);
  add_image(store, "20170301190000", {1230, 1231});
  add_image(store, "20170301200000", {1300});
  set_stars(store, {{{1, 1}, {2, 1}}});
  store.parameters.trend_correction = 1;
  LightCurve curve;
  EXPECT_FALSE(build_light_curve(store, 1, curve));
  EXPECT_EQ(curve.trend_reference, 1234);
  ASSERT_EQ(curve.count, 2);
  EXPECT_EQ(curve.in_time_order[0], 1235 - 1);
  EXPECT_EQ(curve.in_time_order[1], 1230 + 4);
}

TEST(BuildLightCurve, ImageWithoutValidDataLeavesCurveAndReference) {
  ObservationStore store;
  for (int k = 0; k < 7; ++k) add_image(store, "20170301180000", {1000});
  add_image(store, "20170302000000", {1300});
  set_stars(store, {one_per_image(1, 8)});
  store.parameters.trend_correction = 1;
  LightCurve curve;
  ASSERT_TRUE(build_light_curve(store, 1, curve));
  EXPECT_EQ(curve.count, 8);
  EXPECT_EQ(curve.curve_min, 1300);  // every image shifted to the faint one

  store.images[8].no_valid_data = true;
  ASSERT_TRUE(build_light_curve(store, 1, curve));
  EXPECT_EQ(curve.trend_reference, 1000);
  EXPECT_EQ(curve.count, 7);
  EXPECT_EQ(curve.curve_max, 1000);
}

TEST(BuildLightCurve, GoesOnOnlyWithMoreThanSixMeasurements) {
  for (int images : {1, 6, 7}) {
    ObservationStore store;
    for (int k = 0; k < images; ++k) add_image(store, "20170301180000", {1000});
    // A star seen in one image only was never matched and has no entries.
    set_stars(store, {one_per_image(1, static_cast<std::uint8_t>(images))});
    LightCurve curve;
    curve.count = 5;  // left from an earlier star
    EXPECT_EQ(build_light_curve(store, 1, curve), images > 6) << images << " measurements";
    EXPECT_EQ(curve.count, images > 1 ? images : 0);
    if (images == 1) {
      EXPECT_EQ(curve.curve_min, 9999);
      EXPECT_EQ(curve.curve_max, -9999);
    }
  }
}

}  // namespace
}  // namespace varisift
