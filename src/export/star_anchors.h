// The anchor of every star: the measurement that created it, whose position
// identification compared every later image with. A matched star's
// measurements begin with it; a star never matched has only its anchor,
// found by the star number the measurement carries.
#pragma once

#include <cstdint>
#include <vector>

#include "store/observation_store.h"

namespace varisift {

struct StarAnchor {
  std::int32_t ra = 0;   // ms of time
  std::int32_t dec = 0;  // 1/100 arcsec
};

// Star s at index s - 1.
std::vector<StarAnchor> star_anchors(const ObservationStore& store);

}  // namespace varisift
