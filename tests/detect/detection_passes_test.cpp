// The two detection passes over small series: the quarter test of the report
// pass with the count lines, its largest count taken over the selected stars
// only, and an image judged in the check pass that the report pass leaves
// out, while a star with too few measurements adds no outliers.
#include "detect/detection_passes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::lines_of;
using detect_fixtures::minutes_after_six;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Detection, ReportsOnlyStarsAboveAQuarterOfTheLargestInRangeCount) {
  // Forty images. Star 1 has 40 values rising by 0.01 mag; stars 2 and 3
  // have 10 and 11 values rising by 0.02 mag. All three pass the check pass;
  // 10 is not above 40 / 4, 11 is.
  ObservationStore store;
  std::vector<detect_fixtures::StarMeasurements> stars(3);
  for (int k = 1; k <= 40; ++k) {
    auto rising = [k](int start, int step) { return static_cast<std::int16_t>(start + step * k); };
    std::vector<std::int16_t> mags = {rising(999, 1)};
    if (k <= 11) mags.push_back(rising(998, 2));
    if (k <= 10) mags.push_back(rising(998, 2));
    std::uint8_t i = detect_fixtures::add_image(store, minutes_after_six(k), mags);
    stars[0].emplace_back(i, 1);
    if (k <= 11) stars[2].emplace_back(i, 2);
    if (k <= 10) stars[1].emplace_back(i, 3);
  }
  detect_fixtures::set_stars(store, stars);
  ReportChannel out;
  DetectionResults results;
  results.wanted = true;
  run_detection(store, out, results);

  const std::string& console = out.collected(Destination::console);
  const std::string check_pass =
      "check stars ***checked\r\n 3 possible variable of 3 identified stars.\r\n"
      "Out of quartils number in image number ( 0- 0)\r\n";
  EXPECT_EQ(console.substr(0, check_pass.size()), check_pass);
  EXPECT_TRUE(contains(console, "identified       1 "));
  EXPECT_FALSE(contains(console, "identified       2 "));
  EXPECT_TRUE(contains(console, "identified       3 "));
  EXPECT_TRUE(contains(console,
                       "checked\r\n 2 possible variable of 3 identified stars.\r\n"
                       "Distribution of star identifications:\r\n"
                       "  9 ids:     1 stars.\r\n"
                       " 10 ids:     1 stars.\r\n"
                       " 39 ids:     1 stars.\r\n"));
  std::vector<std::string> report = lines_of(out.collected(Destination::report));
  ASSERT_EQ(report.size(), 8u);
  EXPECT_EQ(report[1], " 3 possible variable of 3 identified stars.");
  // Candidate number, in-range count and criterion: 100 x 40 / 39 / 40 = 2,
  // 100 x 22 / 20 / 11 = 10.
  EXPECT_EQ(report[4].substr(0, 5) + report[4].substr(54, 9), "   1    40   2");
  EXPECT_EQ(report[5].substr(0, 5) + report[5].substr(54, 9), "   2    11  10");
  EXPECT_EQ(report[7], " 2 possible variable of 3 identified stars.");

  // The report pass's results: star 2 reached the criteria but failed the
  // quarter rule, so it has no candidate number.
  ASSERT_EQ(results.stars.size(), 3u);
  EXPECT_EQ(results.stars[0].candidate, 1);
  EXPECT_EQ(results.stars[1].candidate, 0);
  EXPECT_TRUE(results.stars[1].reached_criteria);
  EXPECT_EQ(results.stars[2].candidate, 2);
  EXPECT_EQ(results.stars[0].valid_count, 40);
  EXPECT_EQ(results.stars[0].inside_fences, 40);
  EXPECT_EQ(results.stars[2].weighted_criterion, 110);  // 100 x 22 / 20
}

