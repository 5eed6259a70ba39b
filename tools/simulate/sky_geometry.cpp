// Plane offsets and written units of sky positions; see sky_geometry.h.
#include "sky_geometry.h"

#include <cmath>

#include "portable_math.h"

namespace varisift::simulate {

namespace {

constexpr double full_circle = 360.0;
constexpr double half_circle = 180.0;
// Keeps 1 / cos(Dec) finite for a star placed right at the pole.
constexpr double min_cos_dec = 1e-6;

double cos_dec(double dec_deg) {
  const double c = portable_cos_deg(dec_deg);
  return c < min_cos_dec ? min_cos_dec : c;
}

}  // namespace

double wrap_degrees(double degrees) {
  double wrapped = degrees - full_circle * std::floor(degrees / full_circle);
  if (wrapped >= full_circle) {
    wrapped -= full_circle;
  }
  return wrapped;
}

double ra_difference(double a_deg, double b_deg) {
  double d = wrap_degrees(a_deg - b_deg);
  if (d > half_circle) {
    d -= full_circle;
  }
  return d;
}

void field_offsets(double center_ra_deg, double center_dec_deg, double ra_deg, double dec_deg, double& xi_arcsec,
                   double& eta_arcsec) {
  xi_arcsec = ra_difference(ra_deg, center_ra_deg) * cos_dec(dec_deg) * arcsec_per_degree;
  eta_arcsec = (dec_deg - center_dec_deg) * arcsec_per_degree;
}

void position_at(double center_ra_deg, double center_dec_deg, double xi_arcsec, double eta_arcsec, double& ra_deg,
                 double& dec_deg) {
  dec_deg = center_dec_deg + eta_arcsec / arcsec_per_degree;
  ra_deg = wrap_degrees(center_ra_deg + xi_arcsec / arcsec_per_degree / cos_dec(dec_deg));
}

std::int32_t ra_ms_of(double ra_deg) {
  std::int64_t ms = std::llround(wrap_degrees(ra_deg) * ms_of_time_per_degree);
  if (ms >= ms_per_day_of_time) {
    ms -= ms_per_day_of_time;
  }
  return static_cast<std::int32_t>(ms);
}

std::int32_t dec_cas_of(double dec_deg) { return static_cast<std::int32_t>(std::llround(dec_deg * cas_per_degree)); }

}  // namespace varisift::simulate
