// The part of a growing measurement log that a run can read whole. Skymensor
// appends to its log line by line while it measures, so a reader can meet a
// last line without its line end, or a photometry table whose last rows are
// still to come. The readable prefix ends at the last line end, where a CR
// at the very end waits for the next byte, since it may be the first half of
// a CR LF; and it ends before the "Photometry of Image" line of a table that
// no later complete line beginning with a non-blank closes, since the rows
// and headings of a table begin with a blank. A run on the prefix reads
// exactly what a run on a copy of the log cut there reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varisift {

class LogPrefix {
 public:
  // Takes the next bytes of the log, in order; they may come in pieces of
  // any size, cut anywhere.
  void add(std::string_view bytes);

  // The bytes taken so far.
  std::uint64_t taken() const { return taken_; }
  // The length of the prefix a run can read whole.
  std::uint64_t readable() const { return table_open_ ? table_start_ : last_line_end_; }

 private:
  void take_line_part(std::string_view part);
  void end_line();

  std::uint64_t taken_ = 0;
  std::uint64_t line_start_ = 0;     // where the line being taken begins
  std::uint64_t last_line_end_ = 0;  // just after the line end of the last complete line
  bool cr_pending_ = false;          // the last byte taken is a CR: a line end, with the LF that may follow
  bool line_empty_ = true;
  bool line_begins_blank_ = false;
  bool line_has_key_ = false;      // the line holds the heading of a photometry table
  std::string key_carry_;          // the line's last bytes, fewer than the heading's key, for a key cut in two
  bool table_open_ = false;        // a table that no complete line beginning with a non-blank has closed yet
  std::uint64_t table_start_ = 0;  // where that table's heading line begins
};

}  // namespace varisift
