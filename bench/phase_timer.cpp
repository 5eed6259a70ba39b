// varisift_phases: runs the phases of one whole Varisift run in the working
// directory, in the order and with the calls of the real run, and prints the
// wall time of each phase and the peak resident set size. Console output is
// discarded (the stream only notes when the detection passes end), the report
// goes to a scratch file. With --direct-scan it also times the identification
// by the plain scan over all image pairs, on a copy of the store taken just
// before identification, and checks that it finds the same stars.
//
// Output: one "name value" line per figure (seconds, or KiB for rss_*), easy
// to read with awk; see bench/README.md.
#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/parameters.h"
#include "detect/detection_passes.h"
#include "fields/field_means.h"
#include "fields/field_summary.h"
#include "io/clock_text.h"
#include "io/input_files.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "run/run_driver.h"
#include "stars/identify_stars.h"
#include "stars/image_order.h"
#include "store/log_parser.h"
#include "store/observation_store.h"
#include "store/vsx_reader.h"
#include "support/direct_scan.h"
#include "support/star_entries.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_between(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// CPU time of every thread of the process so far: on a busy machine it
// shows what a phase run on one thread costs better than the wall time.
double process_cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long peak_rss_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

// A console stream that drops every byte but notes when each "checked" line
// arrives: the detection writes one at the end of each pass and flushes
// right after it, so these are the ends of pass 1 and pass 2.
struct ConsoleMarks {
  std::string tail;  // last bytes seen, so a line split between writes is found
  std::vector<Clock::time_point> checked;
};

ssize_t note_console_bytes(void* cookie, const char* bytes, size_t size) {
  auto* marks = static_cast<ConsoleMarks*>(cookie);
  static constexpr std::string_view marker = "checked\r\n";
  std::string window = marks->tail;
  window.append(bytes, size);
  Clock::time_point now = Clock::now();
  for (std::size_t at = window.find(marker); at != std::string::npos; at = window.find(marker, at + 1))
    if (at + marker.size() > marks->tail.size()) marks->checked.push_back(now);
  std::size_t keep = marker.size() - 1;
  marks->tail = window.size() > keep ? window.substr(window.size() - keep) : window;
  return static_cast<ssize_t>(size);
}

std::FILE* open_marking_console(ConsoleMarks& marks) {
  cookie_io_functions_t functions{};
  functions.write = note_console_bytes;
  std::FILE* file = fopencookie(&marks, "w", functions);
  if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

struct Options {
  std::string report = "varisift_phases.report";
  bool direct_scan = false;
};

void print_usage(std::FILE* to) {
  std::fprintf(to,
               "usage: varisift_phases [--direct-scan] [--report FILE]\n"
               "Runs every phase of a Varisift run on Skymensor.log (and vsx.dat) in the\n"
               "working directory and prints per-phase wall times and the peak RSS.\n"
               "  --direct-scan  also time the identification by the plain direct scan\n"
               "                 (quadratic: meant for series of a few thousand stars)\n"
               "  --report FILE  scratch report file, truncated first (default %s)\n",
               "varisift_phases.report");
}

std::optional<Options> parse_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--direct-scan") {
      options.direct_scan = true;
    } else if (arg == "--report" && i + 1 < argc) {
      options.report = argv[++i];
    } else if (arg == "--help") {
      print_usage(stdout);
      std::exit(0);
    } else {
      print_usage(stderr);
      return std::nullopt;
    }
  }
  return options;
}

// Reference boxes the identification looks into: every measurement left free
// is a reference for each later image in time order.
std::uint64_t box_queries(const varisift::ObservationStore& store) {
  std::uint64_t queries = 0;
  std::size_t n = store.image_count();
  for (std::size_t p = 1; p < n; ++p) {
    std::uint64_t free_references = 0;
    for (const varisift::Measurement& m : store.images[store.image_order[p]].meas) free_references += m.free;
    queries += free_references * (n - p);
  }
  return queries;
}

void figure(const char* name, double seconds) { std::printf("%-22s %.6f\n", name, seconds); }

