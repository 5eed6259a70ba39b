// Tests of the observation-series simulator: its portable arithmetic, the
// exact bytes of single lines (checked against lines of real layout), the
// columns of whole generated logs cut the way the log reader cuts them, the
// realism each preset claims, determinism, and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calendar.h"
#include "command_line.h"
#include "light_curve.h"
#include "line_format.h"
#include "nightly_systematic.h"
#include "portable_math.h"
#include "presets.h"
#include "random.h"
#include "series.h"
#include "sky_geometry.h"
#include "text_format.h"

namespace varisift::simulate {
namespace {

// ---------------------------------------------------------------- helpers

constexpr int max_table_lines = 19999;

SeriesOptions preset(std::string_view name, std::uint64_t seed = 1) {
  SeriesOptions options;
  options.seed = seed;
  EXPECT_TRUE(apply_preset(name, options)) << name;
  return options;
}

std::string log_text(const Series& series) {
  std::ostringstream out;
  write_log(series, out);
  return out.str();
}

std::string vsx_text(const Series& series) {
  std::ostringstream out;
  write_vsx(series, out);
  return out.str();
}

// Lines as a reader sees them: LF, CR LF and a lone CR all end a line.
std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else {
      current += c;
    }
  }
  if (!current.empty()) {
    lines.push_back(current);
  }
  return lines;
}

std::string trim_right(std::string s) {
  while (!s.empty() && s.back() == ' ') {
    s.pop_back();
  }
  return s;
}

// Columns a..b (1-based, inclusive); empty beyond the end of the line.
std::string cut(const std::string& line, int a, int b) {
  if (static_cast<int>(line.size()) < a) {
    return "";
  }
  return line.substr(static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - a + 1));
}

// The number in a cut field: blanks around it allowed, empty gives 0.
double number(const std::string& field) {
  std::string t;
  for (char c : field) {
    if (c != ' ') {
      t += c;
    }
  }
  if (t.empty()) {
    return 0.0;
  }
  return std::stod(t);
}

long long n(const std::string& line, int a, int b) { return std::llround(number(cut(line, a, b))); }

int sign_of(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// A measurement line read by columns, with the sign rules of the log reader.
struct ReadRow {
  long long ra_ms;
  long long dec_cas;
  long long ra_residual;  // hundredths
  long long dec_residual;
  long long mag;
  long long mag_residual;
  long long flux;
  long long fwhm;
  long long peak;
  long long rms;
};

ReadRow read_row(const std::string& line) {
  ReadRow r{};
  r.ra_ms = n(line, 3, 4) * 3600000 + n(line, 6, 7) * 60000 + n(line, 9, 10) * 1000 + n(line, 12, 14);
  r.dec_cas = n(line, 27, 28) * 360000 + n(line, 30, 31) * 6000 + n(line, 33, 34) * 100 + n(line, 36, 37);
  if (cut(line, 26, 27).find('-') != std::string::npos) {
    r.dec_cas = -r.dec_cas;
  }
  r.ra_residual = sign_of(number(cut(line, 18, 22))) * (n(line, 19, 19) * 100 + n(line, 21, 22));
  r.dec_residual = sign_of(number(cut(line, 41, 45))) * (n(line, 42, 42) * 100 + n(line, 44, 45));
  r.mag = sign_of(number(cut(line, 48, 53))) * (n(line, 49, 50) * 100 + n(line, 52, 53));
  r.mag_residual = sign_of(number(cut(line, 57, 61))) * (n(line, 58, 58) * 100 + n(line, 60, 61));
  r.flux = n(line, 82, 88);
  r.fwhm = n(line, 91, 92) * 10 + n(line, 94, 94);
  r.peak = n(line, 96, 99) * 10 + n(line, 101, 101);
  r.rms = n(line, 103, 104) * 1000 + n(line, 106, 108);
  return r;
}

// The photometry tables of a log, in order: the lines after each line of
// five dashes that begin with a blank.
std::vector<std::vector<std::string>> tables_in(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> tables;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = trim_right(lines[i]);
    if (line.size() < 5 || line.compare(line.size() - 5, 5, "-----") != 0) {
      continue;
    }
    std::vector<std::string> rows;
    while (i + 1 < lines.size() && !lines[i + 1].empty() && lines[i + 1][0] == ' ') {
      rows.push_back(lines[++i]);
    }
    tables.push_back(rows);
  }
  return tables;
}

std::vector<const PhotometryTable*> model_tables(const Series& series) {
  std::vector<const PhotometryTable*> tables;
  for (const Session& session : series.sessions) {
    for (const PhotometryTable& table : session.tables) {
      tables.push_back(&table);
    }
  }
  return tables;
}

std::size_t count_of(const std::string& text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

std::string measurement(const Measurement& row) {
  std::string out;
  append_measurement_line(out, row);
  return out;
}

// ---------------------------------------------------------------- arithmetic

TEST(PortableMath, AgreesWithTheStandardLibraryToAFewUlps) {
  for (double x = -30.0; x <= 30.0; x += 0.0137) {
    EXPECT_NEAR(portable_exp(x), std::exp(x), std::exp(x) * 4e-16) << x;
    EXPECT_NEAR(portable_sin(x), std::sin(x), 4e-16) << x;
    EXPECT_NEAR(portable_cos(x), std::cos(x), 4e-16) << x;
  }
  for (double x = 1e-12; x < 1e12; x *= 1.37) {
    EXPECT_NEAR(portable_log(x), std::log(x), 4e-16 * std::max(1.0, std::fabs(std::log(x)))) << x;
  }
}

TEST(PortableMath, KnownValues) {
  EXPECT_DOUBLE_EQ(portable_exp(0.0), 1.0);
  EXPECT_DOUBLE_EQ(portable_exp(1.0), 2.718281828459045);
  EXPECT_DOUBLE_EQ(portable_log(1.0), 0.0);
  EXPECT_DOUBLE_EQ(portable_log10(1000.0), 3.0);
  EXPECT_DOUBLE_EQ(portable_pow10(2.0), 100.0);
  EXPECT_NEAR(portable_sin_deg(30.0), 0.5, 1e-15);
  EXPECT_NEAR(portable_cos_deg(60.0), 0.5, 1e-15);
  EXPECT_NEAR(portable_cos_deg(90.0), 0.0, 1e-15);
  EXPECT_EQ(portable_log(0.0), -1e300);
  EXPECT_EQ(portable_log(-1.0), -1e300);
}

TEST(Random, SameSeedSameSequenceAndStreamsDiffer) {
  Random a(42);
  Random b(42);
  Random c(43);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const std::uint64_t x = a.next();
    EXPECT_EQ(x, b.next());
    differs = differs || x != c.next();
  }
  EXPECT_TRUE(differs);
  EXPECT_NE(stream_seed(1, 1), stream_seed(1, 2));
  EXPECT_NE(stream_seed(1, 1), stream_seed(2, 1));
}

TEST(Random, KnownFirstValuesOfXoshiro) {
  // splitmix64 from 0 gives the published first output 0xE220A8397B1DCDAF.
  std::uint64_t state = 0;
  EXPECT_EQ(splitmix64(state), 0xE220A8397B1DCDAFULL);
  // The sequence must never change: series made by older builds stay valid.
  Random r(12345);
  const std::uint64_t first = r.next();
  Random again(12345);
  EXPECT_EQ(first, again.next());
}

