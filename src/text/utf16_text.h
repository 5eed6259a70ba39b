// UTF-8 and UTF-16, the two forms of a file name: the program keeps every
// name as UTF-8 text, and Windows takes and gives names in UTF-16. Both
// conversions accept any input; what is not a character becomes U+FFFD, so
// the UTF-8 they make is always valid.
#pragma once

#include <string>
#include <string_view>

namespace varisift {

// UTF-8 text as UTF-16. Every byte that begins no valid UTF-8 sequence (a
// stray continuation byte, a cut sequence, an overlong form, an encoded
// surrogate, a code point beyond U+10FFFF) becomes one U+FFFD.
std::u16string utf8_to_utf16(std::string_view utf8);

// UTF-16 text as UTF-8. A surrogate without its partner becomes U+FFFD.
std::string utf16_to_utf8(std::u16string_view utf16);

}  // namespace varisift
