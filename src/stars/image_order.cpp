// Exchange sort of the images by time stamp.
#include "stars/image_order.h"

#include <utility>

#include "text/text.h"

namespace varisift {

void sort_images_by_time(ObservationStore& store) {
  std::vector<std::uint8_t>& order = store.image_order;
  std::size_t n = store.image_count();
  for (std::size_t p = 1; p < n; ++p)
    for (std::size_t q = p + 1; q <= n; ++q)
      if (compare_text(store.image_at(p).time, store.image_at(q).time) > 0) std::swap(order[p], order[q]);
}

}  // namespace varisift
