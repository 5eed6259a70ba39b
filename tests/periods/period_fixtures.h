// Light curves for the period search's tests: Series A, ten points over
// two nights whose periodogram, harmonic fits, false-alarm probability and
// phase dispersion were evaluated independently to ten digits, and series
// of nights sampled every few minutes, with noise from a fixed seed.
#pragma once

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace varisift::fixtures {

inline const std::vector<double> series_a_times{0.000, 0.052, 0.113, 0.171, 0.240, 0.298, 0.361, 1.005, 1.067, 1.130};
inline const std::vector<double> series_a_magnitudes{12.642, 12.745, 12.675, 12.409, 12.201,
                                                     12.374, 12.610, 12.282, 12.440, 12.720};

// `nights` nights one day apart from JD 2460310.6, each of `per_night`
// images `cadence_min` minutes apart.
inline std::vector<double> nightly_times(int nights, int per_night, double cadence_min) {
  std::vector<double> times;
  for (int night = 0; night < nights; ++night)
    for (int i = 0; i < per_night; ++i) times.push_back(2460310.6 + night + i * cadence_min / 1440);
  return times;
}

// Gaussian noise of the given sigma by the Box-Muller transform.
class Noise {
 public:
  explicit Noise(unsigned seed) : rng_(seed) {}
  double operator()(double sigma) {
    const double u1 = (static_cast<double>(rng_()) + 1) / 4294967296.0;
    const double u2 = static_cast<double>(rng_()) / 4294967296.0;
    return sigma * std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
  }

 private:
  std::mt19937 rng_;
};

// 12 mag plus a sine of the given frequency and semi-amplitude, brightest
// (smallest magnitude) at `brightest`, plus noise.
inline std::vector<double> sine_curve(const std::vector<double>& times, double frequency, double semi_amplitude,
                                      double brightest, double sigma, unsigned seed) {
  Noise noise(seed);
  std::vector<double> m;
  for (double t : times)
    m.push_back(12 - semi_amplitude * std::cos(2 * std::numbers::pi * frequency * (t - brightest)) + noise(sigma));
  return m;
}

}  // namespace varisift::fixtures
