// Which stars are searched, with what, and what is kept.
#include "export/star_periods.h"

#include "export/period_data.h"
#include "store/sky_units.h"

namespace varisift {

bool shown_on_page(const DetectionResults& results, const std::vector<StarIndices>& indices, std::uint32_t s) {
  if (s == 0 || s > results.stars.size()) return false;
  const bool flagged = s <= indices.size() && indices[s - 1].flag.value_or(false);
  return results.stars[s - 1].candidate > 0 || flagged;
}

std::vector<StarPeriod> star_periods(const ObservationStore& store, const DetectionResults& results,
                                     const std::vector<StarIndices>& indices, const std::vector<StarAnchor>& anchors,
                                     const ExportRequest& request) {
  std::vector<StarPeriod> periods;
  if (!request.searches_periods()) return periods;
  for (const StarResult& r : results.stars) {
    const bool shown = shown_on_page(results, indices, r.star);
    if (!shown && !(request.periods_all && r.has_statistics)) continue;
    const PeriodData data = period_data(star_measurements(store, r));
    PeriodSettings settings;
    settings.range = request.period_range;
    settings.keep_periodogram = shown && request.html_file.has_value();
    const StarAnchor& anchor = anchors[r.star - 1];
    periods.push_back(
        {r.star, search_period(data.times, data.magnitudes, ra_degrees(anchor.ra), dec_degrees(anchor.dec), settings)});
  }
  return periods;
}

}  // namespace varisift
