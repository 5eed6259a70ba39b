// The shortcuts of the measurement-line reader (digit columns read directly,
// signs read from the text) give exactly the values of reading every column
// with text_to_number, on random lines of digits, signs, points, exponents
// and junk.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "io/line_reader.h"
#include "io/report_channel.h"
#include "store/log_parser.h"
#include "store/measurement_line.h"
#include "store/observation_store.h"
#include "text/number_text.h"
#include "text/text.h"

namespace varisift {
namespace {

// The plain reading of every column.
double column(std::string_view line, int first, int last) {
  return text_to_number(mid_text(line, first, last - first + 1));
}
double sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }
std::int64_t magnitude(std::int64_t v) { return v >= 0 ? v : (v == INT64_MIN ? INT64_MAX : -v); }

MeasurementValues plain_reading(std::string_view l) {
  MeasurementValues v;
  v.ra =
      round_to_s32(column(l, 3, 4) * 3600000 + column(l, 6, 7) * 60000 + column(l, 9, 10) * 1000 + column(l, 12, 14));
  double dec = column(l, 27, 28) * 360000 + column(l, 30, 31) * 6000 + column(l, 33, 34) * 100 + column(l, 36, 37);
  if (find_text(1, mid_text(l, 26, 2), "-") > 0) dec = -dec;
  v.dec = round_to_s32(dec);
  v.dra = magnitude(round_to_int64(sgn(column(l, 18, 22)) * (column(l, 19, 19) * 100 + column(l, 21, 22)) * 10));
  v.ddec = magnitude(round_to_int64(sgn(column(l, 41, 45)) * (column(l, 42, 42) * 100 + column(l, 44, 45))));
  double whole = column(l, 49, 50);
  v.mag = round_to_s16(sgn(column(l, 48, 53)) * ((whole < 0 ? -whole : whole) * 100 + column(l, 52, 53)));
  v.dmag = magnitude(round_to_int64(sgn(column(l, 57, 61)) * (column(l, 58, 58) * 100 + column(l, 60, 61))));
  v.flux = round_to_int64(column(l, 82, 88));
  v.fwhm = round_to_u8(column(l, 91, 92) * 10 + column(l, 94, 94));
  v.peak = round_to_int64(column(l, 96, 99) * 10 + column(l, 101, 101));
  v.rms = round_to_int64(column(l, 103, 104) * 1000 + column(l, 106, 108));
  return v;
}

TEST(MeasurementColumns, ShortcutsEqualThePlainReadingOnRandomLines) {
  const std::string alphabet = "   0123456789012345678901234567890123456789+-.eEdD()x";
  const std::string sample =
      "  02 59 46.559  (+0.36)  +30 01 05.62  (+0.67)  15.84   -0.05   1526.25   846.66   92250   2.6   43.0  0.093";
  std::mt19937 rng(20171);
  for (int round = 0; round < 200000; ++round) {
    std::string line = sample;
    // Change a few columns of a real line, or make a line of random bytes.
    if (round % 4 == 0) {
      line.resize(std::uniform_int_distribution<std::size_t>(0, 120)(rng));
      for (char& c : line) c = alphabet[rng() % alphabet.size()];
    } else {
      int changes = 1 + static_cast<int>(rng() % 6);
      for (int k = 0; k < changes; ++k) line[rng() % line.size()] = alphabet[rng() % alphabet.size()];
      if (rng() % 8 == 0) line.resize(rng() % line.size());
    }
    MeasurementValues fast = parse_measurement_line(line);
    MeasurementValues plain = plain_reading(line);
    ASSERT_EQ(fast.ra, plain.ra) << line;
    ASSERT_EQ(fast.dec, plain.dec) << line;
    ASSERT_EQ(fast.mag, plain.mag) << line;
    ASSERT_EQ(fast.fwhm, plain.fwhm) << line;
    ASSERT_EQ(fast.dra, plain.dra) << line;
    ASSERT_EQ(fast.ddec, plain.ddec) << line;
    ASSERT_EQ(fast.dmag, plain.dmag) << line;
    ASSERT_EQ(fast.flux, plain.flux) << line;
    ASSERT_EQ(fast.peak, plain.peak) << line;
    ASSERT_EQ(fast.rms, plain.rms) << line;
  }
}

}  // namespace
}  // namespace varisift

namespace varisift {
namespace {

// A table large enough to be read on both cores gives the values and sums of
// reading its lines one by one.
TEST(MeasurementColumns, LargeTableReadOnTwoCoresEqualsLineByLine) {
  std::mt19937 rng(77);
  auto r = [&](unsigned limit) { return static_cast<unsigned>(rng() % limit); };
  std::vector<std::string> lines;
  for (int k = 0; k < 9000; ++k) {
    char line[128];
    std::snprintf(
        line, sizeof line,
        "  %02u %02u %02u.%03u   %+.2f   %c%02u %02u %02u.%02u   %+.2f   %5.2f   %+.2f   1526.25   846.66 %7u   %2u.%u"
        "  %4u.%u  %u.%03u",
        r(24), r(60), r(60), r(1000), (r(200)) / 100.0 - 1, r(2) ? '+' : '-', r(90), r(60), r(60), r(100),
        (r(200)) / 100.0 - 1, 8 + (r(1200)) / 100.0, (r(100)) / 100.0 - 0.5, r(9999999), r(30), r(10), r(9999), r(10),
        r(10), r(1000));
    lines.push_back(line);
  }
  std::string log =
      "           Image 1: C:\\obs\\big.fit\r\n           Time Stamp: 2019 10 12, 19:04:07.2 UT\r\n"
      "Photometry of Image 1 (big.fit):\r\n ----------\r\n";
  for (const std::string& l : lines) log += l + "\r\n";
  log += "end\r\n";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(log.data(), 1, log.size(), file);
  std::rewind(file);
  ObservationStore store;
  LineReader reader(file);
  ReportChannel out;
  ASSERT_EQ(read_measurement_log(store, reader, out), RunFlow::go_on);
  std::fclose(file);

  const Image& image = store.images[1];
  ASSERT_EQ(image.meas_count(), lines.size());
  std::int64_t ra = 0, dec = 0, dra = 0, flux = 0, rms = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    MeasurementValues v = parse_measurement_line(lines[k]);
    ASSERT_EQ(image.meas[k].ra, v.ra);
    ASSERT_EQ(image.meas[k].dec, v.dec);
    ASSERT_EQ(image.meas[k].mag, v.mag);
    ASSERT_EQ(image.line_start(static_cast<std::uint32_t>(k + 1)), std::string_view(lines[k]).substr(0, 62));
    ra += v.ra;
    dec += v.dec;
    dra += v.dra;
    flux += v.flux;
    rms += v.rms;
  }
  EXPECT_EQ(image.sums.ra, ra);
  EXPECT_EQ(image.sums.dec, dec);
  EXPECT_EQ(image.sums.dra, dra);
  EXPECT_EQ(image.sums.flux, flux);
  EXPECT_EQ(image.sums.rms, rms);
}

}  // namespace
}  // namespace varisift
