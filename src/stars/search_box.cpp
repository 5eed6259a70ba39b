// Identification box half-widths.
#include "stars/search_box.h"

#include <cmath>
#include <numbers>

#include "base/parameters.h"
#include "text/number_text.h"

namespace varisift {

SearchBox search_box(const Measurement& reference) {
  double fwhm = reference.fwhm;
  double delta = reference.dec / 360000.0 * std::numbers::pi / 180.0;
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
