// The catalogue cross-match of the results table: the first entry in
// catalogue order whose right-ascension difference, measured on the sky
// (x 15 x cos(dec)), is below ten times the FWHM and whose declination
// difference is below five times it; strict limits, no wrap-around at 0h.
// The nearest entry within a radius that the files use. The declination
// index gives the answers of the plain scans on random catalogues of every
// awkward kind.
#include "detect/vsx_match.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::add_vsx_entry;

constexpr std::int32_t degrees = 360000;  // 1/100 arcsec

struct Position {
  std::int32_t ra, dec;
};

struct WindowCase {
  const char* what;
  std::int64_t ra, dec;
  std::uint16_t fwhm;
  std::vector<Position> entries;
  std::uint32_t match;  // 1-based catalogue index, 0 = none
};

// FWHM 3.0: the window is 30000 / 15 / cos(dec) ms of time in RA and 1500 in Dec.
const WindowCase window_cases[] = {
    {"same place", 43200000, 0, 30, {{43200000, 0}}, 1},
    {"1999 ms east on the equator", 43200000, 0, 30, {{43201999, 0}}, 1},
    {"2000 ms west on the equator", 43200000, 0, 30, {{43198000, 0}}, 0},
    {"14.99 arcsec north", 43200000, 0, 30, {{43200000, 1499}}, 1},
    {"15.00 arcsec south", 43200000, 0, 30, {{43200000, -1500}}, 0},
    // At +80 deg, 10000 ms of time are 10000 x 15 x 0.174 = 26047 on the sky
    // (dividing by the cosine instead would give 863800: no match).
    {"10000 ms near the north pole", 43200000, 80 * degrees, 30, {{43210000, 80 * degrees}}, 1},
    {"12000 ms near the north pole", 43200000, 80 * degrees, 30, {{43212000, 80 * degrees}}, 0},
    {"10000 ms near the south pole", 43200000, -80 * degrees, 30, {{43190000, -80 * degrees - 1000}}, 1},
    {"earlier entry wins over a closer one", 43200000, 0, 30, {{43201500, 0}, {43200000, 0}}, 1},
    {"entries outside the window are passed over",
     43200000,
     0,
     30,
     {{43200000, 1500}, {43300000, 0}, {43201000, -1000}, {43200000, 0}},
     3},
    {"no wrap from 0h 00m 01s to 23h 59m 59s", 1000, 0, 255, {{86399000, 0}}, 0},
    {"0h 00m 00.5s is close to 0h 00m 01s", 1000, 0, 255, {{500, 0}}, 1},
    {"FWHM 0 has no window", 43200000, 0, 0, {{43200000, 0}}, 0},
    {"empty catalogue", 43200000, 0, 30, {}, 0},
};

VsxCatalogue catalogue_of(const std::vector<Position>& entries) {
  VsxCatalogue catalogue;
  for (std::size_t k = 0; k < entries.size(); ++k)
    add_vsx_entry(catalogue, static_cast<std::int32_t>(k + 1), entries[k].ra, entries[k].dec, 1200, "V");
  return catalogue;
}

TEST(VsxWindow, FirstEntryInsideTheWindow) {
  for (const WindowCase& c : window_cases) {
    VsxCatalogue catalogue = catalogue_of(c.entries);
    VsxIndex index;
    index.build(catalogue);
    EXPECT_EQ(first_match_by_scan(catalogue, c.ra, c.dec, c.fwhm), c.match) << c.what;
    EXPECT_EQ(index.first_match(catalogue, c.ra, c.dec, c.fwhm), c.match) << c.what << ", by index";
  }
}

struct NearestCase {
  const char* what;
  std::int64_t ra, dec;
  double radius;  // arcsec
  std::vector<Position> entries;
  std::uint32_t entry;  // 1-based catalogue index, 0 = none
};

// The files' rule: the nearest entry on the sphere within the radius, the
// radius inside, a tie to the earlier entry.
const NearestCase nearest_cases[] = {
    {"the nearer entry comes later in the file", 43200000, 0, 5.0, {{43200100, 0}, {43200000, 100}}, 2},
    {"exactly at the radius is inside", 43200000, 30 * degrees, 5.0, {{43200000, 30 * degrees + 500}}, 1},
    {"a hundredth of an arcsec beyond it is outside", 43200000, 30 * degrees, 5.0, {{43200000, 30 * degrees + 501}}, 0},
    {"across 0h: 0.1 s east of 0h and 0.1 s west are 3 arcsec apart", 100, 0, 5.0, {{86399900, 0}}, 1},
    {"a tie goes to the first entry", 43200000, 0, 5.0, {{43200000, -300}, {43200000, 300}}, 1},
    {"a tie goes to the first entry, here the northern", 43200000, 0, 5.0, {{43200000, 300}, {43200000, -300}}, 1},
    {"at the pole every right ascension is near", 0, 90 * degrees, 1.0, {{43200000, 90 * degrees - 50}}, 1},
    {"an entry far away in right ascension at the same declination", 43200000, 0, 60.0, {{43204100, 0}}, 0},
};

