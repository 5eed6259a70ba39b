// What the files beyond the report show of every star beside the report
// pass's results: where the star is, the catalogue entry that names it, and
// its variability indices, worked out once for all of those files.
#pragma once

#include <vector>

#include "detect/star_results.h"
#include "detect/vsx_match.h"
#include "export/export_request.h"
#include "export/star_anchors.h"
#include "export/star_periods.h"
#include "indices/star_indices.h"
#include "store/observation_store.h"

namespace varisift {

// Radii and distances on the sky are shown in arcseconds to a tenth, the
// step of the match radius.
inline constexpr int arcsec_decimals = 1;

struct ExportData {
  // Star s at index s - 1 in each list.
  std::vector<StarAnchor> anchors;
  // The nearest catalogue entry to the star's anchor within the radius.
  std::vector<NearestVsxEntry> names;
  // Empty unless a file that shows them is asked for.
  std::vector<StarIndices> indices;
  // The stars that the index flag selects and the results table does not
  // report, in star order: their light curves are shown beside the
  // candidates'.
  std::vector<std::uint32_t> index_only_stars;
  // The period searches, in star order: empty unless a file that shows
  // them is asked for.
  std::vector<StarPeriod> periods;
  double match_radius_arcsec = 0;

  // The catalogue entry that names star s (1-based); entry 0 when none lies
  // within the radius.
  NearestVsxEntry name_of(std::uint32_t star) const {
    return star >= 1 && star <= names.size() ? names[star - 1] : NearestVsxEntry{};
  }
  // The period search of star s; null when none ran.
  const StarPeriod* period_of(std::uint32_t star) const;
};

ExportData gather_export_data(const ObservationStore& store, const DetectionResults& results,
                              const ExportRequest& request);

}  // namespace varisift
