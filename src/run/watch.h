// Watching a series through the observing night (--watch): the log is
// polled every interval, and whenever its readable prefix has grown the
// whole analysis runs again on that prefix and refreshes the CSV files and
// the page, with one console line. Ctrl+C, or the idle time without growth,
// ends the watch with a final run on the whole log, exactly as a batch run:
// its full console, its report appended to Varisift.log and its exports.
#pragma once

#include <cstdio>

#include "run/command_line.h"
#include "run/exports.h"
#include "run/run_driver.h"

namespace varisift {

// Watches the log of the plan; returns what the final run's exports did.
ExportOutcome watch_series(std::FILE* console, RunPlan plan, const WatchSettings& settings);

}  // namespace varisift
