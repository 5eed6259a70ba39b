// The median of a list of values, by selection rather than a full sort: the
// one rule the variability indices and their scoring share.
#pragma once

#include <span>

namespace varisift {

// The median of values, reordering them: the middle value for an odd count,
// the mean of the two middle values for an even count (which two of several
// equal values are taken does not change the result). 0 for an empty list.
// Linear time on average (std::nth_element).
double median_in_place(std::span<double> values);

}  // namespace varisift
