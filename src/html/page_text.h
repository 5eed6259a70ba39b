// Text of the HTML page: the log's Latin-1 bytes made UTF-8 and text escaped
// for elements and attributes. Numbers are written in fixed decimal forms
// (text/decimal_text.h, store/value_text.h), so that the page's bytes depend
// on nothing but the run.
#pragma once

#include <string>
#include <string_view>

#include "text/utf8_text.h"

namespace varisift {

// Appends text with &, <, >, " and ' written as character references, safe
// inside element text and quoted attribute values. Valid UTF-8 sequences are
// kept; any other byte is taken as Latin-1 (a folder name typed in another
// encoding). Control characters other than the tab (U+0000-U+001F,
// U+007F-U+009F) become U+FFFD, as HTML does not allow them in text.
void append_escaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

}  // namespace varisift
