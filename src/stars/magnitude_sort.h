// Sorting a light curve's magnitudes: at most max_images 16-bit values, so a
// counting sort on the offset from the smallest value, one byte at a time,
// beats a comparison sort by several times; a curve whose values span fewer
// than 256 hundredths (most curves) needs one counting pass. Equal
// magnitudes are interchangeable, so the result is the list any sort gives.
#pragma once

#include <cstdint>
#include <span>

namespace varisift {

// Writes the values in ascending order into sorted (as many as values);
// scratch holds as many again.
void sort_magnitudes(std::span<const std::int16_t> values, std::span<std::int16_t> sorted,
                     std::span<std::int16_t> scratch);

}  // namespace varisift
