// Quartiles, fences and inlier extremes of a light curve.
#include "stars/curve_statistics.h"

#include <algorithm>
#include <cmath>

#include "stars/magnitude_sort.h"

namespace varisift {

namespace {

// floor(x + 0.5): nearest integer, halves up, also for negative values.
double half_up(double x) { return std::floor(x + 0.5); }

// Value at fraction numerator/4 of the sorted list, by the one rule.
std::int16_t fraction_value(std::span<const std::int16_t> c, std::size_t quarters) {
  std::size_t n = c.size();
  if (n * quarters % 4 == 0) {
    std::size_t k = n * quarters / 4;  // 1-based position
    return static_cast<std::int16_t>(half_up((c[k - 1] + c[k]) / 2.0));
  }
  return c[n * quarters / 4];  // 1-based position floor(n x fraction) + 1
}

}  // namespace

Quartiles quartiles_of_sorted(std::span<const std::int16_t> sorted) {
  if (sorted.empty()) return {};
  return {fraction_value(sorted, 1), fraction_value(sorted, 2), fraction_value(sorted, 3)};
}

Fences quartile_fences(const Quartiles& q, std::uint32_t factor_tenths) {
  double factor = factor_tenths / 10.0;
  int spread = q.upper - q.lower;
  // A fence beyond the 16-bit range keeps only the bits that fit.
  auto fence = [](double value) { return static_cast<std::int16_t>(static_cast<std::int64_t>(half_up(value))); };
  return {fence(q.lower - factor * spread), fence(q.upper + factor * spread)};
}

void light_curve_statistics(LightCurve& curve, std::uint32_t factor_tenths) {
  std::size_t n = curve.count;
  // Equal magnitudes are interchangeable, so any sort gives the list the
  // exchange sort would.
  std::array<std::int16_t, max_images> scratch;
  sort_magnitudes(std::span<const std::int16_t>(curve.in_time_order.data(), n), curve.sorted, scratch);
  std::span<const std::int16_t> c(curve.sorted.data(), n);
  Quartiles q = quartiles_of_sorted(c);
  curve.median = q.median;
  curve.lower_quartile = q.lower;
  curve.upper_quartile = q.upper;
  Fences fences = quartile_fences(q, factor_tenths);
  curve.lower_fence = fences.lower;
  curve.upper_fence = fences.upper;
  if (n == 0) return;
  // A wrapped fence could lie beyond every value; each scan then stops at
  // the last entry it may read.
  std::size_t low = 0;
  while (low + 1 < n && c[low] < curve.lower_fence) ++low;
  curve.inlier_min = c[low];
  std::size_t high = n - 1;
  while (high > 0 && c[high] > curve.upper_fence) --high;
  curve.inlier_max = c[high];
}

}  // namespace varisift
