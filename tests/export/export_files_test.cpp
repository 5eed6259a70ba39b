// The files of a CSV folder: those an earlier export left are replaced as a
// set, any other file is the user's and makes --csv wrong use, and no other
// export or the report may lie inside the folder.
#include "export/export_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace varisift {
namespace {

namespace fs = std::filesystem;

class CsvFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    do dir_ = fs::temp_directory_path() / ("csv_folder_test_" + std::to_string(seed()));
    while (!fs::create_directory(dir_));
  }
  void TearDown() override { fs::remove_all(dir_); }
  // A fresh folder "out" holding the named files.
  std::string folder_with(const std::vector<std::string>& names) const {
    fs::remove_all(dir_ / "out");
    fs::create_directory(dir_ / "out");
    for (const std::string& name : names) std::ofstream(dir_ / "out" / name) << "earlier\r\n";
    return (dir_ / "out").string();
  }
  fs::path dir_;
};

TEST_F(CsvFolder, HoldsOnlyAnEarlierRunsCsvFilesAndNoOtherOutput) {
  struct Case {
    const char* in_folder;  // a file in the folder
    const char* page;       // --html, relative to the temporary folder ("" for none)
    const char* report;     // the report, relative to the temporary folder
    bool wrong_use;
  };
  const Case cases[] = {
      {"stars.csv", "", "Varisift.log", false},
      {"lc_17.csv", "", "Varisift.log", false},
      {"stars.csv.part", "", "Varisift.log", false},  // a write that was cut short
      {"lc_17.csv.part", "", "Varisift.log", false},
      {"lc_.csv", "", "Varisift.log", true},  // no star number: the user's
      {"lc_x.csv", "", "Varisift.log", true},
      {"lc_17.csv.bak", "", "Varisift.log", true},
      {"stars.csv", "out/page.html", "Varisift.log", true},
      {"stars.csv", "", "out/Varisift.log", true},
  };
  for (const Case& c : cases) {
    ExportRequest request;
    request.csv_folder = folder_with({c.in_folder});
    if (*c.page != '\0') request.html_file = (dir_ / c.page).string();
    const std::string error = check_export_destinations(request, {(dir_ / c.report).string()});
    EXPECT_EQ(!error.empty(), c.wrong_use) << c.in_folder << " " << c.page << " " << c.report << ": " << error;
  }
}

// Earlier light curves that the new set does not write go, and so do the
// pieces of an earlier write that was cut short.
TEST_F(CsvFolder, TheNewSetReplacesEveryEarlierFile) {
  const std::string folder = folder_with({"stars.csv", "lc_5.csv", "lc_5.csv.part", "stars.csv.part", "lc_7.csv"});
  ASSERT_EQ(write_csv_set(folder, {{"stars.csv", "new\r\n"}, {"lc_7.csv", "new\r\n"}}), "");
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"stars.csv", "lc_7.csv"}));
}

}  // namespace
}  // namespace varisift
