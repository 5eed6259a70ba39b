// The candidate tree: the lowest free index inside a box, exactly as a plain
// pass over the image gives it, while candidates are taken between searches
// (in index order, as a box takes them, and out of it); on scattered
// positions, on piles, on one declination and with box edges on positions.
#include "stars/candidate_tree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "support/position_fixtures.h"

namespace varisift {
namespace {

std::uint32_t plain_first_free(const Image& image, const OpenBox& box) {
  for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
    const Measurement& meas = image.measurement(m);
    if (meas.free && meas.ra > box.ra_low && meas.ra < box.ra_high && meas.dec > box.dec_low && meas.dec < box.dec_high)
      return m;
  }
  return 0;
}

TEST(CandidateTree, FirstFreeEqualsThePlainPassWhileCandidatesAreTaken) {
  struct Shape {
    const char* name;
    int count;
    std::int32_t step;                 // positions and box half-widths are multiples of it
    std::int32_t ra_steps, dec_steps;  // positions within this many steps of the centre
    std::int32_t box_steps;            // largest box half-width
  };
  const Shape shapes[] = {
      {"scattered", 3000, 1, 20000, 20000, 3000},   {"on a lattice, box edges on positions", 2000, 100, 8, 8, 3},
      {"piles side by side", 1500, 300, 1, 1, 2},   {"one position", 700, 1, 0, 0, 5},
      {"one declination", 2000, 1, 50000, 0, 4000}, {"no measurements", 0, 1, 10, 10, 10},
  };
  std::mt19937 rng(3);
  auto uniform = [&](std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(rng);
  };
  for (const Shape& shape : shapes) {
    Image image;
    for (int k = 0; k < shape.count; ++k)
      image.meas.push_back(
          measurement_at(static_cast<std::int32_t>(1000000 + shape.step * uniform(-shape.ra_steps, shape.ra_steps)),
                         static_cast<std::int32_t>(2000000 + shape.step * uniform(-shape.dec_steps, shape.dec_steps))));
    CandidateTree tree(image);
    std::uint64_t box_tests = 0;
    for (int query = 0; query < 3000; ++query) {
      std::int64_t ra = 1000000 + shape.step * uniform(-shape.ra_steps, shape.ra_steps);
      std::int64_t dec = 2000000 + shape.step * uniform(-shape.dec_steps, shape.dec_steps);
      std::int64_t ra_half = shape.step * uniform(1, shape.box_steps);
      std::int64_t dec_half = shape.step * uniform(1, shape.box_steps);
      OpenBox box{ra - ra_half, ra + ra_half, dec - dec_half, dec + dec_half};
      std::uint32_t expected = plain_first_free(image, box);
      ASSERT_EQ(tree.first_free(box, box_tests), expected) << shape.name << " query " << query;
      if (expected != 0 && uniform(0, 3) != 0) image.measurement(expected).free = 0;
      if (shape.count > 0 && uniform(0, 9) == 0)
        image.meas[static_cast<std::size_t>(uniform(0, shape.count - 1))].free = 0;
    }
  }
}

}  // namespace
}  // namespace varisift
