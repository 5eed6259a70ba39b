// Rendering numbers as report text: plain forms and "#" masks.
//
// All decimal work is done on digit strings, never on printf or the locale,
// so the bytes are the same with every compiler. A real first becomes its
// exact decimal expansion (std::to_chars with enough digits prints the exact
// value of a double), then that expansion is rounded half up to 16
// significant digits; masks round that result half up again to their
// decimals.
//
// Infinity and NaN do not arise from the program's own arithmetic; they are
// still written, as "inf" or "nan" after the usual sign position (NaN never
// shows a sign, because its sign bit differs between platforms). Through a
// mask they are right-aligned in the field's width, behind a "%" when the
// field is too narrow for them.
#include "text/number_format.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace varisift {

namespace {

constexpr int real_digits = 16;  // significant digits of a real in a report
constexpr int min_plain_exponent_digits = 3;
constexpr int lowest_fixed_power = -4;    // plain reals from 10^-4 ...
constexpr int first_exponent_power = 16;  // ... below 10^16 are written in fixed notation
constexpr int widening_limit = 3;         // extra digits that a "%" field may take
constexpr char overflow_mark = '%';

// Significant decimal digits: the value is d0.d1d2... times 10^point, with d0
// nonzero; count == 0 stands for zero. Twenty digits hold any 64-bit integer.
struct Significand {
  static constexpr int capacity = 24;
  char digits[capacity] = {};
  int count = 0;
  int point = 0;
};

// The integer positions, the decimals and the literal text of a mask.
struct MaskShape {
  std::int64_t integer_positions = 0;
  bool has_point = false;
  std::int64_t decimals = 0;
  std::string_view literal;
};

// A mask is a run of "#", optionally "." and at least one more "#", then
// literal text. A "." not followed by "#" already belongs to the literal.
MaskShape parse_mask(std::string_view mask) {
  MaskShape shape;
  std::size_t at = 0;
  while (at < mask.size() && mask[at] == '#') {
    ++at;
  }
  shape.integer_positions = static_cast<std::int64_t>(at);
  if (at + 1 < mask.size() && mask[at] == '.' && mask[at + 1] == '#') {
    shape.has_point = true;
    ++at;
    const std::size_t first_decimal = at;
    while (at < mask.size() && mask[at] == '#') {
      ++at;
    }
    shape.decimals = static_cast<std::int64_t>(at - first_decimal);
  }
  shape.literal = mask.substr(at);
  return shape;
}

// Adds one to the last digit of a digit string, carrying to the left. Returns
// true when the carry runs out of the front (every digit was 9; they are all
// 0 now).
bool increment_digits(char* digits, std::size_t count) {
  for (std::size_t i = count; i > 0; --i) {
    if (digits[i - 1] != '9') {
      ++digits[i - 1];
      return false;
    }
    digits[i - 1] = '0';
  }
  return true;
}

bool increment_digits(std::string& digits) { return increment_digits(digits.data(), digits.size()); }

// Exact significant digits of a 64-bit unsigned integer.
Significand integer_significand(std::uint64_t magnitude) {
  Significand result;
  if (magnitude == 0) {
    return result;
  }
  const auto written = std::to_chars(result.digits, result.digits + Significand::capacity, magnitude);
  result.count = static_cast<int>(written.ptr - result.digits);
  result.point = result.count - 1;
  return result;
}

// A finite positive double rounded half up to 16 significant digits, starting
// from its exact binary value.
Significand real_significand(double magnitude) {
  // magnitude = m * 2^q with m an integer below 2^53. Its exact decimal
  // expansion has at most 18 + 0.302 q significant digits when q >= 0 (an
  // integer below 2^(53+q)), and at most 18 + 0.699 |q| when q < 0 (m * 5^|q|
  // shifted right by |q| places).
  int binary_exponent = 0;
  std::frexp(magnitude, &binary_exponent);
  const int q = binary_exponent - 53;
  const int precision = 18 + (q >= 0 ? (q * 302) / 1000 : (-q * 699) / 1000);

  // "d." + at most 18 + 0.699 * 1126 digits + "e-324".
  constexpr std::size_t expansion_size = 848;
  char expansion[expansion_size];
  const auto written =
      std::to_chars(expansion, expansion + expansion_size, magnitude, std::chars_format::scientific, precision);
  // Layout: d[.ddd...]e<sign><digits>.
  const char* const end = written.ptr;
  const char* p = expansion;
  char digits[real_digits + 1];  // the 16 kept digits and the rounding digit
  int count = 0;
  while (p != end && *p != 'e') {
    if (*p != '.' && count < real_digits + 1) {
      digits[count++] = *p;
    }
    ++p;
  }
  while (count < real_digits + 1) {
    digits[count++] = '0';
  }
  int power = 0;
  if (p != end) {
    ++p;  // 'e'
    const bool power_negative = (p != end && *p == '-');
    if (p != end && (*p == '-' || *p == '+')) {
      ++p;
    }
    std::from_chars(p, end, power);
    if (power_negative) {
      power = -power;
    }
  }

  Significand result;
  for (int i = 0; i < real_digits; ++i) {
    result.digits[i] = digits[i];
  }
  result.count = real_digits;
  result.point = power;
  if (digits[real_digits] >= '5' && increment_digits(result.digits, real_digits)) {
    result.digits[0] = '1';  // 9.99...9|5 became 10.00...0: one digit more, drop the last
    result.point += 1;
  }
  return result;
}

// The first `wanted` significant digits of sig rounded half up (padded with
// zeros when sig has fewer). A carry into a new leading digit drops the last
// digit and raises point by one. Returns the digits; point is updated.
std::string round_to_significant(const Significand& sig, std::int64_t wanted, int& point) {
  std::string digits;
  point = sig.point;
  if (wanted <= 0) {
    return digits;
  }
  const std::size_t size = static_cast<std::size_t>(wanted);
  for (std::size_t i = 0; i < size; ++i) {
    digits.push_back(i < static_cast<std::size_t>(sig.count) ? sig.digits[i] : '0');
  }
  if (size < static_cast<std::size_t>(sig.count) && sig.digits[size] >= '5' && increment_digits(digits)) {
    digits.front() = '1';
    point += 1;
  }
  return digits;
}

// The digits of a value rounded half up to a number of decimals: the integer
// part without leading zeros (empty when it is 0) and exactly `decimals`
// fraction digits.
struct FixedDigits {
  std::string integer_part;
  std::string fraction_part;
};

FixedDigits round_to_decimals(const Significand& sig, std::int64_t decimals) {
  FixedDigits result;
  // Digits standing at 10^-decimals or above, all of sig beyond its count being zero.
  const std::int64_t kept = sig.count == 0 ? -1 : sig.point + decimals + 1;
  std::string scaled;  // the value times 10^decimals, as an integer
  if (kept >= 0) {
    const std::size_t size = static_cast<std::size_t>(kept);
    for (std::size_t i = 0; i < size; ++i) {
      scaled.push_back(i < static_cast<std::size_t>(sig.count) ? sig.digits[i] : '0');
    }
    if (size < static_cast<std::size_t>(sig.count) && sig.digits[size] >= '5' && increment_digits(scaled)) {
      scaled.insert(scaled.begin(), '1');
    }
  }
  const std::size_t fraction = static_cast<std::size_t>(decimals);
  if (scaled.size() > fraction) {
    result.integer_part = scaled.substr(0, scaled.size() - fraction);
    result.fraction_part = scaled.substr(scaled.size() - fraction);
  } else {
    result.fraction_part.assign(fraction - scaled.size(), '0');
    result.fraction_part += scaled;
  }
  // No leading zeros: scaled starts with a nonzero digit of sig, or a carried "1".
  return result;
}

void append_blanks(std::string& out, std::int64_t count) {
  if (count > 0) {
    out.append(static_cast<std::size_t>(count), ' ');
  }
}

// The value in exponent form: S significant digits, the mask's decimals after
// the point, the rest before it, then "E", the exponent's sign and digits (a
// "%" before an exponent of 10 or more); "%", blanks and "-" in front.
void append_exponent_form(std::string& out, const MaskShape& shape, const Significand& sig, bool negative) {
  const std::int64_t digit_positions = shape.integer_positions - (negative ? 1 : 0);
  std::int64_t significant = digit_positions + shape.decimals;
  if (!negative && significant > 1) {
    significant -= 1;
  }
  if (significant < 1) {
    significant = 1;  // only for masks without integer positions
  }
  int point = 0;
  const std::string digits = round_to_significant(sig, significant, point);
  std::int64_t integer_digits = significant - shape.decimals;
  if (integer_digits < 0) {
    integer_digits = 0;
  }
  const std::int64_t exponent = point - (integer_digits - 1);

  out.push_back(overflow_mark);
  append_blanks(out, shape.integer_positions - integer_digits - (negative ? 1 : 0));
  if (negative) {
    out.push_back('-');
  }
  const std::size_t split = static_cast<std::size_t>(integer_digits);
  out.append(digits, 0, split);
  if (shape.has_point) {
    out.push_back('.');
    out.append(digits, split, std::string::npos);
  }
  out.push_back('E');
  out.push_back(exponent < 0 ? '-' : '+');
  const std::int64_t exponent_magnitude = exponent < 0 ? -exponent : exponent;
  if (exponent_magnitude >= 10) {
    out.push_back(overflow_mark);
  }
  char buffer[24];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, exponent_magnitude);
  out.append(buffer, written.ptr);
}

