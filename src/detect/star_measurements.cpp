// Listing a star's measurements with their use.
#include "detect/star_measurements.h"

#include "stars/curve_statistics.h"
#include "stars/light_curve.h"
#include "store/time_keys.h"

namespace varisift {

std::vector<StarMeasurement> star_measurements(const ObservationStore& store, std::uint32_t s,
                                               std::int16_t trend_reference, std::int16_t lower_fence,
                                               std::int16_t upper_fence) {
  std::vector<StarMeasurement> list;
  for (const StarEntry& e : store.stars.entries_of(s)) {
    const Image& image = store.images[e.image];
    StarMeasurement m;
    m.image = e.image;
    m.meas = e.meas;
    m.julian_e5 = julian_e5_of_stamp(image.time);
    m.magnitude = image.measurement(e.meas).mag;
    m.offset = trend_offset(image, trend_reference, store.parameters.trend_correction);
    m.corrected = static_cast<std::int16_t>(m.offset + m.magnitude);
    if (image.no_valid_data)
      m.use = MeasurementUse::bad_image;
    else if (inside_fences(m.corrected, lower_fence, upper_fence))
      m.use = MeasurementUse::used;
    else
      m.use = MeasurementUse::outlier;
    list.push_back(m);
  }
  return list;
}

std::vector<StarMeasurement> star_measurements(const ObservationStore& store, const StarResult& result) {
  return star_measurements(store, result.star, result.trend_reference, result.lower_fence, result.upper_fence);
}

}  // namespace varisift
