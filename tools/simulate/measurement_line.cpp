// Rendering of measurement, motion and time-stamp lines; see line_format.h.
#include "calendar.h"
#include "line_format.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr std::int32_t ms_per_hour = 3600000;
constexpr std::int32_t ms_per_minute = 60000;
constexpr std::int32_t ms_per_second = 1000;
constexpr std::int32_t cas_per_degree = 360000;
constexpr std::int32_t cas_per_minute = 6000;
constexpr std::int32_t cas_per_second = 100;
constexpr int residual_width = 5;  // "+0.09"
constexpr int motion_width = 8;    // " +488.01"

void append_residual(std::string& out, int value, bool minus, bool excluded) {
  out += excluded ? '(' : ' ';
  append_fixed(out, value, 2, residual_width, Sign::always, minus && value == 0);
  out += excluded ? ')' : ' ';
}

// Columns 48 to 108 (magnitude onwards), without the magnitude residual.
void append_magnitude(std::string& out, const Measurement& row) { append_fixed(out, row.mag, 2, 6); }

void append_tail(std::string& out, const Measurement& row) {
  append_fixed(out, row.x_hundredths, 2, 9);
  append_fixed(out, row.y_hundredths, 2, 9);
  append_int(out, row.flux, 8);
  append_fixed(out, row.fwhm_tenths, 1, 6);
  append_fixed(out, row.peak_tenths, 1, 7);
  append_fixed(out, row.rms_thousandths, 3, 7);
}

}  // namespace

void append_ra_text(std::string& out, std::int32_t ra_ms) {
  append_zero_padded(out, ra_ms / ms_per_hour, 2);
  out += ' ';
  append_zero_padded(out, (ra_ms / ms_per_minute) % 60, 2);
  out += ' ';
  append_zero_padded(out, (ra_ms / ms_per_second) % 60, 2);
  out += '.';
  append_zero_padded(out, ra_ms % ms_per_second, 3);
}

void append_dec_text(std::string& out, std::int32_t dec_cas) {
  out += dec_cas < 0 ? '-' : '+';
  const std::int32_t a = dec_cas < 0 ? -dec_cas : dec_cas;
  append_zero_padded(out, a / cas_per_degree, 2);
  out += ' ';
  append_zero_padded(out, (a / cas_per_minute) % 60, 2);
  out += ' ';
  append_zero_padded(out, (a / cas_per_second) % 60, 2);
  out += '.';
  append_zero_padded(out, a % cas_per_second, 2);
}

void append_measurement_line(std::string& out, const Measurement& row) {
  out += "  ";
  append_ra_text(out, row.ra_ms);                                                           // 3-14
  out += "  ";                                                                              // 15-16
  append_residual(out, row.ra_residual, row.ra_residual_minus, row.astrometry_excluded);    // 17-23
  out += "  ";                                                                              // 24-25
  append_dec_text(out, row.dec_cas);                                                        // 26-37
  out += "  ";                                                                              // 38-39
  append_residual(out, row.dec_residual, row.dec_residual_minus, row.astrometry_excluded);  // 40-46
  out += ' ';                                                                               // 47
  append_magnitude(out, row);                                                               // 48-53
  out += "  ";                                                                              // 54-55
  append_residual(out, row.mag_residual, row.mag_residual_minus, row.photometry_excluded);  // 56-62
  append_tail(out, row);                                                                    // 63-108
}

void append_motion_line(std::string& out, const Measurement& row, int ra_offset_centi, int dec_offset_centi) {
  out += "  ";
  append_ra_text(out, row.ra_ms);                                      // 3-14
  append_fixed(out, ra_offset_centi, 2, motion_width, Sign::always);   // 15-22
  out += "   ";                                                        // 23-25
  append_dec_text(out, row.dec_cas);                                   // 26-37
  append_fixed(out, dec_offset_centi, 2, motion_width, Sign::always);  // 38-45
  out += "  ";                                                         // 46-47
  append_magnitude(out, row);                                          // 48-53
  out += "   ";                                                        // 54-56
  append_fixed(out, row.mag_residual, 2, residual_width, Sign::always,
               row.mag_residual_minus && row.mag_residual == 0);  // 57-61
  out += ' ';                                                     // 62
  append_tail(out, row);
}

void append_time_stamp_line(std::string& out, std::int64_t tenths, bool hour_blank_padded) {
  const CalendarTime t = calendar_time(tenths);
  out += "           Time Stamp: ";
  append_zero_padded(out, t.year, 4);
  out += ' ';
  append_zero_padded(out, t.month, 2);
  out += ' ';
  append_zero_padded(out, t.day, 2);
  out += ", ";
  if (hour_blank_padded) {
    append_int(out, t.hour, 2);
  } else {
    append_zero_padded(out, t.hour, 2);
  }
  out += ':';
  append_zero_padded(out, t.minute, 2);
  out += ':';
  append_zero_padded(out, t.second, 2);
  out += '.';
  append_zero_padded(out, t.tenth, 1);
  out += " UT";
}

}  // namespace varisift::simulate
