// Reading a text file line by line in large blocks. A line ends at LF, at
// CR LF or at a CR alone (a byte after a lone CR begins the next line);
// lines of any length are returned whole and bytes pass through unchanged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

namespace varisift {

// The byte limit of a reader that reads its file to the end.
inline constexpr std::uint64_t no_byte_limit = std::numeric_limits<std::uint64_t>::max();

// The first CR or LF in [from, to), or to when there is none.
const char* find_line_end(const char* from, const char* to);

class LineReader {
 public:
  // Reads from an open file; the reader does not close it. With a byte
  // limit it reads only that many bytes from where the file stands, as if
  // the file ended there (a watch reads the prefix of a growing log).
  explicit LineReader(std::FILE* file, std::uint64_t byte_limit = no_byte_limit);

  // The bytes up to the next line end, without it. At the end of the file,
  // the bytes read so far, possibly none. The view stays valid until the
  // next call.
  std::string_view read_line();

  // True when no byte is left to read.
  bool at_end();

 private:
  // Moves the unread bytes to the front and reads more; grows the buffer
  // when one line fills it. Returns false when the file has no more bytes.
  bool refill();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;     // first unread byte
  std::size_t end_ = 0;       // one past the last byte read
  std::uint64_t bytes_left_;  // of the byte limit
  bool file_done_ = false;
};

}  // namespace varisift