TEST(Random, DistributionsHaveTheirShape) {
  Random r(7);
  constexpr int samples = 200000;
  double sum = 0;
  double sum_squares = 0;
  double uniform_min = 1;
  double uniform_max = 0;
  int below_hits[5] = {0, 0, 0, 0, 0};
  for (int i = 0; i < samples; ++i) {
    const double g = r.normal();
    sum += g;
    sum_squares += g * g;
    const double u = r.uniform();
    uniform_min = std::min(uniform_min, u);
    uniform_max = std::max(uniform_max, u);
    ++below_hits[r.below(5)];
    const double l = r.log_uniform(0.05, 2.0);
    ASSERT_GE(l, 0.05);
    ASSERT_LT(l, 2.0 + 1e-12);
  }
  EXPECT_NEAR(sum / samples, 0.0, 0.01);
  EXPECT_NEAR(sum_squares / samples, 1.0, 0.01);
  EXPECT_GE(uniform_min, 0.0);
  EXPECT_LT(uniform_max, 1.0);
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(below_hits[k], samples / 5, samples / 100) << k;
  }
}

TEST(Calendar, DayCountsAndLeapYears) {
  EXPECT_EQ(days_from_civil(1970, 1, 1), 0);
  EXPECT_EQ(days_from_civil(2000, 3, 1), 11017);
  EXPECT_EQ(days_from_civil(2020, 3, 1) - days_from_civil(2020, 2, 28), 2);
  EXPECT_EQ(days_from_civil(2019, 3, 1) - days_from_civil(2019, 2, 28), 1);
  EXPECT_EQ(days_from_civil(2100, 3, 1) - days_from_civil(2100, 2, 28), 1);
  for (std::int64_t day = -800; day < 40000; day += 13) {
    const CalendarTime t = calendar_time(day * tenths_per_day + 123456);
    EXPECT_EQ(days_from_civil(t.year, t.month, t.day), day);
    EXPECT_EQ(t.hour, 3);
    EXPECT_EQ(t.minute, 25);
    EXPECT_EQ(t.second, 45);
    EXPECT_EQ(t.tenth, 6);
  }
}

TEST(Calendar, DayFractionOfReportDates) {
  const std::int64_t noon = tenths_at(2019, 10, 12, 12.0);
  EXPECT_EQ(day_fraction_millionths(noon), 500000);
  EXPECT_EQ(day_fraction_millionths(tenths_at(2019, 10, 12, 0.0)), 0);
  EXPECT_EQ(day_fraction_millionths(tenths_at(2019, 10, 13, 0.0) - 1), 999999);
}

// ---------------------------------------------------------------- single lines

TEST(TextFormat, FixedPointAndIntegers) {
  struct Case {
    std::int64_t scaled;
    int decimals;
    int width;
    Sign sign;
    bool force_minus;
    std::string expected;
  };
  const Case cases[] = {
      {9, 2, 5, Sign::always, false, "+0.09"},
      {-3, 2, 5, Sign::always, false, "-0.03"},
      {0, 2, 5, Sign::always, true, "-0.00"},
      {0, 2, 5, Sign::always, false, "+0.00"},
      {1703, 2, 6, Sign::minus_only, false, " 17.03"},
      {-50, 2, 6, Sign::minus_only, false, " -0.50"},
      {110, 3, 7, Sign::minus_only, false, "  0.110"},
      {4500000, 5, 9, Sign::always, false, "+45.00000"},
      {-168451, 5, 9, Sign::always, false, " -1.68451"},
      {123456, 2, 3, Sign::minus_only, false, "1234.56"},
  };
  for (const Case& c : cases) {
    std::string out;
    append_fixed(out, c.scaled, c.decimals, c.width, c.sign, c.force_minus);
    EXPECT_EQ(out, c.expected);
  }
  std::string out;
  append_int(out, 30829, 8);
  append_int(out, -7, 3);
  append_zero_padded(out, 5, 3);
  append_left(out, "ab", 4);
  append_left(out, "abcdef", 3);
  EXPECT_EQ(out, "   30829 -7005ab  abc");
}

// Lines of the real layout, with the numbers they hold.
TEST(MeasurementLine, MatchesRealLinesByteForByte) {
  Measurement row;
  row.ra_ms = 2 * 3600000 + 59 * 60000 + 33155;
  row.ra_residual = 9;
  row.dec_cas = 29 * 360000 + 57 * 6000 + 5300;
  row.dec_residual = 12;
  row.mag = 1703;
  row.mag_residual = 93;
  row.photometry_excluded = true;
  row.x_hundredths = 202240;
  row.y_hundredths = 139408;
  row.flux = 30829;
  row.fwhm_tenths = 26;
  row.peak_tenths = 263;
  row.rms_thousandths = 110;
  EXPECT_EQ(
      measurement(row),
      "  02 59 33.155   +0.09   +29 57 53.00   +0.12   17.03  (+0.93)  2022.40  1394.08   30829   2.6   26.3  0.110");

  Measurement excluded;
  excluded.ra_ms = 2 * 3600000 + 59 * 60000 + 46559;
  excluded.ra_residual = 36;
  excluded.dec_cas = 30 * 360000 + 1 * 6000 + 562;
  excluded.dec_residual = 67;
  excluded.astrometry_excluded = true;
  excluded.mag = 1584;
  excluded.mag_residual = -5;
  excluded.mag_residual_minus = true;
  excluded.x_hundredths = 152625;
  excluded.y_hundredths = 84666;
  excluded.flux = 92250;
  excluded.fwhm_tenths = 26;
  excluded.peak_tenths = 430;
  excluded.rms_thousandths = 93;
  EXPECT_EQ(
      measurement(excluded),
      "  02 59 46.559  (+0.36)  +30 01 05.62  (+0.67)  15.84   -0.05   1526.25   846.66   92250   2.6   43.0  0.093");

  Measurement negative_zero;
  negative_zero.ra_ms = 2 * 3600000 + 59 * 60000 + 50087;
  negative_zero.ra_residual = 0;
  negative_zero.ra_residual_minus = true;
  negative_zero.dec_cas = 29 * 360000 + 57 * 6000 + 5174;
  negative_zero.dec_residual = 30;
  negative_zero.mag = 1803;
  negative_zero.mag_residual = 12;
  negative_zero.x_hundredths = 139642;
  negative_zero.y_hundredths = 139906;
  negative_zero.flux = 12273;
  negative_zero.fwhm_tenths = 27;
  negative_zero.peak_tenths = 154;
  negative_zero.rms_thousandths = 129;
  EXPECT_EQ(
      measurement(negative_zero),
      "  02 59 50.087   -0.00   +29 57 51.74   +0.30   18.03   +0.12   1396.42  1399.06   12273   2.7   15.4  0.129");
}

TEST(MeasurementLine, SouthernDeclinationsKeepTheirSignColumn) {
  Measurement row;
  row.dec_cas = -(4 * 6000 + 1250);  // -00 04 12.50
  const std::string line = measurement(row);
  EXPECT_EQ(cut(line, 26, 37), "-00 04 12.50");
  row.dec_cas = -50;
  EXPECT_EQ(cut(measurement(row), 26, 37), "-00 00 00.50");
  row.dec_cas = -(85 * 360000 + 59 * 6000 + 5999);
  EXPECT_EQ(cut(measurement(row), 26, 37), "-85 59 59.99");
  row.ra_ms = 86399999;
  EXPECT_EQ(cut(measurement(row), 3, 14), "23 59 59.999");
}

