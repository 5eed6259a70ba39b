// The results table of the report file: the row of a reported star (position
// and catalogue magnitude of its last measurement, extremes and time span of
// all, largest FWHM of the valid ones), the columns of a matching catalogue
// entry, and header, row and console line as written.
#include "detect/results_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::LogLine;
using detect_fixtures::read_log;
using detect_fixtures::set_stars;

// 5h 12m 33.456s and +45 30' 15.25" in the units of the row.
constexpr std::int64_t example_ra = 5 * 3600000 + 12 * 60000 + 33456;
constexpr std::int64_t example_dec = 45 * 360000 + 30 * 6000 + 1525;
constexpr const char* example_row =
    "   1  5 12 33.456 +45 30 15.25 12.34 12.10 12.80  0.70   25  12    25000 20170301180000 20170302000000   3.2";

StarAnalysis candidate_1() {
  StarAnalysis a;
  a.candidate_number = 1;
  a.curve.star = 1;
  a.walk.inlier_count = 25;
  a.weighted_criterion.per_measurement = 12;
  return a;
}

TEST(ResultsRow, ColumnsOfACandidate) {
  struct Case {
    std::int64_t ra, dec;
    const char* position;  // R.A and DEC columns
  };
  const Case cases[] = {
      {example_ra, example_dec, " 5 12 33.456 +45 30 15.25"},
      {example_ra, 0, " 5 12 33.456 - 0  0  0.00"},  // zero declination has the minus sign
      {example_ra, -(10 * 360000 + 30 * 6000 + 1550), " 5 12 33.456 -10 30 15.50"},
      {example_ra, 1, " 5 12 33.456 + 0  0  0.01"},
      {86399999, example_dec, "23 59 59.999 +45 30 15.25"},
      {-9, example_dec, "-1 59 59.991 +45 30 15.25"},  // just before 0h: hours are floored
  };
  for (const Case& c : cases) {
    RowValues row{.ra = c.ra,
                  .dec = c.dec,
                  .cat_mag = 1234,
                  .mag_min = 1210,
                  .mag_max = 1280,
                  .first_time_key = "20170301180000",
                  .last_time_key = "20170302000000",
                  .fwhm_max = 32};
    std::string text = results_row(row, candidate_1());
    EXPECT_EQ(text.substr(5, 25), c.position);
    if (c.ra == example_ra && c.dec == example_dec) {
      EXPECT_EQ(text, example_row);
    }
  }
}

TEST(VsxColumns, CatalogueEntryAfterTheRow) {
  struct Case {
    std::int32_t ra, dec;
    const char* columns;
  };
  constexpr std::int32_t ra = 5 * 3600000 + 12 * 60000;
  constexpr std::int32_t dec = 45 * 360000 + 31 * 6000;
  const Case cases[] = {
      {ra + 30040, dec + 200, " 12.5  5 12 30.0 + 45 31  2 VSX 12345 = V0001 Cyg"},
      // Seconds round to 60 in their masks, without carry into the minutes.
      {ra + 59960, dec + 5950, " 12.5  5 12 60.0 + 45 31 60 VSX 12345 = V0001 Cyg"},
      // Southern and zero declinations have a one-character sign.
      {ra + 30040, -(dec + 200), " 12.5  5 12 30.0- 45 31  2 VSX 12345 = V0001 Cyg"},
      {0, 0, " 12.5  0  0  0.0-  0  0  0 VSX 12345 = V0001 Cyg"},
  };
  for (const Case& c : cases) {
    VsxCatalogue catalogue;
    detect_fixtures::add_vsx_entry(catalogue, 12345, c.ra, c.dec, 1250, "V0001 Cyg");
    EXPECT_EQ(vsx_columns(catalogue, catalogue.entries[0]), c.columns);
  }
}

TEST(GatherRowValues, LastMeasurementGivesThePositionAllGiveTheExtremes) {
  // Registered out of time order; the last in time order (image 3) lies in
  // an image without valid data.
  ObservationStore store = read_log({
      {"20170301200000", {{.ra = "01 02 03.000", .mag = 12.20, .fwhm = 3.0}}},
      {"20170301180000", {{.ra = "01 02 03.000", .mag = 11.90, .fwhm = 2.5}}},
      {"20170302010000",
       {{.ra = "01 02 03.004", .dec = "-10 30 15.50", .mag = 13.50, .mag_residual = -0.25, .fwhm = 9.9}}},
      {"20170301190000", {{.ra = "01 02 03.000", .mag = 12.20, .fwhm = 3.4}}},
  });
  store.image_order = {0, 2, 4, 1, 3};
  set_stars(store, {detect_fixtures::one_per_image(1, 4)});
  store.images[3].no_valid_data = true;
  RowValues row = gather_row_values(store, 1);
  EXPECT_EQ(row.ra, 3600000 + 2 * 60000 + 3004);
  EXPECT_EQ(row.dec, -(10 * 360000 + 30 * 6000 + 1550));
  EXPECT_EQ(row.cat_mag, 1375);  // 13.50 - (-0.25)
  EXPECT_EQ(row.mag_min, 1190);
  EXPECT_EQ(row.mag_max, 1350);  // the excluded image counts here
  EXPECT_EQ(row.first_time_key, "20170301180000");
  EXPECT_EQ(row.last_time_key, "20170302010000");
  EXPECT_EQ(row.fwhm_max, 34);  // but not for the FWHM
}

