// Baluev's false-alarm probability, computed through logarithms.
#include "periods/false_alarm.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace varisift {

namespace {

// Fewer points leave no degrees of freedom for the sine model's noise.
constexpr std::size_t min_points = 4;
// Above this natural logarithm, exp() of both terms is a normal double and
// the sum is formed directly; below, in logarithms.
constexpr double direct_form_limit = -700;

}  // namespace

double time_variance(std::span<const double> times) {
  if (times.empty()) return 0;
  const double n = static_cast<double>(times.size());
  double sum = 0;
  for (double t : times) sum += t;
  const double mean = sum / n;
  double squares = 0;
  for (double t : times) squares += (t - mean) * (t - mean);
  return squares / n;
}

double log_false_alarm(double z, std::size_t n, double time_variance, double f_max) {
  if (n < min_points || !(z > 0)) return 0;
  if (z >= 1) return -std::numeric_limits<double>::infinity();
  const double n_h = static_cast<double>(n - 1);  // constant model
  const double n_k = static_cast<double>(n - 3);  // sine model
  const double log_gamma = 0.5 * std::log(2 / n_h) + std::lgamma(n_h / 2) - std::lgamma((n_h - 1) / 2);
  const double w = f_max * std::sqrt(4 * std::numbers::pi * time_variance);
  const double l = std::log1p(-z);
  const double log_single = n_k / 2 * l;
  const double log_tau = log_gamma + std::log(w) + (n_k - 1) / 2 * l + 0.5 * std::log(n_h * z / 2);

  const double larger = std::max(log_single, log_tau);
  if (larger > direct_form_limit) {
    const double tau = std::exp(log_tau);
    return std::log(-std::expm1(-tau) + std::exp(log_single) * std::exp(-tau));
  }
  // Both terms are tiny: FAP = FAP_single + tau within 1e-300 relative.
  const double smaller = std::min(log_single, log_tau);
  return larger + std::log1p(std::exp(smaller - larger));
}

}  // namespace varisift
