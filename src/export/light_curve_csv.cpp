// The rows of a light-curve file.
#include "export/light_curve_csv.h"

#include "export/csv_rows.h"
#include "export/star_measurements.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {
constexpr int julian_decimals = 5;     // the key's unit, 1/100000 day
constexpr int magnitude_decimals = 2;  // as the log writes magnitudes

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

std::string julian_date_text(std::int64_t julian_e5) { return scaled_integer_text(julian_e5, julian_decimals); }

std::string light_curve_csv(const ObservationStore& store, const StarResult& result) {
  std::string text;
  append_csv_row(text, {"jd", "mag", "image", "used"});
  for (const StarMeasurement& m : star_measurements(store, result)) {
    append_csv_row(text, {julian_date_text(m.julian_e5), scaled_integer_text(m.magnitude, magnitude_decimals),
                          store.images[m.image].name, std::string(use_text(m.use))});
  }
  return text;
}

}  // namespace varisift
