// The watch: the catalogue read once, the polls, the refreshes and the
// final run.
#include "run/watch.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "io/clock_text.h"
#include "io/report_channel.h"
#include "io/stop_request.h"
#include "run/growing_log.h"
#include "run/refresh_line.h"
#include "store/vsx_reader.h"

namespace varisift {

namespace {

using Clock = std::chrono::steady_clock;

enum class WatchEnd { stop_request, idle };

// The refreshes of the log as it is now.
struct Refreshes {
  bool done = false;                      // a refresh ran since the log appeared or was read anew
  std::uint64_t bytes = 0;                // the prefix the last one read
  std::vector<std::uint32_t> candidates;  // of the last one that went to its end
};

std::string clock_now() { return time_text(local_time_now()); }

void say(ReportChannel& out, const std::string& line) {
  out.write_line(Destination::console, line);
  out.flush();
}

// Reads the catalogue once for every run of the watch, keeping the console
// text of its reading for the final run; false when it cannot be used.
bool read_catalogue_once(RunPlan& plan, VsxCatalogue& catalogue, std::string& console_text) {
  if (plan.named_catalogue) {
    catalogue = std::move(*plan.named_catalogue);
    plan.named_catalogue.reset();
    console_text = std::string(vsx_progress_text) + vsx_count_text(catalogue) + std::string(line_end_bytes);
    return true;
  }
  ReportChannel reading;  // keeps what the reading writes
  if (!read_vsx_beside_log(catalogue, plan.files.catalogue, reading)) return false;
  console_text = reading.collected(Destination::console);
  return true;
}

// The console at the start: the banner, the catalogue, the parameter block
// and what the watch does.
void write_start(ReportChannel& out, const RunPlan& plan, const WatchSettings& settings) {
  write_banner(out);
  out.write_text(Destination::console, plan.lent_catalogue_text);
  for (const std::string& line : parameter_block(plan.parameters)) out.write_line(Destination::console, line);
  out.end_line(Destination::console);
  std::string line =
      "Watching " + std::string(log_file_name) + " every " + std::to_string(settings.interval_seconds) + " s; Ctrl+C";
  if (settings.idle_exit_seconds) line += ", or " + std::to_string(*settings.idle_exit_seconds) + " s without growth,";
  say(out, line + " ends the watch with a final run on the whole log.");
}

void refresh(std::FILE* console, ReportChannel& out, const RunPlan& plan, const WatchSettings& settings,
             std::uint64_t bytes, Refreshes& refreshes) {
  RunPlan run = plan;
  run.refresh = RefreshRun{bytes, settings.interval_seconds};
  RunFacts facts;
  const ExportOutcome outcome = run_varisift(console, std::move(run), &facts);
  const std::string clock = clock_now();
  say(out, refresh_line(clock, bytes, facts, refreshes.candidates));
  for (const std::string& failure : outcome.failures) say(out, clock + " " + failure + "; watching goes on");
  refreshes.done = true;
  refreshes.bytes = bytes;
  if (facts.stop_line.empty()) refreshes.candidates = std::move(facts.candidates);
}

// Polls the log at a steady pace and refreshes the exports whenever its
// readable prefix has grown, until a stop is requested or the log has not
// grown for the idle time.
WatchEnd watch_log(std::FILE* console, ReportChannel& out, const RunPlan& plan, const WatchSettings& settings) {
  GrowingLog log(plan.files.log);
  const Clock::duration interval = std::chrono::seconds(settings.interval_seconds);
  std::optional<Clock::duration> idle_limit;
  if (settings.idle_exit_seconds) idle_limit = std::chrono::seconds(*settings.idle_exit_seconds);
  Clock::time_point next_poll = Clock::now();
  Clock::time_point last_change = next_poll;
  bool waiting_said = false;
  Refreshes refreshes;
  for (;;) {
    Clock::time_point wake = next_poll;
    if (idle_limit) wake = std::min(wake, last_change + *idle_limit);
    if (sleep_until_stop_requested(wake)) return WatchEnd::stop_request;
    const LogPoll poll = log.poll();
    if (poll.changed) last_change = Clock::now();
    if (!poll.present) {
      if (!waiting_said) say(out, clock_now() + " " + std::string(log_file_name) + " is not there; waiting for it");
      waiting_said = true;
      refreshes.done = false;
    } else {
      waiting_said = false;
      if (poll.read_anew) {
        say(out, clock_now() + " " + std::string(log_file_name) + " is shorter or was replaced; reading it anew");
        refreshes.done = false;
      }
      if (!refreshes.done || log.readable() != refreshes.bytes)
        refresh(console, out, plan, settings, log.readable(), refreshes);
    }
    const Clock::time_point now = Clock::now();
    if (idle_limit && !poll.changed && now - last_change >= *idle_limit) return WatchEnd::idle;
    // The next poll comes an interval after this one, or at once when a
    // refresh took longer than that.
    if (next_poll <= now) next_poll = std::max(next_poll + interval, now);
  }
}

}  // namespace

ExportOutcome watch_series(std::FILE* console, RunPlan plan, const WatchSettings& settings) {
  VsxCatalogue catalogue;
  std::string catalogue_text;
  // A catalogue that cannot be used stops every run: the watch is then the
  // batch run, which says why.
  if (!read_catalogue_once(plan, catalogue, catalogue_text)) return run_varisift(console, std::move(plan));
  plan.lent_catalogue = &catalogue;
  plan.lent_catalogue_text = catalogue_text;

  ReportChannel out(console);
  write_start(out, plan, settings);
  catch_stop_requests();
  const WatchEnd end = watch_log(console, out, plan, settings);
  std::string line = clock_now();
  if (end == WatchEnd::stop_request)
    line += " Ctrl+C";
  else
    line +=
        " no growth of " + std::string(log_file_name) + " for " + std::to_string(*settings.idle_exit_seconds) + " s";
  say(out, line + ": the watch ends; the final run reads the whole log.");
  out.end_line(Destination::console);
  out.flush();
  return run_varisift(console, std::move(plan));
}

}  // namespace varisift
