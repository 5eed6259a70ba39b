// The results table of the report file: two header lines before the first
// reported star, then one row per reported star with its position, catalogue
// and measured magnitudes, the in-range count, the selecting criterion, the
// time span, the largest FWHM and, when the VSX catalogue holds an entry at
// the star's place, that entry.
#pragma once

#include <cstdint>
#include <string>

#include "detect/star_analysis.h"
#include "detect/vsx_match.h"
#include "io/report_channel.h"
#include "store/observation_store.h"

namespace varisift {

// Row values gathered from a star's measurement texts.
struct RowValues {
  std::int64_t ra = 0;          // ms of time, of the last measurement in time order
  std::int64_t dec = 0;         // 1/100 arcsec
  std::int16_t cat_mag = -999;  // magnitude minus its residual
  std::int16_t mag_min = 9999;
  std::int16_t mag_max = -999;
  std::string first_time_key = "999999999999999";
  std::string last_time_key = "000000000000000";
  std::uint16_t fwhm_max = 0;  // over the valid measurements, tenths
};

// Where a written row places its star, and its catalogue entry.
struct RowMatch {
  std::int64_t ra = 0;          // ms of time
  std::int64_t dec = 0;         // 1/100 arcsec
  std::uint32_t vsx_match = 0;  // 1-based catalogue index, 0 = none
};

RowValues gather_row_values(const ObservationStore& store, std::uint32_t s);

// The R.A. and DEC columns of a row, "hh mm ss.sss +dd mm ss.ss", for a
// position in ms of time and 1/100 arcsec; the HTML page shows the same text.
std::string row_position(std::int64_t ra, std::int64_t dec);

// The row up to and including the FWHM column (no line end).
std::string results_row(const RowValues& row, const StarAnalysis& a);

// The catalogue columns appended to a row for entry e.
std::string vsx_columns(const VsxCatalogue& catalogue, const VsxEntry& e);

// Writes the header (before the first star), the row and, on a catalogue
// match, the console line "Star found, is VSX...".
class ResultsTable {
 public:
  void write_header_once(ReportChannel& out);
  RowMatch write_row(const ObservationStore& store, const StarAnalysis& a, ReportChannel& out);

 private:
  bool header_written_ = false;
  VsxIndex vsx_index_;
};

}  // namespace varisift
