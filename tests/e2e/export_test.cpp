// The exports of the real program on the shipped sample: the CSV files and
// the AAVSO file against reviewed expected files, the AAVSO file read back
// against the format's rules, the console and report bytes unchanged, the
// CSV set replaced as a whole, a failed export that stops none of the others,
// and wrong use that leaves everything as it was.
//
// Expected files: tests/e2e/expected/exports/; after a deliberate change
// regenerate them with VARISIFT_UPDATE_EXPECTED=1 (review the difference).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::lines_of;
using e2e::put_sample;
using e2e::read_file;
using e2e::run_varisift_with;
using e2e::snapshot;
using e2e::TempDir;
using e2e::updating_expected_files;

constexpr const char* export_options = "--csv out --aavso aavso.txt --obscode XYZ --filter V";

std::vector<std::string> split(const std::string& line, char delimiter) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, delimiter)) fields.push_back(field);
  if (!line.empty() && line.back() == delimiter) fields.push_back("");
  return fields;
}

class SampleExports : public ::testing::Test {
 protected:
  void SetUp() override {
    put_sample(dir_.path());
    run_ = run_varisift_with(dir_.path(), export_options);
    ASSERT_EQ(run_.exit_status, 0) << run_.errors;
  }
  TempDir dir_;
  e2e::RunOutput run_;
};

TEST_F(SampleExports, FilesEqualTheExpectedBytes) {
  const fs::path expected = fs::path(E2E_DATA_DIR) / "exports";
  std::map<std::string, std::string> written;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir_.path() / "out"))
    written[entry.path().filename().string()] = read_file(entry.path());
  written["aavso.txt"] = read_file(dir_.path() / "aavso.txt");
  if (updating_expected_files()) {
    fs::remove_all(expected);
    fs::create_directories(expected);
    for (const auto& [name, bytes] : written) e2e::write_file(expected / name, bytes);
    GTEST_SKIP() << "wrote " << written.size() << " files to " << expected;
  }
  std::set<std::string> expected_names;
  for (const fs::directory_entry& entry : fs::directory_iterator(expected))
    expected_names.insert(entry.path().filename().string());
  std::set<std::string> written_names;
  for (const auto& file : written) written_names.insert(file.first);
  EXPECT_EQ(written_names, expected_names);
  for (const auto& [name, bytes] : written)
    if (expected_names.count(name)) {
      EXPECT_EQ(bytes, read_file(expected / name)) << name;
    }
}

TEST_F(SampleExports, ConsoleAndReportAreThoseOfARunWithoutExports) {
  EXPECT_EQ(run_.console, read_file(fs::path(E2E_DATA_DIR) / "sample.console.txt"));
  EXPECT_EQ(e2e::without_run_times(read_file(dir_.path() / "Varisift.log")),
            read_file(fs::path(E2E_DATA_DIR) / "sample.report.txt"));
  EXPECT_EQ(run_.errors,
            e2e::as_program_writes("varisift: wrote out/stars.csv, 5 light curves out/lc_*.csv, aavso.txt\r\n"));
}

