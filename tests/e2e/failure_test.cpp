// Failure tests of the whole program: the real binary on broken, hostile and
// extreme inputs, and with a report file that cannot be opened or that
// already holds earlier runs. Every run must end by itself (each is bounded
// by `timeout 120`) with exit status 0, show the message of its stop or end
// normally, and leave every byte of earlier reports in place.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::read_file;
using e2e::run_varisift;
using e2e::RunOutput;
using e2e::TempDir;
using e2e::write_file;

constexpr std::string_view banner =
    "VARISIFT\r\nFinding variable stars with the log file of Skymensor\r\nNo warranty, use at your own risk.\r\n"
    "Version 1.26, 2017 July 20\r\n\r\n";
constexpr std::string_view distribution_heading = "Distribution of star identifications:\r\n";
constexpr std::string_view missing_log_message = "Error 2 during open of Skymensor.log\r\n";
constexpr std::string_view report_open_message = "Error 2 during open of Varisift.log\r\n";
constexpr std::string_view report_start = "\r\n\r\nVarisift run at ";

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Whether the console ends as a whole run does: the distribution of star
// identifications, with nothing after it but its "... ids: ... stars." lines.
bool ended_normally(std::string_view console) {
  std::size_t heading = console.rfind(distribution_heading);
  if (heading == std::string_view::npos) return false;
  std::string_view rest = console.substr(heading + distribution_heading.size());
  while (!rest.empty()) {
    std::size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) return false;
    std::string_view line = rest.substr(0, end);
    if (!contains(line, " ids:") || !ends_with(line, " stars.")) return false;
    rest.remove_prefix(end + 2);
  }
  return true;
}

// --- Building logs in the column layout of a photometry table ------------

// Writes text into line at a 1-based column, widening the line as needed.
void put(std::string& line, std::size_t column, std::string_view text) {
  if (line.size() < column - 1 + text.size()) line.resize(column - 1 + text.size(), ' ');
  line.replace(column - 1, text.size(), text);
}

struct Row {
  std::string ra = "03 00 00.000";   // hh mm ss.sss
  std::string dec = "+30 00 00.00";  // +dd mm ss.ss
  std::string mag = " 15.00";
  std::string fwhm = " 2.6";
};

std::string measurement_line(const Row& r) {
  std::string line = " ";
  put(line, 3, r.ra);
  put(line, 18, "+0.09");
  put(line, 26, r.dec);
  put(line, 41, "-0.12");
  put(line, 48, r.mag);
  put(line, 57, "+0.03");
  put(line, 65, "1024.00  1024.00");
  put(line, 82, "  30829");
  put(line, 91, r.fwhm);
  put(line, 96, "  26.3");
  put(line, 103, " 0.110");
  return line;
}

