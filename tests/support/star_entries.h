// Each matched star's measurements built the plain way, from the stars
// written in the measurements: for series whose stars were set by hand or by
// the direct scan. Identification assembles the same entries as it goes.
#pragma once

#include "store/observation_store.h"

namespace varisift {

// Gives every star seen in more than one image its measurements in time
// order of the images.
void build_star_entries(ObservationStore& store);

}  // namespace varisift
