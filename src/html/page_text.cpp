// Escaping of page text and the fixed form of numbers.
#include "html/page_text.h"

namespace varisift {

namespace {

constexpr std::string_view replacement_character = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

void append_code_point_below_256(std::string& out, unsigned char c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One code point below U+0100, escaped where HTML needs it.
void append_escaped_below_256(std::string& out, unsigned char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return;
    case '<':
      out += "&lt;";
      return;
    case '>':
      out += "&gt;";
      return;
    case '"':
      out += "&quot;";
      return;
    case '\'':
      out += "&#39;";
      return;
    default:
      break;
  }
  if ((c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0x9F))
    out += replacement_character;
  else
    append_code_point_below_256(out, c);
}

// Length of the valid UTF-8 sequence of two to four bytes at the start of
// text, 0 when there is none (overlong forms, surrogates and code points
// beyond U+10FFFF are not valid).
std::size_t utf8_sequence_length(std::string_view text) {
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

}  // namespace

std::string latin1_to_utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) append_code_point_below_256(out, static_cast<unsigned char>(c));
  return out;
}

void append_escaped(std::string& out, std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c >= 0x80 ? utf8_sequence_length(text.substr(i)) : 0;
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      out += replacement_character;  // a C1 control written in UTF-8
    } else if (length > 0) {
      out.append(text.substr(i, length));
    } else {
      append_escaped_below_256(out, c);
      length = 1;
    }
    i += length;
  }
}

std::string escaped(std::string_view text) {
  std::string out;
  append_escaped(out, text);
  return out;
}

}  // namespace varisift
