// The style sheet of the HTML page, inline in its head: layout for screen
// and print, the table, and the classes the figures draw with.
#pragma once

#include <string_view>

namespace varisift {

extern const std::string_view page_style;

}  // namespace varisift
