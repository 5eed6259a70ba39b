// Phase dispersion against the worked example Series A, and the cases
// without anything to divide by.
#include "periods/phase_dispersion.h"

#include <gtest/gtest.h>

#include <vector>

#include "periods/period_fixtures.h"

namespace varisift {
namespace {

TEST(PhaseDispersion, SeriesAWithFiveBins) {
  const CentredSeries a = centred_series(fixtures::series_a_times, fixtures::series_a_magnitudes);
  EXPECT_NEAR(phase_dispersion(a, 1 / 2.7, 5), 0.2079387981, 1e-10);
  EXPECT_NEAR(phase_dispersion(a, 2 / 2.7, 5), 0.3926166993, 1e-10);
  EXPECT_NEAR(phase_dispersion(a, 1, 5), 0.9353431397, 1e-10);
}

TEST(PhaseDispersion, NeutralWithoutSpreadOrFreedom) {
  // Constant magnitudes; and one point per bin, which leaves no freedom.
  const std::vector<double> t{0, 0.125, 0.25, 0.375}, flat(4, 11.0), varying{11, 12, 11.5, 11.2};
  EXPECT_EQ(phase_dispersion(centred_series(t, flat), 0.5, 4), 1);
  EXPECT_EQ(phase_dispersion(centred_series(t, varying), 0.5, 4), 1);
  // Two points a whole cycle apart share the first bin and agree; the third
  // is alone in its bin: no dispersion within bins.
  const std::vector<double> t3{0, 0.4, 0.2}, m3{11, 11, 12};
  EXPECT_EQ(phase_dispersion(centred_series(t3, m3), 0.4, 4), 0);
}

}  // namespace
}  // namespace varisift