TEST(VsxNearest, NearestEntryWithinTheRadius) {
  for (const NearestCase& c : nearest_cases) {
    VsxCatalogue catalogue = catalogue_of(c.entries);
    VsxIndex index;
    index.build(catalogue);
    EXPECT_EQ(nearest_by_scan(catalogue, c.ra, c.dec, c.radius).entry, c.entry) << c.what;
    EXPECT_EQ(index.nearest(catalogue, c.ra, c.dec, c.radius).entry, c.entry) << c.what << ", by index";
  }
}

// Catalogues of one kind: positions drawn around a centre.
struct CatalogueKind {
  const char* what;
  std::int32_t ra_centre, ra_spread;
  std::int32_t dec_centre, dec_spread;
  int distinct_decs;  // 0 = any declination in the spread
};

TEST(VsxIndex, GivesTheAnswerOfTheScanOnRandomCatalogues) {
  const CatalogueKind kinds[] = {
      {"whole sky", 43200000, 43199999, 0, 90 * degrees, 0},
      {"dense field", 18000000, 20000, 45 * degrees, 3000, 0},
      {"equal declinations", 18000000, 20000, 10 * degrees, 2000, 3},
      {"near the north pole", 43200000, 43199999, 8950 * (degrees / 100), degrees / 2, 0},
      {"near the south pole", 43200000, 43199999, -8950 * (degrees / 100), degrees / 2, 0},
      {"southern dense field", 60000000, 30000, -30 * degrees, 5000, 0},
      {"around 0h", 0, 40000, 0, 3000, 0},
  };
  std::mt19937 random(20170301);
  auto uniform = [&](std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
  };
  for (const CatalogueKind& kind : kinds) {
    int compared = 0;
    int matched = 0;
    for (int round = 0; round < 60; ++round) {
      auto random_ra = [&] { return uniform(kind.ra_centre - kind.ra_spread, kind.ra_centre + kind.ra_spread); };
      auto random_dec = [&] { return uniform(kind.dec_centre - kind.dec_spread, kind.dec_centre + kind.dec_spread); };
      std::vector<std::int64_t> decs;
      for (int d = 0; d < kind.distinct_decs; ++d) decs.push_back(random_dec());
      std::vector<Position> positions;
      auto size = uniform(1, 300);
      for (std::int64_t k = 0; k < size; ++k) {
        std::int64_t dec =
            decs.empty() ? random_dec() : decs[static_cast<std::size_t>(uniform(0, kind.distinct_decs - 1))];
        positions.push_back({static_cast<std::int32_t>(random_ra()), static_cast<std::int32_t>(dec)});
      }
      VsxCatalogue catalogue = catalogue_of(positions);
      VsxIndex index;
      index.build(catalogue);
      for (int query = 0; query < 40; ++query) {
        auto fwhm = static_cast<std::uint16_t>(query % 10 == 0 ? 0 : uniform(1, 255));
        const Position& near = positions[static_cast<std::size_t>(uniform(0, size - 1))];
        std::int64_t ra = near.ra;
        std::int64_t dec = near.dec;
        switch (query % 4) {
          case 0:  // exactly on an entry
            break;
          case 1:  // anywhere in the catalogue's area
            ra = random_ra();
            dec = random_dec();
            break;
          case 2:  // close to an entry
            ra += uniform(-3000, 3000);
            dec += uniform(-2000, 2000);
            break;
          default:  // on the declination edge of an entry's window, or just inside
            ra += uniform(-3000, 3000);
            dec += (uniform(0, 1) == 0 ? 1 : -1) * (fwhm * 50 - uniform(0, 1));
            break;
        }
        const double radius = static_cast<double>(uniform(1, 600)) / 10;
        const NearestVsxEntry nearest = nearest_by_scan(catalogue, ra, dec, radius);
        const NearestVsxEntry by_index = index.nearest(catalogue, ra, dec, radius);
        ASSERT_EQ(by_index.entry, nearest.entry) << kind.what << ", round " << round << ", radius " << radius;
        ASSERT_EQ(by_index.separation_arcsec, nearest.separation_arcsec) << kind.what;
        std::uint32_t expected = first_match_by_scan(catalogue, ra, dec, fwhm);
        ASSERT_EQ(index.first_match(catalogue, ra, dec, fwhm), expected)
            << kind.what << ", round " << round << ", query at " << ra << " " << dec << " FWHM " << fwhm;
        ++compared;
        matched += expected != 0;
      }
    }
    // Close enough for matches, far enough for misses.
    EXPECT_GT(matched, compared / 10) << kind.what;
    EXPECT_LT(matched, compared) << kind.what;
  }
}

}  // namespace
}  // namespace varisift
