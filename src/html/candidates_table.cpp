// Rows of the candidates table.
#include "html/candidates_table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "detect/results_table.h"
#include "html/page_text.h"
#include "store/value_text.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr int score_decimals = 2;

// What the columns cover, where the report's results row differs.
constexpr std::string_view table_note =
    "<p class=\"note\">Median and range are those of the valid measurements, outside images judged bad; "
    "the results row in the report covers all measurements. The VSX entry is the nearest one to the star's "
    "position within the match radius.</p>\n";

// The page's link to the detail page of a VSX entry; & is escaped for the
// attribute.
constexpr std::string_view vsx_detail_prefix = "https://www.aavso.org/vsx/index.php?view=detail.top&oid=";

// A cell of a value that may be empty; an empty one shows a dash.
std::string optional_cell(const std::optional<double>& value) {
  if (!value || !std::isfinite(*value)) return "<td class=\"none\">\u2013</td>";
  return "<td>" + fixed_decimals(*value, score_decimals) + "</td>";
}

std::string flag_cell(const std::optional<bool>& flag) {
  if (!flag) return "<td class=\"none\">\u2013</td>";
  return *flag ? "<td class=\"flag\">yes</td>" : "<td>no</td>";
}

std::string vsx_cell(const ObservationStore& store, const NearestVsxEntry& nearest) {
  if (nearest.entry == 0) return "<td class=\"text none\">none</td>";
  const VsxEntry& e = store.vsx.entries[nearest.entry - 1];
  std::string cell = "<td class=\"text vsx\"><a href=\"";
  append_escaped(cell, vsx_detail_url(e.id));
  cell += "\" title=\"VSX entry " + std::to_string(e.id) + ", " +
          fixed_decimals(nearest.separation_arcsec, arcsec_decimals) + "\u2033 away\">";
  append_escaped(cell, latin1_to_utf8(store.vsx.name(e)));
  return cell + "</a></td>";
}

std::string header_row() {
  constexpr std::string_view valid_only = " title=\"of the measurements outside images judged bad\"";
  std::string h = "<thead><tr><th>No.</th><th>Star</th>";
  h += "<th class=\"text\">R.A. (h m s) &#160; Dec. (\u00b0 \u2032 \u2033)</th>";
  h += "<th" + std::string(valid_only) + ">Median</th><th" + std::string(valid_only) + ">Range</th>";
  for (const char* ordinal : {"1st", "2nd", "3rd"})
    h += "<th title=\"" + std::string(ordinal) + " detection criterion\">" + ordinal + " crit.</th>";
  h += "<th>IQR score</th><th>MAD score</th><th>1/\u03b7 score</th><th>Index flag</th>";
  return h + "<th class=\"text\">VSX</th></tr></thead>\n";
}

std::string row(const ObservationStore& store, const StarResult& r, const StarIndices& ind,
                const NearestVsxEntry& nearest) {
  std::string number = std::to_string(r.candidate);
  std::string line = "<tr><td><a href=\"#candidate-" + number + "\">" + number + "</a></td>";
  line += "<td>" + std::to_string(r.star) + "</td>";
  line += "<td class=\"position\">" + row_position(r.row_ra, r.row_dec) + "</td>";
  if (r.has_statistics)
    line += "<td>" + magnitude_text(r.median) + "</td>";
  else
    line += "<td class=\"none\">\u2013</td>";
  if (r.valid_count > 0)
    line += "<td>" + magnitude_text(r.curve_min) + "\u2013" + magnitude_text(r.curve_max) + "</td>";
  else
    line += "<td class=\"none\">\u2013</td>";
  for (double criterion : {r.path_criterion, r.square_criterion, r.weighted_criterion})
    line += r.reached_criteria ? "<td>" + fixed_decimals(criterion, 0) + "</td>" : "<td class=\"none\">\u2013</td>";
  line += optional_cell(ind.iqr_score) + optional_cell(ind.mad_score) + optional_cell(ind.inv_eta_score);
  line += flag_cell(ind.flag);
  line += vsx_cell(store, nearest);
  return line + "</tr>\n";
}

}  // namespace

std::vector<const StarResult*> reported_stars(const DetectionResults& results) {
  std::vector<const StarResult*> reported;
  for (const StarResult& r : results.stars)
    if (r.candidate > 0) reported.push_back(&r);
  std::stable_sort(reported.begin(), reported.end(),
                   [](const StarResult* a, const StarResult* b) { return a->candidate < b->candidate; });
  return reported;
}

std::string vsx_detail_url(std::int32_t vsx_id) { return std::string(vsx_detail_prefix) + std::to_string(vsx_id); }

std::string candidates_table(const ObservationStore& store, const std::vector<const StarResult*>& reported,
                             const ExportData& data) {
  if (reported.empty()) return "<p>No star of this run is reported as a possible variable.</p>\n";
  const StarIndices none;
  std::string table = "<div class=\"table-wrap\">\n<table class=\"candidates\">\n" + header_row() + "<tbody>\n";
  for (const StarResult* r : reported) {
    std::size_t i = r->star - 1;
    table += row(store, *r, i < data.indices.size() ? data.indices[i] : none, data.name_of(r->star));
  }
  return table + "</tbody>\n</table>\n</div>\n" + std::string(table_note);
}

}  // namespace varisift
