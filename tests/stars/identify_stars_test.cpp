// Star identification: the indexed search gives exactly the stars of the
// direct scan (first free candidate in index order inside the reference's
// box, references in index order, images in time order), on randomised
// series of every awkward kind; plus the console and report lines.
#include "stars/identify_stars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "io/report_channel.h"
#include "stars/image_order.h"
#include "stars/search_box.h"
#include "store/observation_store.h"
#include "support/direct_scan.h"
#include "support/position_fixtures.h"
#include "support/star_entries.h"

namespace varisift {
namespace {

// Kinds of randomised series.
struct SeriesShape {
  const char* name;
  int images;
  int stars;
  std::int32_t dec_centre;     // 1/100 arcsec
  std::int32_t spread;         // half-size of the field, 1/100 arcsec and ms
  std::int32_t jitter;         // position noise between images
  int fwhm_low, fwhm_high;     // tenths of an arcsecond, before the 8-bit cut
  double missing;              // chance a star is not measured in an image
  bool equal_times;            // several images share a time stamp
  bool moving;                 // one object drifts across the field
  bool two_fields = false;     // every other star in a second field far away
  std::int32_t pile_step = 0;  // positions rounded to multiples of this: piles side by side
};

ObservationStore random_series(const SeriesShape& shape, std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto uniform = [&](std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(rng);
  };
  std::vector<std::pair<std::int32_t, std::int32_t>> stars;
  for (int s = 0; s < shape.stars; ++s) {
    // Some stars share one position exactly.
    if (!stars.empty() && uniform(0, 9) == 0) {
      stars.push_back(stars[static_cast<std::size_t>(uniform(0, static_cast<std::int64_t>(stars.size()) - 1))]);
      continue;
    }
    std::int32_t far = shape.two_fields && s % 2 == 1 ? 30000000 : 0;
    std::int64_t ra = 43200000 + far + uniform(-shape.spread, shape.spread);
    std::int64_t dec = shape.dec_centre - far / 4 + uniform(-shape.spread, shape.spread);
    if (shape.pile_step != 0) {
      ra -= ra % shape.pile_step;
      dec -= dec % shape.pile_step;
    }
    stars.emplace_back(static_cast<std::int32_t>(ra), static_cast<std::int32_t>(dec));
  }
  ObservationStore store;
  for (int i = 0; i < shape.images; ++i) {
    std::vector<Measurement> meas;
    // Now and then an image without measurements.
    if (uniform(0, 11) != 0) {
      for (const auto& [ra, dec] : stars) {
        if (uniform(0, 999) < shape.missing * 1000) continue;
        std::uint8_t fwhm = static_cast<std::uint8_t>(uniform(shape.fwhm_low, shape.fwhm_high));
        meas.push_back(measurement_at(static_cast<std::int32_t>(ra + uniform(-shape.jitter, shape.jitter)),
                                      static_cast<std::int32_t>(dec + uniform(-shape.jitter, shape.jitter)), fwhm));
      }
      if (shape.moving) meas.push_back(measurement_at(43200000 - shape.spread + i * 40, shape.dec_centre + i * 40, 30));
      std::shuffle(meas.begin(), meas.end(), rng);
    }
    // Equal time stamps: three for all the images.
    int hour = shape.equal_times ? 18 : static_cast<int>(uniform(18, 23));
    int minute = shape.equal_times ? static_cast<int>(uniform(0, 2)) : static_cast<int>(uniform(0, 59));
    char time[16];
    std::snprintf(time, sizeof time, "20170301%02d%02d00", hour, minute);
    add_image(store, time, std::move(meas));
  }
  return store;
}

void expect_same_stars(const ObservationStore& indexed, const ObservationStore& direct, const std::string& what) {
  ASSERT_EQ(indexed.stars.count(), direct.stars.count()) << what;
  for (std::size_t i = 1; i <= indexed.image_count(); ++i)
    for (std::size_t k = 0; k < indexed.images[i].meas.size(); ++k) {
      ASSERT_EQ(indexed.images[i].meas[k].star, direct.images[i].meas[k].star)
          << what << " image " << i << " meas " << k + 1;
      ASSERT_EQ(indexed.images[i].meas[k].free, direct.images[i].meas[k].free) << what;
    }
  ASSERT_EQ(indexed.stars.images_seen, direct.stars.images_seen) << what;
  ASSERT_EQ(indexed.stars.first, direct.stars.first) << what;
  for (std::size_t e = 0; e < indexed.stars.entries.size(); ++e) {
    ASSERT_EQ(indexed.stars.entries[e].image, direct.stars.entries[e].image) << what << " entry " << e;
    ASSERT_EQ(indexed.stars.entries[e].meas, direct.stars.entries[e].meas) << what << " entry " << e;
  }
}

TEST(IdentifyStars, IndexedSearchEqualsDirectScanOnRandomisedSeries) {
  const SeriesShape shapes[] = {
      {"typical", 12, 150, 16200000, 60000, 60, 15, 45, 0.1, false, false},
      {"dense, boxes overlap", 8, 200, 16200000, 3000, 200, 20, 80, 0.2, false, false},
      {"boxes larger than the field", 8, 300, 16200000, 3000, 300, 150, 255, 0.2, false, false},
      {"fwhm 0 and wrapped", 6, 80, 1000000, 20000, 100, 0, 600, 0.1, false, false},
      {"southern", 10, 120, -16200000, 40000, 80, 10, 50, 0.15, false, false},
      {"high declination", 9, 120, 31500000, 40000, 300, 10, 60, 0.1, false, false},
      {"at the pole", 6, 60, 32400000, 0, 200, 10, 60, 0.1, false, false},
      {"equal time stamps", 10, 60, 5000000, 20000, 50, 20, 40, 0.3, true, false},
      {"moving object", 15, 40, 8000000, 30000, 40, 20, 40, 0.05, false, true},
      {"one star per image", 20, 1, 0, 100, 200, 5, 40, 0.4, false, false},
      {"piled on one position", 12, 120, 16200000, 0, 0, 10, 40, 0.2, false, false},
      {"crowded, boxes of every size", 10, 400, 16200000, 2000, 100, 0, 255, 0.2, false, false},
      {"two fields far apart", 10, 300, 3600000, 30000, 60, 10, 50, 0.1, false, false, true},
      {"crowd tighter than a box", 10, 300, 16200000, 150, 0, 5, 20, 0.2, false, false},
      {"around the pole", 8, 150, 32390000, 20000, 100, 10, 60, 0.1, false, false},
      {"a field at the pole, one far from it", 8, 200, 32400000, 20000, 100, 10, 60, 0.1, false, false, true},
      // Piles 300 apart: boxes of FWHM 3" end on the next piles in declination,
      // of FWHM 4.5" in right ascension.
      {"piles side by side, on box edges", 10, 300, 0, 600, 0, 25, 45, 0.2, false, false, false, 300},
  };
  std::uint32_t seed = 1;
  for (const SeriesShape& shape : shapes) {
    for (int round = 0; round < 6; ++round, ++seed) {
      ObservationStore direct = random_series(shape, seed);
      sort_images_by_time(direct);
      identify_by_direct_scan(direct);
      build_star_entries(direct);
      ObservationStore indexed = random_series(shape, seed);
      sort_images_by_time(indexed);
      ReportChannel out;
      ASSERT_EQ(identify_stars(indexed, out), RunFlow::go_on);
      expect_same_stars(indexed, direct, std::string(shape.name) + " seed " + std::to_string(seed));
    }
  }
}

TEST(IdentifyStars, FirstFreeCandidateInIndexOrderNotTheNearest) {
  ObservationStore store;
  add_image(store, "20170301180000", {measurement_at(1000, 1000, 30)});
  // Candidate 1 is farther than candidate 2 but inside the box: it is taken.
  add_image(store, "20170301181000", {measurement_at(1150, 1200, 30), measurement_at(1000, 1000, 30)});
  ReportChannel out;
  identify_stars(store, out);
  EXPECT_EQ(store.images[2].meas[0].star, 1u);
  EXPECT_EQ(store.images[2].meas[1].star, 0u);
  EXPECT_EQ(store.stars.images_seen[1], 2);
}

TEST(IdentifyStars, ReferenceWithFwhmZeroMatchesNothingButCreatesItsStar) {
  ObservationStore store;
  add_image(store, "20170301180000", {measurement_at(1000, 1000, 0)});
  add_image(store, "20170301181000", {measurement_at(1000, 1000, 30)});
  ReportChannel out;
  identify_stars(store, out);
  EXPECT_EQ(store.stars.count(), 1u);
  EXPECT_EQ(store.stars.images_seen[1], 1);
  EXPECT_EQ(store.images[2].meas[0].star, 0u);
  EXPECT_TRUE(store.stars.entries_of(1).empty());  // never matched: no entries at all
}

TEST(IdentifyStars, NoMatchAcrossZeroHours) {
  ObservationStore store;
  add_image(store, "20170301180000", {measurement_at(1000, 0, 30)});      // 0h 00m 01s
  add_image(store, "20170301181000", {measurement_at(86399000, 0, 30)});  // 23h 59m 59s
  ReportChannel out;
  identify_stars(store, out);
  EXPECT_EQ(store.stars.images_seen[1], 1);
}

// The bound that identify_stars.cpp states on its box tests: per reference
// at time position p of n, 64 per later image of the series plus a slack of
// 256 in the grid, or 13 sqrt(N) per image after p in the trees, N the
// largest image. The references of p are its measurements still free after
// the run, as nothing takes a reference.
double box_test_bound(const ObservationStore& store) {
  std::size_t n = store.image_count();
  std::size_t largest = 0;
  for (const Image& image : store.images) largest = std::max(largest, image.meas.size());
  const double grid = 64.0 * static_cast<double>(n - 1) + 256;
  const double tree_per_image = 13 * std::sqrt(static_cast<double>(largest));
  double bound = 0;
  for (std::size_t p = 1; p < n; ++p) {
    const std::vector<Measurement>& meas = store.image_at(p).meas;
    double references = static_cast<double>(std::count_if(meas.begin(), meas.end(), [](auto& m) { return m.free; }));
    bound += references * (grid + static_cast<double>(n - p) * tree_per_image);
  }
  return bound;
}

// Hostile series at capacity, 209 images of 19,999 measurements: all piled
// on one position with the widest FWHM, or spread over every right ascension
// at the pole, where each box holds them all. Reference m then takes
// candidate m in every later image. Passing over the taken candidates (as
// the direct scan does), or over every candidate of a crowded cell, would
// cost some 4 x 10^10 box tests, five times the bound.
TEST(IdentifyStars, PiledUpAndSkyWideBoxesAtCapacityStayWithinTheBound) {
  struct Case {
    const char* what;
    std::int32_t dec;  // 1/100 arcsec
    bool every_right_ascension;
    std::uint8_t fwhm;
  };
  const Case cases[] = {{"piled on one position", 16200000, false, 255}, {"at the pole", 32400000, true, 30}};
  for (const Case& c : cases) {
    ObservationStore store;
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::int32_t> right_ascension(0, 86399999);
    for (int i = 0; i < max_images; ++i) {
      std::vector<Measurement> meas;
      for (std::uint32_t k = 0; k < max_observations; ++k)
        meas.push_back(measurement_at(c.every_right_ascension ? right_ascension(rng) : 43200000, c.dec, c.fwhm));
      char time[16];
      std::snprintf(time, sizeof time, "20170301%02d%02d00", 18 + i / 60, i % 60);
      add_image(store, time, std::move(meas));
    }
    ReportChannel out;
    IdentificationWork work;
    ASSERT_EQ(identify_stars(store, out, work), RunFlow::go_on) << c.what;
    EXPECT_LE(static_cast<double>(work.box_tests), box_test_bound(store)) << c.what;
    ASSERT_EQ(store.stars.count(), max_observations) << c.what;
    for (std::uint32_t s : {1u, 2u, 10000u, max_observations}) {
      ASSERT_EQ(store.stars.images_seen[s], max_images) << c.what;
      for (const StarEntry& entry : store.stars.entries_of(s)) EXPECT_EQ(entry.meas, s) << c.what;
    }
  }
}

// Two piles side by side at capacity: the first image holds pile Y; every
// later image lists pile X, just outside Y's boxes, then one measurement on
// Y. The first reference of Y takes that one; each other one has nothing
// inside its box, and a walk over the free candidates in index order would
// pass all of X in every later image: 19,998 x 19,998 x 208, some 8 x 10^10
// box tests, five times the bound.
TEST(IdentifyStars, TwoPilesSideBySideAtCapacityStayWithinTheBound) {
  ObservationStore store;
  const Measurement y = measurement_at(43200000, 16200000, 30);
  // On the right edge of Y's box, which is open.
  const Measurement x = measurement_at(
      static_cast<std::int32_t>(y.ra + search_box(y, store.parameters.fwhm_divisor).ra_window), y.dec, 30);
  for (int i = 0; i < max_images; ++i) {
    std::vector<Measurement> meas(max_observations, i == 0 ? y : x);
    if (i > 0) meas.back() = y;
    char time[16];
    std::snprintf(time, sizeof time, "20170301%02d%02d00", 18 + i / 60, i % 60);
    add_image(store, time, std::move(meas));
  }
  ReportChannel out;
  IdentificationWork work;
  ASSERT_EQ(identify_stars(store, out, work), RunFlow::go_on);
  EXPECT_LE(static_cast<double>(work.box_tests), box_test_bound(store));
  // The stars of Y, then those of X from the second image.
  ASSERT_EQ(store.stars.count(), 2 * max_observations - 1);
  EXPECT_EQ(store.stars.images_seen[1], max_images);
  EXPECT_EQ(store.stars.images_seen[2], 1);
  EXPECT_EQ(store.stars.images_seen[max_observations + 1], max_images - 1);
  EXPECT_EQ(store.images[max_images].meas[0].star, max_observations + 1);
}

TEST(IdentifyStars, ProgressLineNamesEachReferenceImageInTimeOrder) {
  ObservationStore store;
  for (const char* time : {"20170301190000", "20170301210000", "20170301180000", "20170301200000"})
    add_image(store, time, {measurement_at(1000, 1000, 30)});
  sort_images_by_time(store);
  ReportChannel out;
  identify_stars(store, out);
  EXPECT_EQ(out.collected(Destination::console),
            "Searching in image  3  1  4 \r\n"
            "1 different stars in 4 files.\r\n"
            "1 different stars identified.\r\n"
            "Minimum number of stars for variability detection: 6\r\n"
            "Minimum difference between maximum and minimum magnitude:  0.10 mag\r\n");
  EXPECT_EQ(out.collected(Destination::report),
            "1 different stars identified.\r\n"
            "Minimum number of stars for variability detection: 6\r\n"
            "Minimum difference between maximum and minimum magnitude:  0.10 mag\r\n"
            "\r\n");
  // The star's entries are in time order of the images.
  std::vector<int> images;
  for (const StarEntry& e : store.stars.entries_of(1)) images.push_back(e.image);
  EXPECT_EQ(images, (std::vector<int>{3, 1, 4, 2}));
}

TEST(IdentifyStars, OneImageAndNoImage) {
  ObservationStore one;
  add_image(one, "20170301180000", {measurement_at(1000, 1000, 30)});
  ReportChannel out;
  identify_stars(one, out);
  EXPECT_EQ(one.stars.count(), 0u);
  EXPECT_EQ(out.collected(Destination::console).substr(0, 47), "Only one image, no way to compare stars :-)\r\n0 ");

  ObservationStore none;
  ReportChannel out_none;
  identify_stars(none, out_none);
  EXPECT_EQ(out_none.collected(Destination::console).substr(0, 52),
            "Searching in image \r\n0 different stars in 0 files.\r\n");
}

TEST(IdentifyStars, EqualTimeStampsKeepTheExchangeSortOrder) {
  ObservationStore store;
  add_image(store, "20170301190000", {});  // B1
  add_image(store, "20170301190000", {});  // B2
  add_image(store, "20170301180000", {});  // A
  sort_images_by_time(store);
  EXPECT_EQ(store.image_order, (std::vector<std::uint8_t>{0, 3, 2, 1}));
}

// Measurements that match nothing (FWHM 0) each create a star: 25 images of
// 19,999 and one of 25 or 26 make 500,000 or 500,001 references before the
// last image, which is no reference.
TEST(IdentifyStars, ExactlyTheStarCapacityGoesOnAndOneMoreStopsTheRun) {
  struct Case {
    std::uint32_t in_image_26;
    RunFlow flow;
    std::uint32_t stars;
  };
  const Case cases[] = {{25, RunFlow::go_on, max_stars}, {26, RunFlow::stop, max_stars}};
  for (const Case& c : cases) {
    ObservationStore store;
    for (int i = 0; i < 27; ++i) {
      std::vector<Measurement> meas(i == 25 ? c.in_image_26 : max_observations, measurement_at(0, 0, 0));
      char time[16];
      std::snprintf(time, sizeof time, "201703011800%02d", i);
      add_image(store, time, std::move(meas));
    }
    ReportChannel out;
    EXPECT_EQ(identify_stars(store, out), c.flow) << c.in_image_26;
    EXPECT_EQ(store.stars.count(), c.stars) << c.in_image_26;
    const std::string& console = out.collected(Destination::console);
    const std::string stop = " 26 More than 500000 stars identified. Contact " + std::string(contact_address) +
                             " or reduce number of stars.\r\n";
    EXPECT_EQ(console.ends_with(stop), c.flow == RunFlow::stop) << console;
    EXPECT_EQ(out.collected(Destination::report).empty(), c.flow == RunFlow::stop);
  }
}

}  // namespace
}  // namespace varisift
