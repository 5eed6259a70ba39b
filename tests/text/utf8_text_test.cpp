// Latin-1 names of the log and the catalogue made UTF-8 for the exports:
// one byte stays one byte up to 0x7F, and takes two from 0x80 on.
#include "text/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace varisift {
namespace {

using namespace std::string_literals;

TEST(Utf8Text, Latin1TakesTwoBytesFrom0x80On) {
  EXPECT_EQ(latin1_to_utf8("\x7F\x80\xBF\xC0\xFF"s), "\x7F\xC2\x80\xC2\xBF\xC3\x80\xC3\xBF"s);
  EXPECT_EQ(latin1_to_utf8("\0"s), "\0"s);
}

}  // namespace
}  // namespace varisift
