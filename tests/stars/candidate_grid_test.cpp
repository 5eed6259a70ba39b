// The grid over a run of images: a gather gives exactly what a plain pass
// over every measurement of the later images gives (free, strictly inside
// the box), also where far-apart positions share cells of the wrapped table
// and where a box crosses the table's edge; boxes it cannot answer quickly
// are refused.
#include "stars/candidate_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
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

// The plain pass: every free measurement of the later images inside the box.
std::vector<CandidateKey> plain_gather(const ObservationStore& store, std::size_t first, std::size_t last,
                                       const OpenBox& box, std::size_t after) {
  std::vector<CandidateKey> keys;
  for (std::size_t position = std::max(first, after + 1); position <= last; ++position) {
    const Image& image = store.images[store.image_order[position]];
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
      const Measurement& meas = image.measurement(m);
      if (meas.free && meas.ra > box.ra_low && meas.ra < box.ra_high && meas.dec > box.dec_low &&
          meas.dec < box.dec_high)
        keys.push_back(candidate_key(position, m));
    }
  }
  return keys;
}

TEST(CandidateGrid, GatherEqualsThePlainPassOnRandomisedSeries) {
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
      CandidateGrid grid;
      grid.build(store, 2, 6);
      int answered = 0;
      for (int query = 0; query < 400; ++query) {
        const std::vector<Measurement>& source = images[static_cast<std::size_t>(uniform(0, 5))];
        if (source.empty()) continue;
        const Measurement& centre =
            source[static_cast<std::size_t>(uniform(0, static_cast<std::int64_t>(source.size()) - 1))];
        std::int64_t ra_half = uniform(shape.box_low, shape.box_high);
        std::int64_t dec_half = uniform(shape.box_low, shape.box_high);
        OpenBox box{centre.ra - ra_half, centre.ra + ra_half, centre.dec - dec_half, centre.dec + dec_half};
        std::size_t after = static_cast<std::size_t>(uniform(0, 5));
        std::vector<CandidateKey> keys;
        if (!grid.gather_free(box, after, keys)) continue;
        ++answered;
        std::sort(keys.begin(), keys.end());
        ASSERT_EQ(keys, plain_gather(store, 2, 6, box, after)) << shape.name << " round " << round;
      }
      EXPECT_GT(answered, 0) << shape.name;
    }
  }
}

TEST(CandidateGrid, RefusesBoxesOverPiledUpMeasurementsAndBoxesOfTooManyRows) {
  // Every measurement of five images on one position: a box there would
  // look at all of them.
  std::vector<std::vector<Measurement>> piled(6, std::vector<Measurement>(500, measurement_at(43200000, 1000000)));
  ObservationStore store = store_of(piled);
  CandidateGrid grid;
  grid.build(store, 2, 6);
  std::vector<CandidateKey> keys;
  EXPECT_FALSE(grid.gather_free(OpenBox{43199990, 43200010, 999990, 1000010}, 1, keys));

  // A tall, narrow field, hundreds of rows of cells high: a box as tall as
  // most of it would look at hundreds of rows.
  std::vector<std::vector<Measurement>> tall(6);
  for (int k = 0; k < 400; ++k)
    for (std::vector<Measurement>& meas : tall) meas.push_back(measurement_at(43200000, 1000000 + 2000 * k));
  ObservationStore tall_store = store_of(tall);
  CandidateGrid tall_grid;
  tall_grid.build(tall_store, 2, 6);
  EXPECT_TRUE(tall_grid.gather_free(OpenBox{43199990, 43200010, 999990, 1000010}, 1, keys));
  EXPECT_EQ(keys.size(), 5u);  // the first measurement of each later image
  EXPECT_FALSE(tall_grid.gather_free(OpenBox{43199990, 43200010, 999990, 1600000}, 1, keys));
}

}  // namespace
}  // namespace varisift
