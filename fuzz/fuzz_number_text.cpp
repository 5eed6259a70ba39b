// Fuzz target: text_to_number on arbitrary text, against a reference that
// cuts the longest decimal prefix by its grammar (blanks, sign, digits with
// at most one point, an exponent letter e/E/d/D with sign and digits) and
// converts it with the C library's correctly rounded strtod. The value then
// goes through the integer conversions of the store's fields, which must
// round to nearest with ties to even and keep the low bits of narrow fields.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "store/measurement_line.h"
#include "text/column_number.h"
#include "text/number_text.h"
#include "text/text.h"

namespace {

constexpr std::size_t max_input = 16 * 1024;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal prefix of s rewritten for strtod, or empty when s has none.
std::string reference_prefix(std::string_view s) {
  std::size_t p = 0;
  while (p < s.size() && s[p] == ' ') ++p;
  std::string text;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) text += s[p++];
  bool any_digit = false;
  bool point = false;
  for (; p < s.size(); ++p) {
    if (is_digit(s[p])) {
      any_digit = true;
    } else if (s[p] == '.' && !point) {
      point = true;
    } else {
      break;
    }
    text += s[p];
  }
  if (!any_digit) return {};
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E' || s[p] == 'd' || s[p] == 'D')) {
    std::size_t q = p + 1;
    std::string exponent = "e";
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) exponent += s[q++];
    if (q < s.size() && is_digit(s[q])) {
      while (q < s.size() && is_digit(s[q])) exponent += s[q++];
      text += exponent;
    }
  }
  return text;
}

void check_rounding(double value) {
  using fuzz::check;
  std::int64_t r = varisift::round_to_int64(value);
  constexpr double two_to_62 = 4611686018427387904.0;
  if (std::isnan(value)) {
    check(r == 0, "NaN rounds to 0");
  } else if (value >= 9223372036854775808.0) {
    check(r == std::numeric_limits<std::int64_t>::max(), "large values saturate");
  } else if (value < -9223372036854775808.0) {
    check(r == std::numeric_limits<std::int64_t>::min(), "large negative values saturate");
  } else if (std::fabs(value) < two_to_62) {
    double distance = std::fabs(value - static_cast<double>(r));  // exact below 2^62
    check(distance <= 0.5, "rounds to a nearest integer");
    if (distance == 0.5) check(r % 2 == 0, "ties go to even");
  }
  check(varisift::round_to_s32(value) == static_cast<std::int32_t>(r), "32-bit field keeps the low bits");
  check(varisift::round_to_u32(value) == static_cast<std::uint32_t>(r), "unsigned 32-bit field keeps the low bits");
  check(varisift::round_to_s16(value) == static_cast<std::int16_t>(r), "16-bit field keeps the low bits");
  check(varisift::round_to_u8(value) == static_cast<std::uint8_t>(r), "8-bit field keeps the low bits");
}

// The number in columns first..last, the plain way.
double column(std::string_view line, int first, int last) {
  return varisift::text_to_number(varisift::mid_text(line, first, last - first + 1));
}

double sign_of(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

std::int64_t magnitude_of(std::int64_t v) {
  if (v >= 0) return v;
  return v == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -v;
}

// Sign from the whole residual field, then only its units digit and hundredths.
double residual(std::string_view line, int field, int units, int hundredths) {
  return sign_of(column(line, field, field + 4)) *
         (column(line, units, units) * 100 + column(line, hundredths, hundredths + 1));
}

void check_measurement_line(std::string_view line) {
  using fuzz::check;
  using namespace varisift;
  MeasurementValues v = parse_measurement_line(line);
  check(v.ra == round_to_s32(column(line, 3, 4) * 3600000 + column(line, 6, 7) * 60000 + column(line, 9, 10) * 1000 +
                             column(line, 12, 14)),
        "right ascension by the column rule");
  double dec =
      column(line, 27, 28) * 360000 + column(line, 30, 31) * 6000 + column(line, 33, 34) * 100 + column(line, 36, 37);
  if (find_text(1, mid_text(line, 26, 2), "-") > 0) dec = -dec;
  check(v.dec == round_to_s32(dec), "declination by the column rule");
  check(v.dra == magnitude_of(round_to_int64(residual(line, 18, 19, 21) * 10)), "RA residual by the column rule");
  check(v.ddec == magnitude_of(round_to_int64(residual(line, 41, 42, 44))), "Dec residual by the column rule");
  double whole = column(line, 49, 50);
  if (whole < 0) whole = -whole;
  check(v.mag == round_to_s16(sign_of(column(line, 48, 53)) * (whole * 100 + column(line, 52, 53))),
        "magnitude by the column rule");
  check(v.dmag == magnitude_of(round_to_int64(residual(line, 57, 58, 60))), "magnitude residual by the column rule");
  check(v.flux == round_to_int64(column(line, 82, 88)), "flux by the column rule");
  check(v.fwhm == round_to_u8(column(line, 91, 92) * 10 + column(line, 94, 94)), "FWHM by the column rule");
  check(v.peak == round_to_int64(column(line, 96, 99) * 10 + column(line, 101, 101)), "peak by the column rule");
  check(v.rms == round_to_int64(column(line, 103, 104) * 1000 + column(line, 106, 108)), "RMS by the column rule");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  double value = varisift::text_to_number(text);

  std::string prefix = reference_prefix(text);
  double expected = prefix.empty() ? 0.0 : std::strtod(prefix.c_str(), nullptr);
  fuzz::check(std::memcmp(&value, &expected, sizeof value) == 0, "correctly rounded value of the decimal prefix");

  check_rounding(value);
  double quick = varisift::field_number(text);
  fuzz::check(std::memcmp(&quick, &value, sizeof value) == 0, "the quick column reader gives the same value");
  check_measurement_line(text);
  // The fuzz bytes as a double of any kind: infinities, NaNs, subnormals.
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    check_rounding(raw);
  }
  return 0;
}
