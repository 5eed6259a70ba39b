// Reading vsx.dat into the catalogue, with its console progress line.
#pragma once

#include "io/report_channel.h"
#include "store/vsx_catalogue.h"

namespace varisift {

// Loads vsx.dat from the working directory when it can be opened, writing the
// console progress line; a missing file is skipped silently. Returns false
// when the run must stop (the file exists but failed to open otherwise).
bool read_vsx_catalogue(VsxCatalogue& catalogue, ReportChannel& out);

}  // namespace varisift
