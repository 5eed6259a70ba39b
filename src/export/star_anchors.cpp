// Finding the measurement that created each star.
#include "export/star_anchors.h"

namespace varisift {

std::vector<StarAnchor> star_anchors(const ObservationStore& store) {
  const StarTable& stars = store.stars;
  std::vector<StarAnchor> anchors(stars.count());
  for (std::uint32_t s = 1; s <= stars.count(); ++s) {
    if (stars.entries_of(s).empty()) continue;
    const StarEntry& first = stars.entries_of(s).front();
    const Measurement& m = store.images[first.image].measurement(first.meas);
    anchors[s - 1] = {m.ra, m.dec};
  }
  for (std::size_t i = 1; i <= store.image_count(); ++i) {
    for (const Measurement& m : store.images[i].meas) {
      if (m.star == 0 || m.star > stars.count() || !stars.entries_of(m.star).empty()) continue;
      anchors[m.star - 1] = {m.ra, m.dec};
    }
  }
  return anchors;
}

}  // namespace varisift
