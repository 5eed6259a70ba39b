// Blocks of whole lines.
#include "io/block_reader.h"

#include <cstring>

#include "io/line_reader.h"

namespace varisift {

namespace {

// Where the whole lines of a block end. A CR as the block's last byte may be
// the first half of a CR LF, so it ends a line only at the end of the file.
std::size_t whole_lines_end(const char* data, std::size_t size, bool file_done) {
  if (file_done) return size;
  for (std::size_t i = size; i > 0; --i) {
    char c = data[i - 1];
    if (c == '\n') return i;
    if (c == '\r' && i < size) return i;
  }
  return 0;
}
}  // namespace

std::string_view next_line(std::string_view& rest) {
  std::size_t k = static_cast<std::size_t>(find_line_end(rest.data(), rest.data() + rest.size()) - rest.data());
  std::string_view line = rest.substr(0, k);
  if (k < rest.size()) {
    std::size_t skip = (rest[k] == '\r' && k + 1 < rest.size() && rest[k + 1] == '\n') ? 2 : 1;
    rest.remove_prefix(k + skip);
  } else {
    rest = {};
  }
  return line;
}

std::size_t next_line_start(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  if (pos >= text.size()) return text.size();
  char before = text[pos - 1];
  if (before == '\n' || (before == '\r' && text[pos] != '\n')) return pos;
  std::size_t k = pos;
  while (k < text.size() && text[k] != '\n' && text[k] != '\r') ++k;
  if (k == text.size()) return k;
  return (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ? k + 2 : k + 1;
}

BlockReader::BlockReader(ByteSource& source, std::size_t block_bytes, std::size_t max_line_bytes)
    : source_(source), buffer_(block_bytes), max_line_bytes_(max_line_bytes) {}

bool BlockReader::next_block(std::string_view& lines) {
  // Move the unfinished line of the last block to the front.
  std::size_t carried = kept_ - handed_out_;
  if (handed_out_ > 0) std::memmove(buffer_.data(), buffer_.data() + handed_out_, carried);
  kept_ = carried;
  handed_out_ = 0;
  if (line_too_long_) return false;
  for (;;) {
    if (!file_done_) {
      if (kept_ == buffer_.size()) {
        if (kept_ >= max_line_bytes_) {
          line_too_long_ = true;
          return false;
        }
        buffer_.resize(buffer_.size() * 2);
      }
      std::size_t got = source_.read(buffer_.data() + kept_, buffer_.size() - kept_);
      if (got == 0) file_done_ = true;
      kept_ += got;
    }
    if (kept_ == 0) return false;
    std::size_t end = whole_lines_end(buffer_.data(), kept_, file_done_);
    if (end > 0) {
      handed_out_ = end;
      lines = std::string_view(buffer_.data(), end);
      return true;
    }
  }
}

}  // namespace varisift
