// Latin-1 to UTF-8 and cutting UTF-8 by characters.
#include "text/utf8_text.h"

namespace varisift {

void append_latin1_as_utf8(std::string& out, unsigned char latin1) {
  if (latin1 < 0x80) {
    out += static_cast<char>(latin1);
  } else {
    out += static_cast<char>(0xC0 | (latin1 >> 6));
    out += static_cast<char>(0x80 | (latin1 & 0x3F));
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
