// Whole runs on series that the usual simulated nights never produce: images
// with equal time stamps, images registered out of time order, and a star
// that the report pass selects but leaves out because its in-range count is
// not above a quarter of the check pass's largest. Each series is one small
// simulated series, its time stamps changed where a case needs it; console
// and report must equal the reviewed files tests/e2e/expected/edge_<case>.*
// byte for byte (the report with its run time masked). After a deliberate
// change of the output, the command that rewrites the series goldens
// (VARISIFT_UPDATE_EXPECTED=1 ctest --test-dir build -R SeriesGolden) rewrites
// these too; review the difference before keeping it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
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

// 36 images of 60 stars, half of them variable, in one night. As simulated,
// the check pass selects two stars, the one seen in every image with 36
// in-range values; the report pass selects both again but reports only that
// one: the other's in-range count of 8 is not above 36 / 4.
sim::Series small_series() {
  const sim::CommandLine command =
      sim::parse_command_line({"--images", "36", "--stars", "60", "--variables", "30", "--amplitudes", "0.3:2",
                               "--mover", "off", "--field", "6", "--seed", "5"});
  EXPECT_TRUE(command.error.empty()) << command.error;
  return sim::generate_series(command.options);
}

// The time stamp of image n (1-based, in the order the log lists them).
std::int64_t& stamp(sim::Series& series, std::size_t n) { return series.images.at(n - 1).time_tenths; }

// Images 5, 6 and 7 share the stamp of image 7, and image 8 takes the earlier
// stamp of image 5; images 12 and 13 share the stamp of image 14, which takes
// the stamp of image 12.
void give_equal_stamps(sim::Series& series) {
  const std::int64_t a = stamp(series, 5), b = stamp(series, 7);
  stamp(series, 5) = b;
  stamp(series, 6) = b;
  stamp(series, 8) = a;
  const std::int64_t c = stamp(series, 12), d = stamp(series, 14);
  stamp(series, 12) = d;
  stamp(series, 13) = d;
  stamp(series, 14) = c;
}

// The log lists the images latest first.
void reverse_stamps(sim::Series& series) {
  const std::size_t n = series.images.size();
  for (std::size_t k = 1; k <= n / 2; ++k) std::swap(stamp(series, k), stamp(series, n + 1 - k));
}

struct EdgeCase {
  std::string name;
  void (*change)(sim::Series&);
};

const std::vector<EdgeCase>& edge_cases() {
  static const std::vector<EdgeCase> cases = {
      {"quarter", nullptr},
      {"equal_stamps", give_equal_stamps},
      {"reversed", reverse_stamps},
  };
  return cases;
}

void PrintTo(const EdgeCase& c, std::ostream* out) { *out << c.name; }

std::string case_name(const ::testing::TestParamInfo<EdgeCase>& info) { return info.param.name; }

// Line number (1-based) of the first line in which two texts differ.
std::size_t first_different_line(std::string_view expected, std::string_view actual) {
  std::size_t line = 1;
  for (std::size_t k = 0; k < expected.size() && k < actual.size() && expected[k] == actual[k]; ++k)
    if (expected[k] == '\n') ++line;
  return line;
}

void compare_with_expected(const std::string& file_name, const std::string& actual) {
  const fs::path file = fs::path(E2E_DATA_DIR) / file_name;
  if (e2e::updating_expected_files()) {
    e2e::write_file(file, actual);
    return;
  }
  ASSERT_TRUE(fs::exists(file)) << file << " is missing; regenerate with VARISIFT_UPDATE_EXPECTED=1";
  const std::string expected = e2e::read_file(file);
  EXPECT_TRUE(expected == actual) << file_name << " differs from line " << first_different_line(expected, actual);
}

// The image numbers of the per-image outlier table, in the order it lists
// them (time order).
std::vector<int> images_in_time_order(const std::string& console) {
  std::vector<int> images;
  const std::string heading = "Image Time           Number\r\n";
  std::size_t at = console.find(heading);
  if (at == std::string::npos) return images;
  for (at += heading.size(); at < console.size() && console.compare(at, 12, "Observation ") != 0;) {
    images.push_back(std::stoi(console.substr(at, 5)));
    at = console.find('\n', at);
    if (at == std::string::npos) break;
    ++at;
  }
  return images;
}

std::vector<int> one_to(int n) {
  std::vector<int> numbers;
  for (int k = 1; k <= n; ++k) numbers.push_back(k);
  return numbers;
}

class EdgeSeriesRun : public ::testing::TestWithParam<EdgeCase> {
 protected:
  void SetUp() override {
    sim::Series series = small_series();
    if (GetParam().change != nullptr) GetParam().change(series);
    {
      std::ofstream log(dir_.path() / "Skymensor.log", std::ios::binary);
      sim::write_log(series, log);
      std::ofstream vsx(dir_.path() / "vsx.dat", std::ios::binary);
      sim::write_vsx(series, vsx);
    }
    run_ = e2e::run_varisift(dir_.path());
    ASSERT_EQ(run_.exit_status, 0);
  }
  e2e::TempDir dir_;
  e2e::RunOutput run_;
};

using EdgeSeriesGolden = EdgeSeriesRun;

TEST_P(EdgeSeriesGolden, ConsoleAndReportEqualTheExpectedBytes) {
  compare_with_expected("edge_" + GetParam().name + ".console.txt", run_.console);
  compare_with_expected("edge_" + GetParam().name + ".report.txt",
                        e2e::without_run_times(e2e::read_file(dir_.path() / "Varisift.log")));
  if (e2e::updating_expected_files()) GTEST_SKIP() << "wrote the expected files of " << GetParam().name;
}

// The exchange sort puts the images in time order; equal stamps end in the
// order its exchanges leave them (B1 B2 B3 A gives A B2 B3 B1, B1 B2 A gives
// A B2 B1), which a stable sort would not give.
using EdgeSeriesTimeOrder = EdgeSeriesRun;

TEST_P(EdgeSeriesTimeOrder, ImagesInTheOrderOfTheExchangeSort) {
  std::vector<int> expected = one_to(36);
  if (GetParam().name == "equal_stamps") {
    expected[4] = 8, expected[5] = 6, expected[6] = 7, expected[7] = 5;
    expected[11] = 14, expected[12] = 13, expected[13] = 12;
  } else if (GetParam().name == "reversed") {
    expected = std::vector<int>(expected.rbegin(), expected.rend());
  }
  EXPECT_EQ(images_in_time_order(run_.console), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EdgeSeriesGolden, ::testing::ValuesIn(edge_cases()), case_name);
INSTANTIATE_TEST_SUITE_P(Cases, EdgeSeriesTimeOrder, ::testing::ValuesIn(edge_cases()), case_name);

#endif  // SIMULATE_BINARY

}  // namespace
