// The readable prefix of a growing log: cut last lines, a CR that waits for
// its LF, tables cut off or closed, and the same prefix however the bytes
// arrive.
#include "store/log_prefix.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace varisift {
namespace {

std::uint64_t readable_of(const std::string& text) {
  LogPrefix prefix;
  prefix.add(text);
  return prefix.readable();
}

const std::string heading = "09:07:30 - Photometry of Image 2 (F-0002-V.fit): \r\n";
const std::string table = heading + "     RA  Dec\r\n -----\r\n  02 59 33.081  +29\r\n  02 59 34.168  +30\r\n";
const std::string start = "09:06:56 - Start 2019/10/13\r\n";

TEST(LogPrefix, EndsAtTheLastCompleteLineAndBeforeAnOpenTable) {
  struct Row {
    const char* what;
    std::string text;
    std::size_t readable;
  };
  const std::vector<Row> rows = {
      {"a cut last line", "ab\ncd", 3},
      {"a trailing lone CR waits", "ab\r", 0},
      {"CR LF", "ab\r\n", 4},
      {"a lone CR with a byte after it", "ab\rc", 3},
      {"CR then CR: the second waits", "ab\r\r", 3},
      {"a cut table", start + table, start.size()},
      {"a table closed by a complete non-blank line", start + table + "09:07:31 - End\r\n",
       start.size() + table.size() + 16},
      {"a table and an incomplete non-blank line", start + table + "09:07:31 - End", start.size()},
      {"a table and a closing line whose CR waits", start + table + "09:07:31 - End\r", start.size()},
      {"a table and a blank line only", start + table + "\r\n", start.size()},
      {"a closed table, then a cut one", table + "09:08 - x\n" + table, table.size() + 10},
  };
  for (const Row& row : rows) EXPECT_EQ(readable_of(row.text), row.readable) << row.what;
}

// The prefix by its definition, from the whole text at once.
std::uint64_t direct_readable(const std::string& text, const std::string& key) {
  std::size_t pos = 0, last_end = 0, table_start = 0;
  bool open = false;
  for (;;) {
    const std::size_t stop = text.find_first_of("\r\n", pos);
    if (stop == std::string::npos || (text[stop] == '\r' && stop + 1 == text.size())) break;
    const std::size_t next = text.compare(stop, 2, "\r\n") == 0 ? stop + 2 : stop + 1;
    const std::string line = text.substr(pos, stop - pos);
    if (!line.empty() && line[0] != ' ') open = false;
    if (!open && line.find(key) != std::string::npos) {
      open = true;
      table_start = pos;
    }
    last_end = pos = next;
  }
  return open ? table_start : last_end;
}

// Random texts of line ends, blanks, words and the heading's key, fed in
// random pieces (a CR LF and the key cut between two reads included).
TEST(LogPrefix, RandomPiecesGiveThePrefixOfTheWholeText) {
  const std::string key = "Photometry of Image ";
  const std::vector<std::string> tokens = {"\r", "\n", "\r\n", " ", "x", "09", key, "Photometry "};
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int k = 0; k < count; ++k) text += tokens[random() % tokens.size()];
    LogPrefix prefix;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t piece = 1 + random() % 8;
      prefix.add(std::string_view(text).substr(at, piece));
      at += piece;
    }
    ASSERT_EQ(prefix.readable(), direct_readable(text, key)) << ::testing::PrintToString(text);
    ASSERT_EQ(prefix.taken(), text.size());
  }
}

}  // namespace
}  // namespace varisift
