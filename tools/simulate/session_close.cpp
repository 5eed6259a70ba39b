// The end of a session: the moving-object block with its minor-planet report
// lines, the " - End" line, and, when the minor planet was seen at least
// twice, a stacking block and positions added by hand.
#include <algorithm>
#include <vector>

#include "calendar.h"
#include "line_format.h"
#include "log_blocks.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr int clock_before_movers = 21;  // seconds
constexpr int clock_before_stacking = 32;
constexpr int clock_stacking = 5;
constexpr int clock_per_manual_position = 45;
constexpr int max_manual_positions = 3;
constexpr std::int32_t manual_ra_step_ms = 1500;
constexpr std::int32_t manual_dec_step_cas = -2000;
constexpr std::int16_t manual_fainter = 300;  // hundredths of a magnitude
constexpr std::int32_t manual_flux_divisor = 16;
constexpr std::int32_t manual_x_step = -6400;  // hundredths of a pixel
constexpr std::int32_t manual_y_step = 5700;
constexpr std::int32_t manual_peak_tenths = 44;
constexpr int min_sigma = 1;  // hundredths
constexpr int position_sigma_factor = 50;
constexpr int magnitude_sigma_numerator = 1086;
constexpr int max_offset_centi = 9999999;
constexpr char observatory_code[] = "X99";
constexpr int manual_designation_base = 61;  // running number of the hand-measured objects

struct MoverSighting {
  const Image* image = nullptr;
  const Measurement* row = nullptr;
};

// The minor planet's rows of the session, one per image, in listing order.
std::vector<MoverSighting> sightings(const Series& series, const Session& session) {
  std::vector<MoverSighting> found;
  std::vector<int> seen;
  for (const PhotometryTable& table : session.tables) {
    if (std::find(seen.begin(), seen.end(), table.image) != seen.end()) {
      continue;
    }
    seen.push_back(table.image);
    for (const Measurement& row : table.rows) {
      if (row.object == moving_object_row) {
        found.push_back({&series.images[static_cast<std::size_t>(table.image)], &row});
      }
    }
  }
  return found;
}

// "2019 10 12.794525"
void append_report_date(std::string& out, std::int64_t tenths) {
  const CalendarTime t = calendar_time(tenths);
  append_zero_padded(out, t.year, 4);
  out += ' ';
  append_zero_padded(out, t.month, 2);
  out += ' ';
  append_zero_padded(out, t.day, 2);
  out += '.';
  append_zero_padded(out, day_fraction_millionths(tenths), 6);
}

// "02 59 51.08"
void append_report_ra(std::string& out, std::int32_t ra_ms) {
  constexpr std::int64_t centis_per_day = 8640000;
  const std::int64_t centis = ((ra_ms + 5) / 10) % centis_per_day;
  append_zero_padded(out, centis / 360000, 2);
  out += ' ';
  append_zero_padded(out, (centis / 6000) % 60, 2);
  out += ' ';
  append_zero_padded(out, (centis / 100) % 60, 2);
  out += '.';
  append_zero_padded(out, centis % 100, 2);
}

// "+29 56 32.9"
void append_report_dec(std::string& out, std::int32_t dec_cas) {
  out += dec_cas < 0 ? '-' : '+';
  const std::int64_t tenths = ((dec_cas < 0 ? -static_cast<std::int64_t>(dec_cas) : dec_cas) + 5) / 10;
  append_zero_padded(out, tenths / 36000, 2);
  out += ' ';
  append_zero_padded(out, (tenths / 600) % 60, 2);
  out += ' ';
  append_zero_padded(out, (tenths / 10) % 60, 2);
  out += '.';
  append_zero_padded(out, tenths % 10, 1);
}

void append_report_mag(std::string& out, std::int16_t mag) { append_fixed(out, (mag + 5) / 10, 1, 4); }

void write_sigma_line(LogSink& sink, const Measurement& row) {
  const int snr_tenths = std::max<int>(row.peak_tenths, 10);
  const int position = std::max(min_sigma, row.fwhm_tenths * position_sigma_factor / snr_tenths);
  const int magnitude = std::max(min_sigma, magnitude_sigma_numerator * 10 / snr_tenths / 10);
  std::string& out = sink.text();
  out += "                 ";
  out += plus_minus_sign;
  append_fixed(out, position, 2, 4);
  out += "                  ";
  out += plus_minus_sign;
  append_fixed(out, position + 1, 2, 4);
  out += "           ";
  out += plus_minus_sign;
  append_fixed(out, magnitude, 2, 4);
  sink.end();
}

void write_report_lines(LogSink& sink, const std::string& designation, const std::string& long_designation,
                        const Image& image, const Measurement& row) {
  std::string& out = sink.text();
  out += "     ";
  append_left(out, designation, 7);
  out += "  C";
  append_report_date(out, image.time_tenths);
  append_report_ra(out, row.ra_ms);
  out += ' ';
  append_report_dec(out, row.dec_cas);
  out += "          ";
  append_report_mag(out, row.mag);
  out += " G      ";
  out += observatory_code;
  sink.end();

  out += "       ";
  out += long_designation;
  out += "1 C";
  append_report_date(out, image.time_tenths);
  out += "    ";
  append_report_ra(out, row.ra_ms);
  out += "    ";
  append_report_dec(out, row.dec_cas);
  out += "     ";
  append_report_mag(out, row.mag);
  out += "  G      C                                           0";
  out += observatory_code;
  sink.end();

  out += "       ";
  out += long_designation;
  out += "2+C";
  append_report_date(out, image.time_tenths);
  out += "     0.2    0.1             X.1   N  0.000001   ";
  append_fixed(out, 1500 + (row.mag % 300 + 300) % 300, 3, 0);
  out += "????????                               0";
  out += observatory_code;
  sink.end();
}