// Every rule of the AAVSO Extended format that a writer must keep.
TEST_F(SampleExports, AavsoFileKeepsEveryRuleOfTheFormat) {
  const std::vector<std::string> lines = lines_of(read_file(dir_.path() / "aavso.txt"));
  const std::vector<std::string> header = {"#TYPE=Extended", "#OBSCODE=XYZ", "#SOFTWARE=Varisift",
                                           "#DELIM=,",       "#DATE=JD",     "#OBSTYPE=CCD"};
  ASSERT_GT(lines.size(), header.size());
  for (std::size_t k = 0; k < header.size(); ++k) EXPECT_EQ(lines[k].rfind(header[k], 0), 0u) << lines[k];
  std::set<std::string> filters = {"U",     "B",     "V",  "R",  "I",  "J",  "H",  "K",   "TG",  "TB",  "TR",
                                   "CV",    "CR",    "SZ", "SU", "SG", "SR", "SI", "STU", "STV", "STB", "STY",
                                   "STHBW", "STHBN", "MA", "MB", "MI", "ZS", "Y",  "HA",  "HAC"};
  std::set<std::string> star_ids;
  int data_lines = 0, unmatched = 0;
  for (const std::string& line : lines) {
    ASSERT_FALSE(line.empty()) << "blank lines must be commented out";
    if (line[0] == '#') {
      if (line.find("needs a VSX registration first") != std::string::npos) ++unmatched;
      continue;
    }
    ++data_lines;
    const std::vector<std::string> f = split(line, ',');
    ASSERT_EQ(f.size(), 15u) << line;
    EXPECT_LE(f[0].size(), 30u);
    EXPECT_LE(f[1].size(), 16u);
    EXPECT_NE(f[1].find('.'), std::string::npos);
    EXPECT_LE(f[2].size(), 8u);
    EXPECT_NE(f[2].find('.'), std::string::npos) << "a magnitude needs its decimal point";
    EXPECT_TRUE(f[3] == "na" || (f[3].size() <= 6 && std::stod(f[3]) > 0 && std::stod(f[3]) <= 9.999)) << f[3];
    EXPECT_TRUE(filters.count(f[4])) << f[4];
    EXPECT_EQ(f[5], "NO");
    EXPECT_EQ(f[6], "STD");
    EXPECT_EQ(f[7], "ENSEMBLE");
    for (int k : {8, 9, 10, 11, 12}) EXPECT_EQ(f[static_cast<std::size_t>(k)], "na");
    EXPECT_TRUE(f[14] == "na" || f[14] == "at or beyond the outlier fences") << f[14];
    EXPECT_LE(f[13].size(), 20u);
    EXPECT_EQ(f[13], "Gaia DR1");  // the one reference catalogue the log names
    star_ids.insert(f[0]);
  }
  // The candidates that stars.csv names by their nearest catalogue entry,
  // with their measurements in images with valid data; the one without an
  // entry only in a comment.
  std::set<std::string> named_in_csv;
  int measurements = 0;
  for (const std::string& row : lines_of(read_file(dir_.path() / "out" / "stars.csv"))) {
    std::vector<std::string> f = split(row, ',');
    if (f[1].empty() || f[1] == "candidate" || f[14].empty()) continue;
    named_in_csv.insert(f[14]);
    for (const std::string& line : lines_of(read_file(dir_.path() / "out" / ("lc_" + f[0] + ".csv"))))
      if (line.ends_with(",yes") || line.ends_with(",outlier")) ++measurements;
  }
  EXPECT_EQ(star_ids, named_in_csv);
  EXPECT_EQ(unmatched, 1);
  EXPECT_EQ(data_lines, measurements);
}

TEST(ExportDestinations, TheCsvSetIsReplacedAsAWholeAndAStoppedRunSaysItWroteNone) {
  TempDir dir;
  put_sample(dir.path());
  fs::create_directory(dir.path() / "out");
  e2e::write_file(dir.path() / "out" / "lc_99999.csv", "old\r\n");
  e2e::write_file(dir.path() / "out" / "stars.csv", "old\r\n");
  e2e::RunOutput run = run_varisift_with(dir.path(), "--csv out");
  ASSERT_EQ(run.exit_status, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "lc_99999.csv"));
  EXPECT_NE(read_file(dir.path() / "out" / "stars.csv"), "old\r\n");
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path() / "out"))
    EXPECT_EQ(entry.path().extension(), ".csv") << entry.path();

  // A run that stops (here: no log) writes no export, says so and names
  // what still holds an earlier run's files; it must not pass for a run
  // that wrote them.
  fs::create_directory(dir.path() / "empty");
  e2e::write_file(dir.path() / "page.html", "old\r\n");
  const std::map<std::string, std::string> before = snapshot(dir.path());
  run = run_varisift_with(dir.path(), "--csv out --aavso a.txt --obscode XYZ --filter V --html page.html empty");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, e2e::as_program_writes("varisift: no export was written because the run stopped (an "
                                               "earlier run's files are still in out, page.html)\r\n"));
  EXPECT_EQ(snapshot(dir.path()), before);
  // Without exports the same stop keeps exit status 0.
  run = run_varisift_with(dir.path(), "empty");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.errors, "");
}

// When one export cannot be written the others still are, and the line
// names the destination that failed, not its temporary file.
TEST(ExportDestinations, OneFailedExportDoesNotStopTheOthers) {
  TempDir dir;
  put_sample(dir.path());
  fs::create_directory(dir.path() / "page.html.part");  // in the way of the page's temporary file
  const e2e::RunOutput run = run_varisift_with(dir.path(), "--csv out --html page.html");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, e2e::as_program_writes("varisift: cannot write 'page.html' (a folder of that name is in the "
                                               "way); wrote out/stars.csv, 5 light curves out/lc_*.csv\r\n"));
  EXPECT_TRUE(fs::exists(dir.path() / "out" / "stars.csv"));
  EXPECT_FALSE(fs::exists(dir.path() / "page.html"));
}

// Nor does a failed first export stop the later ones: the CSV set cannot be
// written where a file stands in the way of its folder, and the AAVSO file
// and the page still are.
TEST(ExportDestinations, AFailedCsvSetStopsNeitherTheAavsoFileNorThePage) {
  TempDir dir;
  put_sample(dir.path());
  e2e::write_file(dir.path() / "blocker", "not a folder\r\n");
  const e2e::RunOutput run =
      run_varisift_with(dir.path(), "--csv blocker/out --aavso a.txt --obscode XYZ --filter V --html page.html");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(run.errors.starts_with("varisift: cannot write 'blocker/out' (")) << run.errors;
  EXPECT_TRUE(run.errors.ends_with("); wrote a.txt, page.html\r\n")) << run.errors;
  EXPECT_TRUE(fs::exists(dir.path() / "a.txt"));
  EXPECT_TRUE(fs::exists(dir.path() / "page.html"));
}

