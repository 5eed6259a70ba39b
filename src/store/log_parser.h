// Scanning Skymensor.log: images with their time stamps, sessions, the
// photometry tables with their per-image sums, and the column headings of
// the last table.
#pragma once

#include <string_view>

#include "base/run_flow.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

// The heading of every photometry table holds this text, followed by the
// image's number and file name.
inline constexpr std::string_view photometry_key = "Photometry of Image ";

// Reads the log to its end into the store. Writes to the console only on a
// duplicate image and on the conditions that stop the run (too many images, a
// table for an unknown image, too many lines in one table).
RunFlow read_measurement_log(ObservationStore& store, LineReader& log, ReportChannel& out);

}  // namespace varisift
