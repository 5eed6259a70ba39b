// Converting between UTF-8 and UTF-16 code unit by code unit.
#include "text/utf16_text.h"

#include "text/utf8_text.h"

namespace varisift {

namespace {

constexpr char32_t replacement_character = 0xFFFD;
constexpr char32_t first_astral = 0x10000;  // the first code point that needs two UTF-16 units
constexpr char16_t high_surrogate_first = 0xD800;
constexpr char16_t low_surrogate_first = 0xDC00;
constexpr char16_t surrogate_end = 0xE000;  // one past the last low surrogate
constexpr unsigned surrogate_bits = 10;
constexpr char32_t surrogate_mask = 0x3FF;

bool is_high_surrogate(char16_t unit) { return unit >= high_surrogate_first && unit < low_surrogate_first; }
bool is_low_surrogate(char16_t unit) { return unit >= low_surrogate_first && unit < surrogate_end; }

// The code point of a valid UTF-8 sequence of `length` bytes: the lead
// byte's payload bits, then six bits from each continuation byte.
char32_t decoded(std::string_view sequence, std::size_t length) {
  static constexpr unsigned char lead_payload[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = static_cast<unsigned char>(sequence[0]) & lead_payload[length];
  for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
  return code;
}

void append_as_utf16(std::u16string& out, char32_t code) {
  if (code < first_astral) {
    out += static_cast<char16_t>(code);
    return;
  }
  const char32_t offset = code - first_astral;
  out += static_cast<char16_t>(high_surrogate_first + (offset >> surrogate_bits));
  out += static_cast<char16_t>(low_surrogate_first + (offset & surrogate_mask));
}

}  // namespace

std::u16string utf8_to_utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : utf8_sequence_length(utf8.substr(i));
    if (length == 0) {
      out += static_cast<char16_t>(replacement_character);
      length = 1;
    } else {
      append_as_utf16(out, decoded(utf8.substr(i), length));
    }
    i += length;
  }
  return out;
}

std::string utf16_to_utf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  std::size_t i = 0;
  while (i < utf16.size()) {
    const char16_t unit = utf16[i++];
    if (is_high_surrogate(unit) && i < utf16.size() && is_low_surrogate(utf16[i])) {
      const char32_t high = unit - high_surrogate_first;
      const char32_t low = utf16[i++] - low_surrogate_first;
      append_code_point_as_utf8(out, first_astral + ((high << surrogate_bits) | low));
    } else if (is_high_surrogate(unit) || is_low_surrogate(unit)) {
      append_code_point_as_utf8(out, replacement_character);
    } else {
      append_code_point_as_utf8(out, unit);
    }
  }
  return out;
}

}  // namespace varisift
