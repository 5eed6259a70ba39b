// The parameters and capacities of a run. The detection parameters have
// fixed defaults, which the command line may change; they are printed at the
// start of every run, so that a report always says how it was made. The
// capacities are fixed.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/build_info.h"

namespace varisift {

// Capacity of measurement lines in one image's photometry table.
inline constexpr std::uint32_t max_observations = 19999;
// Capacity of identified stars.
inline constexpr std::uint32_t max_stars = 500000;
// Capacity of distinct images.
inline constexpr std::uint8_t max_images = 209;
// Limit of the per-image outlier counts, in tenths of their quartile distance
// (1.0); not printed.
inline constexpr std::uint32_t image_outlier_factor = 10;

// The parameters of the "Used parameters:" block, at their defaults.
struct DetectionParameters {
  // The identification box is the reference measurement's FWHM divided by this.
  std::uint8_t fwhm_divisor = 1;
  // Variation threshold of the 3rd criterion; lowered to the number of images
  // when fewer were read.
  std::uint16_t min_variation = 30;
  // A star needs more than this many in-range measurements.
  std::uint16_t min_total_measurements = 6;
  // A star needs more than this many valid measurements (and identifications).
  std::uint8_t min_selected_measurements = 6;
  // Smallest inlier magnitude range of a variable, in 1/100 mag (0.10 mag).
  std::uint8_t min_mag_interval = 10;
  // Magnitude-trend correction: 0 off, 1 on.
  std::int8_t trend_correction = 0;
  // Outlier fences of a light curve, in tenths of the quartile distance (3.0).
  std::uint32_t outlier_factor = 30;
};

// Files, by plain name in the folder of the series.
inline constexpr std::string_view log_file_name = "Skymensor.log";
inline constexpr std::string_view report_file_name = "Varisift.log";
inline constexpr std::string_view catalogue_file_name = "vsx.dat";

// Where users are asked to write when the data defeats the program; set when
// the program is built (VARISIFT_CONTACT).
inline constexpr std::string_view contact_address = build_contact;

}  // namespace varisift
