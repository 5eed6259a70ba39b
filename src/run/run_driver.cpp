// The run driver: banner, files, run header, catalogue, parameter block,
// then the phases from reading the log to the closing tables.
#include "run/run_driver.h"

#include "base/build_info.h"
#include "base/parameters.h"
#include "detect/detection_passes.h"
#include "fields/field_means.h"
#include "fields/field_summary.h"
#include "io/clock_text.h"
#include "io/input_files.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "stars/identify_stars.h"
#include "stars/image_order.h"
#include "store/log_parser.h"
#include "store/observation_store.h"
#include "store/vsx_reader.h"
#include "text/number_format.h"

namespace varisift {

namespace {

// Writes the run header; returns the date and time it shows.
std::string write_run_header(ReportChannel& out) {
  std::tm now = local_time_now();
  std::string run_time = date_text(now) + " " + time_text(now);
  out.end_line(Destination::report);
  out.end_line(Destination::report);
  out.write_line(Destination::report, "Varisift run at " + run_time);
  out.end_line(Destination::report);
  return run_time;
}

// Ends the run: everything written so far reaches its destination.
void stop_run(ReportChannel& out) { out.close(); }

// Ends a run that stops before its exports.
ExportOutcome stopped_run(ReportChannel& out, const ExportRequest& exports, RunFacts* facts) {
  if (facts != nullptr) facts->stop_line = out.stop_line();
  stop_run(out);
  return stopped_before_exports(exports);
}

// A catalogue lent to the run's store goes back to its keeper however the
// run ends.
class CatalogueLoan {
 public:
  explicit CatalogueLoan(VsxCatalogue& store_catalogue) : store_catalogue_(store_catalogue) {}
  ~CatalogueLoan() {
    if (keeper_ != nullptr) *keeper_ = std::move(store_catalogue_);
  }
  CatalogueLoan(const CatalogueLoan&) = delete;
  CatalogueLoan& operator=(const CatalogueLoan&) = delete;

  void take_from(VsxCatalogue& keeper) {
    keeper_ = &keeper;
    store_catalogue_ = std::move(keeper);
  }

