// Skymensor.log: for every session the start line, the image and time-stamp
// lines, the settings, the catalogue and object lists, and per table the
// astrometry and photometry blocks; write_session_close adds the rest.
#include <cmath>
#include <ostream>

#include "calendar.h"
#include "line_format.h"
#include "log_blocks.h"
#include "log_sink.h"
#include "series.h"
#include "sky_geometry.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr char program_version[] = "Skymensor 4.10.0.431";
constexpr double detector_pixels = 2048.0;
constexpr double pixel_microns = 9.0;
constexpr double arcsec_per_radian = 206264.80624709636;
constexpr double catalogue_area_factor = 1.075;  // catalogue read a little beyond the field
constexpr int clock_after_listing = 22;          // seconds
constexpr int clock_after_catalogue = 10;
constexpr int rows_per_clock_second = 5000;
constexpr double tenths = 10.0;
constexpr double centis_of_time_per_degree = 24000.0;  // hundredths of a second of time
constexpr std::int64_t centis_of_time_per_day = 8640000;
constexpr double tenth_arcsec_per_degree = 36000.0;
constexpr double microns_per_millimetre = 1000.0;
constexpr double hundredths = 100.0;

constexpr char table_header_1[] =
    "     RA           dRA        Dec.        dDec     G      dG         x        y      Flux  FWHM   Peak    Fit";
constexpr char table_header_2[] =
    "   h  m   s        \"       \xB0  '   \"       \"      mag     mag                         ADU    \"     SNR    "
    "RMS";
constexpr int table_rule_length = 108;

constexpr const char* fit_suffixes[fit_terms] = {"",      "*x'",   "*y'",      "*x'^2",    "*x'*y'",
                                                 "*y'^2", "*x'^3", "*x'^2*y'", "*x'*y'^2", "*y'^3"};

double pixel_scale(const SeriesOptions& options) { return options.field_arcmin * 60.0 / detector_pixels; }

// "03h 00m 00.15s" from hundredths of a second of time.
void append_ra_hms(std::string& out, std::int64_t centis) {
  constexpr std::int64_t per_hour = 360000;
  constexpr std::int64_t per_minute = 6000;
  append_zero_padded(out, centis / per_hour, 2);
  out += "h ";
  append_zero_padded(out, (centis / per_minute) % 60, 2);
  out += "m ";
  append_zero_padded(out, (centis / 100) % 60, 2);
  out += '.';
  append_zero_padded(out, centis % 100, 2);
  out += 's';
}

// "+30° 00' 03.4"" from tenths of an arcsecond.
void append_dec_dms(std::string& out, std::int64_t tenths_value) {
  constexpr std::int64_t per_degree = 36000;
  constexpr std::int64_t per_minute = 600;
  out += tenths_value < 0 ? '-' : '+';
  const std::int64_t a = tenths_value < 0 ? -tenths_value : tenths_value;
  append_zero_padded(out, a / per_degree, 2);
  out += degree_sign;
  out += ' ';
  append_zero_padded(out, (a / per_minute) % 60, 2);
  out += "' ";
  append_zero_padded(out, (a / 10) % 60, 2);
  out += '.';
  append_zero_padded(out, a % 10, 1);
  out += '"';
}

void append_center(std::string& out, std::int64_t ra_centis, std::int64_t dec_tenths) {
  out += block_indent;
  out += "Center Coordinates: RA = ";
  append_ra_hms(out, ra_centis);
  out += ", De = ";
  append_dec_dms(out, dec_tenths);
}

void append_coefficient(std::string& out, const Coefficient& c) {
  out += c.negative ? '-' : '+';
  append_fixed(out, static_cast<std::int64_t>(c.mantissa), 9, 0);
  out += 'E';
  append_int(out, c.exponent, 0);
}

void write_fit(const char* axis, const Coefficient (&terms)[fit_terms], LogSink& sink) {
  constexpr int first_row_end = 3;
  constexpr int second_row_end = 6;
  std::string& out = sink.text();
  out += block_indent;
  out += axis;
  out += " = ";
  for (int t = 0; t < fit_terms; ++t) {
    if (t == first_row_end || t == second_row_end) {
      sink.end(Break::continued);
      out += "               ";
    } else if (t > 0) {
      out += ' ';
    }
    append_coefficient(out, terms[t]);
    out += fit_suffixes[t];
  }
  sink.end();
}

void write_heading(LogSink& sink, std::int64_t clock, const char* what, int number, const std::string& name) {
  std::string& out = sink.text();
  append_clock_prefix(out, clock);
  out += what;
  out += " Image ";
  append_int(out, number, 0);
  out += " (";
  out += name;
  out += "): ";
  sink.end();
}

