// Tests of what truth.txt says of each variable's sampling: hand-made image
// times at the edges of eclipses and phase bins, the epoch and its tie, and
// the file's named columns.
#include "sampling.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "calendar.h"
#include "light_curve.h"
#include "presets.h"

namespace varisift::simulate {
namespace {

const std::int64_t first_image = tenths_at(2020, 1, 1, 20.0);

// Images at these days after the first (listed as 0, where the light curve
// is at the star's `phase`); the fractions below are exact in tenths.
Series series_at(const std::vector<double>& days) {
  Series series;
  for (double d : days) {
    series.images.emplace_back().time_tenths = first_image + static_cast<std::int64_t>(d * tenths_per_day);
  }
  return series;
}

// Amplitude 0.8 mag, secondary eclipse half as deep.
SkyObject variable(VariableKind kind, double period, double phase, double shape) {
  SkyObject star;
  star.kind = kind;
  star.amplitude_mag = 0.8;
  star.period_days = period;
  star.phase = phase;
  star.shape = shape;
  star.secondary_depth = 0.5;
  return star;
}

// Period 1 d, half-width 1/16: primaries at n +- 0.0625, secondaries at
// n + 0.5 +- 0.0625, the edge outside as in the light curve.
TEST(Sampling, EclipsesCountWithThreeImagesInsideTheirWindow) {
  const SkyObject star = variable(VariableKind::eclipsing, 1.0, 0.0, 0.0625);
  const std::pair<std::vector<double>, int> cases[] = {
      {{0, 0.96875, 1.0, 1.03125}, 1},       // one primary across the cycle's start
      {{0, 0.96875, 1.03125}, 0},            // two images are not enough
      {{0, 0.4375, 0.5, 0.53125}, 0},        // one of three on the edge
      {{0, 0.46875, 0.5, 0.5, 0.53125}, 1},  // equal time stamps are images too
      {{0, 0.03125, 0.5, 0.5, 0.5, 2.0, 2.03125, 2.0625, 2.96875, 3.0, 3.03125}, 2},
  };
  for (const auto& [days, eclipses] : cases) {
    EXPECT_EQ(sampling_of(series_at(days), star).eclipses, eclipses) << ::testing::PrintToString(days);
  }
}

// Pulsating, period 1 d: faintest at phase 0, brightest at 0.25.
TEST(Sampling, CoverageSpanAndCycles) {
  struct Case {
    double phase;
    std::vector<double> days;
    double coverage, span;
  };
  const Case cases[] = {
      {0.0, {0, 0.25}, 0.10, 0.8},                   // faintest and brightest
      {0.25, {0, 0.375}, 0.10, 0.4},                 // brightest and half-way down
      {0.0, {0, 0.2421875, 0.25, 1.25}, 0.15, 0.8},  // a bin's lower edge belongs to it
      {0.5, {0}, 0.05, 0.0},                         // one image
  };
  for (const Case& c : cases) {
    const Sampling s = sampling_of(series_at(c.days), variable(VariableKind::pulsating, 1.0, c.phase, 0.25));
    EXPECT_DOUBLE_EQ(s.phase_coverage, c.coverage) << ::testing::PrintToString(c.days);
    EXPECT_NEAR(s.span_mag, c.span, 1e-12) << ::testing::PrintToString(c.days);
  }
  EXPECT_DOUBLE_EQ(sampling_of(series_at({0, 1.0, 2.5}), variable(VariableKind::trend, 1.25, 0, 0)).cycles, 2.0);
}

// Images from 0 to 3 d: the epoch nearest 1.5 d, where the light curve has
// its maximum light (or mid primary eclipse).
TEST(Sampling, EpochIsTheExtremumNearestTheMiddle) {
  const Series series = series_at({0, 1.0, 3.0});
  const struct {
    SkyObject star;
    double days, offset_mag;
  } cases[] = {
      {variable(VariableKind::pulsating, 1.0, 0.1, 0.25), 1.15, -0.4},  // rise ends at phase 0.25
      {variable(VariableKind::eclipsing, 1.0, 0.0, 0.0625), 2.0, 0.8},  // 1.0 and 2.0 tie: the later
      {variable(VariableKind::trend, 4.0, 0.0, 0.0), 3.0, -0.4},        // phase 0.75: 3 rather than -1
  };
  for (const auto& c : cases) {
    const double days = sampling_of(series, c.star).epoch_jd - julian_date(first_image);
    EXPECT_NEAR(days, c.days, 1e-8);
    EXPECT_NEAR(variability_offset(c.star, days), c.offset_mag, 1e-6);
  }
  EXPECT_DOUBLE_EQ(julian_date(tenths_at(2000, 1, 1, 12.0)), 2451545.0);
}

// Every line has the header's columns, "-" where a column does not apply.
TEST(TruthFile, NamedColumnsOneLinePerVariable) {
  SeriesOptions options;
  ASSERT_TRUE(apply_preset("three-nights", options));
  const Series series = generate_series(options);
  std::ostringstream out;
  write_truth(series, out);
  std::istringstream in(out.str());
  auto fields_of = [](const std::string& line) {
    std::vector<std::string> f;
    std::istringstream words(line);
    for (std::string w; words >> w;) f.push_back(w);
    return f;
  };
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(fields_of(line), (std::vector<std::string>{"#", "star", "ra_deg", "dec_deg", "mag", "kind", "amplitude_mag",
                                                       "period_d", "epoch_jd", "span_mag", "cycles", "phase_coverage",
                                                       "eclipses", "vsx", "vsx_flag"}));
  int lines = 0;
  for (; std::getline(in, line); ++lines) {
    const std::vector<std::string> f = fields_of(line);
    ASSERT_EQ(f.size(), 14u) << line;
    const SkyObject& star = series.objects[static_cast<std::size_t>(std::stoi(f[0]) - 1)];
    EXPECT_NEAR(std::stod(f[6]), star.period_days, 6e-8);
    EXPECT_EQ(f[11] == "-", star.kind != VariableKind::eclipsing) << line;
    EXPECT_EQ(f[12] == "-", star.vsx_entry < 0) << line;
  }
  EXPECT_EQ(lines, options.variables);
}

}  // namespace
}  // namespace varisift::simulate
