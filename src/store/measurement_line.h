// The numbers of one measurement line of a photometry table, cut from the
// fixed columns Skymensor writes (1-based, each given by its first column and
// its width).
#pragma once

#include <cstdint>
#include <string_view>

#include "store/sky_units.h"
#include "text/column_number.h"

namespace varisift {

struct MeasurementValues {
  std::int32_t ra = 0;    // ms of time
  std::int32_t dec = 0;   // 1/100 arcsec
  std::int16_t mag = 0;   // 1/100 mag
  std::uint8_t fwhm = 0;  // 1/10 arcsec, low 8 bits
  std::int64_t dra = 0;   // |RA residual|, 1/1000
  std::int64_t ddec = 0;  // |Dec residual|, 1/100
  std::int64_t dmag = 0;  // |magnitude residual|, 1/100
  std::int64_t flux = 0;
  std::int64_t peak = 0;  // 1/10
  std::int64_t rms = 0;   // 1/1000
};

// Reads every field of a measurement line; a column beyond the end of the
// line reads as 0.
MeasurementValues parse_measurement_line(std::string_view line);

// The position columns of a measurement line, read from a text in which
// column c of the line stands at position c + indent: 0 for the log line
// itself, shown_text_indent for a measurement's shown text. Both readers sum
// the parts in this order, so they agree to the last bit.

// Right ascension in ms of time: hours (columns 3-4), minutes (6-7), seconds
// (9-10) and thousandths (12-14).
inline double measured_ra(std::string_view text, int indent) {
  return column_number(text, indent + 3, 2) * ms_per_hour + column_number(text, indent + 6, 2) * ms_per_minute +
         column_number(text, indent + 9, 2) * ms_per_second + column_number(text, indent + 12, 3);
}

// Declination in 1/100 arcsec before its sign is applied: degrees (columns
// 27-28), minutes (30-31), seconds (33-34) and hundredths (36-37). Where the
// sign stands is the business of each reader.
inline double measured_dec_without_sign(std::string_view text, int indent) {
  return column_number(text, indent + 27, 2) * centiarcsec_per_degree +
         column_number(text, indent + 30, 2) * centiarcsec_per_arcminute +
         column_number(text, indent + 33, 2) * centiarcsec_per_arcsecond + column_number(text, indent + 36, 2);
}

}  // namespace varisift
