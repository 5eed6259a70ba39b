// The candidates table of the HTML page: one row per star of the results
// table, in candidate order, with its position as the results row gives it,
// its magnitudes, the three criteria, the index scores and the nearest VSX
// entry within the match radius as a link to the catalogue's page for it.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "export/export_data.h"
#include "store/observation_store.h"

namespace varisift {

// The reported stars, ordered by candidate number.
std::vector<const StarResult*> reported_stars(const DetectionResults& results);

// The VSX page of a catalogue entry, by its identifier.
std::string vsx_detail_url(std::int32_t vsx_id);

// The <table> element with a note on its columns, or a paragraph when no
// star is reported.
std::string candidates_table(const ObservationStore& store, const std::vector<const StarResult*>& reported,
                             const ExportData& data);

}  // namespace varisift
