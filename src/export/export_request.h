// What the command line asks to export after the run, and where. Nothing is
// exported unless asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "export/aavso_settings.h"
#include "periods/frequency_grid.h"

namespace varisift {

// The radius within which the files beyond the report name a star by its
// nearest catalogue entry, in tenths of an arcsecond: 5" unless the user
// sets 0.1" to 60".
inline constexpr std::uint16_t default_match_radius_tenths = 50;
inline constexpr std::uint16_t min_match_radius_tenths = 1;
inline constexpr std::uint16_t max_match_radius_tenths = 600;

struct ExportRequest {
  std::optional<std::string> csv_folder;  // stars.csv and lc_<star>.csv
  std::optional<std::string> aavso_file;
  AavsoSettings aavso;  // observer code and filter with --aavso
  std::optional<std::string> html_file;
  std::uint16_t match_radius_tenths = default_match_radius_tenths;
  bool match_radius_given = false;
  // The period search, which --csv and --html ask for: every star with
  // statistics instead of the candidates and the index-flagged stars, and
  // the periods it is limited to.
  bool periods_all = false;
  PeriodRange period_range;

  double match_radius_arcsec() const { return match_radius_tenths / 10.0; }

  bool any() const { return csv_folder || aavso_file || html_file; }
  // Whether the variability indices are shown (they are computed only then).
  bool needs_indices() const { return csv_folder || html_file; }
  // Whether periods are searched (only for the files that show them).
  bool searches_periods() const { return csv_folder || html_file; }
};

}  // namespace varisift
