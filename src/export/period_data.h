// The measurements a period search takes of one star: every measurement in
// an image with valid data, outliers included (an eclipse's minima lie
// beyond the fences of a mostly constant curve), trend-corrected when the
// run corrects trends; the rows `yes` and `outlier` of lc_<star>.csv. Times
// are the Julian dates of the images' time stamps.
#pragma once

#include <vector>

#include "detect/star_measurements.h"

namespace varisift {

struct PeriodData {
  std::vector<double> times;       // JD, in time order of the images
  std::vector<double> magnitudes;  // mag, corrected as the detection judged them
  std::vector<bool> outlier;       // beyond the fences of the star's curve
};

PeriodData period_data(const std::vector<StarMeasurement>& measurements);

}  // namespace varisift
