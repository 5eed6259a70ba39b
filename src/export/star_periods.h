// The period searches of a run with --csv or --html, one per star, made
// once for all the files that show them: by default of the results table's
// candidates and the stars the index flag selects, with --periods-all of
// every star with statistics. The periodogram's powers are kept only for
// the stars the page shows, so that memory grows with them and not with
// every star searched.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "detect/star_results.h"
#include "export/export_request.h"
#include "export/star_anchors.h"
#include "indices/star_indices.h"
#include "periods/period_search.h"
#include "store/observation_store.h"

namespace varisift {

// The decimals the files show a period search with: periods and their
// errors to 1e-6 day (0.09 s), the amplitude to a thousandth of a
// magnitude, the epoch to 1e-5 day like the light curves' Julian dates, the
// cycles to a tenth.
inline constexpr int period_decimals = 6;
inline constexpr int amplitude_decimals = 3;
inline constexpr int epoch_decimals = 5;
inline constexpr int cycles_decimals = 1;

struct StarPeriod {
  std::uint32_t star = 0;
  // None when the star's data allow no search (fewer than eight
  // measurements, all at one time, or no frequency in the range asked for).
  std::optional<PeriodResult> result;
};

// Whether star s (1-based) is one of the page's stars: a candidate of the
// results table or a star the index flag selects.
bool shown_on_page(const DetectionResults& results, const std::vector<StarIndices>& indices, std::uint32_t s);

// The searches the request asks for, in star order; none without --csv or
// --html. The heliocentric epoch is for the star's anchor, the position of
// stars.csv.
std::vector<StarPeriod> star_periods(const ObservationStore& store, const DetectionResults& results,
                                     const std::vector<StarIndices>& indices, const std::vector<StarAnchor>& anchors,
                                     const ExportRequest& request);

}  // namespace varisift
