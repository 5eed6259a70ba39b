// Header, data lines and comments of the AAVSO Extended file.
#include "export/aavso_extended.h"

#include <algorithm>

#include "detect/star_measurements.h"
#include "export/observation_time.h"
#include "io/report_channel.h"
#include "store/sky_units.h"
#include "store/value_text.h"
#include "text/decimal_text.h"
#include "text/utf8_text.h"

namespace varisift {

namespace {

constexpr char delimiter = ',';
constexpr std::string_view not_available = "na";
// MAGERR = 1.0857 / SNR: the magnitude error of a measurement of that
// signal-to-noise ratio, written with 3 decimals, at most 9.999 and, after
// the rounding, at least 0.001: the format wants a positive error, and an
// SNR above 2171.5 would round to 0.000.
constexpr double magnitude_error_per_inverse_snr = 1.0857;
constexpr double largest_magnitude_error = 9.999;
constexpr int magnitude_error_decimals = 3;
constexpr std::string_view zero_magnitude_error = "0.000";
constexpr std::string_view smallest_magnitude_error = "0.001";
// Field lengths of the format, in characters.
constexpr std::size_t max_star_id_length = 30;
constexpr std::size_t max_chart_length = 20;
constexpr int position_decimals = 6;

std::string magnitude_error(const Image& image, std::uint16_t meas) {
  if (image.snr_tenths.size() < meas) return std::string(not_available);
  double snr = image.snr_tenths[meas - 1] / 10.0;
  if (!(snr > 0)) return std::string(not_available);
  std::string error = fixed_decimals(std::min(magnitude_error_per_inverse_snr / snr, largest_magnitude_error),
                                     magnitude_error_decimals);
  return error == zero_magnitude_error ? std::string(smallest_magnitude_error) : error;
}

// The chart: the one reference catalogue the log names, else "na".
std::string chart_name(const ObservationStore& store) {
  if (store.reference_catalogues.size() != 1) return std::string(not_available);
  std::string name(utf8_prefix(latin1_to_utf8(store.reference_catalogues.front()), max_chart_length));
  if (name.find(delimiter) != std::string::npos) return std::string(not_available);
  return name;
}

void add_line(std::string& out, std::string_view line) {
  out += line;
  out += line_end_bytes;
}

// The NOTES of a measurement the detection left out of the star's curve as
// an outlier: kept in the file, so that an eclipse's minima reach the
// database, and marked.
constexpr std::string_view outlier_note = "at or beyond the outlier fences";

// What the file says of one candidate: its comment lines, and the name its
// observations go out under ("" when they cannot be submitted).
struct CandidateLines {
  const StarResult* result = nullptr;
  std::string comments;
  std::string name;  // the STARID, cut to the field's length
};

std::string candidate_text(const StarResult& r) {
  return "# Candidate " + std::to_string(r.candidate) + " (star " + std::to_string(r.star) + ")";
}

std::string radius_text(const ExportData& data) {
  return fixed_decimals(data.match_radius_arcsec, arcsec_decimals) + " arcsec";
}

// Where the results table of the report took another catalogue entry than
// the nearest one, a comment names it, so that the two files can be told
// apart by a reader who compares them.
void add_other_entry_comment(std::string& out, const ObservationStore& store, const ExportData& data,
                             const StarResult& r) {
  if (r.vsx_match == 0 || r.vsx_match == data.name_of(r.star).entry) return;
  const VsxEntry& e = store.vsx.entries[r.vsx_match - 1];
  add_line(out, candidate_text(r) + ": the report's results table names " + latin1_to_utf8(store.vsx.name(e)) + ", " +
                    fixed_decimals(separation_arcsec(r.row_ra, r.row_dec, e.ra, e.dec), arcsec_decimals) +
                    " arcsec from its row, which is not the nearest VSX entry within " + radius_text(data));
}

// Images whose time stamp no camera makes: their measurements stay out, and
// each that holds a measurement to submit is named once, ahead of the
// candidates, in time order.
void add_unsubmittable_image_comments(std::string& out, const ObservationStore& store,
                                      const std::vector<CandidateLines>& candidates) {
  std::vector<bool> named(store.images.size(), false);
  for (const CandidateLines& c : candidates) {
    if (c.name.empty()) continue;
    for (const StarEntry& e : store.stars.entries_of(c.result->star)) {
      const Image& image = store.images[e.image];
      if (!image.no_valid_data && !submittable_time_stamp(image.time)) named[e.image] = true;
    }
  }
  for (std::size_t p = 1; p < store.image_order.size(); ++p) {
    const Image& image = store.image_at(p);
    if (!named[store.image_order[p]]) continue;
    add_line(out, "# Image " + latin1_to_utf8(image.name) + " has the time stamp " + latin1_to_utf8(image.time) +
                      ", which is no date and time from 1990 to 2100: its measurements are left out");
  }
}

// One candidate's line on its outliers and the measurements in bad images,
// then a data line per measurement in an image with valid data.
void add_observations(AavsoFile& file, const ObservationStore& store, const StarResult& r, const std::string& name,
                      const std::string& filter, const std::string& chart) {
  const std::vector<StarMeasurement> measurements = star_measurements(store, r);
  std::size_t outliers = 0;
  std::size_t in_bad_images = 0;
  for (const StarMeasurement& m : measurements) {
    if (m.use == MeasurementUse::outlier) ++outliers;
    if (m.use == MeasurementUse::bad_image) ++in_bad_images;
  }
  add_line(file.text, candidate_text(r) + ": " + std::to_string(outliers) +
                          " measurements at or beyond the outlier fences are marked in NOTES; " +
                          std::to_string(in_bad_images) + " in images judged bad are left out");
  for (const StarMeasurement& m : measurements) {
    const Image& image = store.images[m.image];
    if (m.use == MeasurementUse::bad_image || !submittable_time_stamp(image.time)) continue;
    std::string line = name;
    for (const std::string& field :
         {julian_date_text(m.julian_e5), magnitude_text(m.magnitude), magnitude_error(image, m.meas), filter,
          std::string("NO"), std::string("STD"), std::string("ENSEMBLE"), std::string(not_available),
          std::string(not_available), std::string(not_available), std::string(not_available),
          std::string(not_available), chart,
          std::string(m.use == MeasurementUse::outlier ? outlier_note : not_available)}) {
      line += delimiter;
      line += field;
    }
    add_line(file.text, line);
    ++file.observations;
  }
}

}  // namespace

AavsoFile aavso_extended(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                         const AavsoSettings& settings) {
  AavsoFile file;
  std::string& out = file.text;
  add_line(out, "#TYPE=Extended");
  add_line(out, "#OBSCODE=" + settings.observer_code);
  add_line(out, "#SOFTWARE=" + settings.software);
  add_line(out, std::string("#DELIM=") + delimiter);
  add_line(out, "#DATE=JD");
  add_line(out, "#OBSTYPE=CCD");
  add_line(out, "#NAME,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AMASS,GROUP,CHART,NOTES");
  const std::string chart = chart_name(store);

  // The candidates in candidate order, each with its comments and the name
  // it goes out under, if any.
  std::vector<CandidateLines> candidates;
  for (const StarResult& r : results.stars) {
    if (r.candidate == 0) continue;
    CandidateLines& c = candidates.emplace_back();
    c.result = &r;
    add_other_entry_comment(c.comments, store, data, r);
    const NearestVsxEntry nearest = data.name_of(r.star);
    if (nearest.entry == 0) {
      const StarAnchor& anchor = data.anchors[r.star - 1];
      add_line(c.comments, candidate_text(r) + " at RA " + fixed_decimals(ra_degrees(anchor.ra), position_decimals) +
                               " Dec " + fixed_decimals(dec_degrees(anchor.dec), position_decimals) +
                               " has no VSX identification within " + radius_text(data) +
                               ": it needs a VSX registration first");
      continue;
    }
    std::string name = latin1_to_utf8(store.vsx.name(store.vsx.entries[nearest.entry - 1]));
    if (name.empty() || name.find(delimiter) != std::string::npos) {
      add_line(c.comments, candidate_text(r) + " has a VSX name with a comma, which this file cannot hold");
      continue;
    }
    c.name = std::string(utf8_prefix(name, max_star_id_length));
  }

  add_unsubmittable_image_comments(out, store, candidates);
  for (const CandidateLines& c : candidates) {
    out += c.comments;
    if (!c.name.empty()) add_observations(file, store, *c.result, c.name, settings.filter, chart);
  }
  return file;
}

}  // namespace varisift
