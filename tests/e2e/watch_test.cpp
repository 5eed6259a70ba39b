// The watch of a growing log: the log appears after the start and grows in
// pieces that end in the middle of lines (a cut table, a closing line whose
// CR waits for its LF, a cut line after a closed table, the whole log); each
// refresh reads the prefix the rule allows and writes exactly the files of
// a batch run on a copy of the log cut there, apart from the page's refresh
// line and the run's date and time. After the idle time the final run
// writes the batch run's console, one report and one error-stream line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_support.h"

#ifdef SIMULATE_BINARY
#include "command_line.h"
#include "series.h"
#endif

namespace {

#ifdef SIMULATE_BINARY

namespace fs = std::filesystem;
namespace sim = varisift::simulate;

const std::string export_arguments = "--csv out --html page.html";

struct Series {
  std::string log;
  std::string vsx;
};

// 36 images of 60 stars in one session, a table per image, CR LF line ends.
Series small_series() {
  const sim::CommandLine command = sim::parse_command_line(
      {"--images", "36", "--stars", "60", "--variables", "30", "--amplitudes", "0.3:2", "--field", "6", "--seed", "5"});
  EXPECT_TRUE(command.error.empty()) << command.error;
  const sim::Series series = sim::generate_series(command.options);
  std::ostringstream log, vsx;
  sim::write_log(series, log);
  sim::write_vsx(series, vsx);
  return {log.str(), vsx.str()};
}

// Where the line holding the nth occurrence (from 1) of text begins.
std::size_t line_start_of(const std::string& log, const std::string& text, int n) {
  std::size_t at = 0;
  for (int k = 0; k < n; ++k) at = log.find(text, k == 0 ? 0 : at + 1);
  return log.rfind('\n', at) + 1;
}

// The line after the one that begins at line_start.
std::size_t next_line(const std::string& log, std::size_t line_start) { return log.find('\n', line_start) + 1; }

// A piece of the log ends at `end`; the refresh after it reads `readable` bytes.
struct Piece {
  std::size_t end;
  std::size_t readable;
};

std::vector<Piece> pieces_of(const std::string& log) {
  const std::string photometry = "Photometry of Image ", astrometry = "Astrometry of Image ";
  const std::size_t table_10 = line_start_of(log, photometry, 10);
  const std::size_t table_20 = line_start_of(log, photometry, 20);
  const std::size_t after_20 = line_start_of(log, astrometry, 21);
  const std::size_t astrometry_30 = line_start_of(log, astrometry, 30);
  return {
      {table_10 + 200, table_10},                                          // inside table 10
      {log.find('\r', after_20) + 1, table_20},                            // the line after table 20 waits for its LF
      {next_line(log, astrometry_30) + 5, next_line(log, astrometry_30)},  // a cut line after table 29
      {log.size(), log.size()},
  };
}

void append(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out << bytes;
}

// The CSV files and the page a run left, the page without its refresh line
// and with the run's date and time masked.
std::map<std::string, std::string> exports_of(const fs::path& dir) {
  std::map<std::string, std::string> files = e2e::snapshot(dir / "out");
  std::string page = e2e::without_run_times(e2e::read_file(dir / "page.html"));
  const std::string refresh_line = "<meta http-equiv=\"refresh\" content=\"2\">\n";
  if (std::size_t at = page.find(refresh_line); at != std::string::npos) page.erase(at, refresh_line.size());
  files["page.html"] = page;
  return files;
}

struct BatchRun {
  e2e::RunOutput output;
  std::map<std::string, std::string> exports;
  std::string report;
};

BatchRun batch_run(const Series& series, std::size_t log_bytes) {
  e2e::TempDir dir;
  e2e::write_file(dir.path() / "Skymensor.log", series.log.substr(0, log_bytes));
  e2e::write_file(dir.path() / "vsx.dat", series.vsx);
  BatchRun run{e2e::run_varisift_with(dir.path(), export_arguments), exports_of(dir.path()), ""};
  run.report = e2e::without_run_times(e2e::read_file(dir.path() / "Varisift.log"));
  return run;
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string read_line_of(std::size_t bytes) { return " read " + std::to_string(bytes) + " bytes: "; }

TEST(Watch, RefreshesWriteTheFilesOfBatchRunsOnTheSamePrefixesThenTheFinalRunEnds) {
  const Series series = small_series();
  ASSERT_TRUE(series.log.ends_with("\r\n"));
  const std::vector<Piece> pieces = pieces_of(series.log);
  e2e::TempDir dir;
  e2e::write_file(dir.path() / "vsx.dat", series.vsx);
  e2e::BackgroundRun watch(dir.path(), "--watch=2 --watch-idle-exit 5 " + export_arguments);
  ASSERT_TRUE(watch.wait_for_console([](const std::string& c) {
    return c.find("waiting for it") != std::string::npos;
  })) << watch.console();

  std::vector<std::map<std::string, std::string>> refreshed;
  std::size_t written = 0;
  for (const Piece& piece : pieces) {
    // Two writes, each ending in the middle of a line.
    const std::size_t middle = written + (piece.end - written) / 2;
    append(dir.path() / "Skymensor.log", series.log.substr(written, middle - written));
    append(dir.path() / "Skymensor.log", series.log.substr(middle, piece.end - middle));
    written = piece.end;
    const std::string line = read_line_of(piece.readable);
    ASSERT_TRUE(watch.wait_for_console([&](const std::string& c) { return c.find(line) != std::string::npos; }))
        << "no refresh of " << piece.readable << " bytes:\n"
        << watch.console();
    EXPECT_NE(e2e::read_file(dir.path() / "page.html").find("<meta http-equiv=\"refresh\" content=\"2\">"),
              std::string::npos);
    refreshed.push_back(exports_of(dir.path()));
  }
  ASSERT_EQ(watch.finish(), 0) << watch.errors();

  for (std::size_t k = 0; k < pieces.size(); ++k)
    EXPECT_TRUE(refreshed[k] == batch_run(series, pieces[k].readable).exports) << "refresh " << k + 1;

  const BatchRun whole = batch_run(series, series.log.size());
  const std::string console = watch.console();
  EXPECT_EQ(count_of(console, "waiting for it"), 1u);
  EXPECT_NE(console.find("no growth of Skymensor.log for 5 s: the watch ends"), std::string::npos);
  EXPECT_TRUE(console.ends_with("\r\n\r\n" + whole.output.console)) << console;
  EXPECT_EQ(e2e::without_run_times(e2e::read_file(dir.path() / "Varisift.log")), whole.report);
  EXPECT_EQ(watch.errors(), whole.output.errors);
  EXPECT_EQ(e2e::lines_of(watch.errors()).size(), 1u);
  EXPECT_TRUE(exports_of(dir.path()) == whole.exports);
  EXPECT_EQ(e2e::read_file(dir.path() / "page.html").find("http-equiv=\"refresh\""), std::string::npos);
}

// SIGINT is Ctrl+C, under Wine too, which turns it into the console's
// Ctrl+C event.
TEST(Watch, CtrlCEndsTheWatchWithTheFinalRun) {
  const Series series = small_series();
  e2e::TempDir dir;
  e2e::write_file(dir.path() / "Skymensor.log", series.log);
  e2e::BackgroundRun watch(dir.path(), "--watch=2 --html page.html");
  const std::string line = read_line_of(series.log.size());
  ASSERT_TRUE(watch.wait_for_console([&](const std::string& c) { return c.find(line) != std::string::npos; }))
      << watch.console();
  watch.interrupt();
  EXPECT_EQ(watch.finish(), 0);
  EXPECT_NE(watch.console().find(" Ctrl+C: the watch ends; the final run reads the whole log.\r\n"), std::string::npos);
  EXPECT_EQ(count_of(e2e::read_file(dir.path() / "Varisift.log"), "Varisift run at "), 1u);
  EXPECT_EQ(watch.errors(), "varisift: wrote page.html\r\n");
}

#endif  // SIMULATE_BINARY

}  // namespace
