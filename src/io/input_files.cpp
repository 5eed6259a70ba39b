// File opening with the error codes of the run's console messages.
#include "io/input_files.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "io/file_names.h"
#include "text/number_format.h"

namespace varisift {

namespace {

std::uint8_t error_code_of(int err) {
  switch (err) {
    case EMFILE:
    case ENFILE:
    case ENOMEM:
      return open_error_other;
    default:
      return open_error_cannot_open;
  }
}

OpenResult open_with_mode(std::string_view name, const char* mode) {
  std::error_code ec;
  // A directory of that name is no file: fopen would accept it for reading.
  if (std::filesystem::is_directory(path_of(name), ec)) return {nullptr, open_error_cannot_open};
  errno = 0;
  std::FILE* file = open_file(name, mode);
  if (file == nullptr) return {nullptr, error_code_of(errno)};
  return {file, 0};
}

}  // namespace

std::string open_error_line(std::uint8_t error_code, std::string_view name) {
  std::string line = "Error ";
  append_plain(line, error_code, PlainKind::U8);
  line += " during open of ";
  line += name;
  return line;
}

OpenResult open_for_reading(std::string_view name) { return open_with_mode(name, "rb"); }

OpenResult open_for_appending(std::string_view name) { return open_with_mode(name, "ab"); }

}  // namespace varisift
