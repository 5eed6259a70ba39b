// The scan of the measurement log, one line at a time, in the order of its
// key tests: table header, session start, image line, photometry heading,
// table start.
#include "store/log_parser.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "base/parameters.h"
#include "store/photometry_table.h"
#include "text/number_format.h"
#include "text/text.h"

namespace varisift {

namespace {

// The table headings are shown indented so that they line up with the
// measurement texts, which begin with the time stamp and a blank.
constexpr std::size_t heading_indent = shown_text_indent;
constexpr std::string_view table_header_key = "  RA";
constexpr std::string_view session_key = " - Start ";
constexpr std::string_view image_key_text = " Image ";
constexpr std::string_view image_separator = ": ";
constexpr std::string_view table_start_mark = "-----";
// "08:30:04 - Gaia DR1: 36 Records read (12.9' x 12.9')": the reference
// catalogue of the astrometry, between the time's " - " and ": ".
constexpr std::string_view catalogue_read_key = " Records read";
constexpr std::string_view time_separator = " - ";

bool is_digit_text(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Position of ": " when the line names an image, as in
// "           Image 12: C:\obs\m67_012.fit"; 0 otherwise. Settings such as
// "Image flipped: yes" or "Image flipped:  horizontally" are no image lines.
std::int64_t image_line_separator(std::string_view line) {
  std::int64_t p = find_text(1, line, image_key_text);
  if (p == 0) return 0;
  std::int64_t q = find_text(1, line, image_separator);
  if (q == 0) return 0;
  if (right_text(line, 2) == "no" || right_text(line, 3) == "yes") return 0;
  std::int64_t number_start = p + static_cast<std::int64_t>(image_key_text.size());
  if (q <= number_start) return 0;
  if (!is_digit_text(mid_text(line, number_start, q - number_start))) return 0;
  return q;
}

// YYYYMMDDhhmmss from the time line after an image line, as
// "           Time Stamp: 2019 10 12, 19:04:07.2 UT".
std::string time_stamp_of(std::string_view line) {
  std::int64_t first_colon = find_text(1, line, ":");
  std::int64_t c = find_text(first_colon + 1, line, ":");
  std::string hour = "0";
  hour += trim_left(mid_text(line, c - 2, 2));
  std::string stamp;
  stamp += mid_text(line, 24, 4);
  stamp += mid_text(line, 29, 2);
  stamp += mid_text(line, 32, 2);
  stamp += right_text(hour, 2);
  stamp += mid_text(line, c + 1, 2);
  stamp += mid_text(line, c + 4, 2);
  return stamp;
}

// The image key of a heading "Photometry of Image 3 (m31_001.fit):": the
// file name behind a path separator.
std::string photometry_image_key(std::string_view line) {
  std::int64_t open = find_text(1, line, "(");
  std::string_view rest = open > 0 ? line.substr(static_cast<std::size_t>(open)) : line;
  std::string key = "\\";
  key += left_text(rest, static_cast<std::int64_t>(rest.size()) - 2);
  return key;
}

class LogScan {
 public:
  LogScan(ObservationStore& store, LineReader& log, ReportChannel& out) : store_(store), log_(log), out_(out) {}

  RunFlow run();

 private:
  RunFlow register_image(std::string_view key, std::string_view& current);
  RunFlow read_table();
  void note_reference_catalogue(std::string_view line);

  ObservationStore& store_;
  LineReader& log_;
  ReportChannel& out_;
  std::string image_key_;
  std::string held_line_;
  std::string time_line_;
  PhotometryTable table_;
};

RunFlow LogScan::run() {
  bool first_line = true;
  while (!log_.at_end()) {
    std::string_view line = trim_right(log_.read_line());
    bool is_first_line = first_line;
    first_line = false;

    if (find_text(1, line, table_header_key) > 0) {
      store_.table_header[0] = std::string(heading_indent, ' ');
      store_.table_header[0] += line;
      held_line_.assign(line);
      line = held_line_;
      store_.table_header[1] = std::string(heading_indent, ' ');
      store_.table_header[1] += log_.read_line();
    }

    if (!is_first_line && find_text(1, line, session_key) > 0) ++store_.session_count;

    if (std::int64_t q = image_line_separator(line); q > 0) {
      std::string key(line.substr(static_cast<std::size_t>(q + 1)));
      if (register_image(key, line) == RunFlow::stop) return RunFlow::stop;
    }

    if (find_text(1, line, photometry_key) > 0) image_key_ = photometry_image_key(line);

    if (store_.keep_export_details && find_text(1, line, catalogue_read_key) > 0) note_reference_catalogue(line);

    if (right_text(line, 5) == table_start_mark) {
      if (read_table() == RunFlow::stop) return RunFlow::stop;
    }
  }
  return RunFlow::go_on;
}

// Registers the image named by key unless it is known; the time line that
// follows becomes the current line.
RunFlow LogScan::register_image(std::string_view key, std::string_view& current) {
  image_key_.assign(key);
  for (std::size_t i = 1; i < store_.images.size(); ++i) {
    if (store_.images[i].name == image_key_) {
      out_.write_line(Destination::console, "File '" + image_key_ + "' has a multiple entry.");
      return RunFlow::go_on;
    }
  }
  if (store_.image_count() >= max_images) {
    std::string line = "Number of images exceeds ";
    append_plain(line, max_images, PlainKind::U8);
    line += ".";
    out_.write_stop_line(line);
    return RunFlow::stop;
  }
  Image image;
  image.name = image_key_;
  time_line_.assign(log_.read_line());
  image.time = time_stamp_of(time_line_);
  store_.images.push_back(std::move(image));
  store_.image_order.push_back(static_cast<std::uint8_t>(store_.image_count()));
  current = time_line_;
  return RunFlow::go_on;
}

void LogScan::note_reference_catalogue(std::string_view line) {
  std::int64_t dash = find_text(1, line, time_separator);
  if (dash == 0) return;
  std::string_view rest =
      line.substr(static_cast<std::size_t>(dash - 1 + static_cast<std::int64_t>(time_separator.size())));
  std::int64_t colon = find_text(1, rest, ": ");
  if (colon == 0) return;
  std::string name(trim_text(left_text(rest, colon - 1)));
  if (name.empty()) return;
  std::vector<std::string>& names = store_.reference_catalogues;
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

RunFlow LogScan::read_table() {
  std::size_t k = store_.image_count();
  while (k > 0 && right_text(store_.images[k].name, static_cast<std::int64_t>(image_key_.size())) != image_key_) --k;
  if (k == 0) {
    std::string line =
        "'" + image_key_ + "' not found. Severe program or data error. Please send Skymenso.log file to ";
    line += contact_address;
    out_.write_stop_line(line);
    out_.write_line(Destination::console, "End of program");
    return RunFlow::stop;
  }
  store_.current_image = static_cast<std::uint8_t>(k);
  Image& image = store_.images[k];
  table_.clear();
  for (;;) {
    std::string_view line = trim_right(log_.read_line());
    if (line.empty() || line.front() != ' ') break;
    if (table_.size() == max_observations) {
      std::string message = "Too much stars, more than ";
      append_plain(message, max_observations, PlainKind::U32);
      message += ". Program stops.";
      out_.write_stop_line(message);
      table_.store_into(image, store_.keep_export_details);
      return RunFlow::stop;
    }
    table_.add_line(line);
  }
  table_.store_into(image, store_.keep_export_details);
  return RunFlow::go_on;
}

}  // namespace

RunFlow read_measurement_log(ObservationStore& store, LineReader& log, ReportChannel& out) {
  LogScan scan(store, log, out);
  return scan.run();
}

}  // namespace varisift
