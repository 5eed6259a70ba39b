// Listing a star's measurements with their use.
#include "export/star_measurements.h"

#include "stars/light_curve.h"
#include "store/time_keys.h"

namespace varisift {

std::vector<StarMeasurement> star_measurements(const ObservationStore& store, const StarResult& result) {
  std::vector<StarMeasurement> list;
  for (const StarEntry& e : store.stars.entries_of(result.star)) {
    const Image& image = store.images[e.image];
    StarMeasurement m;
    m.image = e.image;
    m.meas = e.meas;
    m.julian_e5 = julian_e5_of_stamp(image.time);
    m.magnitude = image.measurement(e.meas).mag;
    m.corrected = static_cast<std::int16_t>(
        trend_offset(image, result.trend_reference, store.parameters.trend_correction) + m.magnitude);
    if (image.no_valid_data)
      m.use = MeasurementUse::bad_image;
    else if (m.corrected > result.lower_fence && m.corrected < result.upper_fence)
      m.use = MeasurementUse::used;
    else
      m.use = MeasurementUse::outlier;
    list.push_back(m);
  }
  return list;
}

}  // namespace varisift
