// The numbers of one measurement line of a photometry table, cut from its
// fixed columns (1-based, inclusive, as Skymensor writes them).
#pragma once

#include <cstdint>
#include <string_view>

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

}  // namespace varisift
