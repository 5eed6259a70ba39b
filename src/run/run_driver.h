// The run: every phase once, in order, over one observation store.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace varisift {

class ReportChannel;

// The eleven lines of the "Used parameters:" block.
std::vector<std::string> parameter_block();

// The parameter block to the console and then to the report file, an empty
// line to each, and the "Used log file " line to both.
void write_parameter_block(ReportChannel& out);

// Runs Varisift in the working directory, writing progress to console.
// Every path, the stops included, returns normally with everything flushed
// and closed.
void run_varisift(std::FILE* console);

}  // namespace varisift