TEST(MeasurementLine, MotionAndTimeStampLines) {
  Measurement row;
  row.ra_ms = 2 * 3600000 + 59 * 60000 + 51081;
  row.dec_cas = 29 * 360000 + 56 * 6000 + 3292;
  row.mag = 1656;
  row.mag_residual = -20;
  row.mag_residual_minus = true;
  row.x_hundredths = 135947;
  row.y_hundredths = 162262;
  row.flux = 47376;
  row.fwhm_tenths = 27;
  row.peak_tenths = 209;
  row.rms_thousandths = 36;
  std::string motion;
  append_motion_line(motion, row, 48801, -59589);
  EXPECT_EQ(
      motion,
      "  02 59 51.081 +488.01   +29 56 32.92 -595.89   16.56   -0.20   1359.47  1622.62   47376   2.7   20.9  0.036");

  std::string stamp;
  append_time_stamp_line(stamp, tenths_at(2019, 10, 12, 19.0) + 4 * 600 + 72, true);
  EXPECT_EQ(stamp, "           Time Stamp: 2019 10 12, 19:04:07.2 UT");
  EXPECT_EQ(cut(stamp, 24, 27), "2019");
  EXPECT_EQ(cut(stamp, 29, 30), "10");
  EXPECT_EQ(cut(stamp, 32, 33), "12");
  stamp.clear();
  append_time_stamp_line(stamp, tenths_at(2019, 10, 13, 9.0) + 5 * 600 + 72, true);
  EXPECT_EQ(stamp, "           Time Stamp: 2019 10 13,  9:05:07.2 UT");
  stamp.clear();
  append_time_stamp_line(stamp, tenths_at(2019, 10, 13, 9.0) + 5 * 600 + 72, false);
  EXPECT_EQ(stamp, "           Time Stamp: 2019 10 13, 09:05:07.2 UT");
}

TEST(VsxLine, MatchesRealLinesByteForByte) {
  VsxEntry periodic;
  periodic.id = 100004;
  periodic.name = "V0564 Vir";
  periodic.ra_e5 = 28641670;
  periodic.dec_e5 = 2099514;
  periodic.type = "EA";
  periodic.max_mag_thousandths = 19254;
  periodic.min_mag_thousandths = 21092;
  periodic.band = "r";
  periodic.has_period = true;
  periodic.epoch_e4 = 24542433438;
  periodic.period_e10 = 3817029487095;
  std::string out;
  append_vsx_line(out, periodic);
  EXPECT_EQ(out,
            " 100004 V0564 Vir                      0 286.41670 +20.99514 EA                               "
            "19.254  r       21.092  r      2454243.3438   381.7029487095");

  VsxEntry small;
  small.id = 100053;
  small.name = "NSVS 13203477";
  small.ra_e5 = 34805192;
  small.dec_e5 = 292529;
  small.type = "E|ROT";
  small.max_mag_thousandths = 9109;
  small.min_mag_thousandths = 9275;
  small.band = "g";
  small.has_period = true;
  small.epoch_e4 = 24547256620;
  small.period_e10 = 405777335852;
  out.clear();
  append_vsx_line(out, small);
  EXPECT_EQ(out,
            " 100053 NSVS 13203477                  0 348.05192  +2.92529 E|ROT                             "
            "9.109  g        9.275  g      2454725.6620    40.5777335852");

  VsxEntry uncertain;
  uncertain.id = 100031;
  uncertain.name = "Gaia DR2 4502594156094343231";
  uncertain.ra_e5 = 4674587;
  uncertain.dec_e5 = -5274058;
  uncertain.type = "L";
  uncertain.max_mag_thousandths = 13412;
  uncertain.max_uncertain = true;
  uncertain.min_mag_thousandths = 14600;
  uncertain.band = "CV";
  out.clear();
  append_vsx_line(out, uncertain);
  EXPECT_EQ(out,
            " 100031 Gaia DR2 4502594156094343231   0  46.74587 -52.74058 L                                "
            "13.412: CV      14.600  CV");

  uncertain.max_mag_thousandths = 9500;
  uncertain.max_mag_decimals = 1;
  uncertain.flag = '2';
  out.clear();
  append_vsx_line(out, uncertain);
  EXPECT_EQ(cut(out, 95, 100), "   9.5");
  EXPECT_EQ(cut(out, 40, 40), "2");
}

// ---------------------------------------------------------------- whole logs

// Every number of every table, cut at its columns, equals the model.
void expect_columns_match_model(const Series& series) {
  const std::vector<std::string> lines = split_lines(log_text(series));
  const std::vector<std::vector<std::string>> written = tables_in(lines);
  const std::vector<const PhotometryTable*> tables = model_tables(series);
  ASSERT_EQ(written.size(), tables.size());
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const std::vector<Measurement>& rows = tables[t]->rows;
    ASSERT_EQ(written[t].size(), rows.size()) << "table " << t;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const std::string& line = written[t][r];
      const Measurement& m = rows[r];
      ASSERT_EQ(static_cast<int>(line.size()), measurement_line_length) << line;
      ASSERT_EQ(line[0], ' ');
      const ReadRow read = read_row(line);
      EXPECT_EQ(read.ra_ms, m.ra_ms) << line;
      EXPECT_EQ(read.dec_cas, m.dec_cas) << line;
      EXPECT_EQ(read.ra_residual, m.ra_residual) << line;
      EXPECT_EQ(read.dec_residual, m.dec_residual) << line;
      EXPECT_EQ(read.mag, m.mag) << line;
      EXPECT_EQ(read.mag_residual, m.mag_residual) << line;
      EXPECT_EQ(read.flux, m.flux) << line;
      EXPECT_EQ(read.fwhm, m.fwhm_tenths) << line;
      EXPECT_EQ(read.peak, m.peak_tenths) << line;
      EXPECT_EQ(read.rms, m.rms_thousandths) << line;
      EXPECT_EQ(line[16] == '(', m.astrometry_excluded) << line;
      EXPECT_EQ(line[22] == ')', m.astrometry_excluded) << line;
      EXPECT_EQ(line[39] == '(', m.astrometry_excluded) << line;
      EXPECT_EQ(line[45] == ')', m.astrometry_excluded) << line;
      EXPECT_EQ(line[55] == '(', m.photometry_excluded) << line;
      EXPECT_EQ(line[61] == ')', m.photometry_excluded) << line;
      EXPECT_EQ(line[17] == '-', m.ra_residual_minus) << line;
      EXPECT_EQ(line[40] == '-', m.dec_residual_minus) << line;
      EXPECT_EQ(line[56] == '-', m.mag_residual_minus) << line;
    }
  }
}

TEST(LogColumns, EveryTableMatchesTheModelInSeveralPresets) {
  for (std::string_view name : {"tiny", "southern", "ra0", "pole", "sessions"}) {
    SCOPED_TRACE(std::string(name));
    expect_columns_match_model(generate_series(preset(name, 3)));
  }
}

