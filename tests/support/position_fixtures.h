// Observation stores built from positions, for the identification tests:
// measurements that are free, with a position and an FWHM, in images that
// take the next place in the time order.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "store/observation_store.h"

namespace varisift {

// A free measurement at (ra ms, dec 1/100 arcsec) with an FWHM in 1/10 arcsec.
inline Measurement measurement_at(std::int32_t ra, std::int32_t dec, std::uint8_t fwhm = 30) {
  Measurement m;
  m.ra = ra;
  m.dec = dec;
  m.fwhm = fwhm;
  m.free = 1;
  return m;
}

// Registers an image named after its number with the given time stamp.
inline void add_image(ObservationStore& store, const std::string& time, std::vector<Measurement> meas) {
  Image image;
  image.name = "image" + std::to_string(store.images.size());
  image.time = time;
  image.meas = std::move(meas);
  store.images.push_back(std::move(image));
  store.image_order.push_back(static_cast<std::uint8_t>(store.image_count()));
}

}  // namespace varisift
