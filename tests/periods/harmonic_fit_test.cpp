// The K-harmonic fit against the worked example Series A, and the
// extremes of a model of known shape.
#include "periods/harmonic_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "periods/model_extremes.h"
#include "periods/period_fixtures.h"

namespace varisift {
namespace {

TEST(HarmonicFit, WorkedExampleSeriesA) {
  const CentredSeries a = centred_series(fixtures::series_a_times, fixtures::series_a_magnitudes);
  struct Case {
    double f;
    int harmonics;
    double power;
  };
  const Case cases[] = {{2.7, 1, 0.9875205662},  {2.7, 2, 0.9904632996}, {2.7, 3, 0.9996201917},
                        {1.0, 1, 0.06433458685}, {1.0, 2, 0.5144599625}, {1.0, 3, 0.6050315238}};
  for (const Case& c : cases) {
    const std::optional<HarmonicFit> fit = fit_harmonics(a, c.f, c.harmonics);
    ASSERT_TRUE(fit) << c.f << " " << c.harmonics;
    EXPECT_NEAR(fit->power, c.power, 1e-10) << c.f << " " << c.harmonics;
  }
  // The fitted sine: m = c + a cos(omega t) + b sin(omega t).
  const HarmonicModel sine = fit_harmonics(a, 2.7, 1)->model;
  EXPECT_NEAR(sine.constant, 12.50119153, 1e-8);
  EXPECT_NEAR(sine.cos_terms[0], 0.1463857309, 1e-10);
  EXPECT_NEAR(sine.sin_terms[0], 0.2176226556, 1e-10);
  // Seven parameters need more than seven points; ten points fit four
  // harmonics (nine parameters) but not five.
  EXPECT_TRUE(fit_harmonics(a, 2.7, 4));
  EXPECT_FALSE(fit_harmonics(a, 2.7, 5));
}

TEST(ModelExtremes, PhasesAndPeakToPeakOfAKnownShape) {
  // m = 10 + 0.3 cos x + 0.1 sin 2x, x = 2 pi phase: m' = 0 where
  // 0.4 sin^2 x + 0.3 sin x - 0.2 = 0, sin x = s below; faintest at x =
  // asin s, brightest at pi - asin s, the two mirror values 10 +- h.
  const HarmonicModel model{2.5, 2460000.1, 10, {0.3, 0}, {0, 0.1}};
  const double s = (-0.3 + std::sqrt(0.09 + 0.32)) / 0.8;
  const double x = std::asin(s);
  const double h = 0.3 * std::cos(x) + 0.1 * std::sin(2 * x);
  const ModelExtremes e = model_extremes(model);
  EXPECT_NEAR(e.faintest.phase, x / (2 * std::numbers::pi), 1e-6);
  EXPECT_NEAR(e.brightest.phase, 0.5 - x / (2 * std::numbers::pi), 1e-6);
  EXPECT_NEAR(e.faintest.magnitude, 10 + h, 1e-12);
  EXPECT_NEAR(e.brightest.magnitude, 10 - h, 1e-12);
  EXPECT_NEAR(e.peak_to_peak(), 2 * h, 1e-12);
  // The cycle of phase 0 nearest a time 2.2 cycles on is 2 cycles on; 2.6 gives 3.
  EXPECT_NEAR(time_of_phase_nearest(model, 0, 2460000.1 + 2.2 / 2.5), 2460000.1 + 2 / 2.5, 1e-9);
  EXPECT_NEAR(time_of_phase_nearest(model, 0, 2460000.1 + 2.6 / 2.5), 2460000.1 + 3 / 2.5, 1e-9);
}

}  // namespace
}  // namespace varisift
