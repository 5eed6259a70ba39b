// Fuzz target: the whole run, files included. The input is split at the
// first line "----vsx.dat----" into Skymensor.log and vsx.dat (no catalogue
// when the line is absent); the report file already holds an earlier run.
// run_varisift works in a private scratch directory, entered for each input
// and left again afterwards (libFuzzer's own paths stay valid). Checks: the console
// ends with a line end (every stop writes a whole message), and the earlier
// report bytes stay in front of whatever the run appended.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "run/program.h"

namespace {

constexpr std::size_t max_input = 64 * 1024;
constexpr std::string_view catalogue_marker = "----vsx.dat----\n";
constexpr std::string_view earlier_report = "\r\n\r\nVarisift run at 01-02-2020 03:04:05\r\n\r\nearlier run\r\n";

std::filesystem::path scratch;
std::filesystem::path home;  // the working directory libFuzzer was started in

void write_bytes(const char* name, std::string_view bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void remove_scratch() {
  std::error_code ec;
  std::filesystem::remove_all(scratch, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/varisift-fuzz-run-XXXXXX";
  if (mkdtemp(name) == nullptr) abort();
  scratch = name;
  home = std::filesystem::current_path();
  atexit(remove_scratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  std::filesystem::current_path(scratch);
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t marker = input.find(catalogue_marker);
  write_bytes("Skymensor.log", input.substr(0, marker));
  if (marker == std::string_view::npos)
    std::remove("vsx.dat");
  else
    write_bytes("vsx.dat", input.substr(marker + catalogue_marker.size()));
  write_bytes("Varisift.log", earlier_report);

  char* console_bytes = nullptr;
  std::size_t console_size = 0;
  FILE* console = open_memstream(&console_bytes, &console_size);
  fuzz::check(console != nullptr, "console stream opens");
  varisift::run_program(console, stderr, {});
  fclose(console);
  std::string_view text(console_bytes, console_size);
  fuzz::check(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n", "the console ends with a line end");
  free(console_bytes);

  std::ifstream in("Varisift.log", std::ios::binary);
  std::string report((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fuzz::check(report.compare(0, earlier_report.size(), earlier_report) == 0, "earlier report bytes stay in front");
  fuzz::check(report.size() > earlier_report.size(), "the run appends its header");
  std::filesystem::current_path(home);
  return 0;
}
