// The HTML report of a whole run on the shipped sample: its bytes against a
// reviewed expected file, and the page as a real browser renders it.
//
// Expected file: tests/e2e/expected/sample.html, the page of one run in a
// fresh directory with the date and time of its "Varisift run at " line and
// the program's version masked. After a deliberate change of the page,
// regenerate it with
//
//   VARISIFT_UPDATE_EXPECTED=1 ctest --test-dir build -R HtmlPage
//
// and review the difference before keeping it.
//
// The browser test runs Debian's chromium headless with a new empty profile
// and counts the colours of its screenshot with imagemagick's identify. It
// skips, saying why, where either is missing, unless VARISIFT_REQUIRE_BROWSER
// is set (CI sets it, so that it fails instead).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::read_file;
using e2e::TempDir;

constexpr std::string_view page_name = "report.html";
constexpr std::string_view vsx_page_prefix = "https://www.aavso.org/vsx/index.php?view=detail.top&amp;oid=";
// A screenshot of text, table and figures holds hundreds of colours; one of
// an empty or unstyled page a handful.
constexpr long min_screenshot_colours = 64;

bool environment_flag(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::string_view(value) == "1";
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The sample's run with --html in a fresh directory: the page and the report.
struct SampleRun {
  TempDir dir;
  int exit_status = -1;
  std::string errors;  // the program's standard error, shown when the run fails
  std::string page;
  std::string report;

  SampleRun() {
    e2e::put_sample(dir.path());
    e2e::RunOutput out = e2e::run_varisift_with(dir.path(), "--html " + std::string(page_name));
    exit_status = out.exit_status;
    errors = out.errors;
    page = read_file(dir.path() / page_name);
    report = read_file(dir.path() / "Varisift.log");
  }
};

// The page with the run's date and time and the program's version masked.
std::string stable_page(const std::string& page) { return e2e::without_version(e2e::without_run_times(page)); }

// The candidate count of the report pass: the last "N possible variable of" line.
long reported_candidates(const std::string& report) {
  std::size_t at = report.rfind(" possible variable of ");
  if (at == std::string::npos) return -1;
  std::size_t line_start = report.rfind('\n', at);
  return std::strtol(report.c_str() + (line_start == std::string::npos ? 0 : line_start + 1), nullptr, 10);
}

// What in a page could make a browser load something: src attributes, link
// elements, url() in style, and hyperlinks other than those within the page
// and to the VSX detail pages.
std::vector<std::string> loaders_in(const std::string& page) {
  std::vector<std::string> found;
  for (const char* loader : {"src=", "<link", "url(", "@import"})
    if (page.find(loader) != std::string::npos) found.push_back(loader);
  std::regex href("href=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it) {
    std::string target = (*it)[1];
    if (target.rfind('#', 0) != 0 && target.rfind(vsx_page_prefix, 0) != 0) found.push_back("href " + target);
  }
  return found;
}

TEST(HtmlPage, SampleEqualsTheExpectedBytes) {
  SampleRun run;
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  const std::string page = stable_page(run.page);
  const fs::path file = fs::path(E2E_DATA_DIR) / "sample.html";
  if (e2e::updating_expected_files()) {
    e2e::write_file(file, page);
    GTEST_SKIP() << "wrote " << file;
  }
  ASSERT_TRUE(fs::exists(file)) << file << " is missing; regenerate with VARISIFT_UPDATE_EXPECTED=1";
  const std::string expected = read_file(file);
  if (expected != page) {
    std::size_t at = 0;
    while (at < expected.size() && at < page.size() && expected[at] == page[at]) ++at;
    const std::size_t from = at < 60 ? 0 : at - 60;
    ADD_FAILURE() << "the page differs from " << file << " at byte " << at << "\n  expected: ["
                  << expected.substr(from, 120) << "]\n  actual:   [" << page.substr(from, 120) << "]";
  }
}

// ---------------------------------------------------------------- browser

// The first of the program names found on the PATH, empty when none is.
std::string installed(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) return name;
  }
  return "";
}

// Runs the browser headless on a page file with a new empty profile, its
// standard output to out; true when it ended well within two minutes.
bool run_browser(const std::string& browser, const std::string& arguments, const fs::path& page, const fs::path& out) {
  TempDir profile;
  std::string command = "timeout 120 " + browser +
                        " --headless --no-sandbox --disable-gpu --disable-background-networking"
                        " --disable-component-update --disable-sync --no-first-run --user-data-dir='" +
                        profile.path().string() + "' " + arguments + " 'file://" + page.string() + "' >'" +
                        out.string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// The number of colours of a picture, -1 when identify cannot tell.
long colours_of(const fs::path& picture, const fs::path& scratch) {
  const fs::path out = scratch / "colours.txt";
  std::string command = "identify -format %k '" + picture.string() + "' >'" + out.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return -1;
  std::string text = read_file(out);
  return text.empty() ? -1 : std::strtol(text.c_str(), nullptr, 10);
}

TEST(HtmlPage, SampleRendersInARealBrowser) {
  const std::string browser = installed({"chromium", "chromium-browser"});
  const std::string identify = installed({"identify"});
  if (browser.empty() || identify.empty()) {
    std::string reason = browser.empty() ? "chromium is not installed" : "imagemagick's identify is not installed";
    if (environment_flag("VARISIFT_REQUIRE_BROWSER")) FAIL() << reason;
    GTEST_SKIP() << reason << " (apt-get install chromium imagemagick)";
  }
  SampleRun run;
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  const long candidates = reported_candidates(run.report);
  ASSERT_GT(candidates, 0);
  EXPECT_EQ(loaders_in(run.page), std::vector<std::string>{});

  TempDir scratch;
  const fs::path page = fs::absolute(run.dir.path() / page_name);
  const fs::path dom_file = scratch.path() / "dom.html";
  ASSERT_TRUE(run_browser(browser, "--dump-dom", page, dom_file));
  const std::string dom = read_file(dom_file);
  // A light curve per candidate and per star that only the index flag selects.
  EXPECT_EQ(count_of(dom, "<svg class=\"light-curve\""),
            static_cast<std::size_t>(candidates) + count_of(run.page, "<h3>Index-flagged star "));
  EXPECT_EQ(count_of(dom, "<h3>Index-flagged star "), 2u);
  EXPECT_GE(count_of(dom, "<svg class=\"overview\""), 1u);
  EXPECT_EQ(loaders_in(dom), std::vector<std::string>{});

  const fs::path screenshot = scratch.path() / "page.png";
  ASSERT_TRUE(run_browser(browser, "--screenshot='" + screenshot.string() + "' --window-size=1366,768", page,
                          scratch.path() / "screenshot.log"));
  ASSERT_TRUE(fs::exists(screenshot));
  EXPECT_GT(colours_of(screenshot, scratch.path()), min_screenshot_colours);
}

}  // namespace
