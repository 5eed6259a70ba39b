// Column cutting of a photometry table line.
#include "store/measurement_line.h"

#include "text/column_number.h"
#include "text/integer_arithmetic.h"
#include "text/number_text.h"

namespace varisift {

namespace {

// The number in columns first..last.
double n(std::string_view line, int first, int last) { return column_number(line, first, last - first + 1); }

double sign_of(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// A residual field such as "+0.09" or "(-1.66)": sign from the whole field,
// then only the units digit and the hundredths are read.
double residual(std::string_view line, int field_first, int units, int hundredths) {
  return sign_of(n(line, field_first, field_first + 4)) *
         (n(line, units, units) * 100 + n(line, hundredths, hundredths + 1));
}

}  // namespace

MeasurementValues parse_measurement_line(std::string_view line) {
  MeasurementValues v;
  v.ra = round_to_s32(n(line, 3, 4) * 3600000 + n(line, 6, 7) * 60000 + n(line, 9, 10) * 1000 + n(line, 12, 14));
  double dec = n(line, 27, 28) * 360000 + n(line, 30, 31) * 6000 + n(line, 33, 34) * 100 + n(line, 36, 37);
  if (line_columns(line, 26, 2).find('-') != std::string_view::npos) dec = -dec;
  v.dec = round_to_s32(dec);
  v.dra = abs64(round_to_int64(residual(line, 18, 19, 21) * 10));
  v.ddec = abs64(round_to_int64(residual(line, 41, 42, 44)));
  // The minus sign of magnitudes from -9.99 to -1.00 stands inside the
  // whole-magnitude columns, so the whole part is taken without its sign.
  double whole_mag = n(line, 49, 50);
  if (whole_mag < 0) whole_mag = -whole_mag;
  v.mag = round_to_s16(sign_of(n(line, 48, 53)) * (whole_mag * 100 + n(line, 52, 53)));
  v.dmag = abs64(round_to_int64(residual(line, 57, 58, 60)));
  v.flux = round_to_int64(n(line, 82, 88));
  v.fwhm = round_to_u8(n(line, 91, 92) * 10 + n(line, 94, 94));
  v.peak = round_to_int64(n(line, 96, 99) * 10 + n(line, 101, 101));
  v.rms = round_to_int64(n(line, 103, 104) * 1000 + n(line, 106, 108));
  return v;
}

}  // namespace varisift
