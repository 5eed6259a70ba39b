// The HTML page: head with its security policy and style, the run's header,
// counts and parameters, the candidates table, the overview of all stars and
// a light curve per candidate.
#include "html/html_report.h"

#include "html/candidates_table.h"
#include "html/light_curve_figure.h"
#include "html/overview_figure.h"
#include "html/page_style.h"
#include "html/page_text.h"
#include "html/period_section.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

// Nothing may be loaded: no script, image, font, frame or style sheet from
// anywhere; only the style element of the page itself applies. Links are
// followed only when the reader clicks them.
constexpr std::string_view security_policy =
    "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'";

std::string folder_text(const ReportPageContext& context) {
  return context.folder_shown.empty() ? "the current folder" : escaped(context.folder_shown);
}

std::string head(const ReportPageContext& context) {
  std::string h = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  h += "<meta http-equiv=\"Content-Security-Policy\" content=\"" + std::string(security_policy) + "\">\n";
  if (context.reload_seconds > 0)
    h += "<meta http-equiv=\"refresh\" content=\"" + std::to_string(context.reload_seconds) + "\">\n";
  h += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  h += "<title>Varisift report: " + folder_text(context) + "</title>\n";
  h += "<style>" + std::string(page_style) + "</style>\n</head>\n";
  return h;
}

std::string summary(const ObservationStore& store, std::size_t candidate_count, const ExportData& data,
                    const ReportPageContext& context) {
  std::string s = "<header>\n<h1>Varisift report</h1>\n<p class=\"run-header\">Varisift run at ";
  append_escaped(s, context.run_time);
  s += "</p>\n</header>\n<section class=\"summary\">\n<dl class=\"counts\">\n";
  s += "<dt>Folder</dt><dd>" + folder_text(context) + "</dd>\n";
  s += "<dt>Images</dt><dd>" + std::to_string(store.image_count()) + "</dd>\n";
  s += "<dt>Stars identified</dt><dd>" + std::to_string(store.stars.count()) + "</dd>\n";
  s += "<dt>Candidates</dt><dd>" + std::to_string(candidate_count) + "</dd>\n";
  s += "<dt>VSX match radius</dt><dd>" + fixed_decimals(data.match_radius_arcsec, arcsec_decimals) +
       "\u2033</dd>\n</dl>\n";
  s += "<pre class=\"parameters\">";
  for (const std::string& line : context.parameter_lines) {
    append_escaped(s, line);
    s += "\n";
  }
  return s + "</pre>\n</section>\n";
}

std::string overview(const DetectionResults& results, const std::vector<StarIndices>& indices) {
  return "<section id=\"overview\">\n<h2>All stars</h2>\n<p class=\"note\">Each star's IQR score and IQR against "
         "its median magnitude. Red diamonds are the stars of the results table, orange squares the stars "
         "flagged only by the variability indices; grey dots are all other stars, one dot for all stars that "
         "fall on the same pixel. Hover over a marked star for its values.</p>\n" +
         overview_svgs(results, indices) + "</section>\n";
}

// The nearest catalogue entry as a link to its page, after a heading's text.
std::string vsx_link(const ObservationStore& store, const ExportData& data, std::uint32_t star) {
  const std::uint32_t entry = data.name_of(star).entry;
  if (entry == 0) return "";
  const VsxEntry& e = store.vsx.entries[entry - 1];
  std::string s = ", VSX <a href=\"";
  append_escaped(s, vsx_detail_url(e.id));
  s += "\">";
  append_escaped(s, latin1_to_utf8(store.vsx.name(e)));
  return s + "</a>";
}

// One light curve under its heading: a candidate of the results table, or a
// star that only the index flag selects.
std::string curve_section(const ObservationStore& store, const ExportData& data, const StarResult& r,
                          const ReportPageContext& context) {
  const std::string star = std::to_string(r.star);
  std::string s;
  if (r.candidate > 0) {
    const std::string number = std::to_string(r.candidate);
    s = "<section class=\"curve\" id=\"candidate-" + number + "\">\n<h3>Candidate " + number + ", star " + star;
  } else {
    s = "<section class=\"curve\" id=\"star-" + star + "\">\n<h3>Index-flagged star " + star;
  }
  s += vsx_link(store, data, r.star) + "</h3>\n";
  s += light_curve_svg(store, r);
  if (const StarPeriod* period = data.period_of(r.star)) s += period_section(store, r, *period, context.passband);
  return s + "</section>\n";
}

std::string light_curves(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                         const std::vector<const StarResult*>& reported, const ReportPageContext& context) {
  if (reported.empty() && data.index_only_stars.empty()) return "";
  std::string s =
      "<section id=\"light-curves\">\n<h2>Light curves</h2>\n<p class=\"note\">Magnitude against time, bright at "
      "the top, in one panel per night of the series: its UT date above it, the hours of its Julian day below. "
      "Blue discs are the measurements the detection used, orange triangles outliers beyond the dashed fences "
      "(an arrow at the edge names a fence beyond the measurements), red crosses measurements in images judged "
      "bad; a measurement far from all others lies in a strip beyond a dashed line at the top or bottom. Hover "
      "over a point for its image, Julian date and magnitude. The candidates of the results table come first, "
      "then the stars that only the variability indices flag.</p>\n"
      "<p class=\"note\">Under each light curve, the period searched in the measurements of images with valid "
      "data, outliers included: the generalised Lomb-Scargle periodogram (the nightly aliases near 1 to 4 cycles "
      "per day shaded, the chosen peak a red diamond) and the measurements folded on the period, each drawn at "
      "its phase and one cycle later, with the three-harmonic model. The flag is <b>long</b> when fewer than two "
      "cycles were seen (the period is then a lower limit), <b>weak</b> when the false-alarm probability is "
      "0.001 or more, <b>alias</b> when the peak lies within 3 % of 1 to 4 cycles per day, and <b>ok</b> "
      "otherwise.</p>\n";
  for (const StarResult* r : reported) s += curve_section(store, data, *r, context);
  for (std::uint32_t star : data.index_only_stars) s += curve_section(store, data, results.stars[star - 1], context);
  return s + "</section>\n";
}

}  // namespace

std::string html_report(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                        const ReportPageContext& context) {
  const std::vector<const StarResult*> reported = reported_stars(results);
  std::string page = head(context);
  page += "<body>\n";
  page += summary(store, reported.size(), data, context);
  page +=
      "<section id=\"candidates\">\n<h2>Candidates</h2>\n" + candidates_table(store, reported, data) + "</section>\n";
  page += overview(results, data.indices);
  page += light_curves(store, results, data, reported, context);
  page += "<footer>Varisift ";
  append_escaped(page, context.version);
  page += "</footer>\n</body>\n</html>\n";
  return page;
}

}  // namespace varisift
