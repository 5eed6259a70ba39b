// The run: every phase once, in order, over one observation store.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace varisift {

// The eleven lines of the "Used parameters:" block.
std::vector<std::string> parameter_block();

// Runs Varisift in the working directory, writing progress to console.
// Every path, the stops included, returns normally with everything flushed
// and closed.
void run_varisift(std::FILE* console);

}  // namespace varisift
