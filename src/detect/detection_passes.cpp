// The check pass and the report pass.
#include "detect/detection_passes.h"

#include <algorithm>
#include <string>

#include "detect/closing_tables.h"
#include "detect/detail_block.h"
#include "detect/results_table.h"
#include "detect/variability_walk.h"
#include "stars/curve_statistics.h"
#include "text/number_format.h"

namespace varisift {

namespace {

enum class Pass { check, report };

void write_count_lines(const ObservationStore& store, std::int16_t candidates, ReportChannel& out) {
  out.write_line(Destination::console, "checked");
  std::string line;
  append_plain(line, candidates, PlainKind::S16);
  line += " possible variable of ";
  append_plain(line, store.stars.count(), PlainKind::U32);
  line += " identified stars.";
  out.write_line(Destination::console, line);
  out.write_line(Destination::report, "");
  out.write_line(Destination::report, line);
  out.flush();
}

// A selected star of the report pass: detail block around its results row.
RowMatch report_candidate(const ObservationStore& store, const StarAnalysis& a, ResultsTable& table,
                          ReportChannel& out) {
  table.write_header_once(out);
  write_detail_first_half(store, a, out);
  RowMatch row = table.write_row(store, a, out);
  write_detail_second_half(store, a, out);
  return row;
}

}  // namespace

void run_detection(ObservationStore& store, ReportChannel& out, DetectionResults& results) {
  if (results.wanted) results.stars.assign(store.stars.count(), StarResult{});
  std::uint32_t max_inlier_count = 0;
  ResultsTable table;
  StarAnalysis a;
  for (Pass pass : {Pass::check, Pass::report}) {
    std::fill(store.ident_histogram.begin(), store.ident_histogram.end(), 0u);
    std::int16_t candidates = 0;
    // The check pass marks each selected star on one console line as it
    // goes, so the items of that line are written as they come.
    if (pass == Pass::check) {
      out.write_text(Destination::console, "check stars ");
      out.flush();
      max_inlier_count = 0;
    }
    for (std::uint32_t s = 1; s <= store.stars.count(); ++s) {
      std::uint8_t star_images = store.stars.images_seen[s];
      ++store.ident_histogram[star_images];
      StarResult* result = pass == Pass::report && results.wanted ? &results.stars[s - 1] : nullptr;
      bool goes_on = build_light_curve(store, s, a.curve);
      if (result) record_curve(*result, a.curve);
      if (!goes_on) continue;
      light_curve_statistics(a.curve, store.parameters.outlier_factor);
      if (result) record_statistics(*result, a.curve, results.indices_wanted);
      a.walk = walk_in_range(a.curve, store);
      bool selected = select_candidate(a, star_images, store.parameters);
      if (result && a.criteria_reached) record_criteria(*result, a);
      if (!selected) continue;
      if (pass == Pass::check) {
        max_inlier_count = std::max<std::uint32_t>(max_inlier_count, a.walk.inlier_count);
        out.write_text(Destination::console, "*");
      } else {
        if (!(a.walk.inlier_count > max_inlier_count / 4.0)) continue;
        a.candidate_number = static_cast<std::int16_t>(candidates + 1);
        RowMatch row = report_candidate(store, a, table, out);
        if (result) record_row(*result, a.candidate_number, row.ra, row.dec, row.vsx_match);
      }
      candidates = static_cast<std::int16_t>(candidates + 1);
    }
    write_count_lines(store, candidates, out);
    if (pass == Pass::check) judge_images(store, out);
  }
  write_identification_distribution(store, out);
  out.flush();
}

}  // namespace varisift
