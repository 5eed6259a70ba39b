// Following Skymensor.log while the measuring program appends to it: each
// poll opens the log, reads the bytes added since the last poll and hands
// them to the prefix rule (store/log_prefix.h). A log that is gone, that
// became shorter or whose bytes before the end changed (replaced by another
// file) is read anew from its start.
#pragma once

#include <cstdint>
#include <string>

#include "store/log_prefix.h"

namespace varisift {

// What a poll found.
struct LogPoll {
  bool present = false;    // the log could be opened
  bool changed = false;    // it appeared, grew or was read anew
  bool read_anew = false;  // it shrank or was replaced since the last poll
};

class GrowingLog {
 public:
  explicit GrowingLog(std::string path) : path_(std::move(path)) {}

  LogPoll poll();

  // The prefix of the log a run can read whole, as the last poll found it.
  std::uint64_t readable() const { return prefix_.readable(); }

 private:
  // Whether the bytes before the end of the part taken are still those taken.
  bool same_bytes_before(std::FILE* file);
  // Takes the bytes from the end of the part taken to the end of the file.
  void take_new_bytes(std::FILE* file);

  std::string path_;
  bool present_ = false;
  LogPrefix prefix_;
  std::string last_bytes_;  // the last bytes taken
};

}  // namespace varisift
