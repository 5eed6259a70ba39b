// The floor under reading a measurement log: a plain loop on one core that
// reads the log in large blocks, splits the lines, and for every measurement
// line of a photometry table (the lines that begin with a blank after a line
// ending in "-----") converts every numeric column, one column at a time
// with the general column reader, and keeps the first 62 bytes, the part of
// a line a run keeps. No thread and no shortcut that the real reader could
// not take.
// Prints the seconds it took, the line counts and a checksum (so that no
// work can be left out), in the `name value` form of varisift_phases.
//
//   cd SERIES && parse_floor [FILE]     (default Skymensor.log)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "io/block_reader.h"
#include "io/byte_source.h"
#include "text/column_number.h"

namespace {

using Clock = std::chrono::steady_clock;

// A run keeps the columns up to the magnitude's of each measurement line.
constexpr std::size_t kept_bytes = 62;
constexpr std::string_view table_start = "-----";

// Every numeric column of a measurement line: position, residuals,
// magnitude, flux, FWHM, peak and RMS, each converted on its own.
double column_sum(std::string_view line) {
  constexpr int columns[][2] = {{3, 2},  {6, 2},  {9, 2},  {12, 3}, {18, 5}, {19, 1}, {21, 2},  {27, 2},  {30, 2},
                                {33, 2}, {36, 2}, {41, 5}, {42, 1}, {44, 2}, {48, 6}, {49, 2},  {52, 2},  {57, 5},
                                {58, 1}, {60, 2}, {82, 7}, {91, 2}, {94, 1}, {96, 4}, {101, 1}, {103, 2}, {106, 3}};
  double sum = 0;
  for (const auto& [first, width] : columns) sum += varisift::column_number(line, first, width);
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "Skymensor.log";
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "cannot open %s\n", name);
    return 1;
  }
  Clock::time_point start = Clock::now();
  varisift::FileSource source(file);
  varisift::BlockReader reader(source);
  std::vector<char> kept;
  std::uint64_t lines = 0, measurements = 0;
  double checksum = 0;
  bool in_table = false;
  std::string_view block;
  while (reader.next_block(block)) {
    while (!block.empty()) {
      std::string_view line = varisift::next_line(block);
      ++lines;
      if (in_table && !line.empty() && line.front() == ' ') {
        checksum += column_sum(line);
        std::size_t n = line.size() < kept_bytes ? line.size() : kept_bytes;
        kept.insert(kept.end(), line.data(), line.data() + n);
        ++measurements;
        continue;
      }
      in_table = false;
      while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
      if (line.ends_with(table_start)) in_table = true;
    }
  }
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::fclose(file);
  std::printf("%-22s %.6f\n", "parse_floor", seconds);
  std::printf("%-22s %llu\n", "lines", static_cast<unsigned long long>(lines));
  std::printf("%-22s %llu\n", "measurement_lines", static_cast<unsigned long long>(measurements));
  std::printf("%-22s %llu\n", "kept_bytes", static_cast<unsigned long long>(kept.size()));
  std::printf("%-22s %.17g\n", "checksum", checksum);
  return 0;
}
