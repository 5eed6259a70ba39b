// The field list and the raw list of fields, console only.
#include "fields/field_summary.h"

#include "fields/field_means.h"
#include "store/time_keys.h"
#include "text/number_format.h"

namespace varisift {

namespace {
constexpr std::string_view raw_list_heading =
    "Nr. YYYYMMDDhhmmss    RA(h)   dRA   Dec(d) dDEC MMmm dMag   FluxFWHMPeak   RMS";
// Start values of the mean magnitude range, kept when no field has measurements.
constexpr std::int16_t no_magnitude_min = 9999;
constexpr std::int16_t no_magnitude_max = -9999;
}  // namespace

std::string raw_field_row(const ObservationStore& store, std::uint16_t i) {
  const Image& image = store.images[i];
  const ImageSums& s = image.sums;
  std::uint16_t n = image.meas_count();
  auto mean = [n](std::int64_t sum) { return static_cast<double>(field_mean(sum, n)); };
  std::string row;
  append_masked(row, "###:", static_cast<std::int64_t>(i));
  row += image.time;
  append_masked(row, "#########", mean(s.ra));
  append_masked(row, "##.###", mean(s.dra) / 1000);
  append_masked(row, "##########", mean(s.dec));
  append_masked(row, "##.##", mean(s.ddec) / 100);
  append_plain_real(row, mean(s.mag));
  append_masked(row, "##.##", mean(s.dmag) / 100);
  append_masked(row, "#######", mean(s.flux));
  append_masked(row, "##.#", mean(s.fwhm) / 10);
  append_masked(row, "####", mean(s.peak) / 10);
  append_masked(row, "##.###", mean(s.rms) / 1000);
  return row;
}

void write_field_list(const ObservationStore& store, ReportChannel& out) {
  constexpr Destination console = Destination::console;
  std::uint16_t n = store.image_count();
  for (std::uint16_t i = 1; i <= n; ++i) {
    const Image& image = store.images[i];
    std::string line;
    append_masked(line, "###:", static_cast<std::int64_t>(i));
    line += image.name;
    line += " (";
    append_plain(line, image.meas_count(), PlainKind::U16);
    line += " obs)";
    out.write_line(console, line);
  }
  out.write_line(console, "");
  out.write_line(console, "Raw list of fields, not sorted by time.");
  out.write_line(console, raw_list_heading);
  std::int16_t mag_min = no_magnitude_min;
  std::int16_t mag_max = no_magnitude_max;
  for (std::uint16_t i = 1; i <= n; ++i) {
    out.write_line(console, raw_field_row(store, i));
    // A field without measurements has no mean magnitude to take part.
    if (store.images[i].meas_count() == 0) continue;
    std::int16_t mean = mean_image_mag(store.images[i]);
    mag_min = min16(mag_min, mean);
    mag_max = max16(mag_max, mean);
  }
  std::string range = "Mean Mag range in images: ";
  append_masked(range, "##.##", mag_min / 100.0);
  range += "-";
  append_masked(range, "##.##", mag_max / 100.0);
  range += " magnitudes.";
  out.write_line(console, range);
  out.write_line(console, "");
}

void write_processed_notice(const ObservationStore& store, ReportChannel& out) {
  std::string line = "Processed ";
  append_plain(line, store.current_image, PlainKind::U8);
  line += " images";
  out.write_line(Destination::console, line);
  if (store.session_count != 0) {
    line = "Notice: Skymensor.log has ";
    append_plain(line, store.session_count, PlainKind::U8);
    line += " sessions!";
    out.write_line(Destination::console, line);
  }
  out.flush();
}

}  // namespace varisift
