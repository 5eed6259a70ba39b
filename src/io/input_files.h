// Opening the three files of a run by plain relative name, with the error
// codes the console messages show: 2 when the file cannot be opened (it does
// not exist, cannot be read or written, or is a directory), 1 for any other
// failure of the open operation (the system is out of file handles or memory).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace varisift {

struct OpenResult {
  std::FILE* file = nullptr;
  std::uint8_t error_code = 0;  // 0 when open
};

inline constexpr std::uint8_t open_error_cannot_open = 2;
inline constexpr std::uint8_t open_error_other = 1;

// The console line of a failed open: "Error 2 during open of Skymensor.log".
std::string open_error_line(std::uint8_t error_code, std::string_view name);

// Opens a file for reading in binary mode (line ends are handled by the reader).
OpenResult open_for_reading(std::string_view name);
// Opens a file for appending, creating it when it does not exist; what it
// already holds stays in front of everything written.
OpenResult open_for_appending(std::string_view name);

}  // namespace varisift
