// Per-image outlier table and distribution of identifications.
#include "detect/closing_tables.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/parameters.h"
#include "stars/curve_statistics.h"
#include "store/time_keys.h"
#include "text/number_format.h"

namespace varisift {

OutlierLimits outlier_limits(const ObservationStore& store) {
  std::vector<std::int16_t> counts;
  for (std::size_t i = 1; i <= store.image_count(); ++i) counts.push_back(store.images[i].outliers);
  std::sort(counts.begin(), counts.end());
  Fences fences = quartile_fences(quartiles_of_sorted(counts), image_outlier_factor);
  OutlierLimits limits;
  limits.high = fences.upper;
  limits.low = min16(0, fences.lower);
  return limits;
}

void judge_images(ObservationStore& store, ReportChannel& out) {
  constexpr Destination console = Destination::console;
  OutlierLimits limits = outlier_limits(store);
  std::string line = "Out of quartils number in image number (";
  append_plain(line, limits.low, PlainKind::S16);
  line += "-";
  append_plain(line, limits.high, PlainKind::S16);
  line += ")";
  out.write_line(console, line);
  out.write_line(console, "Image Time           Number");
  for (std::size_t p = 1; p <= store.image_count(); ++p) {
    std::uint8_t i = store.image_order[p];
    Image& image = store.images[i];
    line.clear();
    append_masked(line, "##### ", static_cast<std::int64_t>(i));
    line += image.time;
    append_masked(line, "#####", static_cast<std::int64_t>(image.outliers));
    if (image.outliers > limits.high || image.outliers < limits.low) {
      image.no_valid_data = true;
      line += " no valid data";
    }
    out.write_line(console, line);
  }
  out.write_line(console, "Observation numbers with fields of no valid data are marked with [*].");
  out.write_line(console, "Observation numbers with data out of quartils in the obs itself are marked with (*).");
}

void write_identification_distribution(const ObservationStore& store, ReportChannel& out) {
  out.write_line(Destination::console, "Distribution of star identifications:");
  for (std::size_t k = 1; k <= max_images; ++k) {
    if (store.ident_histogram[k] == 0) continue;
    std::string line;
    append_masked(line, "### ids:", static_cast<std::int64_t>(k - 1));
    append_masked_unsigned(line, "###### stars.", store.ident_histogram[k]);
    out.write_line(Destination::console, line);
  }
}

}  // namespace varisift
