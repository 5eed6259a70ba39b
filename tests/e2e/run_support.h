// Running the real varisift binary in a fresh temporary directory and
// reading back what it wrote.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

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

// The program under test and the command that starts it (such as wine for
// the Windows build; empty when the program runs by itself), as set when
// the tests were configured.
std::string program_under_test();
std::string program_launcher();

// A text naming relative paths (written here with /) as the program under
// test writes it: a Windows program (a .exe) separates folders with \.
std::string as_program_writes(std::string text);

// Runs the program under test with dir as working directory, ended after
// two minutes at the latest. A prefix (such as a command that changes the
// user) goes in front of everything; a launcher (such as a command that sets
// a limit) in front of the program and its own launcher. Another copy of
// the program may be named.
RunOutput run_varisift(const std::filesystem::path& dir, const std::string& prefix = "",
                       const std::string& launcher = "", const std::string& program = program_under_test());

// Runs of the program as an unprivileged user, so that file permissions
// bind it. As root, the user is nobody (setpriv); any other user is
// unprivileged already. The checkout may lie under a folder that only its
// owner can enter, so nobody runs a copy of the program from a scratch
// folder open to everyone.
class UnprivilegedRun {
 public:
  UnprivilegedRun();
  UnprivilegedRun(const UnprivilegedRun&) = delete;
  UnprivilegedRun& operator=(const UnprivilegedRun&) = delete;

  // Opens dir to everyone for reading and entering. Returns why the
  // unprivileged user still cannot run the program there, or an empty text.
  std::string let_in(const std::filesystem::path& dir) const;

  RunOutput run(const std::filesystem::path& dir, const std::string& launcher = "") const;

 private:
  TempDir program_dir_;
  std::string program_;
  std::string prefix_;
  std::string unavailable_;  // why no unprivileged run can be had at all
};

// Runs varisift in dir with command-line arguments (shell words, quoted by
// the caller), capturing standard error as well.
RunOutput run_varisift_with(const std::filesystem::path& dir, const std::string& arguments);

// The program under test started in the background with dir as working
// directory and command-line arguments (shell words, quoted by the caller),
// its console and error stream going to files of their own; ended after two
// minutes at the latest, and killed when the object goes first.
class BackgroundRun {
 public:
  BackgroundRun(const std::filesystem::path& dir, const std::string& arguments);
  ~BackgroundRun();
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  std::string console() const;
  std::string errors() const;
  // Waits until the console satisfies ready; false when the program ended
  // first or nothing came for a minute (a hang, never a timing).
  bool wait_for_console(const std::function<bool(const std::string&)>& ready);
  // Ctrl+C: SIGINT to the program.
  void interrupt() const;
  // Waits for the program's end; its exit status.
  int finish();

 private:
  bool running();

  TempDir scratch_;
  pid_t pid_ = -1;
  int exit_status_ = -1;
};

// Runs the simulator with the given arguments, writing into dir; true on success.
bool run_simulator(const std::string& arguments, const std::filesystem::path& dir);

std::string read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const std::string& bytes);

// The report with the date and time of every "Varisift run at " line
// replaced by a fixed text, so that runs compare byte for byte.
std::string without_run_times(const std::string& report);

// A page or an AAVSO file with the program's version (in the page's footer,
// on the #SOFTWARE line) replaced by a fixed text.
std::string without_version(const std::string& text);

// The lines of an output, without their CR LF ends.
std::vector<std::string> lines_of(std::string_view text);

// Every file below dir with its bytes ("<folder>" for a folder), to show
// that a run left a folder as it was.
std::map<std::string, std::string> snapshot(const std::filesystem::path& dir);

// Copies the shipped sample (Skymensor.log and vsx.dat) into dir, making it.
void put_sample(const std::filesystem::path& dir);

// Whether the golden tests write their expected files instead of comparing
// (VARISIFT_UPDATE_EXPECTED=1).
bool updating_expected_files();

}  // namespace e2e
