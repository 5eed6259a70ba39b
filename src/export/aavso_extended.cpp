// Header, data lines and comments of the AAVSO Extended file.
#include "export/aavso_extended.h"

#include <algorithm>
#include <array>

#include "detect/star_measurements.h"
#include "io/report_channel.h"
#include "store/sky_units.h"
#include "store/value_text.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr std::array<std::string_view, 31> filter_codes = {
    "U",  "B",  "V",   "R",   "I",   "J",   "H",     "K",     "TG", "TB", "TR", "CV", "CR", "SZ", "SU", "SG",
    "SR", "SI", "STU", "STV", "STB", "STY", "STHBW", "STHBN", "MA", "MB", "MI", "ZS", "Y",  "HA", "HAC"};
constexpr char delimiter = ',';
constexpr std::string_view not_available = "na";
// MAGERR = 1.0857 / SNR: the magnitude error of a measurement of that
// signal-to-noise ratio, written with 3 decimals and at most 9.999.
constexpr double magnitude_error_per_inverse_snr = 1.0857;
constexpr double largest_magnitude_error = 9.999;
constexpr int magnitude_error_decimals = 3;
constexpr std::size_t max_chart_length = 20;
constexpr std::size_t max_observer_code_length = 10;
constexpr int position_decimals = 6;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string magnitude_error(const Image& image, std::uint16_t meas) {
  if (image.snr_tenths.size() < meas) return std::string(not_available);
  double snr = image.snr_tenths[meas - 1] / 10.0;
  if (!(snr > 0)) return std::string(not_available);
  return fixed_decimals(std::min(magnitude_error_per_inverse_snr / snr, largest_magnitude_error),
                        magnitude_error_decimals);
}

// The chart: the one reference catalogue the log names, else "na".
std::string chart_name(const ObservationStore& store) {
  if (store.reference_catalogues.size() != 1) return std::string(not_available);
  std::string name = store.reference_catalogues.front().substr(0, max_chart_length);
  if (name.find(delimiter) != std::string::npos) return std::string(not_available);
  return name;
}

void add_line(std::string& out, std::string_view line) {
  out += line;
  out += line_end_bytes;
}

}  // namespace

bool aavso_filter_code(std::string_view code, std::string& canonical) {
  std::string wanted;
  for (char c : code) wanted += upper(c);
  for (std::string_view known : filter_codes) {
    if (known == wanted) {
      canonical = wanted;
      return true;
    }
  }
  return false;
}

bool aavso_observer_code(std::string_view code) {
  if (code.empty() || code.size() > max_observer_code_length) return false;
  return std::all_of(code.begin(), code.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

std::string aavso_extended(const ObservationStore& store, const DetectionResults& results,
                           const AavsoSettings& settings) {
  std::string out;
  add_line(out, "#TYPE=Extended");
  add_line(out, "#OBSCODE=" + settings.observer_code);
  add_line(out, "#SOFTWARE=" + settings.software);
  add_line(out, std::string("#DELIM=") + delimiter);
  add_line(out, "#DATE=JD");
  add_line(out, "#OBSTYPE=CCD");
  add_line(out, "#NAME,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AMASS,GROUP,CHART,NOTES");
  const std::string chart = chart_name(store);
  for (const StarResult& r : results.stars) {
    if (r.candidate == 0) continue;
    std::string_view name = r.vsx_match > 0 ? store.vsx.name(store.vsx.entries[r.vsx_match - 1]) : "";
    if (name.empty() || name.find(delimiter) != std::string_view::npos) {
      std::string line = "# Candidate " + std::to_string(r.candidate) + " (star " + std::to_string(r.star) +
                         ") at RA " + fixed_decimals(ra_degrees(r.row_ra), position_decimals) + " Dec " +
                         fixed_decimals(dec_degrees(r.row_dec), position_decimals);
      line += name.empty() ? " has no VSX identification: it needs a VSX registration first"
                           : " has a VSX name with a comma, which this file cannot hold";
      add_line(out, line);
      continue;
    }
    for (const StarMeasurement& m : star_measurements(store, r)) {
      if (m.use != MeasurementUse::used) continue;
      std::string line(name);
      for (const std::string& field :
           {julian_date_text(m.julian_e5), magnitude_text(m.magnitude), magnitude_error(store.images[m.image], m.meas),
            settings.filter, std::string("NO"), std::string("STD"), std::string("ENSEMBLE"), std::string(not_available),
            std::string(not_available), std::string(not_available), std::string(not_available),
            std::string(not_available), chart, std::string(not_available)}) {
        line += delimiter;
        line += field;
      }
      add_line(out, line);
    }
  }
  return out;
}

}  // namespace varisift
