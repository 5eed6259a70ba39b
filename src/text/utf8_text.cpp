// Latin-1 to UTF-8 and cutting UTF-8 by characters.
#include "text/utf8_text.h"

namespace varisift {

namespace {

// The first code points that need two, three and four bytes.
constexpr char32_t first_two_byte = 0x80;
constexpr char32_t first_three_byte = 0x800;
constexpr char32_t first_four_byte = 0x10000;

// A continuation byte: 10 and six bits of the code point.
char continuation_byte(char32_t code, unsigned shift) { return static_cast<char>(0x80 | ((code >> shift) & 0x3F)); }

}  // namespace

void append_code_point_as_utf8(std::string& out, char32_t code) {
  if (code < first_two_byte) {
    out += static_cast<char>(code);
  } else if (code < first_three_byte) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += continuation_byte(code, 0);
  } else if (code < first_four_byte) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += continuation_byte(code, 6);
    out += continuation_byte(code, 0);
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += continuation_byte(code, 12);
    out += continuation_byte(code, 6);
    out += continuation_byte(code, 0);
  }
}

std::string latin1_to_utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) append_latin1_as_utf8(out, static_cast<unsigned char>(c));
  return out;
}

std::size_t utf8_sequence_length(std::string_view text) {
  if (text.empty()) return 0;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  auto continuation = [&](std::size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
  unsigned char lead = byte(0);
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

std::string_view utf8_prefix(std::string_view utf8, std::size_t characters) {
  std::size_t end = 0;
  for (std::size_t count = 0; count < characters && end < utf8.size(); ++count) {
    std::size_t length = static_cast<unsigned char>(utf8[end]) >= 0x80 ? utf8_sequence_length(utf8.substr(end)) : 0;
    end += length > 0 ? length : 1;
  }
  return utf8.substr(0, end);
}

}  // namespace varisift
