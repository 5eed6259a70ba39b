// Fixed-decimal text of reals and of scaled integers.
#include "text/decimal_text.h"

#include <charconv>
#include <cmath>

namespace varisift {

std::string fixed_decimals(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // At most 309 integer digits, a sign, a point and the decimals.
  char buffer[400];
  std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, written.ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string scaled_integer_text(std::int64_t value, int decimals) {
  // The magnitude as unsigned, so that the most negative value has one.
  std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::size_t places = static_cast<std::size_t>(decimals);
  if (digits.size() <= places) digits = std::string(places + 1 - digits.size(), '0') + digits;
  std::string text = value < 0 ? "-" : "";
  text.append(digits, 0, digits.size() - places);
  if (places > 0) {
    text += '.';
    text.append(digits, digits.size() - places, places);
  }
  return text;
}

}  // namespace varisift