void write_start(const Series& series, const Session& session, LogSink& sink) {
  const SeriesOptions& options = series.options;
  std::string& out = sink.text();
  const CalendarTime start = calendar_time(session.start_seconds * tenths_per_second);
  append_clock_prefix(out, session.start_seconds);
  out += "Start ";
  append_zero_padded(out, start.year, 4);
  out += '/';
  append_zero_padded(out, start.month, 2);
  out += '/';
  append_zero_padded(out, start.day, 2);
  sink.end();
  out += block_indent;
  out += program_version;
  sink.end();
  for (std::size_t k = 0; k < session.images.size(); ++k) {
    const Image& image = series.images[static_cast<std::size_t>(session.images[k])];
    out += block_indent;
    out += "Image ";
    append_int(out, static_cast<std::int64_t>(k) + 1, 0);
    out += ": ";
    out += image.folder;
    out += '\\';
    out += image.name;
    sink.end();
    append_time_stamp_line(out, image.time_tenths, options.hour_blank_padded);
    sink.end();
  }
}

void write_settings(const Series& series, LogSink& sink) {
  const SeriesOptions& options = series.options;
  std::string& out = sink.text();
  const double focal_mm = arcsec_per_radian * pixel_microns / microns_per_millimetre / pixel_scale(options);
  out += block_indent;
  out += "Settings for Scale and Orientation:";
  sink.end();
  out += "             Focal Length = ";
  append_fixed(out, std::llround(focal_mm * tenths), 1, 0);
  out += "mm ";
  out += plus_minus_sign;
  out += " 1.0%, Position Angle = 0.0";
  out += degree_sign;
  out += ' ';
  out += plus_minus_sign;
  out += " 1.0";
  out += degree_sign;
  out += ", Pointing = ";
  out += plus_minus_sign;
  out += " 1.0'";
  sink.end();
  switch (options.flipped) {
    case FlipNote::no:
      out += "             Image flipped: no";
      break;
    case FlipNote::yes:
      out += "             Image flipped: yes";
      break;
    case FlipNote::horizontally:
      out += "             Image flipped:  horizontally";
      break;
  }
  sink.end();
  out += block_indent;
  out += "Settings for CCD:";
  sink.end();
  out += "             Pixel Width = 9.0";
  out += micro_sign;
  out += "m, Pixel Height = 9.0";
  out += micro_sign;
  out += "m, Saturation = 65535";
  sink.end();
  out += block_indent;
  out += "Settings for Object Detection:";
  sink.end();
  out +=
      "             Aperture Radius = 5, Detection Limit = 4.0, Min.FWHM = 1.00, PSF-Fit RMS = 0.30, "
      "Search Radius = 1.75";
  sink.end();
  out += block_indent;
  out += "Settings for Reference Star Matching:";
  sink.end();
  out += "             Number of Stars = ";
  append_int(out, options.reference_stars, 0);
  out += ", Search Radius = 5.0, Magnitude = 11.0mag - 22.0mag";
  sink.end();
}

void write_catalogue(const Series& series, LogSink& sink, std::int64_t clock) {
  const SeriesOptions& options = series.options;
  std::string& out = sink.text();
  const std::int64_t area = std::llround(options.field_arcmin * catalogue_area_factor * tenths);
  append_clock_prefix(out, clock);
  out += "Gaia DR1: ";
  append_int(out, static_cast<std::int64_t>(series.objects.size()), 0);
  out += " Records read (";
  append_fixed(out, area, 1, 0);
  out += "' x ";
  append_fixed(out, area, 1, 0);
  out += "')";
  sink.end();
  const std::int64_t ra_centis =
      std::llround(wrap_degrees(options.center_ra_deg) * centis_of_time_per_degree) % centis_of_time_per_day;
  const std::int64_t dec_tenths = std::llround(options.center_dec_deg * tenth_arcsec_per_degree);
  append_center(out, ra_centis, dec_tenths);
  sink.end();
}

const PhotometryTable* first_table_of(const Session& session, int image) {
  for (const PhotometryTable& table : session.tables) {
    if (table.image == image) {
      return &table;
    }
  }
  return nullptr;
}

void write_object_lists(const Series& series, const Session& session, LogSink& sink, std::int64_t clock) {
  std::string& out = sink.text();
  for (std::size_t k = 0; k < session.images.size(); ++k) {
    const int image = session.images[k];
    const PhotometryTable* table = first_table_of(session, image);
    if (table == nullptr) {
      continue;
    }
    write_heading(sink, clock, "Object List for", static_cast<int>(k) + 1,
                  series.images[static_cast<std::size_t>(image)].name);
    int movers = 0;
    for (const Measurement& row : table->rows) {
      if (row.object == moving_object_row) {
        ++movers;
      }
    }
    out += block_indent;
    append_int(out, table->detections, 0);
    out += " Detections (";
    append_int(out, static_cast<std::int64_t>(table->rows.size()) - movers, 0);
    out += " Stars, ";
    append_int(out, table->astrometry_refs, 0);
    out += " Ref. Stars";
    if (movers > 0) {
      out += ", ";
      append_int(out, movers, 0);
      out += " Mover";
    }
    out += ')';
    sink.end();
  }
}

