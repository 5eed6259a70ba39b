// Folders and files named outside Windows' ANSI code page: the sample run
// on a series folder Łódź with the catalogue, report, CSV folder and page
// under such names writes the bytes of a plain run, and the page and the
// messages show the names as typed, in UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::read_file;
using e2e::run_varisift_with;

TEST(NamesOutsideTheCodePage, EveryOptionReadsAndWritesThemAndShowsThemAsTyped) {
  e2e::TempDir dir;
  e2e::put_sample(dir.path() / "Łódź");
  fs::create_directory(dir.path() / "観測");
  fs::rename(dir.path() / "Łódź" / "vsx.dat", dir.path() / "観測" / "vsx.dat");
  ASSERT_EQ(std::system(("gzip -n '" + (dir.path() / "観測" / "vsx.dat").string() + "'").c_str()), 0);
  const e2e::RunOutput run =
      run_varisift_with(dir.path(), "--csv Ωmega --html 観測.html --report 観測/Łódź.log --vsx 観測/vsx.dat.gz Łódź");
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(run.errors,
            e2e::as_program_writes("varisift: wrote Ωmega/stars.csv, 5 light curves Ωmega/lc_*.csv, 観測.html\r\n"));
  EXPECT_EQ(run.console, read_file(fs::path(E2E_DATA_DIR) / "sample.console.txt"));
  EXPECT_EQ(e2e::without_run_times(read_file(dir.path() / "観測" / "Łódź.log")),
            read_file(fs::path(E2E_DATA_DIR) / "sample.report.txt"));
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path() / "Ωmega"))
    EXPECT_EQ(read_file(entry.path()), read_file(fs::path(E2E_DATA_DIR) / "exports" / entry.path().filename()))
        << entry.path();
  const std::string page = read_file(dir.path() / "観測.html");
  EXPECT_NE(page.find("<title>Varisift report: Łódź</title>"), std::string::npos);
  EXPECT_NE(page.find("<dt>Folder</dt><dd>Łódź</dd>"), std::string::npos);
}

// A name given, a name zlib's message would carry, a name listed.
TEST(NamesOutsideTheCodePage, WrongUseNamesThemAsTyped) {
  e2e::TempDir dir;
  fs::create_directory(dir.path() / "観測");
  e2e::write_file(dir.path() / "観測" / "cut.dat.gz", "\x1f\x8b\x08\x00");
  fs::create_directory(dir.path() / "Ωmega");
  e2e::write_file(dir.path() / "Ωmega" / "Żółw.txt", "mine\r\n");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"Żółw", "no folder 'Żółw'"},
      {"--vsx 観測/cut.dat.gz", "--vsx '観測/cut.dat.gz' is damaged (unexpected end of file)"},
      {"--csv Ωmega",
       "--csv folder 'Ωmega' holds 'Żółw.txt', which is no earlier CSV export; name an empty or new folder"},
      {"--report 観測", "--report names a folder, '観測'"},
  };
  for (const auto& [arguments, error] : rows) {
    const e2e::RunOutput run = run_varisift_with(dir.path(), arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments;
    EXPECT_EQ(run.errors, "varisift: " + error + " (see varisift --help)\r\n") << arguments;
  }
}

}  // namespace
