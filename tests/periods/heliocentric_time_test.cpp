// The low-precision Sun referred to J2000 and the heliocentric correction
// against worked examples.
#include "periods/heliocentric_time.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(HeliocentricTime, SunOnTheFirstOf2024) {
  const SunPosition sun = sun_position(2460310.75);
  EXPECT_NEAR(sun.ra_deg, 280.844824, 1e-6);
  EXPECT_NEAR(sun.dec_deg, -23.064797, 1e-6);
  EXPECT_NEAR(sun.distance_au, 0.983313, 1e-6);
}

TEST(HeliocentricTime, WorkedExamples) {
  struct Case {
    double jd, ra, dec, seconds;
  };
  const Case cases[] = {
      {2460310.75, 83.63308, 22.01450, 471.8523},
      {2461200.40, 280.0, -30.0, 469.5866},
      {2451545.0, 0.0, 0.0, -88.4192},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(heliocentric_correction(c.jd, c.ra, c.dec) * 86400, c.seconds, 1e-4) << c.jd;
    EXPECT_NEAR(heliocentric_julian_date(c.jd, c.ra, c.dec), c.jd + c.seconds / 86400, 1e-8) << c.jd;
  }
  EXPECT_NEAR(heliocentric_julian_date(2460310.75, 83.63308, 22.01450), 2460310.755461, 5e-7);
}

}  // namespace
}  // namespace varisift
