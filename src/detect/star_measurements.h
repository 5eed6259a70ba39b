// A star's measurements in time order of the images, each with its time,
// the log's magnitude and how the detection used it: inside the fences, an
// outlier, or in an image judged to have no valid data. The console's detail
// block marks them so, and the exports list them so.
#pragma once

#include <cstdint>
#include <vector>

#include "detect/star_results.h"
#include "store/observation_store.h"

namespace varisift {

enum class MeasurementUse { used, outlier, bad_image };

struct StarMeasurement {
  std::uint8_t image = 0;      // image number
  std::uint16_t meas = 0;      // measurement index within the image
  std::int64_t julian_e5 = 0;  // Julian date x 100000 of the image's time stamp
  std::int16_t magnitude = 0;  // as the log gives it, 1/100 mag
  std::int16_t offset = 0;     // the star's trend offset in the image
  std::int16_t corrected = 0;  // the magnitude with that offset
  MeasurementUse use = MeasurementUse::used;
};

// The measurements of star s, judged against its curve's trend reference
// and fences.
std::vector<StarMeasurement> star_measurements(const ObservationStore& store, std::uint32_t s,
                                               std::int16_t trend_reference, std::int16_t lower_fence,
                                               std::int16_t upper_fence);

// The measurements of a star whose curve reached the statistics, as the
// report pass left it.
std::vector<StarMeasurement> star_measurements(const ObservationStore& store, const StarResult& result);

}  // namespace varisift