int clamp_offset(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -max_offset_centi, max_offset_centi));
}

void write_movers(const Series& series, const std::vector<MoverSighting>& seen, LogSink& sink, std::int64_t clock) {
  const MovingObject& mover = series.mover;
  std::string& out = sink.text();
  append_clock_prefix(out, clock);
  out += "Moving Object detected (";
  append_fixed(out, mover.speed_centi_arcsec_per_min, 2, 0);
  out += "\"/min, PA ";
  append_fixed(out, mover.position_angle_tenths, 1, 0);
  out += degree_sign;
  out += "):";
  sink.end();
  // Offsets along the track from its middle sighting, in hundredths of an arcsecond.
  const Measurement& middle = *seen[seen.size() / 2].row;
  for (const MoverSighting& s : seen) {
    const std::int64_t ra_offset = (static_cast<std::int64_t>(s.row->ra_ms) - middle.ra_ms) * 3 / 2;
    const std::int64_t dec_offset = static_cast<std::int64_t>(s.row->dec_cas) - middle.dec_cas;
    append_motion_line(out, *s.row, clamp_offset(ra_offset), clamp_offset(dec_offset));
    sink.end();
    write_sigma_line(sink, *s.row);
    write_report_lines(sink, mover.designation, mover.long_designation, *s.image, *s.row);
  }
}

void write_stacking(const Series& series, const std::vector<MoverSighting>& seen, LogSink& sink, std::int64_t clock) {
  std::string& out = sink.text();
  append_clock_prefix(out, clock);
  out += "Stacking Image (Add)";
  sink.end();
  const std::int64_t middle_time = (seen.front().image->time_tenths + seen.back().image->time_tenths) / 2;
  append_time_stamp_line(out, middle_time, series.options.hour_blank_padded);
  sink.end();
  out += block_indent;
  out += "Motion: ";
  append_fixed(out, series.mover.speed_centi_arcsec_per_min, 2, 0);
  out += "\"/min in PA ";
  append_fixed(out, series.mover.position_angle_tenths, 1, 0);
  out += degree_sign;
  sink.end();
  for (const MoverSighting& s : seen) {
    out += block_indent;
    out += s.image->name;
    out += ": X-Shift = ";
    append_fixed(out, seen.front().row->x_hundredths - s.row->x_hundredths, 2, 6, Sign::always);
    out += ", Y-Shift = ";
    append_fixed(out, seen.front().row->y_hundredths - s.row->y_hundredths, 2, 6, Sign::always);
    sink.end();
  }
  append_clock_prefix(out, clock + clock_stacking);
  out += "End";
  sink.end(Break::end_marker);
}

// A faint object beside the minor planet, measured by hand.
void write_manual_position(const MoverSighting& s, int index, LogSink& sink, std::int64_t clock) {
  Measurement row = *s.row;
  row.ra_ms = (row.ra_ms + manual_ra_step_ms) % 86400000;
  row.dec_cas += manual_dec_step_cas;
  row.mag = static_cast<std::int16_t>(row.mag + manual_fainter);
  row.flux = std::max(1, row.flux / manual_flux_divisor);
  row.x_hundredths += manual_x_step;
  row.y_hundredths += manual_y_step;
  row.peak_tenths = manual_peak_tenths + index;
  std::string& out = sink.text();
  append_clock_prefix(out, clock);
  out += "Position added manually from file ";
  out += s.image->name;
  out += " + 3:";
  sink.end();
  out += "  ";
  append_ra_text(out, row.ra_ms);
  out += "           ";
  append_dec_text(out, row.dec_cas);
  out += "          ";
  append_fixed(out, row.mag, 2, 6);
  out += "         ";
  append_fixed(out, row.x_hundredths, 2, 9);
  append_fixed(out, row.y_hundredths, 2, 9);
  append_int(out, row.flux, 8);
  out += "   0.0";
  append_fixed(out, row.peak_tenths, 1, 7);
  out += "  -.---";
  sink.end();
  write_sigma_line(sink, row);
  std::string designation = "P10Gv";
  append_zero_padded(designation, manual_designation_base + index, 2);
  std::string long_designation = "P10G0";
  append_zero_padded(long_designation, manual_designation_base + index, 2);
  long_designation += "Ol";
  write_report_lines(sink, designation, long_designation, *s.image, row);
}

}  // namespace

void write_session_close(const Series& series, const Session& session, LogSink& sink, std::int64_t& clock) {
  const std::vector<MoverSighting> seen = sightings(series, session);
  if (!seen.empty()) {
    clock += clock_before_movers;
    write_movers(series, seen, sink, clock);
  }
  clock += 1;
  append_clock_prefix(sink.text(), clock);
  sink.text() += "End";
  sink.end(Break::end_marker);
  if (seen.size() < 2) {
    return;
  }
  clock += clock_before_stacking;
  write_stacking(series, seen, sink, clock);
  clock += clock_stacking;
  const int manual = std::min(max_manual_positions, static_cast<int>(seen.size()));
  for (int k = 0; k < manual; ++k) {
    clock += clock_per_manual_position;
    write_manual_position(seen[static_cast<std::size_t>(k)], k, sink, clock);
  }
}

}  // namespace varisift::simulate
