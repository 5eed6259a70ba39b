// The AAVSO Extended file of the reported candidates that the VSX catalogue
// names, for submission to the AAVSO: a header of six parameters, then one
// line per measurement in an image with valid data, in the ensemble form
// that catalogue-calibrated photometry takes (not transformed, standard
// magnitudes, ensemble comparison). A candidate is named by the nearest
// catalogue entry within the match radius, the one a user can check on a
// chart; without one it cannot be submitted, and a comment line says so.
// Outliers go in with a note: the deepest points of an eclipse lie beyond
// the fences of a mostly constant curve.
#pragma once

#include <string>
#include <string_view>

#include "detect/star_results.h"
#include "export/aavso_settings.h"
#include "export/export_data.h"
#include "store/observation_store.h"

namespace varisift {

struct AavsoFile {
  std::string text;              // the whole file
  std::size_t observations = 0;  // its data lines
};

AavsoFile aavso_extended(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                         const AavsoSettings& settings);

}  // namespace varisift
