// The rows of a light-curve file.
#include "export/light_curve_csv.h"

#include "detect/star_measurements.h"
#include "export/csv_rows.h"
#include "store/value_text.h"
#include "text/utf8_text.h"

namespace varisift {

namespace {

std::string_view use_text(MeasurementUse use) {
  switch (use) {
    case MeasurementUse::used:
      return "yes";
    case MeasurementUse::outlier:
      return "outlier";
    case MeasurementUse::bad_image:
      return "bad_image";
  }
  return "";
}
}  // namespace

std::string light_curve_file_name(std::uint32_t star) { return "lc_" + std::to_string(star) + ".csv"; }

std::string light_curve_csv(const ObservationStore& store, const StarResult& result) {
  std::string text;
  append_csv_row(text, {"jd", "mag", "mag_corrected", "image", "used"});
  const bool corrected = store.parameters.trend_correction != 0;
  for (const StarMeasurement& m : star_measurements(store, result)) {
    append_csv_row(text, {julian_date_text(m.julian_e5), magnitude_text(m.magnitude),
                          corrected ? magnitude_text(m.corrected) : std::string(),
                          latin1_to_utf8(store.images[m.image].name), std::string(use_text(m.use))});
  }
  return text;
}

}  // namespace varisift
