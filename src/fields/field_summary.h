// The console listing of the loaded fields: one line per field, the raw list
// of fields with their floored means, the range of the mean magnitudes, and
// after the log is closed the processed-images line and the sessions notice.
#pragma once

#include <cstdint>
#include <string>

#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

// The raw-list row of field i (without line end).
std::string raw_field_row(const ObservationStore& store, std::uint16_t i);

// Field list, raw list of fields and the mean magnitude range line.
void write_field_list(const ObservationStore& store, ReportChannel& out);

// "Processed N images" and the sessions notice.
void write_processed_notice(const ObservationStore& store, ReportChannel& out);

}  // namespace varisift