 private:
  VsxCatalogue& store_catalogue_;
  VsxCatalogue* keeper_ = nullptr;
};

void note_facts(const ObservationStore& store, const DetectionResults& results, RunFacts& facts) {
  for (std::size_t k = 1; k < store.images.size(); ++k)
    if (!store.images[k].meas.empty()) ++facts.images_with_table;
  facts.stars = store.stars.count();
  for (const StarResult& r : results.stars)
    if (r.candidate > 0) facts.candidates.push_back(r.star);
}

}  // namespace

void write_banner(ReportChannel& out) {
  for (std::string_view line : {"VARISIFT", "Finding variable stars with the log file of Skymensor",
                                "No warranty, use at your own risk.", "Version 1.26, 2017 July 20", ""})
    out.write_line(Destination::console, line);
}

std::vector<std::string> parameter_block(const DetectionParameters& p) {
  std::vector<std::string> lines;
  auto add = [&](std::string_view before, std::int64_t value, PlainKind kind, std::string_view after) {
    std::string line(before);
    append_plain(line, value, kind);
    line += after;
    lines.push_back(line);
  };
  auto add_masked = [&](std::string_view before, std::string_view mask, double value, std::string_view after) {
    std::string line(before);
    append_masked(line, mask, value);
    line += after;
    lines.push_back(line);
  };
  lines.push_back("Used parameters:");
  add("Maximum number of observations: ", max_observations, PlainKind::U32, ".");
  add("Maximum number of stars: ", max_stars, PlainKind::U32, ".");
  add("Maximum number of measured images: ", max_images, PlainKind::U8, ".");
  add("Search range for identical stars is the actual FWHM, divided by ", p.fwhm_divisor, PlainKind::U8, ".");
  add("Minimum number for detecting variation is ", p.min_variation, PlainKind::U16, "% or number of used imaged.");
  add("Only stars with more than a total of ", p.min_total_measurements, PlainKind::U16, " measurements will be used.");
  add("Only stars with more than ", p.min_selected_measurements, PlainKind::U8, " selected measurements will be used.");
  add_masked("Limiting magnitude interval must be", "##.##", p.min_mag_interval / 100.0, " magnitudes.");
  add("Correction of magnitude trends in observations (0 no, 1 yes): ", p.trend_correction, PlainKind::S8, ".");
  add_masked("Measurements taken as outliers, if more then", "##.#", p.outlier_factor / 10.0,
             "x outside the quartils.");
  return lines;
}

void write_parameter_block(ReportChannel& out, const DetectionParameters& parameters_used) {
  std::vector<std::string> parameters = parameter_block(parameters_used);
  for (const std::string& line : parameters) out.write_line(Destination::console, line);
  for (const std::string& line : parameters) out.write_line(Destination::report, line);
  out.end_line(Destination::report);
  out.end_line(Destination::console);
  out.write_line_both(std::string("Used log file ") + std::string(log_file_name));
  out.flush();
}

ExportOutcome run_varisift(std::FILE* console, RunPlan plan, RunFacts* facts) {
  ReportChannel out(console);
  if (plan.refresh) out.keep_quiet();
  write_banner(out);
  ObservationStore store;
  store.parameters = plan.parameters;
  store.keep_export_details = plan.exports.aavso_file.has_value();
  const RunFiles& files = plan.files;

  OpenResult log_file = open_for_reading(files.log);
  if (log_file.file == nullptr) {
    out.write_stop_line(open_error_line(log_file.error_code, log_file_name));
    return stopped_run(out, plan.exports, facts);
  }
  struct LogCloser {
    std::FILE*& file;
    ~LogCloser() {
      if (file != nullptr) std::fclose(file);
    }
  } log_closer{log_file.file};

  // A refresh appends nothing to the report: it is written once, by the
  // final run.
  if (!plan.refresh) {
    OpenResult report_file = open_for_appending(files.report);
    if (report_file.file == nullptr) {
      out.write_line(Destination::console, open_error_line(report_file.error_code, files.report_shown));
      return stopped_run(out, plan.exports, facts);
    }
    out.attach_report(report_file.file);
  }
  std::string run_time = write_run_header(out);

  CatalogueLoan loan(store.vsx);
  if (plan.lent_catalogue != nullptr) {
    loan.take_from(*plan.lent_catalogue);
    out.write_text(Destination::console, plan.lent_catalogue_text);
  } else if (plan.named_catalogue) {
    store.vsx = std::move(*plan.named_catalogue);
    out.write_line(Destination::console, std::string(vsx_progress_text) + vsx_count_text(store.vsx));
  } else if (!read_vsx_beside_log(store.vsx, files.catalogue, out)) {
    return stopped_run(out, plan.exports, facts);
  }

  write_parameter_block(out, store.parameters);

  LineReader log(log_file.file, plan.refresh ? plan.refresh->log_bytes : no_byte_limit);
  if (read_measurement_log(store, log, out) == RunFlow::stop) return stopped_run(out, plan.exports, facts);

  lower_variation_threshold(store);
  write_field_list(store, out);
  std::fclose(log_file.file);
  log_file.file = nullptr;
  write_processed_notice(store, out);

  sort_images_by_time(store);
  if (identify_stars(store, out) == RunFlow::stop) return stopped_run(out, plan.exports, facts);

  DetectionResults results;
  results.wanted = plan.exports.any();
  results.indices_wanted = plan.exports.needs_indices();
  run_detection(store, out, results);
  stop_run(out);
  if (facts != nullptr) note_facts(store, results, *facts);
  if (!plan.exports.any()) return {};

  ReportPageContext page{plan.folder_shown, run_time, parameter_block(plan.parameters), build_version,
                         plan.exports.aavso.filter};
  if (plan.refresh) page.reload_seconds = plan.refresh->page_reload_seconds;
  return write_exports(store, results, plan.exports, page);
}

}  // namespace varisift
