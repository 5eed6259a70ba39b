// Star entries from the stars written in the measurements.
#include "support/star_entries.h"

#include <cstdint>
#include <vector>

namespace varisift {

void build_star_entries(ObservationStore& store) {
  StarTable& stars = store.stars;
  std::uint32_t star_count = stars.count();
  stars.first.assign(star_count + 2, 0);
  std::size_t n = store.image_count();
  auto matched_star = [&](const Measurement& meas) -> std::uint32_t {
    return meas.star != 0 && stars.images_seen[meas.star] > 1 ? meas.star : 0;
  };
  for (std::size_t p = 1; p <= n; ++p)
    for (const Measurement& meas : store.image_at(p).meas)
      if (std::uint32_t s = matched_star(meas)) ++stars.first[s + 1];
  for (std::uint32_t s = 1; s <= star_count + 1; ++s) stars.first[s] += stars.first[s - 1];
  stars.entries.assign(stars.first[star_count + 1], StarEntry{});
  std::vector<std::uint32_t> fill(stars.first.begin(), stars.first.end() - 1);
  for (std::size_t p = 1; p <= n; ++p) {
    std::uint8_t i = store.image_order[p];
    const Image& image = store.images[i];
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m)
      if (std::uint32_t s = matched_star(image.measurement(m)))
        stars.entries[fill[s]++] = StarEntry{static_cast<std::uint16_t>(m), i};
  }
}

}  // namespace varisift
