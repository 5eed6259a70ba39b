// The identification box on its own, with half-widths worked out by hand:
// ra_window = R(100 F / (15 cos dec)) ms, dec_window = R(10 F) 1/100 arcsec,
// R rounding to the nearest integer; and the strict test of a candidate.
#include "stars/search_box.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/position_fixtures.h"

namespace varisift {
namespace {

TEST(SearchBox, HalfWidthsFromTheFwhmAndTheDeclination) {
  struct Case {
    const char* what;
    std::int32_t dec;   // 1/100 arcsec
    std::uint8_t fwhm;  // 1/10 arcsec
    std::int64_t ra_window, dec_window;
  };
  const Case cases[] = {
      // 100 x 25 / 15 = 166.67 rounds up; 10 x 25 = 250.
      {"2.5 arcsec at the equator", 0, 25, 167, 250},
      {"3.0 arcsec at the equator", 0, 30, 200, 300},
      {"0.1 arcsec: 6.67 rounds up", 0, 1, 7, 10},
      {"25.5 arcsec, the widest FWHM", 0, 255, 1700, 2550},
      // cos 45 deg = 0.70711: 3000 / 10.6066 = 282.84.
      {"45 deg north", 16200000, 30, 283, 300},
      {"45 deg south, as wide as north", -16200000, 30, 283, 300},
      // cos 89 deg = 0.017452: 3000 / 0.26179 = 11459.7.
      {"89 deg north", 32040000, 30, 11460, 300},
      {"89 deg south", -32040000, 30, 11460, 300},
      {"FWHM 0: an empty box", 0, 0, 0, 0},
      {"FWHM 0 at the pole", 32400000, 0, 0, 0},
      // cos 90 deg is all but zero: the box holds every right ascension.
      {"the north pole", 32400000, 30, ra_window_cap, 300},
      {"the south pole", -32400000, 30, ra_window_cap, 300},
  };
  for (const Case& c : cases) {
    SearchBox box = search_box(measurement_at(43200000, c.dec, c.fwhm), 1);
    EXPECT_EQ(box.ra_window, c.ra_window) << c.what;
    EXPECT_EQ(box.dec_window, c.dec_window) << c.what;
  }
  EXPECT_EQ(ra_window_cap, 86400000);  // a whole day of right ascension
}

TEST(SearchBox, TheDivisorDividesTheRoundedHalfWidthAndRoundsAgain) {
  // FWHM 2.5" at the equator, divided by 2: R(R(166.67) / 2) = R(83.5) = 84
  // (a tie goes to even), and R(250 / 2) = 125.
  SearchBox box = search_box(measurement_at(43200000, 0, 25), 2);
  EXPECT_EQ(box.ra_window, 84);
  EXPECT_EQ(box.dec_window, 125);
}

TEST(SearchBox, CandidatesStrictlyInsideBothHalfWidths) {
  // 3.0 arcsec at 10 arcsec north: half-widths 200 ms and 300.
  Measurement reference = measurement_at(50000, 1000, 30);
  SearchBox box = search_box(reference, 1);
  ASSERT_EQ(box.ra_window, 200);
  ASSERT_EQ(box.dec_window, 300);
  struct Case {
    std::int32_t ra, dec;
    bool inside;
  };
  const Case cases[] = {
      {50000, 1000, true},  {50199, 1000, true}, {49801, 1000, true},  {50200, 1000, false},
      {49800, 1000, false}, {50000, 1299, true}, {50000, 701, true},   {50000, 1300, false},
      {50000, 700, false},  {50199, 1299, true}, {50200, 1299, false}, {49801, 700, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(in_box(reference, box, measurement_at(c.ra, c.dec)), c.inside) << c.ra << " " << c.dec;
}

}  // namespace
}  // namespace varisift
