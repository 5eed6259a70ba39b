// The two console tables that close the detection: after the first pass the
// per-image outlier counts, judged against their own quartiles, which
// declares unusual images to have no valid data; after the second pass the
// distribution of star identifications.
#pragma once

#include <cstdint>

#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

struct OutlierLimits {
  std::int16_t low = 0;  // never above 0
  std::int16_t high = 0;
};

// Limits of the per-image outlier counts: the quartiles of the counts
// widened by image_outlier_factor times their distance.
OutlierLimits outlier_limits(const ObservationStore& store);

// Writes the per-image outlier table and declares the images outside the
// limits to have no valid data.
void judge_images(ObservationStore& store, ReportChannel& out);

// Writes the distribution of star identifications.
void write_identification_distribution(const ObservationStore& store, ReportChannel& out);

}  // namespace varisift
