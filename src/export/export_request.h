// What the command line asks to export after the run, and where. Nothing is
// exported unless asked for.
#pragma once

#include <optional>
#include <string>

#include "export/aavso_extended.h"

namespace varisift {

struct ExportRequest {
  std::optional<std::string> csv_folder;  // stars.csv and lc_<star>.csv
  std::optional<std::string> aavso_file;
  AavsoSettings aavso;  // observer code and filter with --aavso
  std::optional<std::string> html_file;

  bool any() const { return csv_folder || aavso_file || html_file; }
  // Whether the variability indices are shown (they are computed only then).
  bool needs_indices() const { return csv_folder || html_file; }
};

}  // namespace varisift
