// The exports, in the order CSV, AAVSO, HTML.
#include "run/exports.h"

#include <filesystem>

#include "export/aavso_extended.h"
#include "export/export_files.h"
#include "export/light_curve_csv.h"
#include "export/stars_csv.h"
#include "indices/star_indices.h"

namespace varisift {

std::string write_exports(const ObservationStore& store, const DetectionResults& results, const ExportRequest& request,
                          const ReportPageContext& page, std::vector<std::string>& written) {
  std::vector<StarIndices> indices;
  if (request.needs_indices()) indices = variability_indices(results);

  if (request.csv_folder) {
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back(std::string(stars_file_name), stars_csv(store, results, indices));
    for (const StarResult& r : results.stars)
      if (r.candidate > 0) files.emplace_back(light_curve_file_name(r.star), light_curve_csv(store, r));
    if (std::string error = write_csv_set(*request.csv_folder, files); !error.empty()) return error;
    std::filesystem::path folder(*request.csv_folder);
    written.push_back((folder / stars_file_name).string());
    if (files.size() > 1)
      written.push_back(std::to_string(files.size() - 1) + " light curves " + (folder / "lc_*.csv").string());
  }
  if (request.aavso_file) {
    std::string file = aavso_extended(store, results, request.aavso);
    if (std::string error = write_file_in_place(*request.aavso_file, file); !error.empty()) return error;
    written.push_back(*request.aavso_file);
  }
  if (request.html_file) {
    std::string file = html_report(store, results, indices, page);
    if (std::string error = write_file_in_place(*request.html_file, file); !error.empty()) return error;
    written.push_back(*request.html_file);
  }
  return "";
}

}  // namespace varisift
