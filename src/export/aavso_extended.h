// The AAVSO Extended file of the reported candidates that the VSX catalogue
// names, for submission to the AAVSO: a header of six parameters, then one
// line per measurement the detection used, in the ensemble form that
// catalogue-calibrated photometry takes (not transformed, standard
// magnitudes, ensemble comparison). A candidate without a catalogue match
// cannot be submitted: a comment line says so.
#pragma once

#include <string>
#include <string_view>

#include "detect/star_results.h"
#include "store/observation_store.h"

namespace varisift {

struct AavsoSettings {
  std::string observer_code;  // the observer's AAVSO code
  std::string filter;         // one of the AAVSO's filter codes
  std::string software;       // "Varisift 1.27.0"
};

// Whether code is one of the AAVSO's filter codes (not case sensitive);
// canonical receives it as the AAVSO writes it.
bool aavso_filter_code(std::string_view code, std::string& canonical);

// Whether an observer code can stand in the file: letters and digits only.
bool aavso_observer_code(std::string_view code);

// The whole file.
std::string aavso_extended(const ObservationStore& store, const DetectionResults& results,
                           const AavsoSettings& settings);

}  // namespace varisift
