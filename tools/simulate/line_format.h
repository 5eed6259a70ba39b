// Single lines of the two files, rendered into a string without line end:
// the fixed-column measurement line of Skymensor's photometry tables, the
// time-stamp line after an image line, and a line of vsx.dat.
//
// Measurement line columns (1-based, inclusive), as readers cut them:
//   3-4 hours, 6-7 minutes, 9-10 seconds, 12-14 milliseconds of RA;
//   17 "(" / 23 ")" around the RA residual 18-22 when left out of the fit;
//   26 declination sign, 27-28 degrees, 30-31 minutes, 33-34 seconds,
//   36-37 hundredths; 40 / 46 parentheses around the Dec residual 41-45;
//   48-53 magnitude; 56 / 62 parentheses around the magnitude residual 57-61;
//   63-71 x, 72-80 y, 81-88 flux, 89-94 FWHM, 95-101 peak (SNR), 102-108 RMS.
#pragma once

#include <cstdint>
#include <string>

#include "series.h"

namespace varisift::simulate {

constexpr int measurement_line_length = 108;

// "02 59 33.155": hours, minutes, seconds and milliseconds of time.
void append_ra_text(std::string& out, std::int32_t ra_ms);

// "+29 57 53.00" / "-00 04 12.50": sign, degrees, minutes, seconds, hundredths.
void append_dec_text(std::string& out, std::int32_t dec_cas);

// One row of a photometry table (108 bytes, starts with a blank).
void append_measurement_line(std::string& out, const Measurement& row);

// A row of the moving-object block: like a table row, but the residual
// columns hold the offsets along the track (hundredths of an arcsecond).
void append_motion_line(std::string& out, const Measurement& row, int ra_offset_centi, int dec_offset_centi);

// "           Time Stamp: 2019 10 12, 19:04:07.2 UT" (year at columns 24-27);
// hours below 10 with a leading blank when hour_blank_padded.
void append_time_stamp_line(std::string& out, std::int64_t tenths, bool hour_blank_padded);

// One line of vsx.dat: identifier 1-7, name 9-38, flag 40, RA 42-50,
// Dec 52-60, type 62-91, magnitude at maximum 95-100, band 103-,
// minimum 111-116, band 119-, epoch 126-137 and period up to 154.
void append_vsx_line(std::string& out, const VsxEntry& entry);

}  // namespace varisift::simulate
