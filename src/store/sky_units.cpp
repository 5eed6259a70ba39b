// Angles between positions on the sky.
#include "store/sky_units.h"

#include <cmath>

namespace varisift {

double separation_arcsec(std::int64_t ra_a, std::int64_t dec_a, std::int64_t ra_b, std::int64_t dec_b) {
  constexpr double radians_per_degree = std::numbers::pi / 180.0;
  constexpr double arcsec_per_radian = 180.0 / std::numbers::pi * 3600.0;
  double dec1 = dec_degrees(dec_a) * radians_per_degree;
  double dec2 = dec_degrees(dec_b) * radians_per_degree;
  double half_dra = (ra_degrees(ra_a) - ra_degrees(ra_b)) * radians_per_degree / 2;
  double half_ddec = (dec1 - dec2) / 2;
  double h = std::sin(half_ddec) * std::sin(half_ddec) +
             std::cos(dec1) * std::cos(dec2) * std::sin(half_dra) * std::sin(half_dra);
  if (h > 1) h = 1;
  return 2 * std::asin(std::sqrt(h)) * arcsec_per_radian;
}

}  // namespace varisift
