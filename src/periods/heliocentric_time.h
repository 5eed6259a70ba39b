// Heliocentric Julian dates: the time at which light from a star would
// have reached the Sun instead of the Earth,
//   HJD = JD - (R A/c) [sin d sin d_sun + cos d cos d_sun cos(a - a_sun)],
// with the Sun's geocentric position from the Astronomical Almanac's
// low-precision formulas for the Sun (section C), referred to the J2000
// equinox of the star's coordinates. Against a full ephemeris the
// correction is within 0.11 s for 2000-2050 (0.08 s at the geocentre, and
// up to 0.02 s for the observer's place on Earth). The result stays on the
// scale of the input: UT in, HJD(UT) out.
#pragma once

namespace varisift {

// The Sun's geocentric right ascension and declination (degrees, J2000
// equinox) and distance (au).
struct SunPosition {
  double ra_deg = 0;
  double dec_deg = 0;
  double distance_au = 0;
};

SunPosition sun_position(double julian_date);

// HJD - JD in days for a star at ra_deg, dec_deg (ICRS / J2000).
double heliocentric_correction(double julian_date, double ra_deg, double dec_deg);

double heliocentric_julian_date(double julian_date, double ra_deg, double dec_deg);

}  // namespace varisift
