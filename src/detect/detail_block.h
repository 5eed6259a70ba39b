// The console detail block of a reported star, in two halves around its
// results row: a framed title, the star's log lines in time order (outliers
// in parentheses, measurements of images without valid data in brackets), a
// bar chart of the light curve; then quartiles, ranges and the criteria.
#pragma once

#include "detect/star_analysis.h"
#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

void write_detail_first_half(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out);
void write_detail_second_half(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out);

}  // namespace varisift
