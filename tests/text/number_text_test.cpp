// Examples of reading numbers from log and catalogue columns, and of storing
// them in integer fields of the store.
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace varisift {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Bit-for-bit equality, so that -0.0 differs from 0.0.
::testing::AssertionResult same_double(double actual, double expected) {
  if (std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "got " << actual << (std::signbit(actual) ? " (sign set)" : "")
                                       << ", expected " << expected << (std::signbit(expected) ? " (sign set)" : "");
}

double reference_value(const std::string& text) {
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_EQ(result.ec, std::errc{}) << text;
  EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
  return value;
}

struct Row {
  std::string text;
  double expected;
};

TEST(TextToNumber, ReadsColumnFields) {
  const std::vector<Row> rows = {
      {"12", 12.0},         {" 5", 5.0},
      {"-0.50", -0.5},      {"12.34", 12.34},
      {"  123.5  ", 123.5}, {"007", 7.0},
      {"1e3", 1000.0},      {"2.5E-1", 0.25},
      {"1d3", 1000.0},      {"1D-2", 0.01},
      {"+5", 5.0},          {"  -.5e+2x", -50.0},
      {"5.", 5.0},          {".5", 0.5},
      {"12:34", 12.0},      {"1.2.3", 1.2},
      {"5e", 5.0},          {"5e+", 5.0},
      {"5d-x", 5.0},        {"1ee5", 1.0},
      {"0.1", 0.1},         {"86399999.5", 86399999.5},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(same_double(text_to_number(row.text), row.expected)) << "[" << row.text << "]";
  }
}

TEST(TextToNumber, TextWithoutANumberReadsAsZero) {
  const std::vector<std::string> texts = {"",    "   ", ".",    "-",   "+",   "-.",  "e5",  "d5",
                                          "-e5", "inf", "-inf", "nan", "NaN", "abc", "\t5", "- 5"};
  for (const std::string& text : texts) {
    EXPECT_TRUE(same_double(text_to_number(text), 0.0)) << "[" << text << "]";
  }
}

TEST(TextToNumber, HexadecimalReadsAsTheDigitsBeforeTheX) {
  EXPECT_TRUE(same_double(text_to_number("0x1p3"), 0.0));
  EXPECT_TRUE(same_double(text_to_number("7x"), 7.0));
}

TEST(TextToNumber, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(same_double(text_to_number("-0"), -0.0));
  EXPECT_TRUE(same_double(text_to_number("-0.000e5"), -0.0));
  EXPECT_TRUE(same_double(text_to_number("0"), 0.0));
}

TEST(TextToNumber, ExponentsOutOfRangeGiveInfinityOrZero) {
  const std::vector<Row> rows = {
      {"1e999", infinity},
      {"-1e999", -infinity},
      {"1e-999", 0.0},
      {"-1e-999", -0.0},
      {"1e99999999999999999999999", infinity},
      {"1e-99999999999999999999999", 0.0},
      {"0e99999999999999999999999", 0.0},
      {"1.7976931348623158e308", std::numeric_limits<double>::max()},
      {"1.7976931348623159e308", infinity},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min()},
      {"2.4703282292062327e-324", 0.0},
      {"1e-310", 1e-310},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(same_double(text_to_number(row.text), row.expected)) << "[" << row.text << "]";
  }
}

TEST(TextToNumber, IsCorrectlyRoundedBeyondTheFastPath) {
  // 2^53 + 1 lies halfway between two doubles: ties go to the even one.
  EXPECT_TRUE(same_double(text_to_number("9007199254740993"), 9007199254740992.0));
  EXPECT_TRUE(same_double(text_to_number("9007199254740995"), 9007199254740996.0));
  EXPECT_TRUE(same_double(text_to_number("12345678901234567890123"), 1.2345678901234568e22));
  EXPECT_TRUE(same_double(text_to_number("1e23"), 1e23));
  EXPECT_TRUE(same_double(text_to_number("0.000000000000000000000000001"), 1e-27));
}

TEST(TextToNumber, ReadsAThousandDigits) {
  const std::string thirds = "0." + std::string(1000, '3');
  EXPECT_TRUE(same_double(text_to_number(thirds), 1.0 / 3.0));
  EXPECT_TRUE(same_double(text_to_number("1" + std::string(300, '0')), 1e300));
  EXPECT_TRUE(same_double(text_to_number("1" + std::string(999, '0')), infinity));
  EXPECT_TRUE(same_double(text_to_number("0." + std::string(999, '0') + "1e1000"), 1.0));
}

// 1 + 2^-53 is the midpoint between 1 and the next double: the exact midpoint
// goes to the even 1, anything above it, however far down the digits, goes up.
TEST(TextToNumber, DigitsFarBeyondTheMidpointStillDecide) {
  const std::string midpoint = "1.00000000000000011102230246251565404236316680908203125";
  const double above_one = std::nextafter(1.0, 2.0);
  EXPECT_TRUE(same_double(text_to_number(midpoint), 1.0));
  EXPECT_TRUE(same_double(text_to_number(midpoint + std::string(1000, '0')), 1.0));
  EXPECT_TRUE(same_double(text_to_number(midpoint + std::string(1000, '0') + "1"), above_one));
  EXPECT_TRUE(same_double(text_to_number(midpoint + std::string(1000, '0') + "1d0"), above_one));
}

// Random short decimals, as the log's columns hold them, must match the
// standard library's correctly rounded conversion bit for bit, also when the
// exponent letter is "d".
TEST(TextToNumber, MatchesTheStandardConversionOnRandomDecimals) {
  std::mt19937_64 random(20240611);
  const auto below = [&random](int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); };
  constexpr int samples = 200000;
  for (int sample = 0; sample < samples; ++sample) {
    std::string text;
    if (below(2) == 0) {
      text.push_back('-');
    }
    const bool long_mantissa = below(10) == 0;  // now and then beyond 19 digits
    const int digits = 1 + below(long_mantissa ? 40 : 19);
    const int point = below(digits + 2) - 1;  // -1: no point
    for (int i = 0; i < digits; ++i) {
      if (i == point) {
        text.push_back('.');
      }
      text.push_back(static_cast<char>('0' + below(10)));
    }
    if (point == digits) {
      text.push_back('.');
    }
    std::string with_d = text;
    if (below(2) == 0) {
      const int wide = below(8) == 0 ? 260 : 30;  // stays inside the range of doubles
      const std::string exponent = std::to_string(below(2 * wide + 1) - wide);
      text += "e" + exponent;
      with_d += "D" + exponent;
    }
    const double expected = reference_value(text);
    ASSERT_TRUE(same_double(text_to_number(text), expected)) << "[" << text << "]";
    ASSERT_TRUE(same_double(text_to_number(with_d), expected)) << "[" << with_d << "]";
  }
}

