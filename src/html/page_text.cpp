// Escaping of page text and the fixed form of numbers.
#include "html/page_text.h"

#include "text/utf8_text.h"

namespace varisift {

namespace {

constexpr std::string_view replacement_character = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

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
    append_latin1_as_utf8(out, c);
}

}  // namespace

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
