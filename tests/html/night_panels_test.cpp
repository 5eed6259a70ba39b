// The nights of a constructed series and their panels on a light curve's
// time axis: count and order, widths proportional to the nights' spans, the
// minimum width, the gaps, the six hours that part two nights, and hours
// that count on past the end of a Julian day.
#include "html/night_panels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

constexpr double frame = 960;
constexpr double gap = 8;

// An image at hour:minute UT on the given day of March 2017; JD 2457814.0
// is 2017-03-01 12:00 UT. The times are whole multiples of 45 minutes from
// 12:00 UT, which Julian dates in units of 1/100000 day hold exactly.
struct Shot {
  int day, hour, minute, second = 0;
};

std::vector<NightPanel> panels_of(const std::vector<Shot>& shots, SeriesNights* nights = nullptr) {
  ObservationStore store;
  for (const Shot& s : shots) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "201703%02d%02d%02d%02d", s.day, s.hour, s.minute, s.second);
    detect_fixtures::add_image(store, stamp, {});
  }
  SeriesNights series = nights_of(store);
  if (nights != nullptr) *nights = series;
  return night_panels(series.nights, frame);
}

double width(const NightPanel& p) { return p.right - p.left; }

// The pixel of an hour in a panel, as the figure draws it.
double pixel(const NightPanel& p, double hour) {
  return p.left + (hour - p.hours.low) / (p.hours.high - p.hours.low) * width(p);
}

TEST(NightPanels, OneNightFillsTheFrameWithItsImagesInsetFromTheEdges) {
  std::vector<NightPanel> panels = panels_of({{1, 18, 0}, {1, 19, 30}, {1, 21, 0}});
  ASSERT_EQ(panels.size(), 1u);
  EXPECT_EQ(panels[0].left, 0);
  EXPECT_EQ(panels[0].right, frame);
  EXPECT_EQ(panels[0].julian_day, 2457814);
  EXPECT_NEAR(pixel(panels[0], 6), frame * 0.03, 1e-9);  // 18:00 UT is hour 6 of the Julian day
  EXPECT_NEAR(pixel(panels[0], 9), frame * 0.97, 1e-9);
}

TEST(NightPanels, TwoNightsShareTheWidthInProportionToTheirSpans) {
  SeriesNights nights;
  // Three hours, then four and a half across 0 h UT.
  std::vector<NightPanel> panels = panels_of({{1, 18, 0}, {1, 21, 0}, {2, 19, 30}, {3, 0, 0}}, &nights);
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(nights.nights[1].label(), "2017-03-02/03");
  EXPECT_EQ(nights.night_of_image[3], 1u);
  EXPECT_DOUBLE_EQ(width(panels[0]), (frame - gap) * 0.4);
  EXPECT_DOUBLE_EQ(panels[1].left, panels[0].right + gap);
  EXPECT_EQ(panels[1].right, frame);

  // A night across 12 h UT counts the hours of its first Julian day on past 24.
  std::vector<NightPanel> late = panels_of({{1, 10, 30}, {1, 13, 30}});
  EXPECT_EQ(late[0].julian_day, 2457813);
  EXPECT_NEAR(pixel(late[0], 22.5), frame * 0.03, 1e-9);
  EXPECT_NEAR(pixel(late[0], 25.5), frame * 0.97, 1e-9);
}

TEST(NightPanels, TenNightsKeepTheMinimumWidthAndTheirOrder) {
  std::vector<Shot> shots;
  for (int day = 1; day <= 10; ++day) {
    shots.push_back({day, 18, 0});
    if (day == 7)
      shots.push_back({day + 1, 0, 0});  // six hours
    else if (day != 4)                   // night 4: one image
      shots.push_back({day, 21, 0});
  }
  std::vector<NightPanel> panels = panels_of(shots);
  ASSERT_EQ(panels.size(), 10u);
  const double min_width = (frame - 9 * gap) / 10 * 0.7;
  for (std::size_t i = 1; i < panels.size(); ++i) {
    EXPECT_DOUBLE_EQ(panels[i].left, panels[i - 1].right + gap) << i;
    EXPECT_LT(panels[i - 1].julian_day, panels[i].julian_day) << i;
  }
  EXPECT_DOUBLE_EQ(width(panels[3]), min_width);  // half an hour's share would be narrower
  EXPECT_NEAR(width(panels[6]), 2 * width(panels[0]), 1e-9);
  EXPECT_GT(width(panels[0]), min_width);
  EXPECT_EQ(panels[9].right, frame);
}

// Images more than six hours apart belong to different nights: six hours
// apart they share one, a second more and they do not.
TEST(NightPanels, SixHoursApartIsOneNightASecondMoreIsTwo) {
  SeriesNights nights;
  panels_of({{1, 18, 0}, {2, 0, 0}, {2, 6, 0, 1}}, &nights);
  ASSERT_EQ(nights.nights.size(), 2u);
  EXPECT_EQ(nights.night_of_image[2], 0u);  // image numbers count from 1
  EXPECT_EQ(nights.night_of_image[3], 1u);
}

// Three hours and six: the first night's third of the width lies just
// below the minimum, 0.7 of an equal share, and gets the minimum.
TEST(NightPanels, AShareJustBelowTheMinimumGetsTheMinimum) {
  std::vector<NightPanel> panels = panels_of({{1, 18, 0}, {1, 21, 0}, {2, 18, 0}, {2, 21, 0}, {3, 0, 0}});
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_DOUBLE_EQ(width(panels[0]), (frame - gap) / 2 * 0.7);
  EXPECT_DOUBLE_EQ(width(panels[1]), (frame - gap) / 2 * 1.3);
}

TEST(NightPanels, OnThreeNightsEachKeepsAFifthOfTheWidth) {
  for (const NightPanel& p : panels_of({{1, 18, 0}, {1, 23, 59}, {2, 20, 0}, {3, 18, 0}, {3, 23, 0}, {4, 4, 0}}))
    EXPECT_GE(width(p), frame / 5);
}

}  // namespace
}  // namespace varisift
