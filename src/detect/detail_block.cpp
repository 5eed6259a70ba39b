// Detail block of a reported star, console only.
#include "detect/detail_block.h"

#include <string>

#include "detect/star_measurements.h"
#include "text/number_format.h"
#include "text/text.h"

namespace varisift {

namespace {

constexpr std::size_t frame_width = 77;

std::string frame_line() {
  std::string line = "+";
  line += repeat_char(frame_width, "-");
  line += "+";
  return line;
}

// A title line of the frame: "|", blanks, the text and number, blanks, "|".
std::string title_line(std::size_t blanks_before, std::string_view text, std::string_view mask, std::int64_t number,
                       std::size_t blanks_after) {
  std::string line = "|";
  line += blanks(static_cast<std::int64_t>(blanks_before));
  line += text;
  append_masked(line, mask, number);
  line += blanks(static_cast<std::int64_t>(blanks_after));
  line += "|";
  return line;
}

// A measurement text between two marks.
std::string marked(char open, const std::string& text, std::string_view close) {
  std::string line(1, open);
  line += text;
  line += close;
  return line;
}

std::string magnitude_range_line(std::string_view before, std::int64_t count, PlainKind kind, std::string_view middle,
                                 std::int16_t low, std::int16_t high) {
  std::string line(before);
  append_plain(line, count, kind);
  line += middle;
  append_masked(line, "###.## mag", low / 100.0);
  line += " to";
  append_masked(line, "###.## mag", high / 100.0);
  line += " (range of";
  append_masked(line, "##.##", (high - low) / 100.0);
  line += " mag)";
  return line;
}

}  // namespace

void write_detail_first_half(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out) {
  constexpr Destination console = Destination::console;
  const LightCurve& c = a.curve;
  out.write_line(console, "");
  out.write_line(console, frame_line());
  out.write_line(console, title_line(34, "star", "#####", a.candidate_number, 34));
  out.write_line(console, title_line(29, "identified ", "#######", c.star, 30));
  out.write_line(console, frame_line());
  for (const std::string& heading : store.table_header) {
    std::string line = " ";
    line += left_text(heading, frame_width);
    out.write_line(console, line);
  }

  const std::vector<StarMeasurement> measurements =
      star_measurements(store, c.star, c.trend_reference, c.lower_fence, c.upper_fence);
  for (const StarMeasurement& m : measurements) {
    std::string text = store.images[m.image].shown_text(m.meas);
    switch (m.use) {
      case MeasurementUse::bad_image:
        out.write_line(console, marked('[', text, "]"));
        break;
      case MeasurementUse::used:
        out.write_line(console, marked(' ', text, ""));
        break;
      case MeasurementUse::outlier:
        out.write_line(console, marked('(', text, ")"));
        break;
    }
  }
  for (const StarMeasurement& m : measurements) {
    if (m.use != MeasurementUse::used) continue;
    std::string bar = repeat_char(static_cast<std::int64_t>(m.magnitude) - c.inlier_min + 1, "*");
    bar += repeat_char(m.offset, "+");
    out.write_line(console, bar);
  }
}

void write_detail_second_half(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out) {
  constexpr Destination console = Destination::console;
  const LightCurve& c = a.curve;
  std::string line = "Quartils:";
  for (std::int16_t v : {c.lower_fence, c.lower_quartile, c.median, c.upper_quartile, c.upper_fence})
    append_plain(line, v, PlainKind::S16);
  out.write_line(console, line);
  out.write_line(console, magnitude_range_line("All ", store.stars.images_seen[c.star], PlainKind::U8,
                                               " measurements from", c.curve_min, c.curve_max));
  out.write_line(console, magnitude_range_line("Without outliers ", a.walk.inlier_count, PlainKind::U16, " obs from",
                                               c.inlier_min, c.inlier_max));
  line = "1st detection criteria: ";
  append_plain(line, a.walk.path_sum, PlainKind::U32);
  line += " ";
  append_plain_real(line, a.path_criterion.total);
  append_plain_real(line, a.path_criterion.per_measurement);
  line += "/meas.";
  out.write_line(console, line);
  line = "2nd detection criteria: ";
  append_plain(line, a.walk.square_sum, PlainKind::U32);
  line += " ";
  append_plain_real(line, a.square_criterion.total);
  line += " ";
  append_plain_real(line, a.square_criterion.per_measurement);
  line += "/meas.";
  out.write_line(console, line);
  line = "3rd detection criteria: ";
  append_plain(line, a.walk.weighted_path, PlainKind::U32);
  line += " ";
  append_plain(line, a.inlier_range, PlainKind::S16);
  line += " ";
  append_plain_real(line, a.weighted_criterion.total);
  line += "% ";
  append_plain_real(line, a.weighted_criterion.per_measurement);
  line += "%/meas. ";
  line += " (";
  append_plain(line, a.walk.reversal_count, PlainKind::U32);
  line += " sign changes).";
  out.write_line(console, line);
}

}  // namespace varisift
