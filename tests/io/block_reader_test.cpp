// Blocks of whole lines give exactly the lines of the line reader, whatever
// the line ends and wherever a block boundary falls; a text split at
// next_line_start gives the same lines in its two parts; reading stops at a
// line of 16 MiB.
#include "io/block_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "io/line_reader.h"
#include "support/line_files.h"

namespace varisift {
namespace {

std::vector<std::string> lines_of_blocks(const std::string& bytes, std::size_t block_bytes, bool split) {
  std::FILE* file = testing::file_holding(bytes);
  FileSource source(file);
  BlockReader reader(source, block_bytes);
  std::vector<std::string> lines;
  std::string_view block;
  while (reader.next_block(block)) {
    std::size_t middle = split ? next_line_start(block, block.size() / 2) : block.size();
    for (std::string_view part : {block.substr(0, middle), block.substr(middle)})
      while (!part.empty()) lines.emplace_back(next_line(part));
  }
  std::fclose(file);
  return lines;
}

TEST(BlockReader, SameLinesAsTheLineReader) {
  const char pieces[] = {'a', 'b', ' ', '\r', '\n', '\r', '\n', 'x'};
  std::mt19937 rng(3);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(rng() % 200, ' ');
    for (char& c : bytes) c = pieces[rng() % sizeof pieces];
    std::vector<std::string> expected = testing::lines_read_by_line_reader(bytes);
    for (std::size_t block : {1, 2, 3, 7, 64}) {
      ASSERT_EQ(lines_of_blocks(bytes, block, false), expected) << round << " block " << block;
      ASSERT_EQ(lines_of_blocks(bytes, block, true), expected) << round << " block " << block;
    }
  }
}

// A line of 16 MiB or more is no line of a text file but a run of bytes (a
// crafted gzip file expands to gigabytes without a line end): reading stops
// there and says so. One byte less is still a line.
TEST(BlockReader, StopsAtALineOf16MiB) {
  constexpr std::size_t mib_16 = std::size_t{1} << 24;
  for (std::size_t length : {mib_16 - 1, mib_16}) {
    std::FILE* file = testing::file_holding(std::string(length, 'x') + "\nnext\n");
    ASSERT_NE(file, nullptr);
    FileSource source(file);
    BlockReader reader(source);
    std::vector<std::size_t> line_lengths;
    std::string_view block;
    while (reader.next_block(block))
      while (!block.empty()) line_lengths.push_back(next_line(block).size());
    std::fclose(file);
    const bool too_long = length == mib_16;
    EXPECT_EQ(reader.line_too_long(), too_long) << length;
    const std::vector<std::size_t> expected =
        too_long ? std::vector<std::size_t>() : std::vector<std::size_t>{length, 4};
    EXPECT_EQ(line_lengths, expected) << length;
  }
}

TEST(BlockReader, LineStarts) {
  EXPECT_EQ(next_line_start("ab\r\ncd", 3), 4u);  // between CR and LF
  EXPECT_EQ(next_line_start("ab\rcd", 3), 3u);    // after a lone CR
  EXPECT_EQ(next_line_start("ab\ncd", 1), 3u);
  EXPECT_EQ(next_line_start("abcd", 1), 4u);
  EXPECT_EQ(next_line_start("abcd", 0), 0u);
}

}  // namespace
}  // namespace varisift
