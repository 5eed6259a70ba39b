// Anchors, catalogue names and indices of every star.
#include "export/export_data.h"

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
  return data;
}

}  // namespace varisift
