// The tables that close the detection: per-image outlier limits from the
// quartiles of the counts, the per-image table that declares images without
// valid data, and the distribution of star identifications.
#include "detect/closing_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

// One hand-built image per count, at 18:00, 18:01, ...
ObservationStore images_with_outliers(const std::vector<std::int16_t>& counts) {
  ObservationStore store;
  for (std::size_t k = 0; k < counts.size(); ++k) {
    detect_fixtures::add_image(store, detect_fixtures::minutes_after_six(static_cast<int>(k)), {1000});
    store.images.back().outliers = counts[k];
  }
  return store;
}

TEST(OutlierLimits, QuartilesWidenedByTheirDistance) {
  struct Case {
    std::vector<std::int16_t> counts;
    std::int16_t low, high;
  };
  const Case cases[] = {
      {{}, 0, 0},               // no image at all
      {{3, 3, 3, 3}, 0, 3},     // equal counts: the limit is that count
      {{7, 3, 4, 3, 4}, 0, 5},  // Q1 3, Q3 4; a lower limit of 2 is held at 0
      {{0, 10, 0, 10}, -10, 20},
      {{3, 0, 2, 1}, -1, 5},  // Q1 H(0.5) = 1, Q3 H(2.5) = 3
  };
  for (const Case& c : cases) {
    OutlierLimits limits = outlier_limits(images_with_outliers(c.counts));
    EXPECT_EQ(limits.low, c.low) << c.counts.size() << " images";
    EXPECT_EQ(limits.high, c.high) << c.counts.size() << " images";
  }
}

TEST(JudgeImages, TableInTimeOrderDeclaresImagesAboveTheUpperLimit) {
  // Limits 0 and 5: image 11 with 5 outliers keeps its data, image 12 with 7 loses it.
  ObservationStore store = images_with_outliers({3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 5, 7});
  store.images[12].time = "20170301180000";
  store.image_order = {0, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  ReportChannel out;
  judge_images(store, out);
  std::vector<std::string> lines = detect_fixtures::lines_of(out.collected(Destination::console));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "Out of quartils number in image number ( 0- 5)");
  EXPECT_EQ(lines[1], "Image Time           Number");
  EXPECT_EQ(lines[2], "   12 20170301180000    7 no valid data");
  EXPECT_EQ(lines[3], "   11 20170301181000    5");
  EXPECT_EQ(lines[13], "    1 20170301180000    3");
  EXPECT_EQ(lines[14], "Observation numbers with fields of no valid data are marked with [*].");
  EXPECT_EQ(lines[15], "Observation numbers with data out of quartils in the obs itself are marked with (*).");
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(store.images[i].no_valid_data, i == 12) << "image " << i;
}

TEST(JudgeImages, NegativeLowerLimitIsShownWithItsSign) {
  ObservationStore store = images_with_outliers({0, 10, 0, 10});
  ReportChannel out;
  judge_images(store, out);
  EXPECT_EQ(detect_fixtures::lines_of(out.collected(Destination::console))[0],
            "Out of quartils number in image number (-10- 20)");
}

TEST(IdentificationDistribution, ListsTheOccurringCountsAsRepeatIdentifications) {
  ObservationStore store;
  store.ident_histogram[1] = 3;  // seen in one image only
  store.ident_histogram[6] = 120;
  store.ident_histogram[209] = 1234567;
  ReportChannel out;
  write_identification_distribution(store, out);
  EXPECT_EQ(out.collected(Destination::console),
            "Distribution of star identifications:\r\n"
            "  0 ids:     3 stars.\r\n"
            "  5 ids:   120 stars.\r\n"
            "208 ids:%1234567 stars.\r\n");
}

}  // namespace
}  // namespace varisift