TEST(GatherRowValues, ResidualsCorrectThePosition) {
  // The RA residual in arcseconds counts x 1000 / 15 / cos(dec) in ms of time.
  struct Case {
    std::string dec;
    double ra_residual, dec_residual;
    std::int64_t ra, row_dec;
  };
  const Case cases[] = {
      {"+00 00 00.00", 0.15, 0.12, example_ra - 10, -12},
      {"+60 00 00.00", 0.15, -0.12, example_ra - 20, 60 * 360000 + 12},
      {"-60 00 00.00", -0.30, 0.0, example_ra + 40, -60 * 360000},
  };
  for (const Case& c : cases) {
    LogLine line{.ra_residual = c.ra_residual, .dec = c.dec, .dec_residual = c.dec_residual};
    ObservationStore store = read_log({{"20170301180000", {LogLine{}}}, {"20170301190000", {line}}});
    set_stars(store, {detect_fixtures::one_per_image(1, 2)});
    RowValues row = gather_row_values(store, 1);
    EXPECT_EQ(row.ra, c.ra) << c.dec;
    EXPECT_EQ(row.dec, c.row_dec) << c.dec;
  }
}

TEST(GatherRowValues, OnlyTheFirstSignColumnMakesTheRowSouth) {
  // The store reads " -0" as south (a "-" in either sign column); the row
  // looks at the first sign column alone.
  struct Case {
    std::string dec;
    std::int64_t row_dec, stored_dec;
  };
  const Case cases[] = {
      {"-00 00 00.50", -50, -50},
      {" -0 30 00.00", 30 * 6000, -30 * 6000},
      {"+10 30 15.50", 10 * 360000 + 30 * 6000 + 1550, 10 * 360000 + 30 * 6000 + 1550},
  };
  for (const Case& c : cases) {
    ObservationStore store = read_log({{"20170301180000", {LogLine{}}}, {"20170301190000", {{.dec = c.dec}}}});
    set_stars(store, {detect_fixtures::one_per_image(1, 2)});
    EXPECT_EQ(gather_row_values(store, 1).dec, c.row_dec) << c.dec;
    EXPECT_EQ(store.images[2].measurement(1).dec, c.stored_dec) << c.dec;
  }
}

TEST(ResultsTable, HeaderOnceThenTheRowWithItsCatalogueMatch) {
  // The example candidate measured in three images; the last one gives the
  // catalogue magnitude 12.44 - 0.10.
  ObservationStore store = read_log({{"20170301180000", {{.mag = 12.10, .fwhm = 3.2}}},
                                     {"20170301210000", {{.mag = 12.80, .fwhm = 3.0}}},
                                     {"20170302000000", {{.mag = 12.44, .mag_residual = 0.10, .fwhm = 2.9}}}});
  set_stars(store, {detect_fixtures::one_per_image(1, 3)});
  // FWHM 3.2: a window of 32000 / 15 / cos(45.5 deg) ms in RA, 1600 in Dec.
  auto ra = static_cast<std::int32_t>(example_ra);
  auto dec = static_cast<std::int32_t>(example_dec);
  detect_fixtures::add_vsx_entry(store.vsx, 11, ra, dec + 1600, 1100, "just too far north");
  detect_fixtures::add_vsx_entry(store.vsx, 12345, ra - 2456, dec - 1325, 1250, "V0001 Cyg");
  detect_fixtures::add_vsx_entry(store.vsx, 13, ra, dec, 1300, "closer but later");
  ReportChannel out;
  ResultsTable table;
  table.write_header_once(out);
  table.write_header_once(out);
  table.write_row(store, candidate_1(), out);
  EXPECT_EQ(out.collected(Destination::report),
            "Num- R.A          DEC          V/Cat V/Min V/Max   dV  Meas Cri Interval YearDate/Start YearDate/End    "
            "FWHM  VSX VSX (RA)   VSX (Dec) VSX\r\n"
            "ber  hh mm ss.sss +dd mm ss.ss mm.mm mm.mm mm.mm mm.mm nnnn per ssssssss yyyymmddhhmmss yyyymmddhhmmss   "
            "max Magn hh mm ss.s +DD mm ss Designation\r\n" +
                std::string(example_row) + " 12.5  5 12 31.0 + 45 30  2 VSX 12345 = V0001 Cyg\r\n");
  EXPECT_EQ(out.collected(Destination::console), "Star found, is VSX 12345 = V0001 Cyg\r\n");
}

}  // namespace
}  // namespace varisift
