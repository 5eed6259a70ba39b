// Running the real varisift binary in a fresh temporary directory and
// reading back what it wrote.
#pragma once

#include <filesystem>
#include <string>

namespace e2e {

struct RunOutput {
  int exit_status = -1;
  std::string console;  // standard output, bytes as written
  std::string errors;   // standard error, when the run captured it
};

// A new empty directory below the system's temporary directory, removed
// when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs varisift with dir as working directory, ended after two minutes at
// the latest. A prefix (such as a command that changes the user) goes in
// front of everything; a launcher (such as a command that sets a limit)
// directly in front of the program.
RunOutput run_varisift(const std::filesystem::path& dir, const std::string& prefix = "",
                       const std::string& launcher = "");

// Runs varisift in dir with command-line arguments (shell words, quoted by
// the caller), capturing standard error as well.
RunOutput run_varisift_with(const std::filesystem::path& dir, const std::string& arguments);

// Runs the simulator with the given arguments, writing into dir; true on success.
bool run_simulator(const std::string& arguments, const std::filesystem::path& dir);

std::string read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const std::string& bytes);

// The report with the date and time of every "Varisift run at " line
// replaced by a fixed text, so that runs compare byte for byte.
std::string without_run_times(const std::string& report);

}  // namespace e2e
