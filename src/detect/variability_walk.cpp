// The in-range walk: path, squares and reversal-weighted path of the steps
// between consecutive in-range magnitudes.
#include "detect/variability_walk.h"

#include <cmath>

#include "base/parameters.h"
#include "stars/curve_statistics.h"

namespace varisift {

namespace {

int direction(std::int16_t step) { return step > 0 ? 1 : (step < 0 ? -1 : 0); }

// Steps are formed in signed 16-bit arithmetic.
std::int16_t step16(std::int16_t to, std::int16_t from) { return static_cast<std::int16_t>(to - from); }

class Walk {
 public:
  void accept(std::int16_t x) {
    if (previous_ < no_magnitude) {
      ++sums_.inlier_count;
      std::int16_t d = step16(x, previous_);
      std::uint32_t size = static_cast<std::uint32_t>(d < 0 ? -static_cast<int>(d) : d);
      sums_.path_sum += size;
      sums_.square_sum += size * size;
      sums_.weighted_path += size;
      int dir = direction(d);
      int previous_dir = direction(step16(previous_, before_previous_));
      if (dir != previous_dir && dir != 0) {
        if (previous_dir == 0) {
          reversal_run_ = 0;
        } else {
          ++reversal_run_;
          ++sums_.reversal_count;
          sums_.weighted_path += static_cast<std::uint32_t>(reversal_run_) * size;
        }
      }
    }
    before_previous_ = previous_;
    previous_ = x;
  }
  const WalkSums& sums() const { return sums_; }

 private:
  WalkSums sums_;
  std::int16_t previous_ = no_magnitude;
  std::int16_t before_previous_ = no_magnitude;
  std::uint16_t reversal_run_ = 0;
};

}  // namespace

WalkSums walk_in_range(const LightCurve& curve, ObservationStore& store) {
  Walk walk;
  for (std::size_t k = 0; k < curve.count; ++k) {
    std::int16_t x = curve.in_time_order[k];
    if (inside_fences(x, curve.lower_fence, curve.upper_fence)) {
      walk.accept(x);
    } else {
      std::int16_t& outliers = store.images[curve.image[k]].outliers;
      outliers = static_cast<std::int16_t>(outliers + 1);
    }
  }
  return walk.sums();
}

WalkSums walk_values(const std::int16_t* values, std::size_t count) {
  Walk walk;
  for (std::size_t k = 0; k < count; ++k) walk.accept(values[k]);
  return walk.sums();
}

void compute_criteria(StarAnalysis& a) {
  double count = a.walk.inlier_count;
  double path = 100.0 * a.walk.path_sum;
  a.path_criterion = {std::floor(path / a.full_range), std::floor(path / a.full_range / count)};
  double root = std::sqrt(10000.0 * a.walk.square_sum);
  a.square_criterion = {std::floor(root / a.inlier_range), std::floor(root / a.inlier_range / count)};
  double weighted = 100.0 * a.walk.weighted_path;
  a.weighted_criterion = {std::floor(weighted / a.inlier_range), std::floor(weighted / a.inlier_range / count)};
}

bool select_candidate(StarAnalysis& a, std::uint8_t star_images, const DetectionParameters& parameters) {
  const LightCurve& c = a.curve;
  a.inlier_range = static_cast<std::int16_t>(c.inlier_max - c.inlier_min);
  a.full_range = static_cast<std::int16_t>(c.curve_max - c.curve_min);
  a.criteria_reached = false;
  if (!(a.walk.inlier_count > parameters.min_total_measurements)) return false;
  if (!(star_images > parameters.min_selected_measurements)) return false;
  if (!(a.inlier_range > parameters.min_mag_interval)) return false;
  compute_criteria(a);
  a.criteria_reached = true;
  return a.weighted_criterion.per_measurement < parameters.min_variation;
}

}  // namespace varisift