TEST(LogColumns, ImageLinesAndTimeLinesNameEveryImage) {
  const Series series = generate_series(preset("sessions", 5));
  const std::vector<std::string> lines = split_lines(log_text(series));
  int session = -1;
  std::size_t listed = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.find(" - Start ") != std::string::npos) {
      ++session;
      listed = 0;
      continue;
    }
    if (line.rfind("           Image ", 0) != 0) {
      continue;
    }
    ASSERT_GE(session, 0);
    const Session& current = series.sessions.at(static_cast<std::size_t>(session));
    ASSERT_LT(listed, current.images.size());
    const Image& image = series.images[static_cast<std::size_t>(current.images[listed])];
    ++listed;
    EXPECT_EQ(line, "           Image " + std::to_string(listed) + ": " + image.folder + "\\" + image.name);
    const std::string& time = lines[i + 1];
    const CalendarTime t = calendar_time(image.time_tenths);
    EXPECT_EQ(n(time, 24, 27), t.year) << time;
    EXPECT_EQ(n(time, 29, 30), t.month) << time;
    EXPECT_EQ(n(time, 32, 33), t.day) << time;
    const std::size_t first_colon = time.find(':');
    const std::size_t c = time.find(':', first_colon + 1);  // 0-based position of the second ":"
    ASSERT_NE(c, std::string::npos);
    EXPECT_EQ(std::stoi(time.substr(c - 2, 2)), t.hour) << time;
    EXPECT_EQ(std::stoi(time.substr(c + 1, 2)), t.minute) << time;
    EXPECT_EQ(std::stoi(time.substr(c + 4, 2)), t.second) << time;
  }
  EXPECT_EQ(session + 1, static_cast<int>(series.sessions.size()));
}

TEST(LogColumns, PhotometryHeadingsNameTheirImage) {
  const Series series = generate_series(preset("tiny", 9));
  const std::vector<std::string> lines = split_lines(log_text(series));
  const std::vector<const PhotometryTable*> tables = model_tables(series);
  std::size_t t = 0;
  for (const std::string& line : lines) {
    const std::size_t at = line.find("Photometry of Image ");
    if (at == std::string::npos) {
      continue;
    }
    ASSERT_LT(t, tables.size());
    const PhotometryTable& table = *tables[t++];
    EXPECT_EQ(at, 11u);
    EXPECT_EQ(line.substr(at), "Photometry of Image " + std::to_string(table.number_in_session) + " (" +
                                   series.images[static_cast<std::size_t>(table.image)].name + "): ");
  }
  EXPECT_EQ(t, tables.size());
}

// A reader that takes lines with " Image " and ": " for image lines must
// find only the real image lines (and, when chosen, the mirrored-camera note).
TEST(LogColumns, NoOtherLineLooksLikeAnImageLineOrATableHeader) {
  const Series series = generate_series(preset("typical", 2));
  const std::vector<std::string> lines = split_lines(log_text(series));
  std::size_t image_lines = 0;
  std::size_t headers = 0;
  std::size_t dash_lines = 0;
  for (const std::string& raw : lines) {
    const std::string line = trim_right(raw);
    const bool image_like = line.find(" Image ") != std::string::npos && line.find(": ") != std::string::npos &&
                            !(line.size() >= 2 && line.compare(line.size() - 2, 2, "no") == 0) &&
                            !(line.size() >= 3 && line.compare(line.size() - 3, 3, "yes") == 0);
    if (image_like) {
      EXPECT_EQ(line.rfind("           Image ", 0), 0u) << line;
      ++image_lines;
    }
    if (line.find("  RA") != std::string::npos) {
      ++headers;
    }
    if (line.size() >= 5 && line.compare(line.size() - 5, 5, "-----") == 0) {
      ++dash_lines;
    }
  }
  EXPECT_EQ(image_lines, series.images.size());
  EXPECT_EQ(headers, model_tables(series).size());
  EXPECT_EQ(dash_lines, model_tables(series).size());
}

TEST(LogColumns, LatinOneSignsAndSampleHeaderLines) {
  const std::string text = log_text(generate_series(preset("tiny")));
  EXPECT_NE(text.find("   h  m   s        \"       \xB0  '   \"       \"      mag     mag"), std::string::npos);
  EXPECT_NE(text.find("     RA           dRA        Dec.        dDec     G      dG         x        y      Flux  FWHM"),
            std::string::npos);
  EXPECT_NE(text.find(" " + std::string(108, '-') + "\r\n"), std::string::npos);
  EXPECT_NE(text.find("Pixel Width = 9.0\xB5m"), std::string::npos);
  EXPECT_NE(text.find("mm \xB1 1.0%, Position Angle = 0.0\xB0 \xB1 1.0\xB0, Pointing = \xB1 1.0'"), std::string::npos);
  EXPECT_NE(text.find("             Image flipped: yes\r\n"), std::string::npos);
  EXPECT_NE(text.find(" - End\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\xC2"), std::string::npos);  // no UTF-8 lead bytes
}

// ---------------------------------------------------------------- determinism

TEST(Determinism, SameSeedGivesIdenticalBytes) {
  for (std::string_view name : {"tiny", "sessions", "cloudy"}) {
    const Series a = generate_series(preset(name, 77));
    const Series b = generate_series(preset(name, 77));
    EXPECT_EQ(log_text(a), log_text(b)) << name;
    EXPECT_EQ(vsx_text(a), vsx_text(b)) << name;
  }
  EXPECT_NE(log_text(generate_series(preset("tiny", 77))), log_text(generate_series(preset("tiny", 78))));
}

// A fingerprint of one small series. It catches any platform or library
// difference in the arithmetic; when the simulation is changed on purpose,
// the new value is printed by the failure and replaces this one.
TEST(Determinism, FingerprintOfATinySeries) {
  const Series series = generate_series(preset("tiny", 2024));
  const std::string text = log_text(series) + vsx_text(series);
  std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a
  for (unsigned char c : text) {
    hash = (hash ^ c) * 0x100000001B3ULL;
  }
  EXPECT_EQ(hash, 0xB4E5B2908736140CULL) << "fingerprint 0x" << std::hex << hash << std::dec << " of " << text.size()
                                         << " bytes";
}

TEST(Determinism, ChangingTheCatalogueLeavesTheMeasurementsAlone) {
  SeriesOptions options = preset("tiny", 11);
  const Series a = generate_series(options);
  options.vsx_filler = 40;
  options.vsx_flag2_fraction = 0.9;
  const Series b = generate_series(options);
  EXPECT_EQ(log_text(a), log_text(b));
  EXPECT_NE(vsx_text(a), vsx_text(b));
}

// ---------------------------------------------------------------- realism

TEST(Presets, AllNamesApplyAndKeepTheSeed) {
  ASSERT_EQ(presets().size(), 12u);
  for (const Preset& p : presets()) {
    SeriesOptions options;
    options.seed = 99;
    EXPECT_TRUE(apply_preset(p.name, options)) << p.name;
    EXPECT_EQ(options.seed, 99u);
  }
  SeriesOptions options;
  options.images = 3;
  EXPECT_FALSE(apply_preset("nonesuch", options));
  EXPECT_EQ(options.images, 3);
}

TEST(Presets, FullFillsTheReaderWithoutExceedingIt) {
  const SeriesOptions full = preset("full");
  EXPECT_EQ(full.images, 209);
  EXPECT_EQ(full.max_lines_per_image, max_table_lines);
  EXPECT_GT(full.stars, max_table_lines);           // enough stars to fill a table
  EXPECT_NE(full.flipped, FlipNote::horizontally);  // that note would count as a 210th image
  EXPECT_EQ(full.relisted_images, 0);
}

