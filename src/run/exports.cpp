// The exports, in the order CSV, AAVSO, HTML.
#include "run/exports.h"

#include <filesystem>

#include "export/aavso_extended.h"
#include "export/export_data.h"
#include "export/export_files.h"
#include "export/light_curve_csv.h"
#include "export/stars_csv.h"
#include "io/file_names.h"

namespace varisift {

namespace {

void write_csv_files(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                     const std::string& folder, ExportOutcome& outcome) {
  std::vector<std::pair<std::string, std::string>> files;
  files.emplace_back(std::string(stars_file_name), stars_csv(store, results, data));
  for (const StarResult& r : results.stars)
    if (r.candidate > 0) files.emplace_back(light_curve_file_name(r.star), light_curve_csv(store, r));
  for (std::uint32_t star : data.index_only_stars)
    files.emplace_back(light_curve_file_name(star), light_curve_csv(store, results.stars[star - 1]));
  if (std::string error = write_csv_set(folder, files); !error.empty()) {
    outcome.failures.push_back(error);
    return;
  }
  const std::filesystem::path path = path_of(folder);
  outcome.written.push_back(name_of(path / stars_file_name));
  if (files.size() > 1)
    outcome.written.push_back(std::to_string(files.size() - 1) + " light curves " + name_of(path / "lc_*.csv"));
}

// Writes one file; what it was is named as written, or its failure kept.
void write_single_file(const std::string& path, const std::string& bytes, const std::string& note,
                       ExportOutcome& outcome) {
  if (std::string error = write_file_in_place(path, bytes); !error.empty()) {
    outcome.failures.push_back(error);
    return;
  }
  outcome.written.push_back(path + note);
}

}  // namespace

ExportOutcome write_exports(const ObservationStore& store, const DetectionResults& results,
                            const ExportRequest& request, const ReportPageContext& page) {
  ExportOutcome outcome;
  outcome.asked = true;
  const ExportData data = gather_export_data(store, results, request);
  if (request.csv_folder) write_csv_files(store, results, data, *request.csv_folder, outcome);
  if (request.aavso_file) {
    AavsoFile file = aavso_extended(store, results, data, request.aavso);
    // A file without observations is still a valid file, with its comments
    // saying why; the note tells the user there is nothing to submit.
    write_single_file(*request.aavso_file, file.text, file.observations == 0 ? " (no observations)" : "", outcome);
  }
  if (request.html_file) write_single_file(*request.html_file, html_report(store, results, data, page), "", outcome);
  return outcome;
}

ExportOutcome stopped_before_exports(const ExportRequest& request) {
  ExportOutcome outcome;
  outcome.asked = request.any();
  outcome.stopped = true;
  if (outcome.asked) outcome.earlier = destinations_with_earlier_files(request);
  return outcome;
}

}  // namespace varisift
