// Checking and writing the export destinations.
#include "export/export_files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "io/file_names.h"
#include "io/file_rename.h"

namespace varisift {

namespace {

namespace fs = std::filesystem;

// The suffix of a file being written, renamed away when it is complete.
constexpr std::string_view partial_suffix = ".part";
constexpr std::string_view light_curve_prefix = "lc_";
constexpr std::string_view csv_suffix = ".csv";

// "lc_<digits>.csv"
bool is_light_curve_name(std::string_view name) {
  if (!name.starts_with(light_curve_prefix) || !name.ends_with(csv_suffix)) return false;
  std::string_view digits =
      name.substr(light_curve_prefix.size(), name.size() - light_curve_prefix.size() - csv_suffix.size());
  if (digits.empty()) return false;
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  return true;
}

// A file an earlier export may have left in a CSV folder.
bool is_csv_export_name(std::string_view name) {
  if (name.ends_with(partial_suffix)) name.remove_suffix(partial_suffix.size());
  return name == stars_file_name || is_light_curve_name(name);
}

// The path made absolute and free of "." and "..", for comparing two paths
// whether or not the files exist.
fs::path normal_path(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(path_of(path), ec), ec);
  return ec ? path_of(path).lexically_normal() : p;
}

std::string check_csv_folder(const std::string& folder) {
  std::error_code ec;
  if (!fs::exists(path_of(folder), ec)) return "";
  if (!fs::is_directory(path_of(folder), ec)) return "--csv names a file, not a folder: '" + folder + "'";
  for (const fs::directory_entry& entry : fs::directory_iterator(path_of(folder), ec)) {
    std::string name = name_of(entry.path().filename());
    if (!entry.is_regular_file(ec) || !is_csv_export_name(name))
      return "--csv folder '" + folder + "' holds '" + name +
             "', which is no earlier CSV export; name an empty or new folder";
  }
  if (ec) return "--csv folder '" + folder + "' cannot be read";
  return "";
}

std::string check_file(const std::string& option, const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path_of(path), ec)) return option + " names a folder: '" + path + "'";
  fs::path parent = path_of(path).parent_path();
  if (!parent.empty() && !fs::is_directory(parent, ec))
    return option + " names a file in a folder that is not there: '" + path + "'";
  return "";
}

// Removes a file if it is there; false when it stays.
bool remove_file(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
  return !ec;
}

// Why a file could not be written, in a few words that are the same on
// every system (the system's own texts differ between systems and
// languages).
std::string reason_text(const std::error_code& error) {
  const std::error_condition condition = error.default_error_condition();
  if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted)
    return "permission denied";
  if (condition == std::errc::no_space_on_device) return "disk full";
  if (condition == std::errc::read_only_file_system) return "read-only file system";
  if (condition == std::errc::no_such_file_or_directory || condition == std::errc::not_a_directory)
    return "the folder is not there";
  if (condition == std::errc::is_a_directory) return "a folder of that name is in the way";
  if (condition == std::errc::file_too_large) return "file too large";
  if (condition == std::errc::device_or_resource_busy || condition == std::errc::text_file_busy)
    return "the file is in use";
  return "system error " + std::to_string(condition.value());
}

std::string cannot_write(const std::string& destination, const std::error_code& error) {
  return "cannot write '" + destination + "' (" + reason_text(error) + ")";
}

std::error_code last_error() { return {errno, std::generic_category()}; }

// Writes bytes to a new file at path, completely or not at all: a file that
// could not be written whole is removed. Returns what failed, or no error.
std::error_code write_whole_file(const std::string& path, std::string_view bytes) {
  errno = 0;
  std::FILE* file = open_file(path, "wb");
  if (file == nullptr) {
    // Windows reports a folder in the way as a denied permission; the
    // reason must read the same on every system.
    std::error_code ec;
    if (fs::is_directory(path_of(path), ec)) return std::make_error_code(std::errc::is_a_directory);
    return last_error();
  }
  std::error_code error;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) error = last_error();
  if (std::fflush(file) != 0 && !error) error = last_error();
  if (std::fclose(file) != 0 && !error) error = last_error();
  // A failure that leaves errno unset is still a failure.
  if (error && error.value() == 0) error = std::make_error_code(std::errc::io_error);
  if (error) remove_file(path_of(path));
  return error;
}

}  // namespace

