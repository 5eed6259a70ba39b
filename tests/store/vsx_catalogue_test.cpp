// Loading the VSX catalogue: the fixed columns of a catalogue line, the flag
// that leaves an entry out, short lines, the console progress line of
// vsx.dat in the working directory, gzip data told by its bytes, a
// catalogue of millions of entries, and the limits beyond which a file is
// no catalogue (4 GiB of text, 50 million entries).
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "io/report_channel.h"
#include "store/vsx_reader.h"

namespace varisift {
namespace {

constexpr std::string_view sample =
    " 100000 CSS_J131313.4+280319           0 198.30567 +28.05533 SR|L                             16.186  r       "
    "17.022  r";

std::string patched(int column, std::string_view text) {
  std::string line(sample);
  line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
  return line;
}

struct Entry {
  std::int32_t id, ra, dec;
  std::int16_t mag;
  std::string name;
  bool operator==(const Entry&) const = default;
};

std::optional<Entry> loaded(std::string_view line) {
  VsxCatalogue catalogue;
  add_vsx_line(catalogue, line);
  if (catalogue.count() == 0) return std::nullopt;
  const VsxEntry& e = catalogue.entries[0];
  return Entry{e.id, e.ra, e.dec, e.mag, std::string(catalogue.name(e))};
}

void PrintTo(const Entry& e, std::ostream* os) {
  *os << e.id << " '" << e.name << "' " << e.ra << " " << e.dec << " " << e.mag;
}

TEST(VsxCatalogue, ReadsTheColumnsOfALine) {
  // 198.30567 deg = 13h13m13.361s; +28.05533 deg; 16.186 mag rounded.
  const Entry base{100000, 47593361, 10099919, 1619, "CSS_J131313.4+280319"};
  auto with = [&](auto change) {
    Entry e = base;
    change(e);
    return e;
  };
  struct Row {
    const char* what;
    std::string line;
    std::optional<Entry> expected;
  };
  const std::vector<Row> rows = {
      {"sample", std::string(sample), base},
      {"south", patched(52, "-12.50000"), with([](Entry& e) { e.dec = -4500000; })},
      {"12 hours", patched(42, "180.00000"), with([](Entry& e) { e.ra = 43200000; })},
      {"magnitude 12.34", patched(95, " 12.34"), with([](Entry& e) { e.mag = 1234; })},
      {"magnitude 9.5", patched(95, "  9.5 "), with([](Entry& e) { e.mag = 950; })},
      {"name with blanks", patched(9, "  V0564 Vir                  "), with([](Entry& e) { e.name = "V0564 Vir"; })},
      {"flag 2 skipped", patched(40, "2"), std::nullopt},
      {"flag 1", patched(40, "1"), base},
      {"flag 3", patched(40, "3"), base},
      {"flag blank", patched(40, " "), base},
      {"flag letter", patched(40, "x"), base},
      {"shorter than the flag", "      7 Short", Entry{7, 0, 0, 0, "Short"}},
      {"ends on a flag 2", patched(40, "2").substr(0, 40), std::nullopt},
      {"ends on a flag 0", std::string(sample.substr(0, 40)), Entry{100000, 0, 0, 0, "CSS_J131313.4+280319"}},
      {"ends inside the RA", std::string(sample.substr(0, 45)), Entry{100000, 47520000, 0, 0, "CSS_J131313.4+280319"}},
      {"empty line", "", Entry{0, 0, 0, 0, ""}},
  };
  for (const Row& row : rows) EXPECT_EQ(loaded(row.line), row.expected) << row.what;
}

TEST(VsxCatalogue, LoadsEveryEntryOfAFullSizeCatalogue) {
  constexpr std::uint32_t total = 2'400'000;
  VsxCatalogue catalogue;
  std::string line(sample);
  char id[16];
  for (std::uint32_t i = 1; i <= total; ++i) {
    std::snprintf(id, sizeof id, "%7u", i);
    line.replace(0, 7, id, 7);
    add_vsx_line(catalogue, line);
  }
  ASSERT_EQ(catalogue.count(), total);
  EXPECT_EQ(catalogue.entries[499'999].id, 500'000);
  EXPECT_EQ(catalogue.entries[500'000].id, 500'001);
  EXPECT_EQ(catalogue.entries.back().id, 2'400'000);
  EXPECT_EQ(catalogue.entries.back().dec, 10099919);
  EXPECT_EQ(catalogue.name(catalogue.entries.back()), "CSS_J131313.4+280319");
}

// Runs in a fresh directory that is removed afterwards; the working
// directory is restored.
class VsxCatalogueFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::filesystem::current_path();
    std::random_device seed;
    do dir_ = std::filesystem::temp_directory_path() / ("vsx_test_" + std::to_string(seed()));
    while (!std::filesystem::create_directory(dir_));
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(saved_);
    std::filesystem::remove_all(dir_);
  }
  static void write_catalogue(const std::string& bytes, const char* name = "vsx.dat") {
    std::FILE* f = std::fopen(name, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  static void write_gzip_catalogue(const std::string& bytes, const char* name) {
    gzFile f = gzopen(name, "wb");
    gzwrite(f, bytes.data(), static_cast<unsigned>(bytes.size()));
    gzclose(f);
  }

  std::filesystem::path saved_, dir_;
};

TEST_F(VsxCatalogueFile, ConsoleLineCountsTheLoadedEntries) {
  struct Row {
    const char* what;
    std::optional<std::string> file;
    std::string console;
    std::uint32_t count;
  };
  const std::string flagged = patched(40, "2");
  const std::vector<Row> rows = {
      {"no file", std::nullopt, "", 0},
      {"empty file", "", "Reading VSX catalog...number of VSX stars: 0\r\n", 0},
      {"mixed line ends, one flagged 2",
       std::string(sample) + "\r\n" + flagged + "\r" + std::string(sample) + "\n" + std::string(sample),
       "Reading VSX catalog...number of VSX stars: 3\r\n", 3},
  };
  for (const Row& row : rows) {
    std::filesystem::remove("vsx.dat");
    if (row.file) write_catalogue(*row.file);
    VsxCatalogue catalogue;
    ReportChannel out;
    EXPECT_TRUE(read_vsx_beside_log(catalogue, "vsx.dat", out)) << row.what;
    EXPECT_EQ(out.collected(Destination::console), row.console) << row.what;
    EXPECT_EQ(out.collected(Destination::report), "") << row.what;
    EXPECT_EQ(catalogue.count(), row.count) << row.what;
  }
}

// A catalogue is read compressed by its first two bytes, whatever its name,
// and a name ending in .gz promises them. The first entry comes whole: its
// first byte is the first after the gzip header.
TEST_F(VsxCatalogueFile, GzipDataToldByItsBytesAndPromisedByTheName) {
  struct Row {
    const char* name;
    bool gzip;
    std::string error;
  };
  const std::vector<Row> rows = {
      {"cat.dat", false, ""},
      {"cat.dat", true, ""},
      {"cat.dat.gz", true, ""},
      {"cat.gz", false, "is no gzip file"},
  };
  const std::string text = std::string(sample) + "\r\n" + patched(1, "      7") + "\r\n";
  for (const Row& row : rows) {
    std::filesystem::remove(row.name);
    if (row.gzip)
      write_gzip_catalogue(text, row.name);
    else
      write_catalogue(text, row.name);
    VsxCatalogue catalogue;
    EXPECT_EQ(load_vsx_file(catalogue, row.name), row.error) << row.name;
    if (!row.error.empty()) continue;
    ASSERT_EQ(catalogue.count(), 2u) << row.name;
    const VsxEntry& first = catalogue.entries[0];
    EXPECT_EQ((Entry{first.id, first.ra, first.dec, first.mag, std::string(catalogue.name(first))}),
              (Entry{100000, 47593361, 10099919, 1619, "CSS_J131313.4+280319"}))
        << row.name;
  }
}

// Beyond 4 GiB of text a catalogue is damaged or crafted, and reading
// stops; exactly 4 GiB is still read. The file is sparse: lines of 1 MiB
// of zero bytes, each an entry, then one byte more.
TEST_F(VsxCatalogueFile, AtMost4GiBOfText) {
#ifdef _WIN32
  GTEST_SKIP() << "NTFS would write the holes of the 4 GiB file out in full";
#endif
  constexpr std::uint64_t mib = std::uint64_t{1} << 20, gib_4 = std::uint64_t{4} << 30;
  {
    std::ofstream file("big.dat", std::ios::binary);
    for (std::uint64_t end = mib; end <= gib_4; end += mib) {
      file.seekp(static_cast<std::streamoff>(end - 1));
      file.put('\n');
    }
  }
  VsxCatalogue exactly;
  EXPECT_EQ(load_vsx_file(exactly, "big.dat"), "");
  EXPECT_EQ(exactly.count(), 4096u);
  std::filesystem::resize_file("big.dat", gib_4 + 1);
  VsxCatalogue one_byte_more;
  EXPECT_EQ(load_vsx_file(one_byte_more, "big.dat"), "holds more than 4 GiB of text");
}

// Beyond 50 million entries reading stops too; the 50 millionth is still
// read. The limit is on the entries the catalogue holds, so a catalogue
// filled to one below it stands in for a file of 50 million lines.
TEST_F(VsxCatalogueFile, AtMost50MillionEntries) {
  write_catalogue("      7 Short\n", "one.dat");
  VsxCatalogue catalogue;
  catalogue.entries.reserve(50'000'001);
  catalogue.entries.resize(49'999'999);
  EXPECT_EQ(load_vsx_file(catalogue, "one.dat"), "");
  EXPECT_EQ(catalogue.count(), 50'000'000u);
  EXPECT_EQ(load_vsx_file(catalogue, "one.dat"), "holds more than 50000000 entries");
}

}  // namespace
}  // namespace varisift