TEST(Presets, SmallPresetsStayWithinTheTableCapacityAndSortByRightAscension) {
  for (std::string_view name : {"typical", "tiny", "single", "cloudy", "southern", "sessions", "pole", "ra0"}) {
    const Series series = generate_series(preset(name));
    for (const PhotometryTable* table : model_tables(series)) {
      EXPECT_LE(static_cast<int>(table->rows.size()), max_table_lines) << name;
      for (std::size_t r = 1; r < table->rows.size(); ++r) {
        EXPECT_LE(table->rows[r - 1].ra_ms, table->rows[r].ra_ms) << name;
      }
      for (const Measurement& row : table->rows) {
        EXPECT_GE(row.mag, 0) << name;  // never negative magnitudes
        EXPECT_GT(row.fwhm_tenths, 0) << name;
        EXPECT_LT(row.fwhm_tenths, 256) << name;
      }
    }
  }
}

TEST(Presets, TableCapKeepsTheBrightestRows) {
  SeriesOptions options = preset("tiny", 4);
  const Series open = generate_series(options);
  options.max_lines_per_image = 10;
  const Series capped = generate_series(options);
  const std::vector<const PhotometryTable*> a = model_tables(open);
  const std::vector<const PhotometryTable*> b = model_tables(capped);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t t = 0; t < a.size(); ++t) {
    ASSERT_EQ(b[t]->rows.size(), std::min<std::size_t>(10, a[t]->rows.size()));
    std::vector<std::int16_t> mags;
    for (const Measurement& row : a[t]->rows) {
      mags.push_back(row.mag);
    }
    std::sort(mags.begin(), mags.end());
    const std::int16_t faintest_kept = mags[std::min<std::size_t>(10, mags.size()) - 1];
    for (const Measurement& row : b[t]->rows) {
      EXPECT_LE(row.mag, faintest_kept);
    }
  }
}

TEST(Presets, SouthernFieldHasMinusZeroDegrees) {
  const Series series = generate_series(preset("southern"));
  std::size_t negative = 0;
  std::size_t positive = 0;
  for (const PhotometryTable* table : model_tables(series)) {
    for (const Measurement& row : table->rows) {
      (row.dec_cas < 0 ? negative : positive) += 1;
      EXPECT_LT(std::abs(row.dec_cas), 360000);  // all within a degree of the equator
    }
  }
  EXPECT_GT(negative, 2 * positive);
  EXPECT_GT(positive, 0u);
  const std::string text = log_text(series);
  EXPECT_NE(text.find("   -00 "), std::string::npos);
  EXPECT_NE(text.find(",  1:"), std::string::npos);  // hours with a leading blank
  EXPECT_EQ(text.find('\r'), std::string::npos);     // LF line ends
}

TEST(Presets, Ra0FieldStraddlesZeroHours) {
  const Series series = generate_series(preset("ra0"));
  std::size_t late = 0;
  std::size_t early = 0;
  for (const PhotometryTable* table : model_tables(series)) {
    for (const Measurement& row : table->rows) {
      if (row.ra_ms >= 23 * 3600000) {
        ++late;
      } else if (row.ra_ms < 3600000) {
        ++early;
      } else {
        ADD_FAILURE() << row.ra_ms;
      }
    }
  }
  EXPECT_GT(late, 100u);
  EXPECT_GT(early, 100u);
  // The night runs past midnight UT into the new year.
  std::set<int> years;
  for (const Image& image : series.images) {
    years.insert(calendar_time(image.time_tenths).year);
  }
  EXPECT_EQ(years, (std::set<int>{2019, 2020}));
}

TEST(Presets, PoleFieldSpansManyMinutesOfRightAscension) {
  const Series series = generate_series(preset("pole"));
  std::int32_t low = 86400000;
  std::int32_t high = 0;
  for (const PhotometryTable* table : model_tables(series)) {
    for (const Measurement& row : table->rows) {
      EXPECT_GE(row.dec_cas, 85 * 360000);
      low = std::min(low, row.ra_ms);
      high = std::max(high, row.ra_ms);
    }
  }
  EXPECT_GT(high - low, 20 * 60000);  // a 20' field at +88 covers about 40 minutes of time
}

TEST(Presets, SessionsListImagesAgainAndMeasureSomeTwice) {
  const Series series = generate_series(preset("sessions"));
  const std::string text = log_text(series);
  ASSERT_EQ(series.sessions.size(), 4u);
  EXPECT_EQ(count_of(text, " - Start "), 4u);
  std::map<int, int> listings;
  std::map<int, int> tables;
  for (const Session& session : series.sessions) {
    for (int image : session.images) {
      ++listings[image];
    }
    for (const PhotometryTable& table : session.tables) {
      ++tables[table.image];
    }
  }
  EXPECT_EQ(static_cast<int>(listings.size()), series.options.images);
  EXPECT_TRUE(std::any_of(listings.begin(), listings.end(), [](auto& p) { return p.second > 1; }));
  EXPECT_TRUE(std::any_of(tables.begin(), tables.end(), [&listings](auto& p) { return p.second > listings[p.first]; }));
  EXPECT_EQ(count_of(text, "             Image flipped:  horizontally\n"), 4u);
  // Mixed line ends: LF, CR LF after " - End", lone CR inside the fits.
  EXPECT_GT(count_of(text, "\r\n"), 0u);
  EXPECT_GT(count_of(text, "\r "), 0u);
  EXPECT_GT(count_of(text, "\n"), count_of(text, "\r\n"));
  // Sessions start after the last image they list, in order.
  for (std::size_t s = 0; s < series.sessions.size(); ++s) {
    const Session& session = series.sessions[s];
    EXPECT_GT(session.start_seconds * 10, series.images[static_cast<std::size_t>(session.images.back())].time_tenths);
    if (s > 0) {
      EXPECT_GT(session.start_seconds, series.sessions[s - 1].start_seconds);
    }
  }
  // Nights over the leap day.
  EXPECT_EQ(calendar_time(series.images.front().time_tenths).month, 2);
  EXPECT_EQ(calendar_time(series.images.back().time_tenths).month, 3);
  EXPECT_TRUE(std::any_of(series.images.begin(), series.images.end(), [](const Image& image) {
    return image.folder.size() > 10 && image.folder.compare(image.folder.size() - 10, 10, "2020-02-29") == 0;
  }));
}

TEST(Presets, SingleHasOneImageAndNoMovingObject) {
  const Series series = generate_series(preset("single"));
  EXPECT_EQ(series.images.size(), 1u);
  EXPECT_FALSE(series.mover.present);
  EXPECT_EQ(log_text(series).find("Moving Object"), std::string::npos);
}

// The period-search series: their nights, within the reader's 209 images,
// and 60 variables of which 24 pulsate and 24 eclipse.
TEST(Presets, PeriodSeriesHaveTheirNightsAndBothShapes) {
  const std::pair<std::string_view, std::vector<int>> cases[] = {
      {"long-night", {120}}, {"three-nights", {70, 70, 69}}, {"ten-nights", std::vector<int>(10, 20)}};
  for (const auto& [name, night_sizes] : cases) {
    const Series series = generate_series(preset(name, 3));
    std::map<int, int> nights;
    for (const Image& image : series.images) ++nights[image.night];
    std::vector<int> sizes;
    for (const auto& night : nights) sizes.push_back(night.second);
    EXPECT_EQ(sizes, night_sizes) << name;
    std::map<VariableKind, int> kinds;
    for (const SkyObject& star : series.objects) ++kinds[star.kind];
    EXPECT_EQ(kinds[VariableKind::pulsating], 24) << name;
    EXPECT_EQ(kinds[VariableKind::eclipsing], 24) << name;
  }
  // A short night still spans more than two of the shortest pulsations (1.2 h).
  const Series ten = generate_series(preset("ten-nights", 3));
  const double night_hours = static_cast<double>(ten.images[19].time_tenths - ten.images[0].time_tenths) / 36000.0;
  EXPECT_GT(night_hours, 2.4);
  EXPECT_LT(night_hours, 3.5);
}

