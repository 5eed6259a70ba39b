// The light curve of one star: its valid magnitudes in time order, each
// shifted by its image's trend offset when the trend correction is on, with
// the order statistics that outlier rejection and the criteria rest on.
#pragma once

#include <array>
#include <cstdint>

#include "base/parameters.h"
#include "store/observation_store.h"

namespace varisift {

// Start values of magnitude extremes not yet set.
inline constexpr std::int16_t no_magnitude = 9999;

struct LightCurve {
  std::uint32_t star = 0;
  // Faintest floored image mean of the star's images; set only when the
  // trend correction is on (otherwise every offset is 0).
  std::int16_t trend_reference = 0;
  // The valid corrected magnitudes in time order and their images.
  std::array<std::int16_t, max_images> in_time_order{};
  std::array<std::uint8_t, max_images> image{};
  // The same magnitudes sorted ascending (after the statistics).
  std::array<std::int16_t, max_images> sorted{};
  std::uint16_t count = 0;
  std::int16_t curve_min = no_magnitude;
  std::int16_t curve_max = -no_magnitude;

  std::int16_t median = 0;
  std::int16_t lower_quartile = 0;
  std::int16_t upper_quartile = 0;
  std::int16_t lower_fence = 0;
  std::int16_t upper_fence = 0;
  std::int16_t inlier_min = 0;
  std::int16_t inlier_max = 0;
};

// The offset of image's magnitudes for a star whose trend reference is
// reference: floor(reference - exact mean magnitude of the image + 0.5),
// times the correction switch.
std::int16_t trend_offset(const Image& image, std::int16_t reference, std::int8_t correction);

// Builds the light curve of star s from its valid measurements. Returns
// whether the star has more than min_selected_measurements of them and so
// goes on to its statistics.
bool build_light_curve(const ObservationStore& store, std::uint32_t s, LightCurve& curve);

}  // namespace varisift
