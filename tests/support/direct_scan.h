// The star identification as the plain loop over every pair of images, every
// free reference and every free candidate, stopping at the first hit: the
// reference result the indexed identification must equal (tests) and the
// baseline it is timed against (bench/).
#pragma once

#include <cstddef>
#include <cstdint>

#include "stars/search_box.h"
#include "store/observation_store.h"

namespace varisift {

// Fills store.stars.images_seen and the measurements' star and free fields
// exactly as the identification does; images must already be in time order.
// It builds no star entries and writes nothing.
inline void identify_by_direct_scan(ObservationStore& store) {
  std::size_t n = store.image_count();
  if (n == 1) return;
  for (std::size_t p = 1; p < n; ++p) {
    Image& reference_image = store.image_at(p);
    for (std::size_t q = p + 1; q <= n; ++q) {
      Image& candidates = store.image_at(q);
      for (Measurement& reference : reference_image.meas) {
        if (!reference.free) continue;
        SearchBox box = search_box(reference, store.parameters.fwhm_divisor);
        std::uint32_t s = reference.star;
        if (s == 0) {
          store.stars.images_seen.push_back(1);
          s = store.stars.count();
          reference.star = s;
        }
        for (Measurement& candidate : candidates.meas) {
          if (!candidate.free || !in_box(reference, box, candidate)) continue;
          candidate.free = 0;
          candidate.star = s;
          ++store.stars.images_seen[s];
          break;
        }
      }
    }
  }
}

}  // namespace varisift
