// UTF-8 text for the files other programs read (CSV, AAVSO, the page): the
// log's Latin-1 bytes made UTF-8, valid UTF-8 recognised, and text cut by
// characters rather than bytes, so that a cut never splits a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varisift {

// Appends one code point (at most U+10FFFF) as UTF-8.
void append_code_point_as_utf8(std::string& out, char32_t code);

// Latin-1 text (the log's image names) as UTF-8: every byte is the code
// point of the same value.
std::string latin1_to_utf8(std::string_view latin1);
// Appends one Latin-1 character as UTF-8.
inline void append_latin1_as_utf8(std::string& out, unsigned char latin1) { append_code_point_as_utf8(out, latin1); }

// Length of the valid UTF-8 sequence of two to four bytes at the start of
// text, 0 when there is none (overlong forms, surrogates and code points
// beyond U+10FFFF are not valid).
std::size_t utf8_sequence_length(std::string_view text);

// The first `characters` characters of UTF-8 text (all of it when it has
// fewer): a cut never falls inside a multi-byte sequence.
std::string_view utf8_prefix(std::string_view utf8, std::size_t characters);

}  // namespace varisift