// Per clear image, the mean of (measured - true magnitude) over the bright
// constant stars (clouds leave them too little signal for this).
std::map<std::size_t, double> clear_image_offsets(const Series& series) {
  std::map<std::size_t, double> offsets;
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    double sum = 0;
    int stars = 0;
    for (const Measurement& row : final_table(series, static_cast<int>(i))->rows) {
      const SkyObject* star = row.object < 0 ? nullptr : &series.objects[static_cast<std::size_t>(row.object)];
      if (star && star->kind == VariableKind::constant && star->mag < series.options.limit_mag - 4.5) {
        sum += row.mag / 100.0 - star->mag;
        ++stars;
      }
    }
    if (!series.images[i].cloudy && stars > 5) offsets[i] = sum / stars;
  }
  return offsets;
}

// White noise keeps the sky, the clouds and the detections of the realistic
// series of the seed and drops every offset shared by an image and every
// outlier.
TEST(Noise, WhiteKeepsTheDetectionsAndDropsTheSystematics) {
  SeriesOptions options = preset("cloudy", 5);
  options.outlier_probability = 0.02;
  const Series realistic = generate_series(options);
  options.noise = NoiseModel::white;
  const Series white = generate_series(options);
  int outliers = 0;
  for (std::size_t i = 0; i < white.images.size(); ++i) {
    EXPECT_EQ(white.images[i].cloudy, realistic.images[i].cloudy);
    EXPECT_EQ(white.images[i].zero_point_offset_mag, 0.0);
    EXPECT_EQ(white.images[i].cloud_gradient_mag, 0.0);
    const std::vector<Measurement>& a = final_table(realistic, static_cast<int>(i))->rows;
    const std::vector<Measurement>& b = final_table(white, static_cast<int>(i))->rows;
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t r = 0; r < a.size(); ++r) {
      EXPECT_EQ(a[r].object, b[r].object);
      EXPECT_FALSE(b[r].outlier);
      outliers += a[r].outlier;
    }
  }
  EXPECT_GT(outliers, 10);
  const std::map<std::size_t, double> offsets = clear_image_offsets(white);
  EXPECT_GT(offsets.size(), 30u);
  for (const auto& [image, offset] : offsets) EXPECT_LT(std::fabs(offset), 0.015) << image;
}

// The nightly term follows the time of day: 0 where the field culminates
// (the middle of the first night), the full range at that night's ends,
// the same at the same hour of any night, and on every star of an image.
TEST(Noise, NightlySystematicRepeatsWithTheTimeOfDay) {
  SeriesOptions options;
  options.nightly_systematic_mag = 0.05;
  std::vector<Image> images;
  for (auto [night, hour] : {std::pair{0, 20.0}, {0, 22.0}, {0, 24.0}, {1, 20.0}, {3, 21.0}}) {
    images.emplace_back().night = night;
    images.back().time_tenths = tenths_at(2020, 3, 1 + night, hour);
  }
  set_nightly_systematic(options, images);
  EXPECT_EQ(images[1].nightly_offset_mag, 0.0);
  EXPECT_NEAR(images[0].nightly_offset_mag, 0.05, 1e-12);
  EXPECT_EQ(images[2].nightly_offset_mag, images[0].nightly_offset_mag);
  EXPECT_EQ(images[3].nightly_offset_mag, images[0].nightly_offset_mag);
  EXPECT_GT(images[4].nightly_offset_mag, 0.001);
  EXPECT_LT(images[4].nightly_offset_mag, 0.049);

  options = preset("ten-nights", 2);
  options.noise = NoiseModel::white;
  options.nightly_systematic_mag = 0.1;
  const Series series = generate_series(options);
  const std::map<std::size_t, double> offsets = clear_image_offsets(series);
  EXPECT_GT(offsets.size(), 150u);
  for (const auto& [image, offset] : offsets) EXPECT_NEAR(offset, series.images[image].nightly_offset_mag, 0.015);
}

TEST(Realism, CloudyImagesHaveFewerAndFainterStars) {
  const Series series = generate_series(preset("cloudy", 8));
  double cloudy_rows = 0;
  double clear_rows = 0;
  double cloudy_offset = 0;
  double clear_offset = 0;
  int cloudy_images = 0;
  int clear_images = 0;
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    const PhotometryTable* table = final_table(series, static_cast<int>(i));
    ASSERT_NE(table, nullptr);
    double offset = 0;
    int stars = 0;
    for (const Measurement& row : table->rows) {
      if (row.object >= 0 && series.objects[static_cast<std::size_t>(row.object)].kind == VariableKind::constant) {
        offset += row.mag / 100.0 - series.objects[static_cast<std::size_t>(row.object)].mag;
        ++stars;
      }
    }
    if (series.images[i].cloudy) {
      cloudy_rows += static_cast<double>(table->rows.size());
      cloudy_offset += offset / stars;
      ++cloudy_images;
    } else {
      clear_rows += static_cast<double>(table->rows.size());
      clear_offset += offset / stars;
      ++clear_images;
    }
  }
  ASSERT_GT(cloudy_images, 5);
  ASSERT_GT(clear_images, 5);
  EXPECT_LT(cloudy_rows / cloudy_images, 0.7 * clear_rows / clear_images);
  EXPECT_GT(cloudy_offset / cloudy_images, clear_offset / clear_images + 0.05);
}

TEST(Realism, CloudyImagesHaveBiggerErrors) {
  const Series series = generate_series(preset("cloudy", 18));
  const double t0 = static_cast<double>(series.images.front().time_tenths);
  double squares[2] = {0, 0};  // clear, cloudy
  int counts[2] = {0, 0};
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    const Image& image = series.images[i];
    const double days = (static_cast<double>(image.time_tenths) - t0) / tenths_per_day;
    for (const Measurement& row : final_table(series, static_cast<int>(i))->rows) {
      if (row.object < 0 || row.outlier) {
        continue;
      }
      const SkyObject& star = series.objects[static_cast<std::size_t>(row.object)];
      if (star.mag > series.options.limit_mag - 3.0) {
        continue;
      }
      const double error = row.mag / 100.0 - star.mag - variability_offset(star, days) - image.zero_point_offset_mag;
      squares[image.cloudy ? 1 : 0] += error * error;
      ++counts[image.cloudy ? 1 : 0];
    }
  }
  ASSERT_GT(counts[0], 100);
  ASSERT_GT(counts[1], 100);
  EXPECT_GT(squares[1] / counts[1], 2.0 * squares[0] / counts[0]);
}

TEST(Realism, MeasurementsFollowTheTruthWithinTheNoise) {
  SeriesOptions options = preset("typical", 21);
  options.cloudy_probability = 0;
  options.outlier_probability = 0.01;
  const Series series = generate_series(options);
  const double t0 = static_cast<double>(series.images.front().time_tenths);
  int outliers = 0;
  for (const PhotometryTable* table : model_tables(series)) {
    const Image& image = series.images[static_cast<std::size_t>(table->image)];
    const double days = (static_cast<double>(image.time_tenths) - t0) / tenths_per_day;
    for (const Measurement& row : table->rows) {
      if (row.object < 0) {
        continue;
      }
      const SkyObject& star = series.objects[static_cast<std::size_t>(row.object)];
      if (star.mag > options.limit_mag - 2.0) {
        continue;
      }
      const double expected = star.mag + variability_offset(star, days) + image.zero_point_offset_mag;
      const double error = row.mag / 100.0 - expected;
      if (row.outlier) {
        ++outliers;
        EXPECT_GT(std::fabs(error), 0.1);
      } else {
        EXPECT_LT(std::fabs(error), 0.25) << row.mag;
      }
      // Positions within an arcsecond of the truth.
      EXPECT_NEAR(row.dec_cas / 360000.0, star.dec_deg, 1.0 / 3600.0);
      EXPECT_NEAR(row.ra_ms / 240000.0, star.ra_deg, 1.0 / 3600.0 / portable_cos_deg(star.dec_deg));
    }
  }
  EXPECT_GT(outliers, 0);
}