void write_astrometry(const Series& series, const PhotometryTable& table, LogSink& sink, std::int64_t clock) {
  const SeriesOptions& options = series.options;
  const Image& image = series.images[static_cast<std::size_t>(table.image)];
  write_heading(sink, clock, "Astrometry of", table.number_in_session, image.name);
  std::string& out = sink.text();
  out += block_indent;
  append_int(out, table.astrometry_used, 0);
  out += " of ";
  append_int(out, table.astrometry_refs, 0);
  out += " Reference Stars used: dRA = ";
  append_fixed(out, table.dra_hundredths, 2, 0);
  out += "\", dDe = ";
  append_fixed(out, table.ddec_hundredths, 2, 0);
  out += '"';
  sink.end();
  write_fit("X", table.x_fit, sink);
  write_fit("Y", table.y_fit, sink);
  out += block_indent;
  out += "Origin: x0 = 1024.0, y0 = 1024.0";
  sink.end();
  append_center(out, table.center_ra_centis, table.center_dec_tenths);
  sink.end();
  out += block_indent;
  out += "Focal Length = ";
  append_fixed(out, table.focal_length_tenths, 1, 0);
  out += "mm, Rotation = ";
  append_fixed(out, table.rotation_hundredths, 2, 0);
  out += degree_sign;
  sink.end();
  const std::int64_t scale = std::llround(pixel_scale(options) * hundredths);
  const std::int64_t side = std::llround(options.field_arcmin * tenths);
  out += block_indent;
  out += "Pixel Size: ";
  append_fixed(out, scale, 2, 0);
  out += "\" x ";
  append_fixed(out, scale, 2, 0);
  out += "\", Field of View: ";
  append_fixed(out, side, 1, 0);
  out += "' x ";
  append_fixed(out, side, 1, 0);
  out += "' ";
  sink.end();
}

void write_photometry(const Series& series, const PhotometryTable& table, LogSink& sink, std::int64_t clock) {
  const Image& image = series.images[static_cast<std::size_t>(table.image)];
  write_heading(sink, clock, "Photometry of", table.number_in_session, image.name);
  std::string& out = sink.text();
  out += block_indent;
  append_int(out, table.photometry_used, 0);
  out += " of ";
  append_int(out, table.photometry_refs, 0);
  out += " Reference Stars used: dmag = ";
  append_fixed(out, table.dmag_hundredths, 2, 0);
  out += "mag";
  sink.end();
  out += block_indent;
  out += "Zero Point: ";
  append_fixed(out, table.zero_point_thousandths, 3, 0);
  out += "mag";
  sink.end();
  out += table_header_1;
  sink.end();
  out += table_header_2;
  sink.end();
  out += ' ';
  out.append(table_rule_length, '-');
  sink.end();
  for (const Measurement& row : table.rows) {
    append_measurement_line(out, row);
    sink.end();
  }
}

void write_session(const Series& series, const Session& session, LogSink& sink) {
  std::int64_t clock = session.start_seconds;
  write_start(series, session, sink);
  write_settings(series, sink);
  clock += clock_after_listing;
  write_catalogue(series, sink, clock);
  clock += clock_after_catalogue;
  write_object_lists(series, session, sink, clock);
  for (std::size_t t = 0; t < session.tables.size(); ++t) {
    const PhotometryTable& table = session.tables[t];
    write_astrometry(series, table, sink, clock);
    clock += 1 + static_cast<std::int64_t>(table.rows.size()) / rows_per_clock_second;
    write_photometry(series, table, sink, clock);
    clock += static_cast<std::int64_t>(t % 2);
  }
  write_session_close(series, session, sink, clock);
}

}  // namespace

void append_clock_prefix(std::string& out, std::int64_t clock_seconds) {
  const CalendarTime t = calendar_time(clock_seconds * tenths_per_second);
  append_zero_padded(out, t.hour, 2);
  out += ':';
  append_zero_padded(out, t.minute, 2);
  out += ':';
  append_zero_padded(out, t.second, 2);
  out += " - ";
}

void write_log(const Series& series, std::ostream& out) {
  LogSink sink(out, series.options.line_ending);
  for (const Session& session : series.sessions) {
    write_session(series, session, sink);
  }
  sink.flush();
}

const PhotometryTable* final_table(const Series& series, int image) {
  const PhotometryTable* last = nullptr;
  for (const Session& session : series.sessions) {
    for (const PhotometryTable& table : session.tables) {
      if (table.image == image) {
        last = &table;
      }
    }
  }
  return last;
}

}  // namespace varisift::simulate
