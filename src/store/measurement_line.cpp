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

// The layout of nearly every measurement line, as in
//   "  02 59 33.155   +0.09   +29 57 53.00   +0.12   17.03  (+0.93)  ...   30829   2.6   26.3  0.110":
// every column read is a digit, the residuals are a sign (or blank), a digit,
// a point and two digits, the magnitude is blank-led, flux and peak are
// right-aligned whole numbers. Such a line's numbers are whole numbers that
// the column reading would assemble exactly (far below 2^53), so they are
// read straight from the digits. A line that differs from the layout in any
// column read goes through the column reading instead.
class DigitColumns {
 public:
  explicit DigitColumns(std::string_view line) : line_(line) {}
  bool ok() const { return ok_; }

  // The digits of columns first..first+width-1 as a whole number.
  std::int64_t digits(int first, int width) {
    std::int64_t value = 0;
    for (int c = first; c < first + width; ++c) value = value * 10 + digit(c);
    return value;
  }
  // A whole number right-aligned in its columns: blanks, then digits.
  std::int64_t right_aligned(int first, int width) {
    int c = first;
    while (c < first + width - 1 && at(c) == ' ') ++c;
    return digits(c, first + width - c);
  }
  // A residual field of five columns: a sign or blank, a digit, a point and
  // two digits; its size in hundredths (the sign does not count).
  std::int64_t residual_hundredths(int first) {
    char sign = at(first);
    require(sign == '+' || sign == '-' || sign == ' ');
    require(at(first + 2) == '.');
    return digit(first + 1) * 100 + digits(first + 3, 2);
  }
  char at(int column) const { return line_[static_cast<std::size_t>(column - 1)]; }
  void require(bool condition) { ok_ = ok_ && condition; }

 private:
  std::int64_t digit(int column) {
    unsigned d = static_cast<unsigned char>(at(column)) - static_cast<unsigned>('0');
    require(d <= 9);
    return d <= 9 ? d : 0;
  }
  std::string_view line_;
  bool ok_ = true;
};

// The columns of the layout above, read from the digits; false (values
// unset) for a line that leaves the layout anywhere.
bool read_usual_layout(std::string_view line, MeasurementValues& v) {
  constexpr std::size_t last_column_read = 108;
  if (line.size() < last_column_read) return false;
  DigitColumns c(line);
  std::int64_t ra =
      c.digits(3, 2) * ms_per_hour + c.digits(6, 2) * ms_per_minute + c.digits(9, 2) * ms_per_second + c.digits(12, 3);
  std::int64_t dec = c.digits(27, 2) * centiarcsec_per_degree + c.digits(30, 2) * centiarcsec_per_arcminute +
                     c.digits(33, 2) * centiarcsec_per_arcsecond + c.digits(36, 2);
  // The degrees are digits, so the sign can only stand in column 26.
  if (c.at(26) == '-') dec = -dec;
  std::int64_t dra = c.residual_hundredths(18) * 10;
  std::int64_t ddec = c.residual_hundredths(41);
  // A blank-led magnitude below 100, " 9.51" or "17.03": never negative.
  c.require(c.at(48) == ' ' && c.at(51) == '.');
  std::int64_t mag = (c.at(49) == ' ' ? c.digits(50, 1) : c.digits(49, 2)) * 100 + c.digits(52, 2);
  std::int64_t dmag = c.residual_hundredths(57);
  std::int64_t flux = c.right_aligned(82, 7);
  std::int64_t fwhm = (c.at(91) == ' ' ? c.digits(92, 1) : c.digits(91, 2)) * 10 + c.digits(94, 1);
  std::int64_t peak = c.right_aligned(96, 4) * 10 + c.digits(101, 1);
  std::int64_t rms = (c.at(103) == ' ' ? c.digits(104, 1) : c.digits(103, 2)) * 1000 + c.digits(106, 3);
  if (!c.ok()) return false;
  v.ra = static_cast<std::int32_t>(ra);
  v.dec = static_cast<std::int32_t>(dec);
  v.mag = static_cast<std::int16_t>(mag);
  v.fwhm = static_cast<std::uint8_t>(fwhm);  // the low 8 bits, as the column reading keeps them
  v.dra = dra;
  v.ddec = ddec;
  v.dmag = dmag;
  v.flux = flux;
  v.peak = peak;
  v.rms = rms;
  return true;
}

}  // namespace

MeasurementValues parse_measurement_line(std::string_view line) {
  MeasurementValues v;
  if (read_usual_layout(line, v)) return v;
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
