// Series expansions after an exact range reduction; see portable_math.h.
#include "portable_math.h"

#include <cmath>

namespace varisift::simulate {

namespace {

// ln 2 split so that k * ln2_high is exact for the k that occur here.
constexpr double ln2_high = 6.93147180369123816490e-01;
constexpr double ln2_low = 1.90821492927058770002e-10;
constexpr double ln2 = 0.69314718055994530942;
constexpr double ln10 = 2.30258509299404568402;
constexpr double sqrt_half = 0.70710678118654752440;
constexpr double pi = 3.14159265358979323846;
// pi / 2 split in the same way as ln 2.
constexpr double half_pi_high = 1.57079632673412561417e+00;
constexpr double half_pi_low = 6.07710050650619224932e-11;
constexpr double degrees_to_radians = pi / 180.0;

// Enough terms of each series for full double precision on the reduced range.
constexpr int exp_terms = 18;
constexpr int log_terms = 24;
constexpr int trig_terms = 12;

// The series below are summed from their smallest term up (nested form),
// which keeps the rounding error near one unit in the last place.

// sin(r) for |r| <= pi / 4.
double sin_reduced(double r) {
  const double r2 = r * r;
  double p = 1.0;
  for (int n = trig_terms - 1; n >= 1; --n) {
    p = 1.0 - p * r2 / static_cast<double>((2 * n) * (2 * n + 1));
  }
  return r * p;
}

// cos(r) for |r| <= pi / 4.
double cos_reduced(double r) {
  const double r2 = r * r;
  double p = 1.0;
  for (int n = trig_terms - 1; n >= 1; --n) {
    p = 1.0 - p * r2 / static_cast<double>((2 * n - 1) * (2 * n));
  }
  return p;
}

// The quadrant n (0..3) and the remainder r of x = n * pi/2 + r.
int reduce_quarter(double x, double& r) {
  const double k = std::floor(x / half_pi_high + 0.5);
  r = (x - k * half_pi_high) - k * half_pi_low;
  long long quadrant = static_cast<long long>(k) % 4;
  if (quadrant < 0) {
    quadrant += 4;
  }
  return static_cast<int>(quadrant);
}

}  // namespace

double portable_exp(double x) {
  const double k = std::floor(x / ln2 + 0.5);
  const double r = (x - k * ln2_high) - k * ln2_low;
  double p = 1.0;
  for (int n = exp_terms - 1; n >= 1; --n) {
    p = 1.0 + p * r / static_cast<double>(n);
  }
  return std::ldexp(p, static_cast<int>(k));
}

double portable_log(double x) {
  if (!(x > 0.0)) {
    return -1e300;
  }
  int exponent = 0;
  double m = std::frexp(x, &exponent);  // exact: x = m * 2^exponent, m in [0.5, 1)
  if (m < sqrt_half) {
    m *= 2.0;
    exponent -= 1;
  }
  // log(m) = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.172.
  const double s = (m - 1.0) / (m + 1.0);
  const double s2 = s * s;
  double p = 0.0;
  for (int n = log_terms - 1; n >= 1; --n) {
    p = (1.0 / static_cast<double>(2 * n + 1) + p) * s2;
  }
  const double atanh_s = s + s * p;
  const double e = static_cast<double>(exponent);
  return (e * ln2_high + 2.0 * atanh_s) + e * ln2_low;
}

double portable_pow10(double x) { return portable_exp(x * ln10); }

double portable_log10(double x) { return portable_log(x) / ln10; }

double portable_sin(double x) {
  double r = 0.0;
  switch (reduce_quarter(x, r)) {
    case 0:
      return sin_reduced(r);
    case 1:
      return cos_reduced(r);
    case 2:
      return -sin_reduced(r);
    default:
      return -cos_reduced(r);
  }
}

double portable_cos(double x) {
  double r = 0.0;
  switch (reduce_quarter(x, r)) {
    case 0:
      return cos_reduced(r);
    case 1:
      return -sin_reduced(r);
    case 2:
      return -cos_reduced(r);
    default:
      return sin_reduced(r);
  }
}

double portable_sin_deg(double degrees) { return portable_sin(degrees * degrees_to_radians); }

double portable_cos_deg(double degrees) { return portable_cos(degrees * degrees_to_radians); }

}  // namespace varisift::simulate
