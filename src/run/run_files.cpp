// Paths of the files of a run and the checks made before it starts.
#include "run/run_files.h"

#include <filesystem>
#include <system_error>

#include "io/file_names.h"

namespace varisift {

namespace {

namespace fs = std::filesystem;

// A file of the series folder: its plain name when no folder was given, so
// that a run without arguments opens exactly the names it always has.
std::string in_folder(const CommandLine& command, std::string_view name) {
  if (!command.folder_given) return std::string(name);
  return name_of(path_of(command.folder) / path_of(name));
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::exists(path_of(a), ec) && fs::exists(path_of(b), ec) && fs::equivalent(path_of(a), path_of(b), ec);
}

}  // namespace

RunFiles place_run_files(const CommandLine& command, std::string& error) {
  RunFiles files;
  error.clear();
  std::error_code ec;
  if (command.folder_given && !fs::is_directory(path_of(command.folder), ec)) {
    error = fs::exists(path_of(command.folder), ec) ? "'" + command.folder + "' is not a folder"
                                                    : "no folder '" + command.folder + "'";
    return files;
  }
  files.log = in_folder(command, log_file_name);
  files.catalogue_named = command.catalogue.has_value();
  files.catalogue = files.catalogue_named ? *command.catalogue : in_folder(command, catalogue_file_name);
  files.report = command.report ? *command.report : in_folder(command, report_file_name);
  files.report_shown = command.report ? *command.report : std::string(report_file_name);

  if (command.report) {
    fs::path report = path_of(*command.report);
    fs::path parent = report.parent_path();
    if (fs::is_directory(report, ec)) {
      error = "--report names a folder, '" + *command.report + "'";
    } else if (!parent.empty() && !fs::is_directory(parent, ec)) {
      error = "--report names a file in a folder that is not there, '" + *command.report + "'";
    } else if (same_file(files.report, files.log) || same_file(files.report, files.catalogue)) {
      error = "--report names an input file, '" + *command.report + "'";
    }
  }
  return files;
}

}  // namespace varisift
