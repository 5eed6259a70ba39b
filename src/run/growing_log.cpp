// Polling the growing log and taking its new bytes.
#include "run/growing_log.h"

#include <vector>

#include "io/file_position.h"
#include "io/input_files.h"

namespace varisift {

namespace {

// Bytes kept from the end of the part taken: a log replaced by another one
// differs there, even when the other one is as long or longer.
constexpr std::size_t compared_bytes = 256;
// New bytes are read in blocks of this size.
constexpr std::size_t read_block = std::size_t{1} << 20;

}  // namespace

LogPoll GrowingLog::poll() {
  LogPoll result;
  OpenResult opened = open_for_reading(path_);
  if (opened.file == nullptr) {
    // Whatever comes under the name next is another file.
    present_ = false;
    prefix_ = LogPrefix();
    last_bytes_.clear();
    return result;
  }
  result.present = true;
  result.changed = !present_;
  present_ = true;
  const std::optional<std::uint64_t> size = size_now(opened.file);
  if (!size || *size < prefix_.taken() || !same_bytes_before(opened.file)) {
    result.read_anew = prefix_.taken() > 0;
    prefix_ = LogPrefix();
    last_bytes_.clear();
  }
  const std::uint64_t taken_before = prefix_.taken();
  if (!size || *size > taken_before) take_new_bytes(opened.file);
  std::fclose(opened.file);
  result.changed = result.changed || result.read_anew || prefix_.taken() != taken_before;
  return result;
}

bool GrowingLog::same_bytes_before(std::FILE* file) {
  if (last_bytes_.empty()) return true;
  if (!seek_to(file, prefix_.taken() - last_bytes_.size())) return false;
  std::string now(last_bytes_.size(), '\0');
  return std::fread(now.data(), 1, now.size(), file) == now.size() && now == last_bytes_;
}

void GrowingLog::take_new_bytes(std::FILE* file) {
  if (!seek_to(file, prefix_.taken())) return;
  std::vector<char> block(read_block);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    if (got == 0) break;
    const std::string_view bytes(block.data(), got);
    prefix_.add(bytes);
    last_bytes_.append(bytes.substr(got > compared_bytes ? got - compared_bytes : 0));
    if (last_bytes_.size() > compared_bytes) last_bytes_.erase(0, last_bytes_.size() - compared_bytes);
  }
}

}  // namespace varisift