TEST(Detection, AStarThatFailsSelectionDoesNotRaiseTheLargestInRangeCount) {
  // Forty images. Star 1 alternates between 10.00 and 10.05: all 40 values
  // lie in range, but a range of 0.05 mag is too small to select it. Star 2
  // has 10 values rising by 0.02 mag and is the only star the check pass
  // selects, so its own count is the largest, and it lies above a quarter of
  // that; star 1's count would have left it out.
  ObservationStore store;
  std::vector<detect_fixtures::StarMeasurements> stars(2);
  for (int k = 1; k <= 40; ++k) {
    std::vector<std::int16_t> mags = {static_cast<std::int16_t>(k % 2 == 0 ? 1000 : 1005)};
    if (k <= 10) mags.push_back(static_cast<std::int16_t>(998 + 2 * k));
    std::uint8_t i = detect_fixtures::add_image(store, minutes_after_six(k), mags);
    stars[0].emplace_back(i, 1);
    if (k <= 10) stars[1].emplace_back(i, 2);
  }
  detect_fixtures::set_stars(store, stars);
  ReportChannel out;
  DetectionResults results;
  run_detection(store, out, results);

  const std::string& console = out.collected(Destination::console);
  EXPECT_TRUE(contains(console, "check stars *checked\r\n 1 possible variable of 2 identified stars.\r\n"));
  EXPECT_TRUE(contains(console, "identified       2 "));
  EXPECT_TRUE(contains(console, "checked\r\n 1 possible variable of 2 identified stars.\r\nDistribution"));
}

TEST(Detection, ImageWithUnusualOutlierCountIsLeftOutOfTheReportPass) {
  // Star 1: 10.00 to 10.24 in steps of 0.04 in images 1-7, 15.00 beyond its
  // fence in image 8. Star 2 has six measurements, one of them wild, and is
  // never examined.
  std::vector<detect_fixtures::LogImage> images;
  for (int k = 0; k < 8; ++k) {
    detect_fixtures::LogImage image{minutes_after_six(k),
                                    {{.ra = "05 00 00.000",
                                      .dec = "+45 00 00.00",
                                      .mag = k < 7 ? 10.00 + 0.04 * k : 15.00,
                                      .fwhm = k < 7 ? 3.0 : 9.0}}};
    if (k < 6) image.lines.push_back({.ra = "06 00 00.000", .mag = k < 5 ? 11.00 : 18.00});
    images.push_back(image);
  }
  ObservationStore store = detect_fixtures::read_log(images);
  detect_fixtures::set_stars(store, {detect_fixtures::one_per_image(1, 8, 1), detect_fixtures::one_per_image(1, 6, 2)});
  ReportChannel out;
  DetectionResults results;
  run_detection(store, out, results);

  const std::string& console = out.collected(Destination::console);
  std::string table = "Out of quartils number in image number ( 0- 0)\r\nImage Time           Number\r\n";
  for (int i = 1; i <= 7; ++i) table += "    " + std::to_string(i) + " " + minutes_after_six(i - 1) + "    0\r\n";
  table += "    8 20170301180700    1 no valid data\r\n";
  EXPECT_TRUE(contains(console, table));
  // The report pass shows the eighth measurement in brackets; only the "All"
  // count still includes it.
  EXPECT_TRUE(contains(console, "\r\n[20170301180700   05 00 00.000 "));
  EXPECT_TRUE(contains(console, "\r\nAll 8 measurements from 10.00 mag to 10.24 mag (range of 0.24 mag)\r\n"));
  EXPECT_TRUE(contains(console, "\r\nWithout outliers 7 obs from 10.00 mag to 10.24 mag (range of 0.24 mag)\r\n"));
  EXPECT_TRUE(contains(console, "checked\r\n 1 possible variable of 2 identified stars.\r\n"));
  // V/Max includes the excluded measurement; the largest FWHM does not.
  std::vector<std::string> report = lines_of(out.collected(Destination::report));
  ASSERT_EQ(report.size(), 7u);
  EXPECT_EQ(report[4].substr(0, 63), "   1  5  0  0.000 +45  0  0.00 15.00 10.00 15.00  5.00    7  16");
  EXPECT_EQ(report[4].substr(report[4].size() - 6), "   3.0");
}

}  // namespace
}  // namespace varisift
