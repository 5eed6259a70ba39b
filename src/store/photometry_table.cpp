// Collecting and parsing the lines of a photometry table.
#include "store/photometry_table.h"

#include <algorithm>
#include <thread>

#include "io/helper_thread.h"
#include "store/measurement_line.h"
#include "text/integer_arithmetic.h"

namespace varisift {

namespace {

// The last column of a measurement line that is read (the RMS thousandths).
constexpr std::size_t last_read_column = 108;
// Tables smaller than this are parsed on one core.
constexpr std::size_t parallel_table_lines = 4096;

// Sums of hostile values wrap around instead of overflowing.
void add_sums(ImageSums& into, const ImageSums& s) {
  into.ra = wrapping_add(into.ra, s.ra);
  into.dec = wrapping_add(into.dec, s.dec);
  into.dra = wrapping_add(into.dra, s.dra);
  into.ddec = wrapping_add(into.ddec, s.ddec);
  into.mag = wrapping_add(into.mag, s.mag);
  into.dmag = wrapping_add(into.dmag, s.dmag);
  into.flux = wrapping_add(into.flux, s.flux);
  into.fwhm = wrapping_add(into.fwhm, s.fwhm);
  into.peak = wrapping_add(into.peak, s.peak);
  into.rms = wrapping_add(into.rms, s.rms);
}

}  // namespace

void PhotometryTable::clear() {
  bytes_.clear();
  line_start_.clear();
}

void PhotometryTable::add_line(std::string_view line) {
  line_start_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  std::size_t kept = std::min(line.size(), last_read_column);
  bytes_.insert(bytes_.end(), line.begin(), line.begin() + static_cast<std::ptrdiff_t>(kept));
}

void PhotometryTable::parse_range(Image& image, std::size_t begin, std::size_t end, ImageSums& sums,
                                  bool keep_snr) const {
  std::size_t stride = image.text_stride;
  for (std::size_t k = begin; k < end; ++k) {
    std::size_t from = line_start_[k];
    std::size_t to = k + 1 < line_start_.size() ? line_start_[k + 1] : bytes_.size();
    std::string_view line(bytes_.data() + from, to - from);
    MeasurementValues v = parse_measurement_line(line);
    Measurement& m = image.meas[k];
    m.ra = v.ra;
    m.dec = v.dec;
    m.mag = v.mag;
    m.fwhm = v.fwhm;
    m.free = 1;
    m.star = 0;
    // The column the log heads "Peak" and "SNR", in tenths.
    if (keep_snr) image.snr_tenths[k] = static_cast<std::int32_t>(v.peak);

    char* slot = image.text.data() + k * stride;
    std::size_t kept = std::min(line.size(), stride - 1);
    slot[0] = static_cast<char>(kept);
    std::copy(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(kept), slot + 1);
    std::fill(slot + 1 + kept, slot + stride, ' ');

    ImageSums s;
    s.ra = m.ra;
    s.dec = m.dec;
    s.dra = v.dra;
    s.ddec = v.ddec;
    s.mag = m.mag;
    s.dmag = v.dmag;
    s.flux = v.flux;
    s.fwhm = m.fwhm;
    s.peak = v.peak;
    s.rms = v.rms;
    add_sums(sums, s);
  }
}

void PhotometryTable::store_into(Image& image, bool keep_snr) {
  std::size_t n = size();
  image.text_stride = 1 + (shown_text_length - 1 - std::min(image.time.size(), shown_text_length - 1));
  image.meas.assign(n, Measurement{});
  image.meas.shrink_to_fit();
  image.text.assign(n * image.text_stride, ' ');
  image.text.shrink_to_fit();
  image.snr_tenths.assign(keep_snr ? n : 0, 0);
  image.sums = ImageSums{};
  std::size_t half = n / 2;
  ImageSums second_sums;
  std::thread second;
  if (n >= parallel_table_lines && std::thread::hardware_concurrency() > 1)
    second = start_helper_thread([&] { parse_range(image, half, n, second_sums, keep_snr); });
  if (second.joinable()) {
    parse_range(image, 0, half, image.sums, keep_snr);
    second.join();
    add_sums(image.sums, second_sums);
  } else {
    parse_range(image, 0, n, image.sums, keep_snr);
  }
}

}  // namespace varisift
