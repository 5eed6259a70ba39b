// The two passes of the detection over all identified stars. Pass 1 counts
// the candidates, finds the largest in-range count among them and counts the
// outliers of every image; the per-image outlier table then declares unusual
// images to have no valid data. Pass 2 repeats the work without them and
// reports every candidate whose in-range count exceeds a quarter of pass 1's
// largest.
#pragma once

#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

void run_detection(ObservationStore& store, ReportChannel& out);

}  // namespace varisift
