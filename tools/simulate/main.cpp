// simulate: writes a simulated Skymensor.log and vsx.dat (and on request
// truth.txt) into a folder, for trying and testing the variable-star search.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "presets.h"
#include "series.h"

namespace {

using varisift::simulate::Series;

constexpr int exit_ok = 0;
constexpr int exit_usage = 2;
constexpr int exit_io = 1;
constexpr std::size_t stream_buffer_size = 1 << 20;

bool write_file(const std::filesystem::path& path, const Series& series, void (*writer)(const Series&, std::ostream&)) {
  std::vector<char> buffer(stream_buffer_size);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  out.open(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "simulate: cannot create " << path.string() << "\n";
    return false;
  }
  writer(series, out);
  out.close();
  if (!out) {
    std::cerr << "simulate: error writing " << path.string() << "\n";
    return false;
  }
  return true;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  namespace sim = varisift::simulate;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const sim::CommandLine command = sim::parse_command_line(args);
  if (!command.error.empty()) {
    std::cerr << "simulate: " << command.error << "\n\n" << sim::usage_text();
    return exit_usage;
  }
  if (command.show_help) {
    std::cout << sim::usage_text();
    return exit_ok;
  }
  if (command.list_presets) {
    for (const sim::Preset& p : sim::presets()) {
      std::cout << p.name << "\t" << p.description << "\n";
    }
    return exit_ok;
  }

  const auto start = std::chrono::steady_clock::now();
  const Series series = sim::generate_series(command.options);
  const double generated = seconds_since(start);

  const std::filesystem::path dir(command.out_dir);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path log_path = dir / "Skymensor.log";
  if (!write_file(log_path, series, sim::write_log) || !write_file(dir / "vsx.dat", series, sim::write_vsx) ||
      (command.write_truth && !write_file(dir / "truth.txt", series, sim::write_truth))) {
    return exit_io;
  }
  const double total = seconds_since(start);

  std::size_t tables = 0;
  std::size_t lines = 0;
  for (const sim::Session& session : series.sessions) {
    tables += session.tables.size();
    for (const sim::PhotometryTable& table : session.tables) {
      lines += table.rows.size();
    }
  }
  std::printf("%zu images, %zu sessions, %zu tables, %zu measurement lines, %zu catalogue entries\n",
              series.images.size(), series.sessions.size(), tables, lines, series.vsx.size());
  std::printf("%s: %llu bytes; generated in %.2f s, written in %.2f s\n", log_path.string().c_str(),
              static_cast<unsigned long long>(std::filesystem::file_size(log_path, ec)), generated, total - generated);
  return exit_ok;
}
