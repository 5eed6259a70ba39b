// The candidate grid: for a box it notes, per later image, the lowest free
// index inside the box, exactly as a plain pass over every measurement of
// the later images does, also where far-apart positions share cells of the
// wrapped table and where a box crosses the table's edge; boxes over piled-up
// measurements are declined.
#include "stars/candidate_grid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "store/observation_store.h"
#include "support/position_fixtures.h"

namespace varisift {
namespace {

ObservationStore store_of(std::vector<std::vector<Measurement>> images) {
  ObservationStore store;
  for (std::vector<Measurement>& meas : images) add_image(store, "", std::move(meas));
  return store;
}

// The plain pass: per time position after `after`, the lowest free index
// strictly inside the box, 0 for none.
std::vector<std::uint32_t> plain_first_free(const ObservationStore& store, const OpenBox& box, std::size_t after) {
  std::vector<std::uint32_t> first(store.image_count() + 1, 0);
  for (std::size_t position = after + 1; position <= store.image_count(); ++position) {
    const Image& image = store.image_at(position);
    for (std::uint32_t m = image.meas_count(); m >= 1; --m) {
      const Measurement& meas = image.measurement(m);
      if (meas.free && meas.ra > box.ra_low && meas.ra < box.ra_high && meas.dec > box.dec_low &&
          meas.dec < box.dec_high)
        first[position] = m;
    }
  }
  return first;
}

std::vector<std::uint32_t> noted(const FirstFreeByImage& by_image, std::size_t images) {
  std::vector<std::uint32_t> first(images + 1, 0);
  for (std::size_t position = 0; position <= images; ++position)
    if (by_image.found[position]) first[position] = by_image.first[position];
  return first;
}

TEST(CandidateGrid, FirstFreeEqualsThePlainPassOnRandomisedSeries) {
  struct Shape {
    const char* name;
    std::int32_t spread;             // half-size of each field
    std::int32_t far;                // offset of the second field, 0 for one field
    std::int64_t box_low, box_high;  // half-widths drawn from this range
  };
  const Shape shapes[] = {
      {"one field, boxes of a few cells", 40000, 0, 100, 600},
      {"two fields far apart, sharing cells", 20000, 30000000, 100, 600},
      {"small boxes crossing every cell edge", 5000, 0, 1, 50},
      {"boxes of many cells", 40000, 0, 600, 4000},
  };
  std::mt19937 rng(11);
  auto uniform = [&](std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(rng);
  };
  for (const Shape& shape : shapes) {
    for (int round = 0; round < 4; ++round) {
      std::vector<std::vector<Measurement>> images(6);
      for (std::vector<Measurement>& meas : images) {
        int count = static_cast<int>(uniform(0, 300));
        for (int k = 0; k < count; ++k) {
          std::int32_t far = shape.far != 0 && uniform(0, 1) == 1 ? shape.far : 0;
          Measurement m =
              measurement_at(static_cast<std::int32_t>(43200000 + far + uniform(-shape.spread, shape.spread)),
                             static_cast<std::int32_t>(1000000 - far / 8 + uniform(-shape.spread, shape.spread)),
                             static_cast<std::uint8_t>(uniform(5, 60)));
          m.free = uniform(0, 4) != 0;
          meas.push_back(m);
        }
      }
      ObservationStore store = store_of(images);
      CandidateGrid grid(store);
      int answered = 0;
      std::uint64_t box_tests = 0;
      for (int query = 0; query < 400; ++query) {
        const std::vector<Measurement>& source = images[static_cast<std::size_t>(uniform(0, 5))];
        if (source.empty()) continue;
        const Measurement& centre =
            source[static_cast<std::size_t>(uniform(0, static_cast<std::int64_t>(source.size()) - 1))];
        std::int64_t ra_half = uniform(shape.box_low, shape.box_high);
        std::int64_t dec_half = uniform(shape.box_low, shape.box_high);
        OpenBox box{centre.ra - ra_half, centre.ra + ra_half, centre.dec - dec_half, centre.dec + dec_half};
        std::size_t after = static_cast<std::size_t>(uniform(1, 5));
        FirstFreeByImage by_image;
        if (!grid.first_free(box, after, by_image, box_tests)) continue;
        ++answered;
        ASSERT_EQ(noted(by_image, 6), plain_first_free(store, box, after)) << shape.name << " round " << round;
      }
      EXPECT_GT(answered, 0) << shape.name;
    }
  }
}

TEST(CandidateGrid, DeclinesABoxOverMeasurementsPiledOnOnePosition) {
  // Every measurement of six images on one position: a box there would
  // look at all of them. A box beside the pile is answered (it holds nothing).
  std::vector<std::vector<Measurement>> piled(6, std::vector<Measurement>(500, measurement_at(43200000, 1000000)));
  ObservationStore store = store_of(piled);
  CandidateGrid grid(store);
  FirstFreeByImage by_image;
  std::uint64_t box_tests = 0;
  EXPECT_FALSE(grid.first_free(OpenBox{43199990, 43200010, 999990, 1000010}, 1, by_image, box_tests));
  EXPECT_TRUE(grid.first_free(OpenBox{43100000, 43100020, 999990, 1000010}, 1, by_image, box_tests));
  EXPECT_EQ(noted(by_image, 6), std::vector<std::uint32_t>(7, 0));
}

}  // namespace
}  // namespace varisift
