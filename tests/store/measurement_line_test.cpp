// The fixed columns of a photometry table line: position, residuals in and
// out of parentheses, magnitude signs, FWHM in 8 bits, and short lines.
#include "store/measurement_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varisift {
namespace {

// A measurement line as Skymensor writes it.
constexpr std::string_view sample =
    "  02 59 33.155   +0.09   +29 57 53.00   +0.12   17.03  (+0.93)  2022.40  1394.08   30829   2.6   26.3  0.110";

using Fields = std::array<std::int64_t, 10>;
enum Field { ra, dec, dra, ddec, mag, dmag, flux, fwhm, peak, rms };

Fields fields_of(std::string_view line) {
  MeasurementValues v = parse_measurement_line(line);
  return {v.ra, v.dec, v.dra, v.ddec, v.mag, v.dmag, v.flux, v.fwhm, v.peak, v.rms};
}

// The sample with text written over it from a 1-based column on.
std::string patched(int column, std::string_view text) {
  std::string line(sample);
  line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
  return line;
}

TEST(MeasurementLine, ReadsEveryColumnOfASampleLine) {
  // 02h59m33.155s; +29 57 53.00; residuals 0.09" x 1000, 0.12", 0.93 mag.
  const Fields expected = {10773155, 10787300, 90, 12, 1703, 93, 30829, 26, 263, 110};
  EXPECT_EQ(fields_of(sample), expected);
}

TEST(MeasurementLine, SignsResidualsAndNarrowFields) {
  struct Row {
    const char* what;
    int column;
    std::string_view text;
    Field field;
    std::int64_t expected;
  };
  const std::vector<Row> rows = {
      {"south", 26, "-29 57 53.00", dec, -10787300},
      {"-00 degrees", 26, "-00 00 00.50", dec, -50},
      {"-0 degrees", 26, " -0 30 00.00", dec, -180000},
      {"+00 degrees", 26, "+00 00 00.50", dec, 50},
      {"RA residual in parentheses", 17, "(-1.66)", dra, 1660},
      {"RA residual -0.00", 18, "-0.00", dra, 0},
      {"RA residual units digit only", 18, "12.34", dra, 2340},
      {"Dec residual in parentheses", 40, "(-2.22)", ddec, 222},
      {"Dec residual -0.00", 41, "-0.00", ddec, 0},
      {"Dec residual units digit only", 41, "12.34", ddec, 234},
      {"magnitude residual negative", 57, "-0.18", dmag, 18},
      {"magnitude residual units digit only", 57, "12.34", dmag, 234},
      {"magnitude 12.34", 48, " 12.34", mag, 1234},
      {"magnitude -0.50", 48, " -0.50", mag, -50},
      {"magnitude -1.50", 48, " -1.50", mag, -150},
      {"magnitude -9.99", 48, " -9.99", mag, -999},
      {"magnitude -12.34", 48, "-12.34", mag, -1234},
      {"magnitude 0.00", 48, "  0.00", mag, 0},
      {"FWHM 25.5 fits 8 bits", 91, "25.5", fwhm, 255},
      {"FWHM 25.6 wraps to 0", 91, "25.6", fwhm, 0},
      {"FWHM 30.0 wraps to 44", 91, "30.0", fwhm, 44},
      {"peak", 96, "1234.5", peak, 12345},
      {"rms", 103, "12.345", rms, 12345},
  };
  for (const Row& row : rows) EXPECT_EQ(fields_of(patched(row.column, row.text))[row.field], row.expected) << row.what;
}

TEST(MeasurementLine, ShortLinesReadMissingColumnsAsZero) {
  struct Row {
    std::size_t length;
    Fields expected;
  };
  const std::vector<Row> rows = {
      {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {10, {10773000, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {28, {10773155, 10440000, 90, 0, 0, 0, 0, 0, 0, 0}},
      {50, {10773155, 10787300, 90, 12, 1700, 0, 0, 0, 0, 0}},
      {90, {10773155, 10787300, 90, 12, 1703, 93, 30829, 0, 0, 0}},
  };
  for (const Row& row : rows) EXPECT_EQ(fields_of(sample.substr(0, row.length)), row.expected) << row.length;
}

}  // namespace
}  // namespace varisift
