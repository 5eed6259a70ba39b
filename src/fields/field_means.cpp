// Floored field means.
#include "fields/field_means.h"

#include "store/time_keys.h"
#include "text/integer_arithmetic.h"

namespace varisift {

std::int64_t field_mean(std::int64_t sum, std::uint16_t count) {
  if (count == 0) return 0;
  return floor_div(sum, count);
}

std::int16_t mean_image_mag(const Image& image) {
  return static_cast<std::int16_t>(field_mean(image.sums.mag, image.meas_count()));
}

void lower_variation_threshold(ObservationStore& store) {
  std::uint16_t& threshold = store.parameters.min_variation;
  threshold = static_cast<std::uint16_t>(
      min16(static_cast<std::int16_t>(store.image_count()), static_cast<std::int16_t>(threshold)));
}

}  // namespace varisift
