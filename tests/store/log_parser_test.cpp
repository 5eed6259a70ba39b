// Scanning a Skymensor measurement log into the observation store: sessions,
// image lines and their time lines, duplicate images, the photometry key of
// a table, lines that are never scanned, repeated tables, per-image sums, the
// three conditions that stop the run, and line ends and bytes as they come.
#include "store/log_parser.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/parameters.h"

namespace varisift {
namespace {

// Measurement lines of the sample layout; the last one south of the equator
// by half a hundredth of an arcsecond and brighter than magnitude -1.
const std::string row1 =
    "  02 59 33.155   +0.09   +29 57 53.00   +0.12   17.03  (+0.93)  2022.40  1394.08   30829   2.6   26.3  0.110";
const std::string row2 =
    "  02 59 46.559  (+0.36)  +30 01 05.62  (+0.67)  15.84   -0.05   1526.25   846.66   92250   2.6   43.0  0.093";
const std::string row3 =
    "  02 59 51.081  (-1.66)  +29 56 32.92  (-2.22)  16.57  (-0.18)  1359.83  1622.43   47094   2.5   34.0  0.124";
const std::string row4 =
    "  03 00 18.801   +0.08   -00 00 00.50   -0.01   -1.50   +0.13    335.14   161.72  233866   2.6   65.9  0.083";

const std::string heading_ra =
    "     RA           dRA        Dec.        dDec     G      dG         x        y      Flux  FWHM   Peak    Fit";
const std::string heading_units =
    "   h  m   s        \"       \xB0  '   \"       \"      mag     mag                         ADU    \"     SNR    "
    "RMS";
const std::string dashes(109, '-');
const std::string table_end = "08:30:15 - Astrometry of Image 9 (next.fit): \n";
const std::string indent(15, ' ');

std::string image(int n, std::string_view path, std::string_view clock = "19:04:07.2") {
  return "           Image " + std::to_string(n) + ": " + std::string(path) + "\n           Time Stamp: 2019 10 12, " +
         std::string(clock) + " UT\n";
}

std::string lines(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& r : rows) text += r + "\n";
  return text;
}

// A photometry block for the file name; its table holds the rows and is
// ended by the line after them.
std::string photometry(std::string_view file, const std::string& rows, const std::string& end = table_end) {
  return "08:30:14 - Photometry of Image 1 (" + std::string(file) + "): \n" +
         "           11 of 13 Reference Stars used: dmag = 0.16mag\n" + heading_ra + "\n" + heading_units + "\n " +
         dashes + "\n" + rows + end;
}

struct Scan {
  ObservationStore store;
  RunFlow flow = RunFlow::go_on;
  std::string console, report;
};

Scan scan(const std::string& log) {
  Scan s;
  std::FILE* file = std::tmpfile();
  std::fwrite(log.data(), 1, log.size(), file);
  std::rewind(file);
  LineReader reader(file);
  ReportChannel out;
  s.flow = read_measurement_log(s.store, reader, out);
  s.console = out.collected(Destination::console);
  s.report = out.collected(Destination::report);
  std::fclose(file);
  return s;
}

std::array<std::int64_t, 10> sums_of(const Image& image) {
  const ImageSums& s = image.sums;
  return {s.ra, s.dec, s.dra, s.ddec, s.mag, s.dmag, s.flux, s.fwhm, s.peak, s.rms};
}

TEST(LogParser, LoadsImagesTablesAndSums) {
  const Scan s = scan("08:29:42 - Start 2019/10/13\n" + image(1, "D:\\Astro\\F0300-0001-V.fit") +
                      image(2, "D:\\Astro\\F0300-0002-V.fit", "19:08:58.5") + "             Image flipped: yes\n" +
                      photometry("F0300-0001-V.fit", lines({row1, row2, row3, row4})) +
                      photometry("F0300-0002-V.fit", lines({row1.substr(0, 20)})));
  EXPECT_EQ(s.flow, RunFlow::go_on);
  EXPECT_EQ(s.console, "");
  EXPECT_EQ(s.report, "");
  ASSERT_EQ(s.store.image_count(), 2);
  EXPECT_EQ(s.store.session_count, 1);
  EXPECT_EQ(s.store.current_image, 2);
  EXPECT_EQ(s.store.image_order, (std::vector<std::uint8_t>{0, 1, 2}));
  EXPECT_EQ(s.store.table_header[0], indent + heading_ra);
  EXPECT_EQ(s.store.table_header[1], indent + heading_units);

  const Image& first = s.store.images[1];
  EXPECT_EQ(first.name, "D:\\Astro\\F0300-0001-V.fit");
  EXPECT_EQ(first.time, "20191012190407");
  ASSERT_EQ(first.meas_count(), 4);
  const Measurement& south = first.measurement(4);
  EXPECT_EQ(south.ra, 10818801);
  EXPECT_EQ(south.dec, -50);
  EXPECT_EQ(south.mag, -150);
  EXPECT_EQ(south.fwhm, 26);
  EXPECT_EQ(south.free, 1);
  EXPECT_EQ(south.star, 0u);
  // ra, dec (signed), |dRA| x 1000, |dDec|, mag, |dmag|, flux, fwhm, peak, rms
  const std::array<std::int64_t, 10> sums = {43169596, 32373104, 2190, 302, 4794, 129, 404039, 103, 1692, 410};
  EXPECT_EQ(sums_of(first), sums);
  EXPECT_EQ(first.shown_text(1), "20191012190407 " + row1.substr(0, 62));

  const Image& second = s.store.images[2];
  EXPECT_EQ(second.time, "20191012190858");
  ASSERT_EQ(second.meas_count(), 1);
  EXPECT_EQ(second.shown_text(1), "20191012190858 " + row1.substr(0, 20));
  EXPECT_EQ(second.measurement(1).dec, 0);
}

TEST(LogParser, RegistersOnlyNumberedImageLines) {
  struct Row {
    std::string line;
    std::string name;  // empty: nothing registered
  };
  const std::vector<Row> rows = {
      {"           Image 1: D:\\Astro\\a.fit", "D:\\Astro\\a.fit"},
      {"           Image 12: C:\\obs\\m67_012.fit   ", "C:\\obs\\m67_012.fit"},
      {"           Image 2: " + std::string(90, 'p') + "\\long.fit", std::string(90, 'p') + "\\long.fit"},
      {"             Image flipped: yes", ""},
      {"             Image flipped: no", ""},
      {"             Image flipped:  horizontally", ""},
      {"           Image 3: C:\\obs\\photo_no", ""},
      {"           Image 3: C:\\obs\\eyes", ""},
      {"           Image : C:\\obs\\a.fit", ""},
      {"           Image 4:C:\\obs\\a.fit", ""},
      {"08:30:14 - Object List for Image 1 (a.fit): ", ""},
  };
  for (const Row& row : rows) {
    const Scan s = scan(row.line + "\n           Time Stamp: 2019 10 12, 19:04:07.2 UT\n");
    ASSERT_EQ(s.store.image_count(), row.name.empty() ? 0 : 1) << row.line;
    if (!row.name.empty()) {
      EXPECT_EQ(s.store.images[1].name, row.name);
    }
  }
}

TEST(LogParser, TimeStampFromTheTimeLine) {
  struct Row {
    std::string clock;
    std::string stamp;
  };
  const std::vector<Row> rows = {
      {"19:04:07.2", "20191012190407"},
      {" 9:05:07.0", "20191012090507"},
      {" 0:00:00.0", "20191012000000"},
      {"23:59:59.9", "20191012235959"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(scan(image(1, "a.fit", row.clock)).store.images.at(1).time, row.stamp) << row.clock;
}

TEST(LogParser, DuplicateImageIsReportedAndStillSelectsItsTable) {
  const Scan s = scan(image(1, "D:\\a.fit") + image(2, "D:\\b.fit") + image(3, "D:\\a.fit") + image(4, "D:\\a.fit") +
                      "08:30:14 - Astrometry done\n " + dashes + "\n" + lines({row1}));
  EXPECT_EQ(s.console, "File 'D:\\a.fit' has a multiple entry.\r\nFile 'D:\\a.fit' has a multiple entry.\r\n");
  ASSERT_EQ(s.store.image_count(), 2);
  EXPECT_EQ(s.store.images[1].meas_count(), 1);
  EXPECT_EQ(s.store.images[2].meas_count(), 0);
}

TEST(LogParser, PhotometryKeySelectsTheLatestImageEndingWithIt) {
  struct Row {
    const char* what;
    std::vector<std::string> paths;
    std::uint8_t selected;
  };
  const std::vector<Row> rows = {
      {"most recent of two", {"D:\\n1\\m31_001.fit", "D:\\n2\\m31_001.fit", "D:\\n3\\m31_002.fit"}, 2},
      {"after a path separator only", {"D:\\n1\\m31_001.fit", "D:\\n2\\xm31_001.fit"}, 1},
  };
  for (const Row& row : rows) {
    std::string log;
    for (std::size_t i = 0; i < row.paths.size(); ++i) log += image(static_cast<int>(i + 1), row.paths[i]);
    const Scan s = scan(log + photometry("m31_001.fit", lines({row1})));
    EXPECT_EQ(s.store.current_image, row.selected) << row.what;
    for (std::size_t i = 1; i <= row.paths.size(); ++i)
      EXPECT_EQ(s.store.images[i].meas_count(), i == row.selected ? 1 : 0) << row.what << " image " << i;
  }
}

TEST(LogParser, SessionsAndLinesThatAreNotScanned) {
  const std::string start = "08:29:42 - Start 2019/10/13\n";
  struct Row {
    const char* what;
    std::string log;
    std::uint8_t sessions;
    std::uint16_t images;
  };
  const std::vector<Row> rows = {
      {"empty log", "", 1, 0},
      {"first line does not count", start, 1, 0},
      {"later starts count", start + start + image(1, "a.fit") + start, 3, 1},
      {"start on a later line only", image(1, "a.fit") + start, 2, 1},
      {"line ending a table", image(1, "D:\\a.fit") + photometry("a.fit", lines({row1}), start), 1, 1},
      {"line after a heading", heading_ra + "\n" + start, 1, 0},
      {"image line after a heading", heading_ra + "\n" + image(1, "a.fit"), 1, 0},
  };
  for (const Row& row : rows) {
    const Scan s = scan(row.log);
    EXPECT_EQ(s.flow, RunFlow::go_on) << row.what;
    EXPECT_EQ(s.store.session_count, row.sessions) << row.what;
    EXPECT_EQ(s.store.image_count(), row.images) << row.what;
  }
}

TEST(LogParser, OnlyALineEndingInFiveDashesStartsATable) {
  const std::string astrometry = image(1, "D:\\a.fit") + "08:30:14 - Astrometry of Image 1 (a.fit): \n";
  struct Row {
    const char* what;
    std::string line;
    std::uint16_t measurements;
  };
  const std::vector<Row> rows = {
      {"dashes inside the line", "----- plate solution -----  (note)", 0},
      {"dashes at the end", "----- plate solution -----", 1},
      {"dashes before trailing blanks", " -----   ", 1},
      {"four dashes", " ----", 0},
  };
  for (const Row& row : rows) {
    const Scan s = scan(astrometry + row.line + "\n" + lines({row1}));
    ASSERT_EQ(s.store.image_count(), 1) << row.what;
    EXPECT_EQ(s.store.images[1].meas_count(), row.measurements) << row.what;
  }
}

TEST(LogParser, HeadingKeepsTheFollowingLineAsRead) {
  const Scan s = scan("  RA dRA   \n  units line   \n");
  EXPECT_EQ(s.store.table_header[0], indent + "  RA dRA");
  EXPECT_EQ(s.store.table_header[1], indent + "  units line   ");
}

TEST(LogParser, LaterTableReplacesTheEarlierOne) {
  std::string first, second;
  for (int i = 0; i < 100; ++i) first += row1 + "\n";
  for (int i = 0; i < 80; ++i) second += row2 + "\n";
  const Scan s = scan(image(1, "D:\\a.fit") + photometry("a.fit", first) + photometry("a.fit", second));
  const Image& img = s.store.images.at(1);
  ASSERT_EQ(img.meas_count(), 80);
  EXPECT_EQ(img.measurement(80).ra, 10786559);
  const std::array<std::int64_t, 10> sums = {80 * 10786559, 80 * 10806562, 80 * 360, 80 * 67,  80 * 1584,
                                             80 * 5,        80 * 92250,    80 * 26,  80 * 430, 80 * 93};
  EXPECT_EQ(sums_of(img), sums);
}

TEST(LogParser, StopsTheRun) {
  std::string many_images, many_rows;
  for (int i = 1; i <= 210; ++i) many_images += image(i, "D:\\f\\img" + std::to_string(i) + ".fit");
  for (int i = 0; i < 20000; ++i) many_rows += row1 + "\n";
  const std::string not_found = "' not found. Severe program or data error. Please send Skymenso.log file to " +
                                std::string(contact_address) + "\r\nEnd of program\r\n";
  struct Row {
    const char* what;
    std::string log;
    std::string console;
    std::uint16_t images;
    std::uint16_t last_table;
  };
  const std::vector<Row> rows = {
      {"210th image", many_images, "Number of images exceeds 209.\r\n", 209, 0},
      {"table before any image", heading_ra + "\n" + heading_units + "\n " + dashes + "\n" + lines({row1}),
       "'" + not_found, 0, 0},
      {"table for an unknown image", image(1, "D:\\a.fit") + photometry("zz.fit", lines({row1})),
       "'\\zz.fit" + not_found, 1, 0},
      {"20000th line of a table", image(1, "D:\\a.fit") + photometry("a.fit", many_rows),
       "Too much stars, more than 19999. Program stops.\r\n", 1, 19999},
  };
  for (const Row& row : rows) {
    const Scan s = scan(row.log);
    EXPECT_EQ(s.flow, RunFlow::stop) << row.what;
    EXPECT_EQ(s.console, row.console) << row.what;
    ASSERT_EQ(s.store.image_count(), row.images) << row.what;
    if (row.images > 0) {
      EXPECT_EQ(s.store.images[row.images].meas_count(), row.last_table) << row.what;
    }
  }
}

TEST(LogParser, MixedLineEndsAndLatin1Bytes) {
  const Scan s = scan(
      "08:29:42 - Start 2019/10/13\r\n           Image 1: D:\\Beob\\M\xF6we-01.fit\r"
      "           Time Stamp: 2019 10 12, 19:04:07.2 UT\n"
      "08:30:14 - Photometry of Image 1 (M\xF6we-01.fit): \r" +
      heading_ra + "\r\n" + heading_units + "\r " + dashes + "\n" + row1 + "\r" + row2 + "\r\n" + row3 + "\n\r" +
      image(2, "D:\\Beob\\M\xF6we-02.fit", " 9:05:07.0"));
  ASSERT_EQ(s.store.image_count(), 2);
  EXPECT_EQ(s.store.images[1].name, "D:\\Beob\\M\xF6we-01.fit");
  EXPECT_EQ(s.store.images[1].time, "20191012190407");
  EXPECT_EQ(s.store.images[1].meas_count(), 3);
  EXPECT_EQ(s.store.images[1].measurement(3).dec, 10779292);
  EXPECT_EQ(s.store.table_header[1], indent + heading_units);
  EXPECT_EQ(s.store.images[2].time, "20191012090507");
  EXPECT_EQ(s.console, "");
}

}  // namespace
}  // namespace varisift
