// The HTML page on a small hand-built run: escaping of the log's texts, the
// security policy, nothing to load, a light curve per candidate, the
// indices where there are some and dashes where there are none.
#include "html/html_report.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::add_image;
using detect_fixtures::one_per_image;
using detect_fixtures::set_stars;

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Six images over two nights; star 1 varies (one outlier, one image judged
// bad), star 2 is constant. Image 2's name holds a Latin-1 letter, quotes,
// < and &; the catalogue's name of star 1 <, &, a Latin-1 letter and a
// control byte.
struct SmallRun {
  ObservationStore store;
  DetectionResults results;
  ReportPageContext context{
      "series \"A&B\"", "03-02-2017 08:29:42", {"Used parameters:", "Limit < 1 & more"}, "1.27.0", ""};

  SmallRun() {
    // A night across 0 h UT whose last gap is exactly six hours, then a
    // second night six hours and a minute later.
    const char* times[] = {"20170301210000", "20170301230000", "20170302010000",
                           "20170302070000", "20170302130100", "20170302140000"};
    const std::int16_t star_1[] = {1500, 1520, 1700, 1490, 1900, 1510};
    for (int i = 0; i < 6; ++i) add_image(store, times[i], {star_1[i], 1200});
    store.images[2].name = "D:\\obs\\M\xE4rz \"<1>\" & 'x'.fit";
    store.images[3].no_valid_data = true;
    set_stars(store, {one_per_image(1, 6, 1), one_per_image(1, 6, 2)});
    detect_fixtures::add_vsx_entry(store.vsx, 100056, 0, 0, 1510, "V1399 <Cet> & \xE9\x1F");

    StarResult variable{.star = 1,
                        .valid_count = 5,
                        .curve_min = 1490,
                        .curve_max = 1900,
                        .has_statistics = true,
                        .median = 1510,
                        .lower_quartile = 1500,
                        .upper_quartile = 1520,
                        .lower_fence = 1440,
                        .upper_fence = 1580,
                        .inside_fences = 4,
                        .reached_criteria = true,
                        .path_criterion = 576,
                        .square_criterion = 112,
                        .weighted_criterion = 636,
                        .candidate = 1,
                        .row_ra = 3 * 3600000 + 18183,
                        .row_dec = 30 * 360000 + 2 * 6000 + 4479,
                        .vsx_match = 1};
    StarResult constant{.star = 2,
                        .valid_count = 5,
                        .curve_min = 1200,
                        .curve_max = 1200,
                        .has_statistics = true,
                        .median = 1200,
                        .lower_fence = 1200,
                        .upper_fence = 1200};
    results.wanted = true;
    results.stars = {variable, constant};
    data.names = {{1, 0.4}, {}};
    data.match_radius_arcsec = 5;
  }
  ExportData data;
};

TEST(HtmlReport, LogTextsAreEscapedUtf8) {
  SmallRun run;
  std::string page = html_report(run.store, run.results, run.data, run.context);
  EXPECT_NE(page.find("<title>D:\\obs\\M\xC3\xA4rz &quot;&lt;1&gt;&quot; &amp; &#39;x&#39;.fit, JD 2457814.45833, "
                      "15.20 mag</title>"),
            std::string::npos);
  EXPECT_NE(page.find("<dd>series &quot;A&amp;B&quot;</dd>"), std::string::npos);
  EXPECT_NE(page.find("Limit &lt; 1 &amp; more\n"), std::string::npos);
  EXPECT_EQ(page.find("M\xE4rz"), std::string::npos);  // no Latin-1 byte left
  // The catalogue's name in the candidates table and in the light curve's heading.
  EXPECT_EQ(count_of(page, ">V1399 &lt;Cet&gt; &amp; \xC3\xA9\xEF\xBF\xBD</a>"), 2u);
}

TEST(HtmlReport, PolicyForbidsLoadingAndNothingIsLoaded) {
  SmallRun run;
  std::string page = html_report(run.store, run.results, run.data, run.context);
  EXPECT_NE(page.find("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                      "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'\">\n"),
            std::string::npos);
  for (const char* loader : {"src=", "<link", "url(", "<script", "@import", "<img", "<iframe", "<object"})
    EXPECT_EQ(page.find(loader), std::string::npos) << loader;
  // Every hyperlink leads within the page or to the catalogue's page.
  std::regex href("href=\"([^\"]*)\"");
  std::vector<std::string> targets;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it)
    targets.push_back((*it)[1]);
  EXPECT_EQ(targets, (std::vector<std::string>{"#candidate-1",
                                               "https://www.aavso.org/vsx/index.php?view=detail.top&amp;oid=100056",
                                               "https://www.aavso.org/vsx/index.php?view=detail.top&amp;oid=100056"}));
}

TEST(HtmlReport, CandidateRowAndLightCurve) {
  SmallRun run;
  std::string page = html_report(run.store, run.results, run.data, run.context);
  EXPECT_NE(page.find("<td class=\"position\"> 3  0 18.183 +30  2 44.79</td><td>15.10</td><td>14.90\u201319.00</td>"
                      "<td>576</td><td>112</td><td>636</td>"),
            std::string::npos);
  EXPECT_EQ(count_of(page, "<svg class=\"light-curve\""), 1u);
  EXPECT_EQ(count_of(page, "<svg class=\"overview\""), 1u);  // no indices: one low frame that says so
  // Six measurements with titles: four used, one outlier (19.00), one in the bad image.
  EXPECT_EQ(count_of(page, "class=\"used\"><title>"), 4u);
  EXPECT_EQ(count_of(page, "class=\"outlier\"><title>"), 1u);
  EXPECT_EQ(count_of(page, "class=\"bad\"><title>"), 1u);
  // Up to six hours apart: one night; six hours and a minute: the next.
  EXPECT_EQ(count_of(page, "class=\"night"), 2u);
  EXPECT_NE(page.find(">2017-03-01/02<"), std::string::npos);
  EXPECT_NE(page.find(">2017-03-02<"), std::string::npos);
  EXPECT_NE(page.find(">fence 15.80<"), std::string::npos);
}

TEST(HtmlReport, IndicesShownWhereComputedAndDashesWhereNot) {
  SmallRun run;
  std::string without = html_report(run.store, run.results, run.data, run.context);
  EXPECT_NE(without.find(">No star has variability indices in this run.<"), std::string::npos);
  EXPECT_NE(without.find("<td class=\"none\">\u2013</td><td class=\"none\">\u2013</td><td class=\"none\">\u2013</td>"
                         "<td class=\"none\">\u2013</td>"),
            std::string::npos);

  std::vector<StarIndices> indices(2);  // 1/eta score of star 1 empty
  indices[0].iqr = 0.2;
  indices[0].iqr_score = 5.404;
  indices[0].mad_score = 4.1;
  indices[0].flag = true;
  indices[1].iqr = 0.0;
  indices[1].iqr_score = -0.5;
  indices[1].flag = false;
  run.data.indices = indices;
  std::string with = html_report(run.store, run.results, run.data, run.context);
  EXPECT_EQ(count_of(with, "<svg class=\"overview\""), 2u);
  EXPECT_NE(with.find("<td>5.40</td><td>4.10</td><td class=\"none\">\u2013</td><td class=\"flag\">yes</td>"),
            std::string::npos);
  EXPECT_EQ(count_of(with,
                     "class=\"candidate\"><title>star 1 (candidate 1): median 15.10 mag, IQR 0.200 mag, "
                     "IQR score 5.40</title>"),
            2u);                                                                // on the score and on the IQR plot
  EXPECT_EQ(with, html_report(run.store, run.results, run.data, run.context));  // same bytes every time

  // A star that only the index flag selects gets its light curve after the candidates'.
  run.data.index_only_stars = {2};
  std::string index_only = html_report(run.store, run.results, run.data, run.context);
  EXPECT_EQ(count_of(index_only, "<svg class=\"light-curve\""), 2u);
  EXPECT_LT(index_only.find("<h3>Candidate 1, star 1"), index_only.find("<h3>Index-flagged star 2</h3>"));
}

TEST(HtmlReport, ARunWithoutCandidatesSaysSo) {
  SmallRun run;
  for (StarResult& r : run.results.stars) r.candidate = 0;
  std::string page = html_report(run.store, run.results, run.data, run.context);
  EXPECT_NE(page.find("No star of this run is reported as a possible variable."), std::string::npos);
  EXPECT_EQ(count_of(page, "<svg class=\"light-curve\""), 0u);
}

}  // namespace
}  // namespace varisift