// Renders a magnitude (already rounded to 16 digits for a real, exact for an
// integer) and its sign through a mask: the field, then the literal text.
void append_field(std::string& out, const MaskShape& shape, const Significand& sig, bool negative) {
  const FixedDigits fixed = round_to_decimals(sig, shape.decimals);
  const std::int64_t digit_positions = shape.integer_positions - (negative ? 1 : 0);
  const std::int64_t width = static_cast<std::int64_t>(fixed.integer_part.size());

  if (width > digit_positions + widening_limit) {
    append_exponent_form(out, shape, sig, negative);
    out.append(shape.literal);
    return;
  }
  const bool widened = width > digit_positions;
  const bool lone_zero = fixed.integer_part.empty() && digit_positions >= 1;
  if (widened) {
    out.push_back(overflow_mark);
  } else {
    const std::int64_t used = (lone_zero ? 1 : width) + (negative ? 1 : 0);
    append_blanks(out, shape.integer_positions - used);
  }
  if (negative) {
    out.push_back('-');
  }
  if (lone_zero) {
    out.push_back('0');
  } else {
    out.append(fixed.integer_part);
  }
  if (shape.has_point) {
    out.push_back('.');
    out.append(fixed.fraction_part);
  }
  out.append(shape.literal);
}

// "inf" or "nan" right-aligned in the width of the field, behind a "%" when
// it does not fit; then the literal text.
void append_non_finite_field(std::string& out, const MaskShape& shape, double value) {
  const std::string_view word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  const std::int64_t width = shape.integer_positions + (shape.has_point ? 1 + shape.decimals : 0);
  const std::int64_t length = static_cast<std::int64_t>(word.size());
  if (length > width) {
    out.push_back(overflow_mark);
  } else {
    append_blanks(out, width - length);
  }
  out.append(word);
  out.append(shape.literal);
}

