// A whole run with every export on a series whose log and catalogue carry
// the awkward values of real data: measurements with an SNR of 0, 0.1 and
// 2200, a reference catalogue whose name is longer than the AAVSO chart
// field, catalogue names with <, &, a comma and Latin-1 letters, a night
// with a gap of exactly six hours, and a candidate's catalogue entry on the
// catalogue's first line. The series is run once with the catalogue plain
// and once with it gzipped under the same name; every output of both runs
// must equal the reviewed files in tests/e2e/expected/awkward/ (the report
// and page with their run time, the page and AAVSO file with the program's
// version masked). VARISIFT_UPDATE_EXPECTED=1 rewrites them; review the
// difference before keeping it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
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

constexpr std::int64_t six_hours_tenths = 6 * 3600 * 10;
constexpr const char* export_options = "--csv out --aavso aavso.txt --obscode XYZ --filter CV --html page.html";
// The log's reference catalogue under a name of 26 characters, é its 11th
// and 20th, the last that the AAVSO chart field holds.
constexpr const char* reference_catalogue = "Gaia DR1 s\xE9lection \xE9toiles: ";

// The catalogue entry of that name, renamed.
sim::VsxEntry& renamed_entry(sim::Series& series, const std::string& name, const std::string& new_name) {
  for (sim::VsxEntry& entry : series.vsx) {
    if (entry.name != name) continue;
    entry.name = new_name;
    return entry;
  }
  ADD_FAILURE() << "no catalogue entry " << name;
  return series.vsx.front();
}

// Two nights of 20 images; 20 of 80 stars vary, each with a catalogue entry.
// As simulated, three are reported: the nearest entries of the first two
// take the awkward names, the first of them on the catalogue's first line.
sim::Series awkward_series() {
  const sim::CommandLine command = sim::parse_command_line(
      {"--images", "40", "--nights",    "2", "--stars", "80",  "--variables", "20", "--amplitudes", "0.8:2",
       "--vsx",    "20", "--vsx-flag2", "0", "--mover", "off", "--field",     "6",  "--seed",       "11"});
  EXPECT_TRUE(command.error.empty()) << command.error;
  sim::Series series = sim::generate_series(command.options);
  const sim::VsxEntry first = renamed_entry(series, "Gaia DR2 5250437002506652443", "\xC9toile <A> & B");
  renamed_entry(series, "NSVS 64799735", "NSVS 647, d\xE9j\xE0 vu");
  std::erase_if(series.vsx, [&](const sim::VsxEntry& entry) { return entry.id == first.id; });
  series.vsx.insert(series.vsx.begin(), first);
  // The first night's last ten images six hours after its first ten.
  std::vector<sim::Image>& images = series.images;
  const std::int64_t shift = six_hours_tenths - (images.at(10).time_tenths - images.at(9).time_tenths);
  for (std::size_t k = 10; k < 20; ++k) images.at(k).time_tenths += shift;
  // Every measurement of images 2, 3 and 4 with an SNR of 0, 0.1 and 2200.
  const std::int32_t snr_tenths[] = {0, 1, 22000};
  for (sim::Session& session : series.sessions)
    for (sim::PhotometryTable& table : session.tables)
      if (table.image >= 1 && table.image <= 3)
        for (sim::Measurement& row : table.rows) row.peak_tenths = snr_tenths[table.image - 1];
  return series;
}

std::string log_text(const sim::Series& series) {
  std::ostringstream out;
  sim::write_log(series, out);
  std::string log = out.str();
  const std::string plain_name = "Gaia DR1: ";
  for (std::size_t at = log.find(plain_name); at != std::string::npos; at = log.find(plain_name, at))
    log.replace(at, plain_name.size(), reference_catalogue);
  return log;
}

std::string vsx_text(const sim::Series& series) {
  std::ostringstream out;
  sim::write_vsx(series, out);
  return out.str();
}

// Every output of a run with all exports in dir, by a name of its own.
std::map<std::string, std::string> outputs_of_run(const fs::path& dir) {
  const e2e::RunOutput run = e2e::run_varisift_with(dir, export_options);
  std::map<std::string, std::string> outputs;
  outputs["exit_status.txt"] = std::to_string(run.exit_status) + "\r\n";
  outputs["console.txt"] = run.console;
  outputs["errors.txt"] = run.errors;
  outputs["report.txt"] = e2e::without_run_times(e2e::read_file(dir / "Varisift.log"));
  outputs["aavso.txt"] = e2e::without_version(e2e::read_file(dir / "aavso.txt"));
  outputs["page.html"] = e2e::without_version(e2e::without_run_times(e2e::read_file(dir / "page.html")));
  for (const fs::directory_entry& entry : fs::directory_iterator(dir / "out"))
    outputs[entry.path().filename().string()] = e2e::read_file(entry.path());
  return outputs;
}

std::set<std::string> names_of(const std::map<std::string, std::string>& files) {
  std::set<std::string> names;
  for (const auto& file : files) names.insert(file.first);
  return names;
}

TEST(AwkwardSeries, EveryOutputEqualsTheReviewedFilesWithThePlainAndTheGzippedCatalogue) {
  const sim::Series series = awkward_series();
  e2e::TempDir plain, gzipped;
  for (const fs::path& dir : {plain.path(), gzipped.path()}) {
    e2e::write_file(dir / "Skymensor.log", log_text(series));
    e2e::write_file(dir / "vsx.dat", vsx_text(series));
  }
  ASSERT_EQ(std::system(("gzip -n '" + (gzipped.path() / "vsx.dat").string() + "'").c_str()), 0);
  fs::rename(gzipped.path() / "vsx.dat.gz", gzipped.path() / "vsx.dat");

  const std::map<std::string, std::string> outputs = outputs_of_run(plain.path());
  const fs::path expected = fs::path(E2E_DATA_DIR) / "awkward";
  if (e2e::updating_expected_files()) {
    fs::remove_all(expected);
    fs::create_directories(expected);
    for (const auto& [name, bytes] : outputs) e2e::write_file(expected / name, bytes);
    GTEST_SKIP() << "wrote " << outputs.size() << " files to " << expected;
  }
  std::map<std::string, std::string> reviewed;
  for (const fs::directory_entry& entry : fs::directory_iterator(expected))
    reviewed[entry.path().filename().string()] = e2e::read_file(entry.path());
  // The error stream names the files with the separator of the system.
  reviewed["errors.txt"] = e2e::as_program_writes(reviewed["errors.txt"]);
  EXPECT_EQ(names_of(outputs), names_of(reviewed));
  for (const auto& [name, bytes] : outputs) {
    if (reviewed.count(name)) {
      EXPECT_TRUE(bytes == reviewed[name]) << name << " differs from the reviewed file";
    }
  }

  const std::map<std::string, std::string> from_gzip = outputs_of_run(gzipped.path());
  EXPECT_EQ(names_of(from_gzip), names_of(outputs));
  for (const auto& [name, bytes] : from_gzip) {
    if (outputs.count(name)) {
      EXPECT_TRUE(bytes == outputs.at(name)) << name << " differs with the gzipped catalogue";
    }
  }
}

#endif  // SIMULATE_BINARY

}  // namespace
