// Line ends by style and block-wise output; see log_sink.h.
#include "log_sink.h"

namespace varisift::simulate {

namespace {

constexpr std::size_t flush_size = 1 << 20;
constexpr std::size_t longest_line = 4096;

}  // namespace

LogSink::LogSink(std::ostream& out, LineEnding style) : out_(out), style_(style) {
  buffer_.reserve(flush_size + longest_line);
}

LogSink::~LogSink() { flush(); }

void LogSink::end(Break kind) {
  switch (style_) {
    case LineEnding::crlf:
      buffer_ += "\r\n";
      break;
    case LineEnding::lf:
      buffer_ += '\n';
      break;
    case LineEnding::mixed:
      if (kind == Break::end_marker) {
        buffer_ += "\r\n";
      } else if (kind == Break::continued) {
        buffer_ += '\r';
      } else {
        buffer_ += '\n';
      }
      break;
  }
  if (buffer_.size() >= flush_size) {
    flush();
  }
}

void LogSink::flush() {
  if (!buffer_.empty()) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
}

}  // namespace varisift::simulate
