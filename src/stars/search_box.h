// The box around a reference measurement inside which a measurement of a
// later image is taken as the same star: half-widths derived from the
// reference's FWHM, the RA half-width widened by 1/cos(declination).
#pragma once

#include <cstdint>

#include "store/observation_store.h"

namespace varisift {

// RA half-widths are capped at one day of right ascension: at (and very
// near) the poles the box then holds every right ascension of the sky.
inline constexpr std::int64_t ra_window_cap = 86400000;

struct SearchBox {
  std::int64_t ra_window = 0;   // ms of time
  std::int64_t dec_window = 0;  // 1/100 arcsec
};

// The box of a reference measurement for the FWHM divisor of the run.
SearchBox search_box(const Measurement& reference, std::uint8_t fwhm_divisor);

// Both differences strictly inside the box.
inline bool in_box(const Measurement& reference, const SearchBox& box, const Measurement& candidate) {
  std::int64_t dra = static_cast<std::int64_t>(reference.ra) - candidate.ra;
  std::int64_t ddec = static_cast<std::int64_t>(reference.dec) - candidate.dec;
  return (dra < 0 ? -dra : dra) < box.ra_window && (ddec < 0 ? -ddec : ddec) < box.dec_window;
}

}  // namespace varisift
