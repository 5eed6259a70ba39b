// Julian-date keys (days x 100000) of image times, from numbers and from
// YYYYMMDDhhmmss stamps, and the signed 16-bit extremes.
#include "store/time_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace varisift {
namespace {

TEST(JulianKey, CalendarDatesAndTimes) {
  struct Row {
    const char* what;
    std::int16_t y, mo, d, h, mi, s;
    std::int64_t key;
  };
  const std::vector<Row> rows = {
      {"JD 2451545.0", 2000, 1, 1, 12, 0, 0, 245154500000},
      {"midnight", 2017, 7, 20, 0, 0, 0, 245795450000},
      {"30 s = 34.72 units", 2017, 7, 20, 0, 0, 30, 245795450035},
      {"54 s = 62.5 units, to even", 2017, 7, 20, 0, 0, 54, 245795450062},
      {"162 s = 187.5 units, to even", 2017, 7, 20, 0, 2, 42, 245795450188},
      {"378 s = 437.5 units, to even", 2017, 7, 20, 0, 6, 18, 245795450438},
      {"one hour", 2017, 7, 20, 1, 0, 0, 245795454167},
      {"Feb 28", 2017, 2, 28, 0, 0, 0, 245781250000},
      {"Mar 1, a day later", 2017, 3, 1, 0, 0, 0, 245781350000},
      {"leap year Feb 28", 2016, 2, 28, 0, 0, 0, 245744650000},
      {"leap year Mar 1, two days later", 2016, 3, 1, 0, 0, 0, 245744850000},
      {"Dec 31", 2017, 12, 31, 0, 0, 0, 245811850000},
      {"Jan 1, a day later", 2018, 1, 1, 0, 0, 0, 245811950000},
  };
  for (const Row& r : rows) EXPECT_EQ(julian_e5(r.y, r.mo, r.d, r.h, r.mi, r.s), r.key) << r.what;
}

TEST(JulianKey, FromTimeStamps) {
  struct Row {
    std::string_view stamp;
    std::int64_t key;
  };
  const std::vector<Row> rows = {
      {"20000101120000", 245154500000},
      {"20170720000030", 245795450035},
      {"20170720000054", 245795450062},
      {"20170301000000", 245781350000},
  };
  for (const Row& r : rows) EXPECT_EQ(julian_e5_of_stamp(r.stamp), r.key) << r.stamp;
}

TEST(Extremes16, CompareSigned) {
  constexpr std::int16_t lowest = std::numeric_limits<std::int16_t>::min();
  constexpr std::int16_t highest = std::numeric_limits<std::int16_t>::max();
  struct Row {
    std::int16_t a, b, max, min;
  };
  const std::vector<Row> rows = {
      {-1, 1, 1, -1}, {1, -1, 1, -1}, {-9999, 5, 5, -9999}, {7, 7, 7, 7}, {lowest, highest, highest, lowest},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(max16(r.a, r.b), r.max) << r.a << "," << r.b;
    EXPECT_EQ(min16(r.a, r.b), r.min) << r.a << "," << r.b;
  }
}

}  // namespace
}  // namespace varisift
