// Rows of the results table and their catalogue columns.
#include "detect/results_table.h"

#include <cmath>

#include "store/measurement_line.h"
#include "store/sky_units.h"
#include "store/time_keys.h"
#include "text/column_number.h"
#include "text/integer_arithmetic.h"
#include "text/number_format.h"
#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

namespace {

constexpr std::string_view header_line_1 =
    "Num- R.A          DEC          V/Cat V/Min V/Max   dV  Meas Cri Interval YearDate/Start YearDate/End    FWHM  VSX "
    "VSX (RA)   VSX (Dec) VSX";
constexpr std::string_view header_line_2 =
    "ber  hh mm ss.sss +dd mm ss.ss mm.mm mm.mm mm.mm mm.mm nnnn per ssssssss yyyymmddhhmmss yyyymmddhhmmss   max Magn "
    "hh mm ss.s +DD mm ss Designation";

// Corrected positions are held within this bound, far beyond any real
// position, so that the row's integer arithmetic cannot overflow.
constexpr double position_bound = 9007199254740992.0;  // 2^53

// The column of the measurement line whose "-" makes the row's declination
// south.
constexpr int dec_sign_column = 26;

std::int64_t bounded_position(double value) {
  if (value > position_bound) value = position_bound;
  if (value < -position_bound) value = -position_bound;
  return round_to_int64(value);
}

// A right ascension in ms of time or a declination magnitude in 1/100
// arcsec, split into whole hours or degrees, minutes, and what remains.
struct Sexagesimal {
  std::int64_t whole = 0;
  std::int64_t minutes = 0;
  std::int64_t rest = 0;  // in the units of the value
};

Sexagesimal split(std::int64_t value, std::int64_t per_whole, std::int64_t per_minute) {
  Sexagesimal parts;
  parts.whole = floor_div(value, per_whole);
  parts.minutes = floor_div(value - parts.whole * per_whole, per_minute);
  parts.rest = value - parts.whole * per_whole - parts.minutes * per_minute;
  return parts;
}

// Takes the position, magnitudes and time of one measurement text.
void take_measurement_text(RowValues& row, std::string_view t) {
  std::string_view key = left_text(t, static_cast<std::int64_t>(time_stamp_length));
  if (compare_text(key, row.first_time_key) < 0) row.first_time_key.assign(key);
  if (compare_text(key, row.last_time_key) > 0) row.last_time_key.assign(key);

  double ra = measured_ra(t, shown_text_indent);
  double dec = measured_dec_without_sign(t, shown_text_indent);
  // Only the first of the two sign columns of the line counts here.
  if (mid_text(t, shown_text_indent + dec_sign_column, 1) == "-") dec = -dec;
  row.ra = bounded_position(ra);
  row.dec = bounded_position(dec);
  // The RA residual is in arcseconds on the sky: x 1000 / 15 gives ms of
  // time at the equator, / cos(delta) widens it toward the poles.
  double delta = declination_radians(static_cast<double>(row.dec));
  row.ra = bounded_position(static_cast<double>(row.ra) - column_number(t, 33, 5) * 1000 / 15 / std::cos(delta));
  row.dec = bounded_position(static_cast<double>(row.dec) - column_number(t, 56, 5) * 100);

  std::int16_t m = round_to_s16(column_number(t, 64, 5) * 100);
  row.mag_min = min16(row.mag_min, m);
  row.mag_max = max16(row.mag_max, m);
  row.cat_mag = round_to_s16(m - column_number(t, 72, 5) * 100);
}

}  // namespace

RowValues gather_row_values(const ObservationStore& store, std::uint32_t s) {
  RowValues row;
  std::span<const StarEntry> entries = store.stars.entries_of(s);
  for (const StarEntry& e : entries) take_measurement_text(row, store.images[e.image].shown_text(e.meas));
  for (const StarEntry& e : entries) {
    const Image& image = store.images[e.image];
    if (!image.no_valid_data && image.measurement(e.meas).fwhm > row.fwhm_max)
      row.fwhm_max = image.measurement(e.meas).fwhm;
  }
  return row;
}

