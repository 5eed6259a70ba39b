// What makes a file gzip data: its first two bytes, 1F 8B, both of them.
#include "io/gzip_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/line_files.h"

namespace varisift {
namespace {

using namespace std::string_literals;

TEST(GzipSignature, TheFirstTwoBytesAndTheFileLeftAtItsStart) {
  struct Row {
    const char* what;
    std::string bytes;
    bool gzip;
  };
  const Row rows[] = {
      {"a gzip header", "\x1F\x8B\x08\x00"s, true},
      {"the signature alone", "\x1F\x8B"s, true},
      {"the second byte off by one", "\x1F\x8C\x08\x00"s, false},
      {"the first byte alone of it",
       "\x1F"
       "A catalogue line"s,
       false},
      {"the two bytes swapped", "\x8B\x1F"s, false},
      {"one byte", "\x1F"s, false},
      {"an empty file", ""s, false},
  };
  for (const Row& row : rows) {
    std::FILE* file = testing::file_holding(row.bytes);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(starts_with_gzip_signature(file), row.gzip) << row.what;
    EXPECT_EQ(std::ftell(file), 0) << row.what;
    std::fclose(file);
  }
}

}  // namespace
}  // namespace varisift
