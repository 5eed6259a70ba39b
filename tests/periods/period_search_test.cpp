// The search on constructed light curves: each flag, the epoch of a known
// maximum and of a known minimum (eclipsing, the period doubled), a curve
// repeated exactly that keeps its period, the alias flag of an eclipsing
// star by its peak, the refinement of Series A's peak, and the choice among
// peaks at f, f/2 and f/3.
#include "periods/period_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "periods/heliocentric_time.h"
#include "periods/peak_choice.h"
#include "periods/peak_refinement.h"
#include "periods/period_fixtures.h"

namespace varisift {
namespace {

constexpr double ra = 83.63308, dec = 22.01450;

// Three nights of 70 images 4 minutes apart: T = 2.19 d.
const std::vector<double> nights = fixtures::nightly_times(3, 70, 4);

// The time of `phase` zero nearest `time` for a period from t0.
double nearest(double t0, double period, double time) { return t0 + std::round((time - t0) / period) * period; }

TEST(PeriodSearch, EachFlagOnAConstructedCurve) {
  struct Case {
    const char* what;
    double frequency, semi_amplitude, sigma;
    PeriodFlag flag;
  };
  const Case cases[] = {
      {"sine of 0.37 d", 1 / 0.37, 0.1, 0.02, PeriodFlag::ok},
      {"sine of 2 c/d", 2.0, 0.1, 0.02, PeriodFlag::alias},
      {"noise alone", 1.0, 0, 0.02, PeriodFlag::weak},
      {"sine of 3 d", 1 / 3.0, 0.2, 0.02, PeriodFlag::long_period},
      // Slower than the grid's longest period, T: its aliases one cycle per
      // day off rise above everything in the grid.
      {"sine of 12 d", 1 / 12.0, 0.3, 0.02, PeriodFlag::long_period},
      {"sine of 40 d", 1 / 40.0, 0.5, 0.02, PeriodFlag::long_period},
  };
  for (const Case& c : cases) {
    const std::vector<double> m = fixtures::sine_curve(nights, c.frequency, c.semi_amplitude, 2460311.0, c.sigma, 7);
    const std::optional<PeriodResult> r = search_period(nights, m, ra, dec, {});
    ASSERT_TRUE(r) << c.what;
    EXPECT_EQ(period_flag_name(r->flag), period_flag_name(c.flag)) << c.what;
    const bool is_long = c.flag == PeriodFlag::long_period;
    EXPECT_EQ(r->period_err_d.has_value(), !is_long) << c.what;
    EXPECT_EQ(r->epoch_hjd.has_value(), !is_long) << c.what;
    EXPECT_EQ(r->amplitude_mag.has_value(), !is_long) << c.what;
    EXPECT_FALSE(r->eclipsing) << c.what;
    // Under `long`, T/2 is a lower limit and 2 cycles an upper one.
    EXPECT_EQ(r->period_d == r->span_d / 2 && r->cycles <= 2, is_long) << c.what;
  }
}

TEST(PeriodFlag, FirstThatAppliesAtItsLimits) {
  struct Case {
    double period, span, log10_fap, frequency;
    PeriodFlag flag;
  };
  const Case cases[] = {
      {1.0, 2.0, -5, 1.0, PeriodFlag::alias},  // exactly T/2 is not long
      {1.0001, 2.0, -5, 5, PeriodFlag::long_period},
      {1.5, 2.0, 0, 1.0, PeriodFlag::long_period},  // long before weak and alias
      {0.2, 2.0, -3, 1.0, PeriodFlag::weak},        // FAP 0.001 is weak, before alias
      {0.2, 2.0, -3.0001, 5, PeriodFlag::ok},
      {0.2, 2.0, -5, 0.9701, PeriodFlag::alias},
      {0.2, 2.0, -5, 0.9699, PeriodFlag::ok},
      {0.2, 2.0, -5, 4.1199, PeriodFlag::alias},
      {0.2, 2.0, -5, 4.1201, PeriodFlag::ok},
      {0.2, 2.0, -5, 5.0, PeriodFlag::ok},  // no alias beyond 4 c/d
  };
  for (const Case& c : cases)
    EXPECT_EQ(period_flag_name(period_flag(c.period, c.span, c.log10_fap, c.frequency)), period_flag_name(c.flag))
        << c.period << " " << c.log10_fap << " " << c.frequency;
}

TEST(PeriodSearch, PeriodErrorAmplitudeAndEpochOfMaximumLight) {
  const double period = 0.37, brightest = 2460311.0;
  const std::vector<double> m = fixtures::sine_curve(nights, 1 / period, 0.1, brightest, 0.02, 11);
  const PeriodResult r = *search_period(nights, m, ra, dec, {});
  EXPECT_NEAR(r.period_d, period, 0.002);
  EXPECT_LT(std::abs(r.period_d - period), *r.period_err_d);
  EXPECT_NEAR(r.cycles, r.span_d / r.period_d, 1e-12);
  EXPECT_NEAR(*r.amplitude_mag, 0.2, 0.02);
  EXPECT_LT(r.log10_fap, -50);
  const double middle = nights.front() + r.span_d / 2;
  EXPECT_NEAR(*r.epoch_jd, nearest(brightest, period, middle), 0.003);
  EXPECT_DOUBLE_EQ(*r.epoch_hjd, heliocentric_julian_date(*r.epoch_jd, ra, dec));
}

TEST(PeriodSearch, EclipsingShapeDoublesThePeriodWithEpochAtMinimum) {
  // Eclipses of 0.8 and 0.35 mag half a 0.3-day orbit apart: the
  // periodogram peaks at twice the orbital frequency; phase dispersion at
  // twice its period tells the unequal minima apart.
  const double period = 0.3, primary = 2460311.13, width = 0.07;
  fixtures::Noise noise(3);
  std::vector<double> m;
  for (double t : nights) {
    const double phase = (t - primary) / period;
    auto dip = [&](double centre) {
      const double x = phase - centre - std::round(phase - centre);
      return std::exp(-0.5 * x * x / (width * width));
    };
    m.push_back(12 + 0.8 * dip(0) + 0.35 * dip(0.5) + noise(0.02));
  }
  const PeriodResult r = *search_period(nights, m, ra, dec, {});
  EXPECT_TRUE(r.eclipsing);
  EXPECT_NEAR(r.peak_frequency, 2 / period, 0.02);
  EXPECT_NEAR(r.period_d, period, 0.003);
  const double middle = nights.front() + r.span_d / 2;
  EXPECT_NEAR(*r.epoch_jd, nearest(primary, period, middle), 0.0015);
}

TEST(PeriodSearch, ACurveThatRepeatsExactlyKeepsItsPeriod) {
  // Four images a cycle, at the same four phases with the same magnitudes
  // every cycle: the phase bins of P and of 2P each hold one magnitude, and
  // no dispersion at 2P is not below 0.95 times none at P.
  const double period = 0.2, at_phase[] = {12.25, 12.0, 11.75, 12.0};
  std::vector<double> times, m;
  for (int i = 0; i < 80; ++i) {
    times.push_back(2460310.6 + i * period / 4);
    m.push_back(at_phase[i % 4]);
  }
  const PeriodResult r = *search_period(times, m, ra, dec, {});
  EXPECT_NEAR(r.peak_frequency, 1 / period, 1e-3);
  EXPECT_FALSE(r.eclipsing);
  EXPECT_NEAR(r.period_d, period, 1e-4);
}

TEST(PeriodSearch, AnEclipsingStarIsAnAliasByItsPeakNotByItsPeriod) {
  // Unequal eclipses half a 2/3-day orbit apart on six nights of eight
  // hours: the periodogram peaks at 3 c/d, a nightly alias, though the
  // period found, 2/3 d, is 1.5 c/d.
  const double period = 2.0 / 3, primary = 2460311.13, width = 0.05;
  const std::vector<double> six_nights = fixtures::nightly_times(6, 120, 4);
  fixtures::Noise noise(5);
  std::vector<double> m;
  for (double t : six_nights) {
    const double phase = (t - primary) / period;
    auto dip = [&](double centre) {
      const double x = phase - centre - std::round(phase - centre);
      return std::exp(-0.5 * x * x / (width * width));
    };
    m.push_back(12 + 0.8 * dip(0) + 0.35 * dip(0.5) + noise(0.02));
  }
  const PeriodResult r = *search_period(six_nights, m, ra, dec, {});
  EXPECT_TRUE(r.eclipsing);
  EXPECT_NEAR(r.peak_frequency, 3, 0.01);
  EXPECT_NEAR(r.period_d, period, 0.003);
  EXPECT_EQ(period_flag_name(r.flag), "alias");
}

TEST(PeriodSearch, NoSearchWithoutEnoughData) {
  const std::vector<double> seven(nights.begin(), nights.begin() + 7), same_time(10, 2460311.0);
  const std::vector<double> m7(7, 12.0), m10(10, 12.0);
  EXPECT_FALSE(search_period(seven, m7, ra, dec, {}));
  EXPECT_FALSE(search_period(same_time, m10, ra, dec, {}));
  EXPECT_FALSE(search_period(nights, m7, ra, dec, {}));  // lengths differ
  std::vector<double> with_nan = fixtures::sine_curve(nights, 2.7, 0.1, 2460311.0, 0.02, 1);
  with_nan[5] = NAN;
  EXPECT_FALSE(search_period(nights, with_nan, ra, dec, {}));
}

TEST(PeakRefinement, WorkedExampleSeriesA) {
  const CentredSeries a = centred_series(fixtures::series_a_times, fixtures::series_a_magnitudes);
  const FrequencyGrid grid = *frequency_grid(a.span, 0.062, {});
  const std::vector<double> power = gls_powers(a, grid.first, grid.step, grid.count);
  const std::vector<std::size_t> peaks = highest_peaks(power, 5);
  ASSERT_EQ(peaks.front(), 10u);
  EXPECT_NEAR(power[10], 0.9753271954, 1e-10);
  const RefinedPeak top = refine_peak(a, grid, fine_steps(a, grid), peaks.front());
  EXPECT_NEAR(top.frequency, 2.699115044, 1e-9);
  EXPECT_NEAR(top.power, 0.9875075154, 1e-10);
}

TEST(PeakRefinement, HalfWidthOfASineOverAnEvenlyFilledSpan) {
  // Near its top the peak is sinc^2(pi (f - f0) T), half high at
  // 1.391557 / (pi T) = 0.44295 / T from the top.
  std::vector<double> t, m;
  for (int i = 0; i < 1000; ++i) {
    t.push_back(2460000 + i * 0.005);
    m.push_back(12 + 0.1 * std::sin(2 * std::numbers::pi * 3.3 * t.back()));
  }
  const CentredSeries s = centred_series(t, m);
  const FrequencyGrid grid = *frequency_grid(s.span, 0.005, {});
  const std::vector<double> power = gls_powers(s, grid.first, grid.step, grid.count);
  const FineSteps fine = fine_steps(s, grid);
  const RefinedPeak top = refine_peak(s, grid, fine, highest_peaks(power, 1).front());
  EXPECT_NEAR(top.frequency, 3.3, grid.step / 40);
  EXPECT_NEAR(peak_half_width(s, top, fine).half_width * s.span, 0.44295, 0.005);
}

TEST(PeakRefinement, LocalMaximaIncludeTheEndsAndTheFirstOfAFlatTop) {
  const std::vector<double> p{0.9, 0.2, 0.5, 0.5, 0.1, 0.3, 0.7, 0.7};
  EXPECT_EQ(highest_peaks(p, 5), (std::vector<std::size_t>{0, 6, 2}));
  EXPECT_EQ(highest_peaks(p, 2), (std::vector<std::size_t>{0, 6}));
}

TEST(PeakChoice, ASubharmonicWinsOnlyByTheMargin) {
  // 100 points and a margin of 10: a model at f/m must fit better than the
  // one at f by 100 ln(chi2_f / chi2_sub) > 10, a chi2 ratio above exp(0.1).
  const double tolerance = 0.01;
  struct Case {
    const char* what;
    std::vector<PeakCandidate> peaks;
    std::size_t chosen;
  };
  const double just_below = std::exp(0.0999), just_above = std::exp(0.1001);
  const Case cases[] = {
      {"unrelated peaks: the best fit", {{3.0, 0.80, 0.20}, {1.3, 0.90, 0.10}}, 1},
      {"f/2 better, within the margin", {{2.0, 0.80, just_below}, {1.0, 0.85, 1}}, 0},
      {"f/2 better, beyond the margin", {{2.0, 0.80, just_above}, {1.0, 0.85, 1}}, 1},
      {"f/3 within the margin", {{3.0, 0.80, just_below}, {1.0, 0.85, 1}}, 0},
      {"f/3 just off the tolerance", {{3.0, 0.80, just_below}, {1.011, 0.85, 1}}, 1},
      {"f/4 is not a subharmonic", {{4.0, 0.80, just_below}, {1.0, 0.85, 1}}, 1},
      {"equal powers: the earlier", {{2.2, 0.85, 1}, {1.3, 0.85, 1}}, 0},
      {"two perfect fits: the higher frequency", {{2.0, 1, 0}, {1.0, 1, 0}}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(chosen_peak(c.peaks, 100, tolerance, 10), c.chosen) << c.what;
  // Without a margin a subharmonic must still fit better: on equal fits the
  // higher frequency stays.
  EXPECT_EQ(chosen_peak({{2.0, 0.80, 1}, {1.0, 0.85, 1}}, 100, tolerance, 0), 0u);
}

}  // namespace
}  // namespace varisift
