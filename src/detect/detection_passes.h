// The two passes of the detection over all identified stars. Pass 1 counts
// the candidates, finds the largest in-range count among them and counts the
// outliers of every image; the per-image outlier table then declares unusual
// images to have no valid data. Pass 2 repeats the work without them and
// reports every candidate whose in-range count exceeds a quarter of pass 1's
// largest.
#pragma once

#include "detect/star_results.h"
#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

// Runs both passes; with results.wanted set, keeps the report pass's
// results of every star there.
void run_detection(ObservationStore& store, ReportChannel& out, DetectionResults& results);

}  // namespace varisift