// Digits without a trailing run of zeros.
std::string_view without_trailing_zeros(std::string_view digits) {
  while (!digits.empty() && digits.back() == '0') {
    digits.remove_suffix(1);
  }
  return digits;
}

// Digits of a nonzero real rounded to 16 significant digits, in fixed or
// exponent notation as the plain form wants them (no sign).
void append_plain_magnitude(std::string& out, const Significand& sig) {
  const std::string_view digits(sig.digits, static_cast<std::size_t>(sig.count));
  const int power = sig.point;
  if (power >= lowest_fixed_power && power < first_exponent_power) {
    if (power >= 0) {
      const std::size_t integer_count = static_cast<std::size_t>(power) + 1;
      out.append(digits.substr(0, integer_count));
      const std::string_view fraction = without_trailing_zeros(digits.substr(integer_count));
      if (!fraction.empty()) {
        out.push_back('.');
        out.append(fraction);
      }
    } else {
      out.append("0.");
      out.append(static_cast<std::size_t>(-power - 1), '0');
      out.append(without_trailing_zeros(digits));
    }
    return;
  }
  out.push_back(digits.front());
  const std::string_view fraction = without_trailing_zeros(digits.substr(1));
  if (!fraction.empty()) {
    out.push_back('.');
    out.append(fraction);
  }
  out.push_back('e');
  out.push_back(power < 0 ? '-' : '+');
  char buffer[16];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, power < 0 ? -power : power);
  const std::int64_t length = written.ptr - buffer;
  out.append(static_cast<std::size_t>(length < min_plain_exponent_digits ? min_plain_exponent_digits - length : 0),
             '0');
  out.append(buffer, written.ptr);
}

