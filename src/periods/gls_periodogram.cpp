// The periodogram's sums over the points, by trigonometric recurrence.
#include "periods/gls_periodogram.h"

#include <cmath>
#include <numbers>

namespace varisift {

namespace {

// The points are summed in this many interleaved partial sums, added in
// order at the end: the order of the additions, and so the powers, is fixed
// whatever the compiler does, and the independent sums let it use vector
// instructions (eight ran fastest of 2, 4 and 8 with GCC).
constexpr std::size_t lanes = 8;
// Below this determinant of the covariance of cos and sin, all omega t
// agree modulo pi within the rounding of the sums (about 1e-11 after a long
// recurrence): a sine cannot be told from the constant there.
constexpr double min_determinant = 1e-10;

// The sums of one frequency over the points, with the weights 1/N applied
// afterwards.
struct PhaseSums {
  double c = 0, s = 0, yc = 0, ys = 0, cc = 0, cs = 0, ss = 0;
};

// p from the sums, for magnitudes with mean y_mean and mean square y_square.
double power_of(const PhaseSums& sums, double n, double y_mean, double y_square) {
  const double c = sums.c / n;
  const double s = sums.s / n;
  const double yy = y_square - y_mean * y_mean;
  const double yc = sums.yc / n - y_mean * c;
  const double ys = sums.ys / n - y_mean * s;
  const double cc = sums.cc / n - c * c;
  const double ss = sums.ss / n - s * s;
  const double cs = sums.cs / n - c * s;
  const double d = cc * ss - cs * cs;
  if (!(yy > 0) || !(d > min_determinant)) return 0;
  const double p = (ss * yc * yc + cc * ys * ys - 2 * cs * yc * ys) / (yy * d);
  return p < 0 ? 0 : (p > 1 ? 1 : p);
}

double lane_total(const double (&partial)[lanes]) {
  double total = 0;
  for (double p : partial) total += p;
  return total;
}

}  // namespace

PhaseStep phase_step(const CentredSeries& series, double step) {
  PhaseStep rotation{step, {}, {}};
  rotation.cos_turn.reserve(series.size());
  rotation.sin_turn.reserve(series.size());
  for (double t : series.t) {
    const double turn = 2 * std::numbers::pi * step * t;
    rotation.cos_turn.push_back(std::cos(turn));
    rotation.sin_turn.push_back(std::sin(turn));
  }
  return rotation;
}

std::vector<double> gls_powers(const CentredSeries& series, double first, double step, std::size_t count) {
  return gls_powers(series, first, phase_step(series, step), count);
}

std::vector<double> gls_powers(const CentredSeries& series, double first, const PhaseStep& step, std::size_t count) {
  const std::size_t n = series.size();
  std::vector<double> powers(count, 0.0);
  if (n == 0) return powers;

  // Padding points have cos = sin = 0 and y = 0 and a rotation by 0: they
  // add nothing to any sum.
  const std::size_t padded = (n + lanes - 1) / lanes * lanes;
  std::vector<double> cos_t(padded, 0.0), sin_t(padded, 0.0), y(padded, 0.0);
  std::vector<double> cos_step(padded, 1.0), sin_step(padded, 0.0);
  double y_sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double phase = 2 * std::numbers::pi * first * series.t[i];
    cos_t[i] = std::cos(phase);
    sin_t[i] = std::sin(phase);
    cos_step[i] = step.cos_turn[i];
    sin_step[i] = step.sin_turn[i];
    y[i] = series.y[i];
    y_sum += y[i];
  }
  const double weight = static_cast<double>(n);
  const double y_mean = y_sum / weight;
  const double y_square = series.sum_of_squares / weight;

  for (std::size_t k = 0; k < count; ++k) {
    double c[lanes] = {}, s[lanes] = {}, yc[lanes] = {}, ys[lanes] = {}, cc[lanes] = {}, cs[lanes] = {}, ss[lanes] = {};
    for (std::size_t i = 0; i < padded; i += lanes) {
      for (std::size_t l = 0; l < lanes; ++l) {
        const double ci = cos_t[i + l];
        const double si = sin_t[i + l];
        const double yi = y[i + l];
        c[l] += ci;
        s[l] += si;
        yc[l] += yi * ci;
        ys[l] += yi * si;
        cc[l] += ci * ci;
        cs[l] += ci * si;
        ss[l] += si * si;
        cos_t[i + l] = ci * cos_step[i + l] - si * sin_step[i + l];
        sin_t[i + l] = si * cos_step[i + l] + ci * sin_step[i + l];
      }
    }
    const PhaseSums sums{lane_total(c),  lane_total(s),  lane_total(yc), lane_total(ys),
                         lane_total(cc), lane_total(cs), lane_total(ss)};
    powers[k] = power_of(sums, weight, y_mean, y_square);
  }
  return powers;
}

}  // namespace varisift
