// Choosing and converting the measurements of a period search.
#include "export/period_data.h"

namespace varisift {

namespace {

// Julian dates are kept in units of 1e-5 day, magnitudes in 1/100 mag.
constexpr double julian_units_per_day = 100000;
constexpr double centimag_per_mag = 100;

}  // namespace

PeriodData period_data(const std::vector<StarMeasurement>& measurements) {
  PeriodData data;
  for (const StarMeasurement& m : measurements) {
    if (m.use == MeasurementUse::bad_image) continue;
    data.times.push_back(static_cast<double>(m.julian_e5) / julian_units_per_day);
    data.magnitudes.push_back(m.corrected / centimag_per_mag);
    data.outlier.push_back(m.use == MeasurementUse::outlier);
  }
  return data;
}

}  // namespace varisift
