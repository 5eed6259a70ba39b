// The console listing of the loaded fields: field list, raw list of fields
// with the floored means through their masks, the mean magnitude range, and
// the processed-images line with the sessions notice.
#include "fields/field_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::add_image;
using detect_fixtures::lines_of;
using detect_fixtures::LogLine;

const char* const heading = "Nr. YYYYMMDDhhmmss    RA(h)   dRA   Dec(d) dDEC MMmm dMag   FluxFWHMPeak   RMS";

TEST(FieldList, OneFieldWithTwoMeasurements) {
  // RA 43200000.5 -> 43200000, Dec -1000.5 -> -1001, magnitude 1234.5 ->
  // 1234; |dRA| 105 thousandths, |dDec| 8.5 -> 8, |dMag| 49, flux 61539.5,
  // FWHM 26.5 tenths, peak 346.5 tenths -> 34.6 -> 35, RMS 101.5 thousandths.
  std::vector<LogLine> lines = {
      {.ra = "12 00 00.000",
       .ra_residual = 0.09,
       .dec = "-00 00 10.00",
       .dec_residual = 0.12,
       .mag = 12.34,
       .mag_residual = 0.93,
       .flux = 30829,
       .fwhm = 2.6,
       .peak = 26.3,
       .rms = 0.110},
      {.ra = "12 00 00.001",
       .ra_residual = -0.12,
       .dec = "-00 00 10.01",
       .dec_residual = -0.05,
       .mag = 12.35,
       .mag_residual = -0.05,
       .flux = 92250,
       .fwhm = 2.7,
       .peak = 43.0,
       .rms = 0.093},
  };
  ObservationStore store = detect_fixtures::read_log({{"20191012190407", lines}});
  ReportChannel out;
  write_field_list(store, out);
  EXPECT_EQ(out.collected(Destination::console),
            std::string("  1:D:\\obs\\img001.fit (2 obs)\r\n"
                        "\r\n"
                        "Raw list of fields, not sorted by time.\r\n") +
                heading +
                "\r\n"
                "  1:20191012190407 43200000 0.105     -1001 0.08 1234 0.49  61539 2.6  35 0.101\r\n"
                "Mean Mag range in images: 12.34-12.34 magnitudes.\r\n"
                "\r\n");
  EXPECT_EQ(out.collected(Destination::report), "");
}

TEST(FieldList, WithoutFieldsTheRangeKeepsItsStartValues) {
  ObservationStore store;
  ReportChannel out;
  write_field_list(store, out);
  EXPECT_EQ(out.collected(Destination::console), std::string("\r\nRaw list of fields, not sorted by time.\r\n") +
                                                     heading +
                                                     "\r\nMean Mag range in images: 99.99-%-99.99 magnitudes.\r\n\r\n");
}

TEST(FieldList, RegistrationOrderEmptyFieldsAndPeakRounding) {
  ObservationStore store;
  add_image(store, "20170302000000", std::vector<std::int16_t>(123, 1301));  // later, registered first
  add_image(store, "20170301180000", {1234});
  add_image(store, "20170301190000", {});  // no measurements: zeros, and no part in the range
  store.images[2].sums.peak = 12345;       // tenths: 1234.5
  store.images[2].sums.fwhm = 25;
  store.image_order = {0, 2, 3, 1};
  ReportChannel out;
  write_field_list(store, out);
  std::vector<std::string> lines = lines_of(out.collected(Destination::console));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "  1:img001.fit (123 obs)");
  EXPECT_EQ(lines[2], "  3:img003.fit (0 obs)");
  EXPECT_EQ(lines[6], "  1:20170302000000        0 0.000         0 0.00 1301 0.00      0 0.0   0 0.000");
  EXPECT_EQ(lines[7], "  2:20170301180000        0 0.000         0 0.00 1234 0.00      0 2.51235 0.000");
  EXPECT_EQ(lines[8], "  3:20170301190000        0 0.000         0 0.00 0 0.00      0 0.0   0 0.000");
  EXPECT_EQ(lines[9], "Mean Mag range in images: 12.34-13.01 magnitudes.");
}

TEST(ProcessedNotice, NamesTheLastTableAndTheSessions) {
  struct Case {
    std::uint8_t current_image, sessions;
    const char* console;
  };
  const Case cases[] = {
      {3, 1, "Processed 3 images\r\nNotice: Skymensor.log has 1 sessions!\r\n"},
      {0, 4, "Processed 0 images\r\nNotice: Skymensor.log has 4 sessions!\r\n"},
      {5, 0, "Processed 5 images\r\n"},  // a session count wrapped to 0 has no notice
  };
  for (const Case& c : cases) {
    ObservationStore store;
    store.current_image = c.current_image;
    store.session_count = c.sessions;
    ReportChannel out;
    write_processed_notice(store, out);
    EXPECT_EQ(out.collected(Destination::console), c.console);
  }
}

}  // namespace
}  // namespace varisift
