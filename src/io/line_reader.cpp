// Block-wise line reading with LF, CR LF and lone-CR line ends.
#include "io/line_reader.h"

#include <cstring>

namespace varisift {

namespace {
constexpr std::size_t block_size = 1 << 22;
}  // namespace

const char* find_line_end(const char* from, const char* to) {
  if (from == to) return to;
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(to - from));
  const char* limit = lf != nullptr ? static_cast<const char*>(lf) : to;
  const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(limit - from));
  return cr != nullptr ? static_cast<const char*>(cr) : limit;
}

LineReader::LineReader(std::FILE* file, std::uint64_t byte_limit)
    : file_(file), buffer_(block_size), bytes_left_(byte_limit) {}

bool LineReader::refill() {
  if (file_done_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  std::size_t wanted = buffer_.size() - end_;
  if (bytes_left_ < wanted) wanted = static_cast<std::size_t>(bytes_left_);
  std::size_t got = file_ == nullptr || wanted == 0 ? 0 : std::fread(buffer_.data() + end_, 1, wanted, file_);
  bytes_left_ -= got;
  if (got == 0) {
    file_done_ = true;
    return false;
  }
  end_ += got;
  return true;
}

bool LineReader::at_end() {
  if (begin_ < end_) return false;
  return !refill();
}

std::string_view LineReader::read_line() {
  std::size_t scanned = 0;  // bytes after begin_ known to hold no line end
  for (;;) {
    const char* base = buffer_.data();
    const char* from = base + begin_ + scanned;
    const char* to = base + end_;
    const char* stop = find_line_end(from, to);
    if (stop == to) {
      scanned = end_ - begin_;
      if (refill()) continue;
      // refill() may have moved or grown the buffer even when the file had
      // no more bytes: take the line from the buffer as it is now.
      std::string_view line(buffer_.data() + begin_, end_ - begin_);
      begin_ = end_;
      return line;
    }
    // A CR as the last byte read: the next byte decides whether it is CR LF.
    if (*stop == '\r' && stop + 1 == to && !file_done_) {
      scanned = static_cast<std::size_t>(stop - (base + begin_));
      refill();
      continue;
    }
    std::string_view line(base + begin_, static_cast<std::size_t>(stop - (base + begin_)));
    std::size_t next = static_cast<std::size_t>(stop - base) + 1;
    if (*stop == '\r' && next < end_ && buffer_[next] == '\n') ++next;
    begin_ = next;
    return line;
  }
}

}  // namespace varisift
