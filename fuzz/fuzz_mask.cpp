// Fuzz target: the "#" mask renderer. The input builds a mask of the
// program's grammar ("#"+, optionally "." and "#"+, then literal text without
// "#") and a value: a double from raw bits (infinities, NaNs, subnormals), a
// decimal fraction with halves to round, a signed or an unsigned 64-bit
// integer. The rendering is compared with a slow reference written straight
// from the rules: exact decimal expansion, half up to 16 significant digits,
// half up to the mask's decimals, blank fill, "%" widening up to three extra
// digits, exponent form beyond. Plain reals are checked for their shape.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "text/number_format.h"

namespace {

struct Mask {
  int integer_positions = 1;
  bool has_point = false;
  int decimals = 0;
  std::string literal;

  std::string text() const {
    std::string s(static_cast<std::size_t>(integer_positions), '#');
    if (has_point) {
      s += '.';
      s.append(static_cast<std::size_t>(decimals), '#');
    }
    return s + literal;
  }
};

// Digits d0 d1 ... with value d0.d1d2... x 10^point; empty for zero.
struct Decimal {
  std::string digits;
  int point = 0;
};

// Adds one unit in the last place; true when the carry runs off the front.
bool increment(std::string& digits) {
  for (std::size_t k = digits.size(); k > 0; --k) {
    if (digits[k - 1] != '9') {
      ++digits[k - 1];
      return false;
    }
    digits[k - 1] = '0';
  }
  return true;
}

// The first `count` significant digits of d, rounded half up, or padded.
Decimal to_significant(const Decimal& d, std::size_t count) {
  Decimal r{d.digits.substr(0, count), d.point};
  r.digits.resize(count, '0');
  if (d.digits.size() > count && d.digits[count] >= '5' && increment(r.digits)) {
    r.digits.insert(r.digits.begin(), '1');
    r.digits.pop_back();
    ++r.point;
  }
  return r;
}

// Exact decimal expansion of a finite positive double, then 16 digits half up.
Decimal real_decimal(double magnitude) {
  char buffer[1200];
  std::snprintf(buffer, sizeof buffer, "%.1100e", magnitude);  // exact: a double has < 800 digits
  Decimal exact;
  const char* p = buffer;
  for (; *p != 'e'; ++p)
    if (*p != '.') exact.digits += *p;
  exact.point = std::atoi(p + 1);
  return to_significant(exact, 16);
}

Decimal integer_decimal(std::uint64_t magnitude) {
  if (magnitude == 0) return {};
  Decimal d{std::to_string(magnitude), 0};
  d.point = static_cast<int>(d.digits.size()) - 1;
  return d;
}

std::string reference(const Mask& mask, const Decimal& value, bool negative) {
  const int digit_positions = mask.integer_positions - (negative ? 1 : 0);
  // The value times 10^decimals, rounded half up, as digits without leading zeros.
  std::string scaled;
  if (!value.digits.empty()) {
    const int kept = value.point + mask.decimals + 1;
    if (kept >= 0) {
      const std::size_t keep = static_cast<std::size_t>(kept);
      scaled = value.digits.substr(0, keep);
      scaled.resize(keep, '0');
      if (value.digits.size() > keep && value.digits[keep] >= '5' && increment(scaled)) scaled.insert(0, "1");
    }
  }
  const std::size_t fraction_size = static_cast<std::size_t>(mask.decimals);
  if (scaled.size() < fraction_size) scaled.insert(0, fraction_size - scaled.size(), '0');
  std::string whole = scaled.substr(0, scaled.size() - fraction_size);
  const std::string fraction = scaled.substr(scaled.size() - fraction_size);
  while (!whole.empty() && whole.front() == '0') whole.erase(0, 1);
  const int n = static_cast<int>(whole.size());

  std::string out;
  if (n > digit_positions + 3) {  // exponent form
    int significant = digit_positions + mask.decimals;
    if (!negative && significant > 1) --significant;
    if (significant < 1) significant = 1;
    const Decimal mantissa = to_significant(value, static_cast<std::size_t>(significant));
    const int integer_digits = std::max(significant - mask.decimals, 0);
    const int exponent = mantissa.point - (integer_digits - 1);
    out += '%';
    out.append(static_cast<std::size_t>(std::max(mask.integer_positions - integer_digits - (negative ? 1 : 0), 0)),
               ' ');
    if (negative) out += '-';
    out += mantissa.digits.substr(0, static_cast<std::size_t>(integer_digits));
    if (mask.has_point) out += "." + mantissa.digits.substr(static_cast<std::size_t>(integer_digits));
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int exponent_size = std::abs(exponent);
    if (exponent_size >= 10) out += '%';
    out += std::to_string(exponent_size);
  } else {
    std::string field;
    if (n > digit_positions) {
      field = "%";
    } else {
      const bool lone_zero = n == 0 && digit_positions >= 1;
      const int used = (lone_zero ? 1 : n) + (negative ? 1 : 0);
      field.assign(static_cast<std::size_t>(mask.integer_positions - used), ' ');
      if (lone_zero) whole = "0";
    }
    if (negative) field += '-';
    field += whole;
    if (mask.has_point) field += "." + fraction;
    out = field;
  }
  return out + mask.literal;
}

std::string reference_non_finite(const Mask& mask, double value) {
  std::string word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  const int width = mask.integer_positions + (mask.has_point ? 1 + mask.decimals : 0);
  std::string out =
      static_cast<int>(word.size()) > width ? "%" : std::string(static_cast<std::size_t>(width) - word.size(), ' ');
  return out + word + mask.literal;
}

// The plain form of a real: sign position, then fixed digits or d.ddde+XXX.
void check_plain_real(double value) {
  std::string plain;
  varisift::append_plain_real(plain, value);
  fuzz::check(plain.size() >= 2 && (plain[0] == ' ' || plain[0] == '-'), "plain real starts with its sign position");
  if (!std::isfinite(value) || value == 0) return;
  fuzz::check(plain.back() != '.', "no trailing point");
  double back = std::strtod(plain.c_str(), nullptr);
  // Subnormals read back inexactly, and 16 digits of the largest doubles overflow.
  if (!std::isfinite(back) || std::fabs(value) < 1e-300) return;
  // 16 significant digits: within a relative 5e-16 plus the rounding of strtod.
  fuzz::check(std::fabs(back - value) <= std::fabs(value) * 6e-16, "plain real reads back as its value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 11 || size > 64) return 0;
  Mask mask;
  mask.integer_positions = 1 + data[0] % 12;
  mask.has_point = (data[1] & 1) != 0;
  mask.decimals = mask.has_point ? 1 + (data[1] >> 1) % 12 : 0;
  for (std::size_t k = 11; k < size; ++k)
    if (data[k] != '#') mask.literal += static_cast<char>(data[k]);
  std::uint64_t bits;
  std::memcpy(&bits, data + 3, sizeof bits);

  std::string rendered;
  std::string expected;
  switch (data[2] % 4) {
    case 0:
    case 1: {
      double value;
      if (data[2] % 4 == 0) {
        std::memcpy(&value, &bits, sizeof value);
      } else {  // a decimal fraction such as 2.675 or -0.125
        static constexpr double powers[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7};
        value = static_cast<double>(static_cast<std::int64_t>(bits) >> (data[2] >> 5)) / powers[(data[2] >> 2) % 8];
      }
      varisift::append_masked(rendered, mask.text(), value);
      if (!std::isfinite(value)) {
        expected = reference_non_finite(mask, value);
      } else {
        double magnitude = std::fabs(value);
        expected = reference(mask, magnitude == 0 ? Decimal{} : real_decimal(magnitude), std::signbit(value));
      }
      check_plain_real(value);
      break;
    }
    case 2: {
      std::int64_t value = static_cast<std::int64_t>(bits) >> (data[2] >> 2);
      varisift::append_masked(rendered, mask.text(), value);
      std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
      expected = reference(mask, integer_decimal(magnitude), value < 0);
      break;
    }
    default: {
      std::uint64_t value = bits >> (data[2] >> 2);
      varisift::append_masked_unsigned(rendered, mask.text(), value);
      expected = reference(mask, integer_decimal(value), false);
      break;
    }
  }
  if (rendered != expected) {
    std::fprintf(stderr, "mask [%s]\nrendered [%s]\nexpected [%s]\n", mask.text().c_str(), rendered.c_str(),
                 expected.c_str());
  }
  fuzz::check(rendered == expected, "masked rendering follows the rules");
  if (rendered.front() != '%') {
    std::size_t width = static_cast<std::size_t>(mask.integer_positions) +
                        (mask.has_point ? 1 + static_cast<std::size_t>(mask.decimals) : 0);
    fuzz::check(rendered.size() == width + mask.literal.size(), "a value that fits takes the field's width");
  }
  return 0;
}
