// Helpers of the end-to-end tests.
#include "run_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <utility>

namespace e2e {

namespace {

namespace fs = std::filesystem;

// The command that makes the rest of a command line nobody's.
constexpr const char* as_nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";

constexpr fs::perms open_to_everyone = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec;

std::string in_quotes(const std::string& text) { return "'" + text + "'"; }

bool succeeds(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Runs a shell command, keeping its standard output and exit status.
RunOutput output_of(const std::string& command) {
  RunOutput out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.console.append(buffer, got);
  int status = pclose(pipe);
  out.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

// Wine now and then fails to start a program when the machine is busy: it
// ends with status 1 before the program wrote a byte. Varisift itself never
// ends so (every run writes its banner first, and wrong use ends with 2), so
// under a launcher such a run is made again, a few times at most.
constexpr int launcher_attempts = 3;
constexpr int launcher_failed_status = 1;

// The launcher with a UTF-8 locale: Wine reads the command line's bytes
// and the names of files by the locale, and the tests name files in UTF-8
// (Łódź, 観測), which must reach the Windows program as the same characters.
// C.UTF-8 is part of every current glibc.
std::string launcher_words() { return program_launcher().empty() ? "" : "env LC_ALL=C.UTF-8 " + program_launcher(); }

RunOutput output_of_program(const std::string& command) {
  RunOutput out = output_of(command);
  for (int attempt = 1; attempt < launcher_attempts && !program_launcher().empty() &&
                        out.exit_status == launcher_failed_status && out.console.empty();
       ++attempt)
    out = output_of(command);
  return out;
}

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  for (;;) {
    path_ = fs::temp_directory_path() / ("varisift-e2e-" + std::to_string(seed()));
    if (fs::create_directory(path_)) return;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string program_under_test() { return VARISIFT_PROGRAM; }

std::string program_launcher() { return VARISIFT_LAUNCHER; }

std::string as_program_writes(std::string text) {
  if (fs::path(program_under_test()).extension() == ".exe") std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

RunOutput run_varisift(const fs::path& dir, const std::string& prefix, const std::string& launcher,
                       const std::string& program) {
  return output_of_program("cd " + in_quotes(dir.string()) + " && " + prefix + " timeout 120 " + launcher + " " +
                           launcher_words() + " " + in_quotes(program) + " </dev/null");
}

RunOutput run_varisift_with(const fs::path& dir, const std::string& arguments) {
  TempDir scratch;  // standard error goes here, outside the folder under test
  const fs::path errors = scratch.path() / "stderr";
  RunOutput out = output_of_program("cd " + in_quotes(dir.string()) + " && timeout 120 " + launcher_words() + " " +
                                    in_quotes(program_under_test()) + " " + arguments + " </dev/null 2>" +
                                    in_quotes(errors.string()));
  out.errors = read_file(errors);
  return out;
}

UnprivilegedRun::UnprivilegedRun() {
  if (!program_launcher().empty()) {
    unavailable_ = "the program runs through '" + program_launcher() + "', which cannot be handed to another user";
    return;
  }
  if (geteuid() != 0) {
    program_ = program_under_test();
    return;
  }
  if (!succeeds(std::string(as_nobody) + " true")) {
    unavailable_ = "running as root without setpriv: permissions cannot be withheld";
    return;
  }
  prefix_ = as_nobody;
  program_ = (program_dir_.path() / fs::path(program_under_test()).filename()).string();
  std::error_code ec;
  fs::copy_file(program_under_test(), program_, ec);
  fs::permissions(program_, open_to_everyone, ec);
  fs::permissions(program_dir_.path(), open_to_everyone, ec);
  if (!succeeds(prefix_ + " test -x " + in_quotes(program_)))
    unavailable_ = "nobody cannot run the copy of the program in " + program_dir_.path().string() +
                   " (the temporary directory is closed to other users)";
}

std::string UnprivilegedRun::let_in(const fs::path& dir) const {
  if (!unavailable_.empty()) return unavailable_;
  std::error_code ec;
  fs::permissions(dir, open_to_everyone, ec);
  if (!prefix_.empty() && !succeeds(prefix_ + " test -x " + in_quotes(dir.string())))
    return "nobody cannot enter " + dir.string() + " (the temporary directory is closed to other users)";
  return "";
}

RunOutput UnprivilegedRun::run(const fs::path& dir, const std::string& launcher) const {
  return run_varisift(dir, prefix_, launcher, program_);
}

BackgroundRun::BackgroundRun(const fs::path& dir, const std::string& arguments) {
  const std::string command = "cd " + in_quotes(dir.string()) + " && exec timeout 120 " + program_launcher() + " " +
                              in_quotes(program_under_test()) + " " + arguments + " </dev/null >" +
                              in_quotes((scratch_.path() / "console").string()) + " 2>" +
                              in_quotes((scratch_.path() / "errors").string());
  pid_ = fork();
  if (pid_ == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

BackgroundRun::~BackgroundRun() {
  if (!running()) return;
  kill(pid_, SIGKILL);
  finish();
}

std::string BackgroundRun::console() const { return read_file(scratch_.path() / "console"); }

std::string BackgroundRun::errors() const { return read_file(scratch_.path() / "errors"); }

bool BackgroundRun::running() {
  if (pid_ <= 0 || exit_status_ >= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

bool BackgroundRun::wait_for_console(const std::function<bool(const std::string&)>& ready) {
  constexpr auto pause = std::chrono::milliseconds(50);
  constexpr int pauses_without_news = 1200;  // a minute
  std::string seen;
  for (int quiet = 0; quiet < pauses_without_news; ++quiet) {
    const bool was_running = running();
    const std::string now = console();
    if (ready(now)) return true;
    if (!was_running) return false;
    if (now != seen) quiet = 0;
    seen = now;
    std::this_thread::sleep_for(pause);
  }
  return false;
}

void BackgroundRun::interrupt() const { kill(pid_, SIGINT); }

int BackgroundRun::finish() {
  if (pid_ > 0 && exit_status_ < 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  return exit_status_;
}

bool run_simulator(const std::string& arguments, const fs::path& dir) {
#ifdef SIMULATE_BINARY
  std::string command = "'" SIMULATE_BINARY "' " + arguments + " --out '" + dir.string() + "' >/dev/null";
  return std::system(command.c_str()) == 0;
#else
  (void)arguments;
  (void)dir;
  return false;
#endif
}

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
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

std::string without_version(const std::string& text) {
  std::string result = text;
  for (const auto& [key, end] : {std::pair<std::string, std::string>{"<footer>Varisift ", "</footer>"},
                                 std::pair<std::string, std::string>{"#SOFTWARE=Varisift ", "\r\n"}}) {
    const std::size_t at = result.find(key);
    if (at == std::string::npos) continue;
    const std::size_t stop = result.find(end, at);
    if (stop != std::string::npos) result.replace(at + key.size(), stop - at - key.size(), "VERSION");
  }
  return result;
}

std::vector<std::string> lines_of(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
    files[fs::relative(entry.path(), dir).string()] = entry.is_regular_file() ? read_file(entry.path()) : "<folder>";
  return files;
}

void put_sample(const fs::path& dir) {
  fs::create_directories(dir);
  for (const char* file : {"Skymensor.log", "vsx.dat"}) fs::copy_file(fs::path(SAMPLE_DIR) / file, dir / file);
}

bool updating_expected_files() {
  const char* flag = std::getenv("VARISIFT_UPDATE_EXPECTED");
  return flag != nullptr && std::string_view(flag) == "1";
}

}  // namespace e2e