// Unsigned digits of a 64-bit magnitude.
void append_digits(std::string& out, std::uint64_t magnitude) {
  char buffer[24];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  out.append(buffer, written.ptr);
}

// A signed value with one blank or "-" in front of its digits.
void append_signed(std::string& out, std::int64_t value) {
  out.push_back(value < 0 ? '-' : ' ');
  // 0 - (unsigned) value is the magnitude even for the most negative value.
  const std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  append_digits(out, magnitude);
}

}  // namespace

void append_plain(std::string& out, std::int64_t value, PlainKind kind) {
  switch (kind) {
    case PlainKind::U8:
      append_digits(out, static_cast<std::uint8_t>(value));
      return;
    case PlainKind::U16:
      append_digits(out, static_cast<std::uint16_t>(value));
      return;
    case PlainKind::U32:
      append_digits(out, static_cast<std::uint32_t>(value));
      return;
    case PlainKind::S8:
      append_signed(out, static_cast<std::int8_t>(value));
      return;
    case PlainKind::S16:
      append_signed(out, static_cast<std::int16_t>(value));
      return;
    case PlainKind::S32:
      append_signed(out, static_cast<std::int32_t>(value));
      return;
    case PlainKind::Real:
      // Not meant for this overload; written as the real it stands for.
      append_plain_real(out, static_cast<double>(value));
      return;
  }
}

void append_plain_real(std::string& out, double value) {
  if (std::isnan(value)) {
    out.append(" nan");
    return;
  }
  out.push_back(std::signbit(value) ? '-' : ' ');
  const double magnitude = std::fabs(value);
  if (std::isinf(magnitude)) {
    out.append("inf");
  } else if (magnitude == 0.0) {
    out.push_back('0');
  } else {
    append_plain_magnitude(out, real_significand(magnitude));
  }
}

void append_masked(std::string& out, std::string_view mask, double value) {
  const MaskShape shape = parse_mask(mask);
  if (!std::isfinite(value)) {
    append_non_finite_field(out, shape, value);
    return;
  }
  const double magnitude = std::fabs(value);
  const Significand sig = magnitude == 0.0 ? Significand{} : real_significand(magnitude);
  append_field(out, shape, sig, std::signbit(value));
}

void append_masked(std::string& out, std::string_view mask, std::int64_t value) {
  const std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  append_field(out, parse_mask(mask), integer_significand(magnitude), value < 0);
}

void append_masked_unsigned(std::string& out, std::string_view mask, std::uint64_t value) {
  append_field(out, parse_mask(mask), integer_significand(value), false);
}

}  // namespace varisift
