// Column cutting of a photometry table line.
#include "store/measurement_line.h"

#include <algorithm>

#include "run/column_number.h"
#include "run/number_text.h"

namespace varisift {

namespace {

// Fields longer than this always go the general way.
constexpr std::size_t max_quick_field = 15;

std::string_view columns(std::string_view line, int first, int last) {
  return line_columns(line, first, last - first + 1);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number in columns first..last.
double n(std::string_view line, int first, int last) { return column_number(line, first, last - first + 1); }

double sign_of(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// sgn of the number in columns first..last. Without an exponent, a short
// number is zero exactly when all its digits are, so its sign is read from
// the text; anything else goes through text_to_number.
double sign_of_number(std::string_view line, int first, int last) {
  std::string_view field = columns(line, first, last);
  if (field.size() > max_quick_field) return sign_of(text_to_number(field));
  std::size_t k = 0;
  while (k < field.size() && field[k] == ' ') ++k;
  double sign = 1.0;
  if (k < field.size() && (field[k] == '+' || field[k] == '-')) sign = field[k++] == '-' ? -1.0 : 1.0;
  bool any_nonzero = false;
  bool seen_point = false;
  for (; k < field.size(); ++k) {
    char c = field[k];
    if (is_digit(c))
      any_nonzero = any_nonzero || c != '0';
    else if (c == '.' && !seen_point)
      seen_point = true;
    else
      break;
  }
  if (k < field.size() && (field[k] == 'e' || field[k] == 'E' || field[k] == 'd' || field[k] == 'D'))
    return sign_of(text_to_number(field));
  return any_nonzero ? sign : 0.0;
}

std::int64_t magnitude_of(std::int64_t v) {
  if (v >= 0) return v;
  return v == INT64_MIN ? INT64_MAX : -v;
}

// A residual field such as "+0.09" or "(-1.66)": sign from the whole field,
// then only the units digit and the hundredths are read.
double residual(std::string_view line, int field_first, int units, int hundredths) {
  return sign_of_number(line, field_first, field_first + 4) * (n(line, units, units) * 100 + n(line, hundredths, hundredths + 1));
}

}  // namespace

MeasurementValues parse_measurement_line(std::string_view line) {
  MeasurementValues v;
  v.ra = round_to_s32(n(line, 3, 4) * 3600000 + n(line, 6, 7) * 60000 + n(line, 9, 10) * 1000 + n(line, 12, 14));
  double dec = n(line, 27, 28) * 360000 + n(line, 30, 31) * 6000 + n(line, 33, 34) * 100 + n(line, 36, 37);
  if (columns(line, 26, 27).find('-') != std::string_view::npos) dec = -dec;
  v.dec = round_to_s32(dec);
  v.dra = magnitude_of(round_to_int64(residual(line, 18, 19, 21) * 10));
  v.ddec = magnitude_of(round_to_int64(residual(line, 41, 42, 44)));
  // The minus sign of magnitudes from -9.99 to -1.00 stands inside the
  // whole-magnitude columns, so the whole part is taken without its sign.
  double whole_mag = n(line, 49, 50);
  if (whole_mag < 0) whole_mag = -whole_mag;
  v.mag = round_to_s16(sign_of_number(line, 48, 53) * (whole_mag * 100 + n(line, 52, 53)));
  v.dmag = magnitude_of(round_to_int64(residual(line, 57, 58, 60)));
  v.flux = round_to_int64(n(line, 82, 88));
  v.fwhm = round_to_u8(n(line, 91, 92) * 10 + n(line, 94, 94));
  v.peak = round_to_int64(n(line, 96, 99) * 10 + n(line, 101, 101));
  v.rms = round_to_int64(n(line, 103, 104) * 1000 + n(line, 106, 108));
  return v;
}

}  // namespace varisift
