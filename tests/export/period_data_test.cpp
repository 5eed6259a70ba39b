// The measurements a period search takes: those in images with valid data,
// outliers included, with the corrected magnitude the detection judged and
// the Julian date of the image.
#include "export/period_data.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(PeriodData, OutliersInBadImagesOutMagnitudesAsCorrected) {
  auto measurement = [](std::int64_t julian_e5, std::int16_t log_mag, std::int16_t corrected, MeasurementUse use) {
    StarMeasurement m;
    m.julian_e5 = julian_e5;
    m.magnitude = log_mag;
    m.offset = static_cast<std::int16_t>(corrected - log_mag);
    m.corrected = corrected;
    m.use = use;
    return m;
  };
  // Two images with the same time stamp, an image judged bad between them
  // and others, and a trend offset on every image.
  const PeriodData d = period_data({measurement(245876929635, 1547, 1550, MeasurementUse::used),
                                    measurement(245876929635, 1602, 1598, MeasurementUse::outlier),
                                    measurement(245876929979, 1400, 1400, MeasurementUse::bad_image),
                                    measurement(245876930001, -150, -149, MeasurementUse::used)});
  EXPECT_EQ(d.times, (std::vector<double>{2458769.29635, 2458769.29635, 2458769.30001}));
  EXPECT_EQ(d.magnitudes, (std::vector<double>{15.50, 15.98, -1.49}));
  EXPECT_EQ(d.outlier, (std::vector<bool>{false, true, false}));
}

}  // namespace
}  // namespace varisift
