// The command line of the real program: a run on a folder named from
// elsewhere writes the bytes of a run inside it, a gzipped catalogue reads
// as the plain one, parameters reach the parameter block, and every wrong
// use ends with status 2, one line on standard error and no file touched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::put_sample;
using e2e::read_file;
using e2e::run_varisift_with;
using e2e::snapshot;
using e2e::TempDir;
using e2e::without_run_times;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CommandLineRun, AFolderNamedFromElsewhereGivesTheBytesOfARunInsideIt) {
  TempDir dir;
  put_sample(dir.path() / "night");
  const e2e::RunOutput inside = run_varisift_with(dir.path() / "night", "");
  const std::string report_inside = read_file(dir.path() / "night" / "Varisift.log");
  fs::remove(dir.path() / "night" / "Varisift.log");
  const e2e::RunOutput named = run_varisift_with(dir.path(), "night");
  EXPECT_EQ(named.exit_status, 0);
  EXPECT_EQ(named.errors, "");
  EXPECT_EQ(named.console, inside.console);
  EXPECT_EQ(without_run_times(read_file(dir.path() / "night" / "Varisift.log")), without_run_times(report_inside));
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

TEST(CommandLineRun, AGzippedCatalogueElsewhereReadsAsThePlainOneBesideTheLog) {
  TempDir dir;
  put_sample(dir.path() / "night");
  const e2e::RunOutput plain = run_varisift_with(dir.path(), "night --report plain.log");
  fs::create_directory(dir.path() / "catalogues");
  fs::rename(dir.path() / "night" / "vsx.dat", dir.path() / "catalogues" / "vsx.dat");
  ASSERT_EQ(std::system(("gzip '" + (dir.path() / "catalogues" / "vsx.dat").string() + "'").c_str()), 0);
  const e2e::RunOutput gzipped =
      run_varisift_with(dir.path(), "--vsx catalogues/vsx.dat.gz --report gzipped.log night");
  EXPECT_EQ(gzipped.exit_status, 0);
  EXPECT_TRUE(contains(plain.console, "Star found, is VSX"));
  EXPECT_EQ(gzipped.console, plain.console);
  EXPECT_EQ(without_run_times(read_file(dir.path() / "gzipped.log")),
            without_run_times(read_file(dir.path() / "plain.log")));
  EXPECT_FALSE(fs::exists(dir.path() / "night" / "Varisift.log"));
}

// A catalogue is read compressed by its bytes, whatever its name: beside the
// log as vsx.dat, and named as CAT.DAT.
TEST(CommandLineRun, AGzippedCatalogueUnderAnyNameReadsAsThePlainOne) {
  TempDir dir;
  put_sample(dir.path() / "night");
  const e2e::RunOutput plain = run_varisift_with(dir.path(), "night --report plain.log");
  const fs::path catalogue = dir.path() / "night" / "vsx.dat";
  ASSERT_EQ(std::system(("gzip -n '" + catalogue.string() + "'").c_str()), 0);
  fs::rename(dir.path() / "night" / "vsx.dat.gz", catalogue);
  const e2e::RunOutput beside = run_varisift_with(dir.path(), "night --report beside.log");
  EXPECT_EQ(beside.exit_status, 0);
  EXPECT_EQ(beside.console, plain.console);
  EXPECT_EQ(without_run_times(read_file(dir.path() / "beside.log")),
            without_run_times(read_file(dir.path() / "plain.log")));
  fs::copy_file(catalogue, dir.path() / "CAT.DAT");
  const e2e::RunOutput named = run_varisift_with(dir.path(), "--vsx CAT.DAT night --report named.log");
  EXPECT_EQ(named.exit_status, 0);
  EXPECT_EQ(named.console, plain.console);

  // Cut short, the gzip vsx.dat beside the log stops the run with one line
  // that names the fault.
  const std::string whole = read_file(catalogue);
  e2e::write_file(catalogue, whole.substr(0, whole.size() / 2));
  const e2e::RunOutput cut = run_varisift_with(dir.path(), "night --report cut.log");
  EXPECT_EQ(cut.exit_status, 0);
  const std::vector<std::string> lines = e2e::lines_of(cut.console);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("Reading VSX catalog...vsx.dat is damaged (", 0), 0u) << lines.back();
  EXPECT_FALSE(contains(cut.console, "Used parameters:"));
}

TEST(CommandLineRun, ParametersGivenReachTheParameterBlockOfConsoleAndReport) {
  TempDir dir;
  put_sample(dir.path());
  const e2e::RunOutput run =
      run_varisift_with(dir.path(), "--trend --outlier-factor 2.5 --min-interval=0.2 --min-variation 010");
  EXPECT_EQ(run.exit_status, 0);
  const std::string report = read_file(dir.path() / "Varisift.log");
  for (const std::string line : {"Correction of magnitude trends in observations (0 no, 1 yes):  1.\r\n",
                                 "Measurements taken as outliers, if more then 2.5x outside the quartils.\r\n",
                                 "Limiting magnitude interval must be 0.20 magnitudes.\r\n",
                                 "Minimum number for detecting variation is 10% or number of used imaged.\r\n"}) {
    EXPECT_TRUE(contains(run.console, line)) << line;
    EXPECT_TRUE(contains(report, line)) << line;
  }
}

TEST(CommandLineRun, EveryWrongUseEndsWithStatusTwoAndTouchesNothing) {
  TempDir dir;
  put_sample(dir.path() / "night");
  e2e::write_file(dir.path() / "night" / "Varisift.log", "earlier run\r\n");
  e2e::write_file(dir.path() / "cut.gz", "\x1f\x8b\x08\x00");
  e2e::write_file(dir.path() / "plain.gz", "a plain catalogue under a compressed name\r\n");
  const std::vector<std::string> wrong = {
      "--bogus night",
      "--min-interval 0.101 night",
      "--outlier-factor night",
      "night night2",
      "missing",
      "--vsx missing.dat night",
      "--vsx cut.gz night",
      "--vsx plain.gz night",
      "--report night/Skymensor.log night",
      "--report nowhere/r.log night",
      "--trend --trend night",
  };
  const std::map<std::string, std::string> before = snapshot(dir.path());
  for (const std::string& arguments : wrong) {
    const e2e::RunOutput run = run_varisift_with(dir.path(), arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments;
    EXPECT_EQ(run.console, "") << arguments;
    EXPECT_TRUE(run.errors.rfind("varisift: ", 0) == 0) << arguments << ": " << run.errors;
    EXPECT_TRUE(run.errors.size() > 2 && run.errors.find("\r\n") == run.errors.size() - 2) << run.errors;
    EXPECT_TRUE(contains(run.errors, "--help")) << run.errors;
    EXPECT_EQ(snapshot(dir.path()), before) << arguments;
  }
}

TEST(CommandLineRun, HelpAndVersionWriteTheirTextAndNothingElse) {
  TempDir dir;
  put_sample(dir.path());
  const e2e::RunOutput help = run_varisift_with(dir.path(), "--help");
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.console.rfind("Usage: varisift [OPTIONS] [DIR]\r\n", 0), 0u);
  const e2e::RunOutput version = run_varisift_with(dir.path(), "--version");
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.console.rfind("varisift ", 0), 0u);
  EXPECT_FALSE(fs::exists(dir.path() / "Varisift.log"));
}

}  // namespace
