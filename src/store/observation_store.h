// The observation store: every table of a run, filled phase by phase and
// passed by reference to each of them. Tables grow with the data actually
// read; the capacities of the fixed parameters are enforced by the phases
// that fill them.
//
// Images and stars are numbered from 1 (slot 0 of their tables is unused);
// a measurement is addressed by its 1-based index m within its image.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/parameters.h"
#include "store/star_table.h"
#include "store/vsx_catalogue.h"

namespace varisift {

// Length of the time stamp text YYYYMMDDhhmmss.
inline constexpr std::size_t time_stamp_length = 14;
// A measurement is shown and read again only through the first characters of
// its text: the time stamp, a blank and the first 62 columns of its line.
inline constexpr std::size_t shown_text_length = 77;
// Column c of a measurement line stands at position c + shown_text_indent of
// its shown text, behind the time stamp and its blank.
inline constexpr int shown_text_indent = static_cast<int>(time_stamp_length) + 1;

// One measurement line of a photometry table, as numbers.
struct Measurement {
  std::int32_t ra = 0;     // right ascension, ms of time
  std::int32_t dec = 0;    // declination, 1/100 arcsec, negative south
  std::uint32_t star = 0;  // star the measurement belongs to, 0 = none yet
  std::int16_t mag = 0;    // magnitude, 1/100 mag
  std::uint8_t fwhm = 0;   // FWHM, 1/10 arcsec (low 8 bits)
  std::uint8_t free = 0;   // 1 = not yet taken by a star
};

// Running sums over an image's photometry table.
struct ImageSums {
  std::int64_t ra = 0;    // of meas ra
  std::int64_t dec = 0;   // of meas dec (signed)
  std::int64_t dra = 0;   // of |RA residual|, 1/1000
  std::int64_t ddec = 0;  // of |Dec residual|, 1/100
  std::int64_t mag = 0;   // of meas mag
  std::int64_t dmag = 0;  // of |magnitude residual|, 1/100
  std::int64_t flux = 0;
  std::int64_t fwhm = 0;  // of meas fwhm, 1/10
  std::int64_t peak = 0;  // 1/10
  std::int64_t rms = 0;   // 1/1000
};

// One registered image (a field) with its photometry table.
struct Image {
  std::string name;               // from its image line
  std::string time;               // YYYYMMDDhhmmss as cut from its time line
  std::vector<Measurement> meas;  // meas_count = meas.size()
  // Per measurement, text_stride bytes: a length byte, then the start of the
  // measurement line, as much of it as fits into the shown text after the
  // time stamp and its blank.
  std::vector<char> text;
  std::size_t text_stride = 0;
  ImageSums sums;
  // Per measurement, the SNR column in tenths; kept only when an export
  // asks for it (the store's keep_export_details).
  std::vector<std::int32_t> snr_tenths;
  std::int16_t outliers = 0;   // measurements outside their star's fences
  bool no_valid_data = false;  // declared after the first detection pass

  std::uint16_t meas_count() const { return static_cast<std::uint16_t>(meas.size()); }
  Measurement& measurement(std::uint32_t m) { return meas[m - 1]; }
  const Measurement& measurement(std::uint32_t m) const { return meas[m - 1]; }
  // The stored start of measurement m's log line.
  std::string_view line_start(std::uint32_t m) const;
  // The first 77 characters of measurement m's text: time stamp, a blank,
  // then the log line.
  std::string shown_text(std::uint32_t m) const;
};

struct ObservationStore {
  std::uint16_t image_count() const { return static_cast<std::uint16_t>(images.size() - 1); }
  // The image at time position p (1-based) of image_order.
  Image& image_at(std::size_t p) { return images[image_order[p]]; }
  const Image& image_at(std::size_t p) const { return images[image_order[p]]; }

  std::vector<Image> images = std::vector<Image>(1);  // images[1..image_count]
  std::vector<std::uint8_t> image_order = {0};        // position -> image number
  std::uint8_t current_image = 0;
  std::uint8_t session_count = 1;
  std::array<std::string, 2> table_header;  // last table header and the line after it
  // The detection parameters of the run; min_variation is lowered to the
  // number of images once the log is read.
  DetectionParameters parameters;

  // Details that only the exports show, read when they are asked for: the
  // SNR of every measurement and the reference catalogues the log names.
  bool keep_export_details = false;
  std::vector<std::string> reference_catalogues;  // distinct, in log order

  VsxCatalogue vsx;
  StarTable stars;

  // Per k = 1..max_images: stars identified in exactly k images.
  std::vector<std::uint32_t> ident_histogram = std::vector<std::uint32_t>(max_images + 1u, 0u);
};

}  // namespace varisift