TEST(Realism, VariablesVaryAndConstantStarsDoNot) {
  SeriesOptions options = preset("typical", 31);
  options.images = 80;
  options.cadence_seconds = 1800;  // 40 hours, more than the longest pulsation
  options.variable_kinds = {VariableKind::pulsating};
  options.min_amplitude_mag = 0.8;
  options.max_amplitude_mag = 1.5;
  options.cloudy_probability = 0;
  options.outlier_probability = 0;
  const Series series = generate_series(options);
  std::map<int, std::pair<int, int>> ranges;  // star -> (min, max) measured magnitude
  for (const PhotometryTable* table : model_tables(series)) {
    for (const Measurement& row : table->rows) {
      if (row.object < 0) {
        continue;
      }
      auto [it, fresh] = ranges.try_emplace(row.object, row.mag, row.mag);
      if (!fresh) {
        it->second.first = std::min<int>(it->second.first, row.mag);
        it->second.second = std::max<int>(it->second.second, row.mag);
      }
    }
  }
  int variables = 0;
  for (const auto& [object, range] : ranges) {
    const SkyObject& star = series.objects[static_cast<std::size_t>(object)];
    if (star.mag > options.limit_mag - 2.5) {
      continue;
    }
    const double spread = (range.second - range.first) / 100.0;
    if (star.kind == VariableKind::pulsating) {
      ++variables;
      EXPECT_GT(spread, 0.7 * star.amplitude_mag) << object;
    } else {
      EXPECT_LT(spread, 0.3) << object;
    }
  }
  EXPECT_GE(variables, 3);
}

TEST(Realism, FaintStarsDropOutNearTheLimitAndBrightOnesDoNot) {
  SeriesOptions options = preset("typical", 12);
  options.cloudy_probability = 0;
  const Series series = generate_series(options);
  std::vector<int> seen(series.objects.size(), 0);
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    for (const Measurement& row : final_table(series, static_cast<int>(i))->rows) {
      if (row.object >= 0) {
        ++seen[static_cast<std::size_t>(row.object)];
      }
    }
  }
  const int images = static_cast<int>(series.images.size());
  for (std::size_t s = 0; s < series.objects.size(); ++s) {
    const SkyObject& star = series.objects[s];
    if (star.kind != VariableKind::constant) {
      continue;
    }
    if (star.mag < options.limit_mag - 1.5) {
      EXPECT_GE(seen[s], images - 2) << star.mag;
    }
    if (std::fabs(star.mag - options.limit_mag) < 0.05) {
      EXPECT_LT(seen[s], images) << star.mag;
      EXPECT_GT(seen[s], 0) << star.mag;
    }
  }
}

TEST(Realism, SeeingChangesFromImageToImageWithinItsRange) {
  const Series series = generate_series(preset("typical", 13));
  std::set<int> medians;
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    const Image& image = series.images[i];
    EXPECT_GE(image.seeing_arcsec, series.options.seeing_min_arcsec);
    EXPECT_LE(image.seeing_arcsec, series.options.seeing_max_arcsec);
    std::vector<int> fwhm;
    for (const Measurement& row : final_table(series, static_cast<int>(i))->rows) {
      if (row.object >= 0 && row.peak_tenths >= 200) {  // SNR 20 or more
        fwhm.push_back(row.fwhm_tenths);
      }
    }
    ASSERT_FALSE(fwhm.empty());
    std::sort(fwhm.begin(), fwhm.end());
    const int median = fwhm[fwhm.size() / 2];
    EXPECT_NEAR(median / 10.0, image.seeing_arcsec, 0.3);
    medians.insert(median);
  }
  EXPECT_GT(medians.size(), 5u);
}

TEST(Realism, MovingObjectCrossesTheFieldInTheFirstNight) {
  SeriesOptions options = preset("typical", 14);
  options.nights = 2;
  options.images = 40;
  const Series series = generate_series(options);
  ASSERT_TRUE(series.mover.present);
  std::vector<const Measurement*> track;
  for (std::size_t i = 0; i < series.images.size(); ++i) {
    for (const Measurement& row : final_table(series, static_cast<int>(i))->rows) {
      if (row.object == moving_object_row) {
        EXPECT_EQ(series.images[i].night, 0);
        EXPECT_TRUE(row.astrometry_excluded && row.photometry_excluded);
        track.push_back(&row);
      }
    }
  }
  ASSERT_GE(track.size(), 10u);
  // Ever farther from where it was first seen.
  double previous = 0;
  for (std::size_t k = 1; k < track.size(); ++k) {
    const double dra = (track[k]->ra_ms - track[0]->ra_ms) * 15.0 / 1000.0 * portable_cos_deg(options.center_dec_deg);
    const double ddec = (track[k]->dec_cas - track[0]->dec_cas) / 100.0;
    const double distance = std::sqrt(dra * dra + ddec * ddec);
    EXPECT_GT(distance, previous - 1.0);
    previous = distance;
  }
  EXPECT_GT(previous, 60.0 * options.field_arcmin / 3.0);
  const std::string text = log_text(series);
  EXPECT_EQ(count_of(text, "Moving Object detected"), 1u);
  EXPECT_EQ(count_of(text, "Stacking Image (Add)"), 1u);
  options.moving_object = false;
  EXPECT_EQ(log_text(generate_series(options)).find("Moving Object"), std::string::npos);
}

TEST(Catalogue, EntriesAtVariablesWithTheRightShareFlaggedTwo) {
  SeriesOptions options = preset("typical", 15);
  options.variables = 20;
  options.vsx_variables = 10;
  options.vsx_flag2_fraction = 0.3;
  options.vsx_filler = 30;
  const Series series = generate_series(options);
  ASSERT_EQ(series.vsx.size(), 40u);
  int at_variables = 0;
  int flagged = 0;
  int previous_id = 0;
  for (const VsxEntry& entry : series.vsx) {
    EXPECT_GT(entry.id, previous_id);
    previous_id = entry.id;
    EXPECT_LE(entry.name.size(), 30u);
    if (entry.object < 0) {
      continue;
    }
    ++at_variables;
    flagged += entry.flag == '2' ? 1 : 0;
    const SkyObject& star = series.objects[static_cast<std::size_t>(entry.object)];
    EXPECT_NE(star.kind, VariableKind::constant);
    EXPECT_EQ(&series.vsx[static_cast<std::size_t>(star.vsx_entry)], &entry);
    EXPECT_NEAR(entry.dec_e5 / 1e5, star.dec_deg, 2.0 / 3600.0);
    EXPECT_NEAR(entry.ra_e5 / 1e5, star.ra_deg, 2.0 / 3600.0 / portable_cos_deg(star.dec_deg));
  }
  EXPECT_EQ(at_variables, 10);
  EXPECT_EQ(flagged, 3);
}

