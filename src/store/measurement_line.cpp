// Column cutting of a photometry table line.
#include "store/measurement_line.h"

#include "text/column_number.h"
#include "text/integer_arithmetic.h"
#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

namespace {

// Column 1 of the log line is position 1 of the text read here.
constexpr int log_line_indent = 0;

double sign_of(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// A residual field of five columns such as "+0.09" or "(-1.66)": sign from
// the whole field, then only the units digit and the two hundredths digits
// are read.
double residual(std::string_view line, int field_start, int units, int hundredths) {
  return sign_of(column_number(line, field_start, 5)) *
         (column_number(line, units, 1) * 100 + column_number(line, hundredths, 2));
}

}  // namespace

MeasurementValues parse_measurement_line(std::string_view line) {
  MeasurementValues v;
  v.ra = round_to_s32(measured_ra(line, log_line_indent));
  double dec = measured_dec_without_sign(line, log_line_indent);
  // A "-" anywhere in columns 26-27 makes the declination south, so that
  // both " -" and "-0" before the degrees count.
  if (mid_text(line, 26, 2).find('-') != std::string_view::npos) dec = -dec;
  v.dec = round_to_s32(dec);
  v.dra = abs64(round_to_int64(residual(line, 18, 19, 21) * 10));
  v.ddec = abs64(round_to_int64(residual(line, 41, 42, 44)));
  // The minus sign of magnitudes from -9.99 to -1.00 stands inside the
  // whole-magnitude columns, so the whole part is taken without its sign.
  double whole_mag = column_number(line, 49, 2);
  if (whole_mag < 0) whole_mag = -whole_mag;
  v.mag = round_to_s16(sign_of(column_number(line, 48, 6)) * (whole_mag * 100 + column_number(line, 52, 2)));
  v.dmag = abs64(round_to_int64(residual(line, 57, 58, 60)));
  v.flux = round_to_int64(column_number(line, 82, 7));
  v.fwhm = round_to_u8(column_number(line, 91, 2) * 10 + column_number(line, 94, 1));
  v.peak = round_to_int64(column_number(line, 96, 4) * 10 + column_number(line, 101, 1));
  v.rms = round_to_int64(column_number(line, 103, 2) * 1000 + column_number(line, 106, 3));
  return v;
}

}  // namespace varisift
