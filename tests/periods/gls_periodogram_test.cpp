// The periodogram against the worked example Series A, against closed
// forms for one and two sines at Fourier frequencies, and the recurrence
// against direct sin and cos on random series.
#include "periods/gls_periodogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "periods/period_fixtures.h"

namespace varisift {
namespace {

TEST(GlsPeriodogram, WorkedExampleSeriesA) {
  const CentredSeries a = centred_series(fixtures::series_a_times, fixtures::series_a_magnitudes);
  // Frequencies 1.0 and 2.7 as the first and last of a grid of step 1.7:
  // the second comes from the recurrence.
  const std::vector<double> p = gls_powers(a, 1.0, 1.7, 2);
  EXPECT_NEAR(p[0], 0.06433458685, 1e-10);
  EXPECT_NEAR(p[1], 0.9875205662, 1e-10);
}

TEST(GlsPeriodogram, SinesAtFourierFrequenciesHaveClosedFormPowers) {
  // 64 even times over one day: sines of whole frequencies below 32 c/d are
  // orthogonal to each other and to the constant, so the power at a sine's
  // frequency is its share of the variance, A_i^2 / sum A^2, and 0 at
  // every other whole frequency.
  struct Case {
    double a5, a9;  // semi-amplitudes at 5 and 9 c/d
    double p5, p9;
  };
  const Case cases[] = {{0.3, 0, 1, 0}, {0.3, 0.1, 0.9, 0.1}, {0.2, 0.2, 0.5, 0.5}};
  for (const Case& c : cases) {
    std::vector<double> t, m;
    for (int i = 0; i < 64; ++i) {
      t.push_back(2460000.25 + i / 64.0);
      const double w = 2 * std::numbers::pi * i / 64.0;
      m.push_back(13 + c.a5 * std::sin(5 * w + 0.4) + c.a9 * std::cos(9 * w - 1.1));
    }
    const std::vector<double> p = gls_powers(centred_series(t, m), 1, 1, 20);
    for (int f = 1; f <= 20; ++f) {
      const double expected = f == 5 ? c.p5 : (f == 9 ? c.p9 : 0);
      EXPECT_NEAR(p[f - 1], expected, 1e-11) << "f " << f << ", amplitudes " << c.a5 << " " << c.a9;
    }
  }
}

// The power at one frequency from direct sin and cos, p = 1 - chi2(sine +
// constant) / chi2(constant) through the sums of the floating-mean fit.
double direct_power(const std::vector<double>& t, const std::vector<double>& y, double f) {
  const double n = static_cast<double>(t.size());
  double ym = 0, c = 0, s = 0, yy = 0, yc = 0, ys = 0, cc = 0, ss = 0, cs = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const double ci = std::cos(2 * std::numbers::pi * f * t[i]), si = std::sin(2 * std::numbers::pi * f * t[i]);
    ym += y[i] / n, c += ci / n, s += si / n, yy += y[i] * y[i] / n, yc += y[i] * ci / n, ys += y[i] * si / n;
    cc += ci * ci / n, ss += si * si / n, cs += ci * si / n;
  }
  yy -= ym * ym, yc -= ym * c, ys -= ym * s, cc -= c * c, ss -= s * s, cs -= c * s;
  return (ss * yc * yc + cc * ys * ys - 2 * cs * yc * ys) / (yy * (cc * ss - cs * cs));
}

TEST(GlsPeriodogram, RecurrenceAgreesWithDirectSinAndCos) {
  // Random times over up to 10 days and the full 20,000 steps of a capped
  // grid up to 50 c/d; every 7th frequency is checked directly.
  std::mt19937 rng(808);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int round = 0; round < 6; ++round) {
    const std::size_t n = 9 + rng() % 201;
    const double span = 0.3 + 9.7 * unit(rng);
    std::vector<double> t, m;
    for (std::size_t i = 0; i < n; ++i) {
      t.push_back(2459000 + span * unit(rng));
      m.push_back(14 + 0.3 * unit(rng) + 0.2 * std::sin(7.3 * t.back()));
    }
    const CentredSeries series = centred_series(t, m);
    const double first = 1 / span, step = (50 - first) / 19999;
    const std::vector<double> p = gls_powers(series, first, step, 20000);
    for (std::size_t k = 0; k < p.size(); k += 7) {
      const double direct = direct_power(series.t, series.y, first + static_cast<double>(k) * step);
      ASSERT_NEAR(p[k], direct, 1e-9) << "round " << round << ", k " << k << ", n " << n;
    }
  }
}

TEST(GlsPeriodogram, ConstantMagnitudesGiveZeroPower) {
  const std::vector<double> t{0, 0.1, 0.25, 0.4, 1.0}, m(5, 12.5);
  for (double p : gls_powers(centred_series(t, m), 0.5, 0.5, 10)) EXPECT_EQ(p, 0);
}

}  // namespace
}  // namespace varisift
