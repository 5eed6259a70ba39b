// Reading the number in fixed columns of a line, as text_to_number does, but
// quickly for the forms that fill nearly every column of the log and the
// catalogue: blanks, an optional sign, digits, and an optional point with
// more digits. Such a number is a whole number of at most 15 digits divided
// by an exact power of ten, which one IEEE division rounds correctly, so the
// value is the one text_to_number gives. Any other text goes through
// text_to_number itself.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

// text_to_number of a field, with the quick path described above.
inline double field_number(std::string_view field) {
  constexpr std::size_t max_quick_digits = 15;
  constexpr double powers_of_ten[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char* p = field.data();
  const char* end = p + field.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  std::int64_t value = 0;
  std::size_t digits = 0;
  std::size_t fraction = 0;
  bool point = false;
  for (; p != end; ++p) {
    unsigned d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
    if (d < 10) {
      value = value * 10 + d;
      ++digits;
      fraction += point;
      if (digits > max_quick_digits) return text_to_number(field);
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return text_to_number(field);
  // An exponent letter may follow; then the general reading decides.
  if (p != end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) return text_to_number(field);
  double magnitude = fraction == 0 ? static_cast<double>(value) : static_cast<double>(value) / powers_of_ten[fraction];
  return negative ? -magnitude : magnitude;
}

// The number in the width columns of line that begin at column start
// (1-based), cut as mid_text cuts them.
inline double column_number(std::string_view line, int start, int width) {
  return field_number(mid_text(line, start, width));
}

}  // namespace varisift
