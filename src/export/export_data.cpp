// Anchors, catalogue names and indices of every star.
#include "export/export_data.h"

#include <algorithm>

namespace varisift {

ExportData gather_export_data(const ObservationStore& store, const DetectionResults& results,
                              const ExportRequest& request) {
  ExportData data;
  data.match_radius_arcsec = request.match_radius_arcsec();
  data.anchors = star_anchors(store);
  data.names.assign(data.anchors.size(), NearestVsxEntry{});
  if (store.vsx.count() > 0) {
    VsxIndex index;
    index.build(store.vsx);
    for (std::size_t k = 0; k < data.anchors.size(); ++k)
      data.names[k] = index.nearest(store.vsx, data.anchors[k].ra, data.anchors[k].dec, data.match_radius_arcsec);
  }
  if (request.needs_indices()) data.indices = variability_indices(results);
  for (std::size_t k = 0; k < data.indices.size(); ++k) {
    const bool flagged = data.indices[k].flag.value_or(false);
    if (flagged && results.stars[k].candidate == 0) data.index_only_stars.push_back(static_cast<std::uint32_t>(k + 1));
  }
  data.periods = star_periods(store, results, data.indices, data.anchors, request);
  return data;
}

const StarPeriod* ExportData::period_of(std::uint32_t star) const {
  auto at = std::lower_bound(periods.begin(), periods.end(), star,
                             [](const StarPeriod& p, std::uint32_t s) { return p.star < s; });
  return at != periods.end() && at->star == star ? &*at : nullptr;
}

}  // namespace varisift
