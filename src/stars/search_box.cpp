// Identification box half-widths.
#include "stars/search_box.h"

#include <cmath>

#include "base/parameters.h"
#include "store/sky_units.h"
#include "text/number_text.h"

namespace varisift {

SearchBox search_box(const Measurement& reference, std::uint8_t fwhm_divisor) {
  double fwhm = reference.fwhm;
  double delta = declination_radians(reference.dec);
  double ra_half = round_half_even(100 * fwhm / (15 * std::cos(delta)));
  ra_half = round_half_even(ra_half / fwhm_divisor);
  SearchBox box;
  // Beyond a day the box holds everything anyway; the cap also keeps the
  // conversion defined where cos(delta) is all but zero.
  box.ra_window = ra_half >= static_cast<double>(ra_window_cap) ? ra_window_cap : round_to_int64(ra_half);
  box.dec_window = round_to_int64(10 * fwhm / fwhm_divisor);
  return box;
}

}  // namespace varisift