std::string row_position(std::int64_t ra, std::int64_t dec) {
  std::string text;
  Sexagesimal ra_parts = split(ra, ms_per_hour, ms_per_minute);
  append_masked(text, "## ", ra_parts.whole);
  append_masked(text, "## ", ra_parts.minutes);
  append_masked(text, "##.### ", static_cast<double>(ra_parts.rest) / 1000);
  text += dec > 0 ? "+" : "-";
  Sexagesimal dec_parts = split(abs64(dec), centiarcsec_per_degree, centiarcsec_per_arcminute);
  append_masked(text, "## ", dec_parts.whole);
  append_masked(text, "## ", dec_parts.minutes);
  append_masked(text, "##.##", static_cast<double>(dec_parts.rest) / 100);
  return text;
}

std::string results_row(const RowValues& row, const StarAnalysis& a) {
  std::string line;
  append_masked(line, "#### ", static_cast<std::int64_t>(a.candidate_number));
  line += row_position(row.ra, row.dec);
  append_masked(line, "###.##", row.cat_mag / 100.0);
  append_masked(line, "###.##", row.mag_min / 100.0);
  append_masked(line, "###.##", row.mag_max / 100.0);
  append_masked(line, "###.##", row.mag_max / 100.0 - row.mag_min / 100.0);
  append_masked(line, "#####", static_cast<std::int64_t>(a.walk.inlier_count));
  append_masked(line, "####", a.weighted_criterion.per_measurement);
  append_masked(line, "#########", julian_e5_of_stamp(row.last_time_key) - julian_e5_of_stamp(row.first_time_key));
  line += " ";
  line += row.first_time_key;
  line += " ";
  line += row.last_time_key;
  append_masked(line, "####.#", row.fwhm_max / 10.0);
  return line;
}

std::string vsx_columns(const VsxCatalogue& catalogue, const VsxEntry& e) {
  std::string line;
  append_masked(line, "###.#", e.mag / 100.0);
  Sexagesimal ra = split(e.ra, ms_per_hour, ms_per_minute);
  append_masked(line, "###", ra.whole);
  append_masked(line, "###", ra.minutes);
  append_masked(line, "###.#", static_cast<double>(ra.rest) / 1000);
  line += e.dec > 0 ? " +" : "-";
  Sexagesimal dec = split(abs64(e.dec), centiarcsec_per_degree, centiarcsec_per_arcminute);
  append_masked(line, "###", dec.whole);
  append_masked(line, "###", dec.minutes);
  append_masked(line, "###", static_cast<double>(dec.rest) / 100);
  line += " VSX";
  append_plain(line, e.id, PlainKind::S32);
  line += " = ";
  line += catalogue.name(e);
  return line;
}

void ResultsTable::write_header_once(ReportChannel& out) {
  if (header_written_) return;
  out.write_line(Destination::report, header_line_1);
  out.write_line(Destination::report, header_line_2);
  header_written_ = true;
}

RowMatch ResultsTable::write_row(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out) {
  RowValues row = gather_row_values(store, a.curve.star);
  std::string line = results_row(row, a);
  std::uint32_t match = 0;
  if (store.vsx.count() > 0 && row.fwhm_max > 0) {
    vsx_index_.build(store.vsx);
    match = vsx_index_.first_match(store.vsx, row.ra, row.dec, row.fwhm_max);
  }
  if (match != 0) {
    const VsxEntry& e = store.vsx.entries[match - 1];
    line += vsx_columns(store.vsx, e);
    std::string found = "Star found, is VSX";
    append_plain(found, e.id, PlainKind::S32);
    found += " = ";
    found += store.vsx.name(e);
    out.write_line(Destination::console, found);
  }
  out.write_line(Destination::report, line);
  return RowMatch{row.ra, row.dec, match};
}

}  // namespace varisift
