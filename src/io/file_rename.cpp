// Renaming over a destination, with retries where the system refuses a
// file in use.
#include "io/file_rename.h"

#include <filesystem>

#include "io/file_names.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <thread>
#endif

namespace varisift {

#ifdef _WIN32

namespace {

constexpr int rename_attempts = 5;
constexpr std::chrono::milliseconds rename_pause{200};

// Another program holds the destination open: a sharing or lock violation,
// or (for a file opened without leave to delete it, as spreadsheets do) a
// refused access.
bool held_by_another_program(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

std::error_code error_of(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return std::make_error_code(std::errc::device_or_resource_busy);
    case ERROR_ACCESS_DENIED:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    default:
      return {static_cast<int>(error), std::system_category()};
  }
}

}  // namespace

std::error_code rename_over(const std::string& from, const std::string& to) {
  const std::filesystem::path source = path_of(from), target = path_of(to);
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return {};
    const DWORD error = GetLastError();
    if (!held_by_another_program(error) || attempt == rename_attempts) return error_of(error);
    std::this_thread::sleep_for(rename_pause);
  }
}

#else

std::error_code rename_over(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(path_of(from), path_of(to), error);
  return error;
}

#endif

}  // namespace varisift
