// Reading the command line, checking its files, then running.
#include "run/program.h"

#include <string>

#include "base/build_info.h"
#include "export/export_files.h"
#include "io/report_channel.h"
#include "run/command_line.h"
#include "run/run_driver.h"
#include "run/run_files.h"
#include "run/watch.h"
#include "store/vsx_reader.h"

namespace varisift {

namespace {

void write_lines(std::FILE* stream, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += line_end_bytes;
  }
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

int wrong_use(std::FILE* errors, const std::string& what) {
  write_lines(errors, {"varisift: " + what + " (see varisift --help)"});
  return wrong_use_status;
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : std::string(separator)) + item;
  return text;
}

// The one line on the error stream that tells what the exports did, and the
// exit status: a run that asked for exports and stopped, or that could not
// write one of them, must not pass for a run that did.
int report_exports(std::FILE* errors, const ExportOutcome& outcome) {
  if (!outcome.asked) return 0;
  if (outcome.stopped) {
    std::string line = "varisift: no export was written because the run stopped";
    if (!outcome.earlier.empty())
      line += " (an earlier run's files are still in " + joined(outcome.earlier, ", ") + ")";
    write_lines(errors, {line});
    return export_failed_status;
  }
  std::string line = "varisift: " + joined(outcome.failures, "; ");
  if (!outcome.written.empty())
    line += (outcome.failures.empty() ? "wrote " : "; wrote ") + joined(outcome.written, ", ");
  write_lines(errors, {line});
  return outcome.failures.empty() ? 0 : export_failed_status;
}

}  // namespace

int run_program(std::FILE* console, std::FILE* errors, const std::vector<std::string_view>& arguments) {
  ParsedCommandLine parsed = parse_command_line(arguments);
  if (!parsed.error.empty()) return wrong_use(errors, parsed.error);
  const CommandLine& command = parsed.command;
  if (command.action == CommandLine::Action::help) {
    write_lines(console, usage_lines());
    return 0;
  }
  if (command.action == CommandLine::Action::version) {
    write_lines(console, {std::string("varisift ") + build_version});
    return 0;
  }

  RunPlan plan;
  std::string error;
  plan.files = place_run_files(command, error);
  if (!error.empty()) return wrong_use(errors, error);
  plan.parameters = command.parameters;
  plan.exports = command.exports;
  plan.exports.aavso.software = std::string("Varisift ") + build_version;
  plan.folder_shown = command.folder;
  error = check_export_destinations(plan.exports, {plan.files.log, plan.files.catalogue, plan.files.report});
  if (!error.empty()) return wrong_use(errors, error);
  if (plan.files.catalogue_named) {
    // Read completely before anything is written: a catalogue that cannot be
    // used is wrong use, found before the run leaves a trace.
    plan.named_catalogue.emplace();
    error = load_vsx_file(*plan.named_catalogue, plan.files.catalogue);
    if (!error.empty()) return wrong_use(errors, "--vsx '" + plan.files.catalogue + "' " + error);
  }
  if (command.watch) return report_exports(errors, watch_series(console, std::move(plan), command.watch_settings));
  return report_exports(errors, run_varisift(console, std::move(plan)));
}

}  // namespace varisift
