// Choosing and converting the measurements of a period search.
#include "export/period_data.h"

#include "store/time_keys.h"
#include "store/value_text.h"

namespace varisift {

PeriodData period_data(const std::vector<StarMeasurement>& measurements) {
  PeriodData data;
  for (const StarMeasurement& m : measurements) {
    if (m.use == MeasurementUse::bad_image) continue;
    data.times.push_back(static_cast<double>(m.julian_e5) / static_cast<double>(julian_e5_per_day));
    data.magnitudes.push_back(m.corrected / centimag_per_mag);
    data.outlier.push_back(m.use == MeasurementUse::outlier);
  }
  return data;
}

}  // namespace varisift
