// Angles between sky positions: small separations and positions either
// side of 0h.
#include "store/sky_units.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(SkyUnits, SeparationInArcseconds) {
  // 1" in declination; 1 s of time at the equator is 15".
  EXPECT_NEAR(separation_arcsec(0, 0, 0, 100), 1.0, 1e-9);
  EXPECT_NEAR(separation_arcsec(1000, 0, 0, 0), 15.0, 1e-9);
  // At +60 degrees 1 s of time is 7.5".
  EXPECT_NEAR(separation_arcsec(0, 21600000, 1000, 21600000), 7.5, 1e-6);
  // 23h59m59s and 0h00m01s are 2 s of time apart, not 24 h.
  EXPECT_NEAR(separation_arcsec(86399000, 0, 1000, 0), 30.0, 1e-6);
}

}  // namespace
}  // namespace varisift
