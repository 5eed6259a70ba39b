// The variable-star catalogue that goes with a series: entries at the
// positions of some of the field's variables (a share of them flagged "2",
// which readers skip) mixed with unrelated entries, in the order of their
// identifiers as in the real catalogue.
#pragma once

#include <vector>

#include "random.h"
#include "series.h"

namespace varisift::simulate {

// Builds the entries and sets SkyObject::vsx_entry of the catalogued stars.
std::vector<VsxEntry> build_catalogue(const SeriesOptions& options, std::vector<SkyObject>& objects, Random& random);

}  // namespace varisift::simulate