std::string check_export_destinations(const ExportRequest& request, const std::vector<std::string>& taken) {
  std::vector<std::pair<std::string, std::string>> files;  // option, path
  if (request.aavso_file) files.emplace_back("--aavso", *request.aavso_file);
  if (request.html_file) files.emplace_back("--html", *request.html_file);
  for (const auto& [option, path] : files) {
    if (std::string error = check_file(option, path); !error.empty()) return error;
    for (const std::string& other : taken)
      if (normal_path(path) == normal_path(other)) return option + " would overwrite '" + other + "'";
  }
  if (files.size() == 2 && normal_path(files[0].second) == normal_path(files[1].second))
    return "--aavso and --html name the same file";
  if (request.csv_folder) {
    if (std::string error = check_csv_folder(*request.csv_folder); !error.empty()) return error;
    fs::path folder = normal_path(*request.csv_folder);
    std::vector<std::string> inside = taken;
    for (const auto& file : files) inside.push_back(file.second);
    for (const std::string& path : inside)
      if (normal_path(path).parent_path() == folder)
        return "--csv folder '" + *request.csv_folder + "' must hold only CSV files, not '" + path + "'";
  }
  return "";
}

std::string write_file_in_place(const std::string& path, std::string_view bytes) {
  std::string partial = path + std::string(partial_suffix);
  if (std::error_code error = write_whole_file(partial, bytes)) return cannot_write(path, error);
  if (std::error_code error = rename_over(partial, path)) {
    remove_file(path_of(partial));
    return cannot_write(path, error);
  }
  return "";
}

std::vector<std::string> destinations_with_earlier_files(const ExportRequest& request) {
  std::vector<std::string> holding;
  std::error_code ec;
  if (request.csv_folder && fs::is_directory(path_of(*request.csv_folder), ec)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(path_of(*request.csv_folder), ec)) {
      if (is_csv_export_name(name_of(entry.path().filename()))) {
        holding.push_back(*request.csv_folder);
        break;
      }
    }
  }
  for (const std::optional<std::string>& file : {request.aavso_file, request.html_file})
    if (file && fs::exists(path_of(*file), ec)) holding.push_back(*file);
  return holding;
}

std::string write_csv_set(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
  std::error_code ec;
  fs::create_directories(path_of(folder), ec);
  if (!fs::is_directory(path_of(folder), ec))
    return cannot_write(folder, ec ? ec : std::make_error_code(std::errc::not_a_directory));
  auto partial_of = [&](const std::string& name) {
    return name_of(path_of(folder) / path_of(name + std::string(partial_suffix)));
  };
  std::vector<std::string> names;
  for (const auto& [name, bytes] : files) {
    if (std::error_code error = write_whole_file(partial_of(name), bytes)) {
      for (const std::string& done : names) remove_file(path_of(partial_of(done)));
      return cannot_write(name_of(path_of(folder) / path_of(name)), error);
    }
    names.push_back(name);
  }
  // Earlier light curves that the new set does not replace, and files an
  // earlier export left half written.
  std::vector<fs::path> stale;
  for (const fs::directory_entry& entry : fs::directory_iterator(path_of(folder), ec)) {
    std::string name = name_of(entry.path().filename());
    bool ours = false;
    for (const std::string& n : names) ours = ours || name == n || name == n + std::string(partial_suffix);
    if (!ours && is_csv_export_name(name) && name != stars_file_name) stale.push_back(entry.path());
  }
  for (const fs::path& path : stale) {
    fs::remove(path, ec);
    if (ec) return "cannot remove the earlier '" + name_of(path) + "' (" + reason_text(ec) + ")";
  }
  for (const std::string& name : names) {
    const std::string path = name_of(path_of(folder) / path_of(name));
    if (std::error_code error = rename_over(partial_of(name), path)) return cannot_write(path, error);
  }
  return "";
}

}  // namespace varisift
