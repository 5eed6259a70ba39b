// Fuzz target: a log cut at an arbitrary byte, as a watch meets it while
// Skymensor appends. The first byte sets the sizes of the pieces in which
// the rest arrives; the readable prefix must be the same for the whole text
// at once, end at a line boundary (never on a CR that may be half of a CR
// LF), and the log scan over the file read up to that prefix must give the
// store of a scan over a copy of the log cut there. Identification and both
// detection passes then run on it with a quiet report channel, as a refresh
// runs them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "detect/detection_passes.h"
#include "fields/field_means.h"
#include "fuzz_support.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "stars/identify_stars.h"
#include "stars/image_order.h"
#include "store/log_parser.h"
#include "store/log_prefix.h"
#include "store/observation_store.h"

namespace {

// Longer inputs only slow the fuzzer down.
constexpr std::size_t max_input = 64 * 1024;

// Reads a log over a quiet channel.
bool scan(varisift::ObservationStore& store, varisift::LineReader& log) {
  varisift::ReportChannel out;
  out.keep_quiet();
  return varisift::read_measurement_log(store, log, out) == varisift::RunFlow::go_on;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::check;
  if (size == 0 || size > max_input) return 0;
  const std::size_t largest_piece = 1 + data[0] % 64;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  varisift::LogPrefix pieces, whole;
  for (std::size_t at = 0, k = 0; at < text.size(); at += 1 + k++ % largest_piece)
    pieces.add(text.substr(at, 1 + k % largest_piece));
  whole.add(text);
  const std::uint64_t readable = pieces.readable();
  check(pieces.taken() == text.size(), "every byte taken");
  check(readable == whole.readable(), "the same prefix however the bytes arrive");
  check(readable <= text.size(), "the prefix within the text");
  if (readable > 0) {
    const char last = text[readable - 1];
    check(last == '\n' || (last == '\r' && readable < text.size() && text[readable] != '\n'),
          "the prefix ends at a line end that is complete");
  }

  if (readable == 0) return 0;  // nothing to read, on either side
  fuzz::MemoryFile growing(data + 1, size - 1), cut(data + 1, readable);
  varisift::ObservationStore refreshed, batch;
  varisift::LineReader limited(growing.get(), readable), plain(cut.get());
  const bool went_on = scan(refreshed, limited);
  check(went_on == scan(batch, plain), "the same stop on the prefix and on the cut copy");
  check(refreshed.image_count() == batch.image_count(), "the same images on the prefix and on the cut copy");
  for (std::size_t i = 1; i <= batch.image_count(); ++i) {
    check(refreshed.images[i].time == batch.images[i].time, "the same time stamps");
    check(refreshed.images[i].text == batch.images[i].text, "the same measurements");
  }
  if (!went_on) return 0;

  varisift::ReportChannel out;
  out.keep_quiet();
  varisift::lower_variation_threshold(refreshed);
  varisift::sort_images_by_time(refreshed);
  if (varisift::identify_stars(refreshed, out) == varisift::RunFlow::stop) return 0;
  varisift::DetectionResults results;
  results.wanted = true;
  results.indices_wanted = true;
  varisift::run_detection(refreshed, out, results);
  return 0;
}
