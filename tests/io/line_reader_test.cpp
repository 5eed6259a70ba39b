// Reading a file line by line: LF, CR LF and lone CR line ends, a last line
// without line end, bytes passing through unchanged, and lines that cross or
// exceed the reader's internal block.
#include "io/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "support/line_files.h"

namespace varisift {
namespace {

using namespace std::string_literals;

// The reader's block: lines around this size cross a refill.
constexpr std::size_t block = std::size_t{1} << 22;

std::vector<std::string> read_all(const std::string& bytes) { return testing::lines_read_by_line_reader(bytes); }

TEST(LineReader, SplitsAtEveryKindOfLineEnd) {
  struct Row {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Row> rows = {
      {"empty file", "", {}},
      {"LF", "ab\ncd\n", {"ab", "cd"}},
      {"CR LF", "ab\r\ncd\r\n", {"ab", "cd"}},
      {"lone CR", "ab\rcd\r", {"ab", "cd"}},
      {"mixed in one file", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
      {"last line without line end", "ab\ncd", {"ab", "cd"}},
      {"empty lines", "\n\r\n\r\rx", {"", "", "", "", "x"}},
      {"CR then CR LF is two line ends", "a\r\r\nb", {"a", "", "b"}},
      {"LF then CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"Latin-1 and NUL bytes pass", "\xB0\xB1\xB5 \xF6\n\0x\n"s, {"\xB0\xB1\xB5 \xF6", "\0x"s}},
      {"trailing blanks kept", "  a  \n", {"  a  "}},
  };
  for (const Row& row : rows) EXPECT_EQ(read_all(row.bytes), row.lines) << row.what;
}

TEST(LineReader, LinesAcrossTheBlockBoundary) {
  const std::string filler(block - 1, 'x');  // the CR is the last byte of a block
  const std::string huge(block + block / 2, 'y');
  struct Row {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Row> rows = {
      {"CR LF split by a refill", filler + "\r\nnext\n", {filler, "next"}},
      {"lone CR as last byte of a block", filler + "\rnext", {filler, "next"}},
      {"CR as last byte of the file", filler + "\r", {filler}},
      {"line longer than a block", huge + "\nend", {huge, "end"}},
  };
  for (const Row& row : rows) EXPECT_EQ(read_all(row.bytes), row.lines) << row.what;
}

// A last line without line end that exactly fills the reader's buffer at
// the end of the file: the reader grows its buffer looking for more bytes,
// finds none, and must return the line from the buffer as it stands after
// that refill, not from the block the refill replaced.
TEST(LineReaderFullBuffer, ALastLineThatFillsTheBufferExactlyIsReadWhole) {
  // A line of one block ending in "abc" and two NULs.
  std::string found(block - 5, 'b');
  found += std::string("abc\0\0", 5);
  EXPECT_EQ(read_all(found), std::vector<std::string>{found});

  std::string two_blocks(2 * block, 'z');  // fills the buffer after one growth
  EXPECT_EQ(read_all(two_blocks), std::vector<std::string>{two_blocks});
}

TEST(LineReaderFullBuffer, ALastLineMovedToTheFrontThatThenFillsTheBuffer) {
  // "ab" and its line end are consumed; the rest, moved to the front of the
  // buffer and topped up by the last three bytes of the file, fills it.
  std::string last(block, 'q');
  last.replace(block - 3, 3, "end");
  EXPECT_EQ(read_all("ab\n" + last), (std::vector<std::string>{"ab", last}));
  EXPECT_EQ(read_all("ab\r\n" + last), (std::vector<std::string>{"ab", last}));
}

TEST(LineReaderFullBuffer, ALineOneByteShortOfTheBufferOrOneLonger) {
  for (std::size_t size : {block - 1, block + 1}) {
    std::string line(size, 'w');
    EXPECT_EQ(read_all(line), std::vector<std::string>{line}) << size;
    EXPECT_EQ(read_all(line + "\r"), std::vector<std::string>{line}) << size;
  }
}

// A reader with a byte limit reads the file as if it were cut there: a CR
// at the limit ends its line, and the LF after it is never read.
TEST(LineReaderByteLimit, ReadsLikeTheFileCutAtTheLimit) {
  const std::string small = "ab\r\ncd\ref\n\ngh";
  std::string crossing(block - 1, 'x');
  crossing += "\r\nnext\r\nlast";
  for (const std::string& bytes : {small, crossing}) {
    // Every cut of the small text; around the CR LF at the block's end and
    // at the end of the long one.
    std::vector<std::size_t> limits = {0, bytes.size() - 1, bytes.size(), bytes.size() + 1};
    if (bytes.size() > block) {
      limits.insert(limits.end(), {block - 1, block, block + 1});
    } else {
      for (std::size_t cut = 1; cut < bytes.size(); ++cut) limits.push_back(cut);
    }
    for (std::size_t limit : limits) {
      std::FILE* file = testing::file_holding(bytes);
      ASSERT_NE(file, nullptr);
      LineReader reader(file, limit);
      std::vector<std::string> lines;
      while (!reader.at_end()) lines.emplace_back(reader.read_line());
      std::fclose(file);
      EXPECT_EQ(lines, read_all(bytes.substr(0, limit))) << bytes.size() << " bytes, limit " << limit;
    }
  }
}

}  // namespace
}  // namespace varisift
