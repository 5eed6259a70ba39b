// The rows of stars.csv.
#include "export/stars_csv.h"

#include "export/csv_rows.h"
#include "store/sky_units.h"
#include "store/value_text.h"
#include "text/decimal_text.h"
#include "text/scientific_text.h"
#include "text/utf8_text.h"

namespace varisift {

namespace {

constexpr int degree_decimals = 6;
constexpr int criterion_decimals = 0;  // the criteria are whole numbers
constexpr int index_decimals = 4;      // IQR and MAD are multiples of 0.0025 mag, so shown exactly
constexpr int score_decimals = 3;

const std::vector<std::string> header = {
    "star",           "candidate",     "ra_deg",     "dec_deg",         "n_meas",
    "n_valid",        "n_inliers",     "mag_median", "mag_min",         "mag_max",
    "crit1",          "crit2",         "crit3",      "reported",        "vsx_name",
    "vsx_sep_arcsec", "iqr",           "mad",        "inv_eta",         "iqr_score",
    "mad_score",      "inv_eta_score", "index_flag", "report_vsx_name", "report_vsx_sep_arcsec",
    "period_d",       "period_err_d",  "period_fap", "period_amp_mag",  "epoch_hjd",
    "period_cycles",  "period_flag"};

std::string decimals_or_empty(const std::optional<double>& value, int decimals) {
  return value ? fixed_decimals(*value, decimals) : "";
}

// The index columns of one star: empty where it has no curve (or where the
// index or score is undefined).
void append_index_columns(std::vector<std::string>& row, const StarIndices& x) {
  row.push_back(decimals_or_empty(x.iqr, index_decimals));
  row.push_back(decimals_or_empty(x.mad, index_decimals));
  row.push_back(decimals_or_empty(x.inv_eta, index_decimals));
  row.push_back(decimals_or_empty(x.iqr_score, score_decimals));
  row.push_back(decimals_or_empty(x.mad_score, score_decimals));
  row.push_back(decimals_or_empty(x.inv_eta_score, score_decimals));
  row.push_back(x.flag ? (*x.flag ? "1" : "0") : "");
}

// A catalogue entry's name (UTF-8) and its distance, or two empty fields.
void append_vsx_columns(std::vector<std::string>& row, const VsxCatalogue& catalogue, std::uint32_t entry,
                        double separation_arcsec) {
  if (entry == 0) {
    row.push_back("");
    row.push_back("");
    return;
  }
  row.push_back(latin1_to_utf8(catalogue.name(catalogue.entries[entry - 1])));
  row.push_back(fixed_decimals(separation_arcsec, arcsec_decimals));
}

// The period columns of one star: all empty where no search ran; under
// `long`, the error, amplitude and epoch are empty.
void append_period_columns(std::vector<std::string>& row, const StarPeriod* period) {
  constexpr std::size_t period_columns = 7;
  if (period == nullptr || !period->result) {
    row.insert(row.end(), period_columns, "");
    return;
  }
  const PeriodResult& p = *period->result;
  row.push_back(fixed_decimals(p.period_d, period_decimals));
  row.push_back(decimals_or_empty(p.period_err_d, period_decimals));
  row.push_back(two_digit_scientific(p.log10_fap));
  row.push_back(decimals_or_empty(p.amplitude_mag, amplitude_decimals));
  row.push_back(decimals_or_empty(p.epoch_hjd, epoch_decimals));
  row.push_back(fixed_decimals(p.cycles, cycles_decimals));
  row.push_back(std::string(period_flag_name(p.flag)));
}

}  // namespace

std::string stars_csv(const ObservationStore& store, const DetectionResults& results, const ExportData& data) {
  std::string text;
  append_csv_row(text, header);
  const std::vector<StarIndices>& indices = data.indices;
  std::vector<std::string> row;
  const StarIndices not_computed;  // for a list of indices shorter than the stars: empty columns
  for (std::uint32_t s = 1; s <= store.stars.count(); ++s) {
    const StarResult& r = results.stars[s - 1];
    const StarAnchor& anchor = data.anchors[s - 1];
    row.clear();
    row.push_back(std::to_string(s));
    row.push_back(r.candidate > 0 ? std::to_string(r.candidate) : "");
    row.push_back(fixed_decimals(ra_degrees(anchor.ra), degree_decimals));
    row.push_back(fixed_decimals(dec_degrees(anchor.dec), degree_decimals));
    row.push_back(std::to_string(store.stars.images_seen[s]));
    row.push_back(std::to_string(r.valid_count));
    row.push_back(r.has_statistics ? std::to_string(r.inside_fences) : "");
    row.push_back(r.has_statistics ? magnitude_text(r.median) : "");
    row.push_back(r.valid_count > 0 ? magnitude_text(r.curve_min) : "");
    row.push_back(r.valid_count > 0 ? magnitude_text(r.curve_max) : "");
    for (double criterion : {r.path_criterion, r.square_criterion, r.weighted_criterion})
      row.push_back(r.reached_criteria ? fixed_decimals(criterion, criterion_decimals) : "");
    row.push_back(r.candidate > 0 ? "1" : "0");
    append_vsx_columns(row, store.vsx, data.name_of(s).entry, data.name_of(s).separation_arcsec);
    append_index_columns(row, s - 1 < indices.size() ? indices[s - 1] : not_computed);
    // The entry of the results table, by its own rule, from the row's position.
    const std::uint32_t report_entry = r.candidate > 0 ? r.vsx_match : 0;
    double report_separation = 0;
    if (report_entry > 0) {
      const VsxEntry& e = store.vsx.entries[report_entry - 1];
      report_separation = separation_arcsec(r.row_ra, r.row_dec, e.ra, e.dec);
    }
    append_vsx_columns(row, store.vsx, report_entry, report_separation);
    append_period_columns(row, data.period_of(s));
    append_csv_row(text, row);
  }
  return text;
}

}  // namespace varisift
