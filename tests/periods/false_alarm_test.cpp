// Baluev's false-alarm probability against worked examples, down to a
// value far below the smallest double, and its limits.
#include "periods/false_alarm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "periods/period_fixtures.h"

namespace varisift {
namespace {

TEST(FalseAlarm, WorkedExamples) {
  std::vector<double> series_b;
  for (int i = 0; i <= 200; ++i) series_b.push_back(i / 100.0);
  const double d_a = time_variance(fixtures::series_a_times);
  const double d_b = time_variance(series_b);
  EXPECT_NEAR(d_a, 0.17781561, 1e-12);
  EXPECT_NEAR(d_b, 0.3366666667, 1e-10);
  struct Case {
    double z;
    std::size_t n;
    double d_t, f_max, fap;
  };
  const Case cases[] = {
      {0.9753271954, 10, d_a, 7.964601770, 3.446555791e-4},
      {0.5, 10, d_a, 7.964601770, 0.8814708766},
      {0.1, 201, d_b, 50, 0.01005783910},
      {0.2, 201, d_b, 50, 1.306972847e-7},
      {0.5, 201, d_b, 50, 1.618061578e-27},
  };
  // Series A's highest power is given to 10 digits; FAP grows as (1 - z)^3
  // there, so its value agrees to about 1e-8.
  for (const Case& c : cases) EXPECT_NEAR(std::exp(log_false_alarm(c.z, c.n, c.d_t, c.f_max)) / c.fap, 1, 1e-8) << c.z;
  // Far below 1e-308, where both terms underflow: log10 FAP = -390.98948.
  EXPECT_NEAR(log_false_alarm(0.9999, 201, d_b, 50) / std::log(10.0), -390.98948, 5e-6);
}

TEST(FalseAlarm, Limits) {
  EXPECT_EQ(log_false_alarm(0, 10, 0.2, 8), 0);
  EXPECT_EQ(log_false_alarm(-0.1, 10, 0.2, 8), 0);
  EXPECT_EQ(log_false_alarm(0.9, 3, 0.2, 8), 0);  // too few points for a sine and its noise
  EXPECT_LT(log_false_alarm(0.9, 4, 0.2, 8), 0);
  EXPECT_EQ(log_false_alarm(1, 10, 0.2, 8), -INFINITY);
}

}  // namespace
}  // namespace varisift
