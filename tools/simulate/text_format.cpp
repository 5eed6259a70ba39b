// Digit-by-digit rendering into a small local buffer; see text_format.h.
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr int max_digits = 24;

// Decimal digits of magnitude written backwards from end; returns the start.
char* put_digits(char* end, std::uint64_t magnitude, int min_digits) {
  char* p = end;
  int written = 0;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    ++written;
  } while (magnitude != 0 || written < min_digits);
  return p;
}

std::uint64_t magnitude_of(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

void append_padded(std::string& out, const char* begin, const char* end, int width) {
  const int length = static_cast<int>(end - begin);
  if (length < width) {
    out.append(static_cast<std::size_t>(width - length), ' ');
  }
  out.append(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

void append_zero_padded(std::string& out, std::int64_t value, int width) {
  char buffer[max_digits];
  char* end = buffer + max_digits;
  const char* begin = put_digits(end, magnitude_of(value), width);
  out.append(begin, static_cast<std::size_t>(end - begin));
}

void append_int(std::string& out, std::int64_t value, int width) {
  char buffer[max_digits + 1];
  char* end = buffer + sizeof buffer;
  char* begin = put_digits(end, magnitude_of(value), 1);
  if (value < 0) {
    *--begin = '-';
  }
  append_padded(out, begin, end, width);
}

void append_fixed(std::string& out, std::int64_t scaled, int decimals, int width, Sign sign, bool force_minus) {
  char buffer[max_digits + 3];
  char* end = buffer + sizeof buffer;
  std::uint64_t magnitude = magnitude_of(scaled);
  std::uint64_t unit = 1;
  for (int i = 0; i < decimals; ++i) {
    unit *= 10;
  }
  char* begin = end;
  if (decimals > 0) {
    begin = put_digits(end, magnitude % unit, decimals);
    *--begin = '.';
  }
  begin = put_digits(begin, magnitude / unit, 1);
  if (scaled < 0 || force_minus) {
    *--begin = '-';
  } else if (sign == Sign::always) {
    *--begin = '+';
  }
  append_padded(out, begin, end, width);
}

void append_left(std::string& out, std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) {
    out.append(text.substr(0, static_cast<std::size_t>(width)));
    return;
  }
  out.append(text);
  out.append(static_cast<std::size_t>(width) - text.size(), ' ');
}

void append_blanks(std::string& out, int count) {
  if (count > 0) {
    out.append(static_cast<std::size_t>(count), ' ');
  }
}

}  // namespace varisift::simulate