TEST(RoundToInteger, TiesGoToEven) {
  const std::vector<std::pair<double, std::int64_t>> rows = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-2.5, -2},
      {-3.5, -4},
      {2.4999999999999996, 2},
      {2.5000000000000004, 3},
      {-7.6, -8},
      {1234.0, 1234},
  };
  for (const auto& [value, expected] : rows) {
    EXPECT_EQ(round_to_int64(value), expected) << value;
  }
}

TEST(RoundToInteger, SaturatesBeyondSixtyFourBits) {
  constexpr std::int64_t highest = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(round_to_int64(9223372036854775808.0), highest);
  EXPECT_EQ(round_to_int64(9223372036854774784.0), 9223372036854774784);
  EXPECT_EQ(round_to_int64(-9223372036854775808.0), lowest);
  EXPECT_EQ(round_to_int64(1e300), highest);
  EXPECT_EQ(round_to_int64(-1e300), lowest);
  EXPECT_EQ(round_to_int64(infinity), highest);
  EXPECT_EQ(round_to_int64(-infinity), lowest);
  EXPECT_EQ(round_to_int64(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(RoundToInteger, NarrowFieldsKeepTheLowBits) {
  // FWHM columns [25.6] and [30.0]: whole part times ten plus tenths.
  EXPECT_EQ(round_to_u8(text_to_number("25") * 10 + text_to_number("6")), 0);
  EXPECT_EQ(round_to_u8(text_to_number("30") * 10 + text_to_number("0")), 44);
  EXPECT_EQ(round_to_u8(300.0), 44);
  EXPECT_EQ(round_to_u8(255.5), 0);
  EXPECT_EQ(round_to_u8(-1.0), 255);
  EXPECT_EQ(round_to_s16(-50.0), -50);
  EXPECT_EQ(round_to_s16(32768.0), -32768);
  EXPECT_EQ(round_to_s16(40000.0), -25536);
  EXPECT_EQ(round_to_s32(2147483648.0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(round_to_s32(-32400000.0), -32400000);
  EXPECT_EQ(round_to_u32(-1.0), 4294967295u);
  EXPECT_EQ(round_to_u32(86399999.5), 86400000u);
  // Saturated first, then cut: the low bits of the largest 64-bit value.
  EXPECT_EQ(round_to_u8(infinity), 255);
  EXPECT_EQ(round_to_s16(-infinity), 0);
  EXPECT_EQ(round_to_u8(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace varisift
