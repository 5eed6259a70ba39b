// Light-curve assembly with the magnitude-trend offsets.
#include "stars/light_curve.h"

#include "fields/field_means.h"
#include "store/time_keys.h"
#include "text/integer_arithmetic.h"

namespace varisift {

std::int16_t trend_offset(const Image& image, std::int16_t reference, std::int8_t correction) {
  if (correction == 0) return 0;
  std::int64_t n = image.meas_count();
  if (n == 0) return 0;
  // reference - sum/n + 1/2 = (2 reference n - 2 sum + n) / (2n), floored
  // exactly; the magnitude sum of an image is at most 19999 x 2^15.
  std::int64_t numerator = 2 * static_cast<std::int64_t>(reference) * n - 2 * image.sums.mag + n;
  return static_cast<std::int16_t>(floor_div(numerator, 2 * n) * correction);
}

bool build_light_curve(const ObservationStore& store, std::uint32_t s, LightCurve& curve) {
  const std::int8_t correction = store.parameters.trend_correction;
  curve.star = s;
  curve.count = 0;
  curve.curve_max = -no_magnitude;
  curve.curve_min = no_magnitude;
  std::int16_t reference = -no_magnitude;
  std::span<const StarEntry> entries = store.stars.entries_of(s);
  // Without the correction every offset is 0 whatever the reference, so
  // the image means are not worked out for each star twice per run.
  if (correction != 0) {
    for (const StarEntry& e : entries) {
      const Image& image = store.images[e.image];
      if (!image.no_valid_data) reference = max16(reference, mean_image_mag(image));
    }
  }
  curve.trend_reference = reference;
  for (const StarEntry& e : entries) {
    const Image& image = store.images[e.image];
    if (image.no_valid_data) continue;
    std::int16_t x =
        static_cast<std::int16_t>(trend_offset(image, reference, correction) + image.measurement(e.meas).mag);
    curve.in_time_order[curve.count] = x;
    curve.image[curve.count] = e.image;
    ++curve.count;
    curve.curve_max = max16(curve.curve_max, x);
    curve.curve_min = min16(curve.curve_min, x);
  }
  return curve.count > store.parameters.min_selected_measurements;
}

}  // namespace varisift
