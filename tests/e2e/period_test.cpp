// Periods of a simulated series of three nights: stars.csv of a run with
// --periods-all against a reviewed file, the rows of a run without it, and
// a period range given by the user.
//
// The reviewed file (tests/e2e/expected/periods/stars.csv) was checked by
// hand against the simulator's truth.txt for star 17, a pulsating variable
// of 0.6610376 d (found 0.661071 d, its maximum 0.03 cycle after the
// truth's once the heliocentric correction of +0.0048 d is taken off), and
// star 3, an eclipsing one of 0.3864679 d whose periodogram peaks at twice
// its frequency (found 0.386921 d by doubling, its primary minimum 0.013
// cycle after the truth's). After a deliberate change regenerate it with
// VARISIFT_UPDATE_EXPECTED=1 and review it again.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "run_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::lines_of;
using e2e::read_file;
using e2e::TempDir;

constexpr const char* series =
    "--preset three-nights --seed 3 --stars 150 --field 9 --variables 10 --amplitudes 0.3:1.5";
// The period columns, the last seven of stars.csv.
constexpr std::size_t period_columns = 7;

std::vector<std::string> fields_of(const std::string& row) {
  std::vector<std::string> fields;
  std::stringstream in(row);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  if (!row.empty() && row.back() == ',') fields.push_back("");
  return fields;
}

// stars.csv by star number; the simulated catalogue's names hold no comma.
std::map<std::string, std::vector<std::string>> rows_by_star(const std::string& csv) {
  std::map<std::string, std::vector<std::string>> rows;
  for (const std::string& line : lines_of(csv)) {
    std::vector<std::string> f = fields_of(line);
    rows[f[0]] = f;
  }
  return rows;
}

class PeriodSeries : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ready_ = e2e::run_simulator(series, dir_->path());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "the simulator is not built here";
  }
  // stars.csv of a run with the given options.
  static std::string stars_csv(const std::string& options) {
    fs::remove_all(dir_->path() / "out");
    const e2e::RunOutput run = e2e::run_varisift_with(dir_->path(), "--csv out " + options);
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    return read_file(dir_->path() / "out" / "stars.csv");
  }
  static TempDir* dir_;
  static bool ready_;
};

TempDir* PeriodSeries::dir_ = nullptr;
bool PeriodSeries::ready_ = false;

TEST_F(PeriodSeries, EveryStarWithStatisticsEqualsTheReviewedFile) {
  const std::string all = stars_csv("--periods-all");
  const fs::path file = fs::path(E2E_DATA_DIR) / "periods" / "stars.csv";
  if (e2e::updating_expected_files()) {
    fs::create_directories(file.parent_path());
    e2e::write_file(file, all);
    GTEST_SKIP() << "wrote " << file;
  }
  EXPECT_EQ(all, read_file(file));
  // Stars with statistics (n_inliers) were searched, no other.
  int searched = 0;
  for (const auto& [star, f] : rows_by_star(all)) {
    if (star == "star" || f.back().empty()) continue;
    ++searched;
    EXPECT_FALSE(f[6].empty()) << "star " << star;
  }
  EXPECT_GT(searched, 100);
}

// Without --periods-all the candidates and index-flagged stars are
// searched, with the same results; the other rows keep empty columns.
TEST_F(PeriodSeries, TheDefaultRunSearchesTheFlaggedStarsAlike) {
  auto all = rows_by_star(stars_csv("--periods-all"));
  int searched = 0;
  for (const auto& [star, f] : rows_by_star(stars_csv(""))) {
    if (star == "star") continue;
    const bool flagged = f[13] == "1" || f[22] == "1";
    EXPECT_EQ(!f.back().empty(), flagged) << "star " << star;
    if (flagged) ++searched;
    const std::vector<std::string>& other = all[star];
    for (std::size_t k = f.size() - period_columns; k < f.size(); ++k)
      EXPECT_EQ(f[k], flagged ? other[k] : "") << "star " << star << ", column " << k;
  }
  EXPECT_GT(searched, 5);
}

// Periods from 0.2 to 0.5 days: the frequencies 2 to 5 per day, so every
// period found lies there, or at twice that when doubled; none is a lower
// limit, since twice 0.5 days is below half the span of 2.2 days.
TEST_F(PeriodSeries, APeriodRangeBoundsThePeriodsFound) {
  int doubled = 0, rows = 0;
  for (const auto& [star, f] : rows_by_star(stars_csv("--periods-all --period-min 0.2 --period-max 0.5"))) {
    if (star == "star" || f.back().empty()) continue;
    ++rows;
    const double period = std::stod(f[f.size() - period_columns]);
    EXPECT_NE(f.back(), "long") << "star " << star;
    EXPECT_GE(period, 0.2) << "star " << star;
    EXPECT_LE(period, 1.0) << "star " << star;
    if (period > 0.5) ++doubled;
  }
  EXPECT_GT(rows, 100);
  EXPECT_LT(doubled, rows);
}

}  // namespace
