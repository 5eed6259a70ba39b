// The exact decimal text of the store's whole-number units, as the files
// other tools read show them: magnitudes in 1/100 mag ("14.52") and
// Julian-date keys in 1/100000 day ("2458769.29453").
#pragma once

#include <cstdint>
#include <string>

#include "text/decimal_text.h"

namespace varisift {

// The store's unit of magnitudes: 1/100 mag.
inline constexpr double centimag_per_mag = 100;

// A magnitude with its two decimals, as the log writes magnitudes.
inline std::string magnitude_text(std::int64_t hundredths) { return scaled_integer_text(hundredths, 2); }

// A Julian date with the 5 decimals of the key's unit.
inline std::string julian_date_text(std::int64_t julian_e5) { return scaled_integer_text(julian_e5, 5); }

}  // namespace varisift
