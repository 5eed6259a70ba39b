// Putting the images in time order.
#pragma once

#include "store/observation_store.h"

namespace varisift {

// Sorts image_order ascending by time stamp text with an exchange sort: for
// each position and each later one, the two are exchanged when the earlier
// holds the later time. Equal stamps end in the order this leaves them.
void sort_images_by_time(ObservationStore& store);

}  // namespace varisift
