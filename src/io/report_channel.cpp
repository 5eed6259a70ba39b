// Buffered console and report-file output with CR LF line ends.
#include "io/report_channel.h"

namespace varisift {

namespace {
// Bytes collected before a destination is handed to the system.
constexpr std::size_t drain_threshold = 1 << 16;
}  // namespace

ReportChannel::ReportChannel(std::FILE* console) { console_.file = console; }

ReportChannel::~ReportChannel() { close(); }

void ReportChannel::attach_report(std::FILE* report) { report_.file = report; }

void ReportChannel::write_text(Destination d, std::string_view text) {
  if (quiet_) return;
  Sink& s = sink(d);
  s.buffer.append(text);
  maybe_drain(s);
}

void ReportChannel::end_line(Destination d) { write_text(d, line_end_bytes); }

void ReportChannel::write_line(Destination d, std::string_view text) {
  if (quiet_) return;
  Sink& s = sink(d);
  s.buffer.append(text);
  s.buffer.append(line_end_bytes);
  maybe_drain(s);
}

void ReportChannel::write_line_both(std::string_view text) {
  write_line(Destination::console, text);
  write_line(Destination::report, text);
}

void ReportChannel::write_stop_line(std::string_view text) {
  if (stop_line_.empty()) stop_line_ = text;
  write_line(Destination::console, text);
}

void ReportChannel::maybe_drain(Sink& s) {
  if (s.file != nullptr && s.buffer.size() >= drain_threshold) drain(s);
}

void ReportChannel::drain(Sink& s) {
  if (s.file == nullptr) return;
  if (!s.buffer.empty()) std::fwrite(s.buffer.data(), 1, s.buffer.size(), s.file);
  s.buffer.clear();
  std::fflush(s.file);
}

void ReportChannel::flush() {
  drain(console_);
  drain(report_);
}

void ReportChannel::close() {
  flush();
  if (report_.file != nullptr) {
    std::fclose(report_.file);
    report_.file = nullptr;
  }
}

const std::string& ReportChannel::collected(Destination d) const {
  return d == Destination::console ? console_.buffer : report_.buffer;
}

}  // namespace varisift
