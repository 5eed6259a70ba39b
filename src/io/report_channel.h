// The two destinations of every written byte: the console and the report
// file Varisift.log. Lines end in CR LF on both, whatever the platform. Each
// destination is buffered; flush() hands everything written so far to the
// operating system, as every stop of the run does.
//
// A channel built without files keeps everything it is given, so a test can
// read back exactly what a phase wrote. A quiet channel (the refresh of a
// watch) keeps nothing but the line that says why a run stopped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace varisift {

enum class Destination { console, report };

inline constexpr std::string_view line_end_bytes = "\r\n";

class ReportChannel {
 public:
  // A channel that collects its output in memory (for tests).
  ReportChannel() = default;
  // A channel writing to the console stream; the report file is attached
  // once it is open.
  explicit ReportChannel(std::FILE* console);
  ~ReportChannel();
  ReportChannel(const ReportChannel&) = delete;
  ReportChannel& operator=(const ReportChannel&) = delete;

  void attach_report(std::FILE* report);
  // From now on nothing reaches either destination; only the stop line is kept.
  void keep_quiet() { quiet_ = true; }

  // Text of a line, rendered beforehand (text/number_format.h renders numbers).
  void write_text(Destination d, std::string_view text);
  void end_line(Destination d);
  // Text followed by a line end.
  void write_line(Destination d, std::string_view text);
  // The same line to the console, then to the report file.
  void write_line_both(std::string_view text);
  // A console line that says why the run stops; the first is kept.
  void write_stop_line(std::string_view text);
  // The first stop line written, "" when none was.
  const std::string& stop_line() const { return stop_line_; }

  // Hands the buffered bytes of both destinations to the system.
  void flush();
  // Flushes, then closes the report file.
  void close();

  // What a memory channel has collected.
  const std::string& collected(Destination d) const;

 private:
  struct Sink {
    std::FILE* file = nullptr;
    std::string buffer;
  };
  Sink& sink(Destination d) { return d == Destination::console ? console_ : report_; }
  void maybe_drain(Sink& s);
  static void drain(Sink& s);

  Sink console_;
  Sink report_;
  bool quiet_ = false;
  std::string stop_line_;
};

}  // namespace varisift
