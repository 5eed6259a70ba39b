// What the user tells the AAVSO file: the observer code and the filter
// code, checked when the command line is read, and the program's name.
#pragma once

#include <string>
#include <string_view>

namespace varisift {

struct AavsoSettings {
  std::string observer_code;  // the observer's AAVSO code
  std::string filter;         // one of the AAVSO's filter codes
  std::string software;       // "Varisift 1.27.0"
};

// Whether code is one of the AAVSO's filter codes (not case sensitive);
// canonical receives it as the AAVSO writes it.
bool aavso_filter_code(std::string_view code, std::string& canonical);

// Whether an observer code can stand in the file: letters and digits only.
bool aavso_observer_code(std::string_view code);

}  // namespace varisift