std::string two_digits(int v) {
  return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

// A log of one session: the image lines with their time lines, then one
// photometry table per image with the lines that rows(i) gives.
std::string series_log(int images, const std::function<std::vector<std::string>(int)>& rows) {
  std::string log = "08:29:42 - Start 2019/10/13\r\n           Skymensor 4.10.0.431\r\n";
  for (int i = 1; i <= images; ++i) {
    log += "           Image " + std::to_string(i) + ": C:\\obs\\f" + two_digits(i) + ".fit\r\n";
    log += "           Time Stamp: 2019 10 12, 19:" + two_digits(i) + ":00.0 UT\r\n";
  }
  for (int i = 1; i <= images; ++i) {
    log += "08:30:14 - Photometry of Image " + std::to_string(i) + " (f" + two_digits(i) + ".fit): \r\n";
    log +=
        "     RA           dRA        Dec.        dDec     G      dG         x        y      Flux  FWHM   Peak    "
        "Fit\r\n";
    log +=
        "   h  m   s        \"          '   \"       \"      mag     mag                         ADU    \"     SNR    "
        "RMS\r\n";
    log += " " + std::string(108, '-') + "\r\n";
    for (const std::string& line : rows(i)) log += line + "\r\n";
    log += "08:30:40 - End\r\n";
  }
  return log;
}

// Twelve images of eight steady stars and one that brightens steadily from
// 14.00 to 14.55 mag at RA 2h59m33.15s, Dec +29 57 53.0: one possible variable.
std::string variable_star_log() {
  return series_log(12, [](int i) {
    std::vector<std::string> lines;
    Row variable;
    variable.ra = "02 59 33.155";
    variable.dec = "+29 57 53.00";
    variable.mag = " 14." + two_digits(5 * (i - 1));
    lines.push_back(measurement_line(variable));
    for (int k = 1; k <= 8; ++k) {
      Row steady;
      steady.ra = "03 00 " + two_digits(10 + 4 * k) + ".000";
      steady.dec = "+30 0" + std::to_string(k) + " 00.00";
      lines.push_back(measurement_line(steady));
    }
    return lines;
  });
}

// A catalogue line: identifier, name, flag, RA and Dec in degrees, magnitude.
std::string catalogue_line(std::string_view id, std::string_view name, char flag, std::string_view ra,
                           std::string_view dec, std::string_view mag) {
  std::string line;
  put(line, 1, id);
  put(line, 9, name);
  put(line, 40, std::string(1, flag));
  put(line, 42, ra);
  put(line, 52, dec);
  put(line, 95, mag);
  return line;
}

// --- Missing and unusable input files --------------------------------------

TEST(MissingFileFailure, WithoutTheLogTheRunStopsAfterTheBannerAndCreatesNoReport) {
  TempDir dir;
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, std::string(banner) + std::string(missing_log_message));
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

TEST(MissingFileFailure, ALogThatIsADirectoryCannotBeOpened) {
  TempDir dir;
  fs::create_directory(dir.path() / "Skymensor.log");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(ends_with(run.console, missing_log_message));
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

TEST(MissingFileFailure, WithoutTheLogAnEarlierReportStaysUntouched) {
  TempDir dir;
  const std::string earlier = "\r\n\r\nVarisift run at 01-02-2020 03:04:05\r\n\r\nUsed parameters:\r\n";
  write_file(dir.path() / "Varisift.log", earlier);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(ends_with(run.console, missing_log_message));
  EXPECT_EQ(read_file(dir.path() / "Varisift.log"), earlier);
}

// --- Logs that are no measurement logs -------------------------------------

TEST(BrokenLogFailure, RandomBinaryBytesEndTheRunNormallyWithNothingFound) {
  TempDir dir;
  std::mt19937 bytes(20240601);
  std::string log(1 << 20, '\0');
  for (char& c : log) c = static_cast<char>(bytes() & 0xff);
  write_file(dir.path() / "Skymensor.log", log);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "Processed 0 images\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
  EXPECT_TRUE(contains(read_file(dir.path() / "Varisift.log"), "0 possible variable of 0 identified stars."));
}

TEST(BrokenLogFailure, AnExecutableAsLogEndsWithAStopMessageOrNormally) {
  TempDir dir;
  fs::copy_file(e2e::program_under_test(), dir.path() / "Skymensor.log");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  // What the bytes of a program contain is not known here; the run must end
  // either normally or with one of the stops of the log scan.
  bool stopped = contains(run.console, "' not found. Severe program or data error.") ||
                 contains(run.console, "Number of images exceeds ") ||
                 contains(run.console, "Too much stars, more than ");
  EXPECT_TRUE(stopped || ended_normally(run.console)) << run.console.substr(0, 2000);
}

TEST(BrokenLogFailure, OneLineOf100MegabytesIsReadWhole) {
  TempDir dir;
  std::string line(100u << 20, 'x');
  // Key texts far inside the line still count: it is one line with " - Start ".
  line.replace(line.size() / 2, 9, " - Start ");
  write_file(dir.path() / "Skymensor.log", line);
  line.clear();
  line.shrink_to_fit();
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  // The only line is the first line of the file, so it starts no further session.
  EXPECT_TRUE(contains(run.console, "Processed 0 images\r\nNotice: Skymensor.log has 1 sessions!\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

TEST(BrokenLogFailure, ALastLineWithoutLineEndOfExactlyFourMebibytes) {
  // Exactly the line reader's first block: the reader must grow its buffer
  // for the line and return it from the buffer as it is after the growth.
  TempDir dir;
  std::string log = "           Image 1: a.fit\r\n";
  log += std::string(4u << 20, 'x');
  write_file(dir.path() / "Skymensor.log", log);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "  1:a.fit (0 obs)\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

TEST(BrokenLogFailure, LinesOfNulBytesAreEmptyLines) {
  TempDir dir;
  std::string log;
  for (int k = 0; k < 10000; ++k) log += std::string(200, '\0') + "\r\n";
  write_file(dir.path() / "Skymensor.log", log);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "Processed 0 images\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

TEST(BrokenLogFailure, NulPaddingAtLineEndsChangesNothing) {
  TempDir plain_dir;
  TempDir padded_dir;
  std::string log = variable_star_log();
  write_file(plain_dir.path() / "Skymensor.log", log);
  // Pad every line except the units line under a table heading, which is
  // kept as read and shown in the detail block.
  std::string padded;
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find("\r\n", start);
    std::string_view line(log.data() + start, end - start);
    padded += line;
    if (line.find("mag     mag") == std::string_view::npos) padded += std::string(7, '\0');
    padded += "\r\n";
    start = end + 2;
  }
  write_file(padded_dir.path() / "Skymensor.log", padded);
  RunOutput plain = run_varisift(plain_dir.path());
  RunOutput with_nuls = run_varisift(padded_dir.path());
  EXPECT_EQ(with_nuls.exit_status, 0);
  EXPECT_TRUE(contains(plain.console, " 1 possible variable of 9 identified stars."));
  EXPECT_EQ(with_nuls.console, plain.console);
}

TEST(BrokenLogFailure, ALogCutInTheMiddleOfATableKeepsTheLinesBeforeTheCut) {
  TempDir dir;
  std::string log = variable_star_log();
  // Cut inside the fourth measurement line of the last image's table.
  std::size_t table = log.rfind(std::string(108, '-'));
  std::size_t cut = table;
  for (int k = 0; k < 4; ++k) cut = log.find("\r\n", cut) + 2;
  cut += 40;
  write_file(dir.path() / "Skymensor.log", log.substr(0, cut));
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  // Three whole lines and the cut one, which begins with a blank like any other.
  EXPECT_TRUE(contains(run.console, " 12:C:\\obs\\f12.fit (4 obs)\r\n")) << run.console.substr(0, 3000);
  EXPECT_TRUE(contains(run.console, " 11:C:\\obs\\f11.fit (9 obs)\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

TEST(BrokenLogFailure, ATableWithoutItsImageStopsWithTheNotFoundMessage) {
  TempDir dir;
  std::string earlier = "earlier report\r\n";
  write_file(dir.path() / "Varisift.log", earlier);
  write_file(dir.path() / "Skymensor.log", " -----\r\n  03 00 00.000\r\n");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(ends_with(run.console,
                        "'' not found. Severe program or data error. Please send Skymenso.log file to "
                        "the maintainers (README, section \"Reporting problems\")\r\nEnd of program\r\n"));
  std::string report = read_file(dir.path() / "Varisift.log");
  EXPECT_EQ(report.substr(0, earlier.size()), earlier);
  EXPECT_TRUE(ends_with(report, "Used log file Skymensor.log\r\n"));
}

// --- Numbers out of every range --------------------------------------------

// Lines of a table filled with one text over and over, each starting at a
// different offset, so every column cuts a different piece of it.
std::vector<std::string> filled_lines(std::string_view pattern) {
  std::vector<std::string> lines;
  for (std::size_t offset = 0; offset < pattern.size(); ++offset) {
    std::string line(1, ' ');
    for (std::size_t k = offset; line.size() < 120; ++k) line += pattern[k % pattern.size()];
    lines.push_back(line);
  }
  return lines;
}

TEST(ExtremeValueFailure, HugeNumbersInEveryColumnEndTheRunNormally) {
  for (std::string_view pattern : {"1e999 ", "99999999999999999999 ", "-1e999-", "1d308 9e-999 "}) {
    SCOPED_TRACE(std::string(pattern));
    TempDir dir;
    write_file(dir.path() / "Skymensor.log", series_log(8, [&](int) { return filled_lines(pattern); }));
    RunOutput run = run_varisift(dir.path());
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_TRUE(contains(run.console, "Processed 8 images\r\n"));
    EXPECT_TRUE(ended_normally(run.console));
    EXPECT_TRUE(contains(read_file(dir.path() / "Varisift.log"), "identified stars."));
  }
}

// Eight images of two stars at one pole, eleven hours of right ascension apart.
std::string pole_log(std::string_view dec) {
  return series_log(8, [&](int i) {
    Row first, second;
    first.ra = "02 59 3" + std::to_string(i) + ".000";
    second.ra = "14 00 0" + std::to_string(i) + ".000";
    first.dec = second.dec = std::string(dec);
    return std::vector<std::string>{measurement_line(first), measurement_line(second)};
  });
}

TEST(ExtremeValueFailure, AtEitherPoleEveryRightAscensionLiesInTheBox) {
  for (std::string_view dec : {"+90 00 00.00", "-90 00 00.00"}) {
    SCOPED_TRACE(std::string(dec));
    TempDir dir;
    write_file(dir.path() / "Skymensor.log", pole_log(dec));
    RunOutput run = run_varisift(dir.path());
    EXPECT_EQ(run.exit_status, 0);
    // Each reference takes the lowest free index in its unbounded box: the
    // first line matches the first line, the second the second.
    EXPECT_TRUE(contains(run.console, "2 different stars in 8 files.\r\n"));
    EXPECT_TRUE(contains(run.console, "  7 ids:     2 stars.\r\n"));
    EXPECT_TRUE(ended_normally(run.console));
  }
}

// Three images of two stars 20" apart in declination with one FWHM for all.
std::string fwhm_log(std::string_view fwhm) {
  return series_log(3, [&](int) {
    Row first, second;
    first.dec = "+30 00 00.00";
    second.dec = "+30 00 20.00";
    first.fwhm = second.fwhm = std::string(fwhm);
    return std::vector<std::string>{measurement_line(first), measurement_line(second)};
  });
}

TEST(ExtremeValueFailure, TheLargestFwhmMatchesAndOneTenthMoreWrapsToAnEmptyBox) {
  {
    TempDir dir;
    write_file(dir.path() / "Skymensor.log", fwhm_log("25.5"));
    RunOutput run = run_varisift(dir.path());
    EXPECT_EQ(run.exit_status, 0);
    // 25.5" is the widest box: both stars are found again in both later images.
    EXPECT_TRUE(contains(run.console, "2 different stars in 3 files.\r\n"));
    // Mean FWHM 25.5 in the raw list, between the flux and the peak.
    EXPECT_TRUE(contains(run.console, "  3082925.5  26 0.110\r\n"));
  }
  {
    TempDir dir;
    write_file(dir.path() / "Skymensor.log", fwhm_log("25.6"));
    RunOutput run = run_varisift(dir.path());
    EXPECT_EQ(run.exit_status, 0);
    // 256 tenths keep 0 in eight bits: no box, so every reference starts a star.
    EXPECT_TRUE(contains(run.console, "4 different stars in 3 files.\r\n"));
    EXPECT_TRUE(contains(run.console, "  30829 0.0  26 0.110\r\n"));
    EXPECT_TRUE(ended_normally(run.console));
  }
}

// --- A catalogue with broken lines -----------------------------------------

TEST(CatalogueFailure, BrokenLinesAreLoadedAsEntriesAndTheMatchStillWorks) {
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  std::string catalogue;
  catalogue += "\r\n";          // empty: loaded, all zero
  catalogue += "short line\n";  // no flag column: loaded
  catalogue += catalogue_line("0000009", "Left out", '2', " 44.88814", " 29.96472", " 10.00") + "\r";
  catalogue += std::string(300, 'x') + "\n";     // no numbers: loaded
  catalogue += std::string(120, '\0') + "\r\n";  // NUL bytes: loaded
  catalogue += catalogue_line("1e999", "Overflowing", '0', "1e999    ", "-1e999   ", "1e999 ") + "\n";
  catalogue += catalogue_line("0000001", "Var 1", '0', " 44.88814", " 29.96472", " 15.20") + "\n";
  catalogue += catalogue_line("99999999999999999999", std::string(40, 'N'), '1', "-99999999", "999999999", "999999");
  write_file(dir.path() / "vsx.dat", catalogue);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "Reading VSX catalog...number of VSX stars: 7\r\n"));
  EXPECT_TRUE(contains(run.console, "Star found, is VSX 1 = Var 1\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

TEST(CatalogueFailure, AnEmptyCatalogueHoldsNoEntry) {
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  write_file(dir.path() / "vsx.dat", "");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "Reading VSX catalog...number of VSX stars: 0\r\n"));
  EXPECT_FALSE(contains(run.console, "Star found"));
}

TEST(CatalogueFailure, ALastLineWithoutLineEndOfExactlyFourMebibytes) {
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  std::string catalogue = catalogue_line("0000001", "Var 1", '0', " 44.88814", " 29.96472", " 15.20") + "\n";
  catalogue += std::string(4u << 20, 'y');
  write_file(dir.path() / "vsx.dat", catalogue);
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.console, "Reading VSX catalog...number of VSX stars: 2\r\n"));
  EXPECT_TRUE(contains(run.console, "Star found, is VSX 1 = Var 1\r\n"));
  EXPECT_TRUE(ended_normally(run.console));
}

// --- The report file -------------------------------------------------------

TEST(ReportFileFailure, AReportThatIsADirectoryStopsTheRunBeforeAnythingIsWritten) {
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  fs::create_directory(dir.path() / "Varisift.log");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, std::string(banner) + std::string(report_open_message));
  EXPECT_TRUE(fs::is_directory(dir.path() / "Varisift.log"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "Varisift.log"));
}

// Why a Linux facility that a test needs is out of reach of the program
// under test, or an empty text. A program started through a launcher (the
// Windows build under Wine) sees devices and limits only through it.
std::string without_linux_facility(std::string_view facility) {
  if (e2e::program_launcher().empty()) return "";
  return std::string(facility) + " cannot reach a program run through '" + e2e::program_launcher() + "'";
}

TEST(ReportFileFailure, AWorkingDirectoryWithoutWritePermissionStopsTheRun) {
  const e2e::UnprivilegedRun nobody;
  TempDir dir;
  if (std::string why = nobody.let_in(dir.path()); !why.empty()) GTEST_SKIP() << why;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  fs::permissions(dir.path() / "Skymensor.log", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  RunOutput run = nobody.run(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, std::string(banner) + std::string(report_open_message));
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

TEST(ReportFileFailure, AReadOnlyReportStopsTheRunAndKeepsItsBytes) {
  const e2e::UnprivilegedRun nobody;
  TempDir dir;
  if (std::string why = nobody.let_in(dir.path()); !why.empty()) GTEST_SKIP() << why;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  const std::string earlier = "\r\n\r\nVarisift run at 01-02-2020 03:04:05\r\n";
  write_file(dir.path() / "Varisift.log", earlier);
  for (const char* name : {"Skymensor.log", "Varisift.log"})
    fs::permissions(dir.path() / name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  RunOutput run = nobody.run(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, std::string(banner) + std::string(report_open_message));
  EXPECT_EQ(read_file(dir.path() / "Varisift.log"), earlier);
}

TEST(ReportFileFailure, AnUnreadableLogIsReportedLikeAMissingOne) {
  const e2e::UnprivilegedRun nobody;
  TempDir dir;
  if (std::string why = nobody.let_in(dir.path()); !why.empty()) GTEST_SKIP() << why;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  fs::permissions(dir.path() / "Skymensor.log", fs::perms::none);
  fs::permissions(dir.path(), fs::perms::all);
  RunOutput run = nobody.run(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, std::string(banner) + std::string(missing_log_message));
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

TEST(ReportFileFailure, WritesThatFailAreNotReportedAndTheRunGoesOn) {
  if (std::string why = without_linux_facility("/dev/full"); !why.empty()) GTEST_SKIP() << why;
  TempDir plain_dir;
  write_file(plain_dir.path() / "Skymensor.log", variable_star_log());
  RunOutput plain = run_varisift(plain_dir.path());
  // The report file on a full disk: it opens, every write to it fails.
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  fs::create_symlink("/dev/full", dir.path() / "Varisift.log");
  RunOutput run = run_varisift(dir.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, plain.console);
}

TEST(ReportFileFailure, AClosedConsoleStillLeavesTheWholeReport) {
  TempDir plain_dir;
  write_file(plain_dir.path() / "Skymensor.log", variable_star_log());
  RunOutput plain = run_varisift(plain_dir.path());
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  int status = std::system(("cd '" + dir.path().string() + "' && timeout 120 " + e2e::program_launcher() + " '" +
                            e2e::program_under_test() + "' </dev/null >&-")
                               .c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(e2e::without_run_times(read_file(dir.path() / "Varisift.log")),
            e2e::without_run_times(read_file(plain_dir.path() / "Varisift.log")));
}

TEST(ReportFileFailure, EarlierRunsStayByteForByteInFrontOfTheNewRun) {
  TempDir dir;
  write_file(dir.path() / "Skymensor.log", variable_star_log());
  // Earlier content of any kind, even without a final line end.
  std::string earlier = "\r\n\r\nVarisift run at 12-31-2019 23:59:59\r\n\r\nUsed parameters:\r\n";
  for (int c = 0; c < 256; ++c) earlier += static_cast<char>(c);
  earlier += "no line end";
  write_file(dir.path() / "Varisift.log", earlier);

  RunOutput first = run_varisift(dir.path());
  EXPECT_EQ(first.exit_status, 0);
  std::string after_first = read_file(dir.path() / "Varisift.log");
  ASSERT_GT(after_first.size(), earlier.size());
  EXPECT_EQ(after_first.substr(0, earlier.size()), earlier);
  EXPECT_EQ(after_first.substr(earlier.size(), report_start.size()), report_start);

  RunOutput second = run_varisift(dir.path());
  EXPECT_EQ(second.exit_status, 0);
  std::string after_second = read_file(dir.path() / "Varisift.log");
  EXPECT_EQ(after_second.substr(0, after_first.size()), after_first);
  // The same log gives the same report, apart from the time of the run.
  std::string first_run = after_first.substr(earlier.size());
  std::string second_run = after_second.substr(after_first.size());
  EXPECT_EQ(e2e::without_run_times(second_run), e2e::without_run_times(first_run));
  EXPECT_TRUE(contains(second_run, " 1 possible variable of 9 identified stars."));
}

// ---------------------------------------------------------------- no threads

// A machine that will not start another thread (here: an unprivileged user
// limited to one process). The photometry tables of 4,096 lines and more
// and the catalogue are then read on one core, and the run writes the same
// bytes.
TEST(SystemLimitFailure, WithoutASecondThreadTheRunWritesTheSameBytes) {
  if (std::string why = without_linux_facility("prlimit"); !why.empty()) GTEST_SKIP() << why;
  if (std::system("prlimit --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "prlimit missing: no limit can be set";
  const e2e::UnprivilegedRun nobody;
  TempDir dir;
  if (std::string why = nobody.let_in(dir.path()); !why.empty()) GTEST_SKIP() << why;
  ASSERT_TRUE(e2e::run_simulator("--preset typical --seed 5 --images 6 --stars 8000 --field 40", dir.path()));
  fs::permissions(dir.path(), fs::perms::all);
  const RunOutput plain = run_varisift(dir.path());
  const std::string plain_report = read_file(dir.path() / "Varisift.log");
  fs::remove(dir.path() / "Varisift.log");
  ASSERT_NE(plain.console.find("different stars in 6 files."), std::string::npos);

  // (A leak check at exit would need a thread of its own.)
  const RunOutput limited = nobody.run(dir.path(), "env ASAN_OPTIONS=detect_leaks=0 prlimit --nproc=1");
  EXPECT_EQ(limited.exit_status, 0);
  EXPECT_EQ(limited.console, plain.console);
  EXPECT_EQ(e2e::without_run_times(read_file(dir.path() / "Varisift.log")), e2e::without_run_times(plain_report));
}

}  // namespace
