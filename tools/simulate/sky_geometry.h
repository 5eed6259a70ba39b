// Positions on the sky: offsets in the plane of the field around its centre,
// and the units in which positions are written (milliseconds of time,
// hundredths of an arcsecond).
//
// The field is small, so a plane with offsets xi = delta RA * cos(Dec) and
// eta = delta Dec is close enough for a simulation; it also behaves near the
// pole, where one arcminute of the field spans many minutes of right
// ascension.
#pragma once

#include <cstdint>

namespace varisift::simulate {

constexpr double arcsec_per_degree = 3600.0;
constexpr std::int64_t ms_per_day_of_time = 86400000;
constexpr double ms_of_time_per_degree = 240000.0;  // 24 h = 360 degrees
constexpr double cas_per_degree = 360000.0;         // hundredths of an arcsecond

// Degrees brought into [0, 360).
double wrap_degrees(double degrees);

// Difference a - b of two right ascensions, in (-180, 180].
double ra_difference(double a_deg, double b_deg);

// Offsets (arcseconds, xi east, eta north) of a position from a centre.
void field_offsets(double center_ra_deg, double center_dec_deg, double ra_deg, double dec_deg, double& xi_arcsec,
                   double& eta_arcsec);

// The position at given offsets from a centre (inverse of field_offsets).
void position_at(double center_ra_deg, double center_dec_deg, double xi_arcsec, double eta_arcsec, double& ra_deg,
                 double& dec_deg);

// Right ascension in milliseconds of time, rounded, in [0, 86400000).
std::int32_t ra_ms_of(double ra_deg);

// Declination in hundredths of an arcsecond, rounded, signed.
std::int32_t dec_cas_of(double dec_deg);

}  // namespace varisift::simulate
