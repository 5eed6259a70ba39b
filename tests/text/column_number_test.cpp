// The quick reading of column numbers gives exactly text_to_number's value,
// sign of zero included, on random fields of digits, signs, points,
// exponents, blanks and junk.
#include "text/column_number.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "text/number_text.h"

namespace varisift {
namespace {

TEST(FieldNumber, EqualsTextToNumberOnRandomFields) {
  const std::string alphabet = "  0123456789012345678901234567890123456789+-..eEdDx";
  std::mt19937 rng(31);
  for (int k = 0; k < 1000000; ++k) {
    std::string field(rng() % 22, ' ');
    for (char& c : field) c = alphabet[rng() % alphabet.size()];
    double quick = field_number(field);
    double plain = text_to_number(field);
    ASSERT_EQ(std::memcmp(&quick, &plain, sizeof quick), 0) << "[" << field << "]";
  }
}

TEST(FieldNumber, TypicalColumns) {
  EXPECT_EQ(field_number("180.00000"), 180.0);
  EXPECT_EQ(field_number(" -12.50000"), -12.5);
  EXPECT_EQ(field_number("  9.5"), 9.5);
  EXPECT_TRUE(std::signbit(field_number("-0")));
  EXPECT_EQ(field_number("1d3"), 1000.0);
  EXPECT_EQ(column_number("123", 4, 2), 0.0);      // beyond the line
  EXPECT_EQ(column_number("1234.5", 3, 9), 34.5);  // as far as the line reaches
}

}  // namespace
}  // namespace varisift
