// Where the exports go: the checks made before the run (an export must not
// overwrite an input or the report, and a CSV folder holds nothing but an
// earlier run's CSV files), and the writing after it, each file to a
// temporary name beside its destination, renamed into place when complete.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/export_request.h"

namespace varisift {

// The name of the stars table in a CSV folder.
inline constexpr std::string_view stars_file_name = "stars.csv";

// What is wrong with the destinations of the request, "" when nothing:
// taken is the log, the catalogue and the report, which no export may be.
std::string check_export_destinations(const ExportRequest& request, const std::vector<std::string>& taken);

// Writes bytes to path through a temporary file beside it. Returns "" or
// what failed ("cannot write 'PATH' (disk full)"), naming the destination,
// never the temporary file; a failed write leaves path as it was.
std::string write_file_in_place(const std::string& path, std::string_view bytes);

// Replaces the CSV files of folder (created when missing) by files, as a
// set: every new file is written completely first, then earlier light-curve
// files that are not in the new set are removed and the new files renamed
// into place. Returns "" or what failed.
std::string write_csv_set(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files);

// The destinations of the request that hold an earlier run's file: the CSV
// folder when it holds an earlier stars.csv or light curve, the AAVSO file
// and the page when they are there.
std::vector<std::string> destinations_with_earlier_files(const ExportRequest& request);

}  // namespace varisift
