// Examples of numbers as they appear in reports: plain forms of every kind and
// values through the "#" masks used by the report and console listings.
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace varisift {
namespace {

std::string masked(std::string_view mask, double value) {
  std::string out;
  append_masked(out, mask, value);
  return out;
}

std::string masked_integer(std::string_view mask, std::int64_t value) {
  std::string out;
  append_masked(out, mask, value);
  return out;
}

std::string masked_unsigned(std::string_view mask, std::uint64_t value) {
  std::string out;
  append_masked_unsigned(out, mask, value);
  return out;
}

std::string plain(std::int64_t value, PlainKind kind) {
  std::string out;
  append_plain(out, value, kind);
  return out;
}

std::string plain_real(double value) {
  std::string out;
  append_plain_real(out, value);
  return out;
}

struct RealRow {
  const char* mask;
  double value;
  const char* expected;
};

struct IntegerRow {
  const char* mask;
  std::int64_t value;
  const char* expected;
};

struct UnsignedRow {
  const char* mask;
  std::uint64_t value;
  const char* expected;
};

// Every real rendering of the report's masks.
TEST(MaskedReal, RendersEveryReportMask) {
  const std::vector<RealRow> rows = {
      {"##.##", 12.345, "12.35"},
      {"##.##", 0.5, " 0.50"},
      {"##.##", 0, " 0.00"},
      {"##.##", -0.5, "-0.50"},
      {"##.##", -1.5, "-1.50"},
      {"##.##", -12.5, "%-12.50"},
      {"##.##", 123.456, "%123.46"},
      {"##.##", 99.995, "%100.00"},
      {"##.##", 9.995, " 9.99"},
      {"##.##", -0.004, "-0.00"},
      {"##.## mag", 0.1, " 0.10 mag"},
      {"##.## mag", 12.345, "12.35 mag"},
      {"##.## mag", -0.05, "-0.05 mag"},
      {"##.#", 5.25, " 5.3"},
      {"##.#", 0.05, " 0.1"},
      {"##.#", -0.04, "-0.0"},
      {"##.#", -2.25, "-2.3"},
      {"##.#", 100, "%100.0"},
      {"##.###", 0.0125, " 0.013"},
      {"##.###", 12.3456, "12.346"},
      {"##.###", -0.0005, "-0.001"},
      {"##.### ", 1.2345, " 1.235 "},
      {"###.##", 2.345, "  2.35"},
      {"###.##", -0.125, " -0.13"},
      {"###.##", 1000, "%1000.00"},
      {"###.## mag", 12.5, " 12.50 mag"},
      {"###.#", 12.25, " 12.3"},
      // 0.95 is 0.94999999999999995559...: its 17th significant digit is a 5,
      // so the 16 digits it is first rounded to are 0.9500000000000000.
      {"###.#", 0.95, "  1.0"},
      {"####.#", 12.25, "  12.3"},
      {"###", 7, "  7"},
      {"###", -99, "-99"},
      {"###", -100, "%-100"},
      {"###", 1234, "%1234"},
      {"####", 2.5, "   3"},
      {"####", 3.5, "   4"},
      {"####", -2.5, "  -3"},
      {"####", 12345, "%12345"},
      {"#######", 65535, "  65535"},
      {"#######", 12345678, "%12345678"},
      {"#########", 43200000, " 43200000"},
      {"#########", 86399999.5, " 86400000"},
      {"#########", -1, "       -1"},
      {"##########", -32400000, " -32400000"},
  };
  for (const RealRow& row : rows) {
    EXPECT_EQ(masked(row.mask, row.value), row.expected) << row.mask << " with " << row.value;
  }
}

// Every integer rendering of the report's masks.
TEST(MaskedInteger, RendersEveryReportMask) {
  const std::vector<IntegerRow> rows = {
      {"###", 7, "  7"},
      {"###", -99, "-99"},
      {"###", -100, "%-100"},
      {"###", 1234, "%1234"},
      {"#### ", 42, "  42 "},
      {"#####", 0, "    0"},
      {"#####", -5, "   -5"},
      {"#####", 123456, "%123456"},
      {"#########", 43200000, " 43200000"},
      {"#########", -1, "       -1"},
      {"###:", 1, "  1:"},
      {"###:", 42, " 42:"},
      {"###:", 1000, "%1000:"},
      {"## ", 3, " 3 "},
      {"## ", 99, "99 "},
      {"## ", -1, "-1 "},
      {"## ", 100, "%100 "},
      {"## ", -10, "%-10 "},
  };
  for (const IntegerRow& row : rows) {
    EXPECT_EQ(masked_integer(row.mask, row.value), row.expected) << row.mask << " with " << row.value;
  }
}

TEST(MaskedUnsigned, RendersEveryReportMask) {
  const std::vector<UnsignedRow> rows = {
      {"##### ", 17, "   17 "},    {"#######", 65535, "  65535"},           {"#######", 12345678, "%12345678"},
      {"### ids:", 5, "  5 ids:"}, {"###### stars.", 123, "   123 stars."},
  };
  for (const UnsignedRow& row : rows) {
    EXPECT_EQ(masked_unsigned(row.mask, row.value), row.expected) << row.mask << " with " << row.value;
  }
}

TEST(MaskedReal, NegativeValuesThatRoundToZeroKeepTheirSign) {
  EXPECT_EQ(masked("##.##", -0.004), "-0.00");
  EXPECT_EQ(masked("##.##", -0.0), "-0.00");
  EXPECT_EQ(masked("####", -0.0), "  -0");
  EXPECT_EQ(masked("####", -0.4), "  -0");
}

TEST(MaskedReal, SignTakesOneIntegerPosition) {
  EXPECT_EQ(masked("##.##", 12.5), "12.50");
  EXPECT_EQ(masked("##.##", -12.5), "%-12.50");
}

// Halves go up on the value first rounded to 16 significant digits, so
// stored values just below a half still round up.
TEST(MaskedReal, RoundsHalfUpFromSixteenDigits) {
  EXPECT_EQ(masked("##.##", 2.675), " 2.68");  // stored as 2.67499999999999982...
  EXPECT_EQ(masked("##.##", 0.125), " 0.13");
  EXPECT_EQ(masked("##.###", 1.2345), " 1.235");  // stored as 1.23449999999999993...
  EXPECT_EQ(masked("####", 2.5), "   3");
  EXPECT_EQ(masked("####", -2.5), "  -3");
  EXPECT_EQ(masked("##.##", 9.995), " 9.99");  // stored as 9.99499999999999921...: 16 digits keep it below
}

TEST(MaskedReal, CarryIntoNewDigitWidensTheField) {
  EXPECT_EQ(masked("##.##", 99.995), "%100.00");
  EXPECT_EQ(masked("##", 99.5), "%100");
  EXPECT_EQ(masked("##", 98.5), "99");
}

TEST(MaskedReal, ZeroTakesALoneDigitOnlyWhenAPositionIsFree) {
  EXPECT_EQ(masked("#.##", 0.5), "0.50");
  EXPECT_EQ(masked("#.##", -0.5), "-.50");
  EXPECT_EQ(masked("#", 0.0), "0");
}

TEST(MaskedReal, WidensUpToThreeDigits) {
  EXPECT_EQ(masked("##.##", 999.5), "%999.50");
  EXPECT_EQ(masked("##.##", 12345.5), "%12345.50");
  EXPECT_EQ(masked("##.##", -1234.5), "%-1234.50");
}

TEST(MaskedReal, ExponentFormBeyondThreeExtraDigits) {
  const std::vector<RealRow> rows = {
      {"##.##", 123456.7, "% 1.23E+5"},
      {"##.##", -123456.7, "%-1.23E+5"},  // the "-" takes the free position
      {"##.##", -12345.5, "%-1.23E+4"},   // one digit wider than a negative can widen
      {"##.##", 999999, "% 1.00E+6"},     // a carry raises the exponent
      {"##.##", 1.5e12, "% 1.50E+%12"},   // two-digit exponent behind "%"
      {"##.## mag", 123456.7, "% 1.23E+5 mag"},
      {"###", 1234567, "% 12E+5"},
      {"####", 123456789, "% 123E+6"},
      {"##.#", 1e300, "% 1.0E+%300"},
      // Rounded to S digits from the 16-digit value, not from the value
      // already rounded to the mask's decimals (which would be 150000).
      {"##", 149999.5, "% 1E+5"},
  };
  for (const RealRow& row : rows) {
    EXPECT_EQ(masked(row.mask, row.value), row.expected) << row.mask << " with " << row.value;
  }
}

TEST(MaskedInteger, IsExactAndUsesExponentFormWhenFarTooWide) {
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  constexpr std::uint64_t highest = std::numeric_limits<std::uint64_t>::max();
  EXPECT_EQ(masked_integer("###.##", 5), "  5.00");
  EXPECT_EQ(masked_integer("##", 123456), "% 1E+5");
  EXPECT_EQ(masked_integer("###", lowest), "%-92E+%17");
  EXPECT_EQ(masked_integer("####################", lowest), "-9223372036854775808");
  EXPECT_EQ(masked_unsigned("#####", highest), "% 1845E+%16");
  EXPECT_EQ(masked_unsigned("#####################", highest), " 18446744073709551615");
  // Beyond 16 digits an integer is not rounded the way a real is.
  EXPECT_EQ(masked_integer("##################", 12345678901234567), " 12345678901234567");
}

TEST(MaskedReal, NonFiniteValuesAreRightAlignedWords) {
  const double infinity = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(masked("##.##", infinity), "  inf");
  EXPECT_EQ(masked("##.## mag", -infinity), " -inf mag");
  EXPECT_EQ(masked("##.##", nan), "  nan");
  EXPECT_EQ(masked("##.##", -nan), "  nan");
  EXPECT_EQ(masked("##", infinity), "%inf");
}

TEST(PlainInteger, FormsOfEveryKind) {
  struct Row {
    std::int64_t value;
    PlainKind kind;
    const char* expected;
  };
  const std::vector<Row> rows = {
      {5, PlainKind::U8, "5"},     {0, PlainKind::U8, "0"},          {5, PlainKind::U16, "5"},
      {0, PlainKind::U16, "0"},    {5, PlainKind::U32, "5"},         {0, PlainKind::U32, "0"},
      {5, PlainKind::S8, " 5"},    {0, PlainKind::S8, " 0"},         {-5, PlainKind::S8, "-5"},
      {5, PlainKind::S16, " 5"},   {0, PlainKind::S16, " 0"},        {-5, PlainKind::S16, "-5"},
      {5, PlainKind::S32, " 5"},   {0, PlainKind::S32, " 0"},        {-5, PlainKind::S32, "-5"},
      {209, PlainKind::U8, "209"}, {19999, PlainKind::U32, "19999"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(plain(row.value, row.kind), row.expected) << row.value;
  }
}

TEST(PlainInteger, KeepsOnlyTheBitsOfItsWidth) {
  EXPECT_EQ(plain(300, PlainKind::U8), "44");
  EXPECT_EQ(plain(200, PlainKind::S8), "-56");
  EXPECT_EQ(plain(-1, PlainKind::U16), "65535");
  EXPECT_EQ(plain(40000, PlainKind::S16), "-25536");
  EXPECT_EQ(plain(-1, PlainKind::U32), "4294967295");
  EXPECT_EQ(plain(2147483648, PlainKind::S32), "-2147483648");
}

TEST(PlainReal, Forms) {
  struct Row {
    double value;
    const char* expected;
  };
  const std::vector<Row> rows = {
      {5, " 5"},
      {0, " 0"},
      {-5, "-5"},
      {12.5, " 12.5"},
      {-0.0, "-0"},
      {0.00001, " 1e-005"},
      {2e20, " 2e+020"},
      {1234, " 1234"},
      {0.25, " 0.25"},
      {0.1, " 0.1"},
      {-0.0001, "-0.0001"},
      // Fixed notation from 10^-4 up to below 10^16.
      {0.00012345, " 0.00012345"},
      {0.000099999, " 9.9999e-005"},
      {1e15, " 1000000000000000"},
      {9999999999999998.0, " 9999999999999998"},
      {1e16, " 1e+016"},
      {-123456789012345678.0, "-1.234567890123457e+017"},
      // 16 significant digits, half up, from the exact stored value.
      {1.0 / 3.0, " 0.3333333333333333"},
      {2.0 / 3.0, " 0.6666666666666666"},  // stored as 0.66666666666666662966...
      {0.1 + 0.2, " 0.3"},
      {2.675, " 2.675"},
      {1e100, " 1e+100"},
      {1e-300, " 1e-300"},
      {std::numeric_limits<double>::denorm_min(), " 4.940656458412465e-324"},
      {std::numeric_limits<double>::max(), " 1.797693134862316e+308"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::infinity(), " inf"},
      {std::numeric_limits<double>::quiet_NaN(), " nan"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(plain_real(row.value), row.expected) << row.value;
  }
}

TEST(PlainReal, AppendsWithoutTouchingWhatIsThere) {
  std::string out = "Mean:";
  append_plain_real(out, 1.5);
  append_plain(out, 7, PlainKind::U8);
  append_masked(out, "## mag", 3.0);
  EXPECT_EQ(out, "Mean: 1.57 3 mag");
}

}  // namespace
}  // namespace varisift
