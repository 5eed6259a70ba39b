// Buffered output of log lines with the line ends of the chosen style. Lines
// are appended to one large buffer that goes to the stream in blocks of about
// a megabyte, so writing half a gigabyte stays fast.
#pragma once

#include <ostream>
#include <string>

#include "series.h"

namespace varisift::simulate {

// What kind of line end follows a line.
enum class Break {
  line,        // an ordinary line
  end_marker,  // after "HH:MM:SS - End"
  continued,   // inside the wrapped polynomial of an astrometric fit
};

class LogSink {
 public:
  LogSink(std::ostream& out, LineEnding style);
  ~LogSink();
  LogSink(const LogSink&) = delete;
  LogSink& operator=(const LogSink&) = delete;

  // The buffer to which the current line is appended.
  std::string& text() { return buffer_; }
  // Ends the current line.
  void end(Break kind = Break::line);
  // Hands everything buffered to the stream.
  void flush();

 private:
  std::ostream& out_;
  LineEnding style_;
  std::string buffer_;
};

}  // namespace varisift::simulate