// Stops after a phase that ended the run; prints what was timed so far.
int stopped(const char* phase) {
  std::printf("stopped_in %s\n", phase);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varisift;
  std::optional<Options> options = parse_options(argc, argv);
  if (!options) return 1;

  ConsoleMarks marks;
  std::FILE* console = open_marking_console(marks);
  if (console == nullptr) {
    std::perror("console stream");
    return 1;
  }
  std::remove(options->report.c_str());

  Clock::time_point start = Clock::now();
  ObservationStore store;
  std::optional<ObservationStore> direct_copy;
  {
    ReportChannel out(console);
    for (std::string_view line : {"VARISIFT", "Finding variable stars with the log file of Skymensor",
                                  "No warranty, use at your own risk.", "Version 1.26, 2017 July 20", ""})
      out.write_line(Destination::console, line);

    OpenResult log_file = open_for_reading(log_file_name);
    if (log_file.file == nullptr) {
      std::fprintf(stderr, "cannot open %.*s\n", static_cast<int>(log_file_name.size()), log_file_name.data());
      return 1;
    }
    OpenResult report_file = open_for_appending(options->report);
    if (report_file.file == nullptr) {
      std::fprintf(stderr, "cannot open %s\n", options->report.c_str());
      return 1;
    }
    out.attach_report(report_file.file);
    std::tm now = local_time_now();
    out.end_line(Destination::report);
    out.end_line(Destination::report);
    out.write_line(Destination::report, "Varisift run at " + date_text(now) + " " + time_text(now));
    out.end_line(Destination::report);

    Clock::time_point t0 = Clock::now();
    if (!read_vsx_beside_log(store.vsx, std::string(catalogue_file_name), out)) return stopped("vsx_load");
    Clock::time_point t1 = Clock::now();
    figure("vsx_load", seconds_between(t0, t1));

    write_parameter_block(out, store.parameters);

    Clock::time_point t2 = Clock::now();
    LineReader log(log_file.file);
    RunFlow flow = read_measurement_log(store, log, out);
    Clock::time_point t3 = Clock::now();
    figure("log_read", seconds_between(t2, t3));
    if (flow == RunFlow::stop) {
      std::fclose(log_file.file);
      return stopped("log_read");
    }

    lower_variation_threshold(store);
    write_field_list(store, out);
    std::fclose(log_file.file);
    write_processed_notice(store, out);
    Clock::time_point t4 = Clock::now();
    figure("fields", seconds_between(t3, t4));
    std::printf("%-22s %ld\n", "rss_after_log_kib", peak_rss_kib());

    if (options->direct_scan) direct_copy = store;

    Clock::time_point t5 = Clock::now();
    double cpu5 = process_cpu_seconds();
    sort_images_by_time(store);
    flow = identify_stars(store, out);
    Clock::time_point t6 = Clock::now();
    figure("identification", seconds_between(t5, t6));
    figure("identification_cpu", process_cpu_seconds() - cpu5);
    if (flow == RunFlow::stop) return stopped("identification");
    std::printf("%-22s %llu\n", "identification_queries", static_cast<unsigned long long>(box_queries(store)));

    std::size_t marks_before = marks.checked.size();
    Clock::time_point t7 = Clock::now();
    DetectionResults results;
    run_detection(store, out, results);
    Clock::time_point t8 = Clock::now();
    if (marks.checked.size() == marks_before + 2) {
      Clock::time_point pass1_end = marks.checked[marks_before];
      Clock::time_point pass2_end = marks.checked[marks_before + 1];
      figure("detection_pass1", seconds_between(t7, pass1_end));
      figure("detection_pass2", seconds_between(pass1_end, pass2_end));
      figure("detection_closing", seconds_between(pass2_end, t8));
    }
    figure("detection", seconds_between(t7, t8));
    out.close();
    Clock::time_point t9 = Clock::now();
    figure("total", seconds_between(start, t9));
    std::printf("%-22s %ld\n", "rss_peak_kib", peak_rss_kib());
    std::printf("%-22s %u\n", "images", static_cast<unsigned>(store.image_count()));
    std::printf("%-22s %u\n", "stars", store.stars.count());
    std::printf("%-22s %u\n", "vsx_entries", store.vsx.count());
  }
  std::fclose(console);

  if (direct_copy) {
    // The same work as the identification phase: time order, matching, and
    // each star's entries (the direct scan itself writes nothing).
    Clock::time_point d0 = Clock::now();
    sort_images_by_time(*direct_copy);
    identify_by_direct_scan(*direct_copy);
    build_star_entries(*direct_copy);
    Clock::time_point d1 = Clock::now();
    figure("direct_scan", seconds_between(d0, d1));
    bool same =
        direct_copy->stars.images_seen == store.stars.images_seen && direct_copy->stars.first == store.stars.first;
    for (std::size_t i = 1; same && i < store.images.size(); ++i)
      for (std::size_t k = 0; same && k < store.images[i].meas.size(); ++k)
        same = store.images[i].meas[k].star == direct_copy->images[i].meas[k].star;
    std::printf("%-22s %s\n", "direct_scan_same", same ? "yes" : "no");
    if (!same) return 3;
  }
  return 0;
}