// An AAVSO file without observations is a valid file with its comments,
// and the line says there is nothing in it to submit.
TEST(ExportDestinations, AnAavsoFileWithoutObservationsSaysSo) {
  TempDir dir;
  put_sample(dir.path());
  // No catalogue entry lies within 0.1" of a candidate.
  const e2e::RunOutput run = run_varisift_with(dir.path(), "--aavso a.txt --obscode XYZ --filter V --match-radius 0.1");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.errors, "varisift: wrote a.txt (no observations)\r\n");
  for (const std::string& line : lines_of(read_file(dir.path() / "a.txt"))) EXPECT_EQ(line[0], '#') << line;
}

// The fields of RFC 4180 rows: quoted fields may hold commas, doubled
// quotes and line ends. Empty when the text breaks the rules.
std::vector<std::vector<std::string>> rfc4180_rows(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    std::string& field = rows.back().back();
    if (c == '"' && field.empty()) {
      std::size_t end = i + 1;
      for (;; ++end) {
        if (end >= text.size()) return {};
        if (text[end] == '"' && (end + 1 >= text.size() || text[end + 1] != '"')) break;
        if (text[end] == '"') ++end;
        field += text[end];
      }
      i = end;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      rows.emplace_back(1);
    } else if (c == '"' || c == '\r' || c == '\n') {
      return {};  // a quote inside an unquoted field, or a bare line end
    } else {
      field += c;
    }
  }
  if (rows.back() == std::vector<std::string>(1)) rows.pop_back();
  return rows;
}

bool valid_utf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || (length == 2 && c < 0xC2) || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// Image names in the log's Latin-1 bytes reach lc_*.csv as UTF-8 that a
// CSV reader takes; a comma in a name is quoted.
TEST(ExportDestinations, LightCurvesAreUtf8ThatACsvReaderTakes) {
  TempDir dir;
  put_sample(dir.path());
  std::string log = read_file(dir.path() / "Skymensor.log");
  const std::string folder = "D:\\Astro\\F0300+30\\2019-10-12\\";
  for (std::size_t at = log.find(folder); at != std::string::npos; at = log.find(folder, at))
    log.replace(at, folder.size(), "D:\\Astro\\M\xE4rz, \xB1\xB0\\");
  e2e::write_file(dir.path() / "Skymensor.log", log);
  const e2e::RunOutput run = run_varisift_with(dir.path(), "--csv out");
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  const std::string curve = read_file(dir.path() / "out" / "lc_175.csv");
  EXPECT_TRUE(valid_utf8(curve));
  const std::vector<std::vector<std::string>> rows = rfc4180_rows(curve);
  ASSERT_GT(rows.size(), 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"jd", "mag", "mag_corrected", "image", "used"}));
  for (const std::vector<std::string>& row : rows) ASSERT_EQ(row.size(), 5u);
  EXPECT_EQ(rows[1][3], "D:\\Astro\\M\xC3\xA4rz, \xC2\xB1\xC2\xB0\\F0300+30-0001-V.fit");
  EXPECT_EQ(rows[1][2], "");  // no trend correction asked
}

TEST(ExportDestinations, WrongUseLeavesEverythingAsItWas) {
  TempDir dir;
  put_sample(dir.path());
  fs::create_directory(dir.path() / "notes");
  e2e::write_file(dir.path() / "notes" / "todo.txt", "mine\r\n");
  const std::vector<std::string> wrong = {
      "--csv notes",                                     // another file in the folder
      "--csv .",                                         // the series folder itself
      "--aavso a.txt --filter V",                        // no observer code
      "--aavso a.txt --obscode XYZ --filter Q",          // no AAVSO filter
      "--obscode XYZ",                                   // without --aavso
      "--aavso Skymensor.log --obscode XYZ --filter V",  // the log
      "--html Varisift.log",                             // the report
      "--html notes",                                    // a folder
      "--aavso p.txt --obscode XYZ --filter V --html p.txt",
  };
  const std::map<std::string, std::string> before = snapshot(dir.path());
  for (const std::string& arguments : wrong) {
    e2e::RunOutput run = run_varisift_with(dir.path(), arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments;
    EXPECT_EQ(run.console, "") << arguments;
    EXPECT_EQ(lines_of(run.errors).size(), 1u) << run.errors;
    EXPECT_EQ(snapshot(dir.path()), before) << arguments;
  }
}

}  // namespace
