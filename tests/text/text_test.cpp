// Examples of the text operations with which log and catalogue lines are cut
// into fields: 1-based columns, searching, trimming and comparing.
#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace varisift {
namespace {

using namespace std::string_view_literals;

constexpr std::int64_t huge = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();

TEST(MidText, CutsColumns) {
  struct Row {
    std::string_view text;
    std::int64_t start;
    std::int64_t length;
    std::string_view expected;
  };
  const std::vector<Row> rows = {
      {"12:34:56", 1, 2, "12"},      {"12:34:56", 4, 2, "34"}, {"12:34:56", 7, 2, "56"},
      {"12:34:56", 7, 5, "56"},                               // runs past the end: the rest
      {"12:34:56", 3, -1, ":34:56"},                          // negative length: the rest
      {"12:34:56", 8, huge, "6"},    {"12:34:56", 9, 2, ""},  // a column beyond a short line
      {"12:34:56", 0, 2, ""},        {"12:34:56", -5, 2, ""},  {"12:34:56", lowest, huge, ""},
      {"12:34:56", huge, 1, ""},     {"12:34:56", 1, 0, ""},   {"", 1, 1, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(mid_text(row.text, row.start, row.length), row.expected)
        << "[" << row.text << "] from " << row.start << " length " << row.length;
  }
}

TEST(MidText, IsAViewIntoTheLine) {
  const std::string line = " 12 34 56.789";
  const std::string_view part = mid_text(line, 2, 2);
  EXPECT_EQ(part.data(), line.data() + 1);
}

TEST(LeftAndRightText, TakeTheEnds) {
  EXPECT_EQ(left_text("abcdef", 2), "ab");
  EXPECT_EQ(right_text("abcdef", 2), "ef");
  EXPECT_EQ(left_text("abcdef", 6), "abcdef");
  EXPECT_EQ(right_text("abcdef", huge), "abcdef");
  EXPECT_EQ(left_text("abcdef", 0), "");
  EXPECT_EQ(right_text("abcdef", -3), "");
  EXPECT_EQ(left_text("", 3), "");
  EXPECT_EQ(right_text("", 3), "");
  // An image line's answer: its last two and three characters.
  EXPECT_EQ(right_text("Solve Image : yes", 3), "yes");
}

TEST(FindText, FindsFromAStartPosition) {
  struct Row {
    std::int64_t start;
    std::string_view text;
    std::string_view pattern;
    std::int64_t expected;
  };
  const std::vector<Row> rows = {
      {1, "12-", "-", 3},          {4, "12-", "-", 0},                             // start beyond the text
      {3, "12-", "-", 3},          {1, "a:b:c", ":", 2},    {3, "a:b:c", ":", 4},  // the second ":" of a time
      {1, "Image  RA", "  RA", 6}, {1, "abc", "abcd", 0},                          // pattern longer than the text
      {2, "abcabc", "abc", 4},     {5, "abcabc", "abc", 0},                        // would run past the end
      {1, "abc", "x", 0},          {0, "abc", "a", 0},      {-1, "abc", "a", 0},   {1, "", "a", 0},
      {1, "abc", "", 0},           {lowest, "abc", "a", 0}, {huge, "abc", "a", 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(find_text(row.start, row.text, row.pattern), row.expected)
        << "[" << row.pattern << "] in [" << row.text << "] from " << row.start;
  }
}

TEST(Trim, RemovesBlanksAndTrailingNuls) {
  const std::string_view padded = "  a b \0 \0"sv;
  EXPECT_EQ(trim_left(padded), "a b \0 \0"sv);
  EXPECT_EQ(trim_right(padded), "  a b"sv);
  EXPECT_EQ(trim_text(padded), "a b"sv);
  // Only byte 32 counts as a blank on the left; NUL only on the right.
  EXPECT_EQ(trim_left("\0 a"sv), "\0 a"sv);
  EXPECT_EQ(trim_left("\ta"), "\ta");
  EXPECT_EQ(trim_right("a\t"), "a\t");
  EXPECT_EQ(trim_text("    "), "");
  EXPECT_EQ(trim_text(""), "");
  EXPECT_EQ(trim_text(" \0 "sv), "");
}

TEST(CompareText, OrdersBytesAsUnsigned) {
  EXPECT_EQ(compare_text("20240101120000", "20240101120000"), 0);
  EXPECT_LT(compare_text("20240101115959", "20240101120000"), 0);
  EXPECT_GT(compare_text("b", "a"), 0);
  EXPECT_LT(compare_text("abc", "abcd"), 0);  // a prefix is smaller
  EXPECT_GT(compare_text("abcd", "abc"), 0);
  EXPECT_LT(compare_text("", "a"), 0);
  EXPECT_EQ(compare_text("", ""), 0);
  EXPECT_GT(compare_text("\xe9", "z"), 0);  // 233 sorts after 122
  EXPECT_LT(compare_text("a", "a\xff"), 0);
}

TEST(RepeatChar, CopiesTheFirstByte) {
  EXPECT_EQ(repeat_char(5, "-"), "-----");
  EXPECT_EQ(repeat_char(3, "=+"), "===");
  EXPECT_EQ(repeat_char(0, "-"), "");
  EXPECT_EQ(repeat_char(-2, "-"), "");
  EXPECT_EQ(repeat_char(4, ""), "");
  EXPECT_EQ(blanks(15), std::string(15, ' '));
  EXPECT_EQ(blanks(0), "");
  EXPECT_EQ(blanks(-1), "");
}

}  // namespace
}  // namespace varisift
