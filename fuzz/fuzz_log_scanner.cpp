// Fuzz target: arbitrary bytes as Skymensor.log, through the whole run after
// the files are open: the log scan, the field list, the time order, the star
// identification and both detection passes, with a small fixed catalogue so
// that the catalogue match runs too. Beyond "no crash", it checks the store
// the scan leaves and compares the identification with a direct scan over
// every pair of images (the order the indexed search must reproduce).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/parameters.h"
#include "detect/detection_passes.h"
#include "fields/field_means.h"
#include "fields/field_summary.h"
#include "fuzz_support.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "stars/identify_stars.h"
#include "stars/image_order.h"
#include "stars/search_box.h"
#include "store/log_parser.h"
#include "store/observation_store.h"
#include "store/vsx_catalogue.h"

namespace {

// Longer inputs only slow the fuzzer down; the scan is line by line.
constexpr std::size_t max_input = 64 * 1024;
// The direct scan is quadratic: compare only where it stays cheap.
constexpr std::size_t max_reference_work = 2'000'000;

// Catalogue entries around the positions of the seed logs, and a few at the
// edges of the value ranges.
constexpr std::string_view catalogue_lines[] = {
    "0000001 Var 1                          0  44.88814  29.96472 RR        1.23   15.20",
    "0000002 Var 2                          1  44.94400  30.01823 EA        1.23   14.10",
    "0000003 Pole N                         0   0.00000  90.00000 M         1.23   10.00",
    "0000004 Pole S                         0 359.99999 -90.00000 M         1.23   10.00",
    "0000005 Skipped                        2  44.88814  29.96472 RR        1.23   15.20",
};

void check_store(const varisift::ObservationStore& store) {
  using fuzz::check;
  std::size_t n = store.image_count();
  check(n <= varisift::max_images, "image count within capacity");
  check(store.image_order.size() == n + 1, "one order slot per image");
  std::vector<bool> seen(n + 1, false);
  for (std::size_t p = 1; p <= n; ++p) {
    std::size_t i = store.image_order[p];
    check(i >= 1 && i <= n && !seen[i], "image order is a permutation");
    seen[i] = true;
  }
  for (std::size_t i = 1; i <= n; ++i) {
    const varisift::Image& image = store.images[i];
    check(image.meas.size() <= varisift::max_observations, "table within capacity");
    check(image.time.size() <= varisift::time_stamp_length, "time stamp at most 14 characters");
    check(image.text.size() == image.meas.size() * image.text_stride, "one text slot per measurement");
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
      check(image.measurement(m).free == 1 && image.measurement(m).star == 0, "fresh measurement");
      check(image.shown_text(m).size() <= varisift::shown_text_length, "shown text at most 77 characters");
    }
  }
}

// meas_star of every measurement after a direct scan, or empty when too costly.
std::vector<std::vector<std::uint32_t>> direct_identification(const varisift::ObservationStore& store) {
  std::size_t n = store.image_count();
  std::size_t work = 0;
  for (std::size_t p = 1; p <= n; ++p)
    for (std::size_t q = p + 1; q <= n; ++q) work += store.image_at(p).meas.size() * store.image_at(q).meas.size();
  if (work > max_reference_work || n < 2) return {};

  std::vector<std::vector<varisift::Measurement>> meas(n + 1);
  for (std::size_t i = 1; i <= n; ++i) meas[i] = store.images[i].meas;
  std::uint32_t star_count = 0;
  for (std::size_t p = 1; p < n; ++p) {
    std::size_t i = store.image_order[p];
    for (std::size_t q = p + 1; q <= n; ++q) {
      std::size_t j = store.image_order[q];
      for (varisift::Measurement& reference : meas[i]) {
        if (!reference.free) continue;
        if (reference.star == 0) reference.star = ++star_count;
        varisift::SearchBox box = varisift::search_box(reference, store.parameters.fwhm_divisor);
        for (varisift::Measurement& candidate : meas[j]) {
          if (!candidate.free || !varisift::in_box(reference, box, candidate)) continue;
          candidate.free = 0;
          candidate.star = reference.star;
          break;
        }
      }
    }
  }
  std::vector<std::vector<std::uint32_t>> stars(n + 1);
  for (std::size_t i = 1; i <= n; ++i)
    for (const varisift::Measurement& m : meas[i]) stars[i].push_back(m.star);
  return stars;
}

void check_identification(const varisift::ObservationStore& store,
                          const std::vector<std::vector<std::uint32_t>>& expected) {
  using fuzz::check;
  const varisift::StarTable& stars = store.stars;
  if (!expected.empty()) {
    for (std::size_t i = 1; i <= store.image_count(); ++i)
      for (std::uint32_t m = 1; m <= store.images[i].meas_count(); ++m)
        check(store.images[i].measurement(m).star == expected[i][m - 1], "identification equals the direct scan");
  }
  for (std::uint32_t s = 1; s <= stars.count(); ++s) {
    std::size_t entries = stars.entries_of(s).size();
    check(entries == 0 ? stars.images_seen[s] == 1 : entries == stars.images_seen[s],
          "a matched star has one entry per image it was seen in");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  fuzz::MemoryFile file(data, size);
  varisift::ObservationStore store;
  for (std::string_view line : catalogue_lines) varisift::add_vsx_line(store.vsx, line);
  varisift::ReportChannel out;
  varisift::LineReader log(file.get());
  if (varisift::read_measurement_log(store, log, out) == varisift::RunFlow::stop) return 0;
  check_store(store);

  varisift::lower_variation_threshold(store);
  varisift::write_field_list(store, out);
  varisift::write_processed_notice(store, out);
  varisift::sort_images_by_time(store);
  std::vector<std::vector<std::uint32_t>> expected = direct_identification(store);
  if (varisift::identify_stars(store, out) == varisift::RunFlow::stop) return 0;
  check_identification(store, expected);
  varisift::DetectionResults results;
  results.wanted = true;  // the per-star records of the exports, on hostile input too
  results.indices_wanted = true;
  varisift::run_detection(store, out, results);
  return 0;
}