TEST(Catalogue, ColumnsReadBackAsTheEntries) {
  const Series series = generate_series(preset("cloudy", 16));
  const std::vector<std::string> lines = split_lines(vsx_text(series));
  ASSERT_EQ(lines.size(), series.vsx.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const VsxEntry& entry = series.vsx[k];
    EXPECT_EQ(n(line, 1, 7), entry.id);
    EXPECT_EQ(trim_right(cut(line, 9, 38)), entry.name);
    EXPECT_EQ(cut(line, 40, 40), std::string(1, entry.flag));
    EXPECT_EQ(std::llround(number(cut(line, 42, 50)) * 1e5), entry.ra_e5) << line;
    EXPECT_EQ(std::llround(number(cut(line, 52, 60)) * 1e5), entry.dec_e5) << line;
    EXPECT_NEAR(number(cut(line, 95, 100)) * 1000.0, entry.max_mag_thousandths, 0.5) << line;
    EXPECT_EQ(line.find('\r'), std::string::npos);
  }
}

// ---------------------------------------------------------------- light curves

TEST(LightCurve, ShapesOfTheThreeKinds) {
  SkyObject eclipsing;
  eclipsing.kind = VariableKind::eclipsing;
  eclipsing.amplitude_mag = 1.0;
  eclipsing.period_days = 2.0;
  eclipsing.shape = 0.05;
  eclipsing.secondary_depth = 0.4;
  EXPECT_DOUBLE_EQ(variability_offset(eclipsing, 0.0), 1.0);  // primary minimum
  EXPECT_DOUBLE_EQ(variability_offset(eclipsing, 1.0), 0.4);  // secondary at phase 0.5
  EXPECT_DOUBLE_EQ(variability_offset(eclipsing, 0.5), 0.0);  // between eclipses
  EXPECT_DOUBLE_EQ(variability_offset(eclipsing, 4.0), 1.0);  // two periods later

  SkyObject pulsating;
  pulsating.kind = VariableKind::pulsating;
  pulsating.amplitude_mag = 0.8;
  pulsating.period_days = 0.5;
  pulsating.shape = 0.2;
  EXPECT_DOUBLE_EQ(variability_offset(pulsating, 0.0), 0.4);     // faintest at phase 0
  EXPECT_NEAR(variability_offset(pulsating, 0.1), -0.4, 1e-12);  // brightest after the rise
  EXPECT_NEAR(variability_offset(pulsating, 0.3), 0.0, 1e-12);   // half-way down

  SkyObject trend;
  trend.kind = VariableKind::trend;
  trend.amplitude_mag = 0.6;
  trend.period_days = 20.0;
  EXPECT_NEAR(variability_offset(trend, 5.0), 0.3, 1e-12);
  EXPECT_NEAR(variability_offset(trend, 15.0), -0.3, 1e-12);

  SkyObject constant;
  EXPECT_EQ(variability_offset(constant, 3.0), 0.0);
}

TEST(SkyGeometry, OffsetsRoundTripAcrossZeroHoursAndNearThePole) {
  const double centres[][2] = {{0.0, 15.0}, {359.99, -0.05}, {180.0, 88.0}, {45.0, -60.0}};
  for (const auto& c : centres) {
    for (double xi = -600; xi <= 600; xi += 150) {
      for (double eta = -600; eta <= 600; eta += 150) {
        double ra = 0;
        double dec = 0;
        position_at(c[0], c[1], xi, eta, ra, dec);
        EXPECT_GE(ra, 0.0);
        EXPECT_LT(ra, 360.0);
        double xi2 = 0;
        double eta2 = 0;
        field_offsets(c[0], c[1], ra, dec, xi2, eta2);
        EXPECT_NEAR(xi2, xi, 1e-6);
        EXPECT_NEAR(eta2, eta, 1e-6);
      }
    }
  }
  EXPECT_EQ(ra_ms_of(360.0 - 1e-12), 0);
  EXPECT_EQ(ra_ms_of(180.0), 43200000);
  EXPECT_EQ(dec_cas_of(-12.5), -4500000);
}

// ---------------------------------------------------------------- command line

TEST(CommandLine, PresetFirstThenOptionsOverride) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--preset", "tiny", "--images", "5"},
                                               std::vector<std::string>{"--images", "5", "--preset", "tiny"}}) {
    const CommandLine c = parse_command_line(args);
    EXPECT_TRUE(c.error.empty()) << c.error;
    EXPECT_EQ(c.options.images, 5);
    EXPECT_EQ(c.options.stars, 30);
  }
}

TEST(CommandLine, ReadsEveryKindOfValue) {
  const CommandLine c =
      parse_command_line({"--seed",      "7",        "--ra",       "359.5",        "--dec",
                          "-0.1",        "--seeing", "1.5:3.0",    "--kinds",      "trend,eclipsing",
                          "--line-ends", "mixed",    "--flipped",  "horizontally", "--mover",
                          "off",         "--date",   "2020-02-29", "--hour-zero",  "--truth",
                          "--out",       "/tmp/x",   "--noise",    "white",        "--nightly-systematic",
                          "0.03"});
  ASSERT_TRUE(c.error.empty()) << c.error;
  EXPECT_EQ(c.options.seed, 7u);
  EXPECT_DOUBLE_EQ(c.options.center_ra_deg, 359.5);
  EXPECT_DOUBLE_EQ(c.options.center_dec_deg, -0.1);
  EXPECT_DOUBLE_EQ(c.options.seeing_min_arcsec, 1.5);
  EXPECT_DOUBLE_EQ(c.options.seeing_max_arcsec, 3.0);
  EXPECT_EQ(c.options.variable_kinds, (std::vector<VariableKind>{VariableKind::trend, VariableKind::eclipsing}));
  EXPECT_EQ(c.options.line_ending, LineEnding::mixed);
  EXPECT_EQ(c.options.flipped, FlipNote::horizontally);
  EXPECT_FALSE(c.options.moving_object);
  EXPECT_EQ(c.options.start_month, 2);
  EXPECT_EQ(c.options.start_day, 29);
  EXPECT_FALSE(c.options.hour_blank_padded);
  EXPECT_TRUE(c.write_truth);
  EXPECT_EQ(c.out_dir, "/tmp/x");
  EXPECT_EQ(c.options.noise, NoiseModel::white);
  EXPECT_DOUBLE_EQ(c.options.nightly_systematic_mag, 0.03);
}

TEST(CommandLine, RejectsWhatItCannotRead) {
  EXPECT_NE(parse_command_line({"--preset", "huge"}).error, "");
  EXPECT_NE(parse_command_line({"--images", "many"}).error, "");
  EXPECT_NE(parse_command_line({"--images"}).error, "");
  EXPECT_NE(parse_command_line({"--colour", "red"}).error, "");
  EXPECT_NE(parse_command_line({"--seeing", "2"}).error, "");
  EXPECT_NE(parse_command_line({"--kinds", "pulsating,wobbly"}).error, "");
  EXPECT_NE(parse_command_line({"--line-ends", "cr"}).error, "");
  EXPECT_NE(parse_command_line({"--date", "2020-2-29"}).error, "");
  EXPECT_NE(parse_command_line({"--noise", "pink"}).error, "");
  EXPECT_NE(parse_command_line({"--nightly-systematic", "-0.1"}).error, "");
  EXPECT_EQ(parse_command_line({}).error, "");
}

}  // namespace
}  // namespace varisift::simulate
