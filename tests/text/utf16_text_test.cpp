// UTF-8 and UTF-16 names: characters of every plane and at the boundaries of
// each length round trip, and what is not a character becomes U+FFFD, so the
// UTF-8 made is always valid.
#include "text/utf16_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace varisift {
namespace {

TEST(Utf16Text, NamesRoundTripBothWays) {
  const std::vector<std::pair<std::string, std::u16string>> rows = {
      {"Łódź", u"Łódź"},
      {"Ωmega", u"Ωmega"},
      {"観測.html", u"観測.html"},
      {"\xF0\x9D\x84\x9E", u"\xD834\xDD1E"},  // U+1D11E, astral: a surrogate pair
      // The last and first character of each length of UTF-8.
      {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80", u"\x7F\x80\x7FF\x800"},
      {"\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\xFFFF\xD800\xDC00\xDBFF\xDFFF"},
  };
  for (const auto& [utf8, utf16] : rows) {
    EXPECT_EQ(utf8_to_utf16(utf8), utf16) << utf8;
    EXPECT_EQ(utf16_to_utf8(utf16), utf8) << utf8;
  }
}

// Every byte that begins no valid sequence is one U+FFFD; so is a
// surrogate without its partner.
TEST(Utf16Text, WhatIsNoCharacterBecomesOneReplacementEach) {
  const std::vector<std::pair<std::string, std::u16string>> from_utf8 = {
      {"M\xE4rz", u"M\xFFFDrz"},                                    // a Latin-1 byte
      {"\xE8\xA6x\xC5\x81", u"\xFFFD\xFFFDxŁ"},                     // a cut sequence
      {"\xC0\xAF\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},  // overlong, encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},            // beyond U+10FFFF
  };
  for (const auto& [utf8, utf16] : from_utf8) EXPECT_EQ(utf8_to_utf16(utf8), utf16) << utf8;
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(utf16_to_utf8(u"a\xD834"), "a" + replacement);
  EXPECT_EQ(utf16_to_utf8(u"\xDD1E\xD834\xD834\xDD1E"), replacement + replacement + "\xF0\x9D\x84\x9E");
}

}  // namespace
}  // namespace varisift
