// Helpers of the end-to-end tests.
#include "run_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace e2e {

TempDir::TempDir() {
  std::random_device seed;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() / ("varisift-e2e-" + std::to_string(seed()));
    if (std::filesystem::create_directory(path_)) return;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

RunOutput run_varisift(const std::filesystem::path& dir, const std::string& prefix, const std::string& launcher) {
  RunOutput out;
  std::string command =
      "cd '" + dir.string() + "' && " + prefix + " timeout 120 " + launcher + " '" VARISIFT_BINARY "' </dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.console.append(buffer, got);
  int status = pclose(pipe);
  out.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

RunOutput run_varisift_with(const std::filesystem::path& dir, const std::string& arguments) {
  TempDir scratch;  // standard error goes here, outside the folder under test
  const std::filesystem::path errors = scratch.path() / "stderr";
  RunOutput out;
  std::string command = "cd '" + dir.string() + "' && timeout 120 '" VARISIFT_BINARY "' " + arguments +
                        " </dev/null 2>'" + errors.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.console.append(buffer, got);
  int status = pclose(pipe);
  out.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  out.errors = read_file(errors);
  return out;
}

bool run_simulator(const std::string& arguments, const std::filesystem::path& dir) {
#ifdef SIMULATE_BINARY
  std::string command = "'" SIMULATE_BINARY "' " + arguments + " --out '" + dir.string() + "' >/dev/null";
  return std::system(command.c_str()) == 0;
#else
  (void)arguments;
  (void)dir;
  return false;
#endif
}

std::string read_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string without_run_times(const std::string& report) {
  const std::string key = "Varisift run at ";
  const std::size_t stamp_length = 19;  // MM-DD-YYYY HH:MM:SS
  std::string result = report;
  for (std::size_t at = result.find(key); at != std::string::npos; at = result.find(key, at + 1))
    result.replace(at + key.size(), stamp_length, "MM-DD-YYYY HH:MM:SS");
  return result;
}

}  // namespace e2e
