// Identification of the same star across images. Images are taken in time
// order; every free measurement of an image becomes a reference for all
// later images, where it takes the free measurement with the lowest index
// inside its box (not the nearest one). A free reference creates a new star.
#pragma once

#include <cstdint>

#include "base/run_flow.h"
#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

// The work of an identification, counted so that tests can hold it to the
// bound that identify_stars.cpp states, on any machine: every test of a
// candidate's position, or of the bounds of a branch of a candidate tree,
// against a reference's box.
struct IdentificationWork {
  std::uint64_t box_tests = 0;
};

// Fills the star table (each matched star with its measurements in time
// order of the images), writing the progress line and the summary; stops
// the run when more than max_stars stars would be created. The images must
// be in time order. The second form also counts the work done.
RunFlow identify_stars(ObservationStore& store, ReportChannel& out);
RunFlow identify_stars(ObservationStore& store, ReportChannel& out, IdentificationWork& work);

}  // namespace varisift
