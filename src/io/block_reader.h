// Reading a text file in large blocks of whole lines, so that the lines of a
// block can be split and read on several cores. The lines are exactly those
// LineReader gives: a line ends at LF, CR LF or a lone CR, and a last line
// without line end counts too.
#pragma once

#include <string_view>
#include <vector>

#include "io/byte_source.h"

namespace varisift {

// The next line of text, which holds whole lines; rest moves past it and its
// line end.
std::string_view next_line(std::string_view& rest);

// The first position at or after pos where a line begins (text.size() when
// none does): the split point between two parts of whole lines.
std::size_t next_line_start(std::string_view text, std::size_t pos);

class BlockReader {
 public:
  static constexpr std::size_t default_block_bytes = std::size_t{1} << 22;

  // Reads from a source in blocks of about block_bytes (more for a longer
  // line, below max_line_bytes).
  explicit BlockReader(ByteSource& source, std::size_t block_bytes = default_block_bytes,
                       std::size_t max_line_bytes = default_max_line_bytes);

  // A longer line is no line of a text file but a run of bytes (a crafted
  // compressed file expands to gigabytes without a line end): reading stops
  // there rather than holding it all in memory.
  static constexpr std::size_t default_max_line_bytes = std::size_t{1} << 24;

  // The next block of whole lines (at least one line); false at the end of
  // the file, or at a line of max_line_bytes or more. The view stays valid
  // until the next call.
  bool next_block(std::string_view& lines);
  // Whether reading stopped at such a line.
  bool line_too_long() const { return line_too_long_; }

 private:
  ByteSource& source_;
  std::vector<char> buffer_;
  std::size_t kept_ = 0;        // bytes of an unfinished line carried over
  std::size_t handed_out_ = 0;  // bytes of the block last handed out
  std::size_t max_line_bytes_;
  bool file_done_ = false;
  bool line_too_long_ = false;
};

}  // namespace varisift
