// Reading a file line by line: LF, CR LF and lone CR line ends, a last line
// without line end, bytes passing through unchanged, and lines that cross or
// exceed the reader's internal block.
#include "run/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace varisift {
namespace {

using namespace std::string_literals;

// The reader's block: lines around this size cross a refill.
constexpr std::size_t block = std::size_t{1} << 22;

std::vector<std::string> read_all(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  LineReader reader(file);
  std::vector<std::string> lines;
  while (!reader.at_end()) lines.emplace_back(reader.read_line());
  std::fclose(file);
  return lines;
}

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

}  // namespace
}  // namespace varisift
