// Observation stores for the field, light-curve and detection tests: built by
// hand from magnitudes, or read through the log parser from a small
// measurement log laid out the way Skymensor writes it. Stars are assigned by
// hand, so a test decides exactly which measurements form a star.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/observation_store.h"

namespace varisift::detect_fixtures {

// The columns of one photometry-table line that the program reads.
struct LogLine {
  std::string ra = "05 12 33.456";   // h m s.sss
  double ra_residual = 0;            // arcseconds
  std::string dec = "+45 30 15.25";  // sign, d m s.ss
  double dec_residual = 0;           // arcseconds
  double mag = 12.0;
  double mag_residual = 0;
  long flux = 10000;
  double fwhm = 2.5;  // arcseconds
  double peak = 30.0;
  double rms = 0.100;
};

// The two heading lines of a photometry table as the log holds them.
inline constexpr std::string_view log_heading_1 =
    "     RA           dRA        Dec.        dDec     G      dG         x        y      Flux  FWHM   Peak    Fit";
inline constexpr std::string_view log_heading_2 =
    "   h  m   s        \"       deg  '   \"       \"      mag     mag                         ADU    \"     SNR    "
    "RMS";

// One image of a log: its time stamp YYYYMMDDhhmmss and its table lines
// (no photometry table at all when there are none).
struct LogImage {
  std::string time;
  std::vector<LogLine> lines;
};

// A one-session log: the image lines of all images (named
// D:\obs\img001.fit ...), then the photometry table of each image, read
// through the log parser.
ObservationStore read_log(const std::vector<LogImage>& images);

// Registers a hand-built image with one measurement per magnitude (1/100
// mag) and their sum; its measurement texts are empty. The image takes the
// next place in the time order. Returns its number.
std::uint8_t add_image(ObservationStore& store, const std::string& time, const std::vector<std::int16_t>& mags);

// Measurements (image, index within the image) of one star.
using StarMeasurements = std::vector<std::pair<std::uint8_t, std::uint16_t>>;

// Measurement m of each image from first to last.
StarMeasurements one_per_image(std::uint8_t first, std::uint8_t last, std::uint16_t m = 1);

// Makes stars 1, 2, ... of the given measurements (each identified in as
// many images as it has measurements) and builds their entries in the time
// order of store.image_order.
void set_stars(ObservationStore& store, const std::vector<StarMeasurements>& stars);

void add_vsx_entry(VsxCatalogue& catalogue, std::int32_t id, std::int32_t ra, std::int32_t dec, std::int16_t mag,
                   std::string_view name);

// The CR LF lines of collected output.
std::vector<std::string> lines_of(const std::string& bytes);

// A time stamp on 2017-03-01, the given number of minutes after 18:00.
std::string minutes_after_six(int minutes);

}  // namespace varisift::detect_fixtures
