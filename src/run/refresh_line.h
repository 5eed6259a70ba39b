// The one console line of each refresh of a watch: the clock, the bytes of
// the log read (a batch run on a copy of the log cut there writes the same
// files), the images with a photometry table, the stars identified, the
// candidates of the results table and those new since the last refresh that
// went to its end, by star number; or why the run stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "run/run_driver.h"

namespace varisift {

// "21:04:33 read 48213 bytes: 12 images with photometry, 96 stars, 2
// candidates, 1 new (17)" (on one line).
std::string refresh_line(std::string_view clock, std::uint64_t bytes_read, const RunFacts& facts,
                         const std::vector<std::uint32_t>& earlier_candidates);

}  // namespace varisift
