// The console detail block of a reported star: framed title, the log lines
// of its measurements marked as in range, outside the fences or in an image
// without valid data, the bar chart of the in-range values, and the
// quartile, range and criterion lines.
#include "detect/detail_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "detect/variability_walk.h"
#include "stars/curve_statistics.h"
#include "stars/identify_stars.h"
#include "support/detect_fixtures.h"
#include "support/star_entries.h"

namespace varisift {
namespace {

using detect_fixtures::lines_of;

const std::string frame = "+" + std::string(77, '-') + "+";

// A measurement line of the block: the mark, the time stamp, a blank and the
// first 62 columns of the log line, and the closing mark.
std::string shown(const char* open, const std::string& time, const char* mag, const char* close) {
  std::string line = open;
  line += time;
  line += "   05 12 33.456   +0.00   +45 30 15.25   +0.00   ";
  line += mag;
  line += "   +0.00 ";
  line += close;
  return line;
}

// A heading of the log's table: a blank, 15 blanks to line it up with the
// time stamps, then its first 62 columns.
std::string heading(std::string_view log_heading) {
  return std::string(16, ' ') + std::string(log_heading.substr(0, 62));
}

TEST(DetailBlock, MarksEachMeasurementAndDrawsTheInRangeBars) {
  // Valid magnitudes 10.00 10.03 10.01 10.17 10.02 10.05 10.04 have the
  // fences 9.89 and 10.17; the eighth image has no valid data.
  const char* mags[] = {"10.00", "10.03", "10.01", "10.17", "10.02", "10.05", "10.04", " 9.90"};
  std::vector<detect_fixtures::LogImage> images;
  for (int k = 0; k < 8; ++k) images.push_back({detect_fixtures::minutes_after_six(k), {{.mag = std::stod(mags[k])}}});
  ObservationStore store = detect_fixtures::read_log(images);
  detect_fixtures::set_stars(store, {detect_fixtures::one_per_image(1, 8)});
  store.images[8].no_valid_data = true;
  StarAnalysis a;
  ASSERT_TRUE(build_light_curve(store, 1, a.curve));
  light_curve_statistics(a.curve, store.parameters.outlier_factor);
  ASSERT_EQ(a.curve.upper_fence, 1017);
  a.candidate_number = 1;
  ReportChannel out;
  write_detail_first_half(store, a, out);

  std::vector<std::string> expected = {
      "",
      frame,
      "|                                  star    1                                  |",
      "|                             identified       1                              |",
      frame,
      heading(detect_fixtures::log_heading_1),
      heading(detect_fixtures::log_heading_2),
  };
  const char* opens[] = {" ", " ", " ", "(", " ", " ", " ", "["};
  const char* closes[] = {"", "", "", ")", "", "", "", "]"};
  for (int k = 0; k < 8; ++k)
    expected.push_back(shown(opens[k], detect_fixtures::minutes_after_six(k), mags[k], closes[k]));
  for (const char* bar : {"*", "****", "**", "***", "******", "*****"}) expected.push_back(bar);
  EXPECT_EQ(lines_of(out.collected(Destination::console)), expected);
  EXPECT_EQ(out.collected(Destination::report), "");
}

TEST(DetailBlock, TitleLinesAreAsWideAsTheFrame) {
  ObservationStore store;
  store.stars.images_seen.assign(1235, 1);
  build_star_entries(store);
  StarAnalysis a;
  a.curve.star = 1234;
  a.candidate_number = 1;
  ReportChannel out;
  write_detail_first_half(store, a, out);
  std::vector<std::string> lines = lines_of(out.collected(Destination::console));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2], "|                                  star    1                                  |");
  EXPECT_EQ(lines[3], "|                             identified    1234                              |");
  EXPECT_EQ(lines[3].size(), frame.size());
}

TEST(DetailBlock, SecondHalfShowsQuartilesRangesAndCriteria) {
  // Identified in 25 images; valid magnitudes 12.10 to 12.80; 23 in-range
  // values from 12.15 to 12.60.
  ObservationStore store;
  store.stars.images_seen = {0, 25};
  StarAnalysis a;
  a.curve.star = 1;
  a.curve.curve_min = 1210;
  a.curve.curve_max = 1280;
  a.curve.inlier_min = 1215;
  a.curve.inlier_max = 1260;
  a.curve.lower_fence = 1150;
  a.curve.lower_quartile = 1220;
  a.curve.median = 1230;
  a.curve.upper_quartile = 1240;
  a.curve.upper_fence = 1300;
  a.walk = {.inlier_count = 23, .path_sum = 120, .square_sum = 900, .weighted_path = 150, .reversal_count = 3};
  a.inlier_range = 45;
  a.full_range = 70;
  compute_criteria(a);
  ReportChannel out;
  write_detail_second_half(store, a, out);
  EXPECT_EQ(out.collected(Destination::console),
            "Quartils: 1150 1220 1230 1240 1300\r\n"
            "All 25 measurements from 12.10 mag to 12.80 mag (range of 0.70 mag)\r\n"
            "Without outliers 23 obs from 12.15 mag to 12.60 mag (range of 0.45 mag)\r\n"
            "1st detection criteria: 120  171 7/meas.\r\n"
            "2nd detection criteria: 900  66  2/meas.\r\n"
            "3rd detection criteria: 150  45  333%  14%/meas.  (3 sign changes).\r\n");
}

}  // namespace
}  // namespace varisift
